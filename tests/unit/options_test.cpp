#include "settings/options.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "settings/settings.h"
#include "tests/support/fake_links.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_shortcut_files.h"

namespace mivra {
namespace {

using namespace std::literals;

// Leaves a scripted result in PickedColor, as the real picker does on close.
struct ScriptedPicker : ColorPicker {
    explicit ScriptedPicker(SettingsState& s) : state(s) {}
    void ShowModal() override {
        ++shown;
        state.PickedColor = result;
    }
    SettingsState& state;
    std::int32_t result = -1;
    int shown = 0;
};

// Notes each time the calendar is told of a change (it applies the colours,
// then refreshes), with the number of registry writes made before it.
struct RecordingScreen : SettingsListener {
    explicit RecordingScreen(const FakeRegistry& r) : registry(r) {}
    void SettingsChanged() override {
        log.push_back("changed@" + std::to_string(registry.CallsOf(FakeRegistry::Op::Set).size()));
    }
    const FakeRegistry& registry;
    std::vector<std::string> log;
};

using test::FakeShortcutFiles;

// Where the Startup folder of the paths below puts the shortcut.
const std::wstring kLink = L"C:\\Users\\Ann\\Startup\\Mivra.lnk";

struct OptionsActions : ::testing::Test {
    OptionsActions() {
        registry.AddKey(kSettingsKeyPath);
        files.startupFolder = L"C:\\Users\\Ann\\Startup";
        logic.Attach(&screen);
    }
    // Labels first, then calendar.
    std::pair<Color, Color> Colours() const { return {state.LabelColor, state.CalendarColor}; }
    std::vector<std::string> Names(FakeRegistry::Op op) const {
        std::vector<std::string> out;
        for (const auto& c : registry.CallsOf(op))
            out.push_back(c.name);
        return out;
    }

