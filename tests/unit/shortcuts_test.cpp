#include "settings/shortcuts.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/support/fake_registry.h"
#include "tests/support/fake_shortcut_files.h"

namespace mivra {
namespace {

using namespace std::literals;

TEST(ShortcutPaths, FolderEndsInOneBackslashTheLinkNeedsAPlainTitleAndTheProgramIsItsStemPlusExe) {
    for (const wchar_t* folder :
         {L"C:\\Users\\Ann\\Startup  ", L"C:\\Users\\Ann\\Startup", L"C:\\Users\\Ann\\Startup\\"})
        EXPECT_EQ(WithTrailingBackslash(folder), L"C:\\Users\\Ann\\Startup\\") << folder;
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Ordner\\\x0417\x0430\x043f\x0443\x0441\x043a \\ "),
              L"C:\\Ordner\\\x0417\x0430\x043f\x0443\x0441\x043a \\");
    // No folder must not become "\Mivra.lnk" at the root of the current drive.
    for (const wchar_t* blank : {L"", L"  ", L"   "}) {
        EXPECT_EQ(WithTrailingBackslash(blank), L"\\") << blank;
        EXPECT_EQ(LinkFilePath(blank, L"Mivra"), L"") << blank;
        EXPECT_FALSE(ComputeShortcutPaths(blank, L"C:\\Mivra\\Mivra.exe")) << blank;
    }

    EXPECT_EQ(LinkFilePath(L"C:\\Startup", L"Mivra"), L"C:\\Startup\\Mivra.lnk");
    EXPECT_EQ(LinkFilePath(L"C:\\Startup\\  ", L"Mivra"), L"C:\\Startup\\Mivra.lnk");
    EXPECT_EQ(LinkFilePath(L"D:\\\x65e5\x672c", L"Mivra"), L"D:\\\x65e5\x672c\\Mivra.lnk");
    for (const wchar_t* title : {L"", L"..\\Mivra", L"C:Mivra", L"Miv*"})
        EXPECT_EQ(LinkFilePath(L"C:\\Startup", title), L"") << title;

    // Pattern characters are found, but not in the long-path prefix.
    EXPECT_FALSE(HasWildcards(L"C:\\Startup\\Mivra.lnk"));
    EXPECT_FALSE(HasWildcards(L"\\\\?\\C:\\Startup\\Mivra.lnk"));
    for (const wchar_t* path :
         {L"C:\\Startup\\*.lnk", L"C:\\Startup\\Mivr?.lnk", L"\\\\?\\C:\\Startup\\Mivr?.lnk",
          L"C:\\Startup\\Mivra<", L"C:\\Startup\\Mivra\".lnk"})
        EXPECT_TRUE(HasWildcards(path)) << path;

    // Only a box and a file that disagree call for a change.
    EXPECT_EQ(DecideShortcutAction(true, false), ShortcutAction::Create);
    EXPECT_EQ(DecideShortcutAction(false, true), ShortcutAction::Delete);
    EXPECT_EQ(DecideShortcutAction(true, true), ShortcutAction::Nothing);
    EXPECT_EQ(DecideShortcutAction(false, false), ShortcutAction::Nothing);

    // The paths follow the load steps and name the program by its stem plus ".exe".
    const auto paths = ComputeShortcutPaths(L"C:\\Users\\Ann\\Start Menu\\Programs\\Startup  ",
                                            L"C:\\Program Files\\Mivra 2000\\Mivra.exe");
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->StartupFolderPath, L"C:\\Users\\Ann\\Start Menu\\Programs\\Startup\\");
    EXPECT_EQ(paths->ExeWork, L"C:\\Program Files\\Mivra 2000\\");
    EXPECT_EQ(paths->ExePath, L"C:\\Program Files\\Mivra 2000\\Mivra.exe");
    EXPECT_EQ(paths->LinkFileName, L"C:\\Users\\Ann\\Start Menu\\Programs\\Startup\\Mivra.lnk");

