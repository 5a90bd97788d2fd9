// The startup properties dialogs frmReg (lv2) and frmReg2 (lv3) in a live main window: what
// opens them and what not, their fields, the Winlogon mode and its reset of "Userinit".
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "startups/frmReg.h"
#include "startups/frmReg2.h"
#include "system/Paths.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kWinlogonSub = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::wstring kSelectStartupItem = L"Please select a Startup item     ";
const std::wstring kNoExtras = L"There are no extra Startups at WinLogon";
const std::wstring kToolsAgent = L"C:\\Tools\\agent.exe";

std::wstring Text(HWND control) { return DialogSupport::WindowText(control); }

void CloseAll() {
    if (frmReg* open = frmReg::Current()) open->Unload();
    if (frmReg2* open = frmReg2::Current()) open->Unload();
}

class StartupPropertiesTest : public testing::Test {
protected:
    void SetUp() override { TestUtil::FreshSettings(); }
    void TearDown() override { CloseAll(); }

    // Selects the node and shows its view, as a click on it does.
    static void Show(Form1& form, const wchar_t* node) {
        form.SelectNode(node);
        form.tvwDemo_NodeClick(node);
    }
    // Shows the node's view and puts one row of our own into list, selected.
    static int PutRow(Form1& form, const wchar_t* node, HWND list, const std::wstring& name,
                      const std::wstring& command, int icon = 1) {
        Show(form, node);
        ListView::Clear(list);
        const int row = ListView::AddRow(list, name, icon, {command, L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"});
        ListView::Select(list, row);
        return row;
    }
    // A double click on the row, as the mouse gives it.
    static void DoubleClick(HWND list, int row) {
        RECT cell{};
        ListView_GetItemRect(list, row, &cell, LVIR_LABEL);
        const LPARAM at = MAKELPARAM(cell.left + 4, (cell.top + cell.bottom) / 2);
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(list, WM_LBUTTONUP, 0, at);
        SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(list, WM_LBUTTONUP, 0, at);
    }
    TestSeam seam;
};

template <typename D>
void ExpectFields(const D& d, const std::wstring& name, const std::wstring& path, const std::wstring& switches,
                  const std::wstring& status) {
    EXPECT_EQ(Text(d.hwnd()), L"Startup Properties");
    EXPECT_EQ(Text(d.Label9), name);
    EXPECT_EQ(Text(d.txtName), name);
    EXPECT_EQ(Text(d.txtFileName), path);
    EXPECT_EQ(Text(d.txtSwitch), switches);
    EXPECT_EQ(Text(d.txtCurrent), status);
    EXPECT_EQ(d.toolTips.Text(d.txtFileName), path);
}

TEST_F(StartupPropertiesTest, EachListShowsTheRowsSplitStatusAndFile) {
    const std::wstring fixture = TestUtil::ProgramFolder() + L"\\vfix_full.exe";
    // A command as an expandable Run value holds it: the path box shows it so, the file is read
    // where the variable points.
    ASSERT_TRUE(SetEnvironmentVariableW(L"CORVELL_FIXTURES", TestUtil::ProgramFolder().c_str()));
    const std::wstring expandable = L"%CORVELL_FIXTURES%\\vfix_full.exe";
    struct Case {
        std::wstring command;
        int icon;
        std::wstring path, switches, status;
        bool found;  // the file panel reads the fixture
    };
    const Case cases[] = {
        {kToolsAgent + L" /min /tray", 1, kToolsAgent, L"/min /tray", L"Enabled", false},
        {kToolsAgent + L" -q", 2, kToolsAgent, L"-q", L"Enabled", false},
        {kToolsAgent + L",", 3, kToolsAgent, L",", L"Disabled", false},
        {L"\"" + fixture + L"\"", 9, fixture, L"", L"Disabled", true},
        {expandable + L" /min", 1, expandable, L"/min", L"Enabled", true},
        {L"%CORVELL_NO_SUCH_VARIABLE%\\vfix_full.exe", 3, L"%CORVELL_NO_SUCH_VARIABLE%\\vfix_full.exe", L"",
         L"Disabled", false},
    };
    TestUtil::LiveForm live;
    Form1& form = live.form;
    for (bool folder : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.command + (folder ? L" in lv3" : L" in lv2"));
            seam.messages.clear();
            if (folder) {
                PutRow(form, L"two", form.lv3, L"Agent", c.command, c.icon);
                form.mnuProperties3_Click();
            } else {
                PutRow(form, L"another11", form.lv2, L"Agent", c.command, c.icon);
                form.mnuProperites2_Click();
            }
            const StartupPropertiesControls* d = nullptr;
            if (folder) {
                ASSERT_NE(frmReg2::Current(), nullptr);
                ExpectFields(*frmReg2::Current(), L"Agent", c.path, c.switches, c.status);
                d = frmReg2::Current();
            } else {
                ASSERT_NE(frmReg::Current(), nullptr);
                ExpectFields(*frmReg::Current(), L"Agent", c.path, c.switches, c.status);
                EXPECT_FALSE(IsWindowVisible(frmReg::Current()->Picture3));
                d = frmReg::Current();
            }
            EXPECT_EQ(d->tabs.SelectedTab(), 0);
            EXPECT_EQ(d->tabs.Caption(1), L"Startup Properties");
            if (c.found) {
                // Field 0 is the name the version resource gives.
                EXPECT_TRUE(seam.messages.empty());
                EXPECT_EQ(Text(d->panel.txtInfo[0]), L"vfull.exe");
                EXPECT_EQ(Text(d->panel.txtInfo[3]), L"Copyright (C) Fixture Works");
                EXPECT_EQ(d->toolTips.Text(d->panel.txtInfo[3]), L"Copyright (C) Fixture Works");
            } else {
                ASSERT_EQ(seam.messages.size(), 1u);
                EXPECT_EQ(seam.messages[0].text, L"File Path Not Found     ");
                EXPECT_EQ(Text(d->panel.txtInfo[0]), L"");
                EXPECT_EQ(Text(d->panel.txtInfo[4]), L"Unknown API");
            }
            CloseAll();
        }
    }
}

