// frmIcons: the "Icon Legend" of the startup lists, the four state icons with what each means.
#pragma once

#include "mainwindow/Dialog.h"
#include "resources/Images.h"
#include "system/Handles.h"

#include <string>

class Form1;

class frmIcons : public Dialog<frmIcons> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmIcons";
    static constexpr int kClientWidth = 4560;   // twips
    static constexpr int kClientHeight = 2520;

    static constexpr wchar_t kCaption[] = L"Icon Legend";
    static constexpr wchar_t kOK[] = L"OK";
    // From top to bottom: the row icon of lv2 and lv3 (ImageList1, by number) and its meaning.
    static constexpr int kRows = 4;
    static constexpr int kIconNumbers[kRows] = {Images::kIconEnabledRunning, Images::kIconEnabled,
                                                 Images::kIconDisabledRunning, Images::kIconDisabled};
    static constexpr const wchar_t* kTexts[kRows] = {
        L"Automatic Start Enabled and Running",
        L"Automatic Start Enabled and not Running",
        L"Automatic Start Disabled and Running",
        L"Automatic Start Disabled and not Running",
    };

    enum ControlId : int { IDC_cmdOK = 100, IDC_imgState, IDC_lblState = IDC_imgState + kRows };

    explicit frmIcons(Form1& form) : form_(form) {}

    [[nodiscard]] std::wstring Caption() const { return kCaption; }
    void CreateControls();
    void Form_Load() {}
    void Form_Unload() {}
    bool OnCommand(UINT id, UINT code, HWND control);
    void cmdOK_Click();

    HWND imgState[kRows] = {};
    HWND lblState[kRows] = {};
    HWND cmdOK = nullptr;

private:
    Form1& form_;
    UniqueHicon icons_[kRows];
};
