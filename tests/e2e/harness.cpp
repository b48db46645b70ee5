#include "harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace mivra::e2e {

namespace chr = std::chrono;

namespace {

constexpr const char* kWine64 = "/usr/lib/wine/wine64";

std::string SourcePath(const std::string& relative) {
    return relative.front() == '/' ? relative : std::string(MIVRA_SOURCE_DIR) + "/" + relative;
}

std::string ExePath() {
    const char* exe = std::getenv("MIVRA_EXE");
    return SourcePath(exe && *exe ? exe : "build/win64/Mivra.exe");
}

std::string Quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Starts a program with stdin and stdout on the given descriptors (-1: none).
pid_t Spawn(const std::vector<std::string>& argv, int in = -1, int out = -1) {
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    // Everything on /dev/null but the descriptors given.
    for (int target : {0, 1, 2})
        posix_spawn_file_actions_addopen(&fa, target, "/dev/null", O_RDWR, 0);
    if (in >= 0) posix_spawn_file_actions_adddup2(&fa, in, 0);
    if (out >= 0) posix_spawn_file_actions_adddup2(&fa, out, 1);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &fa, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    return pid;
}

// Whether the process has ended; once reaped it is forgotten, as its number
// may be given to another.
bool Ended(pid_t& pid) {
    int status;
    if (pid > 0 && waitpid(pid, &status, WNOHANG) != 0) pid = -1;
    return pid <= 0;
}

// Gives a process time to end by itself, then kills it; waits for neither
// without a limit.
void Reap(pid_t& pid, chr::milliseconds grace) {
    if (WaitUntil([&] { return Ended(pid); }, grace)) return;
    kill(pid, SIGKILL);
    WaitUntil([&] { return Ended(pid); }, 5s);
}

// A 32-bit program is checked in the 32-bit view, where its writes land.
std::string Reg(const std::string& args) {
    static const std::string view = [] {
        // The PE header's machine field, little-endian as this host: 0x14c is Intel 386.
        std::ifstream f(ExePath(), std::ios::binary);
        std::uint32_t peOffset = 0;
        std::uint16_t machine = 0;
        f.seekg(60).read(reinterpret_cast<char*>(&peOffset), sizeof peOffset);
        f.seekg(peOffset + 4).read(reinterpret_cast<char*>(&machine), sizeof machine);
        return machine == 0x14c ? " /reg:32" : " /reg:64";
    }();
    return Shell(std::string(kWine64) + " reg " + args + view + " 2>/dev/null </dev/null");
}

} // namespace

std::string Shell(const std::string& command) {
    // No tool we call may hang the run: each gets a minute.
    const std::string limited = "timeout -k 5 60 sh -c " + Quoted(command);
    std::string out;
    FILE* p = popen(limited.c_str(), "r");
    if (!p) throw std::runtime_error("cannot run " + command);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    pclose(p);
    return out;
}

void Sleep(chr::milliseconds ms) {
    std::this_thread::sleep_for(ms);
}

bool WaitUntil(const std::function<bool()>& condition, chr::milliseconds timeout) {
    const auto end = chr::steady_clock::now() + timeout;
    while (!condition()) {
        if (chr::steady_clock::now() > end) return false;
        Sleep(100ms);
    }
    return true;
}

Screenshot Screenshot::Take() {
    Screenshot s;
    const std::string ppm = Shell("import -window root -depth 8 ppm:- 2>/dev/null");
    int header = 0; // "P6 width height 255" and one blank
    std::sscanf(ppm.c_str(), "P6 %d %d 255%n", &s.width_, &s.height_, &header);
    if (header == 0) throw std::runtime_error("no X display");
    s.rgb_ = ppm.substr(header + 1);
    if (s.rgb_.size() != size_t(s.width_) * s.height_ * 3)
        throw std::runtime_error("screenshot has " + std::to_string(s.rgb_.size()) + " bytes");
    return s;
}

