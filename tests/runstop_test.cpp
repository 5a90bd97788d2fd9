// Run, stop, find and web search of the startup lists' rows, the entries that open the Startup,
// Windows and system folders, and "See Startup Folder for options", from the menu entries of a
// live main window; launches are recorded by the seam.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/Registry.h"
#include "system/WebSearch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cwchar>
#include <iterator>

namespace {

using Clock = std::chrono::steady_clock;

const std::wstring kSelectStartupItem = L"Please select a Startup item     ";
const std::wstring kHkcuRun = L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunSub = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kUserFolder = L"C:\\users\\Public\\Start Menu\\Programs\\StartUp";
// "Disabled Startups", "Registry": with nothing parked its rebuild lists nothing, so the rows of a
// test stay its own until a command rebuilds the view.
const std::wstring kQuietNode = L"another 44";

class RunStopTest : public testing::Test {
protected:
    struct Dispatch {
        std::wstring node;
        Clock::time_point at;
    };

    void SetUp() override {
        TestUtil::FreshSettings();
        CreateDirectoryW(L"C:\\A", nullptr);
        CreateDirectoryW(L"C:\\L", nullptr);
        live = std::make_unique<TestUtil::LiveForm>();
        form().SelectNode(kQuietNode);
        form().onDispatchStep = [this](const wchar_t* step) {
            if (std::wcscmp(step, L"Clear") == 0) dispatches.push_back({form().SelectedNodeKey(), Clock::now()});
        };
        seam.messages.clear();
    }
    void TearDown() override {
        form().onDispatchStep = nullptr;
        live.reset();
    }

    Form1& form() { return live->form; }
    HWND List(bool folderRow) { return folderRow ? form().lv3 : form().lv2; }

