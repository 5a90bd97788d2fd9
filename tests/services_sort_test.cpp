// Sorting of the services list and the services Action menu's state, in a live main window.
#include "ServiceFixtures.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "system/Registry.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kAppSub = L"Software\\Ferrowyn\\Corvell";
const std::wstring kServicesSub = L"SYSTEM\\CurrentControlSet\\Services\\";

std::wstring Sorted() {
    std::wstring value;
    return TestUtil::ReadString(HKEY_LOCAL_MACHINE, kAppSub, L"Sorted", value) ? value : L"(none)";
}

// True when the column reads in ascending order, case ignored.
bool IsSortedBy(HWND list, int column) {
    for (int row = 1; row < ListView::Count(list); ++row)
        if (lstrcmpiW(ListView::Text(list, row - 1, column).c_str(), ListView::Text(list, row, column).c_str()) > 0)
            return false;
    return true;
}

// Ends the popup menu that a right click opens, and notes whether one was open.
bool g_popupSeen = false;
bool g_popupHasStop = false;
bool g_popupHasStart = false;
HMENU g_popup = nullptr;
void CALLBACK EndPopup(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_popupSeen = FindWindowW(L"#32768", nullptr) != nullptr;
    g_popupHasStop = GetMenuState(g_popup, IDM_mnuStop, MF_BYCOMMAND) != static_cast<UINT>(-1);
    g_popupHasStart = GetMenuState(g_popup, IDM_mnuStart, MF_BYCOMMAND) != static_cast<UINT>(-1);
    EndMenu();
}

class ServicesSortTest : public ServiceFixtures::ServiceTest {
protected:
    void SetUp() override {
        ServiceTest::SetUp();
        // Service-name order and display-name order differ.
        Install(L"CorvellSortA", L"Zulu Corvell");
        Install(L"CorvellSortZ", L"Alpha Corvell");
    }
};

TEST_F(ServicesSortTest, SortByEitherNameSurvivesReloadAndRestart) {
    {
        TestUtil::LiveForm live;
        Form1& form = live.form;
        form.tvwDemo_NodeClick(L"six");
        EXPECT_TRUE(IsSortedBy(form.lv, 0));
        EXPECT_EQ(ListView::ColumnIcon(form.lv, 0), 7);
        EXPECT_EQ(ListView::ColumnIcon(form.lv, 1), 8);
        EXPECT_EQ(Sorted(), L"0");  // stored after the first services load

        form.lv_ColumnClick(1);
        EXPECT_TRUE(IsSortedBy(form.lv, 1));
        EXPECT_EQ(ListView::ColumnIcon(form.lv, 0), 8);
        EXPECT_EQ(ListView::ColumnIcon(form.lv, 1), 7);
        EXPECT_EQ(Sorted(), L"1");
        ListView::Select(form.lv, 0);
        form.lv_MouseUp(1, POINT{0, 0});
        EXPECT_TRUE(form.menus.IsVisible(L"mnuSortDisplay"));
        EXPECT_FALSE(form.menus.IsVisible(L"mnuSortService"));

        // Headers right of "Service Name" sort nothing and store nothing.
        for (int column : {2, 3, 4, 5, 6, 7}) {
            TestUtil::PutString(HKEY_LOCAL_MACHINE, kAppSub, L"Sorted", L"x");
            form.lv_ColumnClick(column);
            EXPECT_EQ(Sorted(), L"x") << column;
            EXPECT_TRUE(IsSortedBy(form.lv, 1)) << column;
        }
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kAppSub, L"Sorted", L"1");

        form.Command6_Click();
        EXPECT_TRUE(IsSortedBy(form.lv, 1));
        EXPECT_EQ(ListView::ColumnIcon(form.lv, 1), 7);
    }
    EXPECT_EQ(Sorted(), L"1");  // written again at close
    {
        TestUtil::LiveForm live;
        Form1& form = live.form;
        EXPECT_EQ(ListView::ColumnIcon(form.lv, 1), 7);  // marked at start-up
        form.tvwDemo_NodeClick(L"six");
        EXPECT_TRUE(IsSortedBy(form.lv, 1));
        EXPECT_TRUE(form.menus.IsVisible(L"mnuSortDisplay"));  // from "Sorted", after the load
        EXPECT_FALSE(form.menus.IsVisible(L"mnuSortService"));

        form.mnuSortDisplay_Click();
        EXPECT_TRUE(IsSortedBy(form.lv, 0));
        EXPECT_EQ(Sorted(), L"0");
        EXPECT_EQ(ListView::ColumnIcon(form.lv, 0), 7);
        EXPECT_EQ(ListView::ColumnIcon(form.lv, 1), 8);
        EXPECT_FALSE(form.menus.IsVisible(L"mnuSortDisplay"));
        EXPECT_TRUE(form.menus.IsVisible(L"mnuSortService"));

        form.mnuSortService_Click();
        EXPECT_TRUE(IsSortedBy(form.lv, 1));
        EXPECT_EQ(Sorted(), L"1");
        EXPECT_TRUE(form.menus.IsVisible(L"mnuSortDisplay"));
        EXPECT_FALSE(form.menus.IsVisible(L"mnuSortService"));
    }
    {
        TestUtil::LiveForm live;
        live.form.tvwDemo_NodeClick(L"six");
        EXPECT_TRUE(IsSortedBy(live.form.lv, 1));
    }
}

