// The running Windows product, by the name its version key stores ("Microsoft Windows XP").
#pragma once

#include <string>
#include <string_view>

namespace WindowsVersion {

inline constexpr wchar_t kVersionKey[] = L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr wchar_t kProductNameValue[] = L"ProductName";

// "ProductName" of kVersionKey as stored; "Error" when it cannot be read.
[[nodiscard]] std::wstring ProductName();
// True when ProductName() holds part, case ignored.
[[nodiscard]] bool ProductContains(std::wstring_view part);

} // namespace WindowsVersion
