// Registry access by full key path ("HKEY_LOCAL_MACHINE\Software\..."), and the typed
// value reads and writes the startup lists need.
#pragma once

#include <windows.h>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace Registry {

// The view of the machine's "SOFTWARE" a key is opened in. 64-bit Windows keeps the keys of
// 32-bit programs apart (under "WOW6432Node"); 32-bit Windows has one view, which all three name.
enum class View { kOwn, k64, k32 };
// True on 64-bit Windows, whatever this build's bitness.
[[nodiscard]] bool HasTwoViews();
// KEY_WOW64_64KEY or KEY_WOW64_32KEY on 64-bit Windows; 0 for kOwn and on 32-bit Windows.
[[nodiscard]] REGSAM ViewAccess(View view);

} // namespace Registry

namespace General {

inline constexpr wchar_t kError[] = L"Error";
inline constexpr wchar_t kIncorrectFormat[] = L"Incorrect Format:";

// The value's text exactly as stored (only a terminating NUL dropped), of any length;
// "Error" when the key cannot be opened or the value cannot be read as text;
// "" for a malformed path (after the "Incorrect Format:" message) or an unknown root.
[[nodiscard]] std::wstring GetStringValue(const std::wstring& keyPath, const std::wstring& valueName);
// Writes REG_SZ with its terminating NUL into a key that exists; true when written.
bool SetStringValue(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& data);
// The value as signed decimal text ("-1" for 0xFFFFFFFF); "Error" when the key or a
// 4-byte value cannot be read; "" for a malformed path or an unknown root.
[[nodiscard]] std::wstring GetDWORDValue(const std::wstring& keyPath, const std::wstring& valueName);
bool SetDWORDValue(const std::wstring& keyPath, const std::wstring& valueName, long value);
// Creates every missing key along the path; true when the key exists afterwards.
bool CreateKey(const std::wstring& keyPath);
// Deletes a key that has no sub-keys of its own.
bool DeleteKey(const std::wstring& keyPath);
// True when the value was there and is deleted.
[[nodiscard]] bool DeleteValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                               Registry::View view = Registry::View::kOwn);

// Root handle for a root name written in full and exactly ("HKEY_CURRENT_USER"); nullptr otherwise.
[[nodiscard]] HKEY GetRootKey(const std::wstring& rootName);
struct KeyPath {
    HKEY root = nullptr;
    std::wstring subKey;
};
// Splits a full key path. A path that does not begin with "HKEY_" or ends with "\" shows
// "Incorrect Format:" with the path; that and an unknown root give nullopt.
[[nodiscard]] std::optional<KeyPath> ParseKeyPath(const std::wstring& keyPath);

} // namespace General

namespace Module1 {

using RegData = std::variant<std::wstring, std::vector<std::wstring>>;

// Reads a value by the type the caller passes in valueType (which receives the stored type):
// REG_EXPAND_SZ as unexpanded text, REG_DWORD as decimal text, REG_MULTI_SZ as the list
// split at every NUL (a trailing empty element included); "" for anything else or a failure.
[[nodiscard]] RegData QueryRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                                    DWORD& valueType);

} // namespace Module1

namespace Registry {

// One value as stored: its name, type and text (string types) or raw bytes.
struct Value {
    std::wstring name;
    DWORD type = REG_NONE;
    std::wstring text;             // REG_SZ, REG_EXPAND_SZ (terminating NUL dropped), REG_MULTI_SZ raw
    std::vector<BYTE> bytes;       // the data as stored
};

// The data of a string value as text: only a terminating NUL is dropped.
[[nodiscard]] std::wstring TextOf(const std::vector<BYTE>& bytes);
// Both missing, or the same type and the same bytes.
[[nodiscard]] bool SameData(const std::optional<Value>& a, const std::optional<Value>& b);

// REG_SZ or REG_EXPAND_SZ: a value that holds one text.
[[nodiscard]] inline bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Every value of a key, names and data of any length; nullopt when the key cannot be opened
// or is deleted while it is read. A value that cannot be read is passed over when the next
// one can; two in a row end the list there.
[[nodiscard]] std::optional<std::vector<Value>> EnumValues(HKEY root, const std::wstring& subKey,
                                                           View view = View::kOwn);
[[nodiscard]] std::optional<std::vector<Value>> EnumValues(HKEY openKey);
[[nodiscard]] std::optional<Value> ReadValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                                             View view = View::kOwn);
// Writes text as REG_SZ or REG_EXPAND_SZ (with its NUL) into an existing key.
[[nodiscard]] bool WriteText(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD type,
                             const std::wstring& text);
// Writes the data byte for byte with that type into an existing key.
[[nodiscard]] bool WriteBytes(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD type,
                              const std::vector<BYTE>& bytes, View view = View::kOwn);
// Creates every missing key along the path in that view; true when the key exists afterwards.
[[nodiscard]] bool CreateKey(HKEY root, const std::wstring& subKey, View view);
[[nodiscard]] bool KeyExists(HKEY root, const std::wstring& subKey);
// The names of a key's sub-keys; none when the key cannot be opened or is deleted meanwhile.
[[nodiscard]] std::vector<std::wstring> EnumSubKeys(HKEY root, const std::wstring& subKey);
[[nodiscard]] std::vector<std::wstring> EnumSubKeys(HKEY openKey);

} // namespace Registry