TEST_F(StartupPropertiesTest, DoubleClicksOpenOnlyOnASelectedRowOutsideFileSystemStartups) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    // Empty lists.
    Show(form, L"another11");
    ListView::Clear(form.lv2);
    form.lv2_DblClick();
    Show(form, L"two");
    ListView::Clear(form.lv3);
    form.lv3_DblClick();
    // A row of "File System Startups".
    PutRow(form, L"eleven", form.lv2, L"Win.ini", L"C:\\windows\\win.ini", 11);
    seam.messages.clear();  // the view's once-only warning
    DoubleClick(form.lv2, 0);
    // Rows, but none selected.
    PutRow(form, L"another11", form.lv2, L"Agent", kToolsAgent);
    ListView_SetItemState(form.lv2, -1, 0, LVIS_SELECTED);
    form.lv2_DblClick();
    PutRow(form, L"two", form.lv3, L"Agent", kToolsAgent);
    ListView_SetItemState(form.lv3, -1, 0, LVIS_SELECTED);
    form.lv3_DblClick();
    EXPECT_EQ(frmReg::Current(), nullptr);
    EXPECT_EQ(frmReg2::Current(), nullptr);
    EXPECT_TRUE(seam.messages.empty());

    // A double click on a row opens the list's dialog.
    PutRow(form, L"another11", form.lv2, L"Agent", kToolsAgent + L" /min");
    DoubleClick(form.lv2, 0);
    ASSERT_NE(frmReg::Current(), nullptr);
    EXPECT_EQ(Text(frmReg::Current()->txtSwitch), L"/min");
    PutRow(form, L"two", form.lv3, L"Folder Agent", kToolsAgent + L" -q");
    DoubleClick(form.lv3, 0);
    ASSERT_NE(frmReg2::Current(), nullptr);
    EXPECT_EQ(Text(frmReg2::Current()->txtName), L"Folder Agent");
}

