// UpcServiciosyWea: the one class through which the program talks to the service control
// manager: list the services, read one's state, start, stop, pause, continue, install, remove.
#pragma once

#include <windows.h>
#include <optional>
#include <string>
#include <vector>

// Outcome texts of InstallService and RemoveService, shown to the user word for word ("sucessfully"
// included): tests/services_control_test.cpp compares them exactly.
inline constexpr wchar_t kServiceInstalled[] = L"Service installed sucessfully";
inline constexpr wchar_t kServiceRemoved[] = L"Service removed sucessfully";
inline constexpr wchar_t kErrNoCreateAccess[] =
    L"The handle to the specified service control manager database does not have SC_MANAGER_CREATE_SERVICE "
    L"access.";
inline constexpr wchar_t kErrInvalidHandle[] =
    L"The handle to the specified service control manager database is invalid.";
inline constexpr wchar_t kErrDuplicateDisplayName[] =
    L"The display name already exists in the service control manager database either as a service name or as "
    L"another display name.";
inline constexpr wchar_t kErrInvalidParameter[] = L"A parameter that was specified is invalid.";
inline constexpr wchar_t kErrInvalidName[] = L"The specified service name is invalid.";
inline constexpr wchar_t kErrNoSuchAccount[] =
    L"The user account name specified in the lpServiceStartName parameter does not exist.";
inline constexpr wchar_t kErrCircularDependency[] = L"A circular service dependency was specified.";
inline constexpr wchar_t kErrServiceExists[] = L"The specified service already exists in this database.";
inline constexpr wchar_t kErrUnknown[] = L"Unknown error";

// Messages of ListServices when the manager will not enumerate (OK button, no icon).
inline constexpr wchar_t kLastDllErrorPrefix[] = L"LastDLLError = ";
inline constexpr wchar_t kEnumFailedPrefix[] = L"EnumServicesStatus failed. LastDllError = ";

// One service as the manager lists it.
struct ServiceTriple {
    std::wstring name;         // the service's key name
    std::wstring displayName;
    std::wstring state;        // "Stopped", "Start Pending", "Stop Pending", "Running", "Continue Pending",
                               // "Pause Pending", "Paused"; "" for any other state
};

class UpcServiciosyWea {
public:
    void ServiceName(const std::wstring& nValue) { serviceName_ = nValue; }
    [[nodiscard]] const std::wstring& ServiceName() const noexcept { return serviceName_; }
    // The outcome of the last InstallService or RemoveService; empty on a new object.
    [[nodiscard]] const std::wstring& InstallRemoveServiceError() const noexcept { return outcome_; }

    // "STOPPED", "START PENDING", "STOP PENDING", "RUNNING", "CONTINUE PENDING", "PAUSE PENDING",
    // "PAUSED"; "" for a blank ServiceName (the manager is not opened), any other state or a failure.
    [[nodiscard]] std::wstring ServiceStatus(const std::wstring& Computer = L"") const;
    // True when the manager accepted the start or control; none waits for the new state.
    bool Start_Service(const std::wstring& Computer = L"") const;
    bool Stop_Service(const std::wstring& Computer = L"") const;
    bool Pause_Service(const std::wstring& Computer = L"") const;
    bool Resume_Service(const std::wstring& Computer = L"") const;
    // Creates an own-process service under the local system account; the start type is
    // ServiceStartMode when it is 0 to 4, else 0. Sets InstallRemoveServiceError, except when
    // the manager itself cannot be opened: then GetLastError() gives the manager's error on return.
    bool InstallService(const std::wstring& ServiceFilePath, const std::wstring& ServiceDisplayName,
                        const std::wstring& Computer, long ServiceStartMode);
    // Marks the service for deletion. Sets InstallRemoveServiceError on success and when the
    // service cannot be opened.
    bool RemoveService(const std::wstring& Computer = L"");
    // Every Win32 service in the manager's order. Empty when the manager cannot be opened;
    // nullopt (after a message) when it refuses to enumerate.
    [[nodiscard]] std::optional<std::vector<ServiceTriple>> ListServices(const std::wstring& Computer = L"") const;

    // Sets the start type through the manager, which stores it as the service's "Start" value
    // and uses it at once; every other value of the service's key stays as it was, byte for byte.
    // ERROR_SUCCESS, or the manager's error code (ERROR_CANTWRITE: a value not put back).
    [[nodiscard]] DWORD ChangeStartType(DWORD startType, const std::wstring& Computer = L"") const;

    // The outcome text for an error code of CreateServiceW or OpenServiceW.
    [[nodiscard]] static std::wstring ErrorText(DWORD code);
    // The mixed-case state text of a current state; "" for an unknown one.
    [[nodiscard]] static std::wstring StateText(DWORD state);

private:
    bool Control(const std::wstring& Computer, DWORD control) const;

    std::wstring serviceName_;
    std::wstring outcome_;
};
