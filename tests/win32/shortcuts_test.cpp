#include "settings/shortcuts_win32.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "base/trace.h"
#include "platform/handles_win32.h"
#include "settings/registry_win32.h"
#include "tests/support/fake_shortcut_files.h"

namespace mivra {
namespace {

using namespace std::literals;

namespace fs = std::filesystem;

// "Тест 日本": Cyrillic and CJK, outside every ANSI code page at once.
const std::wstring kWideName = L"\x0422\x0435\x0441\x0442 \x65e5\x672c";

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    ASSERT_TRUE(std::ofstream(fs::path(path)).good()) << "cannot create a test file";
    SetFileAttributesW(path.c_str(), attributes);
}

// A fresh folder under %TEMP%, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() { fs::create_directories(path_); }
    ~TempFolder() {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(path_, ec))
            SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(path_, ec);
    }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_ = (fs::temp_directory_path() / "mivra-shortcuts-").wstring() +
                         std::to_wstring(GetCurrentProcessId());
};

struct LinkContents {
    std::wstring target, idListTarget, workingFolder, description, iconFile;
    // The header's are as written in the file's fixed header.
    int iconIndex = -1, showCommand = -1, headerShowCommand = -1;
    WORD hotKey = 0xFFFF, headerHotKey = 0xFFFF;
};

// Reads a shortcut back the way the shell does when it starts it.
std::optional<LinkContents> ReadLink(const std::wstring& path) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::optional<LinkContents> result;
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        LinkContents c;
        // Each text into a buffer of its own; one that cannot be read stays empty.
        const auto text = [](auto read) {
            wchar_t buf[1024] = L"";
            return SUCCEEDED(read(buf)) ? std::wstring(buf) : std::wstring();
        };
        c.target = text([&](LPWSTR b) { return link->GetPath(b, 1024, nullptr, SLGP_RAWPATH); });
        c.workingFolder = text([&](LPWSTR b) { return link->GetWorkingDirectory(b, 1024); });
        c.description = text([&](LPWSTR b) { return link->GetDescription(b, 1024); });
        c.iconFile = text([&](LPWSTR b) { return link->GetIconLocation(b, 1024, &c.iconIndex); });
        PIDLIST_ABSOLUTE ids = nullptr;
        c.idListTarget = text([&](LPWSTR b) {
            return SUCCEEDED(link->GetIDList(&ids)) && ids && SHGetPathFromIDListW(ids, b) ? S_OK
                                                                                           : E_FAIL;
        });
        CoTaskMemFree(ids);
        link->GetShowCmd(&c.showCommand);
        link->GetHotkey(&c.hotKey);
        // The show command and hot key at their fixed places in the link header.
        std::ifstream header(fs::path(path), std::ios::binary);
        unsigned char h[0x4C] = {};
        if (header.read(reinterpret_cast<char*>(h), sizeof h) && h[0] == 0x4C) {
            c.headerShowCommand = h[0x3C] | h[0x3D] << 8 | h[0x3E] << 16 | h[0x3F] << 24;
            c.headerHotKey = static_cast<WORD>(h[0x40] | h[0x41] << 8);
            result = c;
        }
    }
    if (file) file->Release();
    if (link) link->Release();
    if (SUCCEEDED(init)) CoUninitialize();
    return result;
}

TEST(GetSpecialFolderPath, GivesTheFourFoldersAndNothingElseWhereNoShortcutIsMade) {
    const std::wstring startup = GetSpecialFolderPath(kLocationStartUp);
    ASSERT_FALSE(startup.empty());
    EXPECT_TRUE(fs::is_directory(startup)) << "Startup folder does not exist";
    EXPECT_NE(startup.back(), L'\\');
    for (ShortcutLocation code : {kLocationDesktop, kLocationPrograms, kLocationStartMenu})
        EXPECT_FALSE(GetSpecialFolderPath(code).empty()) << "code " << code;
    EXPECT_NE(GetSpecialFolderPath(kLocationStartMenu), startup);
    EXPECT_EQ(GetSpecialFolderPath(4), L"");
    EXPECT_EQ(GetSpecialFolderPath(-1), L"");

    // A shortcut with no such folder, or a title that is no plain name, is not made.
    ShortcutRequest r{
        .location = 4, .title = L"Mivra", .target = ProgramFilePath(), .workingFolder = L"C:\\"};
    EXPECT_FALSE(CreateShellShortcut(r));
    r.location = kLocationStartUp;
    r.title = L"..\\Mivra";
    EXPECT_FALSE(CreateShellShortcut(r));
    EXPECT_FALSE(FileExists(L"\\Mivra.lnk"));
}

