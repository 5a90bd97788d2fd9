// frmIcons: the legend of the startup lists' state icons, shown modeless from "Icon Legend".
#include "startups/frmIcons.h"

#include "mainwindow/Form1.h"

void frmIcons::CreateControls() {
    for (int i = 0; i < kRows; ++i) {
        const int top = 240 + i * 420;
        imgState[i] = AddControl(WC_STATICW, L"", SS_ICON | SS_CENTERIMAGE, IDC_imgState + i, {240, top - 30, 300, 300});
        icons_[i].reset(ImageList_GetIcon(form_.ImageList1.get(), kIconNumbers[i] - 1, ILD_NORMAL));
        SendMessageW(imgState[i], STM_SETICON, reinterpret_cast<WPARAM>(icons_[i].get()), 0);
        lblState[i] = AddControl(WC_STATICW, kTexts[i], SS_LEFT | SS_NOPREFIX, IDC_lblState + i, {660, top, 3720, 255});
    }
    cmdOK = AddControl(WC_BUTTONW, kOK, BS_DEFPUSHBUTTON | WS_TABSTOP, IDC_cmdOK, {1740, 1980, 1080, 375});
    SetDefaultButton(IDC_cmdOK);
    SetInitialFocus(cmdOK);
}

bool frmIcons::OnCommand(UINT id, UINT code, HWND) {
    if (id != IDC_cmdOK || code != BN_CLICKED) return false;
    cmdOK_Click();
    return true;
}

void frmIcons::cmdOK_Click() { Unload(); }
