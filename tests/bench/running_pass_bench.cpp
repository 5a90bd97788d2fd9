// Times the running-state pass over a long registry startup list: one process snapshot per
// pass against a scan of every process for every row.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "resources/Images.h"
#include "startups/CommandSplit.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/App.h"
#include "system/Registry.h"

#include <cstdio>

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TestSeam seam;  // nothing waits for a person
    General::CreateKey(App::AppKey());
    General::SetStringValue(App::AppKey(), L"Backup", L"1");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    constexpr int kRows = 300;
    ListView::Clear(form.lv2);
    for (int i = 0; i < kRows; ++i)
        ListView::AddRow(form.lv2, L"Row" + std::to_wstring(i), Images::kIconEnabledRunning,
                         {L"C:\\Tools\\prog" + std::to_wstring(i % 40) + L".exe /min", L"HKLM\\x"});

    LARGE_INTEGER freq{}, t0{}, t1{}, t2{};
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    form.MarkRunningStartups();
    QueryPerformanceCounter(&t1);
    for (int row = 0; row < kRows; ++row) {
        const std::wstring program = Startups::CommandSplit(ListView::Text(form.lv2, row, 1)).program;
        const bool running = modProcess::IsProcessRunning(MyMod::GetFileName(program));
        ListView::SetIcon(form.lv2, row, running ? Images::kIconEnabledRunning : Images::kIconEnabled);
    }
    QueryPerformanceCounter(&t2);
    const double snapshotMs = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
    const double perRowMs = 1000.0 * static_cast<double>(t2.QuadPart - t1.QuadPart) / static_cast<double>(freq.QuadPart);
    std::printf("%d rows: one snapshot per pass %.1f ms, one process scan per row %.1f ms\n", kRows, snapshotMs,
                perRowMs);
    CoUninitialize();
    return 0;
}
