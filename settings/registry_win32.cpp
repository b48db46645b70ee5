#include "settings/registry_win32.h"

#include <windows.h>

namespace mivra {

namespace {

// Predefined roots are sign-extended 32-bit values, so the same cast works
// for them and for handles the system gave us.
HKEY ToHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}
RegKey FromHkey(HKEY key) {
    return reinterpret_cast<RegKey>(key);
}

// DWORD is unsigned long: copy through it rather than alias std::uint32_t.
class DwordSlot {
public:
    explicit DwordSlot(std::uint32_t* target) : target_(target), value_(target ? *target : 0) {}
    ~DwordSlot() {
        if (target_) *target_ = value_;
    }
    DwordSlot(const DwordSlot&) = delete;
    DwordSlot& operator=(const DwordSlot&) = delete;
    DWORD* Get() { return target_ ? &value_ : nullptr; }

private:
    std::uint32_t* target_;
    DWORD value_;
};

} // namespace

RegStatus Win32Registry::CreateKeyEx(RegKey root, const char* subKey, std::uint32_t options,
                                     std::uint32_t access, RegKey* result,
                                     std::uint32_t* disposition) {
    HKEY opened = nullptr;
    DwordSlot created(disposition);
    const LSTATUS status = RegCreateKeyExA(ToHkey(root), subKey, 0, nullptr, options, access,
                                           nullptr, &opened, created.Get());
    *result = status == ERROR_SUCCESS ? FromHkey(opened) : 0;
    return status;
}

RegStatus Win32Registry::OpenKeyEx(RegKey root, const char* subKey, std::uint32_t options,
                                   std::uint32_t access, RegKey* result) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExA(ToHkey(root), subKey, options, access, &opened);
    *result = status == ERROR_SUCCESS ? FromHkey(opened) : 0;
    return status;
}

RegStatus Win32Registry::QueryValueEx(RegKey key, const char* name, std::uint32_t* kind,
                                      std::uint8_t* data, std::uint32_t* size) {
    DwordSlot type(kind);
    DwordSlot bytes(size);
    return RegQueryValueExA(ToHkey(key), name, nullptr, type.Get(), data, bytes.Get());
}

RegStatus Win32Registry::SetValueEx(RegKey key, const char* name, std::uint32_t kind,
                                    const std::uint8_t* data, std::uint32_t size) {
    return RegSetValueExA(ToHkey(key), name, 0, kind, data, size);
}

RegStatus Win32Registry::DeleteValue(RegKey key, const char* name) {
    return RegDeleteValueA(ToHkey(key), name);
}

RegStatus Win32Registry::CloseKey(RegKey key) {
    return RegCloseKey(ToHkey(key));
}

} // namespace mivra
