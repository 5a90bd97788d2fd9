// Finding and ending running programs by the file name of their executable.
#include "system/Process.h"

#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Text.h"

#include <tlhelp32.h>
#include <algorithm>
#include <vector>

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

namespace modTerminateProcess {

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
    int ended = 0;
    for (const DWORD id : modProcess::ProcessSnapshot().ProcessesAt(program)) {
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
        if (process && TerminateProcess(process.get(), 0)) ++ended;
    }
    return ended;
}

} // namespace modTerminateProcess

namespace modProcess {

bool IsProcessRunning(const std::wstring& name) { return ProcessSnapshot().Contains(name); }

ProcessSnapshot::ProcessSnapshot() {
    for (const auto& entry : RunningProcesses())
        if (entry.szExeFile[0]) idsByUpperName_.emplace(Text::Upper(entry.szExeFile), entry.th32ProcessID);
}

std::vector<DWORD> ProcessSnapshot::Named(const std::wstring& upperName) const {
    std::vector<DWORD> ids;
    const auto [first, last] = idsByUpperName_.equal_range(upperName);
    for (auto it = first; it != last; ++it) ids.push_back(it->second);
    return ids;
}

bool ProcessSnapshot::Contains(const std::wstring& name) const {
    if (name.empty()) return false;
    const std::wstring upper = Text::Upper(name);
    if (idsByUpperName_.count(upper) == 0) return false;
    const auto known = openableByUpperName_.find(upper);
    if (known != openableByUpperName_.end()) return known->second;
    // Only a process the program can open for query and reading counts, as when every process
    // was opened for its module name: another user's program that it cannot open does not.
    bool openable = false;
    for (const DWORD id : Named(upper)) {
        if (UniqueHandle(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id))) {
            openable = true;
            break;
        }
    }
    openableByUpperName_.emplace(upper, openable);
    return openable;
}

std::vector<DWORD> ProcessSnapshot::ProcessesAt(const std::wstring& program) const {
    const std::wstring path = MyMod::ExpandEnvironment(program);
    if (path.find(L'\\') == std::wstring::npos) return path.empty() ? std::vector<DWORD>{} : Named(Text::Upper(path));
    const std::wstring wanted = LongForm(path);
    // Only processes that carry one of the file's names are opened for their full path.
    std::vector<std::wstring> names{Text::Upper(MyMod::GetFileName(wanted))};
    for (const std::wstring& other : {path, MyMod::GetShortName(wanted)}) {
        const std::wstring name = Text::Upper(MyMod::GetFileName(other));
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    std::vector<DWORD> ids;
    for (const std::wstring& name : names) {
        for (const DWORD id : Named(name)) {
            UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
            if (!process) continue;
            const std::wstring image = ImagePath(process.get());
            if (image.empty()) continue;
            if (Text::EqualsNoCase(image, wanted) || Text::EqualsNoCase(LongForm(image), wanted)) ids.push_back(id);
        }
    }
    return ids;
}

} // namespace modProcess
