// The settings store against the real registry. Each test works in a key of
// its own under HKEY_LOCAL_MACHINE\SOFTWARE\MivraTest and removes it after;
// what the store wrote is checked with plain Reg*A calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "settings/registry.h"
#include "settings/registry_win32.h"
#include "settings/settings.h"

namespace mivra {
namespace {

using namespace std::literals;

constexpr const char* kTestRoot = "SOFTWARE\\MivraTest";

// The real registry, noting what would change it.
class CountingRegistry final : public Win32Registry {
public:
    int creates = 0;
    std::vector<std::string> writes; // "name kind byte-count data"

    RegStatus CreateKeyEx(RegKey root, const char* subKey, std::uint32_t options,
                          std::uint32_t access, RegKey* result,
                          std::uint32_t* disposition) override {
        ++creates;
        return Win32Registry::CreateKeyEx(root, subKey, options, access, result, disposition);
    }
    RegStatus SetValueEx(RegKey key, const char* name, std::uint32_t kind, const std::uint8_t* data,
                         std::uint32_t size) override {
        writes.push_back(std::string(name) + " " + std::to_string(kind) + " " +
                         std::to_string(size) + " " +
                         std::string(reinterpret_cast<const char*>(data), size));
        return Win32Registry::SetValueEx(key, name, kind, data, size);
    }
};

struct RawValue {
    DWORD kind = 0;
    std::string data;
};

// The stored data, read with the wide call so that the ANSI call's own
// conversion does not show. A text is given without its terminator, which
// the system may add on writing (as it does when the byte after the counted
// characters is a NUL) and on reading. Texts here are ASCII.
std::optional<RawValue> ReadRaw(const char* path, const char* name) {
    const auto wide = [](const char* s) { return std::wstring(s, s + std::strlen(s)); };
    RawValue value;
    BYTE buffer[512] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, wide(path).c_str(), wide(name).c_str(),
                     RRF_RT_ANY | RRF_NOEXPAND, &value.kind, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (value.kind == REG_SZ) {
        for (DWORD i = 0; i + 1 < size; i += 2)
            value.data.push_back(char(buffer[i]));
        while (!value.data.empty() && value.data.back() == '\0')
            value.data.pop_back();
    } else {
        value.data.assign(reinterpret_cast<const char*>(buffer), size);
    }
    return value;
}

// Stores a value as given, making its key if need be.
void PutRaw(const char* path, const char* name, DWORD kind, std::string_view data) {
    EXPECT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, path, name, kind, data.data(),
                              static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
}

// A value the program stored: text, as given.
void ExpectStoredText(const char* path, const char* name, std::string_view text) {
    const auto v = ReadRaw(path, name);
    ASSERT_TRUE(v) << name;
    EXPECT_EQ(v->kind, DWORD{REG_SZ}) << name;
    EXPECT_EQ(v->data, text) << name;
}

class RegistryWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::string(kTestRoot) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, path_.c_str());
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, path_.c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestRoot); // only once nothing else is left in it
    }
    SettingsKey Key() const { return {kHkeyLocalMachine, path_.c_str()}; }
    // A start on the test's key.
    Settings Load(RegistryApi& reg) const {
        Settings s;
        s.Load(reg, kDefaultSettings, Key());
        return s;
    }
    // A start that finds both colours stored and writes nothing.
    void ExpectStartFinds(Color labels, Color calendar) const {
        CountingRegistry reg;
        const Settings state = Load(reg);
        EXPECT_EQ(std::tuple(state.LabelColor, state.CalendarColor, reg.creates, reg.writes.size()),
                  std::tuple(labels, calendar, 0, 0u));
    }

    std::string path_;
};

TEST_F(RegistryWin32, AFreshKeyGetsTheDefaultsAsTextAndStoredValuesAreUsedAsTheyAre) {
    CountingRegistry reg;
    const Settings state = Load(reg);

    EXPECT_EQ(state.LabelColor, 0x00808000u);
    EXPECT_EQ(state.CalendarColor, 0x00FFFFFFu);
    EXPECT_EQ(reg.writes,
              (std::vector<std::string>{"Clr_Labels 1 7 8421376", "Clr_Calendar 1 8 16777215"}));
    EXPECT_EQ(reg.creates, 2);
    ExpectStoredText(path_.c_str(), "Clr_Labels", "8421376");
    ExpectStoredText(path_.c_str(), "Clr_Calendar", "16777215");

    ExpectStartFinds(0x00808000u, 0x00FFFFFFu);

    // Stored numbers and text are used without rewriting.
    PutRaw(path_.c_str(), "Clr_Labels", REG_SZ, "0\0"sv); // black, stored with its NUL
    PutRaw(path_.c_str(), "Clr_Calendar", REG_DWORD, "\xFF\0\0\0"sv);
    ExpectStartFinds(0u, 0x000000FFu);
    EXPECT_EQ(ReadRaw(path_.c_str(), "Clr_Calendar")->kind, DWORD{REG_DWORD});
}

