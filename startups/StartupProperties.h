// What the two "Startup Properties" dialogs (frmReg for lv2, frmReg2 for lv3) share: the
// heading, the tabs "File Properties" and "Startup Properties", and their fill from a list row.
#pragma once

#include "mainwindow/PropertiesSheet.h"

#include <string>

class StartupPropertiesControls : public PropertiesSheet {
public:
    static constexpr wchar_t kCaption[] = L"Startup Properties";
    static constexpr wchar_t kEnabled[] = L"Enabled";
    static constexpr wchar_t kDisabled[] = L"Disabled";
    static constexpr int kStartupTab = kFieldsTab;  // "Startup Properties"

    enum ControlId : int {
        IDC_Label9 = 100,
        IDC_TabStrip1,
        IDC_Frame2,                      // Frame2(0), Frame2(1)
        IDC_lblName = IDC_Frame2 + 2,
        IDC_txtName,
        IDC_lblFileName,
        IDC_txtFileName,
        IDC_lblSwitch,
        IDC_txtSwitch,
        IDC_lblCurrent,
        IDC_txtCurrent,
        IDC_lblInfo,                     // the panel's ids follow
        IDC_Next = IDC_lblInfo + FilePropertiesPanel::kIdCount,  // free for the dialog's own controls
    };

protected:
    void CreateStartupControls(HWND dialog);
    // The entry's name, its command split into program and switch, whether it is enabled (row
    // icon 1 or 2), then the file panel from the program, and the tooltips of the long texts.
    void FillFromRow(HWND dialog, HWND list, int row);
};