TEST_F(StartupPropertiesTest, PropertiesAfterTheSelectionWasClearedAsksForOne) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    struct Case {
        const wchar_t* node;
        bool folder;
        void (Form1::*handler)();
    };
    const Case cases[] = {
        {L"another11", false, &Form1::mnuProperites2_Click},
        {L"two", true, &Form1::mnuProperties3_Click},
        {L"ten", false, &Form1::mnuProperties4_Click},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        HWND list = c.folder ? form.lv3 : form.lv2;
        const int row = PutRow(form, c.node, list, L"Agent", kToolsAgent + L",");
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        seam.messages.clear();
        (form.*c.handler)();
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, kSelectStartupItem);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(ListView::Selected(list), row);
        EXPECT_EQ(GetFocus(), list);
        EXPECT_EQ(frmReg::Current(), nullptr);
        EXPECT_EQ(frmReg2::Current(), nullptr);
    }
}

TEST_F(StartupPropertiesTest, WinlogonRowOpensTheDeletePanelOnlyWithExtraPrograms) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    struct Opener {
        const char* name;
        void (*open)(Form1&);
    };
    const Opener openers[] = {
        {"double click", [](Form1& f) { DoubleClick(f.lv2, 0); }},
        {"Properties", [](Form1& f) { f.mnuProperties4_Click(); }},
    };
    for (const auto& o : openers) {
        SCOPED_TRACE(o.name);
        // Userinit holds only the system's own part: nothing to show.
        PutRow(form, L"ten", form.lv2, L"Userinit.exe", L"", 2);
        seam.messages.clear();
        o.open(form);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, kNoExtras);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        EXPECT_EQ(frmReg::Current(), nullptr);

        // Extra programs: the dialog in its Winlogon mode.
        PutRow(form, L"ten", form.lv2, L"Userinit.exe", kToolsAgent + L",", 2);
        o.open(form);
        frmReg* d = frmReg::Current();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(Text(d->txtFileName), kToolsAgent);
        EXPECT_EQ(Text(d->txtSwitch), L",");
        EXPECT_EQ(d->tabs.Caption(1), L"Modify Properties");
        d->tabs.SelectTab(1);
        EXPECT_TRUE(IsWindowVisible(d->Picture3));
        EXPECT_EQ(Text(d->cmdRemove), L"Delete");
        EXPECT_EQ(form.WinlogonEditFlag, L"0");
        CloseAll();
    }
}

TEST_F(StartupPropertiesTest, WinlogonModeGoesWithTheRowThatAskedForIt) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    PutRow(form, L"another11", form.lv2, L"Agent", kToolsAgent);
    form.mnuProperites2_Click();
    ASSERT_NE(frmReg::Current(), nullptr);

    // The Winlogon row while a dialog of another row is open: the dialog shows it, in its mode.
    PutRow(form, L"ten", form.lv2, L"Userinit.exe", kToolsAgent + L",", 2);
    DoubleClick(form.lv2, 0);
    frmReg* winlogon = frmReg::Current();
    ASSERT_NE(winlogon, nullptr);
    EXPECT_EQ(Text(winlogon->txtName), L"Userinit.exe");
    EXPECT_EQ(winlogon->tabs.Caption(1), L"Modify Properties");
    EXPECT_EQ(form.WinlogonEditFlag, L"0");

    // A row without extras has nothing to show and leaves the open dialog as it is.
    PutRow(form, L"ten", form.lv2, L"Userinit.exe", L"", 2);
    seam.messages.clear();
    form.mnuProperties4_Click();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, kNoExtras);
    EXPECT_EQ(frmReg::Current(), winlogon);

    // And the next row's dialog is no Winlogon one.
    PutRow(form, L"another11", form.lv2, L"Agent", kToolsAgent);
    form.mnuProperites2_Click();
    frmReg* next = frmReg::Current();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(Text(next->txtName), L"Agent");
    next->tabs.SelectTab(1);
    EXPECT_FALSE(IsWindowVisible(next->Picture3));
    EXPECT_EQ(next->tabs.Caption(1), L"Startup Properties");
    EXPECT_EQ(form.WinlogonEditFlag, L"0");
}

