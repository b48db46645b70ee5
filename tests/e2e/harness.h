// Drives the real Mivra.exe from outside: Wine runs it in the virtual desktop
// that scripts/wine-env prepared, xdotool moves and clicks the X pointer,
// ImageMagick takes screenshots, and a small probe inside the desktop answers
// questions about windows.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mivra::e2e {

inline constexpr const char* kWine64 = "/usr/lib/wine/wine64";

std::string SourcePath(const std::string& relative);
// Runs a shell command, returns its standard output; *status gets the exit code.
std::string Run(const std::string& command, int* status = nullptr);
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
void Sleep(std::chrono::milliseconds ms);

struct Rgb {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
inline Rgb FromColorRef(std::uint32_t c) {
    return {int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)};
}

class Screenshot {
public:
    // The whole X screen, as the user sees it.
    static Screenshot Take();
    Rgb At(int x, int y) const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    // How many pixels of exactly this colour lie in the rectangle [l,r) x [t,b).
    int Count(int l, int t, int r, int b, Rgb c) const;
    void SavePng(const std::string& path) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint8_t> rgb_;
};

struct WindowInfo {
    std::string hwnd;
    bool visible = false;
    int left = 0, top = 0, right = 0, bottom = 0;
    int clientWidth = 0, clientHeight = 0;
    std::uint32_t style = 0, exStyle = 0;
    unsigned long pid = 0;
};

// The probe program, kept running so that each question costs little.
class Probe {
public:
    Probe();
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
    std::string Ask(const std::string& line);
    std::optional<WindowInfo> Find(const std::string& cls, const std::string& title);
    std::optional<WindowInfo> Child(const std::string& parent, const std::string& cls,
                                    const std::string& text);

private:
    pid_t pid_ = -1;
    int toChild_ = -1, fromChild_ = -1;
    std::string buffer_;
};

// Pointer input through the X server, as a user's hand would give it.
void MoveTo(int x, int y);
void Click(int x, int y, int button = 1);
void Press(int x, int y, int button = 1);
void Release(int button = 1);

// Wine's registry, through its own reg tool.
std::string RegQuery(const std::string& key);
void RegDelete(const std::string& key);
void RegSet(const std::string& key, const std::string& name, const std::string& type,
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
    bool Running() const;
    bool WaitForExit(std::chrono::milliseconds timeout);
    bool WaitVisible(bool visible, std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    Probe& probe_;
    pid_t pid_ = -1;
    std::optional<WindowInfo> window_;
};

// Where things are on the 1024x768 desktop at 96 dpi.
inline constexpr int kTrayX = 1012, kTrayY = 758;
// A label's centre on screen, from its design rectangle in twips.
struct Point {
    int x, y;
};
Point LabelCentre(const WindowInfo& w, int leftTw, int topTw, int widthTw, int heightTw,
                  int dpi = 96);

inline const std::string kSettingsKey = "HKLM\\Software\\Mivra";

// Saves a screenshot beside the test results, for a person to look at.
void Save(const Screenshot& s, const std::string& name);

// Tests that share one probe; each starts as a first start would, with no
// stored settings and the pointer out of the way.
class DesktopTest : public ::testing::Test {
protected:
    static Probe* probe;
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    // Shows the calendar with a click on its icon.
    void ShowByTray(Mivra& m);
};

} // namespace mivra::e2e
