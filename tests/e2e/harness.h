// Drives the real Mivra.exe from outside: Wine runs it in the virtual desktop
// that scripts/wine-env prepared, xdotool moves and clicks the X pointer,
// ImageMagick takes screenshots, and a small probe inside the desktop answers
// questions about windows.
//
// MIVRA_EXE names the program under test (build/win64/Mivra.exe by default);
// a 32-bit one is checked against the 32-bit registry view, where its writes
// land on 64-bit Windows. Every wait and every read has a time limit, and a
// watchdog ends the run with a message when one test hangs.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace mivra::e2e {

using namespace std::chrono_literals;

// Runs a shell command under a time limit, returns its standard output.
std::string Shell(const std::string& command);
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);
void Sleep(std::chrono::milliseconds ms);
// Asks until an answer is a success or time is up; the last answer says why.
template <class Ask> auto Eventually(Ask ask, std::chrono::milliseconds timeout = 10s) {
    std::optional<decltype(ask())> last;
    WaitUntil([&] { return bool(last.emplace(ask())); }, timeout);
    return *last;
}

struct Rgb {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Point {
    int x, y;
};

// [left,right) x [top,bottom) on screen.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    Point Centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
    int Area() const { return (right - left) * (bottom - top); }
};

class Screenshot {
public:
    // The whole X screen, as the user sees it.
    static Screenshot Take();
    Rgb At(int x, int y) const;
    // How many pixels of exactly this colour lie in the rectangle.
    int Count(const Rect& r, Rgb c) const;
    // Saves it beside the test results, for a person to look at.
    void Save(const std::string& name) const;

private:
    int width_ = 0, height_ = 0;
    std::string rgb_;
};

struct WindowInfo : Rect {
    std::string hwnd;
    bool visible = false;
    int clientWidth = 0, clientHeight = 0;
    std::uint32_t style = 0, exStyle = 0;
};

// The probe program, kept running so that each question costs little.
class Probe {
public:
    Probe();
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
    // One line out, one line back; "error" if the probe is gone or silent.
    std::string Ask(const std::string& line);
    // The window of that class and title ("*": any, "_" for each blank),
    // top-level or a child of `parent`.
    std::optional<WindowInfo> Find(const std::string& cls, const std::string& title,
                                   const std::string& parent = "0");

private:
    pid_t pid_ = -1;
    int toChild_ = -1, fromChild_ = -1;
};

// Pointer input through the X server, as a user's hand would give it.
void MoveTo(Point p);
void Click(Point p, int button = 1);
void Press(Point p, int button = 1);
void Release(int button = 1);

// The settings key in Wine's registry, in the view the program under test
// uses, through Wine's own reg tool.
inline const std::string kSettingsKey = "HKLM\\Software\\Mivra";
void RegDelete(const std::string& key);
void RegSet(const std::string& key, const std::string& name, const std::string& type,
            const std::string& data);
// Whether the settings key holds that value, as reg lists it.
::testing::AssertionResult Stored(const std::string& name, const std::string& type,
                                  const std::string& data);

// One running Mivra.exe.
class Mivra {
public:
    explicit Mivra(Probe& probe);
    ~Mivra();
    Mivra(const Mivra&) = delete;
    Mivra& operator=(const Mivra&) = delete;

    bool Started() const { return window_.has_value(); }
    WindowInfo Window();
    bool Running();
    bool WaitVisible(bool visible) {
        return WaitUntil([&] { return Window().visible == visible; });
    }

private:
    Probe& probe_;
    pid_t pid_ = -1;
    std::optional<WindowInfo> window_;
};

// Twips to pixels at a DPI, as the program converts its design sizes.
int Px(int twips, int dpi = 96);

// Tests that share one probe and, where they can, one running program: under
// the 32-bit emulator every start costs seconds. Each test begins with the
// calendar hidden and the pointer out of the way.
class DesktopTest : public ::testing::Test {
protected:
    static Probe& probe();
    // The shared program, started on first use with no stored settings.
    static Mivra& App();
    // Ends the shared program, for tests that need a start of their own.
    static void StopApp();
    // Waits until a program of the test's own has finished starting.
    static void Start(Mivra& m);
    void SetUp() override;
    void TearDown() override;

    // The notification icon: the first one of the taskbar's notification
    // area, found from the taskbar window itself.
    static Rect Tray();
    static bool TrayIconShown(const Screenshot& s);
    // Clicks the icon and waits until the calendar is shown or hidden.
    static bool ClickTray(Mivra& m, bool visible, int button = 1);
    // Shows the calendar with a click on its icon, and says where it is.
    static WindowInfo Shown(Mivra& m);
    // Waits until a top-level window of that title shows.
    static std::optional<WindowInfo> WaitShown(const std::string& title);
};

} // namespace mivra::e2e
