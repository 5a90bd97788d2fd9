// Times the "All Startups" view with 250 shortcuts in each Startup folder and 100 Run values
// against a floor from the same run: one listing of both folders, one IShellLinkW load per
// shortcut, one process snapshot, one enumeration of "Dates\Startups", and each row added once
// to lv2 and lv3 with drawing off. It fills the Startup folders and Run keys of the prefix it runs in: run it
// through tests/bench/run-folders-bench.sh, never in a prefix that matters.
#include "BenchClock.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "startups/RunKeys.h"
#include "system/App.h"
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

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return files;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.emplace_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    return files;
}

// The floor: the work the view cannot do without, each piece once. Returns the rows added.
int Floor(Form1& form, const std::wstring& common, const std::wstring& user) {
    ListView::Clear(form.lv3);
    ListView::Clear(form.lv2);
    // Rows are added with drawing off and the lists drawn once at the end.
    for (HWND list : {form.lv2, form.lv3}) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const modProcess::ProcessSnapshot running;
    std::unordered_map<std::wstring, std::wstring> dates;
    if (const auto values = Registry::EnumValues(HKEY_LOCAL_MACHINE, L"Software\\Ferrowyn\\Corvell\\Dates\\Startups"))
        for (const auto& v : *values) dates.emplace(Text::Upper(v.name), v.text);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        const auto values = Registry::EnumValues(root, RunKeys::kRunKey);
        if (!values) continue;
        for (const auto& v : *values)
            ListView::AddRow(form.lv2, v.name, running.Contains(v.text) ? 2 : 1, {v.text, L"HKLM\\Run"},
                             ListView::EnabledForeColor);
    }
    ComPtr<IShellLinkW> link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
    ComPtr<IPersistFile> file = link.query<IPersistFile>();
    wchar_t target[MAX_PATH];
    for (const std::wstring& folder : {common, user}) {
        for (const std::wstring& name : FilesIn(folder)) {
            target[0] = L'\0';
            if (SUCCEEDED(file->Load((folder + L"\\" + name).c_str(), STGM_READ)))
                link->GetPath(target, MAX_PATH, nullptr, 0);
            const int icon = running.Contains(MyMod::GetFileName(target)) ? 2 : 1;
            const auto date = dates.find(Text::Upper(name));
            ListView::AddRow(form.lv3, name, icon, {target, folder, date == dates.end() ? L"Error" : date->second},
                             ListView::EnabledForeColor);
            ListView::AddRow(form.lv2, name, icon, {target, folder}, ListView::EnabledForeColor);
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

    TestUtil::LiveForm live;  // its first view stamps every new entry
    Form1& form = live.form;
    // Taken in turns: other work on the machine slows whole stretches of a run, so each view is
    // set against the floor taken just before it, and the middle ratio is shown as well.
    double floor = 1e9, view = 1e9;
    int floorRows = 0, viewRows = 0;
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        const double f = Seconds([&] { floorRows = Floor(form, common, user); });
        const double v = Seconds([&] {
            form.SelectNode(L"one");
            form.tvwDemo_NodeClick(form.SelectedNodeKey());
            for (HWND list : {form.lv2, form.lv3}) UpdateWindow(list);
        });
        viewRows = ListView::Count(form.lv2) + ListView::Count(form.lv3);
        floor = std::min(floor, f);
        view = std::min(view, v);
        ratios.push_back(v / f);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("%d shortcuts in each Startup folder, %d Run values: floor %.0f ms (%d rows), \"All Startups\" "
                "%.0f ms (%d rows); best of %d each, ratio %.2f; median ratio of adjacent runs %.2f\n",
                kShortcutsPerFolder, kRunValues, 1000 * floor, floorRows, 1000 * view, viewRows, kRounds,
                view / floor, ratios[ratios.size() / 2]);
    CoUninitialize();
    return 0;
}