Rgb Screenshot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {-1, -1, -1};
    const size_t i = (size_t(y) * width_ + x) * 3;
    return {std::uint8_t(rgb_[i]), std::uint8_t(rgb_[i + 1]), std::uint8_t(rgb_[i + 2])};
}

int Screenshot::Count(const Rect& r, Rgb c) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += At(x, y) == c;
    return n;
}

void Screenshot::Save(const std::string& name) const {
    const char* dir = std::getenv("MIVRA_RESULTS");
    if (!dir) return;
    const std::string path = std::string(dir) + "/" + name;
    std::ofstream(path + ".ppm", std::ios::binary) << "P6 " << width_ << " " << height_ << " 255\n"
                                                   << rgb_;
    Shell("convert " + Quoted(path + ".ppm") + " " + Quoted(path) + "; rm -f " +
          Quoted(path + ".ppm"));
}

Probe::Probe() {
    int down[2], up[2];
    if (pipe2(down, O_CLOEXEC) != 0 || pipe2(up, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    pid_ = Spawn({kWine64, SourcePath("build/win64/mivra_probe.exe")}, down[0], up[1]);
    close(down[0]);
    close(up[1]);
    toChild_ = down[1];
    fromChild_ = up[0];
    if (pid_ < 0) throw std::runtime_error("cannot start the probe");
}

Probe::~Probe() {
    Ask("quit");
    close(toChild_);
    close(fromChild_);
    Reap(pid_, 2500ms);
}

std::string Probe::Ask(const std::string& line) {
    const std::string msg = line + "\n";
    if (write(toChild_, msg.data(), msg.size()) != ssize_t(msg.size())) return "error";
    // The first question waits for the probe to start; later ones are quick.
    const auto end = chr::steady_clock::now() + 60s;
    std::string answer;
    for (char c = 0; c != '\n';) {
        const auto left = chr::duration_cast<chr::milliseconds>(end - chr::steady_clock::now());
        pollfd p{fromChild_, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0) return "error";
        if (read(fromChild_, &c, 1) != 1) return "error";
        if (c != '\n' && c != '\r') answer += c;
    }
    return answer;
}

std::optional<WindowInfo> Probe::Find(const std::string& cls, const std::string& title,
                                      const std::string& parent) {
    // "none" and "error" are no windows: they fail at the first number.
    std::istringstream in(Ask("find " + parent + " " + cls + " " + title));
    WindowInfo w;
    in >> w.hwnd >> w.visible >> w.left >> w.top >> w.right >> w.bottom >> w.clientWidth >>
        w.clientHeight >> std::hex >> w.style >> w.exStyle;
    return in ? std::optional(w) : std::nullopt;
}

void MoveTo(Point p) {
    Shell("xdotool mousemove " + std::to_string(p.x) + " " + std::to_string(p.y));
    Sleep(50ms);
}

void Click(Point p, int button) {
    MoveTo(p);
    Shell("xdotool click " + std::to_string(button));
}

void Press(Point p, int button) {
    MoveTo(p);
    Shell("xdotool mousedown " + std::to_string(button));
}

void Release(int button) {
    Shell("xdotool mouseup " + std::to_string(button));
}

void RegDelete(const std::string& key) {
    Reg("delete " + Quoted(key) + " /f");
}

void RegSet(const std::string& key, const std::string& name, const std::string& type,
            const std::string& data) {
    Reg("add " + Quoted(key) + " /v " + Quoted(name) + " /t " + type + " /d " + Quoted(data) +
        " /f");
}

::testing::AssertionResult Stored(const std::string& name, const std::string& type,
                                  const std::string& data) {
    const std::string all = Reg("query " + Quoted(kSettingsKey));
    if (all.find(name + "    " + type + "    " + data) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no " << name << " " << data << " in:\n" << all;
}

Mivra::Mivra(Probe& probe) : probe_(probe) {
    pid_ = Spawn({kWine64, ExePath()});
    // Under the emulator a 32-bit start takes seconds, more on a busy machine.
    WaitUntil([&] { return (window_ = probe_.Find("*", "Mivra_2000")).has_value(); }, 120s);
}

Mivra::~Mivra() {
    if (Running() && window_) probe_.Ask("close " + window_->hwnd);
    Reap(pid_, 10s);
}

WindowInfo Mivra::Window() {
    if (auto w = probe_.Find("*", "Mivra_2000")) window_ = w;
    return window_.value_or(WindowInfo{});
}

bool Mivra::Running() {
    return !Ended(pid_);
}

int Px(int twips, int dpi) {
    return int(std::lround(twips * double(dpi) / 1440.0));
}

namespace {

// Ends the whole run when one test has hung, with a message saying which;
// scripts/wine-env then takes Wine and the display down. The message is
// written when the test starts, since the alarm's handler may only pass it on.
char hungMessage[512];

void Hung(int) {
    (void)!write(2, hungMessage, std::strlen(hungMessage));
    _exit(3);
}

// The probe and the shared program live from the first test that needs
// them to the end of the run; the program ends first, through the probe.
std::unique_ptr<Probe> sharedProbe;
std::unique_ptr<Mivra> sharedApp;

} // namespace

Probe& DesktopTest::probe() {
    if (!sharedProbe) sharedProbe = std::make_unique<Probe>();
    return *sharedProbe;
}

Mivra& DesktopTest::App() {
    if (!sharedApp || !sharedApp->Running()) {
        sharedApp.reset();
        RegDelete(kSettingsKey);
        sharedApp = std::make_unique<Mivra>(probe());
        Start(*sharedApp);
    }
    return *sharedApp;
}

void DesktopTest::StopApp() {
    sharedApp.reset();
}

void DesktopTest::Start(Mivra& m) {
    EXPECT_TRUE(m.Started());
    // The icon is the last thing the start-up sequence adds.
    EXPECT_TRUE(WaitUntil([&] { return TrayIconShown(Screenshot::Take()); }));
}

void DesktopTest::SetUp() {
    // A probe that died must fail a question, not kill the run.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGALRM, Hung);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const char* v = std::getenv("MIVRA_E2E_TEST_SECONDS");
    const int seconds = v ? std::max(10, std::atoi(v)) : 300;
    std::snprintf(hungMessage, sizeof hungMessage,
                  "e2e watchdog: %s.%s has run for %d s; ending the run\n", info->test_suite_name(),
                  info->name(), seconds);
    alarm(unsigned(seconds));
    MoveTo({500, 300});
    if (sharedApp && sharedApp->Running() && sharedApp->Window().visible)
        EXPECT_TRUE(ClickTray(*sharedApp, false));
}

void DesktopTest::TearDown() {
    alarm(0);
}

Rect DesktopTest::Tray() {
    // Wine's taskbar puts icon i at 20 (i + 1) pixels left of its right end.
    const auto bar = probe().Find("Shell_TrayWnd", "*");
    if (!bar) return {1004, 740, 1024, 768};
    return {bar->right - 20, bar->top, bar->right, bar->bottom};
}

bool DesktopTest::TrayIconShown(const Screenshot& s) {
    return s.Count(Tray(), Rgb{0, 0, 128}) > 20;
}

bool DesktopTest::ClickTray(Mivra& m, bool visible, int button) {
    Click(Tray().Centre(), button);
    const bool done = m.WaitVisible(visible);
    MoveTo({500, 300});
    return done;
}

WindowInfo DesktopTest::Shown(Mivra& m) {
    if (!m.Window().visible) EXPECT_TRUE(ClickTray(m, true));
    return m.Window();
}

std::optional<WindowInfo> DesktopTest::WaitShown(const std::string& title) {
    std::optional<WindowInfo> w;
    return WaitUntil([&] { return (w = probe().Find("*", title)) && w->visible; }) ? w
                                                                                   : std::nullopt;
}

} // namespace mivra::e2e
