// frmInfo: the properties of the service selected in lv, and the change of its startup type.
#include "services/frmInfo.h"

#include "mainwindow/ControlIds.h"
#include "mainwindow/Form1.h"
#include "mainwindow/ListView.h"
#include "services/ServiceDescriptions.h"
#include "services/ServiceRows.h"
#include "services/ServiceSetting.h"
#include "startups/CommandSplit.h"
#include "system/Registry.h"
#include "system/Seam.h"
#include "system/ServiceControl.h"
#include "system/Text.h"
#include "system/WindowsVersion.h"

namespace {

constexpr const wchar_t* kTabs[] = {L"File Properties", L"Service Status", L"Service Setting", L"Dependencies"};
constexpr wchar_t kServiceName[] = L"Service Name";
constexpr wchar_t kServicePath[] = L"Service Path";
constexpr wchar_t kCommandSwitch[] = L"Command Switch";
constexpr wchar_t kCurrentStatus[] = L"Current Status";
constexpr wchar_t kServiceID[] = L"Service ID";
constexpr wchar_t kDescription[] = L"Description";
constexpr wchar_t kCurrentSetting[] = L"Current Setting";
constexpr wchar_t kChooseSetting[] = L"Please choose Automatic, Manual or Disabled as the Current Setting.";
constexpr wchar_t kApply[] = L"&Apply";
constexpr wchar_t kDependsOn[] = L"Services this one depends on to function properly.";
constexpr wchar_t kDependsOnIt[] = L"Services that depend on this one to function properly.";

// The entries of cboStatus, in order, with the start type each one sets.
constexpr DWORD kSettingTypes[] = {SERVICE_AUTO_START, SERVICE_DEMAND_START, SERVICE_DISABLED};

using namespace ServiceRows::LvColumns;

constexpr int kTallBoxHeight = 1200;  // twips
constexpr DWORD kReadOnlyText = ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;

} // namespace

frmInfo::PathParts frmInfo::SplitServicePath(const std::wstring& path) {
    Startups::CommandParts parts = Startups::CommandSplit(path);
    // Without a separator the path is shown as the service manager holds it.
    if (parts.switches.empty()) return {path, L""};
    return {std::move(parts.program), std::move(parts.switches)};
}

void frmInfo::CreateControls() {
    static_assert(IDC_txtCurrent - IDC_lblName == 7);
    if (!CreateSheet(hwnd(), {IDC_Label9, IDC_TabStrip1, IDC_Frame2, IDC_lblName, IDC_lblInfo},
                     {kTabs[0], kTabs[1], kTabs[2], kTabs[3]},
                     {kServiceName, kServicePath, kCommandSwitch, kCurrentStatus}))
        return;
    const int width = tabs.FrameWidth() - 2 * kMargin;
    auto box = [width](HWND frame, const wchar_t* caption, int labelId, DWORD style, int id, int top, int height) {
        return DialogSupport::AddCaptionedBox(frame, caption, labelId, WC_EDITW, style, id,
                                              {kMargin, top, width, height});
    };

    HWND setting = tabs.Frame2[2];
    txtID = box(setting, kServiceID, IDC_lblID, kReadOnlyBox, IDC_txtID, 450, kBoxHeight);
    txtDescr = box(setting, kDescription, IDC_lblDescr, kReadOnlyText, IDC_txtDescr, 1170, kTallBoxHeight);
    // Only the three settings can be chosen; a number or "Error" shows as no choice.
    cboStatus = DialogSupport::AddCaptionedBox(setting, kCurrentSetting, IDC_lblStatus, WC_COMBOBOXW,
                                               CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, IDC_cboStatus,
                                               {kMargin, 2790, 2400, 1500}, 0);
    for (DWORD type : kSettingTypes)
        SendMessageW(cboStatus, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ServiceSetting::Name(type)));
    cmdApply = DialogSupport::AddChild(setting, WC_BUTTONW, kApply, BS_PUSHBUTTON | WS_TABSTOP, IDC_cmdApply,
                                       {kMargin + width - 1200, 2760, 1200, 375});

    HWND dependencies = tabs.Frame2[3];
    txtDependsOn = box(dependencies, kDependsOn, IDC_lblDependsOn, kReadOnlyText, IDC_txtDependsOn, 450,
                       kTallBoxHeight);
    txtDependsOnIt = box(dependencies, kDependsOnIt, IDC_lblDependsOnIt, kReadOnlyText, IDC_txtDependsOnIt, 2070,
                         kTallBoxHeight);
}

