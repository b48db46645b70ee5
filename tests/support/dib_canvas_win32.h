// A 32-bit top-down DIB selected into a memory DC: tests paint into it and
// read its pixels back. And the size of an icon's picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "platform/handles_win32.h"
#include "tests/support/window_rects_win32.h"

namespace mivra::test {

class DibCanvas {
public:
    DibCanvas(int w, int h) : w_(w), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        if (dc_ && bitmap_) select_.emplace(dc_.Get(), bitmap_.Get());
    }

    // A window's client area as WM_PRINTCLIENT paints it.
    explicit DibCanvas(HWND hwnd) : DibCanvas(ClientArea(hwnd)) {
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Dc()), PRF_CLIENT);
        GdiFlush();
    }

    bool Ok() const { return dc_ && bitmap_ && bits_ && select_; }
    HDC Dc() const { return dc_.Get(); }
    std::uint32_t* Bits() const { return bits_; } // 0x00RRGGBB, row by row
    // As a COLORREF, 0x00BBGGRR.
    COLORREF At(int x, int y) const {
        const std::uint32_t p = bits_[y * w_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    bool Holds(const RECT& r, COLORREF c) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) == c) return true;
        return false;
    }

private:
    explicit DibCanvas(const RECT& r) : DibCanvas(r.right, r.bottom) {}

    int w_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    std::uint32_t* bits_ = nullptr;
    std::optional<SelectedObject> select_;
};

// Width and height of an icon's colour image: 0 when it is no icon, -1 when
// it is not square.
inline int IconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return 0;
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    if (!info.fIcon || !colour || !GetObjectW(colour.Get(), sizeof(bm), &bm)) return 0;
    return bm.bmWidth == bm.bmHeight ? bm.bmWidth : -1;
}

} // namespace mivra::test
