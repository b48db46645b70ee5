#include "settings/shortcuts_win32.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/trace.h"
#include "platform/apartment_win32.h"
#include "platform/handles_win32.h"

// The class, interface and folder identifiers used here. Defined here, the
// linker never reaches for the import library's object that defines every
// known identifier at once (40 KB in the 32-bit file). After every header:
// from here on DEFINE_GUID defines instead of declaring.
#include <initguid.h>

DEFINE_GUID(CLSID_ShellLink, 0x00021401, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IShellLinkW, 0x000214F9, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IPersistFile, 0x0000010B, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(FOLDERID_Startup, 0xB97D20BB, 0xF46A, 0x4C97, 0xBA, 0x10, 0x5E, 0x36, 0x08, 0x43, 0x08,
            0x54);
DEFINE_GUID(FOLDERID_Desktop, 0xB4BFCC3A, 0xDB2C, 0x424C, 0xB0, 0x29, 0x7F, 0xE9, 0x9A, 0x87, 0xC6,
            0x41);
DEFINE_GUID(FOLDERID_Programs, 0xA77F5D77, 0x2E2B, 0x44C3, 0xA6, 0xA2, 0xAB, 0xA6, 0x01, 0x05, 0x4A,
            0x51);
DEFINE_GUID(FOLDERID_StartMenu, 0x625B53C3, 0xAB48, 0x4EC1, 0xBA, 0x1F, 0xA1, 0xEF, 0x41, 0x46,
            0xFC, 0x19);

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

std::wstring ProgramFilePath(DWORD(WINAPI* moduleFileName)(HMODULE, LPWSTR, DWORD)) {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD n = moduleFileName(nullptr, path.data(), static_cast<DWORD>(path.size()));
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

void ShellLinks::Open(std::wstring_view target) {
    const std::wstring file(target);
    // The handler the shell picks for a link may be a COM object.
    EnterApartment();
    // The window the click came from owns whatever the shell may show.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetActiveWindow(), L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // Values up to 32 are errors.
    if (result <= 32)
        TraceFailure("ShellExecuteW", "a link of the options window", static_cast<long>(result));
}

} // namespace mivra
