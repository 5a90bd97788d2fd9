// Names of the startup types and the report of a refused one.
#include "services/ServiceSetting.h"

#include "services/ServiceRows.h"
#include "system/Text.h"

namespace ServiceSetting {

namespace {

constexpr wchar_t kSettingRefused[] = L" could not be set to ";

} // namespace

const wchar_t* Name(DWORD startType) {
    switch (startType) {
    case SERVICE_AUTO_START: return ServiceRows::kAutomatic;
    case SERVICE_DISABLED: return ServiceRows::kDisabled;
    default: return ServiceRows::kManual;
    }
}

std::wstring RefusedMessage(const std::wstring& displayName, DWORD startType, DWORD error) {
    return displayName + kSettingRefused + Name(startType) + L".  " + Text::SystemMessage(error) + L"     ";
}

} // namespace ServiceSetting
