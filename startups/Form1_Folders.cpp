// Form1's startup-folder lists: the loaders of the two Startup folders and of parked folder
// items, the shortcut property reader and the list's tooltips (disable, enable and delete: FolderParking.cpp).
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "startups/FolderParking.h"
#include "resources/Images.h"
#include "system/FirstSeen.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/Registry.h"
#include "system/ShellLink.h"
#include "system/Text.h"

#include <optional>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kStartupTarget = 1;   // lv3 "Startup Target"
constexpr int kUserFolder = 2;      // lv3 "User Folder"
constexpr int kToolTipColumns = 3;  // name, target and folder have tooltips; the date has none

using Images::kIconDisabled;
using Images::kIconDisabledRunning;
using Images::kIconEnabled;
using Images::kIconEnabledRunning;

// The first-seen date shown for a startup-folder row; "Error" for a name without one.
std::wstring DateOf(const FirstSeen::DateBook& dates, const std::wstring& name) {
    return dates.Find(name).value_or(General::kError);
}

// The target of a shortcut file, "" when it is no shell link; one reader serves a whole pass.
std::wstring TargetOf(ShellShortcut::Reader& links, const std::wstring& path) {
    return links.Load(path) ? links.Target() : std::wstring();
}

} // namespace

std::wstring Form1::LookPropertyLink(const std::wstring& TheFullPath, const std::wstring& Wanted) const {
    const std::wstring wanted = Text::Upper(Wanted);
    const bool known =
        wanted == L"TARGET" || wanted == L"NAME" || wanted == L"ICON" || wanted == L"START" || wanted == L"KEY";
    if (!known) return {};
    ShellShortcut::Reader link;
    if (!link.Load(TheFullPath)) return {};
    if (wanted == L"TARGET") return link.Target();
    if (wanted == L"NAME") return link.FullName();
    if (wanted == L"ICON") return link.IconLocation();
    if (wanted == L"START") return link.WorkingDirectory();
    return link.Hotkey();
}

std::unordered_map<UINT, Form1::FolderItem>& Form1::FolderItems(HWND list) {
    return list == lv2 ? lv2FolderItems_ : lv3FolderItems_;
}

std::optional<Form1::FolderItem> Form1::FolderItemOf(HWND list, int row) const {
    if (list != lv2 && list != lv3) return std::nullopt;
    const auto& items = list == lv2 ? lv2FolderItems_ : lv3FolderItems_;
    const auto found = items.find(ListView::RowId(list, row));
    if (found == items.end()) return std::nullopt;
    return found->second;
}

void Form1::ListFolderItem(HWND list, const FolderItem& item, int row) {
    if (row >= 0) FolderItems(list)[ListView::RowId(list, row)] = item;
}

// Rows the lists delete take their folder items with them; an emptied list carries no tooltips.
void Form1::OnListRowsDeleted(NMHDR* header) {
    if (header->hwndFrom != lv2 && header->hwndFrom != lv3) return;
    auto& items = FolderItems(header->hwndFrom);
    if (header->code == LVN_DELETEALLITEMS) {
        items.clear();
        (header->hwndFrom == lv2 ? lv2ToolTips_ : lv3ToolTips_) = false;
    } else {
        items.erase(ListView::RowId(header->hwndFrom, reinterpret_cast<NMLISTVIEW*>(header)->iItem));
    }
}

// One row per file of the Startup folder; "desktop.ini" is the folder's own and never listed.
void Form1::LoadStartupFolder(int folder) {
    const std::wstring path = FolderParking::StartupFolderPath(folder);
    if (path.empty()) return;
    std::vector<std::wstring> files;
    (void)FolderParking::StartupFolderFiles(path, files);  // a folder that cannot be listed shows what was read
    if (files.empty()) return;
    ViewScope view(*this);
    const modProcess::ProcessSnapshot& running = view.Running();
    const FirstSeen::DateBook& dates = view.Dates();
    ShellShortcut::Reader links;
    for (const std::wstring& file : files) {
        const std::wstring name = FolderParking::ShownName(file);
        const std::wstring target = TargetOf(links, path + L"\\" + file);
        const int icon = running.Contains(MyMod::GetFileName(target)) ? kIconEnabledRunning : kIconEnabled;
        const int row =
            ListView::AddRow(lv3, name, icon, {target, path, DateOf(dates, name)}, ListView::EnabledForeColor);
        ListFolderItem(lv3, {file, false}, row);
    }
}

