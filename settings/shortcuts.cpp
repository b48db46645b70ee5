#include "settings/shortcuts.h"

namespace mivra {

namespace {

constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";

std::wstring_view TrimTrailingBlanks(std::wstring_view s) {
    while (!s.empty() && s.back() == L' ')
        s.remove_suffix(1);
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

std::wstring LinkFilePath(std::wstring_view folder, std::wstring_view title) {
    if (TrimTrailingBlanks(folder).empty() || !IsPlainFileName(title)) return {};
    std::wstring path = WithTrailingBackslash(folder);
    path += title;
    path += L".lnk";
    return path;
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

namespace {

// The value is named after the file the check box makes. ASCII, so the ANSI
// call names it exactly in every code page.
constexpr bool SameName(std::string_view ansi, std::wstring_view wide) {
    if (ansi.size() != wide.size()) return false;
    for (std::size_t i = 0; i < ansi.size(); ++i)
        if (static_cast<wchar_t>(ansi[i]) != wide[i]) return false;
    return true;
}
static_assert(SameName(kStartupApprovedName, kLinkFileName));

// Opens the shell's key with `access` and tells whether its value marks the
// shortcut off. A key or value that cannot be read counts as on: there is no
// off state to show. So does a value longer than the buffer, which is not
// the shell's.
bool SwitchedOff(RegistryApi& api, ScopedRegKey& key, std::uint32_t access) {
    std::uint8_t data[256];
    std::uint32_t kind = 0;
    std::uint32_t size = sizeof data;
    return api.OpenKeyEx(kHkeyCurrentUser, kStartupApprovedKey, 0, access, key.Put()) ==
               kErrorSuccess &&
           api.QueryValueEx(key.Get(), kStartupApprovedName, &kind, data, &size) == kErrorSuccess &&
           kind == kRegBinary && size > 0 && (data[0] & 1) != 0;
}

} // namespace

bool StartsAtLogOn(const ShortcutPaths& paths, ShortcutFiles& files, RegistryApi& registry) {
    ScopedRegKey key(registry);
    return files.FileExists(paths.LinkFileName) && !SwitchedOff(registry, key, kKeyQueryValue);
}

bool ApplyStartupChoice(bool ticked, const ShortcutPaths& paths, ShortcutFiles& files,
                        RegistryApi& registry) {
    // A stale off state would outlive a deleted file and keep a new one from
    // running, so ticking removes it, and nothing else, whether or not the
    // file is there. Whether that worked shows in the result.
    if (ticked) {
        ScopedRegKey key(registry);
        if (SwitchedOff(registry, key, kKeyQueryValue | kKeySetValue))
            registry.DeleteValue(key.Get(), kStartupApprovedName);
    }
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
    return StartsAtLogOn(paths, files, registry);
}

} // namespace mivra
