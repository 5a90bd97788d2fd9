// Times the startup views with 10,000 values in the machine's Run key, one shortcut in each
// Startup folder, 50 running copies of a small program and 100 parked records (50 Run values, 50
// shortcuts), each against a floor taken in the same run: one enumeration of each key the view
// lists, one listing of each folder and one shortcut load per file, one Toolhelp walk of the
// running programs, one enumeration of the first-seen dates, and each row inserted once, with
// its date, with drawing off. "All Startups" is also timed with the two shortcuts moved away.
// It fills the Run key, Startup folders and settings of the prefix it runs in and leaves 50
// programs running: run it through tests/bench/run-startups-bench.sh, never in a prefix that matters.
// Usage: startups_bench.exe [rounds] (5 when not given).
#include "BenchClock.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "startups/FolderParking.h"
#include "startups/RegistryParking.h"
#include "startups/RunKeys.h"
#include "system/App.h"
#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Text.h"

#include <shlguid.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

using BenchClock::Seconds;

constexpr int kRunValues = 10000;
constexpr int kRunningCopies = 50;
constexpr int kParkedRunRecords = 50;
constexpr int kParkedShortcuts = 50;
constexpr wchar_t kSleeper[] = L"benchsleep.exe";  // the running program, beside the benchmark
constexpr wchar_t kDatesKey[] = L"Software\\Ferrowyn\\Corvell\\Dates\\Startups";

// ---- The fixture ----

bool PutText(HKEY key, const std::wstring& name, const std::wstring& data) {
    return RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

UniqueHkey CreatedKey(HKEY root, const std::wstring& subKey) {
    UniqueHkey key;
    RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.put(),
                    nullptr);
    return key;
}

// Every 500th value names the running program; the others programs that do not run.
bool FillRunKey(const std::wstring& sleeperPath) {
    const UniqueHkey key = CreatedKey(HKEY_LOCAL_MACHINE, RunKeys::kRunKey);
    if (!key) return false;
    for (int i = 0; i < kRunValues; ++i) {
        wchar_t name[32], data[96];
        wsprintfW(name, L"CorvellBench%05d", i);
        wsprintfW(data, L"\"C:\\Program Files\\Bench %05d\\bench%05d.exe\" /min /tray", i, i);
        if (!PutText(key.get(), name, i % 500 == 0 ? L"\"" + sleeperPath + L"\" /tray" : std::wstring(data)))
            return false;
    }
    return true;
}

bool SaveShortcut(const std::wstring& linkPath, const std::wstring& target) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return false;
    ComPtr<IPersistFile> file = link.query<IPersistFile>();
    link->SetPath(target.c_str());
    return file && SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

// Half the parked entries of each kind name the running program.
bool ParkRecords(const std::wstring& sleeperPath, const std::wstring& commonFolder) {
    const UniqueHkey disabled = CreatedKey(HKEY_LOCAL_MACHINE, RegistryParking::DisabledSubKey());
    const UniqueHkey startups = CreatedKey(HKEY_LOCAL_MACHINE, FolderParking::StartupsSubKey());
    if (!disabled || !startups) return false;
    CreateDirectoryW((TestUtil::ProgramFolder() + L"\\Startups").c_str(), nullptr);
    for (int i = 0; i < kParkedRunRecords; ++i) {
        const std::wstring n = std::to_wstring(i);
        const std::wstring command = i % 2 ? L"C:\\Parked\\parked" + n + L".exe /tray" : sleeperPath;
        if (!PutText(disabled.get(), L"BenchParked" + n, std::wstring(i % 3 ? L"HKLM" : L"HKCU") + L"^" + command))
            return false;
    }
    for (int i = 0; i < kParkedShortcuts; ++i) {
        const std::wstring file = L"BenchParkedLink" + std::to_wstring(i) + L".lnk";
        const std::wstring target = i % 2 ? L"C:\\Parked\\link" + std::to_wstring(i) + L".exe" : sleeperPath;
        if (!SaveShortcut(FolderParking::ParkedPath(file), target) ||
            !PutText(startups.get(), file, commonFolder + L"\\" + file))
            return false;
    }
    return true;
}

// ---- The floor's pieces: each OS call once ----

struct Entry {
    std::wstring name;
    std::wstring text;
};

std::vector<Entry> EnumKey(HKEY root, const std::wstring& subKey) {
    std::vector<Entry> entries;
    UniqueHkey key;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return entries;
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(65536);
    for (DWORD index = 0;; ++index) {
        DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(key.get(), index, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen) !=
            ERROR_SUCCESS)
            break;
        const size_t chars = dataLen / sizeof(wchar_t);
        entries.push_back({std::wstring(name.data(), nameLen),
                           std::wstring(reinterpret_cast<const wchar_t*>(data.data()), chars > 0 ? chars - 1 : 0)});
    }
    return entries;
}

