// Word-list tests, the Windows, system and special folders, and path taking-apart.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace MyMod {

// Mode 1: every word occurs in text; mode 2: at least one does; any other mode: false.
// Occurs means an exact substring match, case included.
[[nodiscard]] bool InStrArray(short mode, const std::wstring& text, const std::vector<std::wstring>& words);
[[nodiscard]] std::wstring GetWindowsDir();   // no trailing "\"; "" on failure
[[nodiscard]] std::wstring GetSystemDir();
// The system's own part of Winlogon's "Userinit": the system folder and "\userinit.exe,".
// The Winlogon view strips it (case ignored) and the Winlogon reset writes it.
[[nodiscard]] std::wstring StandardUserinit();
// A normal, hidden or system file (not a folder) matches the path, wildcards allowed; "" gives false.
[[nodiscard]] bool FileExists(const std::wstring& path);
// The whole file as bytes (others may hold it open for reading or writing); nullopt when it
// cannot be opened or read.
[[nodiscard]] std::optional<std::string> ReadWholeFile(const std::wstring& path);
// Any entry, file or folder, matches the path.
[[nodiscard]] bool FolderExists(const std::wstring& path);
// The short form of an existing path of any length; "" when it cannot be converted.
[[nodiscard]] std::wstring GetShortName(const std::wstring& path);
// C:\Tools\App\run.exe gives C:\Tools\App (keepDrive) or Tools\App (not).
[[nodiscard]] std::wstring GetParentFolder(const std::wstring& path, bool keepDrive);
[[nodiscard]] std::wstring GetFileName(const std::wstring& path);
// The text with every %NAME% of the environment put in; unknown names stay as they are.
[[nodiscard]] std::wstring ExpandEnvironment(const std::wstring& text);
// The folder to open for a program path, environment variables expanded: the text before its
// last "\" ("C:\" for a program in a drive's root). "" unless that names an existing folder by a
// full path (drive or network), so the shell is never handed a file or a bare name to run.
[[nodiscard]] std::wstring FolderToOpen(const std::wstring& program);

} // namespace MyMod

namespace modSpecialFolder {

inline constexpr int kUserStartup = 7;     // CSIDL_STARTUP
inline constexpr int kCommonStartup = 24;  // CSIDL_COMMON_STARTUP
// The numbered special folder's path, "" when it has none.
[[nodiscard]] std::wstring GetSpecialFolder(int folder);

} // namespace modSpecialFolder
