// frmInstall: adds a Run value or a Startup-folder shortcut; nothing that is there already is
// replaced without asking, and a failure is reported with the dialog left open.
#include "startups/frmInstall.h"

#include "mainwindow/Form1.h"
#include "mainwindow/FormRows.h"
#include "startups/RegistryParking.h"
#include "system/CommandLine.h"
#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Seam.h"
#include "system/ShellLink.h"
#include "system/Text.h"
#include "system/WindowsVersion.h"
#include "system/cFileDialog.h"

#include <shlobj.h>

namespace {

constexpr wchar_t kAllStartupsNode[] = L"one";

constexpr int kMargin = FormRows::kMargin;
constexpr int kComboWidth = 2400;
constexpr int kComboListHeight = 1200;
constexpr DWORD kComboBox = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;

// Moves a newly saved shortcut to its name. A new shortcut is often opened for a moment by
// another program (the shell reading it, a virus scanner), so a move refused for that is tried
// again for up to two seconds.
bool MoveIntoPlace(const std::wstring& from, const std::wstring& to, bool replace) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || attempt == 20) return false;
        Sleep(100);
    }
}

// Saves the shortcut under a passing name in its folder and then moves it into place, so a
// shortcut it replaces stays whole until the new one is there. True when link is the new shortcut.
bool SaveShortcut(const std::wstring& folder, const std::wstring& link, const std::wstring& target,
                  const std::wstring& description, bool replace) {
    ComPtr<IShellLinkW> shell;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.put_void())))
        return false;
    if (FAILED(shell->SetPath(target.c_str()))) return false;
    if (FAILED(shell->SetWorkingDirectory(MyMod::GetParentFolder(target, true).c_str()))) return false;
    if (!description.empty() && FAILED(shell->SetDescription(description.c_str()))) return false;
    const auto file = shell.query<IPersistFile>();
    wchar_t passing[MAX_PATH] = {};
    if (!file || !GetTempFileNameW(folder.c_str(), L"lnk", 0, passing)) return false;
    const bool saved = SUCCEEDED(file->Save(passing, TRUE)) && MoveIntoPlace(passing, link, replace);
    if (!saved) DeleteFileW(passing);
    return saved;
}

} // namespace

