# The two commands of the README:
#   make run          build the 64-bit program and start it under Wine
#   make run ARCH=32  the same with the shipped 32-bit program
#   make test         build everything and run every test layer (each layer is
#                     one function in scripts/test-all)
#   make dist         the release zip and its SHA256SUMS in build/dist
# They install what they need first (scripts/install-deps).

JOBS ?= 2
ARCH ?= 64
PRESETS := native win64 win32 clang-win64
SHELL := /bin/bash

.PHONY: all deps run test bench dist clean $(addprefix build-,$(PRESETS))

all: build-native build-win64 build-win32

deps:
	@scripts/install-deps

$(addprefix build-,$(PRESETS)): build-%: deps
	@cmake --preset $* >/dev/null
	@set -o pipefail; cmake --build --preset $* -j $(JOBS) 2>&1 | $(LINK_NOISE)

# clang's objects and GCC's C++ library each carry the standard exception
# classes' type names, of different sizes: ld says so for every test program
# and keeps one, harmlessly.
LINK_NOISE := { grep --line-buffered -v "duplicate section .*has different size" || true; }

run: build-win$(ARCH)
	@scripts/run $(ARCH)

test: $(addprefix build-,$(PRESETS))
	@scripts/test-all

bench: build-native build-win64 build-win32
	@scripts/bench

dist: build-win32
	@scripts/dist

clean:
	rm -rf build

# What the tests reach of the product code, in a table and build/coverage/;
# not part of make test. Builds its own instrumented presets (scripts/coverage).
.PHONY: coverage
coverage: deps
	@set -o pipefail; scripts/coverage 2>&1 | $(LINK_NOISE)
