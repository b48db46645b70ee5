// Watches Mivra.exe from outside, as the user's desktop would:
//
//   mivra_start_bench startup MIVRA.EXE FLOOR.EXE MINIMAL.EXE [RUNS]
//       Start-up time of Mivra and of the two floors, RUNS rounds (after one
//       unmeasured start of each) in which each program starts once, the
//       first of a round moving on by one each time. Prints
//       "startup <name> <ms>" lines, medians, and "ratio <name> <r>" lines,
//       the median over the rounds of Mivra's time over that floor's.
//   mivra_start_bench ready   waits until a running Mivra is ready (below)
//   mivra_start_bench show    clicks its notification icon; waits until the calendar shows
//   mivra_start_bench close   asks it to quit; waits until it is gone
//
// "Ready" is seen from outside in three steps: the window "Mivra 2000" of the
// started process exists; the taskbar has one notification icon more than
// before (Wine's taskbar makes a tip window for each icon it adds, and keeps
// it after the icon is deleted, so only the increase counts); and the
// program answers a sent WM_NULL. A program in its start-up code answers no
// message, so the answer comes from its message loop, or at the earliest
// from the wait inside its last start-up call, the icon's update, which is
// all that remains of start-up by then. WaitForInputIdle would be the usual
// tool, but Wine signals it before the program has made a single window.
//
// The floors (bench/minimal_win32.cpp) are seen the same way without the
// icon: their window exists and they answer.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kCalendarClass[] = L"MivraCalendar";
constexpr wchar_t kCalendarTitle[] = L"Mivra 2000";
constexpr wchar_t kMinimalClass[] = L"MivraBenchMinimal";
constexpr DWORD kTimeoutMs = 30000;

double Now() {
    static const double freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / freq; // ms
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

DWORD ProcessOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

// The top-level window of that class and title owned by the process, or by
// any process when pid is 0. Mivra and the floors are looked for by class
// alike, which the Wine server matches itself: a search by title alone asks
// for the text of every window on the desktop at every poll.
HWND FindOf(const wchar_t* cls, const wchar_t* title, DWORD pid) {
    for (HWND h = FindWindowExW(nullptr, nullptr, cls, title); h;
         h = FindWindowExW(nullptr, h, cls, title))
        if (pid == 0 || ProcessOf(h) == pid) return h;
    return nullptr;
}

// Notification icons in the taskbar, or -1 when there is no taskbar. Only
// tip windows are listed (the Wine server filters by class), so a poll every
// millisecond costs it a few requests, not a walk over every window with a
// question about each: that walk would slow the very start it watches.
int TrayIcons() {
    const HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) return -1;
    int n = 0;
    for (HWND h = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); h;
         h = FindWindowExW(nullptr, h, L"tooltips_class32", nullptr))
        n += GetWindow(h, GW_OWNER) == tray;
    return n;
}

double Fail(const char* why) {
    std::fprintf(stderr, "start bench: %s\n", why);
    return -1;
}

bool Answers(HWND hwnd) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &result) != 0;
}

// Waits for the calendar window of `pid` (any when 0) and an icon more than
// `icons`; then for an answer. Returns the window, or nullptr on timeout.
HWND WaitReady(DWORD pid, int icons, HANDLE process) {
    const double end = Now() + kTimeoutMs;
    HWND hwnd = nullptr;
    while (!(hwnd = FindOf(kCalendarClass, kCalendarTitle, pid)) || TrayIcons() <= icons) {
        if (Now() > end) {
            std::fprintf(stderr, "start bench: %s\n", hwnd ? "no icon" : "no window");
            return nullptr;
        }
        if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "start bench: the program ended\n");
            return nullptr;
        }
        Sleep(1);
    }
    if (Answers(hwnd)) return hwnd;
    std::fprintf(stderr, "start bench: no answer\n");
    return nullptr;
}

bool WaitUntil(bool (*done)(HWND, int), HWND hwnd, int n) {
    const double end = Now() + kTimeoutMs;
    while (!done(hwnd, n)) {
        if (Now() > end) return false;
        Sleep(1);
    }
    return true;
}

struct Child {
    PROCESS_INFORMATION pi{};
    bool Start(const std::wstring& exe, const wchar_t* args = L"") {
        std::wstring cmd = L"\"" + exe + L"\" " + args;
        STARTUPINFOW si{sizeof(si)};
        return CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &pi) != 0;
    }
    bool Wait() { return WaitForSingleObject(pi.hProcess, kTimeoutMs) == WAIT_OBJECT_0; }
    ~Child() {
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
                TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
};

// Closes a started program the way its "x" does and waits for its end.
bool Closed(Child& c, HWND hwnd) {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    if (c.Wait()) return true;
    Fail("did not quit");
    return false;
}

// Milliseconds from process creation to ready, then closes the program.
// Negative on failure.
double StartMivra(const std::wstring& exe) {
    const int icons = TrayIcons();
    if (icons < 0) return Fail("no taskbar");
    Child c;
    const double t0 = Now();
    if (!c.Start(exe)) return Fail("not started");
    const HWND hwnd = WaitReady(c.pi.dwProcessId, icons, c.pi.hProcess);
    const double t1 = Now();
    if (!hwnd) return -1;
    return Closed(c, hwnd) ? t1 - t0 : -1;
}

