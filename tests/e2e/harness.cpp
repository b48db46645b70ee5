#include "harness.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace mivra::e2e {

std::string SourcePath(const std::string& relative) {
    return std::string(MIVRA_SOURCE_DIR) + "/" + relative;
}

std::string Run(const std::string& command, int* status) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) throw std::runtime_error("cannot run " + command);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int rc = pclose(p);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

void Sleep(std::chrono::milliseconds ms) {
    std::this_thread::sleep_for(ms);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(std::chrono::milliseconds(100));
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
                            std::to_string(height_) + " -depth 8 rgb:- '" + path + "'";
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
        Sleep(std::chrono::milliseconds(50));
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, WNOHANG);
}

std::string Probe::Ask(const std::string& line) {
    const std::string msg = line + "\n";
    if (write(toChild_, msg.data(), msg.size()) != ssize_t(msg.size())) return "error";
    while (true) {
        const auto nl = buffer_.find('\n');
        if (nl != std::string::npos) {
            std::string answer = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            if (!answer.empty() && answer.back() == '\r') answer.pop_back();
            return answer;
        }
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
    Sleep(std::chrono::milliseconds(50));
}

void Click(int x, int y, int button) {
    MoveTo(x, y);
    Run("xdotool click " + std::to_string(button));
    Sleep(std::chrono::milliseconds(150));
}

void Press(int x, int y, int button) {
    MoveTo(x, y);
    Run("xdotool mousedown " + std::to_string(button));
}

void Release(int button) {
    Run("xdotool mouseup " + std::to_string(button));
}

std::string RegQuery(const std::string& key) {
    return Run(std::string(kWine64) + " reg query '" + key + "' 2>/dev/null </dev/null");
}

void RegDelete(const std::string& key) {
    Run(std::string(kWine64) + " reg delete '" + key + "' /f >/dev/null 2>&1 </dev/null");
}

void RegSet(const std::string& key, const std::string& name, const std::string& type,
            const std::string& data) {
    Run(std::string(kWine64) + " reg add '" + key + "' /v '" + name + "' /t " + type + " /d '" +
        data + "' /f >/dev/null 2>&1 </dev/null");
}

Mivra::Mivra(Probe& probe) : probe_(probe) {
    pid_ = Spawn({kWine64, SourcePath("build/win64/Mivra.exe")}, -1, -1);
    WaitUntil(
        [&] {
            window_ = probe_.Find("*", "Mivra_2000");
            return window_.has_value();
        },
        std::chrono::seconds(20));
    // The start-up sequence ends with the first refresh; give it a moment.
    Sleep(std::chrono::milliseconds(300));
}

Mivra::~Mivra() {
    if (Running() && window_) probe_.Ask("close " + window_->hwnd);
    if (!WaitForExit(std::chrono::seconds(5)) && pid_ > 0) {
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

bool Mivra::WaitForExit(std::chrono::milliseconds timeout) {
    const bool exited = WaitUntil([&] { return !const_cast<Mivra*>(this)->Running(); }, timeout);
    if (exited) pid_ = -1;
    return exited;
}

bool Mivra::WaitVisible(bool visible, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return Window().visible == visible; }, timeout);
}

Point LabelCentre(const WindowInfo& w, int l, int t, int width, int height, int dpi) {
    auto px = [dpi](int tw) { return int(std::lround(tw * double(dpi) / 1440.0)); };
    return {w.left + (px(l) + px(l + width)) / 2, w.top + (px(t) + px(t + height)) / 2};
}

void Save(const Screenshot& s, const std::string& name) {
    if (const char* dir = std::getenv("MIVRA_RESULTS")) s.SavePng(std::string(dir) + "/" + name);
}

Probe* DesktopTest::probe = nullptr;

void DesktopTest::SetUpTestSuite() {
    probe = new Probe();
}

void DesktopTest::TearDownTestSuite() {
    delete probe;
    probe = nullptr;
}

void DesktopTest::SetUp() {
    RegDelete(kSettingsKey);
    MoveTo(500, 300);
}

void DesktopTest::ShowByTray(Mivra& m) {
    Click(kTrayX, kTrayY);
    ASSERT_TRUE(m.WaitVisible(true));
    Sleep(std::chrono::milliseconds(300));
}

} // namespace mivra::e2e
