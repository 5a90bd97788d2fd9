// frmDelete: the modal confirmation before a registry startup is deleted, with its
// "Don't ask me again" box that writes "Confirmed".
#pragma once

#include "mainwindow/Dialog.h"

#include <string>

class Form1;

class frmDelete : public Dialog<frmDelete> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmDelete";
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

    explicit frmDelete(Form1& form) : form_(form) {}

    [[nodiscard]] std::wstring Caption() const { return kCaption; }
    void CreateControls();
    void Form_Load();
    void Form_Unload();
    bool OnCommand(UINT id, UINT code, HWND control);
    void cmdYes_Click();
    void cmdNo_Click();

    HWND Label1 = nullptr;
    HWND cmdYes = nullptr;
    HWND cmdNo = nullptr;
    HWND chkAsk = nullptr;

private:
    Form1& form_;
};
