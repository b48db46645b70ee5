#include "base/trace.h"
#include "settings/registry.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/support/fake_registry.h"

namespace mivra {
namespace {

using namespace std::literals;
using Op = FakeRegistry::Op;

constexpr std::string_view kPath = "SOFTWARE\\Mivra";
constexpr Color kDefaultLabel = kDefaultSettings.LabelColor;       // 8421376
constexpr Color kDefaultCalendar = kDefaultSettings.CalendarColor; // 16777215

// What reached the registry as creates and writes, in order, as one line each.
std::vector<std::string> Changes(const FakeRegistry& reg) {
    std::vector<std::string> out;
    for (const auto& c : reg.Calls()) {
        if (c.op == Op::Create)
            out.push_back("create " + c.path + " access " + std::to_string(c.access) + " -> " +
                          std::to_string(c.status));
        if (c.op == Op::Set)
            out.push_back("set " + c.name + " kind " + std::to_string(c.kind) + " \"" +
                          std::string(c.data.begin(), c.data.end()) + "\" size " +
                          std::to_string(c.size) + " -> " + std::to_string(c.status));
    }
    return out;
}

// A start's key creation and its writes of the defaults, as Changes shows them.
const std::string kCreateKey = "create HKLM\\SOFTWARE\\Mivra access 63 -> 0";
const std::string kSetLabels = "set Clr_Labels kind 1 \"8421376\" size 7 -> 0";
const std::string kSetCalendar = "set Clr_Calendar kind 1 \"16777215\" size 8 -> 0";

Settings Loaded(FakeRegistry& reg) {
    Settings s;
    s.Load(reg, kDefaultSettings);
    return s;
}

void ExpectNoHandleLeftOpen(const FakeRegistry& reg) {
    EXPECT_EQ(reg.OpenHandles(), 0);
    for (const auto& c : reg.CallsOf(Op::Close))
        EXPECT_EQ(c.status, kErrorSuccess) << c.path;
}

TEST(StoredSettings, AStartWritesTheDefaultsOnlyOfMissingValuesAsText) {
    FakeRegistry reg;
    const Settings state = Loaded(reg);

    EXPECT_EQ(state.LabelColor, kDefaultLabel);
    EXPECT_EQ(state.CalendarColor, kDefaultCalendar);
    EXPECT_EQ(Changes(reg), (std::vector{kCreateKey, kSetLabels, kCreateKey, kSetCalendar}));
    for (const auto& c : reg.CallsOf(Op::Open))
        EXPECT_EQ(c.access, kSettingsAccess);
    ASSERT_TRUE(reg.Find(kPath, "Clr_Calendar"));
    EXPECT_EQ(reg.Find(kPath, "Clr_Calendar")->kind, kRegSz);
    ExpectNoHandleLeftOpen(reg);

    // The next start finds both and writes nothing.
    reg.ClearLog();
    const Settings again = Loaded(reg);
    EXPECT_EQ(again.LabelColor, kDefaultLabel);
    EXPECT_EQ(again.CalendarColor, kDefaultCalendar);
    EXPECT_TRUE(Changes(reg).empty());
    ExpectNoHandleLeftOpen(reg);

    // Only the missing value is written, each after its own key creation.
    // Value names are found whatever their case, as in the real registry.
    const struct {
        const char* name;
        const char* text;
        Color labels, calendar;
        const std::string& written;
    } cases[] = {{"Clr_Calendar", "65280", kDefaultLabel, 65280, kSetLabels},
                 {"CLR_LABELS", "0", 0, kDefaultCalendar, kSetCalendar}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRegistry one;
        one.PutText(kPath, c.name, c.text);
        const Settings loaded = Loaded(one);
        EXPECT_EQ(loaded.LabelColor, c.labels);
        EXPECT_EQ(loaded.CalendarColor, c.calendar);
        EXPECT_EQ(Changes(one), (std::vector{kCreateKey, c.written}));
        ExpectNoHandleLeftOpen(one);
    }
}

struct StoredCase {
    const char* what;
    std::uint32_t kind;
    std::string_view data;
    Color expected; // kNoColour: counts as missing
};
constexpr Color kNoColour = 0xFFFFFFFF;

// A stored colour is used as it is and not rewritten; a value that is no
// colour counts as missing and gets the default, as text.
TEST(StoredSettings, StoredColoursAreUsedAsTheyAreAndOtherValuesGetTheDefault) {
    std::vector<StoredCase> cases = {
        {"REG_DWORD red", kRegDword, "\xFF\0\0\0"sv, 0x000000FF},
        {"REG_DWORD black", kRegDword, "\0\0\0\0"sv, 0},
        {"black chosen by the user", kRegSz, "0", 0},
        {"white", kRegSz, "16777215", 0x00FFFFFF},
        {"text ending in NUL", kRegSz, "16711680\0"sv, 0x00FF0000},
        {"anything after a NUL", kRegSz, "128\0x9"sv, 128},
        {"blanks around", kRegSz, " \t32768  ", 0x00008000},
        {"plus sign", kRegSz, "+42", 42},
        {"leading zeros", kRegSz, "007", 7},
        {"REG_BINARY", kRegBinary, "255", kNoColour},
        {"REG_EXPAND_SZ", 2, "255", kNoColour},
        {"REG_DWORD above 0xFFFFFF", kRegDword, "\0\0\0\x01"sv, kNoColour},
        {"REG_DWORD negative", kRegDword, "\xFF\xFF\xFF\xFF"sv, kNoColour},
        {"REG_DWORD of two bytes", kRegDword, "\xFF\0"sv, kNoColour},
        {"REG_DWORD of eight bytes", kRegDword, "\xFF\0\0\0\0\0\0\0"sv, kNoColour},
    };
    // Letters, empty, a NUL alone, blanks alone, beyond 32 bits, just past
    // int32, negative, above 0xFFFFFF, hexadecimal, a fraction, two numbers,
    // two signs, a sign alone.
    for (std::string_view text :
         {"abc"sv, ""sv, "\0"sv, "   "sv, "99999999999"sv, "2147483648"sv, "-1"sv, "16777216"sv,
          "0xFF"sv, "1.5"sv, "12 34"sv, "+-5"sv, "-"sv})
        cases.push_back({"text that is no colour", kRegSz, text, kNoColour});
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what << ": \"" << c.data << '"');
        // Beside it a label colour of 255, which is used as it is.
        FakeRegistry reg;
        reg.PutText(kPath, "Clr_Labels", "255");
        reg.PutValue(kPath, "Clr_Calendar", c.kind, {c.data.begin(), c.data.end()});
        const Settings state = Loaded(reg);
        EXPECT_EQ(state.LabelColor, 255u);
        const bool colour = c.expected != kNoColour;
        EXPECT_EQ(state.CalendarColor, colour ? c.expected : kDefaultCalendar);
        const std::vector<std::string> written = {kCreateKey, kSetCalendar};
        EXPECT_EQ(Changes(reg), colour ? std::vector<std::string>{} : written);
        EXPECT_EQ(reg.Find(kPath, "Clr_Calendar")->kind, colour ? c.kind : kRegSz);
        ExpectNoHandleLeftOpen(reg);
    }
}

