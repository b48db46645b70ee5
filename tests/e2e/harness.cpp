#include "harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace mivra::e2e {

namespace chr = std::chrono;

std::string SourcePath(const std::string& relative) {
    return std::string(MIVRA_SOURCE_DIR) + "/" + relative;
}

namespace {

std::string Quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string ExePath() {
    const char* exe = std::getenv("MIVRA_EXE");
    const std::string path = exe && *exe ? exe : "build/win64/Mivra.exe";
    return path.front() == '/' ? path : SourcePath(path);
}

} // namespace

std::string Run(const std::string& command, int* status) {
    // No tool we call may hang the run: each gets a minute.
    const std::string limited = "timeout -k 5 60 sh -c " + Quoted(command);
    std::string out;
    FILE* p = popen(limited.c_str(), "r");
    if (!p) throw std::runtime_error("cannot run " + command);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int rc = pclose(p);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

void Sleep(chr::milliseconds ms) {
    std::this_thread::sleep_for(ms);
}

bool WaitUntil(const std::function<bool()>& condition, chr::milliseconds timeout) {
    const auto end = chr::steady_clock::now() + timeout;
    while (true) {
        if (condition()) return true;
        if (chr::steady_clock::now() > end) return false;
        Sleep(100ms);
    }
}

Screenshot Screenshot::Take() {
    Screenshot s;
    const std::string size =
        Run("xdpyinfo | sed -n 's/.*dimensions: *\\([0-9]*x[0-9]*\\).*/\\1/p'");
    if (std::sscanf(size.c_str(), "%dx%d", &s.width_, &s.height_) != 2)
        throw std::runtime_error("no X display");
    const std::string raw = Run("import -window root -depth 8 rgb:- 2>/dev/null");
    if (raw.size() != size_t(s.width_) * s.height_ * 3)
        throw std::runtime_error("screenshot has " + std::to_string(raw.size()) + " bytes");
    s.rgb_.assign(raw.begin(), raw.end());
    return s;
}

Rgb Screenshot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {-1, -1, -1};
    const size_t i = (size_t(y) * width_ + x) * 3;
    return {rgb_[i], rgb_[i + 1], rgb_[i + 2]};
}

int Screenshot::Count(int l, int t, int r, int b, Rgb c) const {
    int n = 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            n += At(x, y) == c;
    return n;
}

void Screenshot::SavePng(const std::string& path) const {
    const std::string cmd = "convert -size " + std::to_string(width_) + "x" +
                            std::to_string(height_) + " -depth 8 rgb:- " + Quoted(path);
    FILE* p = popen(cmd.c_str(), "w");
    if (!p) return;
    fwrite(rgb_.data(), 1, rgb_.size(), p);
    pclose(p);
}

namespace {

pid_t Spawn(const std::vector<std::string>& argv, int in, int out) {
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (in >= 0)
        posix_spawn_file_actions_adddup2(&fa, in, 0);
    else
        posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    if (out >= 0)
        posix_spawn_file_actions_adddup2(&fa, out, 1);
    else
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &fa, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    return pid;
}

std::optional<WindowInfo> ParseWindow(const std::string& line) {
    if (line.empty() || line == "none" || line == "error") return std::nullopt;
    std::istringstream in(line);
    WindowInfo w;
    int visible = 0;
    in >> w.hwnd >> visible >> w.left >> w.top >> w.right >> w.bottom >> w.clientWidth >>
        w.clientHeight >> std::hex >> w.style >> w.exStyle >> std::dec >> w.pid;
    if (!in) return std::nullopt;
    w.visible = visible != 0;
    return w;
}

} // namespace

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
    int status;
    for (int i = 0; i < 50 && waitpid(pid_, &status, WNOHANG) == 0; ++i)
        Sleep(50ms);
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, WNOHANG);
}

std::string Probe::Ask(const std::string& line) {
    const std::string msg = line + "\n";
    if (write(toChild_, msg.data(), msg.size()) != ssize_t(msg.size())) return "error";
    // The first question waits for the probe to start; later ones are quick.
    const auto end = chr::steady_clock::now() + 60s;
    while (true) {
        const auto nl = buffer_.find('\n');
        if (nl != std::string::npos) {
            std::string answer = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            if (!answer.empty() && answer.back() == '\r') answer.pop_back();
            return answer;
        }
        const auto left = chr::duration_cast<chr::milliseconds>(end - chr::steady_clock::now());
        pollfd p{fromChild_, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0) return "error";
        char buf[512];
        const ssize_t n = read(fromChild_, buf, sizeof buf);
        if (n <= 0) return "error";
        buffer_.append(buf, size_t(n));
    }
}

