// The main window's menu bar: the model's entries and the real HMENU bar kept in step with it.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "mainwindow/MenuTable.h"
#include "system/App.h"
#include "system/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Made at build time from the source tree: every menu entry name used as a literal, with its file.
std::vector<std::pair<std::wstring, std::string>> MenuNamesInCode();

namespace {


std::wstring EntryText(HMENU menu, int position) {
    wchar_t text[256] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING | MIIM_FTYPE;
    mii.dwTypeData = text;
    mii.cch = 255;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii)) return L"<none>";
    if (mii.fType & MFT_SEPARATOR) return L"-";
    return text;
}

std::vector<std::wstring> Texts(HMENU menu) {
    std::vector<std::wstring> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) out.push_back(EntryText(menu, i));
    return out;
}

// Every HMENU shows exactly the visible entries of its menu, in model order, with their
// plain captions, popups where the entry has entries of its own, and the model item behind each.
void ExpectInStep(const MenuModel& model, HMENU menu, const std::wstring& parent) {
    std::vector<const MenuItem*> shown;
    for (const MenuItem* item : model.Children(parent))
        if (item->visible && !MenuModel::IsSideBar(*item)) shown.push_back(item);
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(shown.size())) << parent;
    for (size_t i = 0; i < shown.size(); ++i) {
        const int pos = static_cast<int>(i);
        EXPECT_EQ(model.ItemAt(menu, pos), shown[i]) << parent << " " << i;
        EXPECT_EQ(EntryText(menu, pos), MenuModel::PlainCaption(shown[i]->caption)) << shown[i]->name;
        EXPECT_EQ(GetMenuItemID(menu, pos), shown[i]->id == 0 && model.HasPopup(shown[i]->name)
                                                ? static_cast<UINT>(-1)
                                                : shown[i]->id)
            << shown[i]->name;
        const UINT state = GetMenuState(menu, static_cast<UINT>(pos), MF_BYPOSITION);
        EXPECT_EQ((state & MF_GRAYED) != 0, !shown[i]->enabled) << shown[i]->name;
        const HMENU sub = GetSubMenu(menu, pos);
        EXPECT_EQ(sub, model.Popup(shown[i]->name)) << shown[i]->name;
        if (sub) ExpectInStep(model, sub, shown[i]->name);
    }
}

class MenuBarTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
    }
    TestSeam seam;
};

TEST(MenuTable, EveryEntryHasAUniqueNameAParentAndAnIdWhenChoosable) {
    const auto items = MenuTable::Form1Menus();
    std::vector<std::wstring> bar;
    std::set<std::wstring> names;
    std::set<UINT> ids;
    MenuModel model;
    model.Load(items);
    for (const auto& item : model.Items()) {
        EXPECT_TRUE(names.insert(item.name).second) << item.name;
        EXPECT_TRUE(item.enabled && !item.checked) << item.name;
        if (item.parent.empty()) bar.push_back(item.name);
        else EXPECT_NE(model.Find(item.parent), nullptr) << item.name;
        if (item.id != 0) {
            EXPECT_TRUE(ids.insert(item.id).second) << item.name;
            EXPECT_EQ(model.FindById(item.id), &item);
        }
        // Only the entries that can be chosen carry a command id.
        const bool opensMenu = !model.Children(item.name).empty();
        const bool choosable = !opensMenu && item.caption != L"-" && !MenuModel::IsSideBar(item);
        EXPECT_EQ(item.id != 0, choosable) << item.name;
    }
    EXPECT_EQ(bar, (std::vector<std::wstring>{L"mnuFile", L"mnuPopup", L"mnuPopup2", L"mnuPopup3", L"mnuPopup4",
                                              L"mnuPopup5", L"mnuPopup6", L"mnuPopup7", L"mnuPopup8", L"mnuPopup9",
                                              L"mnuUtilities", L"mnuHelp"}));
    EXPECT_EQ(model.FindById(IDM_mnuDisable)->name, L"mnuDisable");
    EXPECT_EQ(model.FindById(IDM_mnuCURO)->name, L"mnuCURO");

    // Side bars come first in their nine menus, with the engine's full mark-up.
    const struct { const wchar_t* menu; const wchar_t* bar; const wchar_t* caption; } sideBars[] = {
        {L"mnuFile", L"bar6", L"{SIDEBAR:TEXT|CAPTION:x|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}"},
        {L"mnuPopup", L"bar1",
         L"{SIDEBAR:TEXT|CAPTION:Services|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}"},
        {L"mnuChange", L"bar9", L"{SIDEBAR:TEXT|CAPTION:Set|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:10|GRADIENT}"},
        {L"mnuPopup2", L"bar2",
         L"{SIDEBAR:TEXT|CAPTION:Startups|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}"},
        {L"mnuPopup3", L"bar3",
         L"{SIDEBAR:TEXT|CAPTION:Startups|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}"},
        {L"mnuUtilities", L"bar4",
         L"{SIDEBAR:TEXT|CAPTION:Utilities|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}"},
        {L"MnuRegedit", L"bar7",
         L"{SIDEBAR:TEXT|CAPTION:Registry|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:10|GRADIENT}"},
        {L"mnuOpen", L"bar8",
         L"{SIDEBAR:TEXT|CAPTION:Directory|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:10|GRADIENT}"},
        {L"mnuHelp", L"bar5", L"{SIDEBAR:TEXT|CAPTION:?|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}"},
    };
    for (const auto& s : sideBars) {
        const auto children = model.Children(s.menu);
        ASSERT_FALSE(children.empty()) << s.menu;
        EXPECT_EQ(children.front()->name, s.bar);
        EXPECT_EQ(children.front()->caption, s.caption);
    }
    int sideBarCount = 0;
    for (const auto& item : model.Items()) sideBarCount += MenuModel::IsSideBar(item) ? 1 : 0;
    EXPECT_EQ(sideBarCount, 9);
}