void frmInfo::Form_Load() {
    if (tabs.Frame2.size() != std::size(kTabs)) return;
    if (Text::EqualsNoCase(form_.SettingTabFlag, L"1")) {
        tabs.SelectTab(kSettingTab);
        SetInitialFocus(tabs.TabStrip1);
    } else {
        TabStrip1_Click();
    }

    const HWND lv = form_.lv;
    const int row = ListView::Selected(lv);
    const std::wstring displayName = ListView::Text(lv, row, kColDisplayName);
    const std::wstring keyName = ListView::Text(lv, row, kColServiceName);
    SetWindowTextW(txtName, displayName.c_str());
    SetWindowTextW(txtID, keyName.c_str());

    std::wstring description;
    if (ServiceRows::IsSevenOrVista(WindowsVersion::ProductName())) {
        description = LookupServiceDescription(keyName);
    } else {
        description = General::GetStringValue(ServiceRows::kServicesKey + keyName, ServiceRows::kDescriptionValue);
        if (Text::EqualsNoCase(description, General::kError)) description = ServiceDescriptions::kNotAvailable;
    }
    SetWindowTextW(txtDescr, description.c_str());

    const std::wstring setting = ListView::Text(lv, row, kColSetting);
    const LRESULT choice = setting.empty() ? CB_ERR
                                           : SendMessageW(cboStatus, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                          reinterpret_cast<LPARAM>(setting.c_str()));
    SendMessageW(cboStatus, CB_SETCURSEL, choice == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(choice), 0);
    SetWindowTextW(txtCurrent, ListView::Text(lv, row, kColStatus).c_str());
    SetWindowTextW(Label9, displayName.c_str());
    SetWindowTextW(txtDependsOn, ListView::Text(lv, row, kColDependsOn).c_str());
    SetWindowTextW(txtDependsOnIt, ListView::Text(lv, row, kColDependants).c_str());

    const PathParts parts = SplitServicePath(ListView::Text(lv, row, kColPath));
    SetWindowTextW(txtFileName, parts.program.c_str());
    SetWindowTextW(txtSwitch, parts.switches.c_str());

    form_.SettingTabFlag = L"0";
    LoadProgram(hwnd(), parts.program, FileProperties::NameRule::FileName);
}

bool frmInfo::OnCommand(UINT id, UINT code, HWND) {
    if (id == IDC_cmdApply && code == BN_CLICKED) {
        cmdApply_Click();
        return true;
    }
    return false;
}

LRESULT frmInfo::OnNotify(NMHDR* header) {
    tabs.OnNotify(header);
    return 0;
}

void frmInfo::ShowSettingTab() {
    tabs.SelectTab(kSettingTab);
    BringToFront();
    SetFocus(tabs.TabStrip1);
}

// Applies the chosen setting to this dialog's own service, whatever row lv shows by now.
void frmInfo::cmdApply_Click() {
    const LRESULT choice = SendMessageW(cboStatus, CB_GETCURSEL, 0, 0);
    if (form_.servicesLoading || form_.serviceCommandRunning) return;
    if (choice < 0 || choice >= static_cast<LRESULT>(std::size(kSettingTypes))) {
        // A setting the list cannot show (a number, "Error") leaves the box empty.
        Seam::ShowMessage(hwnd(), kChooseSetting, L"", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const DWORD startType = kSettingTypes[choice];
    const std::wstring service = ControlText(txtID);
    const std::wstring displayName = ControlText(txtName);

    // A node click during the reload waits until the row is selected again and any refusal shown.
    Form1::Busy busy(form_);
    // Through the service manager, which uses the new type at once.
    UpcServiciosyWea control;
    control.ServiceName(service);
    form_.serviceCommandRunning = true;
    const DWORD error = control.ChangeStartType(startType, L"");
    form_.serviceCommandRunning = false;

    SendMessageW(form_.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_Command6, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form_.Command6));
    if (IsWindow(form_.lv)) {
        SetFocus(form_.lv);
        const int row = ListView::FindRow(form_.lv, service, kColServiceName);
        if (row >= 0) ListView::Select(form_.lv, row);
    }
    const HWND owner = hwnd() ? hwnd() : form_.hwnd();
    if (error != ERROR_SUCCESS)
        Seam::ShowMessage(owner, ServiceSetting::RefusedMessage(displayName, startType, error), L"",
                          MB_OK | MB_ICONEXCLAMATION);
    // The dialog stays open and takes the focus back.
    if (hwnd()) {
        BringToFront();
        SetFocus(cmdApply);
    }
}
