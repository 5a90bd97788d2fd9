// frmInfo, "Service Properties": the service selected in lv on four tabs (its program file,
// its status, its setting with Apply, its dependencies both ways), modeless.
#pragma once

#include "mainwindow/PropertiesSheet.h"

#include <string>

class Form1;

class frmInfo : public Dialog<frmInfo>, public PropertiesSheet {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmInfo";

    static constexpr wchar_t kCaption[] = L"Service Properties";
    static constexpr int kSettingTab = 2;  // "Service Setting"

    enum ControlId : int {
        IDC_Label9 = 100,
        IDC_TabStrip1,
        IDC_Frame2,                                  // Frame2(0..3)
        IDC_lblName = IDC_Frame2 + 4,
        IDC_txtName,
        IDC_lblFileName,
        IDC_txtFileName,
        IDC_lblSwitch,
        IDC_txtSwitch,
        IDC_lblCurrent,
        IDC_txtCurrent,
        IDC_lblID,
        IDC_txtID,
        IDC_lblDescr,
        IDC_txtDescr,
        IDC_lblStatus,
        IDC_cboStatus,
        IDC_cmdApply,
        IDC_lblDependsOn,
        IDC_txtDependsOn,
        IDC_lblDependsOnIt,
        IDC_txtDependsOnIt,
        IDC_lblInfo,                                 // the panel's ids follow
    };

    // A "Service Path" as this dialog splits it: at the first " /" when it holds ".exe /" or
    // "svchost /", else at the first " -" for ".exe -" or "svchost -", else at the first ","
    // (each test exact, case included); the switch begins with its separator. Otherwise the
    // path stays whole, quotes and all, with no switch.
    struct PathParts {
        std::wstring program;
        std::wstring switches;
    };
    [[nodiscard]] static PathParts SplitServicePath(const std::wstring& path);

    explicit frmInfo(Form1& form) : form_(form) {}

    [[nodiscard]] std::wstring Caption() const { return kCaption; }
    void CreateControls();
    void Form_Load();
    void Form_Unload() {}
    bool OnCommand(UINT id, UINT code, HWND control);
    LRESULT OnNotify(NMHDR* header);
    void TabStrip1_Click() { tabs.TabStrip1_Click(); }
    void cmdApply_Click();
    // Opens the "Service Setting" tab of the open dialog (the setting was asked for again).
    void ShowSettingTab();

    HWND txtID = nullptr;
    HWND txtDescr = nullptr;
    HWND cboStatus = nullptr;
    HWND cmdApply = nullptr;
    HWND txtDependsOn = nullptr;
    HWND txtDependsOnIt = nullptr;

private:
    Form1& form_;
};
