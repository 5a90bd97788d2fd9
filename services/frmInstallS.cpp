// frmInstallS: installs a new service from a program file; a refused install keeps the dialog
// open with its fields, and nothing of another service is changed.
#include "services/frmInstallS.h"

#include "mainwindow/ControlIds.h"
#include "mainwindow/FormRows.h"
#include "mainwindow/Form1.h"
#include "services/ServiceRows.h"
#include "system/CommandLine.h"
#include "system/Registry.h"
#include "system/Seam.h"
#include "system/ServiceControl.h"
#include "system/Text.h"
#include "system/cFileDialog.h"

namespace {

constexpr wchar_t kServicesNode[] = L"six";

constexpr int kMargin = FormRows::kMargin;
constexpr DWORD kTextBox = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP;

} // namespace

void frmInstallS::CreateControls() {
    Label9 = AddControl(WC_STATICW, kHeading, SS_LEFT | SS_NOPREFIX, IDC_Label9, {kMargin, 120, 6360, 300});
    tabs.Create(hwnd(), IDC_TabStrip1, IDC_Frame2, {kMargin, 540, 6360, 3900}, {kServiceTab, kDescriptionTab});
    if (tabs.Frame2.size() != 2) return;

    FormRows rows(tabs.Frame2[kServiceTabIndex], tabs);
    txtName = rows.Edit(kServiceName, IDC_lblName, IDC_txtName);
    txtDispName = rows.Edit(kDisplayName, IDC_lblDispName, IDC_txtDispName);
    txtPath = rows.Path(kFilePath, IDC_lblPath, IDC_txtPath, kBrowse, IDC_cmdOpen, cmdOpen);
    txtSwitch = rows.Edit(kOptionalSwitch, IDC_lblSwitch, IDC_txtSwitch);
    cmdApply = rows.Apply(kInstall, IDC_cmdApply);

    txtDescr = DialogSupport::AddChild(tabs.Frame2[kDescriptionTabIndex], WC_EDITW, L"", kTextBox, IDC_txtDescr,
                                       {kMargin, kMargin, rows.Width(), tabs.FrameHeight() - 2 * kMargin},
                                       WS_EX_CLIENTEDGE);
    SetInitialFocus(txtName);
}

void frmInstallS::Form_Load() { TabStrip1_Click(); }

LRESULT frmInstallS::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (installing_) {
        // Until the install has ended the hourglass stays over the dialog and it does not close.
        if (msg == WM_SETCURSOR) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        if (msg == WM_CLOSE || (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL)) return 0;
    }
    return Dialog::HandleMessage(msg, wp, lp);
}

bool frmInstallS::OnCommand(UINT id, UINT code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_cmdOpen:
        if (!installing_) cmdOpen_Click();
        return true;
    case IDC_cmdApply: cmdApply_Click(); return true;
    default: return false;
    }
}

LRESULT frmInstallS::OnNotify(NMHDR* header) {
    tabs.OnNotify(header);
    return 0;
}

void frmInstallS::cmdOpen_Click() {
    const std::wstring program = cFileDialog::ChooseProgram(hwnd());
    if (!program.empty()) SetWindowTextW(txtPath, program.c_str());
}

void frmInstallS::cmdApply_Click() {
    if (installing_) return;
    // The fields as they are now: what the messages run below let the user type changes nothing.
    const std::wstring name = ControlText(txtName);
    const std::wstring displayName = ControlText(txtDispName);
    const std::wstring path = ControlText(txtPath);
    // A field of blanks alone names nothing, and the manager would take it.
    const auto blank = [](const std::wstring& text) { return Text::Trim(text).empty(); };
    if (blank(path) || blank(name) || blank(displayName)) {
        Seam::ShowMessage(hwnd(), kMustEnter, L"", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The install lets window messages run: node clicks and a close of the main window wait for
    // it, and another press of Install is ignored.
    pressedDuringOtherWork_ = form_.IsBusy();
    Form1::Busy busy(form_);
    installing_ = true;
    const bool installed =
        Install(name, displayName, CommandLine::Join(path, ControlText(txtSwitch)), ControlText(txtDescr));
    installing_ = false;
    if (!installed) return;
    Seam::ShowMessage(hwnd(), displayName + kAdded, L"", MB_OK | MB_ICONINFORMATION);
    Unload();
}

bool frmInstallS::Install(const std::wstring& name, const std::wstring& displayName, const std::wstring& command,
                          const std::wstring& description) {
    const std::wstring titleBefore = form_.ControlText(form_.lblCount);
    const std::wstring panelBefore = form_.PanelText(2);
    form_.SetViewTitle(kInstalling);
    Form1::DoEvents();
    const HCURSOR pointerBefore = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const auto restorePointer = [pointerBefore] {
        SetCursor(pointerBefore ? pointerBefore : LoadCursorW(nullptr, IDC_ARROW));
    };

    UpcServiciosyWea service;
    service.ServiceName(name);
    const bool installed = service.InstallService(command, displayName, L"", SERVICE_AUTO_START);
    // Without an outcome text the manager could not be opened, and its error is still the last one.
    const DWORD error = GetLastError();
    if (!installed) {
        restorePointer();
        SetWindowTextW(form_.lblCount, titleBefore.c_str());
        form_.SetPanelText(2, panelBefore);
        const std::wstring& outcome = service.InstallRemoveServiceError();
        Seam::ShowMessage(hwnd(), outcome.empty() ? Text::SystemMessage(error) : outcome, L"",
                          MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    // Only now is the key this install's own: a refused install leaves another service's alone.
    if (!description.empty() &&
        !General::SetStringValue(ServiceRows::kServicesKey + name, ServiceRows::kDescriptionValue, description))
        Seam::ShowMessage(hwnd(), displayName + kDescriptionNotWritten, L"", MB_OK | MB_ICONEXCLAMATION);

    Form1::DoEvents();
    restorePointer();
    ShowInstalled(titleBefore, panelBefore);
    return true;
}

void frmInstallS::ShowInstalled(const std::wstring& titleBefore, const std::wstring& panelBefore) {
    const bool servicesOnView = IsWindowVisible(form_.lv) != FALSE;
    // Another view on show keeps its own title while a node click waits for the work that holds
    // the window: one the user made during the install (the tree keeps that choice), or, when
    // other work (another view being filled) held it as Install was pressed, the services list's.
    if (!servicesOnView && (form_.NodeClickWaiting() || pressedDuringOtherWork_)) {
        SetWindowTextW(form_.lblCount, titleBefore.c_str());
        form_.SetPanelText(2, panelBefore);
        if (!form_.NodeClickWaiting()) {
            form_.SelectNode(kServicesNode);
            form_.tvwDemo_NodeClick(kServicesNode);
        }
        return;
    }
    form_.SetPanelText(2, form_.ControlText(form_.lblCount));
    if (servicesOnView) {
        if (!form_.NodeClickWaiting()) form_.SelectNode(kServicesNode);
        SendMessageW(form_.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_Command6, BN_CLICKED),
                     reinterpret_cast<LPARAM>(form_.Command6));
    } else {
        // Shown at once, not by a node click (which would wait for the install), so the title
        // written below names the list on show.
        form_.SelectNode(kServicesNode);
        form_.ShowView(kServicesNode);
    }
    Form1::DoEvents();
    if (IsWindowVisible(form_.lv)) SetWindowTextW(form_.lblCount, kInstallationComplete);
}
