#include "settings/shortcuts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace mivra {
namespace {

TEST(WithTrailingBackslash, TrimsBlanksAndEndsInExactlyOneBackslash) {
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Users\\Ann\\Startup  "), L"C:\\Users\\Ann\\Startup\\");
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Users\\Ann\\Startup"), L"C:\\Users\\Ann\\Startup\\");
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Users\\Ann\\Startup\\"), L"C:\\Users\\Ann\\Startup\\");
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Ordner\\\x0417\x0430\x043f\x0443\x0441\x043a \\ "),
              L"C:\\Ordner\\\x0417\x0430\x043f\x0443\x0441\x043a \\");
    EXPECT_EQ(WithTrailingBackslash(L""), L"\\");
    EXPECT_EQ(WithTrailingBackslash(L"   "), L"\\");
}

TEST(LinkFilePath, ComposesFolderSubFolderAndTitle) {
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"", L"Mivra"), L"C:\\Startup\\Mivra.lnk");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"Tools", L"Mivra"), L"C:\\Startup\\Tools\\Mivra.lnk");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup\\", L"Tools\\", L"Mivra"),
              L"C:\\Startup\\Tools\\Mivra.lnk");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"  ", L"Mivra"), L"C:\\Startup\\Mivra.lnk");
    EXPECT_EQ(LinkFilePath(L"D:\\\x65e5\x672c", L"\x0422\x0435\x0441\x0442", L"Mivra"),
              L"D:\\\x65e5\x672c\\\x0422\x0435\x0441\x0442\\Mivra.lnk");
}

TEST(LinkFilePath, RefusesWhenThereIsNoPlaceForTheFile) {
    // No folder must not become "\Mivra.lnk" at the root of the current drive.
    EXPECT_EQ(LinkFilePath(L"", L"", L"Mivra"), L"");
    EXPECT_EQ(LinkFilePath(L"  ", L"Tools", L"Mivra"), L"");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"", L""), L"");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"", L"..\\Mivra"), L"");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"", L"C:Mivra"), L"");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"", L"Miv*"), L"");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"T?ols", L"Mivra"), L"");
}

TEST(HasWildcards, FindsPatternCharactersButNotTheLongPathPrefix) {
    EXPECT_FALSE(HasWildcards(L"C:\\Startup\\Mivra.lnk"));
    EXPECT_FALSE(HasWildcards(L"\\\\?\\C:\\Startup\\Mivra.lnk"));
    EXPECT_TRUE(HasWildcards(L"C:\\Startup\\*.lnk"));
    EXPECT_TRUE(HasWildcards(L"C:\\Startup\\Mivr?.lnk"));
    EXPECT_TRUE(HasWildcards(L"\\\\?\\C:\\Startup\\Mivr?.lnk"));
    EXPECT_TRUE(HasWildcards(L"C:\\Startup\\Mivra<"));
    EXPECT_TRUE(HasWildcards(L"C:\\Startup\\Mivra\".lnk"));
}

TEST(ParseHotKey, TurnsKeyNamesIntoTheShellValue) {
    EXPECT_EQ(ParseHotKey(L""), 0);
    EXPECT_EQ(ParseHotKey(L"  "), 0);
    EXPECT_EQ(ParseHotKey(L"M"), 0x004D);
    EXPECT_EQ(ParseHotKey(L"Ctrl+Alt+M"), 0x064D);
    EXPECT_EQ(ParseHotKey(L"alt + shift + 7"), 0x0537);
    EXPECT_EQ(ParseHotKey(L"CONTROL+F12"), 0x027B);
    EXPECT_EQ(ParseHotKey(L"Shift+F1"), 0x0170);
    EXPECT_EQ(ParseHotKey(L"Ctrl+F"), 0x0246);

    EXPECT_EQ(ParseHotKey(L"Ctrl+Alt"), std::nullopt);
    EXPECT_EQ(ParseHotKey(L"Ctrl+"), std::nullopt);
    EXPECT_EQ(ParseHotKey(L"M+Ctrl"), std::nullopt);
    EXPECT_EQ(ParseHotKey(L"Ctrl+MM"), std::nullopt);
    EXPECT_EQ(ParseHotKey(L"F25"), std::nullopt);
    EXPECT_EQ(ParseHotKey(L"F0"), std::nullopt);
    EXPECT_EQ(ParseHotKey(L"Win+M"), std::nullopt);
}

