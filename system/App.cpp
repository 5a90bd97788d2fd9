// Facts about the running program: its title, folder, version and settings key.
#include "system/App.h"

#include "system/Registry.h"

#include <windows.h>
#include <iterator>
#include <vector>

namespace App {
namespace {

struct Version { int major = 0, minor = 0, build = 0, revision = 0; };

Version ReadVersion() {
    Version v;
    const std::wstring exe = ExeName();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    if (size == 0) return v;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) return v;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info) return v;
    v.major = HIWORD(info->dwFileVersionMS);
    v.minor = LOWORD(info->dwFileVersionMS);
    v.build = HIWORD(info->dwFileVersionLS);
    v.revision = LOWORD(info->dwFileVersionLS);
    return v;
}

const Version& CachedVersion() {
    static const Version v = ReadVersion();
    return v;
}

} // namespace

const std::wstring& Title() {
    static const std::wstring title = L"Corvell";
    return title;
}

std::wstring ExeName() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

std::wstring Path() {
    const std::wstring exe = ExeName();
    const size_t slash = exe.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash);
}

std::wstring ParkedFolder() { return Path() + L"\\Startups"; }
std::wstring BackupFolder() { return Path() + L"\\Backups"; }

int Major() { return CachedVersion().major; }
int Minor() { return CachedVersion().minor; }
int Revision() { return CachedVersion().revision; }

constexpr wchar_t kMachineRoot[] = L"HKEY_LOCAL_MACHINE\\";

const std::wstring& MakerKey() {
    static const std::wstring key = std::wstring(kMachineRoot) + L"Software\\Ferrowyn";
    return key;
}

const std::wstring& AppKey() {
    static const std::wstring key = MakerKey() + L"\\" + Title();
    return key;
}

std::wstring SubKeyPath(const wchar_t* subKey) { return AppKey() + L"\\" + subKey; }

std::wstring MachineSubKey(const wchar_t* subKey) { return SubKeyPath(subKey).substr(std::size(kMachineRoot) - 1); }

bool CreateSettingsKeys() {
    bool all = true;
    for (const std::wstring& key : {MakerKey(), AppKey(), SubKeyPath(SubKey::kDisabled), SubKeyPath(SubKey::kStartups),
                                    SubKeyPath(SubKey::kDates), SubKeyPath(SubKey::kStartupDates),
                                    SubKeyPath(SubKey::kBackups)})
        all = General::CreateKey(key) && all;
    return all;
}

} // namespace App
