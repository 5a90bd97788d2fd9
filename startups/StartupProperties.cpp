// The controls and the fill both startup properties dialogs share.
#include "startups/StartupProperties.h"

#include "mainwindow/ListView.h"
#include "startups/CommandSplit.h"
#include "resources/Images.h"

#include <iterator>

namespace {

constexpr const wchar_t* kTabs[] = {L"File Properties", L"Startup Properties"};
constexpr wchar_t kStartupName[] = L"Startup Name";
constexpr wchar_t kStartupPath[] = L"Startup Path";
constexpr wchar_t kCommandSwitch[] = L"Command Switch";
constexpr wchar_t kCurrentStatus[] = L"Current Status";

constexpr int kMargin = 120;
constexpr int kBoxHeight = 300;
constexpr DWORD kReadOnlyBox = ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP;

} // namespace

void StartupPropertiesControls::CreateStartupControls(HWND dialog) {
    Label9 = DialogSupport::AddChild(dialog, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, IDC_Label9,
                                     {120, 120, 6360, 300});
    tabs.Create(dialog, IDC_TabStrip1, IDC_Frame2, {120, 540, 6360, 4380}, {kTabs[0], kTabs[1]});
    if (tabs.Frame2.size() != std::size(kTabs)) return;
    panel.Create(tabs.Frame2[0], IDC_lblInfo, tabs.FrameWidth());

    HWND frame = tabs.Frame2[kStartupTab];
    const int width = tabs.FrameWidth() - 2 * kMargin;
    struct Field {
        const wchar_t* label;
        int labelId, boxId;
        HWND* box;
    };
    const Field fields[] = {
        {kStartupName, IDC_lblName, IDC_txtName, &txtName},
        {kStartupPath, IDC_lblFileName, IDC_txtFileName, &txtFileName},
        {kCommandSwitch, IDC_lblSwitch, IDC_txtSwitch, &txtSwitch},
        {kCurrentStatus, IDC_lblCurrent, IDC_txtCurrent, &txtCurrent},
    };
    int top = 450;
    for (const auto& f : fields) {
        *f.box = DialogSupport::AddCaptionedBox(frame, f.label, f.labelId, WC_EDITW, kReadOnlyBox, f.boxId,
                                                {kMargin, top, width, kBoxHeight});
        top += 720;
    }
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

    panel.Load(dialog, parts.program, FileProperties::NameRule::OriginalFileName);
    // Long texts can be read whole in their tooltips.
    toolTips.Set(panel.txtInfo[3], DialogSupport::WindowText(panel.txtInfo[3]));
    toolTips.Set(txtFileName, parts.program);
}
