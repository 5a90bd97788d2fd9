// Times a load of the services list against its floor (one EnumServicesStatusW and one read
// of each service's "Start", "DependOnService" and "ImagePath"), at 300 and 1000 services.
// It creates the synthetic services in the prefix it runs in: run it through
// tests/bench/run-services-bench.sh, never in a prefix that matters.
#include "BenchClock.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "system/App.h"
#include "system/Handles.h"
#include "system/Registry.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using BenchClock::Now;
using BenchClock::Seconds;

std::wstring BenchName(int i) {
    wchar_t name[32];
    wsprintfW(name, L"CorvellBench%04d", i);
    return name;
}

// Services from..to-1; each of them but the first depends on one or two earlier ones.
bool CreateServices(int from, int to) {
    const UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return false;
    const std::wstring path = TestUtil::ProgramFolder() + L"\\testsvc.exe";
    for (int i = from; i < to; ++i) {
        std::wstring deps;
        if (i > 0) deps += BenchName(i / 2) + L'\0';
        if (i > 2) deps += BenchName(i / 3) + L'\0';
        deps += L'\0';
        const std::wstring name = BenchName(i);
        const std::wstring display = L"Corvell Bench Service " + std::to_wstring(i);
        const UniqueScHandle service(CreateServiceW(manager.get(), name.c_str(), display.c_str(), SERVICE_ALL_ACCESS,
                                                    SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                                    SERVICE_ERROR_IGNORE, path.c_str(), nullptr, nullptr,
                                                    i > 0 ? deps.c_str() : nullptr, nullptr, nullptr));
        if (!service) return false;
    }
    return true;
}

// The floor: list the services once, then open each one's key once for its three values.
size_t Floor() {
    const UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE));
    DWORD needed = 0, returned = 0, resume = 0;
    EnumServicesStatusW(manager.get(), SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &returned, &resume);
    std::vector<ENUM_SERVICE_STATUSW> records(needed / sizeof(ENUM_SERVICE_STATUSW) + 1);
    resume = 0;
    if (!EnumServicesStatusW(manager.get(), SERVICE_WIN32, SERVICE_STATE_ALL, records.data(),
                             static_cast<DWORD>(records.size() * sizeof(ENUM_SERVICE_STATUSW)), &needed, &returned,
                             &resume))
        return 0;
    std::vector<BYTE> buffer(4096);
    size_t read = 0;
    for (DWORD i = 0; i < returned; ++i) {
        UniqueHkey key;
        const std::wstring sub = std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + records[i].lpServiceName;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, sub.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) continue;
        for (const wchar_t* value : {L"Start", L"DependOnService", L"ImagePath"}) {
            DWORD size = static_cast<DWORD>(buffer.size()), type = 0;
            if (RegQueryValueExW(key.get(), value, nullptr, &type, buffer.data(), &size) == ERROR_SUCCESS) ++read;
        }
    }
    return read;
}

} // namespace

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TestSeam seam;  // the announcement of new services is recorded, not shown
    General::CreateKey(App::MakerKey());
    General::CreateKey(App::AppKey());
    General::SetStringValue(App::AppKey(), L"Backup", L"1");
    TestUtil::LiveForm live;
    Form1& form = live.form;

    int created = 0;
    for (int target : {300, 1000}) {
        if (!CreateServices(created, target)) {
            std::printf("could not create the services (error %lu)\n", GetLastError());
            return 1;
        }
        created = target;
        const double first = Seconds([&] { form.LoadServices(); });  // stamps every new service
        const int rows = ListView::Count(form.lv);
        // Taken in turns: other work on the machine slows whole stretches of a run, so each
        // load is set against the floor taken just before it, and the middle ratio is shown.
        double floor = 1e9, load = 1e9;
        size_t values = 0;
        std::vector<double> ratios;
        for (int round = 0; round < 21; ++round) {
            const double f = Seconds([&] { values = Floor(); });
            const double l = Seconds([&] { form.LoadServices(); });
            floor = std::min(floor, f);
            load = std::min(load, l);
            ratios.push_back(l / f);
        }
        std::sort(ratios.begin(), ratios.end());
        std::printf("%d services (%d rows): floor %.1f ms (%zu values read), LoadServices %.1f ms (best of 21 each, "
                    "ratio %.2f; median ratio of adjacent runs %.2f); first load, every date stamped, %.1f ms\n",
                    created, rows, 1000 * floor, values, 1000 * load, load / floor, ratios[ratios.size() / 2],
                    1000 * first);
    }
    CoUninitialize();
    return 0;
}
