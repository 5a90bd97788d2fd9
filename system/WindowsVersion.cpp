// The Windows product name, read from the system's version key.
#include "system/WindowsVersion.h"

#include "system/Registry.h"
#include "system/Text.h"

namespace WindowsVersion {

std::wstring ProductName() { return General::GetStringValue(kVersionKey, kProductNameValue); }

bool ProductContains(std::wstring_view part) { return Text::ContainsNoCase(ProductName(), part); }

} // namespace WindowsVersion
