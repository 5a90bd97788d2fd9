// Services for the tests, made and removed with the service control manager directly.
#include "ServiceFixtures.h"

#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "system/Handles.h"
#include "system/Registry.h"

#include <tlhelp32.h>

namespace ServiceFixtures {

std::wstring TestServicePath(const std::wstring& args) {
    std::wstring path = TestUtil::ProgramFolder() + L"\\testsvc.exe";
    if (!args.empty()) path += L" " + args;
    return path;
}

bool Install(const std::wstring& name, const std::wstring& displayName, const std::wstring& path, DWORD startType,
             const std::vector<std::wstring>& dependencies) {
    Remove(name);
    std::wstring deps;
    for (const auto& d : dependencies) deps += d + L'\0';
    deps += L'\0';
    const UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return false;
    const UniqueScHandle service(CreateServiceW(manager.get(), name.c_str(), displayName.c_str(), SERVICE_ALL_ACCESS,
                                                SERVICE_WIN32_OWN_PROCESS, startType, SERVICE_ERROR_IGNORE,
                                                path.c_str(), nullptr, nullptr,
                                                dependencies.empty() ? nullptr : deps.c_str(), nullptr, nullptr));
    return static_cast<bool>(service);
}

bool Remove(const std::wstring& name) {
    const UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return false;
    UniqueScHandle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_ALL_ACCESS));
    if (!service) return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
    SERVICE_STATUS status{};
    bool leftRunning = false;
    if (QueryServiceStatus(service.get(), &status) && status.dwCurrentState != SERVICE_STOPPED) {
        // A service that accepts no stop is left running, marked for deletion.
        leftRunning = !(ControlService(service.get(), SERVICE_CONTROL_STOP, &status) &&
                        WaitForState(name, SERVICE_STOPPED));
    }
    const bool deleted = DeleteService(service.get()) != FALSE;
    service.reset();
    // The manager drops the service once the last handle is closed, which a loaded machine can
    // take a while to do; one left running goes only when its process ends.
    const int tries = leftRunning ? 100 : 600;
    for (int i = 0; i < tries; ++i) {
        UniqueScHandle again(OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_STATUS));
        if (!again) return true;
        Sleep(50);
    }
    return deleted;
}

DWORD State(const std::wstring& name) {
    const UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return 0;
    const UniqueScHandle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_STATUS));
    SERVICE_STATUS status{};
    if (!service || !QueryServiceStatus(service.get(), &status)) return 0;
    return status.dwCurrentState;
}

bool WaitForState(const std::wstring& name, DWORD state, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (State(name) == state) return true;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

bool StartAndWait(const std::wstring& name) {
    const UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return false;
    const UniqueScHandle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_START));
    if (!service || !StartServiceW(service.get(), 0, nullptr)) return false;
    return WaitForState(name, SERVICE_RUNNING);
}

bool PauseAndWait(const std::wstring& name) {
    const UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return false;
    const UniqueScHandle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_PAUSE_CONTINUE));
    SERVICE_STATUS status{};
    if (!service || !ControlService(service.get(), SERVICE_CONTROL_PAUSE, &status)) return false;
    return WaitForState(name, SERVICE_PAUSED);
}

DWORD StartValue(const std::wstring& name) {
    HKEY key = nullptr;
    const std::wstring subKey = L"SYSTEM\\CurrentControlSet\\Services\\" + name;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_QUERY_VALUE, &key)) return MAXDWORD;
    DWORD value = MAXDWORD, size = sizeof(value);
    RegQueryValueExW(key, L"Start", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value;
}

DWORD StartType(const std::wstring& name) {
    const UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return MAXDWORD;
    const UniqueScHandle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_CONFIG));
    if (!service) return MAXDWORD;
    DWORD needed = 0;
    QueryServiceConfigW(service.get(), nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed + sizeof(QUERY_SERVICE_CONFIGW));
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!QueryServiceConfigW(service.get(), config, static_cast<DWORD>(buffer.size()), &needed)) return MAXDWORD;
    return config->dwStartType;
}

std::optional<std::wstring> Value(const std::wstring& name, const std::wstring& valueName) {
    std::wstring data;
    if (!TestUtil::ReadString(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\" + name, valueName, data))
        return std::nullopt;
    return data;
}

bool RestartServiceManager() {
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"services.exe") != 0) continue;
        const UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (!process || !TerminateProcess(process.get(), 0)) return false;
        WaitForSingleObject(process.get(), 10000);
    }
    wchar_t command[MAX_PATH] = L"";
    GetSystemDirectoryW(command, MAX_PATH);
    lstrcatW(command, L"\\services.exe");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    for (int wait = 0; wait < 100; ++wait, Sleep(100))
        if (const UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT)); manager) return true;
    return false;
}

void ServiceTest::SetUp() { TestUtil::FreshSettings(); }

void ServiceTest::TearDown() {
    for (const auto& name : installed_) Remove(name);
}

void ServiceTest::Install(const std::wstring& name, const std::wstring& display, DWORD start,
                          const std::vector<std::wstring>& dependencies, const std::wstring& args) {
    ASSERT_TRUE(ServiceFixtures::Install(name, display, TestServicePath(args), start, dependencies)) << name.c_str();
    installed_.push_back(name);
}

void ServiceTest::InstallSharingDisplayName(const std::vector<std::wstring>& names, const std::wstring& display) {
    for (const std::wstring& name : names) {
        Install(name, name + L" Display");
        ASSERT_TRUE(Registry::WriteText(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\" + name,
                                        L"DisplayName", REG_SZ, display));
    }
    ASSERT_TRUE(RestartServiceManager());
}

int ServiceTest::Row(const Form1& form, const std::wstring& service) { return ListView::FindRow(form.lv, service, 1); }

void ServiceTest::SelectService(Form1& form, const std::wstring& service) {
    const int row = Row(form, service);
    ASSERT_GE(row, 0) << service.c_str();
    ListView::Select(form.lv, row);
}

} // namespace ServiceFixtures
