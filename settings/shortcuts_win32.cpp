#include "settings/shortcuts_win32.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/apartment_win32.h"
#include "platform/handles_win32.h"

namespace mivra {

namespace {

const KNOWNFOLDERID* KnownFolderFor(ShortcutLocation location) {
    switch (location) {
    case kLocationDesktop:
        return &FOLDERID_Desktop;
    case kLocationPrograms:
        return &FOLDERID_Programs;
    case kLocationStartMenu:
        return &FOLDERID_StartMenu;
    case kLocationStartUp:
        return &FOLDERID_Startup;
    default:
        return nullptr;
    }
}

// A text with a NUL inside would reach the API cut short, naming another file.
bool HasNul(std::wstring_view s) {
    return s.find(L'\0') != std::wstring_view::npos;
}

} // namespace

std::wstring GetSpecialFolderPath(ShortcutLocation location, bool create) {
    const KNOWNFOLDERID* id = KnownFolderFor(location);
    if (!id) return {};
    // The shell may answer through its COM objects.
    EnterApartment();
    CoTaskText path;
    const DWORD flags = create ? KF_FLAG_CREATE : KF_FLAG_DONT_VERIFY;
    if (FAILED(SHGetKnownFolderPath(*id, flags, nullptr, path.Put()))) return {};
    return path.Get();
}

bool FileExists(const std::wstring& path) {
    if (path.empty() || HasNul(path) || HasWildcards(path)) return false;
    QuietCriticalErrors quiet;
    WIN32_FIND_DATAW entry{};
    const UniqueFind find(
        FindFirstFileExW(path.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
    if (!find) return false;
    constexpr DWORD kNotNormal = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
    return entry.cFileName[0] != L'\0' && (entry.dwFileAttributes & kNotNormal) == 0;
}

bool SaveShellLink(const std::wstring& linkPath, const ShellLinkProperties& link) {
    if (linkPath.empty() || HasNul(linkPath)) return false;
    if (!EnterApartment()) return false;
    ComPtr<IShellLinkW> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shellLink.PutVoid())))
        return false;
    // The order in which a shortcut's properties have always been set.
    if (FAILED(shellLink->SetShowCmd(link.showCommand))) return false;
    if (FAILED(shellLink->SetHotkey(0))) return false;
    if (FAILED(shellLink->SetPath(link.target.c_str()))) return false;
    if (FAILED(shellLink->SetDescription(link.description.c_str()))) return false;
    if (FAILED(shellLink->SetWorkingDirectory(link.workingFolder.c_str()))) return false;

    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.PutVoid()))) return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

bool CreateShellShortcut(const ShortcutRequest& r) {
    // Only a shortcut about to be written makes its folder.
    const std::wstring linkPath = LinkFilePath(GetSpecialFolderPath(r.location, true), r.title);
    if (linkPath.empty() || HasNul(linkPath)) return false;
    ShellLinkProperties link;
    link.target = r.target;
    link.workingFolder = r.workingFolder;
    link.description = r.title;
    link.showCommand = r.windowStyle;
    return SaveShellLink(linkPath, link);
}

bool DeleteShortcutFile(const std::wstring& path) {
    if (path.empty() || HasNul(path)) return false;
    return DeleteFileW(path.c_str()) != FALSE;
}

std::wstring ProgramFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768) return {}; // longer than any Windows path
        path.resize(path.size() * 2);
    }
}

std::optional<ShortcutPaths> LoadShortcutPaths() {
    return ComputeShortcutPaths(GetSpecialFolderPath(kLocationStartUp), ProgramFilePath());
}

bool Win32ShortcutFiles::FileExists(const std::wstring& path) {
    return mivra::FileExists(path);
}

bool Win32ShortcutFiles::CreateShortcut(const ShortcutRequest& request) {
    return CreateShellShortcut(request);
}

bool Win32ShortcutFiles::RemoveFile(const std::wstring& path) {
    return DeleteShortcutFile(path);
}

} // namespace mivra
