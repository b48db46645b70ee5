// The thread's messages, run as the program's own loop runs them, for as long
// as a test waits on what they bring; every wait has an end.
#pragma once

#include <windows.h>

#include <functional>

namespace mivra::test {

// Runs the waiting messages, then asks done(); true once it holds, false when
// `ms` milliseconds have gone by first.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount64() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Runs the messages for a while, whatever they bring.
inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// Drops what is left in the queue, a closed window's WM_QUIT among it, so
// that nothing reaches the next test.
inline void DropMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

} // namespace mivra::test
