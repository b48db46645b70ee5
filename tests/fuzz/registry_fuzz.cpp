// Arbitrary stored values: whatever another tool left in the settings key,
// reading it must give a colour in range or nothing, never crash, and leave
// no key open. Input: kind byte, flags byte, then the value's data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/registry.h"
#include "settings/settings.h"
#include "tests/support/fake_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t length) {
    using namespace mivra;
    const auto Check = [](bool ok) {
        if (!ok) std::abort();
    };
    if (length < 2) return 0;
    const std::uint32_t kind = input[0] % 8; // REG_NONE .. REG_RESOURCE_LIST, mostly
    const std::uint8_t flags = input[1];
    const std::vector<std::uint8_t> data(input + 2, input + length);

    FakeRegistry reg;
    reg.PutValue(kSettingsKeyPath, kCalendarColorValue, kind, data);
    reg.sizeProbeSlack = flags & 0x0F;
    const bool readOnly = (flags & 0x10) != 0;
    if (readOnly) reg.ProtectKey(kSettingsKeyPath);

    std::optional<Color> stored;
    {
        ScopedRegKey key(reg);
        Check(reg.OpenKeyEx(kHkeyLocalMachine, kSettingsKeyPath, 0, kKeyRead, key.Put()) ==
              kErrorSuccess);
        const ReadResult read = ReadTypedValue(reg, key.Get(), kCalendarColorValue);
        Check((read.status == kErrorSuccess) != std::holds_alternative<std::monostate>(read.value));
        if (const auto* text = std::get_if<std::string>(&read.value))
            Check(kind == kRegSz && text->size() <= data.size());
        if (const auto n = ToInt32(read.value))
            Check(ToInt32(TaggedValue(std::to_string(*n))) == n);
        stored = ToColor(read.value);
        if (stored) Check(*stored <= kMaxColor);
    }

    Settings state;
    state.Load(reg, kDefaultSettings);
    Check(state.CalendarColor <= kMaxColor && state.LabelColor <= kMaxColor);
    Check(state.CalendarColor == stored.value_or(kDefaultSettings.CalendarColor));
    const auto after = reg.Find(kSettingsKeyPath, kCalendarColorValue);
    Check(after.has_value());
    if (!stored && !readOnly) Check(after->kind == kRegSz && after->data.size() == 8);
    if (stored || readOnly) Check(after->kind == kind && after->data == data);
    Check(reg.OpenHandles() == 0);
    return 0;
}
