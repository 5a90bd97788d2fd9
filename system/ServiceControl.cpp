// UpcServiciosyWea: the service control manager through one small class.
#include "system/ServiceControl.h"

#include "system/Handles.h"
#include "system/Registry.h"
#include "system/Seam.h"
#include "system/Text.h"

namespace {

// nullptr for the local machine.
const wchar_t* MachineName(const std::wstring& computer) { return computer.empty() ? nullptr : computer.c_str(); }

// The manager's active database with all access, then the service with all access.
UniqueScHandle OpenActive(const std::wstring& computer, const std::wstring& name, UniqueScHandle& manager) {
    manager.reset(OpenSCManagerW(MachineName(computer), SERVICES_ACTIVE_DATABASEW, SC_MANAGER_ALL_ACCESS));
    if (!manager) return UniqueScHandle();
    return UniqueScHandle(OpenServiceW(manager.get(), name.c_str(), SERVICE_ALL_ACCESS));
}

// The one value a start-type change is meant to write; some service managers (Wine's) store the
// whole entry again from what they hold, dropping a "Description", "Group" or dependency list
// written beside them and storing "ImagePath" expanded as REG_SZ.
constexpr wchar_t kStartValue[] = L"Start";

std::wstring ServiceKey(const std::wstring& name) { return L"SYSTEM\\CurrentControlSet\\Services\\" + name; }

} // namespace

std::wstring UpcServiciosyWea::StateText(DWORD state) {
    switch (state) {
    case SERVICE_STOPPED: return L"Stopped";
    case SERVICE_START_PENDING: return L"Start Pending";
    case SERVICE_STOP_PENDING: return L"Stop Pending";
    case SERVICE_RUNNING: return L"Running";
    case SERVICE_CONTINUE_PENDING: return L"Continue Pending";
    case SERVICE_PAUSE_PENDING: return L"Pause Pending";
    case SERVICE_PAUSED: return L"Paused";
    default: return L"";
    }
}

std::wstring UpcServiciosyWea::ErrorText(DWORD code) {
    switch (code) {
    case ERROR_ACCESS_DENIED: return kErrNoCreateAccess;
    case ERROR_INVALID_HANDLE: return kErrInvalidHandle;
    case ERROR_DUP_NAME:                 // 52
    case ERROR_DUPLICATE_SERVICE_NAME:   // 1078: the manager's own code for a display name in use
        return kErrDuplicateDisplayName;
    case ERROR_INVALID_PARAMETER: return kErrInvalidParameter;
    case ERROR_INVALID_NAME: return kErrInvalidName;
    case ERROR_INVALID_SERVICE_ACCOUNT: return kErrNoSuchAccount;
    case ERROR_CIRCULAR_DEPENDENCY: return kErrCircularDependency;
    case ERROR_SERVICE_EXISTS: return kErrServiceExists;
    default: return kErrUnknown;
    }
}

std::wstring UpcServiciosyWea::ServiceStatus(const std::wstring& Computer) const {
    if (Text::Trim(serviceName_).empty()) return L"";
    UniqueScHandle manager;
    const UniqueScHandle service = OpenActive(Computer, serviceName_, manager);
    if (!service) return L"";
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service.get(), &status)) return L"";
    switch (status.dwCurrentState) {
    case SERVICE_STOPPED: return L"STOPPED";
    case SERVICE_START_PENDING: return L"START PENDING";
    case SERVICE_STOP_PENDING: return L"STOP PENDING";
    case SERVICE_RUNNING: return L"RUNNING";
    case SERVICE_CONTINUE_PENDING: return L"CONTINUE PENDING";
    case SERVICE_PAUSE_PENDING: return L"PAUSE PENDING";
    case SERVICE_PAUSED: return L"PAUSED";
    default: return L"";
    }
}

bool UpcServiciosyWea::Start_Service(const std::wstring& Computer) const {
    UniqueScHandle manager;
    const UniqueScHandle service = OpenActive(Computer, serviceName_, manager);
    return service && StartServiceW(service.get(), 0, nullptr) != FALSE;
}

bool UpcServiciosyWea::Control(const std::wstring& Computer, DWORD control) const {
    UniqueScHandle manager;
    const UniqueScHandle service = OpenActive(Computer, serviceName_, manager);
    SERVICE_STATUS status{};
    return service && ControlService(service.get(), control, &status) != FALSE;
}

bool UpcServiciosyWea::Stop_Service(const std::wstring& Computer) const {
    return Control(Computer, SERVICE_CONTROL_STOP);
}

bool UpcServiciosyWea::Pause_Service(const std::wstring& Computer) const {
    return Control(Computer, SERVICE_CONTROL_PAUSE);
}

bool UpcServiciosyWea::Resume_Service(const std::wstring& Computer) const {
    return Control(Computer, SERVICE_CONTROL_CONTINUE);
}

