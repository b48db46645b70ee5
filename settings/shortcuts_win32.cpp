#include "settings/shortcuts_win32.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/handles_win32.h"

namespace mivra {

namespace {

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return p_; }
    void** PutVoid() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

class CoTaskText {
public:
    ~CoTaskText() { CoTaskMemFree(p_); }
    PWSTR* Put() { return &p_; }
    const wchar_t* Get() const { return p_ ? p_ : L""; }

private:
    PWSTR p_ = nullptr;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle() {
        if (Valid()) FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// A drive without media must answer "absent", not ask the user for a disk.
class QuietCriticalErrors {
public:
    QuietCriticalErrors() { restore_ = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old_) != 0; }
    ~QuietCriticalErrors() {
        if (restore_) SetThreadErrorMode(old_, nullptr);
    }
    QuietCriticalErrors(const QuietCriticalErrors&) = delete;
    QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

private:
    DWORD old_ = 0;
    bool restore_ = false;
};

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
    CoTaskText path;
    const DWORD flags = create ? KF_FLAG_CREATE : KF_FLAG_DONT_VERIFY;
    if (FAILED(SHGetKnownFolderPath(*id, flags, nullptr, path.Put()))) return {};
    return path.Get();
}

bool FileExists(const std::wstring& path) {
    if (path.empty() || HasNul(path) || HasWildcards(path)) return false;
    QuietCriticalErrors quiet;
    WIN32_FIND_DATAW entry{};
    const FindHandle find(
        FindFirstFileExW(path.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
    if (!find.Valid()) return false;
    constexpr DWORD kNotNormal = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
    return entry.cFileName[0] != L'\0' && (entry.dwFileAttributes & kNotNormal) == 0;
}

bool SaveShellLink(const std::wstring& linkPath, const ShellLinkProperties& link) {
    if (linkPath.empty() || HasNul(linkPath)) return false;
    // In the apartment the program opens for its whole life; without one
    // the creation fails and so does the shortcut.
    ComPtr<IShellLinkW> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shellLink.PutVoid())))
        return false;
    // The order in which a shortcut's properties have always been set.
    if (FAILED(shellLink->SetShowCmd(link.showCommand))) return false;
    if (FAILED(shellLink->SetHotkey(link.hotKey))) return false;
    if (FAILED(shellLink->SetPath(link.target.c_str()))) return false;
    if (link.icon && FAILED(shellLink->SetIconLocation(link.icon->file.c_str(), link.icon->index)))
        return false;
    if (FAILED(shellLink->SetDescription(link.description.c_str()))) return false;
    if (FAILED(shellLink->SetWorkingDirectory(link.workingFolder.c_str()))) return false;

    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.PutVoid()))) return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

bool CreateShellShortcut(ShortcutLocation location, std::wstring_view title,
                         std::wstring_view target, std::wstring_view hotKey,
                         std::wstring_view iconLocation, std::wstring_view workingFolder,
                         std::wstring_view subFolder, std::int16_t windowStyle) {
    const std::optional<std::uint16_t> keys = ParseHotKey(hotKey);
    if (!keys) return false;
    // Only a shortcut about to be written makes its folder.
    const std::wstring linkPath =
        LinkFilePath(GetSpecialFolderPath(location, true), subFolder, title);
    if (linkPath.empty() || HasNul(linkPath)) return false;

    if (subFolder.find_first_not_of(L' ') != std::wstring_view::npos) {
        // An existing folder is fine; any other failure shows when saving.
        const std::wstring folder = linkPath.substr(0, linkPath.rfind(L'\\'));
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    }

    ShellLinkProperties link;
    link.target = target;
    link.workingFolder = workingFolder;
    link.description = title;
    link.hotKey = *keys;
    if (!iconLocation.empty()) link.icon = ParseIconLocation(iconLocation);
    link.showCommand = windowStyle;
    return SaveShellLink(linkPath, link);
}

bool CreateShellShortcut(const ShortcutRequest& r) {
    return CreateShellShortcut(r.location, r.title, r.target, r.hotKey, r.iconLocation,
                               r.workingFolder, r.subFolder, r.windowStyle);
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