TEST(FileExists, SeesOnlyNormalFilesAndPatternsOrBrokenPathsMatchNothing) {
    TempFolder dir;
    MakeFile(dir / L"normal.lnk");
    MakeFile(dir / L"readonly.lnk", FILE_ATTRIBUTE_READONLY);
    MakeFile(dir / L"hidden.lnk", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(dir / L"system.lnk", FILE_ATTRIBUTE_SYSTEM);
    MakeFile(dir / (kWideName + L".lnk"));
    fs::create_directory(dir / L"folder.lnk");

    for (const std::wstring& path :
         {dir / L"normal.lnk", dir / L"readonly.lnk", dir / (kWideName + L".lnk")})
        EXPECT_TRUE(FileExists(path)) << path;
    // Not normal files, patterns and broken paths; cut short at the NUL, the
    // last but one would name the file that does exist.
    for (const std::wstring& path :
         {dir / L"hidden.lnk", dir / L"system.lnk", dir / L"folder.lnk", dir.Path(),
          dir / L"missing.lnk", dir / L"normal.lnk\\", std::wstring(), dir / L"*.lnk",
          dir / L"norma?.lnk", dir / L"normal<", dir / std::wstring(L"normal.lnk\0.bak", 15),
          dir / L"bad|name.lnk"})
        EXPECT_FALSE(FileExists(path)) << path;

    wchar_t letter = 0;
    for (wchar_t d = L'Y'; d >= L'D' && !letter; --d)
        if (!(GetLogicalDrives() & (1u << (d - L'A')))) letter = d;
    ASSERT_NE(letter, 0) << "no free drive letter";
    EXPECT_FALSE(FileExists(std::wstring(1, letter) + L":\\Mivra.lnk"));
}

TEST(StartupShortcut, TickWritesTheShortcutAndUntickRemovesIt) {
    const std::optional<ShortcutPaths> paths = LoadShortcutPaths();
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->LinkFileName, GetSpecialFolderPath(kLocationStartUp) + L"\\Mivra.lnk");
    EXPECT_EQ(paths->ExePath.substr(0, paths->ExeWork.size()), paths->ExeWork);
    if (FileExists(paths->LinkFileName)) GTEST_SKIP() << "a Mivra.lnk is already in Startup";

    Win32ShortcutFiles files;
    Win32Registry registry;
    const bool ticked = ApplyStartupChoice(true, *paths, files, registry);
    const std::optional<LinkContents> link = ReadLink(paths->LinkFileName);
    // Untick before any check can stop the test, so Startup is left clean.
    EXPECT_FALSE(ApplyStartupChoice(false, *paths, files, registry));
    EXPECT_FALSE(FileExists(paths->LinkFileName));
    EXPECT_FALSE(DeleteShortcutFile(paths->LinkFileName));
    EXPECT_FALSE(DeleteShortcutFile(L""));
    EXPECT_FALSE(DeleteShortcutFile(paths->LinkFileName + std::wstring(L"\0", 1)));

    ASSERT_TRUE(ticked);
    ASSERT_TRUE(link) << "the shell cannot read the shortcut back";
    // ExePath spells the extension ".exe"; the file system ignores its case.
    for (const std::wstring& target : {link->target, link->idListTarget})
        EXPECT_EQ(CompareStringOrdinal(target.c_str(), -1, ProgramFilePath().c_str(), -1, TRUE),
                  CSTR_EQUAL)
            << "target differs from the running program";
    // Each as the shell reads it, the show command and hot key also as stored.
    EXPECT_EQ(std::tuple(link->workingFolder, link->description, link->showCommand,
                         link->headerShowCommand, link->hotKey, link->headerHotKey, link->iconFile),
              std::tuple(paths->ExeWork, L"Mivra"s, SW_SHOWNORMAL, SW_SHOWNORMAL, 0, 0, L""s));
}