// Properties of a second row while the first one's are open show the second row, where the
// first one's window was; a dialog waiting in its own message box is replaced once that has closed.
TEST_F(StartupPropertiesTest, PropertiesOfAnotherRowWhileTheDialogIsOpenShowThatRow) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    struct Case {
        const char* what;
        const wchar_t* node;
        bool folder;
        void (*open)(Form1&, int row);
    };
    const Case cases[] = {
        {"lv2 Properties", L"another11", false, [](Form1& f, int) { f.mnuProperites2_Click(); }},
        {"lv2 double click", L"another11", false, [](Form1& f, int row) { DoubleClick(f.lv2, row); }},
        {"lv3 Properties", L"two", true, [](Form1& f, int) { f.mnuProperties3_Click(); }},
        {"lv3 double click", L"two", true, [](Form1& f, int row) { DoubleClick(f.lv3, row); }},
    };
    auto shown = [](bool folder) -> const StartupPropertiesControls* {
        if (folder) return frmReg2::Current();
        return frmReg::Current();
    };
    auto window = [](bool folder) -> HWND {
        if (folder) return frmReg2::Current() ? frmReg2::Current()->hwnd() : nullptr;
        return frmReg::Current() ? frmReg::Current()->hwnd() : nullptr;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CloseAll();
        HWND list = c.folder ? form.lv3 : form.lv2;
        Show(form, c.node);
        ListView::Clear(list);
        const std::wstring key = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
        const int alpha = ListView::AddRow(list, L"Alpha", 1, {L"C:\\Tools\\alpha.exe /a", key});
        const int beta = ListView::AddRow(list, L"Beta", 3, {L"C:\\Tools\\beta.exe -b", key});
        ListView::Select(list, alpha);
        c.open(form, alpha);
        ASSERT_NE(shown(c.folder), nullptr);
        EXPECT_EQ(Text(shown(c.folder)->txtName), L"Alpha");
        SetWindowPos(window(c.folder), nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

        ListView::Select(list, beta);
        c.open(form, beta);
        const StartupPropertiesControls* d = shown(c.folder);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(Text(d->Label9), L"Beta");
        EXPECT_EQ(Text(d->txtName), L"Beta");
        EXPECT_EQ(Text(d->txtFileName), L"C:\\Tools\\beta.exe");
        EXPECT_EQ(Text(d->txtSwitch), L"-b");
        EXPECT_EQ(Text(d->txtCurrent), L"Disabled");
        RECT place{};
        GetWindowRect(window(c.folder), &place);
        EXPECT_EQ(place.left, 37);
        EXPECT_EQ(place.top, 41);

        // Alpha asked while Beta's dialog waits in its "File Path Not Found" as it loads.
        CloseAll();
        HWND boxOwner = nullptr;
        bool keptUnderBox = false;
        seam.onMessage = [&](const Seam::MessageRequest& m) {
            const HWND open = window(c.folder);
            if (boxOwner || !open || m.owner != open) return;
            boxOwner = m.owner;
            ListView::Select(list, alpha);
            c.open(form, alpha);
            keptUnderBox = IsWindow(boxOwner) && window(c.folder) == boxOwner;
        };
        ListView::Select(list, beta);
        c.open(form, beta);
        seam.onMessage = nullptr;
        ASSERT_NE(boxOwner, nullptr);
        EXPECT_TRUE(keptUnderBox);
        ASSERT_TRUE(TestUtil::PumpUntil([&] { return !IsWindow(boxOwner) && shown(c.folder); }));
        EXPECT_EQ(Text(shown(c.folder)->txtName), L"Alpha");
    }
}

TEST_F(StartupPropertiesTest, SettingTabFlagOpensFrmRegOnItsSecondTabAndFrmReg2IgnoresIt) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    PutRow(form, L"another11", form.lv2, L"Agent", kToolsAgent);
    form.SettingTabFlag = L"1";
    form.mnuProperites2_Click();
    ASSERT_NE(frmReg::Current(), nullptr);
    EXPECT_EQ(frmReg::Current()->tabs.SelectedTab(), 1);
    EXPECT_FALSE(IsWindowVisible(frmReg::Current()->tabs.Frame2[0]));
    EXPECT_TRUE(IsWindowVisible(frmReg::Current()->tabs.Frame2[1]));
    EXPECT_EQ(form.SettingTabFlag, L"0");

    PutRow(form, L"two", form.lv3, L"Agent", kToolsAgent);
    form.SettingTabFlag = L"1";
    form.mnuProperties3_Click();
    ASSERT_NE(frmReg2::Current(), nullptr);
    EXPECT_EQ(frmReg2::Current()->tabs.SelectedTab(), 0);
    EXPECT_EQ(form.SettingTabFlag, L"1");
}