TEST(ParseIconLocation, SplitsFileAndIndex) {
    const IconLocation plain = ParseIconLocation(L"C:\\Mivra\\Mivra.exe");
    EXPECT_EQ(plain.file, L"C:\\Mivra\\Mivra.exe");
    EXPECT_EQ(plain.index, 0);

    const IconLocation indexed = ParseIconLocation(L"C:\\Icons\\set.dll, 12");
    EXPECT_EQ(indexed.file, L"C:\\Icons\\set.dll");
    EXPECT_EQ(indexed.index, 12);

    const IconLocation resource = ParseIconLocation(L"C:\\Mivra\\Mivra.exe,-101");
    EXPECT_EQ(resource.file, L"C:\\Mivra\\Mivra.exe");
    EXPECT_EQ(resource.index, -101);

    // A comma that belongs to the file name stays in it.
    const IconLocation comma = ParseIconLocation(L"C:\\a,b\\icon.ico");
    EXPECT_EQ(comma.file, L"C:\\a,b\\icon.ico");
    EXPECT_EQ(comma.index, 0);
}

TEST(DecideShortcutAction, ActsOnlyWhenBoxAndFileDisagree) {
    EXPECT_EQ(DecideShortcutAction(true, false), ShortcutAction::Create);
    EXPECT_EQ(DecideShortcutAction(false, true), ShortcutAction::Delete);
    EXPECT_EQ(DecideShortcutAction(true, true), ShortcutAction::Nothing);
    EXPECT_EQ(DecideShortcutAction(false, false), ShortcutAction::Nothing);
}

TEST(ComputeShortcutPaths, FollowsTheLoadSteps) {
    const auto paths = ComputeShortcutPaths(L"C:\\Users\\Ann\\Start Menu\\Programs\\Startup  ",
                                            L"C:\\Program Files\\Mivra 2000\\Mivra.exe");
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->StartupFolderPath, L"C:\\Users\\Ann\\Start Menu\\Programs\\Startup\\");
    EXPECT_EQ(paths->ExeWork, L"C:\\Program Files\\Mivra 2000\\");
    EXPECT_EQ(paths->ExePath, L"C:\\Program Files\\Mivra 2000\\Mivra.exe");
    EXPECT_EQ(paths->LinkFileName, L"C:\\Users\\Ann\\Start Menu\\Programs\\Startup\\Mivra.lnk");

    // Already ending in a backslash: exactly one stays.
    const auto slash = ComputeShortcutPaths(L"C:\\Startup\\", L"C:\\Tools\\Mivra.exe");
    ASSERT_TRUE(slash);
    EXPECT_EQ(slash->LinkFileName, L"C:\\Startup\\Mivra.lnk");
}

TEST(ComputeShortcutPaths, NamesTheProgramByItsStemPlusExe) {
    // The extension is always written ".exe"; the file system ignores case,
    // so "MIVRA.exe" is the running "MIVRA.EXE".
    const auto upper = ComputeShortcutPaths(L"C:\\Startup", L"C:\\MIVRA\\MIVRA.EXE");
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->ExePath, L"C:\\MIVRA\\MIVRA.exe");

    const auto dotted = ComputeShortcutPaths(L"C:\\Startup", L"C:\\x\\Mivra.v3.exe");
    ASSERT_TRUE(dotted);
    EXPECT_EQ(dotted->ExePath, L"C:\\x\\Mivra.v3.exe");

    const auto root = ComputeShortcutPaths(L"C:\\Startup", L"D:\\Mivra.exe");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->ExeWork, L"D:\\");
    EXPECT_EQ(root->ExePath, L"D:\\Mivra.exe");

    const auto wide = ComputeShortcutPaths(L"C:\\\x0417\x0430\x043f\x0443\x0441\x043a",
                                           L"C:\\\x65e5\x672c\\Mivra.exe");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->ExePath, L"C:\\\x65e5\x672c\\Mivra.exe");
    EXPECT_EQ(wide->LinkFileName, L"C:\\\x0417\x0430\x043f\x0443\x0441\x043a\\Mivra.lnk");
}

