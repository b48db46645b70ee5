#include "settings/registry.h"

#include <array>
#include <charconv>
#include <limits>
#include <string_view>

#include "base/decimal.h"
#include "base/trace.h"

namespace mivra {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
    // Other tools may have stored the terminating NUL, or more after it.
    text = text.substr(0, text.find('\0'));
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    // from_chars takes a minus but no plus.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || !IsDigit(text.front())) return std::nullopt;
    }
    std::int32_t n = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, n);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return n;
}

} // namespace

void ScopedRegKey::Reset() {
    if (key_ != 0) api_.CloseKey(key_);
    key_ = 0;
}

std::optional<std::int32_t> ToInt32(const TaggedValue& value) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return *n;
    if (const auto* text = std::get_if<std::string>(&value)) return ParseWholeNumber(*text);
    return std::nullopt;
}

std::optional<Color> ToColor(const TaggedValue& value) {
    const auto n = ToInt32(value);
    if (!n || *n < 0 || static_cast<Color>(*n) > kMaxColor) return std::nullopt;
    return static_cast<Color>(*n);
}

RegStatus WriteTypedValue(RegistryApi& api, RegKey key, const char* name, std::uint32_t kind,
                          const TaggedValue& value) {
    if (std::holds_alternative<std::monostate>(value)) return kErrorInvalidParameter;
    if (kind == kRegSz) {
        const auto* given = std::get_if<std::string>(&value);
        const std::string text = given ? *given : Decimal(std::get<std::int32_t>(value));
        if (text.size() > std::numeric_limits<std::uint32_t>::max()) return kErrorInvalidParameter;
        // The characters only: the byte count leaves out the NUL.
        return api.SetValueEx(key, name, kRegSz, reinterpret_cast<const std::uint8_t*>(text.data()),
                              static_cast<std::uint32_t>(text.size()));
    }
    if (kind == kRegDword) {
        const auto n = ToInt32(value);
        if (!n) return kErrorInvalidParameter;
        const auto u = static_cast<std::uint32_t>(*n);
        const std::array<std::uint8_t, 4> bytes = {
            static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
            static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
        return api.SetValueEx(key, name, kRegDword, bytes.data(), 4);
    }
    return kStatusUnsupportedKind;
}

ReadResult ReadTypedValue(RegistryApi& api, RegKey key, const char* name) {
    std::uint32_t kind = 0;
    std::uint32_t size = 0;
    const RegStatus probe = api.QueryValueEx(key, name, &kind, nullptr, &size);
    if (probe != kErrorSuccess) return {probe, {}};

    if (kind == kRegSz) {
        std::string text(size, '\0');
        std::uint32_t got = size;
        std::uint32_t kindNow = 0;
        const RegStatus status = api.QueryValueEx(
            key, name, &kindNow, reinterpret_cast<std::uint8_t*>(text.data()), &got);
        if (status != kErrorSuccess) return {status, {}};
        // Rewritten as something else between the two calls: not text after all.
        if (kindNow != kRegSz) return {kStatusUnsupportedKind, {}};
        text.resize(got < size ? got : size);
        // The terminator is no part of the text, whether the data carried it
        // or the call added it where the buffer had room.
        while (!text.empty() && text.back() == '\0')
            text.pop_back();
        return {status, std::move(text)};
    }
    if (kind == kRegDword) {
        std::array<std::uint8_t, 4> bytes{};
        std::uint32_t got = static_cast<std::uint32_t>(bytes.size());
        const RegStatus status = api.QueryValueEx(key, name, nullptr, bytes.data(), &got);
        if (status != kErrorSuccess) return {status, {}};
        // A REG_DWORD stored with fewer bytes would leave part of the number unread.
        if (got != bytes.size()) return {kErrorInvalidData, {}};
        const std::uint32_t u =
            bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
        return {status, static_cast<std::int32_t>(u)};
    }
    return {kStatusUnsupportedKind, {}};
}

void CreateRegistryKey(RegistryApi& api, RegKey root, const char* path) {
    ScopedRegKey key(api);
    const RegStatus status = api.CreateKeyEx(root, path, 0, kSettingsAccess, key.Put(), nullptr);
    if (status != kErrorSuccess) TraceFailure("RegCreateKeyExA", path, status);
}

RegStatus StoreSetting(RegistryApi& api, RegKey root, const char* path, const char* name,
                       const TaggedValue& value, std::uint32_t kind) {
    ScopedRegKey key(api);
    const RegStatus opened = api.OpenKeyEx(root, path, 0, kSettingsAccess, key.Put());
    if (opened != kErrorSuccess) return opened;
    return WriteTypedValue(api, key.Get(), name, kind, value);
}

TaggedValue LoadSetting(RegistryApi& api, RegKey root, const char* path, const char* name) {
    ScopedRegKey key(api);
    RegStatus opened = api.OpenKeyEx(root, path, 0, kSettingsAccess, key.Put());
    // An account that may not write the key can still see what an
    // administrator chose.
    if (opened == kErrorAccessDenied) opened = api.OpenKeyEx(root, path, 0, kKeyRead, key.Put());
    if (opened != kErrorSuccess) return {};
    return ReadTypedValue(api, key.Get(), name).value;
}

} // namespace mivra