// What reached the developer's trace.
std::vector<std::string> traced;

TEST(StoredSettings, ReadOnlyKeyIsStillReadAndWritesFailQuietlyButTraced) {
    traced.clear();
    traceSink = [](const char* what, const char* subject, long code) {
        traced.push_back(std::string(what) + " " + subject + " " + std::to_string(code));
    };
    FakeRegistry reg;
    reg.PutText(kPath, "Clr_Labels", "255");
    reg.PutText(kPath, "Clr_Calendar", "junk");
    reg.ProtectKey(kPath);
    const Settings state = Loaded(reg);

    EXPECT_EQ(state.LabelColor, 255u); // an administrator's choice shows
    EXPECT_EQ(state.CalendarColor, kDefaultCalendar);
    const auto opens = reg.CallsOf(Op::Open);
    ASSERT_GE(opens.size(), 2u);
    EXPECT_EQ(std::tuple(opens[0].access, opens[0].status, opens[1].access, opens[1].status),
              std::tuple(kSettingsAccess, kErrorAccessDenied, kKeyRead, kErrorSuccess));
    EXPECT_EQ(Changes(reg),
              std::vector<std::string>{"create HKLM\\SOFTWARE\\Mivra access 63 -> 5"});
    EXPECT_EQ(reg.TextOf(kPath, "Clr_Calendar"), "junk");

    EXPECT_EQ(Settings{.LabelColor = 0}.Save(reg, SettingId::LabelColor), kErrorAccessDenied);
    EXPECT_EQ(reg.TextOf(kPath, "Clr_Labels"), "255");
    ExpectNoHandleLeftOpen(reg);
    // Nothing was shown, but a developer can see what failed.
    EXPECT_EQ(traced, (std::vector<std::string>{"RegCreateKeyExA SOFTWARE\\Mivra 5",
                                                "StoreSetting Clr_Calendar 5",
                                                "StoreSetting Clr_Labels 5"}));
    traceSink = nullptr;
}

