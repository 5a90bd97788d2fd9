// The registry files of the backup of all startups: "RegKeys.reg", assembled from the system's
// own exports of the Run keys and the services key, and "WL.reg", the Winlogon "Userinit" value
// in the REGEDIT4 form; and their import by the registry editor.
#pragma once

#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace modRegKeys {

inline constexpr wchar_t kRegKeysFile[] = L"RegKeys.reg";
inline constexpr wchar_t kUserinitFile[] = L"WL.reg";
// The keys RegKeys.reg holds, in its order.
inline constexpr const wchar_t* kBackedUpKeys[] = {
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\",
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\",
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\",
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\",
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx\\",
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\",
};
// How long one export or import may run; one still running then is ended and counts as failed.
inline constexpr DWORD kProcessTimeLimitMs = 60000;

// What failed, one line per part, for the message that ends a backup or a restore.
using Failures = std::vector<std::wstring>;

// The export file of a key: the key with every "\" made "_", and ".reg".
[[nodiscard]] std::wstring ExportFileName(std::wstring_view key);
// The command line that exports key into file ("reg.exe EXPORT key file", "/y" where reg.exe
// knows it).
[[nodiscard]] std::wstring ExportCommand(std::wstring_view key, const std::wstring& file);

// Writes folder\RegKeys.reg: UTF-16LE with its byte-order mark, the version line, then each
// existing key's export without its header line. Each export is written into folder, which must
// hold none of them (a fresh folder), and removed once appended. A key that does not exist is
// left out; the first export that fails ends the work, and RegKeys.reg is then not written.
// between runs after each export (the window's pending messages).
void BackupRegKeys(const std::wstring& folder, Failures& failures, const std::function<void()>& between = {});

// A text in a REGEDIT4 string: "\" and '"' escaped.
[[nodiscard]] std::wstring Regedit4String(std::wstring_view text);
// WL.reg for a "Userinit" text, in the ANSI code page; nullopt when the text holds a line break or
// a character the code page cannot hold, which the file could not give back.
[[nodiscard]] std::optional<std::string> UserinitRegFile(std::wstring_view userinit);
// The "Userinit" text a WL.reg gives the registry editor, read by REGEDIT4 rules; nullopt unless the
// file holds the Winlogon key with this one string value.
[[nodiscard]] std::optional<std::wstring> ReadUserinitReg(const std::string& bytes);
// True when the first program of a "Userinit" text (before its first ",") is an existing
// userinit.exe; a bare name is looked for in the system folder.
[[nodiscard]] bool StartsWithUserinit(std::wstring_view userinit);

// Imports folder\RegKeys.reg, then folder\WL.reg when it holds a sound "Userinit", each awaited
// under the time limit; the Run keys' values and "Userinit" are read back after their import, and
// each that does not read as its file gives it is named in failures. A backup without WL.reg (it
// had no "Userinit") imports only RegKeys.reg.
void RestoreRegKeys(const std::wstring& folder, Failures& failures);

} // namespace modRegKeys