// The same for the minimal program: its window exists and it answers.
double StartMinimal(const std::wstring& exe) {
    Child c;
    const double t0 = Now();
    if (!c.Start(exe)) return Fail("not started");
    const double end = t0 + kTimeoutMs;
    HWND hwnd = nullptr;
    while (!(hwnd = FindOf(kMinimalClass, nullptr, c.pi.dwProcessId))) {
        if (Now() > end) return Fail("no window");
        Sleep(1);
    }
    if (!Answers(hwnd)) return Fail("no answer");
    const double t1 = Now();
    return Closed(c, hwnd) ? t1 - t0 : -1;
}

// From creation to exit of the minimal program that leaves once its window exists.
double RunMinimalToExit(const std::wstring& exe) {
    Child c;
    const double t0 = Now();
    if (!c.Start(exe, L"--exit")) return Fail("not started");
    if (!c.Wait()) return Fail("did not end");
    return Now() - t0;
}

int Startup(const std::wstring& mivra, const std::wstring& floor, const std::wstring& minimal,
            int runs) {
    struct Series {
        const char* name;
        double (*run)(const std::wstring&);
        const std::wstring* exe;
        std::vector<double> ms;
    };
    Series series[] = {{"mivra", StartMivra, &mivra, {}},
                       {"floor", StartMinimal, &floor, {}},
                       {"minimal", StartMinimal, &minimal, {}},
                       {"minimal-exit", RunMinimalToExit, &minimal, {}}};
    constexpr int kSeries = sizeof series / sizeof series[0];
    // The desktop and its taskbar start with the first program that asks for them.
    GetDesktopWindow();
    if (!WaitUntil([](HWND, int) { return TrayIcons() >= 0; }, nullptr, 0)) {
        std::fprintf(stderr, "start bench: no taskbar\n");
        return 1;
    }
    // One unmeasured start each: the first start in a new prefix loads and
    // caches what every later start finds ready. Then rounds, each starting
    // one program further on, so that none always follows the same one.
    for (int r = -1; r < runs; ++r) {
        for (int k = 0; k < kSeries; ++k) {
            Series& s = series[(k + std::max(r, 0)) % kSeries];
            double ms = s.run(*s.exe);
            if (ms < 0) {
                // Wine on a busy machine now and then loses a process's end.
                std::fprintf(stderr, "start bench: %s once more\n", s.name);
                ms = s.run(*s.exe);
            }
            if (ms < 0) {
                std::fprintf(stderr, "start bench: %s did not get ready\n", s.name);
                return 1;
            }
            if (r >= 0) s.ms.push_back(ms);
        }
    }
    for (const auto& s : series) {
        std::fprintf(stderr, "%s:", s.name);
        for (double ms : s.ms)
            std::fprintf(stderr, " %.1f", ms);
        std::fprintf(stderr, "\n");
        std::printf("startup %s %.1f\n", s.name, Median(s.ms));
    }
    // A round's programs ran within a second of each other, under the same
    // load; the ratio within a round cancels what the machine did meanwhile.
    for (const Series* floorSeries : {&series[1], &series[2]}) {
        std::vector<double> ratios;
        for (int r = 0; r < runs; ++r)
            ratios.push_back(series[0].ms[r] / floorSeries->ms[r]);
        std::printf("ratio %s %.3f\n", floorSeries->name, Median(ratios));
    }
    return 0;
}

int Ready() {
    // Started by the caller: any icon at all will do, as it is the only program.
    const HWND hwnd = WaitReady(0, 0, nullptr);
    if (!hwnd) {
        std::fprintf(stderr, "start bench: Mivra did not get ready\n");
        return 1;
    }
    std::printf("ready %lu\n", ProcessOf(hwnd));
    return 0;
}

// What the shell sends when the icon is clicked: WM_MOUSEMOVE to the icon's
// window (the calendar's one child), id 1, the button-up in lParam.
int Show() {
    const HWND hwnd = FindOf(kCalendarClass, kCalendarTitle, 0);
    const HWND hook = hwnd ? GetWindow(hwnd, GW_CHILD) : nullptr;
    if (!hook || IsWindowVisible(hwnd)) {
        std::fprintf(stderr, "start bench: no hidden calendar to show\n");
        return 1;
    }
    PostMessageW(hook, WM_MOUSEMOVE, 1, WM_LBUTTONUP);
    if (!WaitUntil([](HWND h, int) { return IsWindowVisible(h) != FALSE; }, hwnd, 0)) {
        std::fprintf(stderr, "start bench: the calendar did not show\n");
        return 1;
    }
    return 0;
}

int Close() {
    const HWND hwnd = FindOf(kCalendarClass, kCalendarTitle, 0);
    if (!hwnd) return 1;
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return WaitUntil([](HWND h, int) { return IsWindow(h) == FALSE; }, hwnd, 0) ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"startup" && argc >= 5)
        return Startup(argv[2], argv[3], argv[4], argc > 5 ? std::max(1, _wtoi(argv[5])) : 15);
    if (mode == L"ready") return Ready();
    if (mode == L"show") return Show();
    if (mode == L"close") return Close();
    std::fprintf(stderr,
                 "usage: mivra_start_bench startup MIVRA.EXE FLOOR.EXE MINIMAL.EXE [RUNS] | "
                 "ready | show | close\n");
    return 2;
}