TEST_F(ServicesSortTest, TheListsNotificationsReachItsHandlers) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    ASSERT_TRUE(IsSortedBy(form.lv, 0));

    NMLISTVIEW column{};
    column.hdr = {form.lv, static_cast<UINT_PTR>(GetDlgCtrlID(form.lv)), static_cast<UINT>(LVN_COLUMNCLICK)};
    column.iItem = -1;
    column.iSubItem = 1;
    SendMessageW(form.hwnd(), WM_NOTIFY, column.hdr.idFrom, reinterpret_cast<LPARAM>(&column));
    EXPECT_TRUE(IsSortedBy(form.lv, 1));
    EXPECT_EQ(Sorted(), L"1");

    SelectService(form, L"CorvellSortA");
    form.menus.SetVisible(L"mnuStart", false);
    NMITEMACTIVATE click{};
    click.hdr = {form.lv, static_cast<UINT_PTR>(GetDlgCtrlID(form.lv)), static_cast<UINT>(NM_CLICK)};
    click.iItem = ListView::Selected(form.lv);
    SendMessageW(form.hwnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    EXPECT_TRUE(form.menus.IsVisible(L"mnuStart"));  // a stopped manual service
    EXPECT_TRUE(form.menus.IsVisible(L"mnuSortDisplay"));

    // The list's own text requests are answered from the rows.
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(form.lv, LVM_GETITEMTEXTW, static_cast<WPARAM>(ListView::Selected(form.lv)),
                 reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"CorvellSortA");
}

TEST_F(ServicesSortTest, StartAndStopEntriesFollowTheSelectedRow) {
    Install(L"CorvellMsAutoRun", L"Corvell Ms Auto Run", SERVICE_AUTO_START);
    Install(L"CorvellMsAutoIdle", L"Corvell Ms Auto Idle", SERVICE_AUTO_START);
    Install(L"CorvellMsManRun", L"Corvell Ms Manual Run");
    Install(L"CorvellMsManIdle", L"Corvell Ms Manual Idle");
    Install(L"CorvellMsDisabled", L"Corvell Ms Disabled", SERVICE_DISABLED);
    Install(L"CorvellMsPaused", L"Corvell Ms Paused");
    Install(L"CorvellMsOdd", L"Corvell Ms Odd");
    Install(L"CorvellMsDisRun", L"Corvell Ms Disabled Run");
    for (const wchar_t* name : {L"CorvellMsAutoRun", L"CorvellMsManRun", L"CorvellMsPaused", L"CorvellMsDisRun"})
        ASSERT_TRUE(ServiceFixtures::StartAndWait(name));
    ASSERT_TRUE(ServiceFixtures::PauseAndWait(L"CorvellMsPaused"));
    // "Start" 0, and a service set to Disabled while it runs.
    for (const auto& [name, start] : {std::pair<const wchar_t*, DWORD>{L"CorvellMsOdd", 0}, {L"CorvellMsDisRun", 4}}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kServicesSub + name).c_str(), 0, KEY_SET_VALUE, &key), 0);
        RegSetValueExW(key, L"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&start), sizeof(start));
        RegCloseKey(key);
    }

    TestUtil::LiveForm live;
    Form1& form = live.form;
    // Nothing pops up over an empty list, and nothing changes.
    form.menus.SetVisible(L"mnuStart", true);
    form.menus.SetVisible(L"mnuStop", true);
    form.lv_MouseUp(2, POINT{10, 10});
    EXPECT_TRUE(form.menus.IsVisible(L"mnuStart"));

    form.tvwDemo_NodeClick(L"six");
    // A click without a selected row leaves both entries as they were.
    form.menus.SetVisible(L"mnuStart", true);
    form.menus.SetVisible(L"mnuStop", true);
    form.lv_Click();
    EXPECT_TRUE(form.menus.IsVisible(L"mnuStart"));
    EXPECT_TRUE(form.menus.IsVisible(L"mnuStop"));

    enum Offer { kStart, kStop, kUnchanged };
    const std::pair<const wchar_t*, Offer> cases[] = {
        {L"CorvellMsAutoRun", kStop},   {L"CorvellMsAutoIdle", kStart}, {L"CorvellMsManRun", kStop},
        {L"CorvellMsManIdle", kStart},  {L"CorvellMsDisabled", kStart}, {L"CorvellMsPaused", kUnchanged},
        {L"CorvellMsOdd", kUnchanged}, {L"CorvellMsDisRun", kStop},
    };
    for (const auto& [name, offer] : cases) {
        for (bool viaMouseUp : {false, true}) {
            SCOPED_TRACE(testing::Message() << name << (viaMouseUp ? " mouse-up" : " click"));
            SelectService(form, name);
            // Start from the opposite of what is expected, or from both shown.
            form.menus.SetVisible(L"mnuStart", offer != kStart);
            form.menus.SetVisible(L"mnuStop", offer != kStop);
            if (viaMouseUp) form.lv_MouseUp(1, POINT{0, 0});
            else form.lv_Click();
            EXPECT_EQ(form.menus.IsVisible(L"mnuStart"), offer != kStop);
            EXPECT_EQ(form.menus.IsVisible(L"mnuStop"), offer != kStart);
        }
    }

    // A right click pops up the services Action menu as it now stands.
    SelectService(form, L"CorvellMsAutoRun");
    g_popup = form.menus.Popup(L"mnuPopup");
    ASSERT_NE(g_popup, nullptr);
    g_popupSeen = false;
    SetTimer(nullptr, 0, 300, EndPopup);
    RECT r{};
    GetWindowRect(form.lv, &r);
    form.lv_MouseUp(2, POINT{r.left + 20, r.top + 40});
    EXPECT_TRUE(g_popupSeen);
    EXPECT_TRUE(g_popupHasStop);
    EXPECT_FALSE(g_popupHasStart);
}

} // namespace
