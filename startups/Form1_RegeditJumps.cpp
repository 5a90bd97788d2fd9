// Form1's jumps into the registry editor at the Run keys: the editor opens at the key its own
// setting "LastKey" names, so a running editor is ended and the setting written before it starts.
#include "mainwindow/Form1.h"
#include "mainwindow/ListView.h"
#include "startups/RegistryParking.h"
#include "startups/RunKeys.h"

#include "system/Paths.h"
#include "system/Process.h"
#include "system/Registry.h"
#include "system/Seam.h"
#include "system/Text.h"
#include "system/WindowsVersion.h"

namespace {

constexpr wchar_t kMachine[] = L"HKEY_LOCAL_MACHINE\\";
constexpr wchar_t kUser[] = L"HKEY_CURRENT_USER\\";
constexpr wchar_t kRegeditAppletKey[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
constexpr wchar_t kLastKey[] = L"LastKey";
constexpr wchar_t kEditorProcess[] = L"regedit.exe";
constexpr wchar_t kEditorProgram[] = L"\\Regedit.exe";
constexpr DWORD kEditorEndWaitMs = 3000;

// The systems whose editor calls the root of its tree "My Computer"; from Vista on it is "Computer",
// and so it is for a product name that cannot be read.
constexpr const wchar_t* kMyComputerSystems[] = {L"Windows 2000", L"Windows XP", L"Server 2003"};

std::wstring RootName() {
    const std::wstring product = WindowsVersion::ProductName();
    for (const wchar_t* system : kMyComputerSystems)
        if (Text::ContainsNoCase(product, system)) return L"My Computer\\";
    return L"Computer\\";
}

// The editor runs one copy at a time: a new one must not find the old one's window still there.
void EndRunningEditor() {
    if (modTerminateProcess::KillProcessByName(kEditorProcess) == 0) return;
    const DWORD start = GetTickCount();
    while (modProcess::IsProcessRunning(kEditorProcess) && GetTickCount() - start < kEditorEndWaitMs) Sleep(50);
}

// Opens the registry editor at key (a full key path).
void OpenEditorAt(Form1& form, const std::wstring& key) {
    Form1::Busy busy(form);
    EndRunningEditor();
    Form1::DoEvents();
    // A user who never opened the editor has no settings key for it yet.
    General::CreateKey(kRegeditAppletKey);
    General::SetStringValue(kRegeditAppletKey, kLastKey, RootName() + key);
    Form1::DoEvents();
    Seam::ShellOpen(form.hwnd(), MyMod::GetWindowsDir() + kEditorProgram);
}

// The machine's key, under the real path of its 32-bit view when the row selected in lv2 is an
// entry of that view of this key.
std::wstring MachineKey(const Form1& form, const wchar_t* subKey, const wchar_t* subKey32) {
    const int row = ListView::Selected(form.lv2);
    const auto key = row < 0 ? std::nullopt : RegistryParking::ParseRowKey(ListView::Text(form.lv2, row, 2));
    const bool own32 = key && key->view == Registry::View::k32 && Text::EqualsNoCase(key->subKey, subKey);
    return std::wstring(kMachine) + (own32 ? subKey32 : subKey);
}

} // namespace

void Form1::mnuAUR_Click() { OpenEditorAt(*this, MachineKey(*this, RunKeys::kRunKey, RunKeys::kRun32Key)); }
void Form1::mnuAURO_Click() { OpenEditorAt(*this, MachineKey(*this, RunKeys::kRunOnceKey, RunKeys::kRunOnce32Key)); }
void Form1::mnuAUROEX_Click() {
    OpenEditorAt(*this, MachineKey(*this, RunKeys::kRunOnceExKey, RunKeys::kRunOnceEx32Key));
}
void Form1::mnuCUR_Click() { OpenEditorAt(*this, std::wstring(kUser) + RunKeys::kRunKey); }
void Form1::mnuCURO_Click() { OpenEditorAt(*this, std::wstring(kUser) + RunKeys::kRunOnceKey); }
