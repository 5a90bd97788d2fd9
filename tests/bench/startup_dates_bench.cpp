// Times the first-seen dates pass over 600 startup rows of a shown main window: a first pass that
// stamps every row and a later one that finds them all, against the floor of one enumeration of
// "Dates\Startups" and each row's date cell set once, and against one value read per row.
// It rewrites the settings key of the prefix it runs in: run it as README says, never in a
// prefix that matters.
#include "BenchClock.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "resources/Images.h"
#include "system/App.h"
#include "system/FirstSeen.h"
#include "system/Handles.h"
#include "system/Registry.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using BenchClock::Now;

constexpr int kRows = 600;
constexpr int kRuns = 5;
constexpr int kDateColumn = 3;

// The fastest of kRuns, in ms; prepare runs untimed before each.
double Fastest(const std::function<void()>& prepare, const std::function<void()>& timed) {
    double best = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        const double t0 = Now();
        timed();
        best = std::min(best, 1000.0 * (Now() - t0));
    }
    return best;
}

} // namespace

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TestSeam seam;  // nothing waits for a person
    TestUtil::FreshSettings();
    TestUtil::LiveForm live;
    Form1& form = live.form;
    HWND lv2 = form.lv2;
    SendMessageW(lv2, WM_SETREDRAW, FALSE, 0);
    ListView::Clear(lv2);
    for (int i = 0; i < kRows; ++i) {
        wchar_t name[32];
        wsprintfW(name, L"BenchStartup%04d", i);
        ListView::AddRow(lv2, name, Images::kIconEnabledRunning,
                         {L"C:\\Tools\\prog" + std::to_wstring(i) + L".exe /min",
                          L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
                         ListView::EnabledForeColor);
    }
    SendMessageW(lv2, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(lv2, nullptr, TRUE);
    UpdateWindow(lv2);
    const std::wstring datesKey = App::SubKeyPath(App::SubKey::kStartupDates);
    const auto datesPath = General::ParseKeyPath(datesKey);
    // The first dispatch after the settings key was made announces nothing.
    auto firstLook = [] { General::SetStringValue(App::AppKey(), App::Value::kLv2DT, L"0"); };

    const double stamping = Fastest([&] { TestUtil::ForgetStartupDates(); firstLook(); }, [&] {
        form.SetStartupToolTips();
        form.MarkStartupDates();
    });
    size_t stored = 0;
    if (const auto values = Registry::EnumValues(datesPath->root, datesPath->subKey)) stored = values->size();
    const double known = Fastest([] {}, [&] {
        form.SetStartupToolTips();
        form.MarkStartupDates();
    });

    // The floor: one enumeration of the records, then each row's date cell set once.
    size_t floorRead = 0;
    const double floor = Fastest([] {}, [&] {
        const auto values = Registry::EnumValues(datesPath->root, datesPath->subKey);
        floorRead = values ? values->size() : 0;
        for (int row = 0; row < kRows; ++row)
            ListView::SetText(lv2, row, kDateColumn, values && static_cast<size_t>(row) < values->size()
                                                         ? (*values)[static_cast<size_t>(row)].text
                                                         : std::wstring());
    });
    // With the stamping pass's writes added to the floor.
    const std::wstring stamp = FirstSeen::FirstSeenDate();
    const double floorWithWrites = Fastest(TestUtil::ForgetStartupDates, [&] {
        UniqueHkey key;
        RegOpenKeyExW(datesPath->root, datesPath->subKey.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put());
        const auto values = Registry::EnumValues(key.get(), L"");
        const auto* data = reinterpret_cast<const BYTE*>(stamp.c_str());
        const auto size = static_cast<DWORD>((stamp.size() + 1) * sizeof(wchar_t));
        for (int row = 0; row < kRows; ++row) {
            RegSetValueExW(key.get(), ListView::Text(lv2, row).c_str(), 0, REG_SZ, data, size);
            ListView::SetText(lv2, row, kDateColumn, stamp);
        }
    });
    // One value read per row, the way that needs no enumeration.
    const double perRow = Fastest([] {}, [&] {
        for (int row = 0; row < kRows; ++row)
            ListView::SetText(lv2, row, kDateColumn, General::GetStringValue(datesKey, ListView::Text(lv2, row)));
    });

    std::printf("%d rows, fastest of %d runs, dates and tooltips filled in a shown list\n", kRows, kRuns);
    std::printf("  first pass (stamps every row):  %8.1f ms  (%zu dates stored)\n", stamping, stored);
    std::printf("  later pass (every row known):   %8.1f ms\n", known);
    std::printf("  floor: one enumeration + each row set once:  %8.1f ms  (%zu records read)\n", floor, floorRead);
    std::printf("  floor with the %d writes of a first pass:    %8.1f ms\n", kRows, floorWithWrites);
    std::printf("  one value read per row instead:              %8.1f ms\n", perRow);
    std::printf("  ratio first pass / floor: %.2f, / floor with writes: %.2f\n", stamping / floor,
                stamping / floorWithWrites);
    std::printf("  ratio later pass / floor: %.2f\n", known / floor);
    CoUninitialize();
    return 0;
}