    // Already ending in a backslash: exactly one stays. The extension is
    // always written ".exe"; the file system ignores case, so "MIVRA.exe" is
    // the running "MIVRA.EXE". A forward slash parts folders too.
    const struct {
        const wchar_t *folder, *program, *work, *exe, *link;
    } cases[] = {
        {L"C:\\Startup\\", L"C:\\Tools\\Mivra.exe", L"C:\\Tools\\", L"C:\\Tools\\Mivra.exe",
         L"C:\\Startup\\Mivra.lnk"},
        {L"C:\\Startup", L"C:\\MIVRA\\MIVRA.EXE", L"C:\\MIVRA\\", L"C:\\MIVRA\\MIVRA.exe",
         L"C:\\Startup\\Mivra.lnk"},
        {L"C:\\Startup", L"C:\\x\\Mivra.v3.exe", L"C:\\x\\", L"C:\\x\\Mivra.v3.exe",
         L"C:\\Startup\\Mivra.lnk"},
        {L"C:\\Startup", L"D:\\Mivra.exe", L"D:\\", L"D:\\Mivra.exe", L"C:\\Startup\\Mivra.lnk"},
        {L"C:\\Startup", L"D:/Apps/Mivra.exe", L"D:/Apps\\", L"D:/Apps\\Mivra.exe",
         L"C:\\Startup\\Mivra.lnk"},
        {L"C:\\\x0417\x0430\x043f\x0443\x0441\x043a", L"C:\\\x65e5\x672c\\Mivra.exe",
         L"C:\\\x65e5\x672c\\", L"C:\\\x65e5\x672c\\Mivra.exe",
         L"C:\\\x0417\x0430\x043f\x0443\x0441\x043a\\Mivra.lnk"},
    };
    for (const auto& c : cases) {
        const auto p = ComputeShortcutPaths(c.folder, c.program);
        ASSERT_TRUE(p) << c.program;
        EXPECT_EQ(std::tuple(p->ExeWork, p->ExePath, p->LinkFileName),
                  std::tuple(c.work, c.exe, c.link));
    }

    // No program: no shortcut.
    for (const wchar_t* program : {L"", L"Mivra.exe", L"C:\\Mivra\\"})
        EXPECT_FALSE(ComputeShortcutPaths(L"C:\\Startup", program)) << program;
}

using test::kApprovedKey;
using test::OffState;
using test::SwitchOffInShell;

const ShortcutPaths kPaths = *ComputeShortcutPaths(L"C:\\Startup", L"C:\\Mivra\\Mivra.exe");

class ApplyStartupChoice : public ::testing::Test {
protected:
    bool Tick(bool ticked) { return mivra::ApplyStartupChoice(ticked, kPaths, fs, reg); }

    test::FakeShortcutFiles fs;
    FakeRegistry reg;
};

TEST_F(ApplyStartupChoice, TickCreatesTheOneShortcutUntickDeletesItAndFailuresShowAsTheyAre) {
    EXPECT_TRUE(Tick(true));
    ASSERT_EQ(fs.created.size(), 1u);
    const ShortcutRequest& r = fs.created[0];
    EXPECT_EQ(
        std::tuple(r.location, r.title, r.target, r.workingFolder, r.windowStyle),
        std::tuple(kLocationStartUp, L"Mivra"s, L"C:\\Mivra\\Mivra.exe"s, L"C:\\Mivra\\"s, 1));
    EXPECT_TRUE(fs.files.contains(L"C:\\Startup\\Mivra.lnk"));
    EXPECT_TRUE(fs.removed.empty());

    EXPECT_TRUE(Tick(true)); // the existing file is not rewritten
    EXPECT_EQ(fs.created.size(), 1u);
    EXPECT_FALSE(Tick(false));
    EXPECT_EQ(fs.removed, std::vector<std::wstring>{L"C:\\Startup\\Mivra.lnk"});
    EXPECT_FALSE(Tick(false)); // already gone by other means
    EXPECT_EQ(std::tuple(fs.removed.size(), fs.created.size()), std::tuple(1u, 1u));

    // Changing the file fails: the result says how it is.
    fs.createWorks = fs.removeWorks = false;
    EXPECT_FALSE(Tick(true));
    fs.files.insert(L"C:\\Startup\\Mivra.lnk");
    EXPECT_TRUE(Tick(false));
}

