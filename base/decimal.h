// Whole numbers as decimal text without the printf machinery, which would
// otherwise be linked into the program for this alone.
#pragma once

#include <charconv>
#include <string>

namespace mivra {

inline std::string Decimal(long long n) {
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, n).ptr;
    return std::string(buf, end);
}

inline std::wstring DecimalW(long long n) {
    const std::string s = Decimal(n);
    return std::wstring(s.begin(), s.end());
}

} // namespace mivra
