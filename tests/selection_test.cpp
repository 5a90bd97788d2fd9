// Which Action menu and which of its entries the selected row of a startup list offers,
// and which menu a right click pops up.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "system/App.h"
#include "system/Registry.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Names = std::set<std::wstring>;

const std::wstring kHklmRun = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kFolder = L"C:\\users\\Public\\Start Menu\\Programs\\StartUp";
const std::wstring kWinlogonKey = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// Every menu and entry these handlers switch.
const wchar_t* const kWatched[] = {L"mnuPopup2", L"mnuPopup3", L"mnuPopup4",  L"mnuPopup5", L"mnuPopup6",
                                   L"mnuPopup7", L"mnuEnable", L"mnuDisable", L"mnuRun2",   L"mnuStopR",
                                   L"mnuRestore", L"mnuEnable2", L"mnuDisable2", L"mnuRun3", L"mnuStop3",
                                   L"mnuPopup9"};

// The menu window on screen now, if a pop-up is open.
HMENU OpenPopup() {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32768", nullptr)) != nullptr) {
        if (IsWindowVisible(window)) return reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    }
    return nullptr;
}

class SelectionTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        live = std::make_unique<TestUtil::LiveForm>();
        SetBackup(false);
    }
    void TearDown() override {
        live.reset();
        SetBackup(false);
    }

    Form1& form() { return live->form; }

    static void SetBackup(bool present) {
        const std::wstring folder = App::Path() + L"\\Backups";
        const std::wstring file = folder + L"\\RegKeys.reg";
        if (present) {
            CreateDirectoryW(folder.c_str(), nullptr);
            UniqueHandle h(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        } else {
            DeleteFileW(file.c_str());
        }
    }
    // Hides every watched entry, then shows the ones given.
    void Baseline(const Names& shown = {}) {
        for (const wchar_t* name : kWatched) form().menus.SetVisible(name, shown.count(name) > 0);
    }
    Names Visible() {
        Names out;
        for (const wchar_t* name : kWatched)
            if (form().menus.IsVisible(name)) out.insert(name);
        return out;
    }
    // One selected row in the list (or none when icon is 0 and rows is false).
    void Fill(HWND list, bool rows, int icon, const std::wstring& command, const std::wstring& keyText,
              bool selected = true) {
        ListView::Clear(list);
        if (!rows) return;
        const int row = ListView::AddRow(list, L"Entry", icon, {command, keyText});
        if (selected) ListView::Select(list, row);
    }
    // Runs a handler that may pop up a menu; returns the menu that was open meanwhile.
    HMENU CapturePopup(const std::function<void()>& handler) {
        HMENU seen = nullptr;
        bool fired = false;
        TestUtil::AfterDelay(150, [&seen, &fired] {
            fired = true;
            seen = OpenPopup();
            if (seen) EndMenu();
        });
        handler();
        while (!fired) TestUtil::Pump(20);
        return seen;
    }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
};

struct Lv2Case {
    const wchar_t* what;
    const wchar_t* node;
    bool rows;
    int icon;
    std::wstring keyText;
    bool backup;
    Names visible;
    Names before = {};  // the menus on the bar before the click
};