TEST(SettingsStore, SaveWritesDecimalTextOnlyIntoAKeyThatCreatingMakesWholeAndKeeps) {
    FakeRegistry reg;
    EXPECT_EQ(Settings{.LabelColor = 0x00FF00FF}.Save(reg, SettingId::LabelColor),
              kErrorFileNotFound);
    EXPECT_FALSE(reg.HasKey(kPath)); // the options window does not create the key

    reg.PutDword(kPath, "Clr_Labels", 7);
    EXPECT_EQ(Settings{.LabelColor = 0}.Save(reg, SettingId::LabelColor), kErrorSuccess);
    EXPECT_EQ(reg.Find(kPath, "Clr_Labels")->kind, kRegSz); // the kind is replaced too
    EXPECT_EQ(reg.TextOf(kPath, "Clr_Labels"), "0");

    EXPECT_EQ(Settings{.CalendarColor = 0x01000000}.Save(reg, SettingId::CalendarColor),
              kErrorInvalidParameter);
    EXPECT_FALSE(reg.Find(kPath, "Clr_Calendar"));
    ExpectNoHandleLeftOpen(reg);

    // Making the key makes every level and keeps what is there.
    reg = {};
    CreateRegistryKey(reg, kHkeyLocalMachine, "SOFTWARE\\Mivra\\Deeper");
    for (const char* level : {"SOFTWARE", "SOFTWARE\\Mivra", "SOFTWARE\\Mivra\\Deeper"})
        EXPECT_TRUE(reg.HasKey(level)) << level;

    reg.PutText(kPath, "Clr_Labels", "1");
    CreateRegistryKey(reg, kHkeyLocalMachine, kSettingsKeyPath);
    EXPECT_EQ(reg.TextOf(kPath, "Clr_Labels"), "1");
    for (const auto& c : reg.CallsOf(Op::Create))
        EXPECT_EQ(c.access, kSettingsAccess);
    ExpectNoHandleLeftOpen(reg);
}

