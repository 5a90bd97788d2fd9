// Registry access by full key path, and the typed value reads and writes.
#include "system/Registry.h"

#include "system/App.h"
#include "system/Handles.h"
#include "system/Seam.h"

#include <cstring>

namespace {

// Reads one value of any size; false when it is missing or unreadable.
bool QueryRaw(HKEY key, const std::wstring& valueName, DWORD& type, std::vector<BYTE>& bytes) {
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) return false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        bytes.assign(size, 0);
        DWORD got = size;
        rc = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, bytes.empty() ? nullptr : bytes.data(), &got);
        if (rc == ERROR_SUCCESS) {
            bytes.resize(got);
            return true;
        }
        if (rc != ERROR_MORE_DATA) return false;
        size = got > size ? got : size * 2 + 2;  // the value grew meanwhile
    }
    return false;
}

// An enumeration ends at its end, or at an error that repeats: a key deleted while open
// answers ERROR_KEY_DELETED at every index, even past the end, so going on would never end.
// One index that fails is passed over only when the next one answers; an entry that keeps
// growing while it is read gives up after this many larger buffers.
constexpr int kMaxGrowths = 16;

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The open key, or the root itself for an empty sub-key path.
struct OpenedKey {
    UniqueHkey owner;
    HKEY handle = nullptr;
};
std::optional<OpenedKey> Open(HKEY root, const std::wstring& subKey, REGSAM access) {
    OpenedKey k;
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, access, &raw) != ERROR_SUCCESS) return std::nullopt;
    k.handle = raw;
    k.owner.reset(raw);  // a predefined root is ignored by the owner
    return k;
}

