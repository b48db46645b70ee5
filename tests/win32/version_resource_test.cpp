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

// The version block through the version API.
class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& path) {
        DWORD ignored = 0;
        block_.resize(GetFileVersionInfoSizeW(path.c_str(), &ignored));
        if (!block_.empty() &&
            !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block_.size()), block_.data()))
            block_.clear();
    }

    bool Ok() const { return !block_.empty(); }
    // The value at a sub-block path, and its length in the API's units.
    const void* Query(const wchar_t* sub, UINT* len = nullptr) {
        void* p = nullptr;
        UINT n = 0;
        if (!VerQueryValueW(block_.data(), sub, &p, &n)) return nullptr;
        if (len) *len = n;
        return p;
    }
    std::wstring Text(const wchar_t* name) {
        const std::wstring sub = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        UINT n = 0;
        const auto* p = static_cast<const wchar_t*>(Query(sub.c_str(), &n));
        return p ? std::wstring(p, wcsnlen(p, n)) : L"<missing>";
    }

private:
    std::vector<BYTE> block_;
};

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
    const HGLOBAL g = LoadResource(m, r);
    const auto* p = static_cast<const BYTE*>(LockResource(g));
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
    VersionInfo v(exe);
    ASSERT_TRUE(v.Ok());

    UINT n = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(v.Query(L"\\", &n));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(n, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 3)); // 3.0
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(9, 0)); // .0.9
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(9, 0));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    const auto* lang = static_cast<const WORD*>(v.Query(L"\\VarFileInfo\\Translation", &n));
    ASSERT_NE(lang, nullptr);
    ASSERT_EQ(n, 2 * sizeof(WORD)) << "exactly one language";
    EXPECT_EQ(lang[0], 0x0409);
    EXPECT_EQ(lang[1], 1200);

    EXPECT_EQ(v.Text(L"FileVersion"), L"3.00.0009");
    EXPECT_EQ(v.Text(L"ProductVersion"), L"3.00.0009");
    EXPECT_EQ(v.Text(L"ProductName"), L"Mivra");
    EXPECT_EQ(v.Text(L"InternalName"), L"Mivra");
    EXPECT_EQ(v.Text(L"OriginalFilename"), L"Mivra.exe");
    EXPECT_EQ(v.Text(L"CompanyName"), L"Brelstad Software");

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
