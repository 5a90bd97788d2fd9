// Form1's run, stop, find and web search of startup-folder items, the entries that open the
// Startup, Windows and system folders, and the way from a folder item in lv2 to its own view.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/Seam.h"
#include "system/Text.h"
#include "system/WebSearch.h"

namespace {

constexpr int kStartupTarget = 1;  // lv3 "Startup Target"
constexpr wchar_t kDisabledStartupsTitle[] = L"Disabled Startups All Users";
constexpr wchar_t kParkedFolderItemsNode[] = L"another 45";
constexpr wchar_t kStartupFolderNode[] = L"two";

// The target of lv3's selected row, whole (targets carry no switch); "" with no row selected.
std::wstring SelectedTarget(HWND lv3) {
    const int row = ListView::Selected(lv3);
    return row < 0 ? std::wstring() : ListView::Text(lv3, row, kStartupTarget);
}

} // namespace

// Run and stop make no selection check: with no row selected they only rebuild the view.
void Form1::mnuRun3_Click() {
    const bool heldBefore = IsBusy();
    Busy busy(*this);
    const std::wstring nodeKey = SelectedNodeKey();
    RunProgram(SelectedTarget(lv3));
    RefreshTwice(nodeKey, heldBefore);
}

void Form1::mnuStop3_Click() {
    const bool heldBefore = IsBusy();
    Busy busy(*this);
    const std::wstring nodeKey = SelectedNodeKey();
    modTerminateProcess::KillProcessByPath(SelectedTarget(lv3));
    RefreshTwice(nodeKey, heldBefore);
}

void Form1::mnuFind2_Click() {
    if (CheckListSelection(lv3) < 0) return;
    OpenFolder(MyMod::FolderToOpen(SelectedTarget(lv3)));
}

void Form1::mnuGoog3_Click() {
    if (CheckListSelection(lv3) < 0) return;
    WebSearchFolderEntry();
}

void Form1::WebSearchFolderEntry() {
    const int row = ListView::Selected(lv3);
    if (row < 0) return;
    const std::wstring file = MyMod::GetFileName(ListView::Text(lv3, row, kStartupTarget));
    Seam::ShellOpen(hwnd_, WebSearch::Address(file, ListView::Text(lv3, row, 0)));
}

void Form1::mnuAll_Click() { OpenFolder(modSpecialFolder::GetSpecialFolder(modSpecialFolder::kCommonStartup)); }

void Form1::mnuCurrent_Click() { OpenFolder(modSpecialFolder::GetSpecialFolder(modSpecialFolder::kUserStartup)); }

void Form1::mnuSystem_Click() { OpenFolder(MyMod::GetSystemDir()); }

void Form1::mnuWindows_Click() { OpenFolder(MyMod::GetWindowsDir()); }

void Form1::mnuMsg_Click() {
    const bool disabledView = Text::EqualsNoCase(ControlText(lblCount), kDisabledStartupsTitle);
    SelectNode(disabledView ? kParkedFolderItemsNode : kStartupFolderNode);
    tvwDemo_NodeClick(SelectedNodeKey());
}
