// The Run keys whose values are registry startups, below HKLM or HKCU, the hive texts of the
// "Registry Key or User Path" column, and Winlogon's value of programs run at logon.
#pragma once

namespace RunKeys {

inline constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr wchar_t kRunOnceExKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";
inline constexpr wchar_t kHklmPrefix[] = L"HKLM\\";
inline constexpr wchar_t kHkcuPrefix[] = L"HKCU\\";
inline constexpr wchar_t kWinlogonKey[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
inline constexpr wchar_t kUserinitValue[] = L"Userinit";

} // namespace RunKeys
