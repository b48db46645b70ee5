// The registry calls of the settings store and the Startup check box, passed
// straight to the ANSI Reg*A functions of advapi32.
#pragma once

#include "settings/registry.h"

namespace mivra {

// Open to a test that watches the calls the program makes.
class Win32Registry : public RegistryApi {
public:
    RegStatus CreateKeyEx(RegKey root, const char* subKey, std::uint32_t options,
                          std::uint32_t access, RegKey* result,
                          std::uint32_t* disposition) override;
    RegStatus OpenKeyEx(RegKey root, const char* subKey, std::uint32_t options,
                        std::uint32_t access, RegKey* result) override;
    RegStatus QueryValueEx(RegKey key, const char* name, std::uint32_t* kind, std::uint8_t* data,
                           std::uint32_t* size) override;
    RegStatus SetValueEx(RegKey key, const char* name, std::uint32_t kind, const std::uint8_t* data,
                         std::uint32_t size) override;
    RegStatus DeleteValue(RegKey key, const char* name) override;
    RegStatus CloseKey(RegKey key) override;
};

} // namespace mivra
