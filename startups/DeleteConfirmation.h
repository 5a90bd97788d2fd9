// What the two delete confirmations share: the caption "Delete Startup", the question, "&Yes",
// "&No" and "Don't ask me again", whose state goes to "Confirmed" on every close, and the entry
// the question names, kept from the moment the dialog opens.
#pragma once

#include "mainwindow/Dialog.h"
#include "startups/ParkingMessages.h"
#include "system/App.h"
#include "system/Registry.h"

#include <commctrl.h>
#include <string>
#include <utility>

// Entry has the member name (the row's text). T provides static bool ReportIfGone(HWND owner,
// const Entry&) (the entry is not there any more, which it tells the user), static bool
// StillHolds(const Entry&) (the entry holds what it held when it was named) and static void
// Delete(HWND owner, const Entry&).
template <typename T, typename EntryType>
class DeleteConfirmation : public Dialog<T> {
public:
    static constexpr int kClientWidth = 5700;   // twips
    static constexpr int kClientHeight = 2160;

    static constexpr wchar_t kCaption[] = L"Delete Startup";
    static constexpr wchar_t kYes[] = L"&Yes";
    static constexpr wchar_t kNo[] = L"&No";
    static constexpr wchar_t kDontAsk[] = L"Don't ask me again";
    static constexpr wchar_t kQuestionStart[] = L"Are you sure you want to delete the Startup ";
    static constexpr wchar_t kQuestionEnd[] =
        L"?  This action can only be reversed by restoring a backup.  It's recommended to disable it first for a "
        L"few days to make sure it doesn't cause problems.";

    enum ControlId : int { IDC_Label1 = 100, IDC_cmdYes, IDC_cmdNo, IDC_chkAsk };

    using Entry = EntryType;

    explicit DeleteConfirmation(Entry entry) : entry_(std::move(entry)) {}

    [[nodiscard]] std::wstring Caption() const { return kCaption; }

    void CreateControls() {
        Label1 = this->AddControl(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, IDC_Label1, {120, 120, 5460, 1200});
        chkAsk = this->AddControl(WC_BUTTONW, kDontAsk, BS_AUTOCHECKBOX | WS_TABSTOP, IDC_chkAsk, {120, 1620, 2600, 300});
        cmdYes = this->AddControl(WC_BUTTONW, kYes, BS_DEFPUSHBUTTON | WS_TABSTOP, IDC_cmdYes, {3120, 1560, 1140, 400});
        cmdNo = this->AddControl(WC_BUTTONW, kNo, BS_PUSHBUTTON | WS_TABSTOP, IDC_cmdNo, {4380, 1560, 1140, 400});
        this->SetDefaultButton(IDC_cmdYes);
        this->SetInitialFocus(cmdYes);
    }

    void Form_Load() { SetWindowTextW(Label1, (kQuestionStart + entry_.name + kQuestionEnd).c_str()); }

    // Yes acts on the entry the question named, whatever row the list selects by now, and only
    // while that entry still holds what it held then; one that has gone meanwhile is named.
    void cmdYes_Click() {
        if (T::ReportIfGone(this->hwnd(), entry_)) {
            this->Unload();
            return;
        }
        if (T::StillHolds(entry_)) {
            T::Delete(this->hwnd(), entry_);
        } else {
            ParkingMessages::Refuse(this->hwnd(), ParkingMessages::kStartupStart + entry_.name +
                                                      ParkingMessages::kChangedEnd);
        }
        this->Unload();
    }

    void Form_Unload() {
        // On every close: Yes, No, Esc or the close box.
        const bool ticked = SendMessageW(chkAsk, BM_GETCHECK, 0, 0) == BST_CHECKED;
        General::SetStringValue(App::AppKey(), App::Value::kConfirmed, ticked ? L"1" : L"0");
    }

    bool OnCommand(UINT id, UINT code, HWND) {
        if (code != BN_CLICKED) return false;
        switch (id) {
        case IDC_cmdYes: cmdYes_Click(); return true;
        case IDC_cmdNo: cmdNo_Click(); return true;
        default: return false;
        }
    }

    void cmdNo_Click() { this->Unload(); }

    HWND Label1 = nullptr;
    HWND cmdYes = nullptr;
    HWND cmdNo = nullptr;
    HWND chkAsk = nullptr;

private:
    Entry entry_;
};