TEST_F(MenuBarTest, AtStartTheServicesActionMenuStandsOnTheBar) {
    Form1 form;
    form.quitOnDestroy = false;
    ASSERT_TRUE(form.Create());
    const HMENU bar = GetMenu(form.hwnd());
    ASSERT_EQ(bar, form.menus.Bar());
    EXPECT_EQ(Texts(bar), (std::vector<std::wstring>{L"File", L"Action", L"Utilities", L"Help"}));
    EXPECT_EQ(GetSubMenu(bar, 1), form.menus.Popup(L"mnuPopup"));
    // Hidden at start: Stop, Start and Remove Service; the side bar stays out of the HMENU.
    EXPECT_EQ(Texts(form.menus.Popup(L"mnuPopup")),
              (std::vector<std::wstring>{L"Find Target", L"Google Service", L"-", L"Change Setting", L"-",
                                         L"Install New Service", L"-", L"Export as Text File", L"Export as CSV File",
                                         L"-", L"Sort by Display Name", L"Sort by Service Name", L"-", L"Icon Legend",
                                         L"Properties"}));
    EXPECT_EQ(Texts(form.menus.Popup(L"mnuChange")),
              (std::vector<std::wstring>{L"Automatic", L"Manual", L"Disabled"}));
    EXPECT_EQ(Texts(form.menus.Popup(L"mnuPopup2")),
              (std::vector<std::wstring>{L"Find Target", L"Google Startup", L"-", L"Run", L"Stop", L"Delete", L"-",
                                         L"Backup All Startups", L"Add New Startup", L"-", L"Export as Text File",
                                         L"Export as CSV File", L"-", L"Icon Legend", L"Properties"}));
    EXPECT_EQ(Texts(form.menus.Popup(L"mnuUtilities")),
              (std::vector<std::wstring>{L"MS Configuration", L"Windows Services", L"System Configuration",
                                         L"Registry Editor", L"Open Directory"}));
    EXPECT_EQ(Texts(form.menus.Popup(L"MnuRegedit")),
              (std::vector<std::wstring>{L"All Users Run", L"All Users RunOnce", L"All Users RunOnceEx", L"-",
                                         L"Current User Run", L"Current User RunOnce"}));
    EXPECT_EQ(Texts(form.menus.Popup(L"mnuHelp")), (std::vector<std::wstring>{L"Contents", L"About"}));
    EXPECT_EQ(form.menus.Find(L"mnuExit")->caption, L"{img:19}Exit");
    EXPECT_EQ(form.menus.Find(L"mnuMsg")->caption, L"{img:22}See Startup Folder for options");
    EXPECT_EQ(form.menus.Find(L"mnuNone")->caption, L"{img:18}No Startups");
    ExpectInStep(form.menus, bar, L"");
    DestroyWindow(form.hwnd());
}

TEST_F(MenuBarTest, FirstDispatchPutsTheRegistryActionMenuOnTheBar) {
    const std::wstring run = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    TestUtil::PutString(HKEY_CURRENT_USER, run, L"MenuBarApp", L"C:\\Tools\\menubar.exe");
    TestUtil::LiveForm live;
    RegDeleteKeyValueW(HKEY_CURRENT_USER, run.c_str(), L"MenuBarApp");
    const HMENU bar = GetMenu(live.form.hwnd());
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    const HMENU action = GetSubMenu(bar, 1);
    EXPECT_EQ(action, live.form.menus.Popup(L"mnuPopup2"));
    EXPECT_FALSE(live.form.menus.IsVisible(L"mnuPopup"));
    ExpectInStep(live.form.menus, bar, L"");
}