std::unordered_set<std::wstring> ToolhelpNames() {
    std::unordered_set<std::wstring> names;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        names.insert(Text::Upper(entry.szExeFile));
    return names;
}

std::unordered_map<std::wstring, std::wstring> Dates() {
    std::unordered_map<std::wstring, std::wstring> dates;
    for (auto& e : EnumKey(HKEY_LOCAL_MACHINE, kDatesKey)) dates.emplace(Text::Upper(e.name), std::move(e.text));
    return dates;
}

// One shell link object for every shortcut a floor reads.
class Links {
public:
    Links() {
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link_.put_void());
        file_ = link_.query<IPersistFile>();
    }
    std::wstring Target(const std::wstring& path) {
        wchar_t target[MAX_PATH] = {};
        if (file_ && SUCCEEDED(file_->Load(path.c_str(), STGM_READ))) link_->GetPath(target, MAX_PATH, nullptr, 0);
        return target;
    }

private:
    ComPtr<IShellLinkW> link_;
    ComPtr<IPersistFile> file_;
};

// The file name of a command's program, as the running marks take it.
std::wstring ProgramFile(const std::wstring& command) {
    std::wstring program = command;
    const size_t cut = program.find(L" /");
    if (cut != std::wstring::npos) program.resize(cut);
    program.erase(std::remove(program.begin(), program.end(), L'"'), program.end());
    return MyMod::GetFileName(program);
}

