// The built program as a whole, started as its own process beside the tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/shortcuts_win32.h"

namespace mivra {
namespace {

// A message-only window of this class belongs to a thread that has entered
// the main single-threaded COM apartment.
bool ThreadHasMainApartment(DWORD thread) {
    HWND w = nullptr;
    while ((w = FindWindowExW(HWND_MESSAGE, w, L"OleMainThreadWndClass", nullptr)))
        if (GetWindowThreadProcessId(w, nullptr) == thread) return true;
    return false;
}

HWND CalendarWindowOf(DWORD process) {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, L"MivraCalendar", nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process) return w;
    }
    return nullptr;
}

TEST(Program, ItsUserInterfaceThreadIsInAComApartmentForShellCalls) {
    std::wstring exe = ProgramFilePath();
    exe = exe.substr(0, exe.rfind(L'\\') + 1) + L"Mivra.exe";
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "Mivra.exe is not built beside the tests";

    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    // The window appears once start-up is done; emulated 32-bit starts slowly.
    HWND calendar = nullptr;
    const ULONGLONG end = GetTickCount64() + 120000;
    while (!(calendar = CalendarWindowOf(pi.dwProcessId)) && GetTickCount64() < end &&
           WaitForSingleObject(pi.hProcess, 100) == WAIT_TIMEOUT) {
    }
    const DWORD uiThread = calendar ? GetWindowThreadProcessId(calendar, nullptr) : 0;
    const bool apartment = uiThread && ThreadHasMainApartment(uiThread);

    if (calendar) PostMessageW(calendar, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);

    ASSERT_NE(calendar, nullptr) << "the program did not start";
    EXPECT_TRUE(apartment);
}

} // namespace
} // namespace mivra
