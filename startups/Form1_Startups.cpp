// Form1's handlers for the startup lists: which Action menu and which of its entries
// (Enable or Disable, Run or Stop) fit the selected row, and the pop-up on a right click.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "resources/Images.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/Text.h"

#include <commctrl.h>
#include <initializer_list>

namespace {

constexpr wchar_t kFileSystemStartups[] = L"File System Startups";
constexpr wchar_t kWinLogon[] = L"WinLogon";
constexpr wchar_t kRegistryWord[] = L"SOFTWARE";  // in the key column of every registry row
constexpr wchar_t kFolderMark[] = L":\\";         // in the key column of every startup-folder row

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;
constexpr wchar_t kListOwner[] = L"CorvellListOwner";  // the Form1 of a hooked list

// Shows the first group of entries and hides the second.
void Offer(MenuModel& menus, std::initializer_list<const wchar_t*> shown, std::initializer_list<const wchar_t*> hidden) {
    for (const wchar_t* name : shown) menus.SetVisible(name, true);
    for (const wchar_t* name : hidden) menus.SetVisible(name, false);
}

// The entries of both startup Action menus for the selected row of lv2, by its icon; a parked
// entry shown as running is asked again whether its program still runs (within a view, from the
// view's snapshot; on a click, afresh).
void ApplyLv2EntryTable(MenuModel& menus, HWND lv2, int row, Form1::ViewScope& view) {
    if (row < 0) return;
    switch (ListView::Icon(lv2, row)) {
    case Images::kIconEnabledRunning:
        Offer(menus, {L"mnuDisable", L"mnuDisable2", L"mnuStopR"}, {L"mnuEnable", L"mnuEnable2", L"mnuRun2"});
        break;
    case Images::kIconEnabled:
        Offer(menus, {L"mnuDisable", L"mnuDisable2", L"mnuRun2"}, {L"mnuEnable", L"mnuEnable2", L"mnuStopR"});
        break;
    case Images::kIconDisabled:
        Offer(menus, {L"mnuEnable", L"mnuEnable2", L"mnuRun2"}, {L"mnuDisable", L"mnuDisable2", L"mnuStopR"});
        break;
    case Images::kIconDisabledRunning:
        // The file name is taken from the whole command, switches included: a parked command
        // with a switch never counts as running here (selection_test holds this case).
        if (view.Running().Contains(MyMod::GetFileName(ListView::Text(lv2, row, 1))))
            Offer(menus, {L"mnuEnable", L"mnuEnable2", L"mnuStopR"}, {L"mnuDisable", L"mnuDisable2", L"mnuRun2"});
        else
            Offer(menus, {L"mnuEnable", L"mnuEnable2", L"mnuRun2"}, {L"mnuDisable", L"mnuDisable2", L"mnuStopR"});
        break;
    default:
        break;
    }
}

void ApplyLv3EntryTable(MenuModel& menus, HWND lv3, int row) {
    if (row < 0) return;
    const int icon = ListView::Icon(lv3, row);
    const bool enabled = icon == Images::kIconEnabled || icon == Images::kIconEnabledRunning;
    const bool stopped = icon == Images::kIconEnabled || icon == Images::kIconDisabled;
    if (enabled) Offer(menus, {L"mnuDisable2"}, {L"mnuEnable2"});
    else Offer(menus, {L"mnuEnable2"}, {L"mnuDisable2"});
    if (stopped) Offer(menus, {L"mnuRun3"}, {L"mnuStop3"});
    else Offer(menus, {L"mnuStop3"}, {L"mnuRun3"});
}

int SelectedCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

// A list reports no middle-button release to its parent: the release is taken here. A plain
// procedure subclass with the replaced procedure in the list's user data: a subclass that looks
// up a window property on every message slows each list call by a server round trip under Wine.
LRESULT CALLBACK ListMouseProc(HWND list, UINT msg, WPARAM wp, LPARAM lp) {
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_USERDATA));
    if (msg == WM_MBUTTONUP) {
        if (auto* form = static_cast<Form1*>(GetPropW(list, kListOwner))) {
            POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            ClientToScreen(list, &pt);
            if (list == form->lv2) form->lv2_MouseUp(kMiddleButton, pt);
            else if (list == form->lv3) form->lv3_MouseUp(kMiddleButton, pt);
        }
    } else if (msg == WM_NCDESTROY) {
        RemovePropW(list, kListOwner);
    }
    return previous ? CallWindowProcW(previous, list, msg, wp, lp) : DefWindowProcW(list, msg, wp, lp);
}

// Installs ListMouseProc once per list.
void HookListMouse(HWND list, Form1* form) {
    if (GetPropW(list, kListOwner)) return;
    SetPropW(list, kListOwner, form);
    SetWindowLongPtrW(list, GWLP_USERDATA, GetWindowLongPtrW(list, GWLP_WNDPROC));
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListMouseProc));
}

} // namespace

void Form1::SetStartupToolTips() { lv2ToolTips_ = true; }

std::wstring Form1::StartupToolTip(int row, int column) const {
    // "Application", "Application Path" and "Registry Key or User Path"; none for "Date Detected".
    if (!lv2ToolTips_ || row < 0 || row >= ListView::Count(lv2) || column < 0 || column > 2) return L"";
    return ListView::Text(lv2, row, column);
}

void Form1::lv2_GetInfoTip(NMLVGETINFOTIPW* tip) {
    ListView::SetInfoTip(*tip, StartupToolTip(tip->iItem, ListView::InfoTipColumn(lv2, *tip)));
}

