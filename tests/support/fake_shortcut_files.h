// The file system and shell as the "run at log-on" check box sees them:
// files by path, every change recorded, and writes that can be made to fail.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "settings/shortcuts.h"

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

} // namespace mivra::test
