// Form1's startup properties dialogs, the add-new-startup dialog and the icon legends.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "startups/frmIcons.h"
#include "startups/frmInstall.h"
#include "startups/frmReg.h"
#include "startups/frmReg2.h"
#include "system/Seam.h"
#include "system/Text.h"

namespace {

constexpr wchar_t kNoExtraWinlogon[] = L"There are no extra Startups at WinLogon";
constexpr wchar_t kNodeFileSystem[] = L"File System Startups";
constexpr wchar_t kNodeWinlogon[] = L"WinLogon";

std::wstring SelectedNodeText(const Form1& form) {
    const Form1::NavigatorNode* node = form.FindNode(form.SelectedNodeKey());
    return node ? node->text : std::wstring();
}

// True for a row of the "WinLogon" view without extra programs, which has nothing to show;
// it says so then. A row with some opens frmReg in its Winlogon mode.
bool NoWinlogonExtras(const Form1& form, int row) {
    if (!ListView::Text(form.lv2, row, 1).empty()) return false;
    Seam::ShowMessage(form.hwnd(), kNoExtraWinlogon, L"", MB_OK | MB_ICONINFORMATION);
    return true;
}

bool InWinlogonView(const Form1& form) { return Text::EqualsNoCase(SelectedNodeText(form), kNodeWinlogon); }

// frmReg for the row selected in lv2 now; winlogonSteps: the Winlogon rules apply.
void ShowStartupProperties(Form1& form, bool winlogonSteps) {
    const int row = ListView::Selected(form.lv2);
    if (row < 0) return;
    const bool winlogon = winlogonSteps && InWinlogonView(form);
    if (winlogon && NoWinlogonExtras(form, row)) return;
    if (winlogon) form.WinlogonEditFlag = L"WL";
    frmReg::Show(form.hwnd(), form);
    form.WinlogonEditFlag = L"0";  // read as the dialog loads, never left for the next one
}

// A dialog open on another row is made anew for this one; a row with nothing to show leaves it.
void AskStartupProperties(Form1& form, bool winlogonSteps) {
    const int row = ListView::Selected(form.lv2);
    if (row < 0 || (winlogonSteps && InWinlogonView(form) && NoWinlogonExtras(form, row))) return;
    frmReg::ShowAnew(form.hwnd(), [&form, winlogonSteps] { ShowStartupProperties(form, winlogonSteps); });
}

void AskFolderItemProperties(Form1& form) {
    frmReg2::ShowAnew(form.hwnd(), [&form] {
        if (ListView::Selected(form.lv3) >= 0) frmReg2::Show(form.hwnd(), form);
    });
}

} // namespace

void Form1::lv2_DblClick() {
    if (ListView::Count(lv2) == 0 || Text::EqualsNoCase(SelectedNodeText(*this), kNodeFileSystem)) return;
    if (ListView::Selected(lv2) >= 0) AskStartupProperties(*this, true);
}

void Form1::lv3_DblClick() {
    if (ListView::Count(lv3) > 0 && ListView::Selected(lv3) >= 0) AskFolderItemProperties(*this);
}

void Form1::mnuProperites2_Click() {
    if (CheckListSelection(lv2) >= 0) AskStartupProperties(*this, false);
}

void Form1::mnuProperties3_Click() {
    if (CheckListSelection(lv3) >= 0) AskFolderItemProperties(*this);
}

void Form1::mnuProperties4_Click() {
    if (CheckListSelection(lv2) >= 0) AskStartupProperties(*this, true);
}

void Form1::mnuNew_Click() {
    frmInstall::ShowModal(hwnd_, *this);
    DoEvents();
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::mnuLegend_Click() { frmIcons::Show(hwnd_, *this); }

void Form1::mnuLegend2_Click() { frmIcons::Show(hwnd_, *this); }
