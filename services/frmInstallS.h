// frmInstallS, "Install Service": registers a new automatic service under the local system
// account from a program file, with an optional switch and description, modeless.
#pragma once

#include "mainwindow/Dialog.h"
#include "mainwindow/TabFrames.h"

#include <string>

class Form1;

class frmInstallS : public Dialog<frmInstallS> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmInstallS";
    static constexpr int kClientWidth = 6600;   // twips
    static constexpr int kClientHeight = 4560;

    static constexpr wchar_t kCaption[] = L"Install Service";
    static constexpr wchar_t kHeading[] = L"Install a New Service";
    static constexpr wchar_t kServiceTab[] = L"New Service";
    static constexpr wchar_t kDescriptionTab[] = L"Optional Description";
    static constexpr wchar_t kServiceName[] = L"Service Name";
    static constexpr wchar_t kDisplayName[] = L"Display Name";
    static constexpr wchar_t kFilePath[] = L"File Path";
    static constexpr wchar_t kOptionalSwitch[] = L"Optional Switch";
    static constexpr wchar_t kBrowse[] = L"...";
    static constexpr wchar_t kInstall[] = L"Install";
    static constexpr wchar_t kMustEnter[] = L"You must enter a Service Name, Display Name and File Path     ";
    static constexpr wchar_t kInstalling[] = L"Installing new Service....Please wait";
    static constexpr wchar_t kInstallationComplete[] = L"Installation Complete";
    static constexpr wchar_t kAdded[] = L" Service added successfully!     ";  // after the display name
    // After the display name: the service is installed, its description could not be stored.
    static constexpr wchar_t kDescriptionNotWritten[] =
        L" was installed, but its description could not be written to the registry.     ";

    static constexpr int kServiceTabIndex = 0;
    static constexpr int kDescriptionTabIndex = 1;

    enum ControlId : int {
        IDC_Label9 = 100,
        IDC_TabStrip1,
        IDC_Frame2,  // Frame2(0), Frame2(1)
        IDC_lblName = IDC_Frame2 + 2,
        IDC_txtName,
        IDC_lblDispName,
        IDC_txtDispName,
        IDC_lblPath,
        IDC_txtPath,
        IDC_cmdOpen,
        IDC_lblSwitch,
        IDC_txtSwitch,
        IDC_cmdApply,
        IDC_txtDescr,
    };

    explicit frmInstallS(Form1& form) : form_(form) {}

    [[nodiscard]] std::wstring Caption() const { return kCaption; }
    void CreateControls();
    void Form_Load();
    void Form_Unload() {}
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    bool OnCommand(UINT id, UINT code, HWND control);
    LRESULT OnNotify(NMHDR* header);

    void TabStrip1_Click() { tabs.TabStrip1_Click(); }
    // Puts the chosen program into txtPath; a cancel changes nothing.
    void cmdOpen_Click();
    // Installs the service from the fields, which it leaves as typed. On success the description
    // is stored, the services list reloaded, the install reported and the dialog unloaded; on a
    // refusal the manager's reason is shown and the dialog stays open. Ignored while one runs.
    void cmdApply_Click();
    // An install is under way (the handler lets window messages run meanwhile).
    [[nodiscard]] bool Installing() const noexcept { return installing_; }

    HWND Label9 = nullptr;
    TabFrames tabs;
    HWND txtName = nullptr, txtDispName = nullptr, txtPath = nullptr, cmdOpen = nullptr, txtSwitch = nullptr,
         cmdApply = nullptr;
    HWND txtDescr = nullptr;

private:
    // Installs the service and, once it is there, stores its description (when one is given) and
    // shows it in the services list; false, with the manager's reason shown, when it is refused.
    bool Install(const std::wstring& name, const std::wstring& displayName, const std::wstring& command,
                 const std::wstring& description);
    // Reloads the services list on the Services view.
    void ShowInstalled(const std::wstring& titleBefore, const std::wstring& panelBefore);

    Form1& form_;
    bool installing_ = false;
    bool pressedDuringOtherWork_ = false;  // Install was pressed while other work held the main window
};
