// frmReg2, "Startup Properties" of the shortcut selected in lv3.
#pragma once

#include "startups/StartupProperties.h"

class Form1;

class frmReg2 : public Dialog<frmReg2>, public StartupPropertiesControls {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmReg2";
    using StartupPropertiesControls::kClientHeight;
    using StartupPropertiesControls::kClientWidth;

    explicit frmReg2(Form1& form) : form_(form) {}

    [[nodiscard]] std::wstring Caption() const { return kCaption; }
    void CreateControls() { CreateStartupControls(hwnd()); }
    void Form_Load();
    void Form_Unload() {}
    bool OnCommand(UINT, UINT, HWND) { return false; }
    LRESULT OnNotify(NMHDR* header) {
        tabs.OnNotify(header);
        return 0;
    }
    void TabStrip1_Click() { tabs.TabStrip1_Click(); }

private:
    Form1& form_;
};