TEST(StartupShortcut, ADeletedStartupFolderKeepsTheBoxAndTickingMakesTheFolder) {
    const std::wstring startup = GetSpecialFolderPath(kLocationStartUp);
    ASSERT_FALSE(startup.empty());
    if (!RemoveDirectoryW(startup.c_str()))
        GTEST_SKIP() << "the Startup folder holds files; it is left alone";

    const std::optional<ShortcutPaths> paths = LoadShortcutPaths();
    const bool madeAtLoad = fs::is_directory(startup);
    bool ticked = false, folderMade = false;
    if (paths) {
        Win32ShortcutFiles files;
        Win32Registry registry;
        ticked = ApplyStartupChoice(true, *paths, files, registry);
        folderMade = fs::is_directory(startup);
        EXPECT_FALSE(ApplyStartupChoice(false, *paths, files, registry));
    }
    CreateDirectoryW(startup.c_str(), nullptr); // as it was, whatever happened

    ASSERT_TRUE(paths) << "no Startup folder, so no check box";
    EXPECT_EQ(paths->LinkFileName, startup + L"\\Mivra.lnk");
    EXPECT_FALSE(madeAtLoad) << "only a tick makes the folder";
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(folderMade);
}

// The shell's link class as it is when it cannot make an object, for this
// process in place of the shell's.
struct NoShellLinks final : IClassFactory {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        *out = id == IID_IUnknown || id == IID_IClassFactory ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** out) override {
        *out = nullptr;
        return E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

TEST(StartupShortcut, FoldersOutsideTheAnsiCodePageWork) {
    TempFolder dir;
    const std::wstring folder = dir / kWideName;
    fs::create_directory(folder);
    const std::wstring target = folder + L"\\Mivra.exe";
    MakeFile(target);

    const ShellLinkProperties props{target, folder, L"Mivra"};
    ASSERT_TRUE(SaveShellLink(folder + L"\\Mivra.lnk", props));
    EXPECT_TRUE(FileExists(folder + L"\\Mivra.lnk"));
    const std::optional<LinkContents> link = ReadLink(folder + L"\\Mivra.lnk");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->idListTarget, target);
    // Wine 8 keeps only an ANSI copy of the target path, though it writes both.
    EXPECT_TRUE(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") ||
                link->target == target);
    EXPECT_EQ(link->workingFolder, folder);

    // No folder to write into, no path, a path cut short by a NUL, or no
    // link object to be had: a failure, not a silent success.
    EXPECT_FALSE(SaveShellLink(dir / L"absent\\Mivra.lnk", props));
    EXPECT_FALSE(SaveShellLink(L"", props));
    EXPECT_FALSE(SaveShellLink(folder + std::wstring(L"\\x.lnk\0", 7), props));
    NoShellLinks none;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_ShellLink, &none, CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    const bool saved = SaveShellLink(folder + L"\\Other.lnk", props);
    CoRevokeClassObject(cookie);
    EXPECT_FALSE(saved);
    EXPECT_FALSE(FileExists(folder + L"\\Other.lnk"));
}

