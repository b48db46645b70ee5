// The shipped 32-bit program, read back from the built file the way Windows
// reads it: its version block through the version API, and the icons and the
// manifest it must carry inside.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "resources/resource.h"

namespace mivra {
namespace {

// build/win32/Mivra.exe, found from this test's own folder build/win64;
// MIVRA_RELEASE_EXE names another file.
std::wstring ReleaseExe() {
    if (const wchar_t* v = _wgetenv(L"MIVRA_RELEASE_EXE")) return v;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring p(self);
    for (int up = 0; up < 2; ++up)
        p.erase(p.find_last_of(L"\\/"));
    return p + L"\\win32\\Mivra.exe";
}

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The first image of an icon group: its directory entry and its bytes.
struct GroupIcon {
    GroupEntry entry{};
    std::vector<BYTE> image;
};

std::vector<BYTE> Resource(HMODULE m, LPCWSTR name, LPCWSTR type) {
    const HRSRC r = FindResourceW(m, name, type);
    if (!r) return {};
    const auto* p = static_cast<const BYTE*>(LockResource(LoadResource(m, r)));
    return p ? std::vector<BYTE>(p, p + SizeofResource(m, r)) : std::vector<BYTE>{};
}

GroupIcon FirstIcon(HMODULE m, int id) {
    GroupIcon icon;
    const auto group = Resource(m, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    if (group.size() < 6 + sizeof(GroupEntry)) return icon;
    std::memcpy(&icon.entry, group.data() + 6, sizeof(icon.entry));
    icon.image = Resource(m, MAKEINTRESOURCEW(icon.entry.id), RT_ICON);
    return icon;
}

TEST(ReleaseFile, NamesMivra3000009ByBrelstadInUsEnglishAndCarriesItsIconsAndManifest) {
    const std::wstring exe = ReleaseExe();
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no 32-bit build to read; build the win32 preset";
    // The version block through the version API: a value at a sub-block
    // path, and its length in the API's units.
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    UINT n = 0;
    const auto query = [&](const std::wstring& sub) {
        void* p = nullptr;
        return VerQueryValueW(block.data(), sub.c_str(), &p, &n) ? p : nullptr;
    };
    const auto info = [&](const wchar_t* name) {
        const auto* p = static_cast<const wchar_t*>(
            query(L"\\StringFileInfo\\040904B0\\" + std::wstring(name)));
        return p ? std::wstring(p, wcsnlen(p, n)) : L"<missing>";
    };

    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(n, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    // 3.0.0.9, the file's and the product's.
    EXPECT_EQ(std::tuple(fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                         fixed->dwProductVersionLS),
              std::tuple(MAKELONG(0, 3), MAKELONG(9, 0), MAKELONG(0, 3), MAKELONG(9, 0)));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    const auto* lang = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation"));
    ASSERT_NE(lang, nullptr);
    ASSERT_EQ(n, 2 * sizeof(WORD)) << "exactly one language";
    EXPECT_EQ(std::pair(lang[0], lang[1]), (std::pair<WORD, WORD>(0x0409, 1200)));

    EXPECT_EQ(info(L"FileVersion"), L"3.00.0009");
    EXPECT_EQ(info(L"ProductVersion"), L"3.00.0009");
    EXPECT_EQ(info(L"ProductName"), L"Mivra");
    EXPECT_EQ(info(L"InternalName"), L"Mivra");
    EXPECT_EQ(info(L"OriginalFilename"), L"Mivra.exe");
    EXPECT_EQ(info(L"CompanyName"), L"Brelstad Software");

    // The icons and the manifest inside.
    const HMODULE m = LoadLibraryExW(exe.c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(m, nullptr) << GetLastError();

    // The program's own icon is the 32 x 32, 16-colour page of day 31.
    const GroupIcon app = FirstIcon(m, IDI_APP);
    EXPECT_EQ(std::tuple(app.entry.width, app.entry.height, app.entry.colors),
              std::tuple(32, 32, 16));
    EXPECT_FALSE(app.image.empty());
    std::vector<std::vector<BYTE>> days;
    for (int d = 1; d <= 31; ++d) {
        const GroupIcon day = FirstIcon(m, IDI_DAY_FIRST + d - 1);
        EXPECT_FALSE(day.image.empty()) << "day " << d;
        EXPECT_EQ(day.entry.width, 32) << "day " << d;
        days.push_back(day.image);
    }
    EXPECT_EQ(app.image, days[30]);
    EXPECT_NE(days[0], days[30]);

    const auto manifest = Resource(m, MAKEINTRESOURCEW(1), RT_MANIFEST);
    const std::string text(manifest.begin(), manifest.end());
    EXPECT_NE(text.find("assemblyIdentity"), std::string::npos);
    FreeLibrary(m);
}

} // namespace
} // namespace mivra
