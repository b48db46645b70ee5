#include "tray/tray_area_win32.h"

#include <algorithm>
#include <cstddef>

namespace mivra {

#if !defined(_WIN64)
// The 32-bit program hands the shell exactly the 88-byte record.
static_assert(NOTIFYICONDATAA_V1_SIZE == kNotifyRecordSize);
static_assert(offsetof(NOTIFYICONDATAA, cbSize) == 0);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == 4);
static_assert(offsetof(NOTIFYICONDATAA, uID) == 8);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == 12);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == 16);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == 20);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 24);
#endif

namespace {

NOTIFYICONDATAA ToNotifyIconData(const NotifyRecord& r) {
    NOTIFYICONDATAA nid{};
    // The record holds the first-version layout; on 64-bit Windows that
    // layout is larger, so the size the platform expects for it.
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = reinterpret_cast<HWND>(r.hWnd);
    nid.uID = r.uID;
    nid.uFlags = r.uFlags;
    nid.uCallbackMessage = r.uCallbackMessage;
    nid.hIcon = reinterpret_cast<HICON>(r.hIcon);
    std::copy(r.szTip.begin(), r.szTip.end(), nid.szTip);
    return nid;
}

} // namespace

bool ShellTrayArea::Notify(NotifyOp op, const NotifyRecord& record) {
    NOTIFYICONDATAA nid = ToNotifyIconData(record);
    return Shell_NotifyIconA(static_cast<DWORD>(op), &nid) != FALSE;
}

} // namespace mivra
