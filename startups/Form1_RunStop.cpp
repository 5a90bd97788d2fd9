// Form1's run, stop, find and web search of registry startups, and the steps that these and
// the other commands handing work to the shell share.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "startups/CommandSplit.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/Seam.h"
#include "system/WebSearch.h"

namespace {

constexpr int kApplicationPath = 1;   // lv2 "Application Path"
constexpr DWORD kRefreshGapMs = 500;  // between the two rebuilds after run and stop

// The program of a registry row: the program part of its command, switches dropped.
std::wstring ProgramOf(HWND lv2, int row) {
    return Startups::CommandSplit(ListView::Text(lv2, row, kApplicationPath)).program;
}

} // namespace

void Form1::OpenFolder(const std::wstring& folder) {
    if (!folder.empty()) Seam::ShellOpen(hwnd_, folder);
}

void Form1::RunProgram(const std::wstring& program) {
    // Expandable commands are listed as stored, with their %NAME% parts.
    const std::wstring file = MyMod::ExpandEnvironment(program);
    if (file.empty()) return;
    Seam::ShellOpen(hwnd_, file, L"", MyMod::FolderToOpen(file));
}

void Form1::RefreshTwice(const std::wstring& nodeKey, bool heldBefore) {
    if (heldBefore) {
        tvwDemo_NodeClick(nodeKey);  // waits for the work under way, then runs once
        return;
    }
    SetFocus(tvwDemo);
    SelectNode(nodeKey);
    DoEvents();
    // The lists fill without drawing, as in every dispatch, and draw once both rebuilds are done.
    const ListView::RedrawOff quiet{lv2, lv3};
    ShowView(nodeKey);
    Sleep(kRefreshGapMs);
    ShowView(nodeKey);
}

void Form1::mnuRun2_Click() {
    const bool heldBefore = IsBusy();
    Busy busy(*this);
    const std::wstring nodeKey = SelectedNodeKey();
    const int row = CheckListSelection(lv2);
    if (row < 0) return;
    RunProgram(ProgramOf(lv2, row));
    RefreshTwice(nodeKey, heldBefore);
}

void Form1::mnuStopR_Click() {
    const int row = CheckListSelection(lv2);
    if (row < 0) return;
    const bool heldBefore = IsBusy();
    Busy busy(*this);
    const std::wstring nodeKey = SelectedNodeKey();
    // By path: a same-named program of another folder (the system's own, say) keeps running.
    modTerminateProcess::KillProcessByPath(ProgramOf(lv2, row));
    DoEvents();
    RefreshTwice(nodeKey, heldBefore);
}

void Form1::mnuFind_Click() {
    const int row = CheckListSelection(lv2);
    if (row < 0) return;
    OpenFolder(MyMod::FolderToOpen(ProgramOf(lv2, row)));
}

void Form1::mnuGoog2_Click() {
    if (CheckListSelection(lv2) < 0) return;
    WebSearchRunEntry();
}

void Form1::WebSearchRunEntry() {
    const int row = ListView::Selected(lv2);
    if (row < 0) return;
    const std::wstring file = MyMod::GetFileName(ProgramOf(lv2, row));
    Seam::ShellOpen(hwnd_, WebSearch::Address(file, ListView::Text(lv2, row, 0)));
}
