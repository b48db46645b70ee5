// Little- and big-endian byte output for the file formats the generator
// writes, and writing a finished file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace icongen {

class Bytes {
public:
    void U8(unsigned v) { b_.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) {
        U8(v & 0xFF);
        U8(v >> 8 & 0xFF);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void U32be(std::uint32_t v) {
        for (int s = 24; s >= 0; s -= 8)
            U8(v >> s & 0xFF);
    }
    void Append(const std::vector<std::uint8_t>& v) { b_.insert(b_.end(), v.begin(), v.end()); }
    const std::vector<std::uint8_t>& Data() const { return b_; }

private:
    std::vector<std::uint8_t> b_;
};

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// An 8-bit RGB PNG of `width` x `height` pixels given as 0xRRGGBB, row by row.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint32_t>& rgb);

} // namespace icongen
