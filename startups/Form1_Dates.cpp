// Form1's first-seen dates of the startups: the "Date Detected" column of lv2 and the
// announcement of startups new since the last look.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "system/App.h"
#include "system/FirstSeen.h"
#include "system/Registry.h"
#include "system/Seam.h"
#include "system/Text.h"

namespace {

constexpr wchar_t kNewStartupDetected[] = L"New Startup Detected:      ";
constexpr wchar_t kNewStartupsDetected[] = L"New Startups Detected:      ";
// Views whose new entries are stored without being announced.
constexpr const wchar_t* kQuietViews[] = {L"WinLogon", L"File System Startups", L"Disabled Startups"};

constexpr int kDateDetected = 3;  // lv2 "Date Detected"

// The longest name the announcement lists whole: a value name may run to thousands of
// characters, and a few such lines would make the box taller than the screen.
constexpr size_t kListedNameLength = 100;

} // namespace

// Entries are known by name alone, so two rows of one name share one date. The records are
// the view's, read once for all its loaders; a name stamped earlier in the pass is known for its
// later rows.
void Form1::MarkStartupDates() {
    const int rows = ListView::Count(lv2);
    if (rows <= 0) return;  // nothing to date: the services and editor views read no records
    ViewScope view(*this);
    FirstSeen::DateBook& dates = view.Dates();
    std::wstring stamp;  // one stamp for every entry this pass finds new
    std::vector<std::wstring> newNames;
    std::wstring lastNew;
    int newCount = 0;
    for (int row = 0; row < rows; ++row) {
        const std::wstring name = ListView::Text(lv2, row, 0);
        if (auto stored = dates.Find(name)) {
            ListView::SetText(lv2, row, kDateDetected, *stored);
            continue;
        }
        if (stamp.empty()) stamp = FirstSeen::FirstSeenDate();
        ListView::SetText(lv2, row, kDateDetected, stamp);
        // A date that cannot be stored leaves the entry new for the next view as well.
        (void)dates.Store(name, stamp);
        newNames.push_back(Text::OneLineExcerpt(name, kListedNameLength));
        lastNew = name;
        ++newCount;
    }

    if (newNames.empty()) return;
    if (!Text::EqualsNoCase(General::GetStringValue(App::AppKey(), App::Value::kLv2DT), L"1")) return;
    const NavigatorNode* node = FindNode(SelectedNodeKey());
    const std::wstring nodeText = node ? node->text : L"";
    for (const wchar_t* quiet : kQuietViews)
        if (Text::EqualsNoCase(nodeText, quiet)) return;

    std::wstring text = newCount == 1 ? kNewStartupDetected : kNewStartupsDetected;
    text += L"\r\n\r\n";
    for (const std::wstring& line : Text::ListedLines(newNames)) text += line + L"\r\n";
    Seam::ShowMessage(hwnd_, text, App::Title(), MB_OK | MB_ICONINFORMATION);
    SetFocus(lv2);
    const int row = ListView::FindRow(lv2, lastNew);
    if (row >= 0) ListView::Select(lv2, row);
}
