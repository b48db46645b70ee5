// The floors for start-up under the same Wine: registers a class, creates one
// hidden window and waits in its message loop until it is closed. With
// --exit it leaves as soon as the window exists.
//
// Built twice. mivra_minimal links only user32 and the runtime. mivra_floor
// (MIVRA_FLOOR_IMPORTS) also imports one function from every other DLL
// Mivra.exe imports and embeds Mivra's manifest, so the loader maps and
// starts what it does for Mivra (the version 6 common controls, COM, the
// shell, accessibility), and nothing of Mivra's own runs.
#include <windows.h>

#include <cwchar>

#if defined(MIVRA_FLOOR_IMPORTS)
#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>
#include <oleauto.h>
#include <shellapi.h>

// Referenced, never called: an import is enough for the loader to map the
// DLL and run its start-up code.
void* const volatile kImports[] = {
    reinterpret_cast<void*>(&RegCloseKey),       reinterpret_cast<void*>(&InitCommonControlsEx),
    reinterpret_cast<void*>(&GetStockObject),    reinterpret_cast<void*>(&CoInitializeEx),
    reinterpret_cast<void*>(&LresultFromObject), reinterpret_cast<void*>(&SysFreeString),
    reinterpret_cast<void*>(&Shell_NotifyIconA)};
#endif

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