bool frmInstall::IsShortcutName(const std::wstring& name) {
    for (const wchar_t c : name) {
        if (c < L' ' || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
    }
    return true;
}

void frmInstall::CreateControls() {
    Label1 = AddControl(WC_STATICW, kHeading, SS_LEFT | SS_NOPREFIX, IDC_Label1, {kMargin, 120, 6360, 300});
    tabs.Create(hwnd(), IDC_TabStrip1, IDC_Frame2, {kMargin, 540, 6360, 3900}, {kRegistryTab, kFolderTab});
    if (tabs.Frame2.size() != 2) return;

    struct Tab {
        int frame;
        int firstId;  // the tab's ten ids follow in the order of ControlId
        HWND* name;
        HWND* path;
        HWND* browse;
        const wchar_t* thirdLabel;
        HWND* third;
        HWND* user;
        HWND* apply;
    };
    static_assert(IDC_cmdApply - IDC_lblName == 9 && IDC_cmdApplySF - IDC_lblNameSF == 9);
    const Tab tabControls[] = {
        {kRegistryTabIndex, IDC_lblName, &txtName, &txtPath, &cmdOpen, kOptionalSwitch, &txtSwitch, &cboUser, &cmdApply},
        {kFolderTabIndex, IDC_lblNameSF, &txtNameSF, &txtPathSF, &cmdOpenSF, kDescription, &txtDesc, &cboUserSF,
         &cmdApplySF},
    };
    for (const Tab& t : tabControls) {
        FormRows rows(tabs.Frame2[static_cast<size_t>(t.frame)], tabs);
        const int id = t.firstId;
        *t.name = rows.Edit(kStartupName, id, id + 1);
        *t.path = rows.Path(kStartupPath, id + 2, id + 3, kBrowse, id + 4, *t.browse);
        *t.third = rows.Edit(t.thirdLabel, id + 5, id + 6);
        *t.user = rows.Box(kInstallFor, id + 7, WC_COMBOBOXW, kComboBox, id + 8, kComboWidth, kComboListHeight, 0);
        for (const wchar_t* item : {kAllUsers, kCurrentUser})
            SendMessageW(*t.user, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        *t.apply = rows.Apply(kApply, id + 9);
    }
    SetInitialFocus(txtName);
}

void frmInstall::Form_Load() {
    SendMessageW(cboUser, CB_SETCURSEL, 0, 0);
    SendMessageW(cboUserSF, CB_SETCURSEL, 0, 0);
    TabStrip1_Click();
    // Only Run-key startups can be added there: the first frame stays on view alone.
    if (WindowsVersion::ProductContains(L"Windows 2000"))
        ShowWindow(tabs.TabStrip1, SW_HIDE);
}

bool frmInstall::OnCommand(UINT id, UINT code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_cmdOpen: cmdOpen_Click(); return true;
    case IDC_cmdOpenSF: cmdOpenSF_Click(); return true;
    case IDC_cmdApply: cmdApply_Click(); return true;
    case IDC_cmdApplySF: cmdApplySF_Click(); return true;
    default: return false;
    }
}

LRESULT frmInstall::OnNotify(NMHDR* header) {
    tabs.OnNotify(header);
    return 0;
}

void frmInstall::cmdOpen_Click() { Browse(txtPath); }

void frmInstall::cmdOpenSF_Click() { Browse(txtPathSF); }

void frmInstall::Browse(HWND pathBox) {
    const std::wstring program = cFileDialog::ChooseProgram(hwnd());
    // A cancel leaves the path as it was typed.
    if (!program.empty()) SetWindowTextW(pathBox, program.c_str());
}

void frmInstall::SelectRunKey() {
    runKey = Text::EqualsNoCase(ControlText(cboUser), kAllUsers) ? RegistryParking::kHklmRunPath
                                                                  : RegistryParking::kHkcuRunPath;
}

void frmInstall::SelectStartupFolder() {
    const bool allUsers = Text::EqualsNoCase(ControlText(cboUserSF), kAllUsers);
    startupFolder =
        modSpecialFolder::GetSpecialFolder(allUsers ? modSpecialFolder::kCommonStartup : modSpecialFolder::kUserStartup);
    const DWORD attributes = startupFolder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(startupFolder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) startupFolder.clear();
}

void frmInstall::cmdApply_Click() {
    const std::wstring name = ControlText(txtName);
    const std::wstring path = ControlText(txtPath);
    if (!NameAndPathGiven(name, path)) return;
    SelectRunKey();
    const auto key = General::ParseKeyPath(runKey);
    if (!key) return;
    const std::wstring command = CommandLine::Join(path, ControlText(txtSwitch));
    const auto existing = Registry::ReadValue(key->root, key->subKey, name);
    if (existing && !ReplaceConfirmed(name, kExistsCommand, Registry::IsText(existing->type) ? existing->text : L""))
        return;
    const bool written = General::CreateKey(runKey) &&
                         Registry::WriteText(key->root, key->subKey, name, REG_SZ, command);
    const auto stored = Registry::ReadValue(key->root, key->subKey, name);
    if (!written || !stored || stored->type != REG_SZ || stored->text != command) {
        // What was there before comes back byte for byte, whatever its type; a value that was
        // not there goes again.
        if (!existing) {
            (void)General::DeleteValue(key->root, key->subKey, name);
        } else {
            (void)Registry::WriteBytes(key->root, key->subKey, name, existing->type, existing->bytes);
        }
        Refuse(kNotWrittenStart + name + kNotWrittenMiddle + runKey + kNotWrittenEnd);
        return;
    }
    Added();
}

void frmInstall::cmdApplySF_Click() {
    const std::wstring name = ControlText(txtNameSF);
    const std::wstring target = ControlText(txtPathSF);
    if (!NameAndPathGiven(name, target)) return;
    // "..\x" would leave the Startup folder, and "a:b" would write a hidden stream.
    if (!IsShortcutName(name)) {
        Refuse(kBadShortcutName);
        return;
    }
    SelectStartupFolder();
    if (startupFolder.empty()) {
        Refuse(kNoStartupFolder);
        return;
    }
    const std::wstring link = startupFolder + L"\\" + name + L".lnk";
    const bool exists = GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        ShellShortcut::Reader present;
        (void)present.Load(link);  // a file that is no shortcut is named with an empty target
        if (!ReplaceConfirmed(name, kExistsTarget, present.Target())) return;
    }
    if (!SaveShortcut(startupFolder, link, target, ControlText(txtDesc), exists)) {
        Refuse(kNotSavedStart + link + kNotSavedEnd);
        return;
    }
    Added();
}

void frmInstall::Added() {
    Seam::ShowMessage(hwnd(), kAdded, L"", MB_OK | MB_ICONINFORMATION);
    form_.SelectNode(kAllStartupsNode);
    Unload();
}

bool frmInstall::NameAndPathGiven(const std::wstring& name, const std::wstring& path) {
    if (!name.empty() && !path.empty()) return true;
    Refuse(kMustEnter);
    return false;
}

bool frmInstall::ReplaceConfirmed(const std::wstring& name, const wchar_t* what, const std::wstring& present) {
    return Seam::ShowMessage(hwnd(), kExistsStart + name + what + present + kExistsEnd, L"",
                             MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void frmInstall::Refuse(const std::wstring& text) { Seam::ShowMessage(hwnd(), text, L"", MB_OK | MB_ICONEXCLAMATION); }