DWORD UpcServiciosyWea::ChangeStartType(DWORD startType, const std::wstring& Computer) const {
    const UniqueScHandle manager(OpenSCManagerW(MachineName(Computer), nullptr, SC_MANAGER_CONNECT));
    if (!manager) return GetLastError();
    const UniqueScHandle service(OpenServiceW(manager.get(), serviceName_.c_str(), SERVICE_CHANGE_CONFIG));
    if (!service) return GetLastError();
    // Only the local registry can be read back; a remote service is changed as it stands.
    const std::wstring key = ServiceKey(serviceName_);
    std::vector<Registry::Value> before;
    if (Computer.empty())
        if (auto values = Registry::EnumValues(HKEY_LOCAL_MACHINE, key)) before = std::move(*values);
    if (!ChangeServiceConfigW(service.get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr))
        return GetLastError();
    // Put back, byte for byte, every other value the change dropped or rewrote; one that cannot be
    // written does not keep the ones after it from coming back.
    bool allBack = true;
    for (const auto& value : before) {
        if (Text::EqualsNoCase(value.name, kStartValue)) continue;
        const auto after = Registry::ReadValue(HKEY_LOCAL_MACHINE, key, value.name);
        if (after && after->type == value.type && after->bytes == value.bytes) continue;
        if (!Registry::WriteBytes(HKEY_LOCAL_MACHINE, key, value.name, value.type, value.bytes)) allBack = false;
    }
    return allBack ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

bool UpcServiciosyWea::InstallService(const std::wstring& ServiceFilePath, const std::wstring& ServiceDisplayName,
                                      const std::wstring& Computer, long ServiceStartMode) {
    const DWORD startType = ServiceStartMode >= 0 && ServiceStartMode <= 4 ? static_cast<DWORD>(ServiceStartMode) : 0;
    const UniqueScHandle manager(OpenSCManagerW(MachineName(Computer), nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager) return false;
    const UniqueScHandle service(CreateServiceW(manager.get(), serviceName_.c_str(), ServiceDisplayName.c_str(),
                                                SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, startType,
                                                SERVICE_ERROR_IGNORE, ServiceFilePath.c_str(), nullptr, nullptr,
                                                nullptr, nullptr, nullptr));
    if (!service) {
        outcome_ = ErrorText(GetLastError());
        return false;
    }
    outcome_ = kServiceInstalled;
    return true;
}

bool UpcServiciosyWea::RemoveService(const std::wstring& Computer) {
    const UniqueScHandle manager(OpenSCManagerW(MachineName(Computer), nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return false;
    const UniqueScHandle service(OpenServiceW(manager.get(), serviceName_.c_str(), SERVICE_ALL_ACCESS));
    if (!service) {
        outcome_ = ErrorText(GetLastError());
        return false;
    }
    if (!DeleteService(service.get())) return false;
    outcome_ = kServiceRemoved;
    return true;
}

std::optional<std::vector<ServiceTriple>> UpcServiciosyWea::ListServices(const std::wstring& Computer) const {
    std::vector<ServiceTriple> services;
    const UniqueScHandle manager(OpenSCManagerW(MachineName(Computer), nullptr, SC_MANAGER_ENUMERATE_SERVICE));
    if (!manager) return services;

    DWORD needed = 0, returned = 0, resume = 0;
    if (EnumServicesStatusW(manager.get(), SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &returned,
                            &resume)) {
        return services;  // nothing to list
    }
    const DWORD probeError = GetLastError();
    if (probeError != ERROR_MORE_DATA) {
        Seam::ShowMessage(nullptr, kLastDllErrorPrefix + std::to_wstring(probeError), L"", MB_OK);
        return std::nullopt;
    }

    // Records and the names they point to share the buffer; services added since the probe
    // make the call ask for more, and the rest is fetched from where it stopped.
    std::vector<ENUM_SERVICE_STATUSW> buffer;
    resume = 0;
    for (int round = 0; round < 64; ++round) {
        buffer.assign(needed / sizeof(ENUM_SERVICE_STATUSW) + 1, ENUM_SERVICE_STATUSW{});
        const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(ENUM_SERVICE_STATUSW));
        returned = 0;
        const BOOL ok = EnumServicesStatusW(manager.get(), SERVICE_WIN32, SERVICE_STATE_ALL, buffer.data(), size,
                                            &needed, &returned, &resume);
        const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
        if (!ok && error != ERROR_MORE_DATA) {
            Seam::ShowMessage(nullptr, kEnumFailedPrefix + std::to_wstring(error), L"", MB_OK);
            return std::nullopt;
        }
        for (DWORD i = 0; i < returned; ++i) {
            const ENUM_SERVICE_STATUSW& record = buffer[i];
            services.push_back(ServiceTriple{record.lpServiceName ? record.lpServiceName : L"",
                                             record.lpDisplayName ? record.lpDisplayName : L"",
                                             StateText(record.ServiceStatus.dwCurrentState)});
        }
        if (ok || (returned == 0 && needed == 0)) break;
    }
    return services;
}