TEST_F(MenuBarTest, ShowingAndHidingKeepsMenuOrderAndState) {
    MenuModel model;
    model.Load(MenuTable::Form1Menus());
    const HMENU bar = model.Build();
    ASSERT_NE(bar, nullptr);
    const struct { const wchar_t* name; bool visible; } steps[] = {
        {L"mnuPopup", false}, {L"mnuPopup3", true},  {L"mnuPopup9", true}, {L"mnuFile", false},
        {L"mnuFind2", false}, {L"mnuEnable2", true}, {L"mnuStop3", false}, {L"mnuFile", true},
        {L"mnuPopup", true},  {L"mnuStart", true},   {L"mnuChange", false}, {L"mnuChange", true},
        {L"mnuAURO", false},  {L"mnuPopup3", false}, {L"mnuFind2", true},  {L"mnuPopup3", true},
    };
    for (const auto& s : steps) {
        model.SetVisible(s.name, s.visible);
        SCOPED_TRACE(std::wstring(s.name) + (s.visible ? L" shown" : L" hidden"));
        ExpectInStep(model, bar, L"");
    }
    EXPECT_EQ(Texts(bar), (std::vector<std::wstring>{L"File", L"Action", L"Action", L"Action", L"Utilities", L"Help"}));
    EXPECT_EQ(GetSubMenu(bar, 2), model.Popup(L"mnuPopup3"));
    EXPECT_EQ(Texts(model.Popup(L"mnuPopup3")),
              (std::vector<std::wstring>{L"Find Target", L"Google Startup", L"-", L"Enable", L"Run", L"Delete", L"-",
                                         L"Icon Legend", L"Properties"}));

    // Enabled and checked reach the HMENU; an entry found by its HMENU position and data.
    model.SetVisible(L"mnuPopup8", true);
    model.SetEnabled(L"mnuSave", false);
    model.SetChecked(L"mnuSortDisplay", true);
    const HMENU save = model.Popup(L"mnuPopup8");
    EXPECT_NE(GetMenuState(save, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_NE(GetMenuState(model.Popup(L"mnuPopup"), IDM_mnuSortDisplay, MF_BYCOMMAND) & MF_CHECKED, 0u);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(save, 0, TRUE, &mii));
    EXPECT_EQ(model.FromItemData(mii.dwItemData), model.Find(L"mnuSave"));
    EXPECT_EQ(model.PopupOwner(save), model.Find(L"mnuPopup8"));
    EXPECT_EQ(model.PopupOwner(bar), nullptr);
    ExpectInStep(model, bar, L"");
}

TEST_F(MenuBarTest, CommandsReachTheirHandlers) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    // "See Subcategories" opens AutoExec.bat; "No Startups" and unknown ids do nothing.
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuSeeSubs, 0), 0);
    EXPECT_EQ(form.SelectedNodeKey(), L"five");
    EXPECT_EQ(form.ControlText(form.lblCount), L"Possible AutoExec.bat Startups");
    EXPECT_TRUE(form.menus.IsVisible(L"mnuPopup8"));
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuNone, 0), 0);
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(0x7FFF, 0), 0);
    EXPECT_EQ(form.ControlText(form.lblCount), L"Possible AutoExec.bat Startups");
    // "Exit" closes the window.
    const HWND window = form.hwnd();
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_mnuExit, 0), 0);
    EXPECT_TRUE(TestUtil::PumpUntil([window] { return !IsWindow(window); }));
}

// A typo in an entry's name compiles: the model reports it, and this catches every name in the tree.
TEST(MenuNames, EveryNameTheCodeUsesIsInTheMenuTable) {
    std::set<std::wstring> table;
    for (const auto& item : MenuTable::Form1Menus()) table.insert(item.name);
    const auto uses = MenuNamesInCode();
    // The scan reached the tests too: this file names mnuPopup9 below.
    const std::pair<std::wstring, std::string> thisFile{L"mnuPopup9", "tests/menubar_test.cpp"};
    EXPECT_NE(std::find(uses.begin(), uses.end(), thisFile), uses.end());
    for (const auto& [name, file] : uses) EXPECT_EQ(table.count(name), 1u) << file << ": " << name;
}

std::vector<std::wstring>& Reported() {
    static std::vector<std::wstring> names;
    return names;
}

