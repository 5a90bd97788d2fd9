// Parking of startup-folder shortcuts: the "Startups" folder beside the program and its records
// under the settings key, the file steps that never lose a shortcut, and the delete of one item
// that the menu, the Delete key and frmDelete2 share.
#pragma once

#include "system/Registry.h"

#include <windows.h>
#include <optional>
#include <string>
#include <vector>

class Form1;

namespace FolderParking {

// "Software\Ferrowyn\Corvell\Startups" under HKEY_LOCAL_MACHINE: one record per parked file,
// named after the file ("App.lnk"), its data the full path the file had in its Startup folder.
[[nodiscard]] std::wstring StartupsSubKey();
// The path a parked file of that name has in the folder "Startups" beside the program.
[[nodiscard]] std::wstring ParkedPath(const std::wstring& fileName);
// A row's name: the file's name with every ".lnk" removed, case ignored (My.lnk.lnk gives My).
[[nodiscard]] std::wstring ShownName(const std::wstring& fileName);

// The Startup folder which (modSpecialFolder::kCommonStartup or kUserStartup) without trailing
// backslashes; "" when the system names none, so that no caller lists the drive's root instead.
[[nodiscard]] std::wstring StartupFolderPath(int which);
// Appends the names of the files directly in folder, hidden and system ones included, in the
// order the file system lists them; folders and the folder's own "desktop.ini" are skipped.
// A folder that is not there holds none. False, the last error set, when it cannot be listed whole.
[[nodiscard]] bool StartupFolderFiles(const std::wstring& folder, std::vector<std::wstring>& names);

// True when both files can be read and hold the same bytes.
[[nodiscard]] bool SameBytes(const std::wstring& a, const std::wstring& b);
// Copies from to a path that holds no file yet, with from's attributes, and reads the copy back;
// a copy that cannot be made whole is removed again. True when the checked copy is there.
[[nodiscard]] bool CopyChecked(const std::wstring& from, const std::wstring& to);

// A startup-folder item as it stood when a delete was asked for: by its row's state, a live
// row's file in its Startup folder, or a parked row's file and record, with what each held then.
// The other state's file of the same name is no part of it.
struct FolderEntry {
    std::wstring name;                       // the row's text
    std::wstring fileName;                   // "App.lnk"
    bool parked = false;
    std::wstring path;                       // the file a delete removes
    std::optional<std::string> bytes;        // its bytes; nullopt when it could not be read
    std::optional<Registry::Value> record;   // a parked item's record; nullopt for none
};
// The entry of a row of lv2 or lv3 now; nullopt for rows that are no folder item.
[[nodiscard]] std::optional<FolderEntry> EntryOf(const Form1& form, HWND list, int row);
// When nothing of the entry is left now (its file, and a parked item's record, deleted or renamed
// from outside), tells the user it was not found and gives true.
bool ReportIfGone(HWND owner, const FolderEntry& entry);
// True when the file (and the record of a parked item) still hold what they held then.
[[nodiscard]] bool StillHolds(const FolderEntry& entry);

// Deletes the entry's file, and the record of a parked one; then its first-seen date unless
// another startup of that name is still listed. On a failure it tells the user and keeps the
// record and the date; false then.
bool DeleteItem(HWND owner, const FolderEntry& entry);

} // namespace FolderParking
