// A real Win32 service for the tests. Installed with its path alone it runs until stopped
// and accepts stop, pause and continue; with the argument "refuse" it reports itself stopped
// with an error as soon as it is started, the way a service that cannot start does; with
// "nostop" it runs and accepts no stop.
#include <windows.h>

#include <cwchar>

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE stopEvent = nullptr;
bool refuse = false;
bool noStop = false;
SERVICE_STATUS status{};

void Report(DWORD state, DWORD exitCode = NO_ERROR) {
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING || state == SERVICE_PAUSED
                                    ? (noStop ? 0 : SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE)
                                    : 0;
    status.dwWin32ExitCode = exitCode == NO_ERROR ? NO_ERROR : ERROR_SERVICE_SPECIFIC_ERROR;
    status.dwServiceSpecificExitCode = exitCode;
    status.dwCheckPoint = 0;
    status.dwWaitHint = 0;
    SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
        Report(SERVICE_STOP_PENDING);
        SetEvent(stopEvent);
        return NO_ERROR;
    case SERVICE_CONTROL_PAUSE:
        Report(SERVICE_PAUSED);
        return NO_ERROR;
    case SERVICE_CONTROL_CONTINUE:
        Report(SERVICE_RUNNING);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD argc, wchar_t** argv) {
    statusHandle = RegisterServiceCtrlHandlerExW(argc > 0 ? argv[0] : L"", Handler, nullptr);
    if (!statusHandle) return;
    if (refuse) {
        Report(SERVICE_STOPPED, 1);
        return;
    }
    stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Report(SERVICE_RUNNING);
    WaitForSingleObject(stopEvent, INFINITE);
    Report(SERVICE_STOPPED);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i)
        if (_wcsicmp(argv[i], L"refuse") == 0) refuse = true;
        else if (_wcsicmp(argv[i], L"nostop") == 0) noStop = true;
    wchar_t empty[] = L"";
    SERVICE_TABLE_ENTRYW table[] = {{empty, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherW(table) ? 0 : 1;
}
