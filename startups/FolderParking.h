// Parking of startup-folder shortcuts: the "Startups" folder beside the program and its records
// under the settings key, the file steps that never lose a shortcut, and the delete of one item
// that the menu, the Delete key and frmDelete2 share.
#pragma once

#include <windows.h>
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

// Deletes the item of row by its state: a live row's file in its Startup folder, or a parked
// row's file and record; then its first-seen date unless another startup of that name is still
// listed. The other state's file of the same name stays.
// On a failure it tells the user and keeps the record and the date; false then, and for rows
// that are no folder item.
bool DeleteItem(HWND owner, const Form1& form, HWND list, int row);

} // namespace FolderParking