TEST_F(ApplyStartupChoice, OnlyABinaryValueWithAnOddFirstByteSwitchesTheShortcutOff) {
    struct Case {
        const char* what;
        std::uint32_t kind;
        std::vector<std::uint8_t> data;
        bool off;
    };
    std::vector<std::uint8_t> longOff(256, 0), tooLong(257, 0);
    longOff[0] = tooLong[0] = 0x03;
    const std::vector<Case> cases = {
        {"switched off", kRegBinary, OffState(0x03), true},
        {"switched off, other status", kRegBinary, OffState(0x07), true},
        {"one odd byte", kRegBinary, {0x01}, true},
        {"longer than the shell writes", kRegBinary, longOff, true},
        {"too long to be the shell's", kRegBinary, tooLong, false},
        {"switched on", kRegBinary, {0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
        {"on, other status", kRegBinary, OffState(0x06), false},
        {"all zero", kRegBinary, std::vector<std::uint8_t>(12, 0), false},
        {"empty", kRegBinary, {}, false},
        {"a number", kRegDword, {0x03, 0, 0, 0}, false},
        {"a text", kRegSz, {'3'}, false},
    };
    fs.files.insert(kPaths.LinkFileName);
    for (const Case& c : cases) {
        FakeRegistry one;
        one.PutValue(kApprovedKey, "mivra.LNK", c.kind, c.data);
        EXPECT_EQ(StartsAtLogOn(kPaths, fs, one), !c.off) << c.what;
        EXPECT_EQ(one.OpenHandles(), 0) << c.what;
        EXPECT_TRUE(one.CallsOf(FakeRegistry::Op::Set).empty()) << c.what;
        EXPECT_TRUE(one.CallsOf(FakeRegistry::Op::Delete).empty()) << c.what;
    }

    // Nothing in the user's key: no key, another item's value, the same key
    // under the whole machine (that one is for the common Startup folder).
    EXPECT_TRUE(StartsAtLogOn(kPaths, fs, reg));
    SwitchOffInShell(reg, "Other.lnk");
    reg.PutValue(kStartupApprovedKey, kStartupApprovedName, kRegBinary, OffState());
    EXPECT_TRUE(StartsAtLogOn(kPaths, fs, reg));

    // Switched off but the file is gone: nothing starts either way.
    SwitchOffInShell(reg);
    EXPECT_FALSE(StartsAtLogOn(kPaths, fs, reg));
    fs.files.clear();
    EXPECT_FALSE(StartsAtLogOn(kPaths, fs, reg));
}

TEST_F(ApplyStartupChoice, TickSwitchesTheShortcutOnAgainAndMakesItOnlyWhenMissing) {
    fs.files.insert(kPaths.LinkFileName);
    SwitchOffInShell(reg);
    SwitchOffInShell(reg, "Other.lnk");
    reg.PutValue(kStartupApprovedKey, kStartupApprovedName, kRegBinary, OffState());

    // Present and switched off: switched on, the file left as it is.
    EXPECT_TRUE(Tick(true));
    EXPECT_FALSE(reg.Find(kApprovedKey, kStartupApprovedName));
    EXPECT_TRUE(fs.created.empty());
    EXPECT_EQ(reg.Find(kApprovedKey, "Other.lnk")->data, OffState()) << "another item's state";
    EXPECT_TRUE(reg.Find(kStartupApprovedKey, kStartupApprovedName)) << "the machine's key";
    EXPECT_TRUE(reg.CallsOf(FakeRegistry::Op::Set).empty());
    EXPECT_EQ(reg.CallsOf(FakeRegistry::Op::Delete).size(), 1u);

    // Clearing deletes the file only; the shell's state stays as it is.
    SwitchOffInShell(reg);
    EXPECT_FALSE(Tick(false));
    EXPECT_TRUE(fs.files.empty());
    EXPECT_TRUE(reg.Find(kApprovedKey, kStartupApprovedName));

    // A stale off state would keep a new file from running: ticking clears
    // it and makes the file.
    EXPECT_TRUE(Tick(true));
    EXPECT_EQ(fs.created.size(), 1u);
    EXPECT_FALSE(reg.Find(kApprovedKey, kStartupApprovedName));

    // A value that marks the item on is the shell's and stays.
    const std::vector<std::uint8_t> on = {0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    reg.PutValue(kApprovedKey, kStartupApprovedName, kRegBinary, on);
    EXPECT_TRUE(Tick(true));
    EXPECT_EQ(reg.Find(kApprovedKey, kStartupApprovedName)->data, on);
    EXPECT_EQ(reg.CallsOf(FakeRegistry::Op::Delete).size(), 2u);
    EXPECT_EQ(reg.OpenHandles(), 0);

    // An off state that cannot be removed leaves the box clear.
    reg.ProtectKey(kApprovedKey);
    SwitchOffInShell(reg);
    EXPECT_FALSE(Tick(true));
    EXPECT_TRUE(reg.Find(kApprovedKey, kStartupApprovedName));
    EXPECT_EQ(reg.OpenHandles(), 0);
}

} // namespace
} // namespace mivra
