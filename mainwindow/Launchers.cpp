// Form1's launchers of outside tools and help, and the About box.
#include "mainwindow/Form1.h"

#include "mainwindow/frmAbout.h"
#include "system/Paths.h"
#include "system/Seam.h"

namespace {

constexpr wchar_t kHelpCenterConfig[] = L"\\pchealth\\helpctr\\binaries\\msconfig.exe";  // in the Windows folder
constexpr wchar_t kSystemConfig[] = L"\\msconfig.exe";                                   // in the system folder
constexpr wchar_t kConfigEditor[] = L"\\sysedit.exe";                                    // in the system folder

} // namespace

// A missing tool or help file shows nothing: the shell's launch fails quietly.
void Form1::mnuConfig_Click() {
    const std::wstring helpCenterCopy = MyMod::GetWindowsDir() + kHelpCenterConfig;
    Seam::ShellOpen(hwnd_, MyMod::FileExists(helpCenterCopy) ? helpCenterCopy : MyMod::GetSystemDir() + kSystemConfig);
}

void Form1::mnuSysConfig_Click() { Seam::ShellOpen(hwnd_, MyMod::GetSystemDir() + kConfigEditor); }

void Form1::mnuContent_Click() { Seam::ShellOpen(hwnd_, helpFile); }

// The first click makes and fills the box; while it is open a click brings it forward unchanged.
void Form1::mnuAbout_Click() { frmAbout::Show(hwnd_); }
