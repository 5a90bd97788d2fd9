// The refusals and failures that disable, enable and delete show for registry and startup-folder
// items alike; each change they report either happened whole or not at all.
#pragma once

#include "system/App.h"
#include "system/Seam.h"

#include <windows.h>
#include <string>

namespace ParkingMessages {

inline constexpr wchar_t kStartupStart[] = L"The Startup ";
inline constexpr wchar_t kAlreadyParkedStart[] = L"A disabled Startup named ";
inline constexpr wchar_t kAlreadyParkedEnd[] =
    L" already exists.  Enable or delete it first; this Startup was left as it is.     ";
inline constexpr wchar_t kDisableFailedEnd[] = L" could not be disabled.  It was left as it is.     ";
inline constexpr wchar_t kEnableFailedEnd[] = L" could not be enabled.  It was left disabled.     ";
inline constexpr wchar_t kDeleteFailedEnd[] = L" could not be deleted.     ";
inline constexpr wchar_t kNotInKeyEnd[] = L" was not found in its registry key.  Nothing was changed.     ";
inline constexpr wchar_t kNotInFolderEnd[] = L" was not found in its folder.  Nothing was changed.     ";
inline constexpr wchar_t kChangedEnd[] = L" has changed since you were asked about it.  Nothing was deleted.     ";

// Shows text with the exclamation icon, an OK button and the program's title.
inline void Refuse(HWND owner, const std::wstring& text) {
    Seam::ShowMessage(owner, text, App::Title(), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace ParkingMessages
