// Where the legacy start-up files live.
#pragma once

#include <string>
#include <string_view>

namespace SystemFiles {

// The file of that name (case ignored): "Win.ini" and "System.ini" in the Windows folder,
// "AutoExec.bat", "Boot.ini" and "Config.sys" in the root of the Windows drive; "" for another
// name or when the Windows folder is unknown.
[[nodiscard]] std::wstring LivePath(std::wstring_view name);

// The editor's SystemFileTag for the file of that name (case ignored): "bat", "boot", "sys",
// "ini2" or "ini"; "" for another name.
[[nodiscard]] std::wstring Tag(std::wstring_view name);

} // namespace SystemFiles
