// What one row of the services list shows, worked out from the service's registry key and
// the first-seen records: setting, dependencies both ways, program path, first-seen date.
#pragma once

#include <windows.h>
#include <optional>
#include <string>
#include <vector>

#include "resources/Images.h"

namespace ServiceRows {

inline constexpr wchar_t kServicesSubKey[] = L"SYSTEM\\CurrentControlSet\\Services\\";
// A service's key is this followed by its name; its description is the value kDescriptionValue.
inline constexpr wchar_t kServicesKey[] = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";
inline constexpr wchar_t kDescriptionValue[] = L"Description";

// Columns of lv, by their place in a row.
namespace LvColumns {
inline constexpr int kColDisplayName = 0;
inline constexpr int kColServiceName = 1;
inline constexpr int kColStatus = 2;
inline constexpr int kColSetting = 3;
inline constexpr int kColDependsOn = 4;
inline constexpr int kColDependants = 5;
inline constexpr int kColPath = 6;
inline constexpr int kColFirstSeen = 7;
inline constexpr int kColumnCount = 8;
} // namespace LvColumns

inline constexpr wchar_t kAutomatic[] = L"Automatic";
inline constexpr wchar_t kManual[] = L"Manual";
inline constexpr wchar_t kDisabled[] = L"Disabled";
inline constexpr wchar_t kNoDependency[] = L"No Dependency";
inline constexpr wchar_t kNoDependants[] = L"None";
inline constexpr wchar_t kPathNotFound[] = L"Path Not Found";
inline constexpr wchar_t kStartUnreadable[] = L"Error";

// Icons of a service row.
using Images::kIconServiceManual;
using Images::kIconServiceAutomatic;
using Images::kIconServiceDisabled;
using Images::kIconServiceManualRunning;

// The three values of a service key, each read once; any length.
struct RegistryFacts {
    std::optional<long> start;                 // "Start", only when a REG_DWORD of four bytes
    std::optional<std::wstring> dependOn;      // "DependOnService" as stored, its terminating NUL dropped
    std::optional<std::wstring> imagePath;     // "ImagePath" unexpanded
};

// Reads a service key's values into reusable storage: one open per service.
class FactsReader {
public:
    [[nodiscard]] RegistryFacts Read(const std::wstring& serviceName);

private:
    bool Query(HKEY key, const wchar_t* name, DWORD& type);
    std::vector<BYTE> buffer_ = std::vector<BYTE>(1024);
    DWORD size_ = 0;
};

// "Setting" and the icon for a "Start" value: 2 Automatic, 3 Manual, 4 Disabled, any other
// number as itself with the manual icon; an unreadable value shows "Error".
struct Setting {
    std::wstring text;
    int icon = kIconServiceManual;
};
[[nodiscard]] Setting SettingOf(const std::optional<long>& start);

// True for the product names of Windows 7 and Vista, whose "Depends on Service" is read as one
// text and whose services keep no readable description of their own.
[[nodiscard]] bool IsSevenOrVista(const std::wstring& productName);
// The strings of a "DependOnService" text, split at every NUL (the one after the last string
// gives a last empty element, as the value's list reads).
[[nodiscard]] std::vector<std::wstring> SplitDependencies(const std::wstring& stored);
// The "Depends on Service" cell: the strings joined by ", ", or "No Dependency".
[[nodiscard]] std::wstring DependsCell(const std::optional<std::wstring>& stored, bool asText);
// The same from a stored value already split.
[[nodiscard]] std::wstring DependsCell(const std::wstring& stored, const std::vector<std::wstring>& items, bool asText);
// The "Service Path" cell: "%SystemRoot%" (any case) replaced by the Windows folder, double
// quotes removed, "svchost " (any case) made "svchost.exe "; "Path Not Found" without a value.
[[nodiscard]] std::wstring PathCell(const std::optional<std::wstring>& imagePath, const std::wstring& windowsDir);

// For each service, in the order given, the names of the services that list it in their
// "DependOnService" (the name compared whole, case ignored), joined by ", " in that same
// order; "None" when there are none.
struct DependencyEntry {
    std::wstring name;
    std::vector<std::wstring> dependOn;
};
[[nodiscard]] std::vector<std::wstring> DependantsCells(const std::vector<DependencyEntry>& services);

} // namespace ServiceRows