class WinlogonResetTest : public StartupPropertiesTest {
protected:
    void SetUp() override {
        StartupPropertiesTest::SetUp();
        const std::wstring standard = MyMod::StandardUserinit();
        userinit_ = standard.substr(0, standard.size() - 1);
        extras_ = standard + kToolsAgent + L",";
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kWinlogonSub, L"Userinit", extras_);
    }
    void TearDown() override {
        StartupPropertiesTest::TearDown();
        DeleteFileW(userinit_.c_str());
    }
    // Opens frmReg in its Winlogon mode on the row the "WinLogon" view lists.
    static frmReg* OpenOnWinlogon(Form1& form) {
        Show(form, L"ten");
        EXPECT_EQ(ListView::Count(form.lv2), 1);
        EXPECT_EQ(ListView::Text(form.lv2, 0, 1), kToolsAgent + L",");
        ListView::Select(form.lv2, 0);
        form.mnuProperties4_Click();
        return frmReg::Current();
    }
    static std::wstring Userinit() {
        std::wstring value;
        TestUtil::ReadString(HKEY_LOCAL_MACHINE, kWinlogonSub, L"Userinit", value);
        return value;
    }
    std::wstring userinit_;
    std::wstring extras_;
};

TEST_F(WinlogonResetTest, DeleteWritesTheSystemsOwnUserinitAndReloadsWinLogon) {
    ASSERT_TRUE(CopyFileW((TestUtil::ProgramFolder() + L"\\vfix_full.exe").c_str(), userinit_.c_str(), FALSE));
    TestUtil::LiveForm live;
    Form1& form = live.form;
    frmReg* d = OpenOnWinlogon(form);
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(IsWindow(d->cmdRemove));
    seam.messages.clear();  // the panel's, for C:\Tools\agent.exe

    Show(form, L"another11");  // the view moved on meanwhile
    std::vector<std::wstring> steps;
    form.onDispatchStep = [&steps](const wchar_t* step) { steps.emplace_back(step); };
    SendMessageW(d->cmdRemove, BM_CLICK, 0, 0);
    form.onDispatchStep = nullptr;

    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(Userinit(), MyMod::StandardUserinit());
    EXPECT_EQ(frmReg::Current(), nullptr);
    EXPECT_EQ(form.SelectedNodeKey(), L"ten");
    EXPECT_NE(std::find(steps.begin(), steps.end(), L"LoadUserinitEntry"), steps.end());
    ASSERT_EQ(ListView::Count(form.lv2), 1);
    EXPECT_EQ(ListView::Text(form.lv2, 0, 0), L"Userinit.exe");
    EXPECT_EQ(ListView::Text(form.lv2, 0, 1), L"");
}

TEST_F(WinlogonResetTest, WithoutUserinitExeOrAWritableValueNothingIsChangedAndItSaysSo) {
    DeleteFileW(userinit_.c_str());
    TestUtil::LiveForm live;
    Form1& form = live.form;
    frmReg* d = OpenOnWinlogon(form);
    ASSERT_NE(d, nullptr);
    seam.messages.clear();
    SendMessageW(d->cmdRemove, BM_CLICK, 0, 0);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text,
              L"The WinLogon setting was not changed because " + userinit_ + L" was not found.     ");
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(Userinit(), extras_);
    EXPECT_EQ(frmReg::Current(), d);

    // userinit.exe is there but the Winlogon key is gone: no value is made up, and it is said.
    ASSERT_TRUE(CopyFileW((TestUtil::ProgramFolder() + L"\\vfix_full.exe").c_str(), userinit_.c_str(), FALSE));
    ASSERT_TRUE(TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kWinlogonSub));
    seam.messages.clear();
    SendMessageW(d->cmdRemove, BM_CLICK, 0, 0);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text,
              L"The WinLogon setting could not be changed to " + MyMod::StandardUserinit() + L"     ");
    EXPECT_FALSE(TestUtil::ValueExists(HKEY_LOCAL_MACHINE, kWinlogonSub, L"Userinit"));
    EXPECT_EQ(frmReg::Current(), d);
}

} // namespace
