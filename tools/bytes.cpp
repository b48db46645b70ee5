#include "bytes.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>
#include <string>

namespace icongen {

namespace {

void Chunk(Bytes& png, const char* type, const std::vector<std::uint8_t>& data) {
    png.U32be(static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.Append(body);
    png.U32be(static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

} // namespace

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path.string());
}

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint32_t>& rgb) {
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + width * 3));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = rgb[static_cast<std::size_t>(y) * width + x];
            raw.push_back(static_cast<std::uint8_t>(c >> 16));
            raw.push_back(static_cast<std::uint8_t>(c >> 8));
            raw.push_back(static_cast<std::uint8_t>(c));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK)
        throw std::runtime_error("cannot compress a picture");
    packed.resize(packedSize);

    Bytes png;
    for (int b : {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A})
        png.U8(b); // signature
    Bytes ihdr;
    ihdr.U32be(static_cast<std::uint32_t>(width));
    ihdr.U32be(static_cast<std::uint32_t>(height));
    for (int b : {8, 2, 0, 0, 0})
        ihdr.U8(b); // 8-bit RGB, no interlace
    Chunk(png, "IHDR", ihdr.Data());
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    return png.Data();
}

} // namespace icongen