TEST_F(SelectionTest, Lv2ClickChoosesTheActionMenuAndItsEntries) {
    const Lv2Case cases[] = {
        {L"running registry row", L"another11", true, 2, kHklmRun, false,
         {L"mnuPopup2", L"mnuDisable", L"mnuDisable2", L"mnuStopR"}},
        {L"registry row", L"another11", true, 1, kHklmRun, false,
         {L"mnuPopup2", L"mnuDisable", L"mnuDisable2", L"mnuRun2"}},
        {L"parked row", L"another 44", true, 3, kHklmRun, false,
         {L"mnuPopup2", L"mnuEnable", L"mnuEnable2", L"mnuRun2"}},
        {L"parked row with a backup", L"another 44", true, 3, kHklmRun, true,
         {L"mnuPopup2", L"mnuEnable", L"mnuEnable2", L"mnuRun2", L"mnuRestore"}},
        {L"folder row in All Startups", L"one", true, 1, kFolder, false,
         {L"mnuPopup4", L"mnuDisable", L"mnuDisable2", L"mnuRun2"}},
        // The key column's "SOFTWARE" test comes before the folder test, and neither hides the
        // other's menu: a folder path with "Software" in it leaves both on the bar.
        {L"folder row under a Software folder", L"one", true, 1, L"C:\\Software\\StartUp", false,
         {L"mnuPopup2", L"mnuPopup4", L"mnuDisable", L"mnuDisable2", L"mnuRun2"}},
        {L"Winlogon row", L"ten", true, 2, kWinlogonKey, false,
         {L"mnuPopup6", L"mnuDisable", L"mnuDisable2", L"mnuStopR"}},
        {L"File System Startups", L"eleven", true, 11, L"C:\\windows\\win.ini", true, {}},
        {L"legacy-file icon in a registry view", L"another11", true, 13, kHklmRun, false, {L"mnuPopup2"}},
        // kept: the empty "Disabled Startups" view leaves its menus to this handler.
        {L"empty Disabled Startups with a backup", L"seven", false, 0, L"", true, {L"mnuPopup2", L"mnuPopup5"},
         {L"mnuPopup4"}},
        {L"empty Disabled Startups", L"seven", false, 0, L"", false, {L"mnuPopup2"}, {L"mnuPopup4"}},
        // An empty list under "No Startups" keeps one Action menu: "Restore All Startups" in its
        // place when there is a backup, and again on the next click.
        {L"empty list under No Startups with a backup", L"another11", false, 0, L"", true, {L"mnuPopup5"},
         {L"mnuPopup9"}},
        {L"empty list under No Startups", L"another11", false, 0, L"", false, {L"mnuPopup9"}, {L"mnuPopup9"}},
        {L"empty list under Restore All Startups", L"one", false, 0, L"", true, {L"mnuPopup5"}, {L"mnuPopup5"}},
        {L"empty list under Restore All Startups, backup gone", L"one", false, 0, L"", false, {L"mnuPopup9"},
         {L"mnuPopup5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(form().SelectNode(c.node));
        SetBackup(c.backup);
        Fill(form().lv2, c.rows, c.icon, L"C:\\A\\app.exe", c.keyText);
        Baseline(c.before);
        form().lv2_Click();
        EXPECT_EQ(Visible(), c.visible);
    }
}

TEST_F(SelectionTest, ParkedRowShownRunningIsAskedWhetherItsProgramStillRuns) {
    UniqueHandle sleeper = TestUtil::StartCopy(L"sleeper.exe", L"selrun.exe", L"30");
    ASSERT_TRUE(sleeper);
    const struct {
        const wchar_t* what;
        std::wstring command;
        Names visible;
    } cases[] = {
        {L"program runs", TestUtil::ProgramFolder() + L"\\selrun.exe", {L"mnuEnable", L"mnuEnable2", L"mnuStopR"}},
        // The file name is taken with its switch, so this one never counts as running.
        {L"command with a switch", TestUtil::ProgramFolder() + L"\\selrun.exe /min",
         {L"mnuEnable", L"mnuEnable2", L"mnuRun2"}},
        {L"program stopped", L"C:\\A\\gone.exe", {L"mnuEnable", L"mnuEnable2", L"mnuRun2"}},
    };
    ASSERT_TRUE(form().SelectNode(L"another 44"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Fill(form().lv2, true, 9, c.command, kHklmRun);
        Baseline();
        form().lv2_Click();
        Names expected = c.visible;
        expected.insert(L"mnuPopup2");
        EXPECT_EQ(Visible(), expected);
    }
    TerminateProcess(sleeper.get(), 0);
    WaitForSingleObject(sleeper.get(), 5000);
}

TEST_F(SelectionTest, Lv2MouseUpSetsTheEntriesAndARightReleasePopsUpTheFittingMenu) {
    const struct {
        const wchar_t* what;
        int button;
        const wchar_t* node;
        bool rows;
        int icon;
        std::wstring keyText;
        bool backup;
        bool selected;
        Names visible;
        const wchar_t* popup;
    } cases[] = {
        {L"left release", 1, L"another11", true, 1, kHklmRun, true, true, {}, nullptr},
        {L"right release over an empty list", 2, L"another11", false, 0, L"", true, true, {}, nullptr},
        {L"middle release, empty list, no backup", 4, L"another11", false, 0, L"", false, true, {}, nullptr},
        {L"middle release on a registry row", 4, L"another11", true, 1, kHklmRun, false, true,
         {L"mnuDisable", L"mnuDisable2", L"mnuRun2"}, nullptr},
        {L"right release on a running registry row", 2, L"another11", true, 2, kHklmRun, false, true,
         {L"mnuDisable", L"mnuDisable2", L"mnuStopR"}, L"mnuPopup2"},
        {L"right release with a backup", 2, L"another11", true, 1, kHklmRun, true, true,
         {L"mnuDisable", L"mnuDisable2", L"mnuRun2", L"mnuRestore"}, L"mnuPopup2"},
        {L"right release on a folder row", 2, L"one", true, 1, kFolder, false, true,
         {L"mnuDisable", L"mnuDisable2", L"mnuRun2"}, L"mnuPopup4"},
        {L"right release in WinLogon", 2, L"ten", true, 2, kWinlogonKey, false, true,
         {L"mnuDisable", L"mnuDisable2", L"mnuStopR"}, L"mnuPopup6"},
        {L"right release in File System Startups", 2, L"eleven", true, 11, L"C:\\windows\\win.ini", true, true, {},
         nullptr},
        {L"right release without a selected row", 2, L"another11", true, 1, kHklmRun, true, false, {}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(form().SelectNode(c.node));
        SetBackup(c.backup);
        Fill(form().lv2, c.rows, c.icon, L"C:\\A\\app.exe", c.keyText, c.selected);
        Baseline();
        const HMENU popped = CapturePopup([&] { form().lv2_MouseUp(c.button, POINT{200, 200}); });
        EXPECT_EQ(popped, c.popup ? form().menus.Popup(c.popup) : nullptr);
        // The pop-up leaves the bar as it was.
        EXPECT_EQ(Visible(), c.visible);
    }
}

TEST_F(SelectionTest, ShowEnableDisableMenusFollowsTheIconAndLeavesRunAndStop) {
    const struct {
        int icon;
        bool selected;
        Names visible;
    } cases[] = {
        {1, true, {L"mnuDisable", L"mnuDisable2"}}, {2, true, {L"mnuDisable", L"mnuDisable2"}},
        {3, true, {L"mnuEnable", L"mnuEnable2"}},   {9, true, {L"mnuEnable", L"mnuEnable2"}},
        {11, true, {L"mnuEnable", L"mnuEnable2"}},  {1, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.icon);
        Fill(form().lv2, true, c.icon, L"C:\\A\\app.exe", kHklmRun, c.selected);
        Baseline({L"mnuRun2", L"mnuStopR"});
        form().ShowEnableDisableMenus();
        Names expected = c.visible;
        expected.insert({L"mnuRun2", L"mnuStopR"});
        EXPECT_EQ(Visible(), expected);
    }
}

TEST_F(SelectionTest, Lv3EntriesFollowTheIconAndARightReleasePopsUpItsMenu) {
    const struct {
        int icon;
        Names visible;
    } cases[] = {
        {1, {L"mnuDisable2", L"mnuRun3"}},
        {2, {L"mnuDisable2", L"mnuStop3"}},
        {3, {L"mnuEnable2", L"mnuRun3"}},
        {9, {L"mnuEnable2", L"mnuStop3"}},  // no asking whether it runs
    };
    ASSERT_TRUE(form().SelectNode(L"two"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.icon);
        Fill(form().lv3, true, c.icon, L"C:\\A\\app.exe", kFolder);
        Baseline();
        form().lv3_Click();
        EXPECT_EQ(Visible(), c.visible);
        Baseline();
        const HMENU popped = CapturePopup([&] { form().lv3_MouseUp(2, POINT{200, 200}); });
        EXPECT_EQ(popped, form().menus.Popup(L"mnuPopup3"));
        EXPECT_EQ(Visible(), c.visible);
    }
    Fill(form().lv3, false, 0, L"", L"");
    Baseline();
    form().lv3_Click();
    EXPECT_EQ(CapturePopup([&] { form().lv3_MouseUp(2, POINT{200, 200}); }), nullptr);
    EXPECT_EQ(Visible(), Names{});
}

TEST_F(SelectionTest, ClicksAndButtonReleasesOnTheListReachTheHandlers) {
    ASSERT_TRUE(form().SelectNode(L"another11"));
    Fill(form().lv2, true, 1, L"C:\\A\\app.exe", kHklmRun);
    RECT r{};
    ListView_GetItemRect(form().lv2, 0, &r, LVIR_LABEL);
    const LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);

    Baseline();
    PostMessageW(form().lv2, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(form().lv2, WM_LBUTTONUP, 0, at);
    const Names clicked{L"mnuPopup2", L"mnuDisable", L"mnuDisable2", L"mnuRun2"};
    TestUtil::PumpUntil([&] { return Visible() == clicked; });
    EXPECT_EQ(Visible(), clicked);

    Baseline();
    SendMessageW(form().lv2, WM_MBUTTONUP, 0, at);
    EXPECT_EQ(Visible(), (Names{L"mnuDisable", L"mnuDisable2", L"mnuRun2"}));

    Baseline();
    const HMENU popped = CapturePopup([&] {
        PostMessageW(form().lv2, WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageW(form().lv2, WM_RBUTTONUP, 0, at);
        TestUtil::Pump(100);
    });
    EXPECT_EQ(popped, form().menus.Popup(L"mnuPopup2"));
}

} // namespace