void Form1::LoadCommonStartupFolder() {
    ListView::Clear(lv3);
    LoadStartupFolder(modSpecialFolder::kCommonStartup);
}

// A user Startup folder that is the common one was listed already: its files show once.
void Form1::LoadUserStartupFolder() {
    const std::wstring common = FolderParking::StartupFolderPath(modSpecialFolder::kCommonStartup);
    if (!common.empty() && Text::EqualsNoCase(common, FolderParking::StartupFolderPath(modSpecialFolder::kUserStartup)))
        return;
    LoadStartupFolder(modSpecialFolder::kUserStartup);
}

// One row per record of the "Startups" store; the row's target is read from the parked copy and
// its folder from the record. A record that is empty or no text is listed too, with no folder, so
// that it can be deleted (Enable says why it cannot). Only the rows added here lose their ".lnk".
void Form1::LoadParkedFolderItems(HWND list, bool withDates) {
    const auto records = Registry::EnumValues(HKEY_LOCAL_MACHINE, FolderParking::StartupsSubKey());
    if (!records) return;
    ViewScope view(*this);
    const modProcess::ProcessSnapshot& running = view.Running();
    const FirstSeen::DateBook* dates = withDates ? &view.Dates() : nullptr;
    ShellShortcut::Reader links;
    for (const auto& record : *records) {
        const std::wstring from = Registry::IsText(record.type) ? record.text : std::wstring();
        const std::wstring name = FolderParking::ShownName(record.name);
        const std::wstring target = TargetOf(links, FolderParking::ParkedPath(record.name));
        const int icon = running.Contains(MyMod::GetFileName(target)) ? kIconDisabledRunning : kIconDisabled;
        std::vector<std::wstring> cells{target, from.empty() ? std::wstring() : MyMod::GetParentFolder(from, true)};
        if (dates) cells.push_back(DateOf(*dates, name));
        const int row = ListView::AddRow(list, name, icon, cells, ListView::DisabledForeColor);
        ListFolderItem(list, {record.name, true}, row);
    }
}

void Form1::AddDisabledFolderStartups() { LoadParkedFolderItems(lv2, false); }

void Form1::LoadDisabledFolderItems() { LoadParkedFolderItems(lv3, true); }

// lv3 already holds both folders from this view, their icons set by lv3's running-state pass:
// the rows are copied, not read again, and so are the icons, since lv2's pass decides by the
// same rule on the same target text.
void Form1::AddFolderItemsToAllList() {
    const int count = ListView::Count(lv3);
    for (int row = 0; row < count; ++row) {
        const int added =
            ListView::AddRow(lv2, ListView::Text(lv3, row), ListView::Icon(lv3, row),
                             {ListView::Text(lv3, row, kStartupTarget), ListView::Text(lv3, row, kUserFolder)},
                             ListView::EnabledForeColor);
        if (const auto item = FolderItemOf(lv3, row)) ListFolderItem(lv2, *item, added);
    }
}

void Form1::SetFolderToolTips() { lv3ToolTips_ = true; }

void Form1::lv3_GetInfoTip(NMLVGETINFOTIPW* tip) {
    // Name, target and folder; the date keeps the list's own text.
    const int column = ListView::InfoTipColumn(lv3, *tip);
    if (!lv3ToolTips_ || column < 0 || column >= kToolTipColumns) return;
    ListView::SetInfoTip(*tip, ListView::Text(lv3, tip->iItem, column));
}