std::optional<WindowInfo> Probe::Find(const std::string& cls, const std::string& title) {
    return ParseWindow(Ask("find " + cls + " " + title));
}

std::optional<WindowInfo> Probe::Child(const std::string& parent, const std::string& cls,
                                       const std::string& text) {
    return ParseWindow(Ask("child " + parent + " " + cls + " " + text));
}

void MoveTo(int x, int y) {
    Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y));
    Sleep(50ms);
}

void Click(int x, int y, int button) {
    MoveTo(x, y);
    Run("xdotool click " + std::to_string(button));
}

void Press(int x, int y, int button) {
    MoveTo(x, y);
    Run("xdotool mousedown " + std::to_string(button));
}

void Release(int button) {
    Run("xdotool mouseup " + std::to_string(button));
}

bool Testing32Bit() {
    static const bool is32 = [] {
        // The PE header's machine field: 0x14c is Intel 386.
        std::ifstream f(ExePath(), std::ios::binary);
        char dos[64] = {};
        f.read(dos, sizeof dos);
        const std::uint32_t peOffset = std::uint8_t(dos[60]) | std::uint8_t(dos[61]) << 8 |
                                       std::uint8_t(dos[62]) << 16 |
                                       std::uint32_t(std::uint8_t(dos[63])) << 24;
        char machine[2] = {};
        f.seekg(peOffset + 4);
        f.read(machine, 2);
        return std::uint8_t(machine[0]) == 0x4c && std::uint8_t(machine[1]) == 0x01;
    }();
    return is32;
}

namespace {

std::string Reg(const std::string& args) {
    const std::string view = Testing32Bit() ? " /reg:32" : " /reg:64";
    return Run(std::string(kWine64) + " reg " + args + view + " 2>/dev/null </dev/null");
}

} // namespace

std::string RegQuery(const std::string& key) {
    return Reg("query " + Quoted(key));
}

void RegDelete(const std::string& key) {
    Reg("delete " + Quoted(key) + " /f");
}

void RegSet(const std::string& key, const std::string& name, const std::string& type,
            const std::string& data) {
    Reg("add " + Quoted(key) + " /v " + Quoted(name) + " /t " + type + " /d " + Quoted(data) +
        " /f");
}

Mivra::Mivra(Probe& probe) : probe_(probe) {
    pid_ = Spawn({kWine64, ExePath()}, -1, -1);
    // Under the emulator a 32-bit start takes seconds, more on a busy machine.
    WaitUntil(
        [&] {
            window_ = probe_.Find("*", "Mivra_2000");
            return window_.has_value();
        },
        120s);
}

Mivra::~Mivra() {
    if (Running() && window_) probe_.Ask("close " + window_->hwnd);
    if (!WaitForExit(10s) && pid_ > 0) {
        kill(pid_, SIGKILL);
        int status;
        waitpid(pid_, &status, 0);
    }
}

WindowInfo Mivra::Window() {
    if (auto w = probe_.Find("*", "Mivra_2000")) window_ = w;
    return window_.value_or(WindowInfo{});
}

bool Mivra::Running() const {
    if (pid_ <= 0) return false;
    int status;
    return waitpid(pid_, &status, WNOHANG) == 0;
}

bool Mivra::WaitForExit(chr::milliseconds timeout) {
    const bool exited = WaitUntil([&] { return !Running(); }, timeout);
    if (exited) pid_ = -1;
    return exited;
}

bool Mivra::WaitVisible(bool visible, chr::milliseconds timeout) {
    return WaitUntil([&] { return Window().visible == visible; }, timeout);
}

int Px(int twips, int dpi) {
    return int(std::lround(twips * double(dpi) / 1440.0));
}

Point LabelCentre(const WindowInfo& w, int l, int t, int width, int height, int dpi) {
    return {w.left + (Px(l, dpi) + Px(l + width, dpi)) / 2,
            w.top + (Px(t, dpi) + Px(t + height, dpi)) / 2};
}

void Save(const Screenshot& s, const std::string& name) {
    if (const char* dir = std::getenv("MIVRA_RESULTS")) s.SavePng(std::string(dir) + "/" + name);
}

