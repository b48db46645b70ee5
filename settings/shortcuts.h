// The shell services the options window uses: the Startup shortcut (the path
// rules, the shortcut's properties, the shell's switch that can keep it from
// running and the decision behind the "run at log-on" check box) and the
// opening of links. Paths are wide texts throughout so that folder names
// outside the ANSI code page survive the trip to the shell.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/registry.h"

namespace mivra {

// A shell folder, by its code.
using ShortcutLocation = std::int32_t;
inline constexpr ShortcutLocation kLocationDesktop = 0;
inline constexpr ShortcutLocation kLocationPrograms = 1;
inline constexpr ShortcutLocation kLocationStartMenu = 2;
inline constexpr ShortcutLocation kLocationStartUp = 3;

inline constexpr std::wstring_view kShortcutTitle = L"Mivra";
inline constexpr std::wstring_view kLinkFileName = L"Mivra.lnk";
inline constexpr std::int16_t kShowNormal = 1;

// Trailing blanks removed, then one "\" appended unless the path already ends
// in one. An empty path becomes "\".
std::wstring WithTrailingBackslash(std::wstring_view path);

// True when the path holds a character the file search treats as a pattern
// (* ? and the DOS forms < > "), outside a leading "\\?\" prefix. Such a path
// must never stand for some other file that happens to match it.
bool HasWildcards(std::wstring_view path);

// folder\title.lnk, or an empty text when there is no folder or the title
// is not a plain file name (empty, or with a separator, a drive colon or a
// pattern character): a shortcut then has no place to go.
std::wstring LinkFilePath(std::wstring_view folder, std::wstring_view title);

// Everything a shortcut is made from.
struct ShortcutRequest {
    ShortcutLocation location = kLocationStartUp;
    std::wstring title;
    std::wstring target;
    std::wstring workingFolder;
    std::int16_t windowStyle = kShowNormal;
};

// What the options window knows once loaded, when there is a Startup folder.
struct ShortcutPaths {
    std::wstring StartupFolderPath; // ends in one backslash
    std::wstring ExeWork;           // the program's folder, ends in one backslash
    std::wstring ExePath;           // ExeWork + program name without extension + ".exe"
    std::wstring LinkFileName;      // StartupFolderPath + "Mivra.lnk"
};

// The paths from the Startup folder as the shell gives it and the running
// program's full path. Nothing when there is no Startup folder (the check
// box is then hidden) or the program path names no file.
std::optional<ShortcutPaths> ComputeShortcutPaths(std::wstring_view startupFolder,
                                                  std::wstring_view programPath);

// The one shortcut the program makes: "Mivra" in the Startup folder, a normal
// window, no hot key, the program's own icon.
ShortcutRequest StartupShortcutRequest(const ShortcutPaths& paths);

enum class ShortcutAction { Create, Delete, Nothing };

// The check box after a click against the file on disk: only a mismatch acts.
// An existing file is never rewritten, a missing one never deleted.
constexpr ShortcutAction DecideShortcutAction(bool ticked, bool fileExists) {
    if (ticked && !fileExists) return ShortcutAction::Create;
    if (!ticked && fileExists) return ShortcutAction::Delete;
    return ShortcutAction::Nothing;
}

// The file system and shell as the check box needs them.
class ShortcutFiles {
public:
    virtual ~ShortcutFiles() = default;
    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool CreateShortcut(const ShortcutRequest& request) = 0;
    virtual bool RemoveFile(const std::wstring& path) = 0;
};

// The shell's "open" of an address or a mailto: link; its result proves
// nothing, so there is none.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    virtual void Open(std::wstring_view target) = 0;
};

// Windows 8 and later let the user switch a Startup-folder item off (Task
// Manager; Settings, Apps, Startup) and keep the file: the shell records the
// state in a value named after the file, under this key of the current user.
// Its format is the shell's own and undocumented. All we rely on is that a
// REG_BINARY value whose first byte is odd marks the item off (the shell
// writes 12 bytes; we read up to 256); any other value, or none, leaves it
// on. Nothing here ever writes one. The key is one and the same for 32- and
// 64-bit programs, so no registry view is named.
inline constexpr const char* kStartupApprovedKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";
inline constexpr const char* kStartupApprovedName = "Mivra.lnk";

// What the check box shows: Windows will start the program at log-on, as
// the shortcut is there and not switched off.
bool StartsAtLogOn(const ShortcutPaths& paths, ShortcutFiles& files, RegistryApi& registry);

// Carries out a click on the check box: ticking switches the shortcut on
// and creates it when missing, clearing deletes it. Returns StartsAtLogOn
// afterwards, checked again, so the box shows the truth when anything failed
// (the key or value could not be read, or the off state not removed).
bool ApplyStartupChoice(bool ticked, const ShortcutPaths& paths, ShortcutFiles& files,
                        RegistryApi& registry);

} // namespace mivra
