// Finding and ending running programs by the file name of their executable.
#include "system/Process.h"

#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Text.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <vector>

namespace modTerminateProcess {
namespace {

// The processes running now: each one's id and executable file name.
std::vector<PROCESSENTRY32W> RunningProcesses() {
    std::vector<PROCESSENTRY32W> processes;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        processes.push_back(entry);
    return processes;
}

// The long form of an existing path; the path as given when it has none.
std::wstring LongForm(const std::wstring& path) {
    const DWORD needed = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring buf(needed, L'\0');
    const DWORD n = GetLongPathNameW(path.c_str(), buf.data(), needed);
    if (n == 0 || n >= needed) return path;
    buf.resize(n);
    return buf;
}

// The full path of a process's executable; "" when it cannot be read.
std::wstring ImagePath(HANDLE process) {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(buf.size());
        if (QueryFullProcessImageNameW(process, 0, buf.data(), &size)) {
            buf.resize(size);
            return buf;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buf.size() >= 32768) return {};
        buf.resize(buf.size() * 2);
    }
}

} // namespace

int KillProcessByName(const std::wstring& name) {
    if (name.empty()) return 0;
    int ended = 0;
    for (const auto& entry : RunningProcesses()) {
        // The whole file name must match: "host.exe" must never end "svchost.exe".
        if (!Text::EqualsNoCase(entry.szExeFile, name)) continue;
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (process && TerminateProcess(process.get(), 0)) ++ended;
    }
    return ended;
}

int KillProcessByPath(const std::wstring& program) {
    const std::wstring path = MyMod::ExpandEnvironment(program);
    if (path.find(L'\\') == std::wstring::npos) return KillProcessByName(path);
    const std::wstring wanted = LongForm(path);
    int ended = 0;
    for (const auto& entry : RunningProcesses()) {
        UniqueHandle process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (!process) continue;
        const std::wstring image = ImagePath(process.get());
        if (image.empty()) continue;
        if (!Text::EqualsNoCase(image, wanted) && !Text::EqualsNoCase(LongForm(image), wanted)) continue;
        if (TerminateProcess(process.get(), 0)) ++ended;
    }
    return ended;
}

} // namespace modTerminateProcess

namespace modProcess {
namespace {

// Every process id, however many run.
std::vector<DWORD> AllProcessIds() {
    std::vector<DWORD> ids(1024);
    for (;;) {
        DWORD bytes = 0;
        if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return {};
        if (bytes < ids.size() * sizeof(DWORD)) {
            ids.resize(bytes / sizeof(DWORD));
            return ids;
        }
        ids.resize(ids.size() * 2);
    }
}

// The base name of a process's executable; "" when it cannot be opened or read.
std::wstring ExecutableName(DWORD id) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
    if (!process) return {};
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process.get(), &first, sizeof(first), &needed)) return {};
    wchar_t name[MAX_PATH] = {};
    if (GetModuleBaseNameW(process.get(), first, name, MAX_PATH) == 0) return {};
    return name;
}

} // namespace

bool IsProcessRunning(const std::wstring& name) {
    if (name.empty()) return false;
    for (const DWORD id : AllProcessIds())
        if (Text::EqualsNoCase(ExecutableName(id), name)) return true;
    return false;
}

ProcessSnapshot::ProcessSnapshot() {
    for (const DWORD id : AllProcessIds()) {
        std::wstring exe = ExecutableName(id);
        if (!exe.empty()) upperNames_.insert(Text::Upper(exe));
    }
}

bool ProcessSnapshot::Contains(const std::wstring& name) const {
    return !name.empty() && upperNames_.count(Text::Upper(name)) != 0;
}

} // namespace modProcess
