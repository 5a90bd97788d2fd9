// Services for the tests: the test service installed, driven and removed through the
// service control manager of the test prefix.
#pragma once

#include "TestSeam.h"
#include "mainwindow/Form1.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <optional>
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
bool WaitForState(const std::wstring& name, DWORD state, DWORD timeoutMs = 30000);
// Starts it and waits until it runs.
bool StartAndWait(const std::wstring& name);
// Pauses a running service and waits until it is paused.
bool PauseAndWait(const std::wstring& name);
// The service's "Start" value in the registry, or MAXDWORD.
DWORD StartValue(const std::wstring& name);
// The start type the manager holds, or MAXDWORD.
DWORD StartType(const std::wstring& name);
// A text value of the service's registry key ("ImagePath", "Description"); nullopt when missing.
std::optional<std::wstring> Value(const std::wstring& name, const std::wstring& valueName);

// Ends the service manager and starts it again, so that it reads the services' keys as they
// are stored, as at boot; false when it does not answer again. Stop running services first.
bool RestartServiceManager();

// A test that installs test services (removed again after it) on fresh settings.
class ServiceTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Install(const std::wstring& name, const std::wstring& display, DWORD start = SERVICE_DEMAND_START,
                 const std::vector<std::wstring>& dependencies = {}, const std::wstring& args = L"");
    // Installs the services, gives them all one display name in their keys and restarts the
    // manager so that it reads them so, as a machine that was changed offline boots.
    void InstallSharingDisplayName(const std::vector<std::wstring>& names, const std::wstring& display);
    // The services list's row of a service, by its service name; -1 when it is not listed.
    static int Row(const Form1& form, const std::wstring& service);
    static void SelectService(Form1& form, const std::wstring& service);
    // Removes the service at the end of the test, as the fixture's own: for the ones the program installs.
    void RemoveAfterTest(const std::wstring& name) { installed_.push_back(name); }

    TestSeam seam;
    std::vector<std::wstring> installed_;
};

} // namespace ServiceFixtures
