#include "settings/settings.h"

#include <optional>
#include <tuple>

#include "base/trace.h"

namespace mivra {

namespace {

// One stored value: its name, its place in the record and how a stored value
// converts (to nothing when it is not valid).
template <typename T> struct Field {
    SettingId id;
    const char* name;
    T Settings::*member;
    std::optional<T> (*convert)(const TaggedValue&);
};

constexpr std::tuple kFields{
    Field<Color>{SettingId::LabelColor, kLabelColorValue, &Settings::LabelColor, ToColor},
    Field<Color>{SettingId::CalendarColor, kCalendarColorValue, &Settings::CalendarColor, ToColor},
};

template <typename F> void ForEachField(F&& f) {
    std::apply([&](const auto&... field) { (f(field), ...); }, kFields);
}

template <typename T>
RegStatus Store(RegistryApi& api, const SettingsKey& key, const Field<T>& field, T value) {
    const TaggedValue stored = static_cast<std::int32_t>(value);
    if (field.convert(stored) != value) return kErrorInvalidParameter;
    // Nothing acts on a failed write (the defaults serve), but it is traced.
    const RegStatus status = StoreSetting(api, key.root, key.path, field.name, stored, kRegSz);
    if (status != kErrorSuccess) TraceFailure("StoreSetting", field.name, status);
    return status;
}

} // namespace

void Settings::Load(RegistryApi& api, const Settings& defaults, const SettingsKey& key) {
    ForEachField([&](const auto& field) {
        const auto stored = field.convert(LoadSetting(api, key.root, key.path, field.name));
        this->*field.member = stored ? *stored : defaults.*field.member;
        if (stored) return;
        CreateRegistryKey(api, key.root, key.path);
        Store(api, key, field, this->*field.member);
    });
}

RegStatus Settings::Save(RegistryApi& api, SettingId id, const SettingsKey& key) const {
    RegStatus status = kErrorInvalidParameter;
    ForEachField([&](const auto& field) {
        if (field.id == id) status = Store(api, key, field, this->*field.member);
    });
    return status;
}

} // namespace mivra
