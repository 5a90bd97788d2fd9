// Times the "All Startups" view with 250 shortcuts in each Startup folder and 100 Run values
// against a floor from the same run: one listing of both folders, one IShellLinkW load per
// shortcut, one process snapshot, one enumeration of "Dates\Startups", and each row added once
// to lv2 and lv3 with drawing off. Two views are timed: a first one after "Dates\Startups" was
// emptied, which stamps every row and announces them (answered through the seam), and a later
// one that finds every date stored. The first is also set against the floor plus one write per
// row. It fills the Startup folders, Run keys and settings of the prefix it runs in: run it
// through tests/bench/run-folders-bench.sh, never in a prefix that matters.
#include "BenchClock.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "startups/RunKeys.h"
#include "system/App.h"
#include "system/FirstSeen.h"
#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <shlguid.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using BenchClock::Now;
using BenchClock::Seconds;

constexpr int kShortcutsPerFolder = 250;
constexpr int kRunValues = 100;
constexpr int kRounds = 7;

bool MakeShortcuts(const std::wstring& folder, const std::wstring& prefix) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return false;
    ComPtr<IPersistFile> file = link.query<IPersistFile>();
    for (int i = 0; i < kShortcutsPerFolder; ++i) {
        const std::wstring n = std::to_wstring(i);
        link->SetPath((L"C:\\Tools\\" + prefix + n + L".exe").c_str());
        if (!file || FAILED(file->Save((folder + L"\\" + prefix + n + L".lnk").c_str(), TRUE))) return false;
    }
    return true;
}

constexpr wchar_t kDatesKey[] = L"Software\\Ferrowyn\\Corvell\\Dates\\Startups";