void Form1::lv2_Click() {
    // Every load passes here first.
    HookListMouse(lv2, this);
    HookListMouse(lv3, this);

    const NavigatorNode* node = FindNode(SelectedNodeKey());
    const std::wstring nodeText = node ? node->text : L"";
    if (Text::EqualsNoCase(nodeText, kFileSystemStartups)) return;

    const bool hasRows = ListView::Count(lv2) > 0;
    // An empty list that the bar answers with its one empty-list menu ("No Startups", or
    // "Restore All Startups" in its place when a backup exists) keeps that single menu.
    const bool emptyListMenu = menus.IsVisible(L"mnuPopup9") ||
                               (menus.IsVisible(L"mnuPopup5") && !menus.IsVisible(L"mnuPopup2") &&
                                !menus.IsVisible(L"mnuPopup4"));
    if (!hasRows && emptyListMenu) {
        const bool backup = Form1::StartupBackupExists();
        menus.SetVisible(L"mnuPopup5", backup);
        menus.SetVisible(L"mnuPopup9", !backup);
        return;
    }
    const int row = ListView::Selected(lv2);
    const std::wstring keyColumn = ListView::Text(lv2, row, 2);
    if (row >= 0 && hasRows && Text::ContainsNoCase(keyColumn, kFolderMark)) {
        menus.SetVisible(L"mnuPopup4", true);
        menus.SetVisible(L"mnuPopup2", false);
    } else {
        menus.SetVisible(L"mnuPopup2", true);
        menus.SetVisible(L"mnuPopup4", false);
    }
    if (hasRows) {
        ViewScope view(*this);
        ApplyLv2EntryTable(menus, lv2, row, view);
    }
    const bool backup = Form1::StartupBackupExists();
    if (backup && hasRows) menus.SetVisible(L"mnuRestore", true);  // never hidden here

    const bool winLogon = Text::EqualsNoCase(nodeText, kWinLogon);
    // These branches only show menus: in the "Disabled Startups" view with a backup and no rows,
    // mnuPopup5 joins the mnuPopup2 shown above, and both stay on the bar.
    if (backup && !hasRows) {
        menus.SetVisible(L"mnuPopup5", true);
    } else if (hasRows && row >= 0 && Text::ContainsNoCase(keyColumn, kRegistryWord) && !winLogon) {
        menus.SetVisible(L"mnuPopup2", true);
    } else if (hasRows && !winLogon && row >= 0 && Text::ContainsNoCase(keyColumn, kFolderMark)) {
        Offer(menus, {L"mnuPopup4"}, {L"mnuPopup5", L"mnuPopup2", L"mnuPopup7"});
    } else if (winLogon) {
        Offer(menus, {L"mnuPopup6"}, {L"mnuPopup5", L"mnuPopup2", L"mnuPopup7"});
    }
}

void Form1::lv2_MouseUp(int button, POINT screenPos) {
    const bool hasRows = ListView::Count(lv2) > 0;
    const bool backup = Form1::StartupBackupExists();
    if (button == kLeftButton || (button == kRightButton && !hasRows) || (!hasRows && !backup)) return;
    const NavigatorNode* node = FindNode(SelectedNodeKey());
    const std::wstring nodeText = node ? node->text : L"";
    if (Text::EqualsNoCase(nodeText, kFileSystemStartups)) return;
    // Without a selected row nothing is changed and nothing pops up.
    const int row = ListView::Selected(lv2);
    if (row < 0) return;

    if (SelectedCount(lv2) == 1) {
        ViewScope view(*this);
        ApplyLv2EntryTable(menus, lv2, row, view);
    }
    if (backup && hasRows) menus.SetVisible(L"mnuRestore", true);
    if (button != kRightButton) return;

    // The pop-up leaves the menu bar as it is.
    const std::wstring keyColumn = ListView::Text(lv2, row, 2);
    const bool winLogon = Text::EqualsNoCase(nodeText, kWinLogon);
    const wchar_t* popup = nullptr;
    if (hasRows && Text::ContainsNoCase(keyColumn, kRegistryWord) && !winLogon) popup = L"mnuPopup2";
    else if (hasRows && !winLogon && Text::ContainsNoCase(keyColumn, kFolderMark)) popup = L"mnuPopup4";
    else if (winLogon) popup = L"mnuPopup6";
    if (!popup) return;
    if (HMENU menu = menus.Popup(popup))
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPos.x, screenPos.y, 0, hwnd_,
                       nullptr);
}

void Form1::ShowEnableDisableMenus() {
    if (SelectedCount(lv2) != 1) return;
    const int icon = ListView::Icon(lv2, ListView::Selected(lv2));
    if (icon == Images::kIconEnabled || icon == Images::kIconEnabledRunning)
        Offer(menus, {L"mnuDisable", L"mnuDisable2"}, {L"mnuEnable", L"mnuEnable2"});
    else Offer(menus, {L"mnuEnable", L"mnuEnable2"}, {L"mnuDisable", L"mnuDisable2"});
}

void Form1::lv3_Click() {
    if (ListView::Count(lv3) == 0) return;
    ApplyLv3EntryTable(menus, lv3, ListView::Selected(lv3));
}

void Form1::lv3_MouseUp(int button, POINT screenPos) {
    if (ListView::Count(lv3) == 0) return;
    const int row = ListView::Selected(lv3);
    if (row < 0) return;
    ApplyLv3EntryTable(menus, lv3, row);
    if (button != kRightButton) return;
    if (HMENU menu = menus.Popup(L"mnuPopup3"))
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPos.x, screenPos.y, 0, hwnd_,
                       nullptr);
}
