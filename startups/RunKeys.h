// The Run keys whose values are registry startups, below HKLM or HKCU, and the hive texts
// of the "Registry Key or User Path" column.
#pragma once

namespace RunKeys {

inline constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr wchar_t kRunOnceExKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";
inline constexpr wchar_t kHklmPrefix[] = L"HKLM\\";
inline constexpr wchar_t kHkcuPrefix[] = L"HKCU\\";

} // namespace RunKeys