// The floor: the work the view cannot do without, each piece once. With stampAll, each lv2 row's
// name is also written with one stamp through one open key, as a view that finds every row new
// must (timed on an emptied key, as such a view runs). Returns the rows added.
int Floor(Form1& form, const std::wstring& common, const std::wstring& user, bool stampAll = false) {
    ListView::Clear(form.lv3);
    ListView::Clear(form.lv2);
    // Rows are added with drawing off and the lists drawn once at the end.
    for (HWND list : {form.lv2, form.lv3}) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const modProcess::ProcessSnapshot running;
    std::unordered_map<std::wstring, std::wstring> dates;
    if (const auto values = Registry::EnumValues(HKEY_LOCAL_MACHINE, kDatesKey))
        for (const auto& v : *values) dates.emplace(Text::Upper(v.name), v.text);
    UniqueHkey datesKey;
    std::wstring stamp;
    if (stampAll) {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kDatesKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        datesKey.put(), nullptr);
        stamp = FirstSeen::FirstSeenDate();
    }
    auto addLv2 = [&](const std::wstring& name, int icon, const std::vector<std::wstring>& cells) {
        ListView::AddRow(form.lv2, name, icon, cells, ListView::EnabledForeColor);
        if (datesKey)
            RegSetValueExW(datesKey.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(stamp.c_str()),
                           static_cast<DWORD>((stamp.size() + 1) * sizeof(wchar_t)));
    };
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        const auto values = Registry::EnumValues(root, RunKeys::kRunKey);
        if (!values) continue;
        for (const auto& v : *values)
            addLv2(v.name, running.Contains(v.text) ? 2 : 1, {v.text, L"HKLM\\Run"});
    }
    ComPtr<IShellLinkW> link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
    ComPtr<IPersistFile> file = link.query<IPersistFile>();
    wchar_t target[MAX_PATH];
    for (const std::wstring& folder : {common, user}) {
        for (const std::wstring& name : TestUtil::FilesIn(folder)) {
            target[0] = L'\0';
            if (SUCCEEDED(file->Load((folder + L"\\" + name).c_str(), STGM_READ)))
                link->GetPath(target, MAX_PATH, nullptr, 0);
            const int icon = running.Contains(MyMod::GetFileName(target)) ? 2 : 1;
            const auto date = dates.find(Text::Upper(name));
            ListView::AddRow(form.lv3, name, icon, {target, folder, date == dates.end() ? L"Error" : date->second},
                             ListView::EnabledForeColor);
            addLv2(name, icon, {target, folder});
        }
    }
    for (HWND list : {form.lv2, form.lv3}) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);
    }
    return ListView::Count(form.lv2) + ListView::Count(form.lv3);
}

} // namespace

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TestSeam seam;  // announcements of new startups are recorded, not shown
    TestUtil::FreshSettings();
    const std::wstring common = modSpecialFolder::GetSpecialFolder(modSpecialFolder::kCommonStartup);
    const std::wstring user = modSpecialFolder::GetSpecialFolder(modSpecialFolder::kUserStartup);
    if (!MakeShortcuts(common, L"Common") || !MakeShortcuts(user, L"User")) {
        std::printf("could not make the shortcuts\n");
        return 1;
    }
    for (int i = 0; i < kRunValues; ++i) {
        const std::wstring n = std::to_wstring(i);
        TestUtil::PutString(i % 2 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, RunKeys::kRunKey, L"Bench" + n,
                            L"\"C:\\Program Files\\Bench\\bench" + n + L".exe\" /tray");
    }

    TestUtil::LiveForm live;  // its first view stamps every new entry, silently
    Form1& form = live.form;
    auto view = [&] {
        form.SelectNode(L"one");
        form.tvwDemo_NodeClick(form.SelectedNodeKey());
        for (HWND list : {form.lv2, form.lv3}) UpdateWindow(list);
    };
    // Untimed before each first view: no date stored, and the announcement armed.
    auto forgetDates = [] {
        TestUtil::ForgetStartupDates();
        General::SetStringValue(App::AppKey(), App::Value::kLv2DT, L"1");
    };
    // Taken in turns: other work on the machine slows whole stretches of a run, so each view is
    // set against the floors taken in its own round, and the middle ratios are shown as well.
    struct Figures {
        double best = 1e9;
        std::vector<double> ratios;
        void Add(double t, double floor) {
            best = std::min(best, t);
            ratios.push_back(t / floor);
        }
        double Median() {
            std::sort(ratios.begin(), ratios.end());
            return ratios[ratios.size() / 2];
        }
    };
    Figures floor, floorWrites, first, firstOnWrites, later;
    int floorRows = 0, firstRows = 0, laterRows = 0, announced = 0;
    size_t stored = 0;
    for (int round = 0; round < kRounds; ++round) {
        const double f = Seconds([&] { floorRows = Floor(form, common, user); });
        forgetDates();
        const size_t shown = seam.messages.size();
        const double v1 = Seconds(view);
        firstRows = ListView::Count(form.lv2) + ListView::Count(form.lv3);
        announced += static_cast<int>(seam.messages.size() - shown);
        if (const auto values = Registry::EnumValues(HKEY_LOCAL_MACHINE, kDatesKey)) stored = values->size();
        const double v2 = Seconds(view);
        laterRows = ListView::Count(form.lv2) + ListView::Count(form.lv3);
        TestUtil::ForgetStartupDates();
        const double fw = Seconds([&] { Floor(form, common, user, true); });
        floor.Add(f, f);
        floorWrites.Add(fw, fw);
        first.Add(v1, f);
        firstOnWrites.Add(v1, fw);
        later.Add(v2, f);
    }
    std::printf("%d shortcuts in each Startup folder, %d Run values; best of %d rounds each, with the median of the "
                "ratios within a round\n",
                kShortcutsPerFolder, kRunValues, kRounds);
    std::printf("  floor:                                  %6.0f ms (%d rows)\n", 1000 * floor.best, floorRows);
    std::printf("  floor with one date write per lv2 row:  %6.0f ms\n", 1000 * floorWrites.best);
    std::printf("  first \"All Startups\" (stamps all):    %6.0f ms (%d rows, %zu dates stored, %d of %d announced)\n",
                1000 * first.best, firstRows, stored, announced, kRounds);
    std::printf("  later \"All Startups\" (all known):     %6.0f ms (%d rows)\n", 1000 * later.best, laterRows);
    std::printf("  first / floor:              best %.2f, median %.2f\n", first.best / floor.best, first.Median());
    std::printf("  first / floor with writes:  best %.2f, median %.2f\n", first.best / floorWrites.best,
                firstOnWrites.Median());
    std::printf("  later / floor:              best %.2f, median %.2f\n", later.best / floor.best, later.Median());
    CoUninitialize();
    return 0;
}
