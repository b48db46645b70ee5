// The settings the program keeps, as one record: each value's name and
// conversion stand in one row in settings.cpp, where every value is read and
// written through the registry layer; their defaults are kDefaultSettings.
#pragma once

#include <cstdint>

#include "base/color.h"
#include "settings/registry.h"

namespace mivra {

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

    // At start, every value in order: one that is missing or not valid takes
    // its default, written back after making sure the key exists.
    void Load(RegistryApi& api, const Settings& defaults, const SettingsKey& key = {});
    // Writes one value as stored (decimal text); one out of range writes
    // nothing. The status of the open or the write.
    RegStatus Save(RegistryApi& api, SettingId id, const SettingsKey& key = {}) const;
};

// The colours a first start stores and "Reset Colors to Default" puts back:
// dark cyan labels on a white face.
inline constexpr Settings kDefaultSettings{.LabelColor = kPalette[3],
                                           .CalendarColor = kPalette[15]};

// The settings as the program holds them, with the defaults set at start and
// the colour picker's result (a colour, or -1 for no choice).
struct SettingsState : Settings {
    Color DefaultLabelColor = 0;
    Color DefaultCalendarColor = 0;
    std::int32_t PickedColor = 0;

    Settings Defaults() const { return {DefaultLabelColor, DefaultCalendarColor}; }
};

// Told once a changed setting is stored, so the screen follows it.
class SettingsListener {
public:
    virtual ~SettingsListener() = default;
    virtual void SettingsChanged() = 0;
};

} // namespace mivra