// What a floor fills, with drawing off; the lists are drawn once at its end.
struct FloorRun {
    FloorRun(HWND lv2, HWND lv3) : lv2(lv2), lv3(lv3) {
        for (HWND list : {lv2, lv3}) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    }
    ~FloorRun() {
        for (HWND list : {lv2, lv3}) {
            SendMessageW(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
            UpdateWindow(list);
        }
    }
    int Icon(const std::wstring& file, int running, int stopped) const {
        return running_.count(Text::Upper(file)) ? running : stopped;
    }
    std::wstring Date(const std::wstring& name) const {
        const auto found = dates_.find(Text::Upper(name));
        return found == dates_.end() ? L"Error" : found->second;
    }
    void AddRunKeys(const std::vector<std::pair<HKEY, const wchar_t*>>& keys) {
        for (const auto& [root, subKey] : keys) {
            const std::wstring keyText = std::wstring(root == HKEY_LOCAL_MACHINE ? RunKeys::kHklmPrefix
                                                                                 : RunKeys::kHkcuPrefix) + subKey;
            for (const Entry& e : EnumKey(root, subKey))
                ListView::AddRow(lv2, e.name, Icon(ProgramFile(e.text), 2, 1), {e.text, keyText, Date(e.name)},
                                 ListView::EnabledForeColor);
        }
    }
    // Both Startup folders into lv3 and, withCopies, into lv2 as well.
    void AddFolders(const std::vector<std::wstring>& folders, bool withCopies) {
        for (const std::wstring& folder : folders) {
            for (const std::wstring& file : TestUtil::FilesIn(folder)) {
                if (Text::EqualsNoCase(file, L"desktop.ini")) continue;
                const std::wstring target = links_.Target(folder + L"\\" + file);
                const int icon = Icon(MyMod::GetFileName(target), 2, 1);
                const std::wstring name = file.substr(0, file.size() - 4);
                ListView::AddRow(lv3, name, icon, {target, folder, Date(name)}, ListView::EnabledForeColor);
                if (withCopies)
                    ListView::AddRow(lv2, name, icon, {target, folder, Date(name)}, ListView::EnabledForeColor);
            }
        }
    }
    void AddParkedRunRecords() {
        for (const Entry& e : EnumKey(HKEY_LOCAL_MACHINE, RegistryParking::DisabledSubKey())) {
            const std::wstring command = e.text.substr(5);
            ListView::AddRow(lv2, e.name, Icon(MyMod::GetFileName(command), 9, 3),
                             {command, L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", Date(e.name)},
                             ListView::DisabledForeColor);
        }
    }
    void AddParkedShortcuts(HWND list) {
        for (const Entry& e : EnumKey(HKEY_LOCAL_MACHINE, FolderParking::StartupsSubKey())) {
            const std::wstring target = links_.Target(FolderParking::ParkedPath(e.name));
            const std::wstring name = e.name.substr(0, e.name.size() - 4);
            ListView::AddRow(list, name, Icon(MyMod::GetFileName(target), 9, 3),
                             {target, MyMod::GetParentFolder(e.text, true), Date(name)}, ListView::DisabledForeColor);
        }
    }

    HWND lv2, lv3;

private:
    const std::unordered_set<std::wstring> running_ = ToolhelpNames();
    const std::unordered_map<std::wstring, std::wstring> dates_ = Dates();
    Links links_;
};

void ClearQuietly(HWND list) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView::Clear(list);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

struct Figures {
    Figures(const wchar_t* title, const wchar_t* key, std::function<void(FloorRun&)> floor)
        : title(title), key(key), floor(std::move(floor)) {}
    const wchar_t* title;
    const wchar_t* key;
    std::function<void(FloorRun&)> floor;
    double best = 1e9;
    double bestFloor = 1e9;
    std::vector<double> ratios;
    int rows = 0;
    int floorRows = 0;
    void Add(double t, double f) {
        best = std::min(best, t);
        bestFloor = std::min(bestFloor, f);
        ratios.push_back(t / f);
    }
    double Median() {
        std::sort(ratios.begin(), ratios.end());
        return ratios[ratios.size() / 2];
    }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 5;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TestSeam seam;  // nothing waits for a person
    TestUtil::FreshSettings();
    const std::wstring common = FolderParking::StartupFolderPath(modSpecialFolder::kCommonStartup);
    const std::wstring user = FolderParking::StartupFolderPath(modSpecialFolder::kUserStartup);
    TestUtil::LiveForm live;  // loaded before the entries exist: the first view below stamps them all
    Form1& form = live.form;
    const std::wstring sleeperPath = TestUtil::CopyHelper(L"sleeper.exe", kSleeper);
    std::vector<UniqueHandle> copies;
    for (int i = 0; i < kRunningCopies; ++i) copies.push_back(TestUtil::StartCopy(L"sleeper.exe", kSleeper));
    const std::wstring commonLink = common + L"\\BenchCommon.lnk", userLink = user + L"\\BenchUser.lnk";
    const std::wstring aside = TestUtil::ProgramFolder() + L"\\aside";
    CreateDirectoryW(aside.c_str(), nullptr);
    if (!FillRunKey(sleeperPath) || !SaveShortcut(commonLink, sleeperPath) ||
        !SaveShortcut(userLink, L"C:\\Tools\\notrunning.exe") || !ParkRecords(sleeperPath, common)) {
        std::printf("could not make the fixture (error %lu)\n", GetLastError());
        return 1;
    }
    int started = 0;
    for (const auto& c : copies) started += c && WaitForSingleObject(c.get(), 0) == WAIT_TIMEOUT;
    auto view = [&form](const wchar_t* key) {
        form.SelectNode(key);
        form.tvwDemo_NodeClick(key);
        for (HWND list : {form.lv2, form.lv3}) UpdateWindow(list);
    };
    const double first = Seconds([&] { view(L"one"); });
    const int firstRows = ListView::Count(form.lv2);
    view(L"two");  // dates stored for every entry of every view: the timed views find them known
    view(L"another 45");
    view(L"seven");

    const std::vector<std::pair<HKEY, const wchar_t*>> allRunKeys = {
        {HKEY_LOCAL_MACHINE, RunKeys::kRunKey}, {HKEY_LOCAL_MACHINE, RunKeys::kRunOnceKey},
        {HKEY_LOCAL_MACHINE, RunKeys::kRunOnceExKey}, {HKEY_CURRENT_USER, RunKeys::kRunKey},
        {HKEY_CURRENT_USER, RunKeys::kRunOnceKey}};
    Figures views[] = {
        {L"All Startups", L"one", [&](FloorRun& f) { f.AddRunKeys(allRunKeys); f.AddFolders({common, user}, true); }},
        {L"Run", L"another11", [&](FloorRun& f) { f.AddRunKeys({{HKEY_LOCAL_MACHINE, RunKeys::kRunKey}}); }},
        {L"Startup Folder", L"two", [&](FloorRun& f) { f.AddFolders({common, user}, false); }},
        {L"Disabled Startup Folder Items", L"another 45", [&](FloorRun& f) { f.AddParkedShortcuts(f.lv3); }},
        {L"Disabled Startups", L"seven", [&](FloorRun& f) { f.AddParkedRunRecords(); f.AddParkedShortcuts(f.lv2); }},
    };
    Figures withoutShortcuts{L"All Startups without the shortcuts", L"one", views[0].floor};
    std::vector<double> shortcutRatios;
    double walk = 1e9, dates = 1e9;  // two of the floor's pieces on their own
    auto measure = [&](Figures& v) {
        ClearQuietly(form.lv2);
        ClearQuietly(form.lv3);
        // The view empties the lists of the floor's rows first, as it empties the last view's.
        const double f = Seconds([&] {
            FloorRun run(form.lv2, form.lv3);
            v.floor(run);
        });
        v.floorRows = ListView::Count(form.lv2) + ListView::Count(form.lv3);
        const double t = Seconds([&] { view(v.key); });
        v.rows = ListView::Count(form.lv2) + ListView::Count(form.lv3);
        v.Add(t, f);
        return t;
    };
    // Taken in turns: other work on the machine slows whole stretches of a run, so each view is
    // set against the floor taken just before it, and the middle ratios are shown too.
    for (int round = 0; round < rounds; ++round) {
        double with = 0;
        for (auto& v : views) {
            const double t = measure(v);
            if (&v == &views[0]) with = t;
        }
        MoveFileW(commonLink.c_str(), (aside + L"\\BenchCommon.lnk").c_str());
        MoveFileW(userLink.c_str(), (aside + L"\\BenchUser.lnk").c_str());
        const double without = measure(withoutShortcuts);
        MoveFileW((aside + L"\\BenchCommon.lnk").c_str(), commonLink.c_str());
        MoveFileW((aside + L"\\BenchUser.lnk").c_str(), userLink.c_str());
        shortcutRatios.push_back(with / without);
        walk = std::min(walk, Seconds([] { (void)ToolhelpNames(); }));
        dates = std::min(dates, Seconds([] { (void)Dates(); }));
    }

    std::printf("%d HKLM Run values, a shortcut in each Startup folder, %d of %d copies of %ls running, %d parked "
                "records (%d Run values, %d shortcuts); best of %d rounds\n",
                kRunValues, started, kRunningCopies, kSleeper, kParkedRunRecords + kParkedShortcuts,
                kParkedRunRecords, kParkedShortcuts, rounds);
    std::printf("first \"All Startups\" after the values were written (stamps all): %.0f ms (%d rows)\n",
                1000 * first, firstRows);
    std::printf("floor pieces: one Toolhelp walk %.1f ms, one enumeration of the %zu first-seen dates %.1f ms\n",
                1000 * walk, Dates().size(), 1000 * dates);
    std::printf("%-36s %9s %9s %6s %7s %7s\n", "view", "view ms", "floor ms", "rows", "ratio", "median");
    bool met = true;
    for (Figures* v : {&views[0], &views[1], &views[2], &views[3], &views[4], &withoutShortcuts}) {
        const double ratio = v->best / v->bestFloor, median = v->Median();
        std::printf("%-36ls %9.1f %9.1f %6d %7.2f %7.2f%s\n", v->title, 1000 * v->best, 1000 * v->bestFloor, v->rows,
                    ratio, median, v->rows == v->floorRows ? "" : "  (floor rows differ)");
        met = met && median <= 1.5;
    }
    std::sort(shortcutRatios.begin(), shortcutRatios.end());
    const double shortcutRatio = views[0].best / withoutShortcuts.best;
    const double shortcutMedian = shortcutRatios[shortcutRatios.size() / 2];
    met = met && shortcutMedian <= 1.25;
    std::printf("\"All Startups\" with the two shortcuts / without: best %.2f, median %.2f\n", shortcutRatio,
                shortcutMedian);
    std::printf("targets (median ratio: every view <= 1.50 of its floor, with/without shortcuts <= 1.25): %s\n",
                met ? "met" : "NOT met");
    // Where one more run of each view spends its time: from each step's start to the next one's.
    for (Figures* v : {&views[0], &views[1], &views[2], &views[3], &views[4]}) {
        std::vector<std::pair<std::wstring, double>> steps;
        form.onDispatchStep = [&steps](const wchar_t* step) { steps.emplace_back(step, BenchClock::Now()); };
        const double t0 = BenchClock::Now();
        view(v->key);
        const double end = BenchClock::Now();
        form.onDispatchStep = nullptr;
        std::printf("steps of \"%ls\" (%.0f ms):", v->title, 1000 * (end - t0));
        for (size_t i = 0; i < steps.size(); ++i) {
            const double ms = 1000 * ((i + 1 < steps.size() ? steps[i + 1].second : end) - steps[i].second);
            if (ms >= 5) std::printf(" %ls %.0f;", steps[i].first.c_str(), ms);
        }
        std::printf("\n");
    }
    for (auto& c : copies)
        if (c) TerminateProcess(c.get(), 0);
    CoUninitialize();
    return 0;
}
