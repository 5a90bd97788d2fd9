// Finding and ending running programs by the file name of their executable.
#pragma once

#include <string>
#include <unordered_set>

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

// The executable names of the processes running now, taken once, for passes over many rows:
// Contains answers exactly as IsProcessRunning would at the moment of the snapshot.
class ProcessSnapshot {
public:
    ProcessSnapshot();
    [[nodiscard]] bool Contains(const std::wstring& name) const;
private:
    std::unordered_set<std::wstring> upperNames_;
};

} // namespace modProcess