    // The list holds this one row, selected: a registry row (name, command, key) or a folder row
    // (name, target, folder), as the loaders write them.
    void OneRow(bool folderRow, const std::wstring& name, const std::wstring& text) {
        const HWND list = List(folderRow);
        ListView::Clear(list);
        ListView::AddRow(list, name, 1, {text, folderRow ? kUserFolder : kHkcuRun}, ListView::EnabledForeColor);
        ListView::Select(list, 0);
    }
    void Click(UINT id) { SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    void ExpectLaunch(size_t index, const std::wstring& file, const std::wstring& directory = L"") {
        ASSERT_LT(index, seam.launches.size());
        ExpectShellOpen(seam.launches[index], form().hwnd(), file, directory);
    }
    // Run and stop rebuild the view they started from twice, the second at least 500 ms later.
    void ExpectRebuiltTwice(const std::wstring& node) {
        ASSERT_EQ(dispatches.size(), 2u);
        EXPECT_EQ(dispatches[0].node, node);
        EXPECT_EQ(dispatches[1].node, node);
        EXPECT_GE(dispatches[1].at - dispatches[0].at, std::chrono::milliseconds(500));
        EXPECT_EQ(form().SelectedNodeKey(), node);
    }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
    std::vector<Dispatch> dispatches;
};

TEST_F(RunStopTest, WebSearchEncodesTheProgramsFileNameAndTheEntrysName) {
    const struct {
        bool folderRow;
        std::wstring name;
        std::wstring text;   // command or target
        std::wstring words;  // after "/search?q="
    } cases[] = {
        {false, L"App", L"C:\\A\\app.exe /min", L"app.exe+OR+App"},
        {false, L"C&A #1", L"C:\\A\\c a.exe", L"c+a.exe+OR+C%26A+%231"},
        {false, L"Caf\u00e9", L"C:\\A\\app.exe", L"app.exe+OR+Caf%C3%A9"},
        {false, L"Say \"hi\"", L"C:\\A\\100%+.exe", L"100%25%2B.exe+OR+Say+%22hi%22"},
        {false, L"App", L"C:\\A\\APP.EXE /min", L"APP.EXE+%2Fmin+OR+App"},  // capitals: not split
        {false, L"App", L"C:\\Program Files\\Foo, Inc\\app.exe", L"Foo+OR+App"},  // a command is cut at ","
        {true, L"App", L"C:\\A\\app.exe", L"app.exe+OR+App"},
        {true, L"C&A #1", L"C:\\A\\c a.exe", L"c+a.exe+OR+C%26A+%231"},
        {true, L"App", L"C:\\Program Files\\Foo, Inc\\app.exe", L"app.exe+OR+App"},  // a target is whole
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.c_str());
        seam.launches.clear();
        OneRow(c.folderRow, c.name, c.text);
        Click(c.folderRow ? IDM_mnuGoog3 : IDM_mnuGoog2);
        ASSERT_EQ(seam.launches.size(), 1u);
        ExpectLaunch(0, WebSearch::kSearchAddress + c.words);
    }
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(dispatches.empty());
}

TEST_F(RunStopTest, FindOpensOnlyAnExistingFolderOfTheProgram) {
    const std::wstring windows = MyMod::GetWindowsDir();
    const struct {
        bool folderRow;
        std::wstring text;
        std::wstring folder;  // "": nothing is launched
    } cases[] = {
        {false, L"C:\\A\\app.exe /min", L"C:\\A"},
        {false, L"C:\\A\\app.exe /log C:\\L\\x.txt", L"C:\\A"},  // not the switch's folder
        {false, L"C:\\app.exe", L"C:\\"},
        {false, L"%SystemRoot%\\system32\\x.exe", windows + L"\\system32"},
        {false, L"notepad.exe", L""},
        {false, L"", L""},
        {false, L"C:\\Missing\\app.exe", L""},
        {true, L"C:\\A\\app.exe", L"C:\\A"},
        {true, L"C:\\app.exe", L"C:\\"},
        {true, L"%SystemRoot%\\system32\\x.exe", windows + L"\\system32"},
        {true, L"notepad.exe", L""},
        {true, L"", L""},
        {true, L"C:\\Missing\\app.exe", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.c_str());
        seam.launches.clear();
        OneRow(c.folderRow, L"App", c.text);
        Click(c.folderRow ? IDM_mnuFind2 : IDM_mnuFind);
        if (c.folder.empty()) {
            EXPECT_TRUE(seam.launches.empty());
        } else {
            ASSERT_EQ(seam.launches.size(), 1u);
            ExpectLaunch(0, c.folder);
        }
    }
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(dispatches.empty());
}

TEST_F(RunStopTest, RunStartsTheProgramInItsFolderAndRebuildsTheViewTwice) {
    const struct {
        bool folderRow;
        std::wstring text;
        std::wstring file;       // "": nothing is launched
        std::wstring directory;
    } cases[] = {
        {false, L"C:\\A\\app.exe /min", L"C:\\A\\app.exe", L"C:\\A"},  // the switch is dropped
        {false, L"%SystemDrive%\\A\\app.exe -q", L"C:\\A\\app.exe", L"C:\\A"},
        {false, L"app.exe", L"app.exe", L""},
        {true, L"C:\\A\\app.exe", L"C:\\A\\app.exe", L"C:\\A"},
        {true, L"%SystemDrive%\\A\\app.exe", L"C:\\A\\app.exe", L"C:\\A"},
        {true, L"", L"", L""},  // a file that is no shortcut has no target
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.c_str());
        seam.launches.clear();
        dispatches.clear();
        OneRow(c.folderRow, L"App", c.text);
        Click(c.folderRow ? IDM_mnuRun3 : IDM_mnuRun2);
        if (c.file.empty()) {
            EXPECT_TRUE(seam.launches.empty());
        } else {
            ASSERT_EQ(seam.launches.size(), 1u);
            ExpectLaunch(0, c.file, c.directory);
        }
        ExpectRebuiltTwice(kQuietNode);
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(RunStopTest, RunThroughTheShellShowsTheRowRunning) {
    const std::wstring program = TestUtil::ProgramFolder() + L"\\runme.exe";
    ASSERT_TRUE(CopyFileW((TestUtil::ProgramFolder() + L"\\sleeper.exe").c_str(), program.c_str(), FALSE));
    TestUtil::PutString(HKEY_CURRENT_USER, kRunSub, L"CorvellRunMe", program + L" /min");
    form().tvwDemo_NodeClick(L"another26");
    const int row = ListView::FindRow(form().lv2, L"CorvellRunMe");
    ASSERT_GE(row, 0);
    EXPECT_EQ(ListView::Icon(form().lv2, row), 1);
    ListView::Select(form().lv2, row);

    seam.launchForReal = true;
    Click(IDM_mnuRun2);
    ASSERT_EQ(seam.launches.size(), 1u);
    // The rebuilds 500 ms apart may come before the program shows; it is waited for here.
    EXPECT_TRUE(TestUtil::WaitForProcess(L"runme.exe"));
    form().tvwDemo_NodeClick(L"another26");
    const int shown = ListView::FindRow(form().lv2, L"CorvellRunMe");
    ASSERT_GE(shown, 0);
    EXPECT_EQ(ListView::Icon(form().lv2, shown), 2);

    modTerminateProcess::KillProcessByName(L"runme.exe");
    (void)General::DeleteValue(HKEY_CURRENT_USER, kRunSub, L"CorvellRunMe");
}

TEST_F(RunStopTest, StopEndsOnlyTheRowsProgramAndRebuildsTheViewTwice) {
    auto a = TestUtil::StartCopy(L"sleeper.exe", L"C:\\A\\app.exe");
    auto b = TestUtil::StartCopy(L"sleeper.exe", L"C:\\B\\app.exe");
    auto mine = TestUtil::StartCopy(L"sleeper.exe", L"C:\\A\\myapp.exe");
    ASSERT_TRUE(a && b && mine);

    OneRow(false, L"App", L"C:\\A\\app.exe /min");
    Click(IDM_mnuStopR);
    EXPECT_EQ(WaitForSingleObject(a.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(b.get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    ExpectRebuiltTwice(kQuietNode);

    dispatches.clear();
    OneRow(true, L"App", L"C:\\B\\app.exe");
    Click(IDM_mnuStop3);
    EXPECT_EQ(WaitForSingleObject(b.get(), 30000), WAIT_OBJECT_0);
    ExpectRebuiltTwice(kQuietNode);

    // Nothing of that program runs any more: nothing is ended, the view is still rebuilt twice.
    for (bool folderRow : {false, true}) {
        dispatches.clear();
        OneRow(folderRow, L"App", L"C:\\A\\app.exe");
        Click(folderRow ? IDM_mnuStop3 : IDM_mnuStopR);
        ExpectRebuiltTwice(kQuietNode);
    }
    EXPECT_EQ(WaitForSingleObject(mine.get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(seam.launches.empty());
    TerminateProcess(mine.get(), 0);
}

TEST_F(RunStopTest, CommandsOnTheSelectedRowAskForOneAndRunAndStopOfFolderRowsDoNot) {
    auto running = TestUtil::StartCopy(L"sleeper.exe", L"C:\\A\\app.exe");
    ASSERT_TRUE(running);
    const struct {
        bool folderRow;
        UINT id;
    } checked[] = {{false, IDM_mnuRun2}, {false, IDM_mnuStopR},  {false, IDM_mnuFind},
                   {false, IDM_mnuGoog2}, {true, IDM_mnuFind2}, {true, IDM_mnuGoog3}};
    for (const auto& c : checked) {
        SCOPED_TRACE(c.id);
        // The row is the list's current one, but not selected.
        OneRow(c.folderRow, L"App", L"C:\\A\\app.exe");
        const HWND list = List(c.folderRow);
        ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        seam.messages.clear();
        Click(c.id);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, kSelectStartupItem);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(ListView::Selected(list), 0);
        EXPECT_EQ(GetFocus(), list);
    }
    EXPECT_TRUE(seam.launches.empty());
    EXPECT_TRUE(dispatches.empty());

    for (UINT id : {IDM_mnuRun3, IDM_mnuStop3}) {
        SCOPED_TRACE(id);
        OneRow(true, L"App", L"C:\\A\\app.exe");
        ListView_SetItemState(form().lv3, 0, LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        seam.messages.clear();
        dispatches.clear();
        Click(id);
        EXPECT_TRUE(seam.messages.empty());
        ExpectRebuiltTwice(kQuietNode);
    }
    EXPECT_TRUE(seam.launches.empty());
    EXPECT_EQ(WaitForSingleObject(running.get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    TerminateProcess(running.get(), 0);
}

TEST_F(RunStopTest, RunWhileOtherWorkHoldsTheWindowRebuildsOnceAfterIt) {
    OneRow(false, L"App", L"C:\\A\\app.exe");
    {
        Form1::Busy outer(form());
        Click(IDM_mnuRun2);
        EXPECT_EQ(seam.launches.size(), 1u);
        EXPECT_TRUE(dispatches.empty());  // no rebuild into the middle of that work
    }
    ASSERT_EQ(dispatches.size(), 1u);
    EXPECT_EQ(dispatches[0].node, kQuietNode);
}

TEST_F(RunStopTest, FolderEntriesOpenTheirFoldersWithNoRowSelected) {
    ListView::Clear(form().lv2);
    ListView::Clear(form().lv3);
    const struct {
        UINT id;
        std::wstring folder;
    } cases[] = {
        {IDM_mnuAll, modSpecialFolder::GetSpecialFolder(24)},
        {IDM_mnuCurrent, modSpecialFolder::GetSpecialFolder(7)},
        {IDM_mnuSystem, MyMod::GetSystemDir()},
        {IDM_mnuWindows, MyMod::GetWindowsDir()},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_FALSE(cases[i].folder.empty());
        Click(cases[i].id);
        ASSERT_EQ(seam.launches.size(), i + 1);
        ExpectLaunch(i, cases[i].folder);
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(RunStopTest, SeeStartupFolderForOptionsLeadsToTheFolderItemsView) {
    const struct {
        std::wstring from;
        std::wstring title;   // lblCount when the entry is chosen; "" leaves the view's own
        std::wstring to;
        std::wstring toTitle;
    } cases[] = {
        {L"seven", L"", L"another 45", L"Disabled Startup Folder Items All Users"},
        {L"one", L"", L"two", L"Startup Folder All Users"},
        {L"one", L"disabled startups all users", L"another 45", L"Disabled Startup Folder Items All Users"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from + L" " + c.title);
        form().tvwDemo_NodeClick(c.from);
        if (!c.title.empty()) SetWindowTextW(form().lblCount, c.title.c_str());
        dispatches.clear();
        Click(IDM_mnuMsg);
        ASSERT_EQ(dispatches.size(), 1u);
        EXPECT_EQ(dispatches[0].node, c.to);
        EXPECT_EQ(form().SelectedNodeKey(), c.to);
        EXPECT_EQ(form().ControlText(form().lblCount), c.toTitle);
    }
}

} // namespace