TEST_F(RegistryWin32, ValuesThatAreNoColourAreReplacedByTheDefaultAsText) {
    // Letters, empty text, above 0xFFFFFF as text and as a number, negative,
    // binary.
    const std::pair<DWORD, std::string_view> cases[] = {
        {REG_SZ, "abc"}, {REG_SZ, ""},       {REG_SZ, "16777216"}, {REG_DWORD, "\0\0\0\x01"sv},
        {REG_SZ, "-1"},  {REG_BINARY, "255"}};
    for (const auto& [kind, data] : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << kind << ", " << data.size() << " bytes");
        PutRaw(path_.c_str(), "Clr_Labels", REG_SZ, "255");
        PutRaw(path_.c_str(), "Clr_Calendar", kind, data);
        CountingRegistry reg;
        const Settings state = Load(reg);

        EXPECT_EQ(std::tuple(state.LabelColor, state.CalendarColor, reg.creates),
                  std::tuple(255u, 0x00FFFFFFu, 1));
        EXPECT_EQ(reg.writes, std::vector<std::string>{"Clr_Calendar 1 8 16777215"});
        ExpectStoredText(path_.c_str(), "Clr_Calendar", "16777215");
    }
}

TEST_F(RegistryWin32, TypedValuesRoundTripAndMissingThingsReadAsNothing) {
    Win32Registry reg;
    EXPECT_FALSE(std::holds_alternative<std::string>(
        LoadSetting(reg, kHkeyLocalMachine, path_.c_str(), "Clr_Labels")));
    EXPECT_EQ(Settings{.LabelColor = 1}.Save(reg, SettingId::LabelColor, Key()),
              kErrorFileNotFound);
    EXPECT_FALSE(ReadRaw(path_.c_str(), "Clr_Labels")); // storing alone makes no key

    CreateRegistryKey(reg, kHkeyLocalMachine, path_.c_str());
    EXPECT_EQ(Settings{.LabelColor = 0x00C0C0C0}.Save(reg, SettingId::LabelColor, Key()),
              kErrorSuccess);
    EXPECT_EQ(StoreSetting(reg, kHkeyLocalMachine, path_.c_str(), "n", std::int32_t{-2}, kRegDword),
              kErrorSuccess);
    EXPECT_EQ(LoadSetting(reg, kHkeyLocalMachine, path_.c_str(), "Clr_Labels"),
              TaggedValue(std::string("12632256")));
    EXPECT_EQ(LoadSetting(reg, kHkeyLocalMachine, path_.c_str(), "n"),
              TaggedValue(std::int32_t{-2}));
    EXPECT_EQ(ReadRaw(path_.c_str(), "n")->data, "\xFE\xFF\xFF\xFF"sv);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        LoadSetting(reg, kHkeyLocalMachine, path_.c_str(), "missing")));
    RegKey none = 1; // a create that fails gives no key to close
    EXPECT_NE(reg.CreateKeyEx(0x1234, "x", 0, kSettingsAccess, &none, nullptr), kErrorSuccess);
    EXPECT_EQ(none, RegKey{0});
}

// The one test on the program's own key: what it held is put back after.
TEST_F(RegistryWin32, ProgramKeyGetsItsDefaultsUnderLocalMachine) {
    struct Saved {
        const char* name;
        std::optional<RawValue> value = ReadRaw(kSettingsKeyPath, name);
        ~Saved() {
            if (value)
                PutRaw(kSettingsKeyPath, name, value->kind, value->data);
            else
                RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, name);
        }
    } saved[] = {{"Clr_Labels"}, {"Clr_Calendar"}};
    for (const Saved& s : saved)
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, s.name);

    Win32Registry reg;
    Settings().Load(reg, kDefaultSettings);
    ExpectStoredText("SOFTWARE\\Mivra", "Clr_Labels", "8421376");
    ExpectStoredText("SOFTWARE\\Mivra", "Clr_Calendar", "16777215");
}

} // namespace
} // namespace mivra
