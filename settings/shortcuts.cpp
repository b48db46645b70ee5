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