TEST(SettingsStore, WriteTypedValueWritesTextWithoutNulOrFourLittleEndianBytes) {
    FakeRegistry reg;
    reg.AddKey(kPath);
    ScopedRegKey key(reg);
    ASSERT_EQ(reg.OpenKeyEx(kHkeyLocalMachine, kSettingsKeyPath, 0, kSettingsAccess, key.Put()),
              kErrorSuccess);

    EXPECT_EQ(WriteTypedValue(reg, key.Get(), "a", kRegSz, std::int32_t{-5}), kErrorSuccess);
    EXPECT_EQ(WriteTypedValue(reg, key.Get(), "b", kRegSz, std::string("abc")), kErrorSuccess);
    EXPECT_EQ(WriteTypedValue(reg, key.Get(), "c", kRegDword, std::int32_t{0x01020304}),
              kErrorSuccess);
    EXPECT_EQ(WriteTypedValue(reg, key.Get(), "d", kRegDword, std::string(" 258 ")), kErrorSuccess);
    EXPECT_EQ(reg.TextOf(kPath, "a"), "-5");
    EXPECT_EQ(reg.TextOf(kPath, "b"), "abc");
    EXPECT_EQ(reg.Find(kPath, "c")->data, (std::vector<std::uint8_t>{4, 3, 2, 1}));
    EXPECT_EQ(reg.Find(kPath, "d")->data, (std::vector<std::uint8_t>{2, 1, 0, 0}));

    // Nothing is written, and the caller is told so, for what cannot be stored.
    EXPECT_EQ(WriteTypedValue(reg, key.Get(), "e", kRegBinary, std::int32_t{1}),
              kStatusUnsupportedKind);
    EXPECT_EQ(WriteTypedValue(reg, key.Get(), "e", kRegDword, std::string("abc")),
              kErrorInvalidParameter);
    EXPECT_EQ(WriteTypedValue(reg, key.Get(), "e", kRegDword, std::string("+-5")),
              kErrorInvalidParameter);
    EXPECT_EQ(WriteTypedValue(reg, key.Get(), "e", kRegSz, TaggedValue{}), kErrorInvalidParameter);
    EXPECT_FALSE(reg.Find(kPath, "e"));
    EXPECT_EQ(reg.CallsOf(Op::Set).size(), 4u);
}

TEST(SettingsStore, ReadTypedValueTakesTheSizeOfTheSecondQuery) {
    FakeRegistry reg;
    reg.PutText(kPath, "text", "8421376");
    reg.PutDword(kPath, "number", 0xFFFFFFFF);
    reg.PutValue(kPath, "binary", kRegBinary, {'1'});
    ScopedRegKey key(reg);
    ASSERT_EQ(reg.OpenKeyEx(kHkeyLocalMachine, kSettingsKeyPath, 0, kKeyRead, key.Put()),
              kErrorSuccess);

    // A read's status and value.
    const auto read = [&](const char* name) {
        const ReadResult r = ReadTypedValue(reg, key.Get(), name);
        return std::pair(r.status, r.value);
    };
    // The size probe may over-estimate; the text is what the second query returned.
    reg.sizeProbeSlack = 6;
    EXPECT_EQ(read("TEXT"), std::pair(kErrorSuccess, TaggedValue(std::string("8421376"))));
    const auto queries = reg.CallsOf(Op::Query);
    ASSERT_EQ(queries.size(), 2u);
    EXPECT_EQ(std::tuple(queries[0].withBuffer, queries[1].withBuffer, queries[1].size),
              std::tuple(false, true, 13u));

    reg.sizeProbeSlack = 0;
    reg.PutText(kPath, "terminated", "255\0"sv);
    EXPECT_EQ(read("terminated").second, TaggedValue(std::string("255")));
    EXPECT_EQ(read("number").second, TaggedValue(std::int32_t{-1}));
    EXPECT_FALSE(ToColor(read("number").second).has_value());
    EXPECT_EQ(read("missing"), std::pair(kErrorFileNotFound, TaggedValue{}));
    EXPECT_EQ(read("binary"), std::pair(kStatusUnsupportedKind, TaggedValue{}));

    // Between the two queries someone else grows the text, which then does
    // not fit, or rewrites it as a number, whose bytes are no text.
    const std::pair<std::function<void()>, RegStatus> changes[] = {
        {[&] { reg.PutText(kPath, "text", "1234567890"); }, kErrorMoreData},
        {[&] { reg.PutDword(kPath, "text", 0x00333231); }, kStatusUnsupportedKind}};
    for (const auto& change : changes) {
        int query = 0;
        reg.beforeQuery = [&] {
            if (++query == 2) change.first();
        };
        EXPECT_EQ(read("text"), std::pair(change.second, TaggedValue{}));
    }
}

} // namespace
} // namespace mivra