    SettingsState state{
        {kPalette[4], kPalette[7]}, kDefaultSettings.LabelColor, kDefaultSettings.CalendarColor};
    FakeRegistry registry;
    ScriptedPicker picker{state};
    RecordingScreen screen{registry};
    FakeShortcutFiles files;
    test::RecordingLinks links;
    OptionsLogic logic{{state, registry, picker, files, links}};
};

TEST_F(OptionsActions, AdjustCalendarColorStoresThePickThenRecoloursAndRefreshes) {
    picker.result = static_cast<std::int32_t>(kPalette[9]);
    logic.OnAdjustCalendarColor();
    EXPECT_EQ(picker.shown, 1);
    EXPECT_EQ(Colours(), std::pair(kPalette[4], kPalette[9]));
    EXPECT_EQ(Names(FakeRegistry::Op::Set), std::vector<std::string>{"Clr_Calendar"});
    EXPECT_EQ(registry.TextOf(kSettingsKeyPath, "Clr_Calendar"), "16711680");
    EXPECT_EQ(screen.log, (std::vector<std::string>{"changed@1"}));
}

TEST_F(OptionsActions, BlackIsAChoiceAndTheColourInUseIsStoredAndAppliedAgain) {
    picker.result = 0;
    logic.OnAdjustLabelColor();
    EXPECT_EQ(state.LabelColor, 0u);
    EXPECT_EQ(registry.TextOf(kSettingsKeyPath, "Clr_Labels"), "0");

    picker.result = static_cast<std::int32_t>(state.CalendarColor);
    logic.OnAdjustCalendarColor();
    EXPECT_EQ(Names(FakeRegistry::Op::Set),
              (std::vector<std::string>{"Clr_Labels", "Clr_Calendar"}));
    EXPECT_EQ(registry.TextOf(kSettingsKeyPath, "Clr_Calendar"), "12632256");
    EXPECT_EQ(screen.log, (std::vector<std::string>{"changed@1", "changed@2"}));
}

TEST_F(OptionsActions, NoChoiceOrAValueThatIsNoColourChangesNothing) {
    for (std::int32_t result : {-1, 0x01000000, -2}) {
        picker.result = result;
        logic.OnAdjustCalendarColor();
        logic.OnAdjustLabelColor();
    }
    EXPECT_EQ(picker.shown, 6);
    EXPECT_EQ(Colours(), std::pair(kPalette[4], kPalette[7]));
    EXPECT_TRUE(registry.CallsOf(FakeRegistry::Op::Set).empty());
    EXPECT_TRUE(screen.log.empty());
}

TEST_F(OptionsActions, ResetWritesLabelsThenCalendarAndRecoloursOnceAfterBoth) {
    logic.OnResetColors();
    EXPECT_EQ(picker.shown, 0);
    EXPECT_EQ(Colours(), std::pair(kDefaultSettings.LabelColor, kDefaultSettings.CalendarColor));
    EXPECT_EQ(Names(FakeRegistry::Op::Set),
              (std::vector<std::string>{"Clr_Labels", "Clr_Calendar"}));
    EXPECT_EQ(registry.TextOf(kSettingsKeyPath, "Clr_Labels"), "8421376");
    EXPECT_EQ(registry.TextOf(kSettingsKeyPath, "Clr_Calendar"), "16777215");
    EXPECT_EQ(screen.log, (std::vector<std::string>{"changed@2"}));
}

TEST_F(OptionsActions, CheckBoxShowsWhetherTheShortcutReallyExistsAfterEachClick) {
    const auto paths = ComputeShortcutPaths(L"C:\\Users\\Ann\\Startup  ", L"D:\\Tools\\Mivra.EXE");
    ASSERT_TRUE(paths);
    ASSERT_EQ(paths->LinkFileName, kLink);

    EXPECT_FALSE(logic.Load(std::nullopt).visible);
    EXPECT_FALSE(logic.OnLoadAtStartupClick(true)) << "no folder: nothing to create";
    EXPECT_TRUE(files.created.empty());

    const CheckBoxView clear = logic.Load(paths);
    EXPECT_EQ(std::pair(clear.visible, clear.ticked), std::pair(true, false));

    // Ticked while missing: created, with the program as target.
    files.createWorks = false;
    EXPECT_FALSE(logic.OnLoadAtStartupClick(true)) << "a failed create must not show ticked";
    files.createWorks = true;
    EXPECT_TRUE(logic.OnLoadAtStartupClick(true));
    ASSERT_EQ(files.created.size(), 2u);
    const ShortcutRequest& r = files.created.back();
    EXPECT_EQ(
        std::tuple(r.location, r.title, r.target, r.workingFolder, r.windowStyle),
        std::tuple(kLocationStartUp, L"Mivra"s, L"D:\\Tools\\Mivra.exe"s, L"D:\\Tools\\"s, 1));

    // Ticked while present: the file is left alone.
    EXPECT_TRUE(logic.OnLoadAtStartupClick(true));
    EXPECT_EQ(files.created.size(), 2u);
    EXPECT_TRUE(logic.Load(paths).ticked);

    // Cleared while present: deleted, unless the delete fails.
    files.removeWorks = false;
    EXPECT_TRUE(logic.OnLoadAtStartupClick(false)) << "a failed delete must still show ticked";
    files.removeWorks = true;
    EXPECT_FALSE(logic.OnLoadAtStartupClick(false));
    EXPECT_EQ(files.removed, (std::vector<std::wstring>{kLink, kLink}));

    // Cleared while missing: nothing.
    EXPECT_FALSE(logic.OnLoadAtStartupClick(false));
    EXPECT_EQ(files.removed.size(), 2u);
}

TEST(OptionsLayout, FocusOrderTextsAndPanelFrameAreAsDesigned) {
    using enum OptionsControl;
    const auto focus = OptionsFocusOrder();
    EXPECT_EQ(
        std::vector(focus.begin(), focus.end()),
        (std::vector{cmdClose, cbxLoadWW, cmd_Cal_Clr, cmd_Lab_Clr, cmd_Clr_Def, cmdHomePage}));
    EXPECT_EQ(Design(lblTitle).caption, L"Mivra  2000");
    EXPECT_EQ(Design(cbxLoadWW).caption, L"Run \"Mivra\" on Windows Startup");
    EXPECT_EQ(Design(cmdHomePage).caption, L"Mivra 2000 Home Page...");
    EXPECT_EQ(Design(cmdClose).caption, L"OK");
    EXPECT_EQ(Design(lblNote).caption.find(L"\r\n") != std::wstring_view::npos, true)
        << "the second credit line stands on two lines";

    // The black frame around the panel: 24 left and bottom, 36 top, 48 right.
    const TwipRect p = Design(shpPanel).rect;
    EXPECT_EQ(std::tuple(p.left, p.top, kOptionsWidthTwips - p.left - p.width,
                         kOptionsHeightTwips - p.top - p.height),
              std::tuple(24, 36, 48, 24));

    // Every control lies inside the panel, and no label covers a control.
    for (const auto& s : OptionsLayout()) {
        if (s.id == shpPanel) continue;
        EXPECT_GE(s.rect.left, p.left) << s.name;
        EXPECT_LE(s.rect.left + s.rect.width, p.left + p.width) << s.name;
        for (const auto& o : OptionsLayout()) {
            if (s.kind != ControlKind::Label || o.kind == ControlKind::Label || o.id == shpPanel)
                continue;
            const bool apart = s.rect.top + s.rect.height <= o.rect.top ||
                               o.rect.top + o.rect.height <= s.rect.top;
            EXPECT_TRUE(apart) << s.name << " covers " << o.name;
        }
    }

    // The mail link takes the mouse over its rectangle as painted.
    const PixelRect link = WindowPixels(Design(lblContact).rect, 120);
    EXPECT_TRUE(ControlHasPixel(lblContact, link.left, link.top, 120));
    EXPECT_FALSE(ControlHasPixel(lblContact, link.right, link.top, 120));
    EXPECT_FALSE(ControlHasPixel(lblContact, link.left, link.bottom, 120));
}

TEST_F(OptionsActions, CheckBoxIsClearWhileTheShellHasTheShortcutSwitchedOff) {
    const auto paths = ComputeShortcutPaths(L"C:\\Users\\Ann\\Startup", L"D:\\Tools\\Mivra.exe");
    files.files.insert(kLink);
    test::SwitchOffInShell(registry);
    EXPECT_FALSE(logic.Load(paths).ticked) << "the file alone starts nothing";

    EXPECT_TRUE(logic.OnLoadAtStartupClick(true));
    EXPECT_TRUE(files.created.empty());
    EXPECT_TRUE(logic.Load(paths).ticked);
    EXPECT_TRUE(Names(FakeRegistry::Op::Set).empty()) << "no colour and no shell value written";
}

} // namespace
} // namespace mivra
