#include "settings/shortcuts.h"

namespace mivra {

namespace {

constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";

std::wstring_view TrimTrailingBlanks(std::wstring_view s) {
    while (!s.empty() && s.back() == L' ')
        s.remove_suffix(1);
    return s;
}

std::wstring_view Trim(std::wstring_view s) {
    s = TrimTrailingBlanks(s);
    while (!s.empty() && s.front() == L' ')
        s.remove_prefix(1);
    return s;
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsPlainFileName(std::wstring_view name) {
    if (name.empty()) return false;
    for (wchar_t c : name) {
        if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            return false;
    }
    return true;
}

std::wstring Upper(std::wstring_view s) {
    std::wstring out(s);
    for (wchar_t& c : out) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return out;
}

// The virtual key of one key name: a letter, a digit or F1 to F24.
std::optional<std::uint8_t> KeyCode(std::wstring_view name) {
    if (name.empty()) return std::nullopt;
    if (name.size() == 1) {
        const wchar_t c = name[0];
        if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return std::uint8_t(c);
        return std::nullopt;
    }
    if (name.size() <= 3 && name[0] == L'F') {
        int n = 0;
        for (wchar_t c : name.substr(1)) {
            if (c < L'0' || c > L'9') return std::nullopt;
            n = n * 10 + (c - L'0');
        }
        if (n >= 1 && n <= 24 && name[1] != L'0') return std::uint8_t(0x70 + n - 1); // VK_F1...
    }
    return std::nullopt;
}

} // namespace

std::wstring WithTrailingBackslash(std::wstring_view path) {
    std::wstring out(TrimTrailingBlanks(path));
    if (out.empty() || out.back() != L'\\') out += L'\\';
    return out;
}

bool HasWildcards(std::wstring_view path) {
    if (path.starts_with(kLongPathPrefix)) path.remove_prefix(kLongPathPrefix.size());
    return path.find_first_of(L"*?<>\"") != std::wstring_view::npos;
}

std::wstring LinkFilePath(std::wstring_view folder, std::wstring_view subFolder,
                          std::wstring_view title) {
    if (TrimTrailingBlanks(folder).empty() || !IsPlainFileName(title)) return {};
    subFolder = TrimTrailingBlanks(subFolder);
    if (HasWildcards(subFolder)) return {};
    std::wstring path = WithTrailingBackslash(folder);
    if (!subFolder.empty()) path += WithTrailingBackslash(subFolder);
    path += title;
    path += L".lnk";
    return path;
}

std::optional<std::uint16_t> ParseHotKey(std::wstring_view text) {
    constexpr std::uint8_t kShift = 0x01, kControl = 0x02, kAlt = 0x04, kExt = 0x08;
    text = Trim(text);
    if (text.empty()) return std::uint16_t{0};

    std::uint8_t modifiers = 0;
    std::optional<std::uint8_t> key;
    while (true) {
        const auto plus = text.find(L'+');
        const std::wstring part = Upper(Trim(text.substr(0, plus)));
        const bool last = plus == std::wstring_view::npos;
        if (key) return std::nullopt; // the key comes last
        if (part == L"SHIFT") {
            modifiers |= kShift;
        } else if (part == L"CTRL" || part == L"CONTROL") {
            modifiers |= kControl;
        } else if (part == L"ALT") {
            modifiers |= kAlt;
        } else if (part == L"EXT") {
            modifiers |= kExt;
        } else if (!(key = KeyCode(part))) {
            return std::nullopt;
        }
        if (last) break;
        text.remove_prefix(plus + 1);
    }
    if (!key) return std::nullopt;
    return static_cast<std::uint16_t>(modifiers << 8 | *key);
}

IconLocation ParseIconLocation(std::wstring_view text) {
    IconLocation icon;
    const auto comma = text.rfind(L',');
    if (comma != std::wstring_view::npos) {
        std::wstring_view number = Trim(text.substr(comma + 1));
        const bool negative = number.starts_with(L'-');
        if (negative) number.remove_prefix(1);
        long value = 0;
        bool digits = !number.empty() && number.size() <= 9;
        for (wchar_t c : number) {
            if (c < L'0' || c > L'9')
                digits = false;
            else
                value = value * 10 + (c - L'0');
        }
        if (digits) {
            icon.file = std::wstring(TrimTrailingBlanks(text.substr(0, comma)));
            icon.index = static_cast<int>(negative ? -value : value);
            return icon;
        }
    }
    icon.file = std::wstring(text);
    return icon;
}

std::optional<ShortcutPaths> ComputeShortcutPaths(std::wstring_view startupFolder,
                                                  std::wstring_view programPath) {
    if (TrimTrailingBlanks(startupFolder).empty()) return std::nullopt;

    std::size_t cut = programPath.size();
    while (cut > 0 && !IsSeparator(programPath[cut - 1]))
        --cut;
    const std::wstring_view name = programPath.substr(cut);
    if (cut == 0 || name.empty()) return std::nullopt;
    const std::wstring_view stem = name.substr(0, name.rfind(L'.'));

    ShortcutPaths paths;
    paths.StartupFolderPath = WithTrailingBackslash(startupFolder);
    paths.ExeWork = WithTrailingBackslash(programPath.substr(0, cut - 1));
    paths.ExePath = paths.ExeWork + std::wstring(stem) + L".exe";
    paths.LinkFileName = paths.StartupFolderPath + std::wstring(kLinkFileName);
    return paths;
}

ShortcutRequest StartupShortcutRequest(const ShortcutPaths& paths) {
    ShortcutRequest r;
    r.location = kLocationStartUp;
    r.title = kShortcutTitle;
    r.target = paths.ExePath;
    r.workingFolder = paths.ExeWork;
    r.windowStyle = kShowNormal;
    return r;
}

bool ApplyStartupChoice(bool ticked, const ShortcutPaths& paths, ShortcutFiles& files) {
    switch (DecideShortcutAction(ticked, files.FileExists(paths.LinkFileName))) {
    case ShortcutAction::Create:
        files.CreateShortcut(StartupShortcutRequest(paths));
        break;
    case ShortcutAction::Delete:
        files.RemoveFile(paths.LinkFileName);
        break;
    case ShortcutAction::Nothing:
        break;
    }
    return files.FileExists(paths.LinkFileName);
}

} // namespace mivra
