// Day pictures as the tests look at them: the committed 32 x 32 icons read
// from resources/, and the shapes of ink in any picture with the holes each
// one encloses.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mivra::test {

// A square picture of palette indexes, row by row from the top.
struct Picture {
    int size = 0;
    std::vector<std::uint8_t> px;
    int At(int x, int y) const { return px[y * size + x]; }
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline std::string DayIconFile(int day) {
    return (day < 10 ? "day0" : "day") + std::to_string(day) + ".ico";
}

// The bytes of day 1 to 31's committed icon, read once.
inline const std::vector<std::uint8_t>& DayIconBytes(int day) {
    static const auto icons = [] {
        std::vector<std::vector<std::uint8_t>> v;
        for (int d = 1; d <= 31; ++d)
            v.push_back(ReadBytes(MIVRA_SOURCE_DIR "/resources/" + DayIconFile(d)));
        return v;
    }();
    return icons[day - 1];
}

// The image of a one-image, 32 x 32, 4-bit .ico file: rows are stored
// bottom up, two pixels to a byte, high nibble first.
inline Picture IcoPicture(const std::vector<std::uint8_t>& ico) {
    constexpr std::size_t kPixelsAt = 22 + 40 + 16 * 4;
    Picture p{32, std::vector<std::uint8_t>(32 * 32)};
    if (ico.size() < kPixelsAt + 512) return p;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint8_t pair = ico[kPixelsAt + (31 - y) * 16 + x / 2];
            p.px[y * 32 + x] = static_cast<std::uint8_t>(x % 2 == 0 ? pair >> 4 : pair & 0x0F);
        }
    return p;
}

// Ink on the page: black (0), dark grey (8) or light grey (7).
inline bool IsInk(int c) {
    return c == 0 || c == 8 || c == 7;
}

struct Area {
    int left, top, right, bottom; // inclusive
    bool Holds(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// One 8-connected group of ink pixels.
struct InkShape {
    int left = 0, top = 0, right = 0, bottom = 0;
    int holes = 0; // 4-connected groups of other pixels it closes in
};

namespace detail {

// Marks the group that `start` belongs to; `in` says which pixels count.
template <typename In>
void Flood(int w, int h, int start, bool diagonal, std::vector<bool>& seen, In&& in) {
    std::vector<int> todo{start};
    seen[start] = true;
    while (!todo.empty()) {
        const int p = todo.back();
        todo.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if (!diagonal && dx && dy) continue;
                const int x = p % w + dx, y = p / w + dy;
                if (x < 0 || y < 0 || x >= w || y >= h || seen[y * w + x] || !in(x, y)) continue;
                seen[y * w + x] = true;
                todo.push_back(y * w + x);
            }
    }
}

} // namespace detail

// The shapes of ink inside `area`, left to right, each with its holes.
inline std::vector<InkShape> InkShapes(const Picture& p, const Area& area) {
    const int n = p.size;
    const auto ink = [&](int x, int y) { return area.Holds(x, y) && IsInk(p.At(x, y)); };
    std::vector<bool> seen(n * n);
    std::vector<InkShape> shapes;
    for (int start = 0; start < n * n; ++start) {
        if (seen[start] || !ink(start % n, start / n)) continue;
        std::vector<bool> mine(n * n);
        detail::Flood(n, n, start, true, mine, ink);
        InkShape s{n, n, -1, -1, 0};
        for (int i = 0; i < n * n; ++i) {
            if (!mine[i]) continue;
            seen[i] = true;
            s.left = std::min(s.left, i % n);
            s.right = std::max(s.right, i % n);
            s.top = std::min(s.top, i / n);
            s.bottom = std::max(s.bottom, i / n);
        }
        // Holes: around the shape's box plus a border of one pixel, the
        // groups of other pixels that the border's group does not reach.
        const int w = s.right - s.left + 3, h = s.bottom - s.top + 3;
        const auto open = [&](int x, int y) {
            const int px = s.left - 1 + x, py = s.top - 1 + y;
            return px < 0 || py < 0 || px >= n || py >= n || !mine[py * n + px];
        };
        std::vector<bool> reached(w * h);
        detail::Flood(w, h, 0, false, reached, open);
        for (int i = 0; i < w * h; ++i)
            if (!reached[i] && open(i % w, i / w)) {
                ++s.holes;
                detail::Flood(w, h, i, false, reached, open);
            }
        shapes.push_back(s);
    }
    std::ranges::sort(shapes, {}, &InkShape::left);
    return shapes;
}

} // namespace mivra::test
