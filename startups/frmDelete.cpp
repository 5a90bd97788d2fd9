// frmDelete: asks before a registry startup is deleted; Yes deletes the row selected in lv2.
#include "startups/frmDelete.h"

#include "mainwindow/Form1.h"
#include "mainwindow/ListView.h"
#include "startups/RegistryParking.h"
#include "system/App.h"
#include "system/Registry.h"

void frmDelete::CreateControls() {
    Label1 = AddControl(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, IDC_Label1, {120, 120, 5460, 1200});
    chkAsk = AddControl(WC_BUTTONW, kDontAsk, BS_AUTOCHECKBOX | WS_TABSTOP, IDC_chkAsk, {120, 1620, 2600, 300});
    cmdYes = AddControl(WC_BUTTONW, kYes, BS_DEFPUSHBUTTON | WS_TABSTOP, IDC_cmdYes, {3120, 1560, 1140, 400});
    cmdNo = AddControl(WC_BUTTONW, kNo, BS_PUSHBUTTON | WS_TABSTOP, IDC_cmdNo, {4380, 1560, 1140, 400});
    SetDefaultButton(IDC_cmdYes);
    SetInitialFocus(cmdYes);
}

void frmDelete::Form_Load() {
    const int row = ListView::Selected(form_.lv2);
    SetWindowTextW(Label1, (kQuestionStart + ListView::Text(form_.lv2, row) + kQuestionEnd).c_str());
}

void frmDelete::Form_Unload() {
    // On every close: Yes, No, Esc or the close box.
    const bool ticked = SendMessageW(chkAsk, BM_GETCHECK, 0, 0) == BST_CHECKED;
    General::SetStringValue(App::AppKey(), App::Value::kConfirmed, ticked ? L"1" : L"0");
}

bool frmDelete::OnCommand(UINT id, UINT code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_cmdYes: cmdYes_Click(); return true;
    case IDC_cmdNo: cmdNo_Click(); return true;
    default: return false;
    }
}

void frmDelete::cmdYes_Click() {
    RegistryParking::DeleteStartup(hwnd(), form_.lv2, ListView::Selected(form_.lv2));
    Unload();
}

void frmDelete::cmdNo_Click() { Unload(); }
