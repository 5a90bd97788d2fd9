// The controls and the fill both startup properties dialogs share.
#include "startups/StartupProperties.h"

#include "mainwindow/ListView.h"
#include "startups/CommandSplit.h"
#include "resources/Images.h"


namespace {

constexpr const wchar_t* kTabs[] = {L"File Properties", L"Startup Properties"};
constexpr wchar_t kStartupName[] = L"Startup Name";
constexpr wchar_t kStartupPath[] = L"Startup Path";
constexpr wchar_t kCommandSwitch[] = L"Command Switch";
constexpr wchar_t kCurrentStatus[] = L"Current Status";

} // namespace

void StartupPropertiesControls::CreateStartupControls(HWND dialog) {
    static_assert(IDC_txtCurrent - IDC_lblName == 7);
    (void)CreateSheet(dialog, {IDC_Label9, IDC_TabStrip1, IDC_Frame2, IDC_lblName, IDC_lblInfo}, {kTabs[0], kTabs[1]},
                      {kStartupName, kStartupPath, kCommandSwitch, kCurrentStatus});
}

void StartupPropertiesControls::FillFromRow(HWND dialog, HWND list, int row) {
    const std::wstring name = ListView::Text(list, row, 0);
    SetWindowTextW(txtName, name.c_str());
    SetWindowTextW(Label9, name.c_str());
    const Startups::CommandParts parts = Startups::CommandSplit(ListView::Text(list, row, 1));
    SetWindowTextW(txtFileName, parts.program.c_str());
    SetWindowTextW(txtSwitch, parts.switches.c_str());
    const int icon = row >= 0 ? ListView::Icon(list, row) : 0;
    const bool enabled = icon == Images::kIconEnabled || icon == Images::kIconEnabledRunning;
    SetWindowTextW(txtCurrent, enabled ? kEnabled : kDisabled);

    LoadProgram(dialog, parts.program, FileProperties::NameRule::OriginalFileName);
}