bool SetValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD type, const void* data,
              DWORD size, Registry::View view = Registry::View::kOwn) {
    auto key = Open(root, subKey, KEY_WRITE | Registry::ViewAccess(view));
    if (!key) return false;
    return RegSetValueExW(key->handle, valueName.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

} // namespace

namespace General {

HKEY GetRootKey(const std::wstring& rootName) {
    static const struct { const wchar_t* name; HKEY root; } kRoots[] = {
        {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {L"HKEY_USERS", HKEY_USERS},
        {L"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
        {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {L"HKEY_DYN_DATA", HKEY_DYN_DATA},
    };
    for (const auto& r : kRoots)
        if (rootName == r.name) return r.root;
    return nullptr;
}

std::optional<KeyPath> ParseKeyPath(const std::wstring& keyPath) {
    if (keyPath.compare(0, 5, L"HKEY_") != 0 || keyPath.back() == L'\\') {
        Seam::ShowMessage(nullptr, std::wstring(kIncorrectFormat) + L"\n\n" + keyPath, App::Title(), MB_OK);
        return std::nullopt;
    }
    KeyPath parsed;
    const size_t slash = keyPath.find(L'\\');
    const std::wstring rootName = slash == std::wstring::npos ? keyPath : keyPath.substr(0, slash);
    if (slash != std::wstring::npos) parsed.subKey = keyPath.substr(slash + 1);
    parsed.root = GetRootKey(rootName);
    if (!parsed.root) return std::nullopt;
    return parsed;
}

std::wstring GetStringValue(const std::wstring& keyPath, const std::wstring& valueName) {
    const auto path = ParseKeyPath(keyPath);
    if (!path) return L"";
    const auto value = Registry::ReadValue(path->root, path->subKey, valueName);
    if (!value || !IsTextType(value->type)) return kError;
    return value->text;
}

bool SetStringValue(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& data) {
    const auto path = ParseKeyPath(keyPath);
    return path && Registry::WriteText(path->root, path->subKey, valueName, REG_SZ, data);
}

std::wstring GetDWORDValue(const std::wstring& keyPath, const std::wstring& valueName) {
    const auto path = ParseKeyPath(keyPath);
    if (!path) return L"";
    auto key = Open(path->root, path->subKey, KEY_READ);
    if (!key) return kError;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExW(key->handle, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        size != sizeof(data)) {
        return kError;
    }
    return std::to_wstring(static_cast<long>(static_cast<LONG>(data)));
}

bool SetDWORDValue(const std::wstring& keyPath, const std::wstring& valueName, long value) {
    const auto path = ParseKeyPath(keyPath);
    if (!path) return false;
    const DWORD data = static_cast<DWORD>(value);
    return SetValue(path->root, path->subKey, valueName, REG_DWORD, &data, sizeof(data));
}

bool CreateKey(const std::wstring& keyPath) {
    const auto path = ParseKeyPath(keyPath);
    if (!path) return false;
    HKEY raw = nullptr;
    const LONG rc = RegCreateKeyExW(path->root, path->subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr);
    UniqueHkey key(raw);
    return rc == ERROR_SUCCESS;
}

bool DeleteKey(const std::wstring& keyPath) {
    const auto path = ParseKeyPath(keyPath);
    if (!path || path->subKey.empty()) return false;
    return RegDeleteKeyW(path->root, path->subKey.c_str()) == ERROR_SUCCESS;
}

bool DeleteValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName, Registry::View view) {
    constexpr REGSAM kAccess =
        KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK;
    auto key = Open(root, subKey, kAccess | Registry::ViewAccess(view));
    if (!key) return false;
    return RegDeleteValueW(key->handle, valueName.c_str()) == ERROR_SUCCESS;
}

} // namespace General

namespace Module1 {

RegData QueryRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD& valueType) {
    const DWORD wanted = valueType;
    auto key = Open(root, subKey, KEY_QUERY_VALUE);
    if (!key) return std::wstring();
    DWORD stored = 0;
    std::vector<BYTE> bytes;
    if (!QueryRaw(key->handle, valueName, stored, bytes)) return std::wstring();
    valueType = stored;
    switch (wanted) {
    case REG_EXPAND_SZ:
        return Registry::TextOf(bytes);
    case REG_DWORD: {
        if (bytes.size() < sizeof(DWORD)) return std::wstring();
        LONG v = 0;
        std::memcpy(&v, bytes.data(), sizeof(v));
        return std::to_wstring(static_cast<long>(v));
    }
    case REG_MULTI_SZ: {
        std::wstring text = Registry::TextOf(bytes);
        std::vector<std::wstring> items;
        if (bytes.empty()) return items;
        // The list ends with an empty string: split at every NUL, the last element empty.
        size_t start = 0;
        for (;;) {
            const size_t nul = text.find(L'\0', start);
            if (nul == std::wstring::npos) {
                items.push_back(text.substr(start));
                break;
            }
            items.push_back(text.substr(start, nul - start));
            start = nul + 1;
        }
        return items;
    }
    default:
        return std::wstring();
    }
}

} // namespace Module1

namespace Registry {

bool HasTwoViews() {
#if defined(_WIN64)
    return true;
#else
    // A 32-bit build runs under WOW64 on 64-bit Windows; Windows 2000 has no IsWow64Process.
    static const bool wow64 = [] {
        using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
        const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        const auto query = kernel ? reinterpret_cast<IsWow64ProcessFn>(
                                        reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
                                  : nullptr;
        BOOL under = FALSE;
        return query && query(GetCurrentProcess(), &under) && under;
    }();
    return wow64;
#endif
}

std::wstring TextOf(const std::vector<BYTE>& bytes) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

bool SameData(const std::optional<Value>& a, const std::optional<Value>& b) {
    if (!a || !b) return !a && !b;
    return a->type == b->type && a->bytes == b->bytes;
}

REGSAM ViewAccess(View view) {
    // Older systems than 64-bit Windows may refuse access bits they do not know.
    if (view == View::kOwn || !HasTwoViews()) return 0;
    return view == View::k64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

std::optional<std::vector<Value>> EnumValues(HKEY key) {
    DWORD maxName = 0, maxData = 0;
    // Only a hint for the buffers: a value that does not fit makes them grow below.
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                         nullptr, nullptr) != ERROR_SUCCESS) {
        maxName = 256;
        maxData = 1024;
    }
    std::vector<Value> values;
    std::vector<wchar_t> name(maxName + 2);
    std::vector<BYTE> data(maxData + 2);
    int failedInRow = 0, growths = 0;
    for (DWORD index = 0;; ++index) {
        DWORD nameLen = static_cast<DWORD>(name.size());
        DWORD dataLen = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LONG rc = RegEnumValueW(key, index, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_MORE_DATA && ++growths <= kMaxGrowths) {
            // Grew since the key was measured: make room and read the same index again.
            name.resize(name.size() * 2 + 256);
            data.resize(data.size() * 2 + 256);
            --index;
            continue;
        }
        growths = 0;
        if (rc == ERROR_KEY_DELETED) return std::nullopt;  // gone meanwhile: as a key that is not there
        if (rc != ERROR_SUCCESS) {
            if (++failedInRow > 1) break;
            continue;
        }
        failedInRow = 0;
        Value v;
        v.name.assign(name.data(), nameLen);
        v.type = type;
        v.bytes.assign(data.begin(), data.begin() + dataLen);
        if (IsTextType(type)) v.text = TextOf(v.bytes);
        values.push_back(std::move(v));
    }
    return values;
}

std::optional<std::vector<Value>> EnumValues(HKEY root, const std::wstring& subKey, View view) {
    auto key = Open(root, subKey, KEY_READ | ViewAccess(view));
    if (!key) return std::nullopt;
    return EnumValues(key->handle);
}

std::optional<Value> ReadValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName, View view) {
    auto key = Open(root, subKey, KEY_READ | ViewAccess(view));
    if (!key) return std::nullopt;
    Value v;
    v.name = valueName;
    if (!QueryRaw(key->handle, valueName, v.type, v.bytes)) return std::nullopt;
    if (IsTextType(v.type)) v.text = TextOf(v.bytes);
    return v;
}

bool WriteText(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD type,
               const std::wstring& text) {
    return SetValue(root, subKey, valueName, type, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool WriteBytes(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD type,
                const std::vector<BYTE>& bytes, View view) {
    return SetValue(root, subKey, valueName, type, bytes.data(), static_cast<DWORD>(bytes.size()), view);
}

bool CreateKey(HKEY root, const std::wstring& subKey, View view) {
    UniqueHkey key;
    return RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE | ViewAccess(view), nullptr, key.put(),
                           nullptr) == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::wstring& subKey) { return Open(root, subKey, KEY_READ).has_value(); }

std::vector<std::wstring> EnumSubKeys(HKEY key) {
    std::vector<std::wstring> names;
    std::vector<wchar_t> name(512);
    int failedInRow = 0, growths = 0;
    for (DWORD index = 0;; ++index) {
        DWORD len = static_cast<DWORD>(name.size());
        const LONG rc = RegEnumKeyExW(key, index, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_MORE_DATA && ++growths <= kMaxGrowths) {
            name.resize(name.size() * 2);
            --index;
            continue;
        }
        growths = 0;
        if (rc == ERROR_KEY_DELETED) return {};
        if (rc != ERROR_SUCCESS) {
            if (++failedInRow > 1) break;
            continue;
        }
        failedInRow = 0;
        names.emplace_back(name.data(), len);
    }
    return names;
}

std::vector<std::wstring> EnumSubKeys(HKEY root, const std::wstring& subKey) {
    auto key = Open(root, subKey, KEY_READ);
    if (!key) return {};
    return EnumSubKeys(key->handle);
}

} // namespace Registry
