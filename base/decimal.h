// Whole numbers as decimal text without the printf machinery, which would
// otherwise be linked into the program for this alone.
#pragma once

#include <charconv>
#include <string>

namespace mivra {

// Every number the program writes is a 32-bit one (a colour, a day, a
// year); on the 32-bit program a wider one would link the library's 64-bit
// division as well.
inline std::string Decimal(int n) {
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, n).ptr;
    return std::string(buf, end);
}

inline std::wstring DecimalW(int n) {
    const std::string s = Decimal(n);
    return std::wstring(s.begin(), s.end());
}

} // namespace mivra
