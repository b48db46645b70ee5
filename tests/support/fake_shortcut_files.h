// The file system and shell as the "run at log-on" check box sees them:
// files by path, every change recorded, and writes that can be made to fail;
// and the shell's off switch as Windows leaves it in the registry.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "settings/shortcuts.h"
#include "tests/support/fake_registry.h"

namespace mivra::test {

class FakeShortcutFiles : public ShortcutFiles {
public:
    std::set<std::wstring> files;
    std::vector<ShortcutRequest> created;
    std::vector<std::wstring> removed;
    // Where a created shortcut lands: the Startup folder of the test's paths.
    std::wstring startupFolder = L"C:\\Startup";
    bool createWorks = true;
    bool removeWorks = true;

    bool FileExists(const std::wstring& path) override { return files.contains(path); }
    bool CreateShortcut(const ShortcutRequest& r) override {
        created.push_back(r);
        if (!createWorks) return false;
        files.insert(LinkFilePath(startupFolder, r.title));
        return true;
    }
    bool RemoveFile(const std::wstring& path) override {
        removed.push_back(path);
        return removeWorks && files.erase(path) == 1;
    }
};

// Where the in-memory registry keeps the shell's switch.
inline const std::string kApprovedKey = std::string("HKCU\\") + kStartupApprovedKey;

// The value as Task Manager leaves a switched-off item: a status whose first
// byte is odd, then when it was switched off (a FILETIME).
inline std::vector<std::uint8_t> OffState(std::uint8_t status = 0x03) {
    return {status, 0, 0, 0, 0x00, 0x80, 0x3E, 0xD5, 0xDE, 0xB1, 0xDA, 0x01};
}

inline void SwitchOffInShell(FakeRegistry& registry, const char* name = kStartupApprovedName) {
    registry.PutValue(kApprovedKey, name, kRegBinary, OffState());
}

} // namespace mivra::test
