// The Run keys whose values are registry startups, below HKLM (in both its views) or HKCU, the
// hive texts of the "Registry Key or User Path" column, and Winlogon's value of programs run at logon.
#pragma once

namespace RunKeys {

inline constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr wchar_t kRunOnceExKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";
// Where 64-bit Windows keeps the machine's keys above for 32-bit programs: the real path their
// rows show and the registry editor opens; the program opens them with KEY_WOW64_32KEY.
inline constexpr wchar_t kRun32Key[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunOnce32Key[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr wchar_t kRunOnceEx32Key[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";
inline constexpr wchar_t kHklmPrefix[] = L"HKLM\\";
inline constexpr wchar_t kHkcuPrefix[] = L"HKCU\\";
inline constexpr wchar_t kWinlogonKey[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
inline constexpr wchar_t kUserinitValue[] = L"Userinit";

} // namespace RunKeys
