// Parking of registry startups: the "Disabled" store under the settings key, where a row of
// lv2 came from, and the delete of one startup that the menu, the Delete key and frmDelete share.
#pragma once

#include <windows.h>
#include <optional>
#include <string>

#include "resources/Images.h"
#include "startups/RunKeys.h"
#include "system/Registry.h"

namespace RegistryParking {

using RunKeys::kRunKey;
using RunKeys::kRunOnceKey;
using RunKeys::kRunOnceExKey;
inline constexpr wchar_t kHklmRunText[] = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kHklm32RunText[] = L"HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kHkcuRunText[] = L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kHklmRunPath[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kHkcuRunPath[] = L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// Between the hive and the command in a record's data.
inline constexpr wchar_t kRecordSeparator = L'^';
// The hive part of a record of an entry of the machine's 32-bit Run key. Every record made before
// such records were has its first "^" within its first five characters (a hive has four), so
// none of them begins "HKLM32^".
inline constexpr wchar_t kHklm32Hive[] = L"HKLM32";

// The icons of startup rows.
using Images::kIconEnabled;
using Images::kIconEnabledRunning;
using Images::kIconDisabled;
using Images::kIconDisabledRunning;

// The registry key a row of lv2 names in its "Registry Key or User Path" column, when that is
// one of the five Run keys ("HKLM\SOFTWARE\...\Run") or, on 64-bit Windows, one of the machine's
// three in the 32-bit view ("HKLM\SOFTWARE\WOW6432Node\...\Run"); nullopt for folder, Winlogon
// and file rows.
struct RowKey {
    HKEY root = nullptr;
    std::wstring hive;     // the column's first four characters as written ("HKLM")
    std::wstring subKey;   // "SOFTWARE\Microsoft\Windows\CurrentVersion\Run", in either view
    Registry::View view = Registry::View::kOwn;  // k64 or k32 for the machine's keys
    bool isRun = false;    // the hive's Run key (not RunOnce or RunOnceEx)
};
[[nodiscard]] std::optional<RowKey> ParseRowKey(const std::wstring& keyColumn);

// "Software\Ferrowyn\Corvell\Disabled" and "...\Dates\Startups" under HKEY_LOCAL_MACHINE.
[[nodiscard]] std::wstring DisabledSubKey();
[[nodiscard]] std::wstring StartupDatesSubKey();

// The command of a record's data: the text after its first "^" (the whole text without one).
[[nodiscard]] std::wstring RecordCommand(const std::wstring& recordData);

// The Run key a record's entry is enabled into: the machine's 32-bit view's when the data begins
// kHklm32Hive and "^", else the machine's when it begins "HKLM" (case ignored), else the user's.
struct RecordHome {
    HKEY root = nullptr;
    Registry::View view = Registry::View::kOwn;
    const wchar_t* keyText = nullptr;  // the key column of its row in "Disabled Startups"
};
[[nodiscard]] RecordHome HomeOf(const std::wstring& recordData);

// True when the value is not there, nor perhaps its key; false when it is, or when that cannot
// be told (the key is there but cannot be read: access denied).
[[nodiscard]] bool IsGone(HKEY root, const std::wstring& subKey, const std::wstring& name,
                          Registry::View view = Registry::View::kOwn);
// Deletes a value. One that is gone, or never was (its key missing too), counts as deleted; a
// key or value that is there but cannot be read (access denied) does not.
[[nodiscard]] bool DeleteIfPresent(HKEY root, const std::wstring& subKey, const std::wstring& name,
                                   Registry::View view = Registry::View::kOwn);

// What a delete would remove for a row of lv2: the value in its own Run key (enabled rows,
// icon 1 or 2), its record in "Disabled" (parked rows, icon 3 or 9), or nothing.
enum class DeleteTarget { None, RunValue, Record };
[[nodiscard]] DeleteTarget TargetOf(HWND list, int row);

// A startup as it stood when a delete was asked for: the value TargetOf names for its row, and
// the data that value held then.
struct StartupEntry {
    HKEY root = nullptr;
    std::wstring subKey;                    // the row's own Run key, or the "Disabled" store
    Registry::View view = Registry::View::kOwn;  // the view of a machine's Run key
    std::wstring name;                      // the row's text
    std::optional<Registry::Value> value;   // nullopt: there was no such value
};
// The entry of a row of lv2 now; nullopt for rows that have nothing to delete.
[[nodiscard]] std::optional<StartupEntry> EntryOf(HWND list, int row);
// When the entry's value is gone now (deleted or renamed from outside), tells the user it was not
// found and gives true.
bool ReportIfGone(HWND owner, const StartupEntry& entry);
// True when the entry's value still has the type and bytes it had then (or is still missing).
[[nodiscard]] bool StillHolds(const StartupEntry& entry);

// Deletes the entry's value, then its first-seen date unless another startup of that name is
// still listed. On a failure it tells the user and keeps the date; false then.
bool DeleteStartup(HWND owner, const StartupEntry& entry);

} // namespace RegistryParking
