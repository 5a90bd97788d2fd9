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

// frmReg for a selected row of lv2. In the "WinLogon" view a row without extra programs has
// nothing to show, and a dialog made for a row with some opens in its Winlogon mode; one that
// is open already is only brought forward, so the mode is never left for a later dialog.
void ShowStartupProperties(Form1& form, int row) {
    const bool winlogonView = Text::EqualsNoCase(SelectedNodeText(form), kNodeWinlogon);
    const bool hasExtras = !ListView::Text(form.lv2, row, 1).empty();
    if (winlogonView && !hasExtras) {
        Seam::ShowMessage(form.hwnd(), kNoExtraWinlogon, L"", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (winlogonView && !frmReg::Current()) form.WinlogonEditFlag = L"WL";
    frmReg::Show(form.hwnd(), form);
    form.WinlogonEditFlag = L"0";
}

} // namespace

void Form1::lv2_DblClick() {
    if (ListView::Count(lv2) == 0 || Text::EqualsNoCase(SelectedNodeText(*this), kNodeFileSystem)) return;
    const int row = ListView::Selected(lv2);
    if (row >= 0) ShowStartupProperties(*this, row);
}

void Form1::lv3_DblClick() {
    if (ListView::Count(lv3) > 0 && ListView::Selected(lv3) >= 0) frmReg2::Show(hwnd_, *this);
}

void Form1::mnuProperites2_Click() {
    if (CheckListSelection(lv2) >= 0) frmReg::Show(hwnd_, *this);
}

void Form1::mnuProperties3_Click() {
    if (CheckListSelection(lv3) >= 0) frmReg2::Show(hwnd_, *this);
}

void Form1::mnuProperties4_Click() {
    const int row = CheckListSelection(lv2);
    if (row >= 0) ShowStartupProperties(*this, row);
}

void Form1::mnuNew_Click() {
    frmInstall::ShowModal(hwnd_, *this);
    DoEvents();
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::mnuLegend_Click() { frmIcons::Show(hwnd_, *this); }

void Form1::mnuLegend2_Click() { frmIcons::Show(hwnd_, *this); }
