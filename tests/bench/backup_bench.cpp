// Times the backup of all startups of a shown main window (the replace question answered Yes
// through the seam) on a machine with 300 values of 300 characters in each Run key, 2000 extra
// services, 500 startup shortcuts and the five legacy files, against the floor of the six
// "reg export" runs into files and one CopyFileW of each backed-up file, measured in the same run.
// It fills the registry and folders of the prefix it runs in: run it through
// run-backup-bench.sh, never in a prefix that matters.
#include "BenchClock.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/MenuIds.h"
#include "startups/modRegKeys.h"
#include "system/App.h"
#include "system/Files.h"
#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/SafeFile.h"
#include "system/Seam.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using BenchClock::Now;

constexpr int kValuesPerKey = 300;
constexpr int kValueLength = 300;
constexpr int kServices = 2000;
constexpr int kShortcuts = 500;
constexpr int kRuns = 5;

const wchar_t* const kRunKeys[] = {L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                   L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                                   L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                                   L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                                   L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx"};

void FillRunKeys() {
    for (int k = 0; k < 5; ++k) {
        const HKEY root = k < 2 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        for (int i = 0; i < kValuesPerKey; ++i) {
            std::wstring command = L"C:\\Program Files\\Bench\\app" + std::to_wstring(i) + L".exe /x ";
            command.resize(kValueLength, L'a');
            TestUtil::PutString(root, kRunKeys[k], L"Bench" + std::to_wstring(i), command);
        }
    }
}

void FillServices() {
    for (int i = 0; i < kServices; ++i) {
        const std::wstring key = L"SYSTEM\\CurrentControlSet\\Services\\CorvellBench" + std::to_wstring(i);
        TestUtil::PutString(HKEY_LOCAL_MACHINE, key, L"DisplayName", L"Corvell bench service " + std::to_wstring(i));
        TestUtil::PutString(HKEY_LOCAL_MACHINE, key, L"ImagePath", L"C:\\bench\\svc" + std::to_wstring(i) + L".exe",
                            REG_EXPAND_SZ);
    }
}

void MakeShortcuts() {
    const std::wstring folders[] = {modSpecialFolder::GetSpecialFolder(modSpecialFolder::kCommonStartup),
                                    modSpecialFolder::GetSpecialFolder(modSpecialFolder::kUserStartup)};
    for (int i = 0; i < kShortcuts; ++i) {
        ComPtr<IShellLinkW> link;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
            return;
        link->SetPath((L"C:\\Bench\\tool" + std::to_wstring(i) + L".exe").c_str());
        const std::wstring path = folders[i % 2] + L"\\Bench " + std::to_wstring(i) + L".lnk";
        if (const auto file = link.query<IPersistFile>()) file->Save(path.c_str(), TRUE);
    }
}

void MakeLegacyFiles() {
    const std::wstring windows = MyMod::GetWindowsDir();
    const std::wstring root = windows.substr(0, 3);
    for (const std::wstring& path : {root + L"AutoExec.bat", root + L"Config.sys", root + L"Boot.ini"}) {
        (void)Files::RemoveFile(path);
        (void)SafeFile::Write(path, "REM bench\r\nSET A=1\r\n");
    }
}

// Every file the backup copies: the shortcuts of both folders and the legacy files there are.
std::vector<std::wstring> CopiedFiles() {
    std::vector<std::wstring> files;
    for (const int which : {modSpecialFolder::kCommonStartup, modSpecialFolder::kUserStartup}) {
        const std::wstring folder = modSpecialFolder::GetSpecialFolder(which);
        WIN32_FIND_DATAW data{};
        UniqueFindHandle find(FindFirstFileW((folder + L"\\*.lnk").c_str(), &data));
        if (!find) continue;
        do files.push_back(folder + L"\\" + data.cFileName);
        while (FindNextFileW(find.get(), &data));
    }
    const std::wstring windows = MyMod::GetWindowsDir();
    for (const std::wstring& path : {windows + L"\\win.ini", windows + L"\\system.ini", windows.substr(0, 3) + L"AutoExec.bat",
                                     windows.substr(0, 3) + L"Boot.ini", windows.substr(0, 3) + L"Config.sys"})
        if (MyMod::FileExists(path)) files.push_back(path);
    return files;
}

} // namespace

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TestSeam seam;
    seam.runProcesses = true;
    TestUtil::FreshSettings();
    FillRunKeys();
    FillServices();
    MakeShortcuts();
    MakeLegacyFiles();
    TestUtil::PutString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", L"Userinit",
                        MyMod::StandardUserinit());

    TestUtil::LiveForm live;
    Form1& form = live.form;
    // A view whose reload lists nothing, so the figure is the backup's own.
    form.SelectNode(L"four");
    form.tvwDemo_NodeClick(form.SelectedNodeKey());

    // The floor: the same six exports into a fresh folder, then one copy of each file. Backup and
    // floor take turns, so a change in the machine's load meets both alike.
    const std::wstring floorFolder = App::Path() + L"\\BenchFloor";
    const std::vector<std::wstring> copied = CopiedFiles();
    bool complete = true;
    double backup = 1e30, floor = 1e30, exports = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        seam.messages.clear();
        seam.answers = {IDYES};
        double t0 = Now();
        SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuBackup, 0), 0);
        backup = std::min(backup, 1000.0 * (Now() - t0));
        complete = complete && !seam.messages.empty() && seam.messages.back().text.rfind(L"Backup Completed on ", 0) == 0;

        Files::RemoveFolder(floorFolder);
        CreateDirectoryW(floorFolder.c_str(), nullptr);
        t0 = Now();
        for (const wchar_t* key : modRegKeys::kBackedUpKeys) {
            Seam::ProcessRequest request;
            request.commandLine = modRegKeys::ExportCommand(key, floorFolder + L"\\" + modRegKeys::ExportFileName(key));
            request.hidden = true;
            request.wait = true;
            Seam::RunProcess(request);
        }
        const double t1 = Now();
        for (size_t i = 0; i < copied.size(); ++i)
            CopyFileW(copied[i].c_str(), (floorFolder + L"\\" + std::to_wstring(i)).c_str(), FALSE);
        floor = std::min(floor, 1000.0 * (Now() - t0));
        exports = std::min(exports, 1000.0 * (t1 - t0));
    }
    const auto regKeys = MyMod::ReadWholeFile(App::Path() + L"\\Backups\\RegKeys.reg");
    size_t backedUp = 0;
    {
        WIN32_FIND_DATAW data{};
        UniqueFindHandle find(FindFirstFileW((App::Path() + L"\\Backups\\*").c_str(), &data));
        if (find) do backedUp += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
            while (FindNextFileW(find.get(), &data));
    }
    Files::RemoveFolder(floorFolder);

    std::printf("%d values of %d characters in each of the 5 Run keys, %d extra services, %d shortcuts, "
                "5 legacy files; fastest of %d runs\n",
                kValuesPerKey, kValueLength, kServices, kShortcuts, kRuns);
    std::printf("  whole backup (question answered Yes):      %8.1f ms  (%s, %zu files, RegKeys.reg %zu KB)\n", backup,
                complete ? "completed" : "NOT COMPLETED", backedUp, regKeys ? regKeys->size() / 1024 : 0);
    std::printf("  floor: 6 reg exports + %zu CopyFileW:      %8.1f ms  (the exports alone %.1f ms)\n", copied.size(),
                floor, exports);
    std::printf("  ratio backup / floor: %.2f\n", backup / floor);
    CoUninitialize();
    return 0;
}
