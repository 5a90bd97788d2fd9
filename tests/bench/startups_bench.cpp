// Times the "All Startups" and "Run" views with 1,000 values in the machine's Run key against
// a floor taken in the same run: one enumeration of the key, each row inserted once into lv2
// with drawing off, one snapshot of the running programs as the running-state pass takes it.
// It fills the Run key of the prefix it runs in: run it through tests/bench/run-startups-bench.sh,
// never in a prefix that matters.
// Usage: startups_bench.exe [rounds] (7 when not given).
#include "BenchClock.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "startups/RunKeys.h"
#include "system/App.h"
#include "system/Handles.h"
#include "system/Process.h"
#include "system/Registry.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

using BenchClock::Now;
using BenchClock::Seconds;

constexpr int kValues = 1000;

bool FillRunKey() {
    for (int i = 0; i < kValues; ++i) {
        wchar_t name[32], data[96];
        wsprintfW(name, L"CorvellBench%04d", i);
        wsprintfW(data, L"\"C:\\Program Files\\Bench %04d\\bench%04d.exe\" /min /tray", i, i);
        if (!General::SetStringValue(L"HKEY_LOCAL_MACHINE\\" + std::wstring(RunKeys::kRunKey), name, data))
            return false;
    }
    return true;
}

// The floor: what any listing of the key must do, each step once, with drawing off. Returns
// the rows listed.
int Floor(HWND list) {
    const std::wstring keyText = std::wstring(RunKeys::kHklmPrefix) + RunKeys::kRunKey;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, RunKeys::kRunKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
        std::vector<wchar_t> name(16384);
        std::vector<BYTE> data(65536);
        for (DWORD index = 0;; ++index) {
            DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(data.size()), type = 0;
            if (RegEnumValueW(key.get(), index, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen) !=
                ERROR_SUCCESS)
                break;
            const std::wstring command(reinterpret_cast<const wchar_t*>(data.data()),
                                       dataLen / sizeof(wchar_t) > 0 ? dataLen / sizeof(wchar_t) - 1 : 0);
            ListView::AddRow(list, std::wstring(name.data(), nameLen), 2, {command, keyText},
                             ListView::EnabledForeColor);
        }
    }
    const modProcess::ProcessSnapshot running;
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return ListView::Count(list);
}

void ClearQuietly(HWND list) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView::Clear(list);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 7;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TestSeam seam;  // nothing waits for a person
    TestUtil::FreshSettings();
    TestUtil::LiveForm live;
    Form1& form = live.form;
    if (!FillRunKey()) {
        std::printf("could not fill the Run key (error %lu)\n", GetLastError());
        return 1;
    }

    auto view = [&form](const wchar_t* key) {
        form.SelectNode(key);
        form.tvwDemo_NodeClick(key);
    };
    const double first = Seconds([&] { view(L"one"); });  // the first view that lists the new values
    const int allRows = ListView::Count(form.lv2);

    // Taken in turns: other work on the machine slows whole stretches of a run, so each view
    // is set against the floor taken just before it, and the middle ratio is shown too.
    struct Figures {
        const wchar_t* title;
        const wchar_t* key;
        double best = 1e9;
        std::vector<double> ratios;
        int rows = 0;
    } views[] = {{L"All Startups", L"one", 1e9, {}, 0}, {L"Run", L"another11", 1e9, {}, 0}};
    double floor = 1e9;
    int floorRows = 0;
    for (int round = 0; round < rounds; ++round) {
        for (auto& v : views) {
            ClearQuietly(form.lv2);
            const double f = Seconds([&] { floorRows = Floor(form.lv2); });
            // The view empties the list of the floor's rows first, as it empties the last view's.
            const double t = Seconds([&] { view(v.key); });
            v.rows = ListView::Count(form.lv2);
            floor = std::min(floor, f);
            v.best = std::min(v.best, t);
            v.ratios.push_back(t / f);
        }
    }
    std::printf("%d Run values: floor %.1f ms (%d rows; best of %d)\n", kValues, 1000 * floor, floorRows, rounds * 2);
    std::printf("first \"All Startups\" after the values were written: %.1f ms (%d rows)\n", 1000 * first, allRows);
    for (auto& v : views) {
        std::sort(v.ratios.begin(), v.ratios.end());
        std::printf("\"%ls\": %.1f ms (%d rows; best of %d), ratio %.2f; median ratio of adjacent runs %.2f\n",
                    v.title, 1000 * v.best, v.rows, rounds, v.best / floor, v.ratios[v.ratios.size() / 2]);
    }
    CoUninitialize();
    return 0;
}
