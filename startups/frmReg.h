// frmReg, "Startup Properties" of the row selected in lv2; for the Winlogon row with extra
// programs it also offers to set "Userinit" back to the system's own userinit.exe.
#pragma once

#include "startups/StartupProperties.h"

class Form1;

class frmReg : public Dialog<frmReg>, public StartupPropertiesControls {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmReg";
    using StartupPropertiesControls::kClientHeight;
    using StartupPropertiesControls::kClientWidth;

    static constexpr wchar_t kWinlogonTab[] = L"Modify Properties";
    static constexpr wchar_t kDeleteWinlogon[] = L"Delete this Startup's WinLogon setting";
    static constexpr wchar_t kDelete[] = L"Delete";
    static constexpr wchar_t kUserinitMissingStart[] = L"The WinLogon setting was not changed because ";
    static constexpr wchar_t kUserinitMissingEnd[] = L" was not found.     ";
    static constexpr wchar_t kUserinitNotWritten[] = L"The WinLogon setting could not be changed to ";

    enum ControlId : int { IDC_Picture3 = IDC_Next, IDC_lblDelete, IDC_cmdRemove };

    explicit frmReg(Form1& form) : form_(form) {}

    [[nodiscard]] std::wstring Caption() const { return kCaption; }
    void CreateControls();
    void Form_Load();
    void Form_Unload() {}
    bool OnCommand(UINT id, UINT code, HWND control);
    LRESULT OnNotify(NMHDR* header);
    void TabStrip1_Click() { tabs.TabStrip1_Click(); }
    // Writes the system's own Userinit, selects "WinLogon", reloads it and closes; when that
    // userinit.exe is missing or the write fails, says so and stays open.
    void cmdRemove_Click();

    HWND Picture3 = nullptr;
    HWND cmdRemove = nullptr;

private:
    Form1& form_;
};
