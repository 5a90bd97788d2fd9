// Services for the tests: the test service installed, driven and removed through the
// service control manager of the test prefix.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

namespace ServiceFixtures {

// The test service program beside the test ("C:\corvell\testsvc.exe"), with arguments when given.
std::wstring TestServicePath(const std::wstring& args = L"");
// Creates an own-process service; an existing one of that name is removed first.
// dependencies: the services it depends on (written as "DependOnService").
bool Install(const std::wstring& name, const std::wstring& displayName, const std::wstring& path,
             DWORD startType = SERVICE_DEMAND_START, const std::vector<std::wstring>& dependencies = {});
// Stops the service when it runs and deletes it; true when it is gone (or was never there).
bool Remove(const std::wstring& name);
// The current state (SERVICE_RUNNING, ...), or 0 when it cannot be queried.
DWORD State(const std::wstring& name);
// Waits until the service is in that state; false when the time runs out.
bool WaitForState(const std::wstring& name, DWORD state, DWORD timeoutMs = 10000);
// Starts it and waits until it runs.
bool StartAndWait(const std::wstring& name);
// The start type the manager holds, or MAXDWORD.
DWORD StartType(const std::wstring& name);

} // namespace ServiceFixtures
