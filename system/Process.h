// Finding and ending running programs by the file name of their executable.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace modTerminateProcess {

// Ends every process whose executable file name equals name (case ignored); "" ends nothing.
// Returns how many were ended.
int KillProcessByName(const std::wstring& name);
// Ends the processes of one program. A path with a folder part (environment variables expanded)
// ends only processes whose executable is that file, compared by full path, case ignored, long
// and short forms alike; a bare file name ends by KillProcessByName. Returns how many were ended.
int KillProcessByPath(const std::wstring& program);

} // namespace modTerminateProcess

namespace modProcess {

// True when a process that can be opened runs the executable with that file name (case ignored).
[[nodiscard]] bool IsProcessRunning(const std::wstring& name);

// The processes running now, walked once by their executable file names, for passes over many
// rows. Contains answers as IsProcessRunning would at the moment of the walk; a process is
// opened only to answer for a name or a path that a caller asks about.
class ProcessSnapshot {
public:
    ProcessSnapshot();
    [[nodiscard]] bool Contains(const std::wstring& name) const;
    // The ids of the processes of the walk that run the executable at that full path (environment
    // variables expanded; long and short forms alike, case ignored): a same-named program of
    // another folder is not among them. For a bare file name, every process of that name.
    [[nodiscard]] std::vector<DWORD> ProcessesAt(const std::wstring& program) const;

private:
    [[nodiscard]] std::vector<DWORD> Named(const std::wstring& upperName) const;
    std::unordered_multimap<std::wstring, DWORD> idsByUpperName_;
    mutable std::unordered_map<std::wstring, bool> openableByUpperName_;  // Contains' answers so far
};

} // namespace modProcess
