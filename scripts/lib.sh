# shellcheck shell=bash
# Sourced by the scripts, not run: the facts several of them share, and the
# one way a check reports its result.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# Where QEMU runs 32-bit programs, each Wine process probes for free address
# space about 20,000 times, and each probe makes QEMU walk its page flags
# down from the address asked for through the upper 2 GB, which Wine keeps
# reserved: a minute of CPU before a program's first instruction. A 32-bit
# program that is not large-address-aware (ours is not) can use only the
# lower 2 GB, so the emulated space ends just above it (Wine's own areas
# reach 0x82000000) and every probe ends at once: seconds instead. Only the
# emulator reads this.
export QEMU_RESERVED_VA=${QEMU_RESERVED_VA:-0x82000000}

# A Linux path as Windows programs under Wine see it: on drive Z:.
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

# Whether this machine runs 32-bit Windows programs, as scripts/install-deps
# found: "native", "emulated", or "none: <why>".
i386_support() { cat build/i386-support 2>/dev/null || echo "none: scripts/install-deps has not run"; }
runs_i386() { case $(i386_support) in native | emulated) return 0 ;; *) return 1 ;; esac; }

# The date a build of these sources carries (cmake/source-date.cmake).
source_date() { cmake -DSOURCE_DIR="$PWD" -P cmake/source-date.cmake; }

# Reads 32-bit Windows programs: the cross tool here, the toolchain's own in
# MSYS2's MINGW32 shell.
objdump32() {
  if command -v i686-w64-mingw32-objdump >/dev/null; then i686-w64-mingw32-objdump "$@"; else objdump "$@"; fi
}

# Results. Every check a script makes is written, as GoogleTest writes its
# cases, to $MIVRA_RESULTS/<script>.xml, so that scripts/test-all counts
# checks and test cases from one kind of report.
_results_names=()
_results_failed=()

_xml() { sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g; s/"/\&quot;/g' <<<"$1"; }

# record pass|fail NAME
record() {
  _results_names+=("$2")
  _results_failed+=("$([ "$1" = pass ] && echo 0 || echo 1)")
  [ -n "${MIVRA_RESULTS:-}" ] || return 0
  local suite=${RESULTS_SUITE:-$(basename "$0")} i failures=0
  for i in "${_results_failed[@]}"; do failures=$((failures + i)); done
  mkdir -p "$MIVRA_RESULTS"
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo "<testsuites tests=\"${#_results_names[@]}\" failures=\"$failures\" name=\"$suite\">"
    echo "  <testsuite name=\"$suite\" tests=\"${#_results_names[@]}\" failures=\"$failures\">"
    for i in "${!_results_names[@]}"; do
      if [ "${_results_failed[$i]}" = 1 ]; then
        echo "    <testcase name=\"$(_xml "${_results_names[$i]}")\" classname=\"$suite\"><failure message=\"failed\"/></testcase>"
      else
        echo "    <testcase name=\"$(_xml "${_results_names[$i]}")\" classname=\"$suite\"/>"
      fi
    done
    echo "  </testsuite>"
    echo "</testsuites>"
  } >"$MIVRA_RESULTS/$suite.xml"
}

# check DESCRIPTION COMMAND...: "ok" or "not ok" and the description, with
# what the command printed when it failed; recorded either way.
check_failed=0
check() {
  local what=$1 out
  shift
  if out=$("$@" 2>&1); then
    echo "ok $what"
    record pass "$what"
  else
    echo "not ok $what"
    [ -z "$out" ] || sed 's/^/  /' <<<"$out"
    record fail "$what"
    check_failed=1
  fi
}
