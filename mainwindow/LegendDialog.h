// The shape both icon legends share: four pictures of the main window's row images, each beside
// what it means, and "OK", which unloads the legend. Shown modeless; a second show brings it forward.
#pragma once

#include "mainwindow/Dialog.h"
#include "system/Handles.h"

#include <string>

class Form1;

namespace DialogSupport {
// The picture of that number (1-based) in the main window's row images, ImageList1; the caller owns it.
[[nodiscard]] HICON RowImage(const Form1& form, int number);
} // namespace DialogSupport

// T provides kClassName, and kIconNumbers and kTexts: from top to bottom, each row's picture
// number and its text.
template <typename T>
class LegendDialog : public Dialog<T> {
public:
    static constexpr int kClientWidth = 4560;   // twips
    static constexpr int kClientHeight = 2520;
    static constexpr wchar_t kCaption[] = L"Icon Legend";
    static constexpr wchar_t kOK[] = L"OK";
    static constexpr int kRows = 4;

    enum ControlId : int { IDC_cmdOK = 100, IDC_imgState, IDC_lblState = IDC_imgState + kRows };

    explicit LegendDialog(Form1& form) : form_(form) {}

    [[nodiscard]] std::wstring Caption() const { return kCaption; }
    void CreateControls() {
        for (int i = 0; i < kRows; ++i) {
            const int top = 240 + i * 420;
            imgState[i] =
                this->AddControl(WC_STATICW, L"", SS_ICON | SS_CENTERIMAGE, IDC_imgState + i, {240, top - 30, 300, 300});
            icons_[i].reset(DialogSupport::RowImage(form_, T::kIconNumbers[i]));
            SendMessageW(imgState[i], STM_SETICON, reinterpret_cast<WPARAM>(icons_[i].get()), 0);
            lblState[i] =
                this->AddControl(WC_STATICW, T::kTexts[i], SS_LEFT | SS_NOPREFIX, IDC_lblState + i, {660, top, 3720, 255});
        }
        cmdOK = this->AddControl(WC_BUTTONW, kOK, BS_DEFPUSHBUTTON | WS_TABSTOP, IDC_cmdOK, {1740, 1980, 1080, 375});
        this->SetDefaultButton(IDC_cmdOK);
        this->SetInitialFocus(cmdOK);
    }
    void Form_Load() {}
    void Form_Unload() {}
    bool OnCommand(UINT id, UINT code, HWND) {
        if (id != IDC_cmdOK || code != BN_CLICKED) return false;
        cmdOK_Click();
        return true;
    }
    void cmdOK_Click() { this->Unload(); }

    HWND imgState[kRows] = {};
    HWND lblState[kRows] = {};
    HWND cmdOK = nullptr;

private:
    Form1& form_;
    UniqueHicon icons_[kRows];
};
