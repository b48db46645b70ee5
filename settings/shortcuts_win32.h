// The shell services on the real shell and file system: known folders,
// normal-file tests, shell links written through IShellLinkW and
// IPersistFile, the file delete behind the check box's untick, and the
// shell's "open" of the options window's links.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/shortcuts.h"

namespace mivra {

// The current user's folder for a location code (0 Desktop, 1 Programs,
// 2 Start Menu, 3 Startup), as the shell gives it, normally without a final
// backslash. Empty for any other code (the shell is not asked) and for a
// folder the shell cannot give. A folder the user has deleted is still
// named, since Windows makes it again on demand; `create` makes it now.
std::wstring GetSpecialFolderPath(ShortcutLocation location, bool create = false);

// True only for an existing normal file: hidden files, system files, folders
// and devices count as absent, and so does every path that cannot be looked
// at (bad path, missing drive, unreadable folder) or holds a pattern.
bool FileExists(const std::wstring& path);

// The contents of a shell link, already in the shell's own terms.
struct ShellLinkProperties {
    std::wstring target;
    std::wstring workingFolder;
    std::wstring description;
    int showCommand = kShowNormal; // no hot key, the target's own icon
};

// Writes a shell link at exactly linkPath (its folder must exist), entering
// the program's apartment first if need be. False when the link object or
// the save fails.
bool SaveShellLink(const std::wstring& linkPath, const ShellLinkProperties& link);

// Makes folder\title.lnk in the request's location. False when nothing
// usable was written: unknown location, unusable title, or a failure of the
// shell.
bool CreateShellShortcut(const ShortcutRequest& request);

// Deletes one file; false when it could not (missing, read-only, in use).
bool DeleteShortcutFile(const std::wstring& path);

// The running program's full path, however long: GetModuleFileNameW's
// answer, asked again with more room while it fills the buffer (a test
// stands in for the call).
std::wstring ProgramFilePath(DWORD(WINAPI* moduleFileName)(HMODULE, LPWSTR,
                                                           DWORD) = GetModuleFileNameW);

// The options window's load steps: nothing when there is no Startup folder.
std::optional<ShortcutPaths> LoadShortcutPaths();

// The shell's "open" of an address or a mail link.
class ShellLinks final : public LinkOpener {
public:
    void Open(std::wstring_view target) override;
};

// The check box's view of the real file system and shell.
class Win32ShortcutFiles final : public ShortcutFiles {
public:
    bool FileExists(const std::wstring& path) override;
    bool CreateShortcut(const ShortcutRequest& request) override;
    bool RemoveFile(const std::wstring& path) override;
};

} // namespace mivra
