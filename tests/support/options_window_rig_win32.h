// The real options window and colour picker with the files, the shell's links
// and the shortcut's paths faked, over the state, registry and system colours
// of the fixture that holds it. Make builds the window's object, which its
// Load then shows on screen.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "settings/color_picker_win32.h"
#include "settings/options_window_win32.h"
#include "tests/support/fake_links.h"
#include "tests/support/fake_shortcut_files.h"

namespace mivra::test {

class OptionsWindowRig {
public:
    OptionsWindowRig(SettingsState& state, RegistryApi& registry, const SystemColors& colors)
        : state_(state), registry_(registry), colors_(colors) {}

    // `calendar` takes no input while the window is shown.
    OptionsWindow& Make(HWND calendar = nullptr) {
        auto lookUp = [this] {
            ++pathLoads;
            return paths;
        };
        const OptionsWindow::Services s{state_, registry_, picker, files, links, lookUp, colors_};
        window = std::make_unique<OptionsWindow>(GetModuleHandleW(nullptr), s, calendar);
        return *window;
    }

private:
    SettingsState& state_;
    RegistryApi& registry_;
    const SystemColors& colors_;

public:
    FakeShortcutFiles files;
    RecordingLinks links;
    std::optional<ShortcutPaths> paths; // none: no Startup folder, so no check box
    int pathLoads = 0;                  // the loads that looked the paths up
    ColorPickerWindow picker{GetModuleHandleW(nullptr), state_, colors_};
    std::unique_ptr<OptionsWindow> window;
};

} // namespace mivra::test
