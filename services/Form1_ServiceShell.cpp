// Form1's services commands that hand work to the shell: the folder of a service's program,
// a web search for a service, and the system's services console.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "services/ServiceRows.h"
#include "startups/CommandSplit.h"
#include "system/Paths.h"
#include "system/Seam.h"
#include "system/WebSearch.h"

using namespace ServiceRows::LvColumns;

namespace {

constexpr wchar_t kServicesConsole[] = L"\\Services.msc";

// The program of a service row: the program part of its "Service Path", switches dropped.
std::wstring ProgramOf(HWND lv, int row) { return Startups::CommandSplit(ListView::Text(lv, row, kColPath)).program; }

} // namespace

// Like the other services commands, these leave lv alone while a pass replaces its rows.
void Form1::mnuFind3_Click() {
    if (servicesLoading) return;
    const int row = CheckListSelection(lv);
    if (row < 0) return;
    // "Path Not Found" and a path relative to the system folder name no folder to open.
    OpenFolder(MyMod::FolderToOpen(ProgramOf(lv, row)));
}

void Form1::mnuGoog_Click() {
    if (servicesLoading) return;
    if (CheckListSelection(lv) < 0) return;
    WebSearchService();
}

void Form1::WebSearchService() {
    const int row = ListView::Selected(lv);
    if (row < 0) return;
    const std::wstring file = MyMod::GetFileName(ProgramOf(lv, row));
    Seam::ShellOpen(hwnd_, WebSearch::Address(ListView::Text(lv, row, kColDisplayName), file));
}

void Form1::mnuMsService_Click() { Seam::ShellOpen(hwnd_, MyMod::GetSystemDir() + kServicesConsole); }
