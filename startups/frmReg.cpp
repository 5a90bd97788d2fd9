// frmReg: the properties of the startup selected in lv2, and the Winlogon reset.
#include "startups/frmReg.h"

#include "mainwindow/ControlIds.h"
#include "mainwindow/Form1.h"
#include "mainwindow/ListView.h"
#include "startups/RunKeys.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Seam.h"
#include "system/Text.h"

using RunKeys::kUserinitValue;
using RunKeys::kWinlogonKey;

void frmReg::CreateControls() {
    CreateStartupControls(hwnd());
    if (tabs.Frame2.size() <= kStartupTab) return;
    const int width = tabs.FrameWidth() - 240;
    Picture3 = DialogSupport::AddFrame(tabs.Frame2[kStartupTab], IDC_Picture3, {120, 3060, width, 600}, true);
    DialogSupport::AddChild(Picture3, WC_STATICW, kDeleteWinlogon, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE,
                            IDC_lblDelete, {0, 60, width - 1320, 375});
    cmdRemove = DialogSupport::AddChild(Picture3, WC_BUTTONW, kDelete, BS_PUSHBUTTON | WS_TABSTOP, IDC_cmdRemove,
                                        {width - 1200, 60, 1200, 375});
}

void frmReg::Form_Load() {
    TabStrip1_Click();
    if (Text::EqualsNoCase(form_.SettingTabFlag, L"1")) tabs.SelectTab(kStartupTab);
    if (Text::EqualsNoCase(form_.WinlogonEditFlag, L"WL")) {
        ShowWindow(Picture3, SW_SHOWNA);
        form_.WinlogonEditFlag = L"0";
        tabs.SetCaption(kStartupTab, kWinlogonTab);
    }
    form_.SettingTabFlag = L"0";
    FillFromRow(hwnd(), form_.lv2, ListView::Selected(form_.lv2));
}

bool frmReg::OnCommand(UINT id, UINT code, HWND) {
    if (id == IDC_cmdRemove && code == BN_CLICKED) {
        cmdRemove_Click();
        return true;
    }
    return false;
}

LRESULT frmReg::OnNotify(NMHDR* header) {
    tabs.OnNotify(header);
    return 0;
}

void frmReg::cmdRemove_Click() {
    const std::wstring standard = MyMod::StandardUserinit();
    // A Userinit naming a program that is not there would stop every logon.
    const std::wstring program = standard.substr(0, standard.size() - 1);  // without its ","
    if (!MyMod::FileExists(program)) {
        Seam::ShowMessage(hwnd(), kUserinitMissingStart + program + kUserinitMissingEnd, L"",
                          MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!General::SetStringValue(kWinlogonKey, kUserinitValue, standard) ||
        General::GetStringValue(kWinlogonKey, kUserinitValue) != standard) {
        Seam::ShowMessage(hwnd(), kUserinitNotWritten + standard + L"     ", L"", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    form_.SelectNode(L"ten");
    SendMessageW(form_.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_cmdWL, BN_CLICKED), reinterpret_cast<LPARAM>(form_.cmdWL));
    Unload();
}
