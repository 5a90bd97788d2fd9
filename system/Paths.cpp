// Word-list tests, the Windows, system and special folders, and path taking-apart.
#include "system/Paths.h"

#include "system/Handles.h"

#include <shlobj.h>

namespace MyMod {

bool InStrArray(short mode, const std::wstring& text, const std::vector<std::wstring>& words) {
    if (mode == 1) {
        for (const auto& w : words)
            if (text.find(w) == std::wstring::npos) return false;
        return true;
    }
    if (mode == 2) {
        for (const auto& w : words)
            if (text.find(w) != std::wstring::npos) return true;
    }
    return false;
}

namespace {
template <typename F>
std::wstring AskFolder(F ask) {
    std::wstring buf(MAX_PATH, L'\0');
    UINT n = ask(buf.data(), static_cast<UINT>(buf.size()));
    if (n == 0) return {};
    if (n >= buf.size()) {
        buf.assign(n + 1, L'\0');
        n = ask(buf.data(), static_cast<UINT>(buf.size()));
        if (n == 0 || n >= buf.size()) return {};
    }
    buf.resize(n);
    return buf;
}
} // namespace

std::wstring GetWindowsDir() { return AskFolder([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); }); }

std::wstring GetSystemDir() { return AskFolder([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); }); }

std::wstring StandardUserinit() { return GetSystemDir() + L"\\userinit.exe,"; }

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    UniqueHandle owner(file);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    if (!bytes.empty() && (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
                           done != bytes.size()))
        return std::nullopt;
    return bytes;
}

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW(path.c_str(), &data));
    if (!find) return false;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    } while (FindNextFileW(find.get(), &data));
    return false;
}

bool FolderExists(const std::wstring& path) {
    if (path.empty()) return false;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW(path.c_str(), &data));
    return static_cast<bool>(find);
}

std::wstring GetShortName(const std::wstring& path) {
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::wstring buf(needed, L'\0');
    const DWORD n = GetShortPathNameW(path.c_str(), buf.data(), needed);
    if (n == 0 || n >= needed) return {};
    buf.resize(n);
    return buf;
}

std::wstring GetParentFolder(const std::wstring& path, bool keepDrive) {
    std::wstring p = path;
    if (!keepDrive) p = p.size() < 3 ? std::wstring() : p.substr(3);
    if (p.size() < 2) return p;
    const size_t slash = p.rfind(L'\\', p.size() - 2);
    return slash == std::wstring::npos ? p : p.substr(0, slash);
}

std::wstring GetFileName(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring ExpandEnvironment(const std::wstring& text) {
    if (text.find(L'%') == std::wstring::npos) return text;
    std::wstring buf(text.size() + 1, L'\0');
    for (;;) {
        const DWORD n = ExpandEnvironmentStringsW(text.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return text;
        if (n <= buf.size()) {
            buf.resize(n - 1);  // n counts the terminating NUL
            return buf;
        }
        buf.assign(n, L'\0');
    }
}

std::wstring FolderToOpen(const std::wstring& program) {
    const std::wstring path = ExpandEnvironment(program);
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return {};
    std::wstring folder = path.substr(0, slash);
    // "C:" alone names the drive's current folder, not its root.
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    const bool onDrive = folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\' &&
                         ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z'));
    const bool onNetwork = folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\';
    if (!onDrive && !onNetwork) return {};
    // FolderExists is true for files too: only a directory will do.
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    return folder;
}

} // namespace MyMod

namespace modSpecialFolder {

std::wstring GetSpecialFolder(int folder) {
    PIDLIST_ABSOLUTE raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &raw)) || !raw) return {};
    UniqueCoTaskMem list(raw);
    wchar_t buf[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(raw, buf)) return {};
    return buf;
}

} // namespace modSpecialFolder
