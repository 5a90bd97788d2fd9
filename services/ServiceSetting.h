// The startup type of a service as the services view and its properties dialog name it, and
// the report of a type the service manager refused.
#pragma once

#include <windows.h>
#include <string>

namespace ServiceSetting {

// "Automatic", "Manual" or "Disabled" for SERVICE_AUTO_START, SERVICE_DEMAND_START, SERVICE_DISABLED.
[[nodiscard]] const wchar_t* Name(DWORD startType);
// "<display name> could not be set to <setting>.  <the system's text for error>     ".
[[nodiscard]] std::wstring RefusedMessage(const std::wstring& displayName, DWORD startType, DWORD error);

} // namespace ServiceSetting