TEST(ComputeShortcutPaths, NoStartupFolderOrNoProgramMeansNoShortcut) {
    EXPECT_FALSE(ComputeShortcutPaths(L"", L"C:\\Mivra\\Mivra.exe"));
    EXPECT_FALSE(ComputeShortcutPaths(L"   ", L"C:\\Mivra\\Mivra.exe"));
    EXPECT_FALSE(ComputeShortcutPaths(L"C:\\Startup", L""));
    EXPECT_FALSE(ComputeShortcutPaths(L"C:\\Startup", L"Mivra.exe"));
    EXPECT_FALSE(ComputeShortcutPaths(L"C:\\Startup", L"C:\\Mivra\\"));
}

// Files by path; records every change the check box asks for.
class FakeShortcutFiles : public ShortcutFiles {
public:
    std::set<std::wstring> files;
    std::vector<ShortcutRequest> created;
    std::vector<std::wstring> removed;
    bool failWrites = false;

    bool FileExists(const std::wstring& path) override { return files.contains(path); }
    bool CreateShortcut(const ShortcutRequest& r) override {
        created.push_back(r);
        if (failWrites) return false;
        files.insert(LinkFilePath(L"C:\\Startup", r.subFolder, r.title));
        return true;
    }
    bool RemoveFile(const std::wstring& path) override {
        removed.push_back(path);
        return !failWrites && files.erase(path) == 1;
    }
};

const ShortcutPaths kPaths = *ComputeShortcutPaths(L"C:\\Startup", L"C:\\Mivra\\Mivra.exe");

TEST(ApplyStartupChoice, TickCreatesTheProgramsOneShortcut) {
    FakeShortcutFiles fs;
    EXPECT_TRUE(ApplyStartupChoice(true, kPaths, fs));
    ASSERT_EQ(fs.created.size(), 1u);
    const ShortcutRequest& r = fs.created[0];
    EXPECT_EQ(r.location, kLocationStartUp);
    EXPECT_EQ(r.title, L"Mivra");
    EXPECT_EQ(r.target, L"C:\\Mivra\\Mivra.exe");
    EXPECT_EQ(r.hotKey, L"");
    EXPECT_EQ(r.iconLocation, L"");
    EXPECT_EQ(r.workingFolder, L"C:\\Mivra\\");
    EXPECT_EQ(r.subFolder, L"");
    EXPECT_EQ(r.windowStyle, 1);
    EXPECT_TRUE(fs.files.contains(L"C:\\Startup\\Mivra.lnk"));
    EXPECT_TRUE(fs.removed.empty());
}

TEST(ApplyStartupChoice, UntickDeletesAndMatchingStatesTouchNothing) {
    FakeShortcutFiles fs;
    fs.files.insert(L"C:\\Startup\\Mivra.lnk");
    EXPECT_TRUE(ApplyStartupChoice(true, kPaths, fs)); // existing file is not rewritten
    EXPECT_TRUE(fs.created.empty());

    EXPECT_FALSE(ApplyStartupChoice(false, kPaths, fs));
    EXPECT_EQ(fs.removed, std::vector<std::wstring>{L"C:\\Startup\\Mivra.lnk"});

    EXPECT_FALSE(ApplyStartupChoice(false, kPaths, fs)); // already gone by other means
    EXPECT_EQ(fs.removed.size(), 1u);
    EXPECT_TRUE(fs.created.empty());
}

TEST(ApplyStartupChoice, ReportsTheFileAsItIsWhenChangingItFails) {
    FakeShortcutFiles fs;
    fs.failWrites = true;
    EXPECT_FALSE(ApplyStartupChoice(true, kPaths, fs));
    fs.files.insert(L"C:\\Startup\\Mivra.lnk");
    EXPECT_TRUE(ApplyStartupChoice(false, kPaths, fs));
}

} // namespace
} // namespace mivra
