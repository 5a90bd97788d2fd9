// Finding and ending running programs by the file name of their executable.
#include "system/Process.h"

#include "system/Handles.h"
#include "system/Text.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <vector>

namespace modTerminateProcess {

int KillProcessByName(const std::wstring& name) {
    if (name.empty()) return 0;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    int ended = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        // The whole file name must match: "host.exe" must never end "svchost.exe".
        if (!Text::EqualsNoCase(entry.szExeFile, name)) continue;
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (process && TerminateProcess(process.get(), 0)) ++ended;
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
