// The registry files of the backup of all startups: "RegKeys.reg", assembled from the system's
// own exports of the Run keys and the services key, and "WL.reg", the Winlogon "Userinit" value
// in the REGEDIT4 form; and their import by the registry editor.
#pragma once

#include "system/Registry.h"

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
    // The 32-bit programs' keys on 64-bit Windows, by their real path; absent elsewhere.
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run\\",
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\",
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx\\",
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
// WL.reg for a "Userinit" value. A REG_SZ text that the ANSI code page holds whole, without a line
// break, is written as REGEDIT4 in that code page, as earlier versions wrote it; any other value in
// the UTF-16 Version 5.00 form with its type and bytes as hex, which gives it back byte for byte.
[[nodiscard]] std::string UserinitRegFile(const Registry::Value& userinit);
// The "Userinit" value a WL.reg of either form gives the registry editor (a REGEDIT4 string read by
// its rules); nullopt unless the file holds the Winlogon key with this one REG_SZ or REG_EXPAND_SZ.
[[nodiscard]] std::optional<Registry::Value> ReadUserinitReg(const std::string& bytes);
// True when the first program of a "Userinit" text (before its first ",") is an existing
// userinit.exe; a bare name is looked for in the system folder.
[[nodiscard]] bool StartsWithUserinit(std::wstring_view userinit);

// Imports folder\RegKeys.reg, then folder\WL.reg when it holds a sound "Userinit", each awaited
// under the time limit. Every value of RegKeys.reg and "Userinit" are read back after their
// import: a file the editor cannot read, a line of it that is no registry entry, a key outside the
// backed-up ones and a value that does not read as the file gives it are named in failures. A
// backup without WL.reg (it had no "Userinit") imports only RegKeys.reg.
void RestoreRegKeys(const std::wstring& folder, Failures& failures);

} // namespace modRegKeys