TEST(MenuNames, AnUnknownNameIsReportedAndChangesNothing) {
    MenuModel model;
    model.Load(MenuTable::Form1Menus());
    const HMENU bar = model.Build();
    const auto previous =
        MenuModel::SetUnknownNameHandler([](std::wstring_view name) { Reported().emplace_back(name); });
    Reported().clear();
    constexpr wchar_t kTypo[] = L"NoSuchPopup9";
    model.SetVisible(kTypo, true);
    model.SetEnabled(kTypo, false);
    model.SetChecked(kTypo, true);
    EXPECT_FALSE(model.IsVisible(kTypo));
    EXPECT_FALSE(model.IsEnabled(kTypo));
    EXPECT_FALSE(model.IsChecked(kTypo));
    EXPECT_EQ(model.Popup(kTypo), nullptr);
    EXPECT_EQ(Reported(), std::vector<std::wstring>(7, kTypo));
    // Names the model holds report nothing, a plain entry's missing popup included; Find only looks.
    Reported().clear();
    model.SetVisible(L"mnuPopup9", true);
    EXPECT_TRUE(model.IsVisible(L"mnuPopup9"));
    EXPECT_EQ(model.Popup(L"mnuExit"), nullptr);
    EXPECT_EQ(model.Find(kTypo), nullptr);
    EXPECT_TRUE(Reported().empty());
    MenuModel::SetUnknownNameHandler(previous);
    ExpectInStep(model, bar, L"");
}

// Started with no startups at all, the bar holds one Action menu: "No Startups", or "Restore All
// Startups" in its place when a backup exists; a click into the empty list keeps it so.
TEST_F(MenuBarTest, WithNoStartupsTheBarHoldsOneActionMenuAfterTheStartAndAfterAClick) {
    const std::wstring backupFile = App::Path() + L"\\Backups\\RegKeys.reg";
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const wchar_t* key : {L"Run", L"RunOnce", L"RunOnceEx"})
            TestUtil::DeleteTree(root, std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\") + key);
    for (const bool backup : {false, true}) {
        SCOPED_TRACE(backup ? "with a backup" : "without a backup");
        TestUtil::FreshSettings();
        CreateDirectoryW((App::Path() + L"\\Backups").c_str(), nullptr);
        if (backup) UniqueHandle(CreateFileW(backupFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        else DeleteFileW(backupFile.c_str());
        const wchar_t* menu = backup ? L"mnuPopup5" : L"mnuPopup9";
        const std::wstring entry = backup ? L"Restore All Startups" : L"No Startups";

        TestUtil::LiveForm live;
        Form1& form = live.form;
        const HMENU bar = GetMenu(form.hwnd());
        auto expectOneAction = [&](const char* when) {
            SCOPED_TRACE(when);
            EXPECT_EQ(Texts(bar), (std::vector<std::wstring>{L"File", L"Action", L"Utilities", L"Help"}));
            EXPECT_EQ(GetSubMenu(bar, 1), form.menus.Popup(menu));
            EXPECT_EQ(Texts(GetSubMenu(bar, 1)), std::vector<std::wstring>{entry});
            ExpectInStep(form.menus, bar, L"");
        };
        auto clickIntoTheList = [&] {
            RECT r{};
            GetClientRect(form.lv2, &r);
            const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
            PostMessageW(form.lv2, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageW(form.lv2, WM_LBUTTONUP, 0, at);
        };
        // A click that is to change the bar is waited for; one that is to leave it is given a moment.
        auto clickAndSettle = [&] {
            const bool changes = GetSubMenu(bar, 1) != form.menus.Popup(menu);
            clickIntoTheList();
            if (changes) EXPECT_TRUE(TestUtil::PumpUntil([&] { return GetSubMenu(bar, 1) == form.menus.Popup(menu); }));
            else TestUtil::Pump(200);
        };
        ASSERT_EQ(form.SelectedNodeKey(), L"one");
        ASSERT_EQ(ListView::Count(form.lv2), 0);
        expectOneAction("after the start");
        clickAndSettle();
        expectOneAction("after a click into All Startups");
        ASSERT_TRUE(form.SelectNode(L"another11"));
        form.tvwDemo_NodeClick(form.SelectedNodeKey());
        EXPECT_EQ(GetSubMenu(bar, 1), form.menus.Popup(L"mnuPopup9"));  // a view with no entries
        clickAndSettle();
        expectOneAction("after a click into Run");
    }
    DeleteFileW(backupFile.c_str());
    General::CreateKey(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    General::CreateKey(L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
}

} // namespace
