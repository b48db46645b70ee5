// The settings the program keeps, as one record (`Settings`): each value's
// name, default and conversion stand in one row in settings.cpp, and every
// value is read and written there, through the registry layer. The program's
// module state holds the record with the defaults and the picker's result
// (`SettingsState`); whoever changes a setting tells the calendar through
// `SettingsListener`.
#pragma once

#include <cstdint>

#include "base/color.h"
#include "settings/registry.h"

namespace mivra {

// Where the settings live.
inline constexpr const char* kSettingsKeyPath = "SOFTWARE\\Mivra";
struct SettingsKey {
    RegKey root = kHkeyLocalMachine;
    const char* path = kSettingsKeyPath;
};

// The stored values, in the order they are loaded at start.
enum class SettingId : std::uint8_t { LabelColor, CalendarColor };
inline constexpr const char* kLabelColorValue = "Clr_Labels";
inline constexpr const char* kCalendarColorValue = "Clr_Calendar";

struct Settings {
    Color LabelColor = 0;
    Color CalendarColor = 0;

    // At start: every value in order. One that is missing or holds no valid
    // value takes its default, which is written back after making sure the
    // key exists.
    void Load(RegistryApi& api, const Settings& defaults, const SettingsKey& key = {});
    // Writes one value as it is stored (decimal text); a value outside its
    // range writes nothing. Returns the status of the open or the write.
    RegStatus Save(RegistryApi& api, SettingId id, const SettingsKey& key = {}) const;
};

// The settings as the program holds them: the record, the defaults set at
// start, and the colour picker's result.
struct SettingsState : Settings {
    Color DefaultLabelColor = 0;
    Color DefaultCalendarColor = 0;
    // The colour picker's result: a colour, or -1 for no choice.
    std::int32_t PickedColor = 0;

    Settings Defaults() const { return {DefaultLabelColor, DefaultCalendarColor}; }
};

// Told after a setting has changed and been stored, so that the screen
// follows it.
class SettingsListener {
public:
    virtual ~SettingsListener() = default;
    virtual void SettingsChanged() = 0;
};

} // namespace mivra