// The shell's off switch in the real registry: written in the view the 64-bit
// shell uses, read and removed by the program in the current user's key. Wine
// keeps the value but does not act on it, so this shows where the value is
// read and deleted, not what Windows then starts.
TEST(StartupShortcut, TheShellsOffStateIsReadAndRemovedInTheUsersKey) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kStartupApprovedKey, 0, nullptr, 0,
                              KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    // The user's own switch, if there is one, is put back afterwards.
    BYTE saved[1024];
    DWORD savedKind = 0, savedSize = sizeof saved;
    const LSTATUS had =
        RegQueryValueExA(key, kStartupApprovedName, nullptr, &savedKind, saved, &savedSize);
    if (had == ERROR_MORE_DATA) {
        RegCloseKey(key);
        GTEST_SKIP() << "the user's own switch is too long to put back";
    }
    constexpr const char* kOther = "MivraTest Other.lnk";
    const BYTE off[12] = {0x03, 0, 0, 0, 0x00, 0x80, 0x3E, 0xD5, 0xDE, 0xB1, 0xDA, 0x01};
    RegSetValueExA(key, kStartupApprovedName, 0, REG_BINARY, off, sizeof off);
    RegSetValueExA(key, kOther, 0, REG_BINARY, off, sizeof off);

    test::FakeShortcutFiles files;
    const ShortcutPaths paths = *ComputeShortcutPaths(L"C:\\Startup", L"C:\\Apps\\Mivra.exe");
    files.files.insert(paths.LinkFileName);
    Win32Registry registry;
    const bool atLoad = StartsAtLogOn(paths, files, registry);
    const bool ticked = ApplyStartupChoice(true, paths, files, registry);
    const LSTATUS ours =
        RegQueryValueExA(key, kStartupApprovedName, nullptr, nullptr, nullptr, nullptr);
    const LSTATUS other = RegQueryValueExA(key, kOther, nullptr, nullptr, nullptr, nullptr);

    RegDeleteValueA(key, kOther);
    if (had == ERROR_SUCCESS)
        RegSetValueExA(key, kStartupApprovedName, 0, savedKind, saved, savedSize);
    else
        RegDeleteValueA(key, kStartupApprovedName);
    RegCloseKey(key);
    if (disposition == REG_CREATED_NEW_KEY)
        RegDeleteKeyExA(HKEY_CURRENT_USER, kStartupApprovedKey, KEY_WOW64_64KEY, 0);

    EXPECT_FALSE(atLoad) << "the switch was not seen";
    EXPECT_TRUE(ticked);
    EXPECT_EQ(ours, ERROR_FILE_NOT_FOUND) << "the switch was not removed";
    EXPECT_EQ(other, ERROR_SUCCESS) << "another item's switch was touched";
}

// GetModuleFileNameW as it answers for a program deep in folders: with too
// little room it fills the buffer, cut short, and says so.
const std::wstring kDeepPath = L"C:\\" + std::wstring(300, L'd') + L"\\Mivra.exe";
DWORD WINAPI DeepModuleFileName(HMODULE, LPWSTR out, DWORD size) {
    const DWORD length = static_cast<DWORD>(kDeepPath.size());
    const DWORD copied = std::min(length, size - 1);
    kDeepPath.copy(out, copied);
    out[copied] = L'\0';
    if (copied < length) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    return length;
}

struct ModuleFileName {
    static DWORD WINAPI Failing(HMODULE, LPWSTR, DWORD) { return 0; }
    static DWORD WINAPI NeverFitting(HMODULE, LPWSTR, DWORD size) { return size; }
};

TEST(StartupShortcut, AProgramPathPastMaxPathReachesTheShortcutWhole) {
    const std::wstring path = ProgramFilePath(DeepModuleFileName);
    EXPECT_EQ(path, kDeepPath);
    // A call that fails, or one that fills any buffer at all: no path.
    EXPECT_EQ(ProgramFilePath(ModuleFileName::Failing), L"");
    EXPECT_EQ(ProgramFilePath(ModuleFileName::NeverFitting), L"");
    const auto paths = ComputeShortcutPaths(L"C:\\Startup", path);
    ASSERT_TRUE(paths);
    EXPECT_EQ(StartupShortcutRequest(*paths).target, kDeepPath);
}

// Last: the shell's "open" may leave threads of its own behind.
std::vector<std::string> traced;
TEST(ShellLinks, AnOpenTheShellCannotDoIsTraced) {
    traceSink = [](const char* what, const char* subject, long code) {
        traced.push_back(std::string(what) + " " + subject + " " + std::to_string(code));
    };
    TempFolder dir;
    ShellLinks().Open(dir / L"missing.mivra-none");
    traceSink = nullptr;
    EXPECT_EQ(traced, std::vector<std::string>{"ShellExecuteW a link of the options window 2"});
}

} // namespace
} // namespace mivra
