// The registry layer of the settings store (mdlRegistry): typed reads and
// writes over the ANSI registry calls, and the open-act-close operations the
// settings record (settings.h) moves its values with.
//
// The layer talks to RegistryApi, which mirrors the Reg*A functions with
// their statuses, value kinds and byte counts but no Windows types, so the
// same code runs against the real registry and an in-memory one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "base/color.h"

namespace mivra {

// HKEY and LSTATUS in portable form. A key handle is pointer-sized; the
// predefined roots are 32-bit values sign-extended as Windows does, so they
// convert to the same HKEY in 32- and 64-bit builds.
using RegKey = std::intptr_t;
using RegStatus = std::int32_t;

inline constexpr RegKey kHkeyCurrentUser = static_cast<std::int32_t>(0x80000001);
inline constexpr RegKey kHkeyLocalMachine = static_cast<std::int32_t>(0x80000002);

inline constexpr RegStatus kErrorSuccess = 0;
inline constexpr RegStatus kErrorFileNotFound = 2;
inline constexpr RegStatus kErrorAccessDenied = 5;
inline constexpr RegStatus kErrorInvalidHandle = 6;
inline constexpr RegStatus kErrorInvalidData = 13;
inline constexpr RegStatus kErrorInvalidParameter = 87;
inline constexpr RegStatus kErrorMoreData = 234;
// Our own status for a value kind this layer does not read or write.
inline constexpr RegStatus kStatusUnsupportedKind = -1;

// Value kinds.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Access rights.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyRead = 0x20019;
// Query, set, create sub-key, enumerate, notify and create link: everything
// the settings need, without the standard rights of KEY_ALL_ACCESS.
inline constexpr std::uint32_t kSettingsAccess = 0x3F;

// The registry functions the store and the Startup check box use. Each
// returns the call's status and fills its out-parameters the way the Reg*A
// function of the same name does; reserved arguments, class, and security
// attributes are always 0 and are left to the implementation. A failed open
// or create leaves *result 0; kind and disposition may be null.
class RegistryApi {
public:
    virtual ~RegistryApi() = default;
    virtual RegStatus CreateKeyEx(RegKey root, const char* subKey, std::uint32_t options,
                                  std::uint32_t access, RegKey* result,
                                  std::uint32_t* disposition) = 0;
    virtual RegStatus OpenKeyEx(RegKey root, const char* subKey, std::uint32_t options,
                                std::uint32_t access, RegKey* result) = 0;
    // data may be null to learn only the kind and the size.
    virtual RegStatus QueryValueEx(RegKey key, const char* name, std::uint32_t* kind,
                                   std::uint8_t* data, std::uint32_t* size) = 0;
    virtual RegStatus SetValueEx(RegKey key, const char* name, std::uint32_t kind,
                                 const std::uint8_t* data, std::uint32_t size) = 0;
    // Needs a key opened with kKeySetValue.
    virtual RegStatus DeleteValue(RegKey key, const char* name) = 0;
    virtual RegStatus CloseKey(RegKey key) = 0;
};

// An open key, closed when it goes out of scope.
class ScopedRegKey {
public:
    explicit ScopedRegKey(RegistryApi& api) : api_(api) {}
    ~ScopedRegKey() { Reset(); }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;

    RegKey Get() const { return key_; }
    explicit operator bool() const { return key_ != 0; }
    // For the out-parameter of an open or create; closes what was held.
    RegKey* Put() {
        Reset();
        return &key_;
    }
    void Reset();

private:
    RegistryApi& api_;
    RegKey key_ = 0;
};

// What a read hands back: nothing, a text, or a signed 32-bit integer.
using TaggedValue = std::variant<std::monostate, std::string, std::int32_t>;

struct ReadResult {
    RegStatus status = kErrorSuccess;
    TaggedValue value;
};

// The value as a whole 32-bit number: an integer as it is; a text holding
// plain decimal digits, with an optional sign and blanks around, the text
// ending at its first NUL. Anything else, and numbers that do not fit, give
// nothing.
std::optional<std::int32_t> ToInt32(const TaggedValue& value);

// The value as a colour: a number from 0 to 0x00FFFFFF. Out-of-range numbers
// are not colours; they are never truncated or wrapped.
std::optional<Color> ToColor(const TaggedValue& value);

// Writes the value to an open key as REG_SZ (decimal text for an integer,
// byte count without a NUL) or REG_DWORD (four bytes, little-endian).
// Other kinds, and values with no number for REG_DWORD, write nothing and
// return an error.
RegStatus WriteTypedValue(RegistryApi& api, RegKey key, const char* name, std::uint32_t kind,
                          const TaggedValue& value);

// Reads a REG_SZ or REG_DWORD value of an open key; other kinds give
// kStatusUnsupportedKind and nothing.
ReadResult ReadTypedValue(RegistryApi& api, RegKey key, const char* name);

// Creates the key and every missing level above it; an existing key is left
// as it is.
void CreateRegistryKey(RegistryApi& api, RegKey root, const char* path);

// Opens the key (without creating it), writes one value, closes the key.
// Returns the status of the open or of the write; callers need not look.
RegStatus StoreSetting(RegistryApi& api, RegKey root, const char* path, const char* name,
                       const TaggedValue& value, std::uint32_t kind);

// Opens the key, reads one value, closes the key. Nothing when the key or the
// value is missing or unreadable. A key the account may only read is read
// all the same.
TaggedValue LoadSetting(RegistryApi& api, RegKey root, const char* path, const char* name);

} // namespace mivra
