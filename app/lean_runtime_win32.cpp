// The lean runtime of the shipped program, linked into Mivra.exe alone (the
// test programs keep the library's own, exceptions and all). The library's
// default terminate handler prints a demangled type name, which links a C++
// demangler and printf into a GUI program with no console; its throw helpers
// bring the exception classes and every string instantiation with them.
// None of those errors (out of memory, a string past its maximum size) can be
// recovered from here, so they end the program at once, which is what an
// uncaught exception would do.
#include <cstddef>
#include <cstdlib>

// Only GCC's library has these internals to replace; any other build keeps
// its own runtime whole.
#if defined(__GLIBCXX__) && defined(__MINGW32__)

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_bad_function_call() {
    std::abort();
}
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
} // namespace std

// The library's operator new throws std::bad_alloc, and that one throw links
// the unwinder, the exception runtime and a threads library (70 KB of the
// 32-bit file). Running out of memory ends the program here as well.
void* operator new(std::size_t size) {
    if (void* p = std::malloc(size ? size : 1)) return p;
    std::abort();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

#endif
