// frmInstall, "Install New Startup": adds a startup as a value of a Run key (first tab) or as
// a shortcut in a Startup folder (second tab), for all users or the current user.
#pragma once

#include "mainwindow/Dialog.h"
#include "mainwindow/TabFrames.h"

#include <string>

class Form1;

class frmInstall : public Dialog<frmInstall> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmInstall";
    static constexpr int kClientWidth = 6600;   // twips
    static constexpr int kClientHeight = 4560;

    static constexpr wchar_t kCaption[] = L"Install New Startup";
    static constexpr wchar_t kHeading[] = L"Install a New Startup Item";
    static constexpr wchar_t kRegistryTab[] = L"As Registry Startup";
    static constexpr wchar_t kFolderTab[] = L"In Startup Folder";
    static constexpr wchar_t kStartupName[] = L"Startup Name";
    static constexpr wchar_t kStartupPath[] = L"Startup Path";
    static constexpr wchar_t kOptionalSwitch[] = L"Optional Switch";
    static constexpr wchar_t kDescription[] = L"Description";
    static constexpr wchar_t kInstallFor[] = L"Install For";
    static constexpr wchar_t kAllUsers[] = L"All Users";
    static constexpr wchar_t kCurrentUser[] = L"Current User";
    static constexpr wchar_t kBrowse[] = L"...";
    static constexpr wchar_t kApply[] = L"Apply";
    static constexpr wchar_t kMustEnter[] = L"You must enter Startup Name and select a Startup Path     ";
    static constexpr wchar_t kAdded[] = L"New Startup added successfully!     ";
    // Questions and refusals: nothing the user had is replaced unasked, and a failure keeps the dialog.
    static constexpr wchar_t kExistsStart[] = L"A Startup named ";
    static constexpr wchar_t kExistsCommand[] = L" already exists with the command ";
    static constexpr wchar_t kExistsTarget[] = L" already exists with the target ";
    static constexpr wchar_t kExistsEnd[] = L".  Do you want to replace it?     ";
    static constexpr wchar_t kNotWrittenStart[] = L"The Startup ";
    static constexpr wchar_t kNotWrittenMiddle[] = L" could not be written to ";
    static constexpr wchar_t kNotWrittenEnd[] = L".     ";
    static constexpr wchar_t kNotSavedStart[] = L"The shortcut ";
    static constexpr wchar_t kNotSavedEnd[] = L" could not be saved.  Nothing was added.     ";
    static constexpr wchar_t kBadShortcutName[] =
        L"A Startup Name in a Startup folder cannot hold \\ / : * ? \" < > | or control characters.     ";
    static constexpr wchar_t kNoStartupFolder[] = L"The Startup folder could not be found.  Nothing was added.     ";

    static constexpr int kRegistryTabIndex = 0;
    static constexpr int kFolderTabIndex = 1;

    enum ControlId : int {
        IDC_Label1 = 100,
        IDC_TabStrip1,
        IDC_Frame2,  // Frame2(0), Frame2(1)
        IDC_lblName = IDC_Frame2 + 2,
        IDC_txtName,
        IDC_lblPath,
        IDC_txtPath,
        IDC_cmdOpen,
        IDC_lblSwitch,
        IDC_txtSwitch,
        IDC_lblUser,
        IDC_cboUser,
        IDC_cmdApply,
        IDC_lblNameSF,
        IDC_txtNameSF,
        IDC_lblPathSF,
        IDC_txtPathSF,
        IDC_cmdOpenSF,
        IDC_lblDesc,
        IDC_txtDesc,
        IDC_lblUserSF,
        IDC_cboUserSF,
        IDC_cmdApplySF,
    };

    explicit frmInstall(Form1& form) : form_(form) {}

    // False for a name that cannot be a file in the Startup folder: \ / : * ? " < > | or a
    // control character (names of blanks are allowed).
    [[nodiscard]] static bool IsShortcutName(const std::wstring& name);

    [[nodiscard]] std::wstring Caption() const { return kCaption; }
    void CreateControls();
    void Form_Load();
    void Form_Unload() {}
    bool OnCommand(UINT id, UINT code, HWND control);
    LRESULT OnNotify(NMHDR* header);

    void TabStrip1_Click() { tabs.TabStrip1_Click(); }
    void cmdOpen_Click();
    void cmdOpenSF_Click();
    // Writes the Run value, reads it back, and on success reports it, selects "All Startups"
    // and unloads; otherwise says what failed and stays open with the fields as they were.
    void cmdApply_Click();
    // Saves the shortcut, as cmdApply_Click.
    void cmdApplySF_Click();
    // runKey: the full path of the Run key cboUser names.
    void SelectRunKey();
    // startupFolder: the Startup folder cboUserSF names; "" when it cannot be found.
    void SelectStartupFolder();

    HWND Label1 = nullptr;
    TabFrames tabs;
    HWND txtName = nullptr, txtPath = nullptr, cmdOpen = nullptr, txtSwitch = nullptr, cboUser = nullptr,
         cmdApply = nullptr;
    HWND txtNameSF = nullptr, txtPathSF = nullptr, cmdOpenSF = nullptr, txtDesc = nullptr, cboUserSF = nullptr,
         cmdApplySF = nullptr;
    std::wstring runKey;
    std::wstring startupFolder;

private:
    void Browse(HWND pathBox);
    // False, after "You must enter ...", when either is empty.
    bool NameAndPathGiven(const std::wstring& name, const std::wstring& path);
    // Asks whether the startup named name, present with what ("with the command ..."), is replaced.
    bool ReplaceConfirmed(const std::wstring& name, const wchar_t* what, const std::wstring& present);
    // The success message, "All Startups" selected for the reload, and the dialog closed.
    void Added();
    void Refuse(const std::wstring& text);

    Form1& form_;
};
