// The floor for start-up under the same Wine: registers a class, creates one
// hidden window and waits in its message loop until it is closed. With
// --exit it leaves as soon as the window exists.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmd, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MivraBenchMinimal";
    if (!RegisterClassW(&wc)) return 1;
    const HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Minimal", WS_POPUP, 0, 0, 100, 100,
                                      nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    if (std::wcsstr(cmd, L"--exit")) {
        DestroyWindow(hwnd);
        return 0;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