namespace {

// Ends the whole run when one test has hung, with a message saying which;
// scripts/wine-env then takes Wine and the display down.
class Watchdog {
public:
    static Watchdog& Get() {
        static Watchdog w;
        return w;
    }
    void Arm(const std::string& test) {
        std::lock_guard<std::mutex> lock(mutex_);
        test_ = test;
        deadline_ = chr::steady_clock::now() + Budget();
    }
    void Disarm() {
        std::lock_guard<std::mutex> lock(mutex_);
        test_.clear();
    }

private:
    Watchdog() {
        std::thread([this] {
            while (true) {
                Sleep(1s);
                std::lock_guard<std::mutex> lock(mutex_);
                if (!test_.empty() && chr::steady_clock::now() > deadline_) {
                    std::cerr << "e2e watchdog: " << test_ << " has run for " << Budget().count()
                              << " s; ending the run\n";
                    std::_Exit(3);
                }
            }
        }).detach();
    }
    static chr::seconds Budget() {
        const char* v = std::getenv("MIVRA_E2E_TEST_SECONDS");
        return chr::seconds(v ? std::max(10, std::atoi(v)) : 300);
    }
    std::mutex mutex_;
    std::string test_;
    chr::steady_clock::time_point deadline_;
};

// The probe and the shared program live from the first test that needs
// them to the end of the run.
class Shared : public ::testing::Environment {
public:
    void TearDown() override {
        app.reset();
        probe.reset();
    }
    std::unique_ptr<Probe> probe;
    std::unique_ptr<Mivra> app;
};

Shared* const shared = [] {
    // A probe that died must fail a question, not kill the run.
    signal(SIGPIPE, SIG_IGN);
    auto* s = new Shared;
    ::testing::AddGlobalTestEnvironment(s); // owned by GoogleTest
    return s;
}();

} // namespace

Probe& DesktopTest::probe() {
    if (!shared->probe) shared->probe = std::make_unique<Probe>();
    return *shared->probe;
}

Mivra& DesktopTest::App() {
    if (!shared->app || !shared->app->Running()) {
        shared->app.reset();
        RegDelete(kSettingsKey);
        shared->app = std::make_unique<Mivra>(probe());
        Start(*shared->app);
    }
    return *shared->app;
}

void DesktopTest::StopApp() {
    shared->app.reset();
}

Mivra& DesktopTest::Start(Mivra& m) {
    EXPECT_TRUE(m.Started());
    // The icon is the last thing the start-up sequence adds.
    EXPECT_TRUE(WaitUntil([&] { return TrayIconShown(Screenshot::Take()); }, 10s));
    return m;
}

void DesktopTest::TearDown() {
    Watchdog::Get().Disarm();
}

void DesktopTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    Watchdog::Get().Arm(std::string(info->test_suite_name()) + "." + info->name());
    MoveTo(500, 300);
    if (shared->app && shared->app->Running() && shared->app->Window().visible)
        HideByTray(*shared->app);
}

TrayIcon DesktopTest::Tray() {
    // Wine's taskbar puts icon i at 20 (i + 1) pixels left of its right end.
    const auto bar = probe().Find("Shell_TrayWnd", "*");
    if (!bar) return {1004, 740, 1024, 768};
    return {bar->right - 20, bar->top, bar->right, bar->bottom};
}

bool DesktopTest::TrayIconShown(const Screenshot& s) {
    const TrayIcon t = Tray();
    return s.Count(t.left, t.top, t.right, t.bottom, Rgb{0, 0, 128}) > 20;
}

void DesktopTest::ShowByTray(Mivra& m) {
    if (m.Window().visible) return;
    const Point c = Tray().Centre();
    Click(c.x, c.y);
    ASSERT_TRUE(m.WaitVisible(true));
    MoveTo(500, 300);
}

WindowInfo DesktopTest::Shown(Mivra& m) {
    ShowByTray(m);
    return m.Window();
}

std::optional<WindowInfo> DesktopTest::WaitShown(const std::string& title) {
    std::optional<WindowInfo> w;
    WaitUntil(
        [&] {
            w = probe().Find("*", title);
            return w && w->visible;
        },
        10s);
    return w && w->visible ? w : std::nullopt;
}

void DesktopTest::HideByTray(Mivra& m) {
    const Point c = Tray().Centre();
    Click(c.x, c.y);
    EXPECT_TRUE(m.WaitVisible(false));
    MoveTo(500, 300);
}

} // namespace mivra::e2e
