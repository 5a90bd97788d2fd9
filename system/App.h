// Facts about the running program: its title, folder, version and settings key.
#pragma once

#include <string>

namespace App {

[[nodiscard]] const std::wstring& Title();        // "Corvell"
[[nodiscard]] std::wstring Path();                // folder of the program file, no trailing "\"
[[nodiscard]] std::wstring ExeName();             // full path of the program file
// The folders beside the program file, made at every load when missing.
[[nodiscard]] std::wstring ParkedFolder();        // "Startups": parked startup-folder shortcuts
[[nodiscard]] std::wstring BackupFolder();        // "Backups": the backup of all startups
// The first two numbers of the program file's version resource (0 when it has none).
[[nodiscard]] int Major();
[[nodiscard]] int Minor();
[[nodiscard]] int Revision();
// "HKEY_LOCAL_MACHINE\Software\Ferrowyn\Corvell": every setting of the program lives here.
[[nodiscard]] const std::wstring& AppKey();
[[nodiscard]] const std::wstring& MakerKey();     // "HKEY_LOCAL_MACHINE\Software\Ferrowyn"
// AppKey() + "\" + subKey, for one of the SubKey names below.
[[nodiscard]] std::wstring SubKeyPath(const wchar_t* subKey);
// The same below HKEY_LOCAL_MACHINE ("Software\Ferrowyn\Corvell\" + subKey), for the calls that
// take a root and a sub-key.
[[nodiscard]] std::wstring MachineSubKey(const wchar_t* subKey);

// The values of AppKey; every one is a string.
namespace Value {
inline constexpr wchar_t kState[] = L"State";          // window state: "0" normal, "1" minimized, "2" maximized
inline constexpr wchar_t kWidth[] = L"Width";          // outer geometry in twips, written in the normal state
inline constexpr wchar_t kHeight[] = L"Height";
inline constexpr wchar_t kLeft[] = L"Left";
inline constexpr wchar_t kTop[] = L"Top";
inline constexpr wchar_t kSorted[] = L"Sorted";        // services list order: "0" display name, "1" service name
inline constexpr wchar_t kBackup[] = L"Backup";        // "1" once the first-run backup question was answered
inline constexpr wchar_t kConfirmed[] = L"Confirmed";  // "1": the delete dialogs ask no more
inline constexpr wchar_t kSysWarn[] = L"SysWarn";      // "1" once the legacy-file warning was shown
inline constexpr wchar_t kLvDT[] = L"lvDT";            // "1" once the services' first-seen dates were stored
inline constexpr wchar_t kLv2DT[] = L"lv2DT";          // "1" once the startups' first-seen dates were stored
} // namespace Value

// The sub-keys of AppKey, made at every load when missing.
namespace SubKey {
inline constexpr wchar_t kDisabled[] = L"Disabled";               // parked registry startups
inline constexpr wchar_t kStartups[] = L"Startups";               // where parked startup-folder shortcuts came from
inline constexpr wchar_t kDates[] = L"Dates";                     // first-seen dates of services
inline constexpr wchar_t kStartupDates[] = L"Dates\\Startups";    // first-seen dates of startups
inline constexpr wchar_t kBackups[] = L"Backups";                 // where the backed-up shortcuts came from
// Not made on the first run: the records of a backup being made, until they replace "Backups".
inline constexpr wchar_t kBackupsStaging[] = L"Backups.new";
} // namespace SubKey
// Creates the maker's key, AppKey and the SubKey keys, those that are missing; existing keys
// stay as they are. True when all of them exist afterwards.
bool CreateSettingsKeys();

} // namespace App
