#include "settings/shortcuts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_shortcut_files.h"

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

TEST(LinkFilePath, ComposesFolderAndTitle) {
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"Mivra"), L"C:\\Startup\\Mivra.lnk");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup\\  ", L"Mivra"), L"C:\\Startup\\Mivra.lnk");
    EXPECT_EQ(LinkFilePath(L"D:\\\x65e5\x672c", L"Mivra"), L"D:\\\x65e5\x672c\\Mivra.lnk");
}

TEST(LinkFilePath, RefusesWhenThereIsNoPlaceForTheFile) {
    // No folder must not become "\Mivra.lnk" at the root of the current drive.
    EXPECT_EQ(LinkFilePath(L"", L"Mivra"), L"");
    EXPECT_EQ(LinkFilePath(L"  ", L"Mivra"), L"");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L""), L"");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"..\\Mivra"), L"");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"C:Mivra"), L"");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"Miv*"), L"");
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

using test::FakeShortcutFiles;

const ShortcutPaths kPaths = *ComputeShortcutPaths(L"C:\\Startup", L"C:\\Mivra\\Mivra.exe");

TEST(ApplyStartupChoice, TickCreatesTheProgramsOneShortcut) {
    FakeShortcutFiles fs;
    EXPECT_TRUE(ApplyStartupChoice(true, kPaths, fs));
    ASSERT_EQ(fs.created.size(), 1u);
    const ShortcutRequest& r = fs.created[0];
    EXPECT_EQ(r.location, kLocationStartUp);
    EXPECT_EQ(r.title, L"Mivra");
    EXPECT_EQ(r.target, L"C:\\Mivra\\Mivra.exe");
    EXPECT_EQ(r.workingFolder, L"C:\\Mivra\\");
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
    fs.createWorks = fs.removeWorks = false;
    EXPECT_FALSE(ApplyStartupChoice(true, kPaths, fs));
    fs.files.insert(L"C:\\Startup\\Mivra.lnk");
    EXPECT_TRUE(ApplyStartupChoice(false, kPaths, fs));
}

} // namespace
} // namespace mivra
