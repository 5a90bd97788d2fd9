// The navigator: the 21 nodes, the node dispatcher with its tail, the busy flag, the legacy-file
// views, and the tree's click routing and images, in a real main window.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunOnce = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring kRunOnceEx = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";

const wchar_t* const kActionMenus[] = {L"mnuPopup",  L"mnuPopup2", L"mnuPopup3", L"mnuPopup4", L"mnuPopup5",
                                       L"mnuPopup6", L"mnuPopup7", L"mnuPopup8", L"mnuPopup9"};

std::wstring VisibleActionMenus(const Form1& form) {
    std::wstring out;
    for (const wchar_t* m : kActionMenus)
        if (form.menus.IsVisible(m)) out += (out.empty() ? L"" : L" ") + std::wstring(m);
    return out;
}

void ClearRunKeys() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const std::wstring& k : {kRun, kRunOnce, kRunOnceEx}) TestUtil::DeleteTree(root, k);
    General::CreateKey(L"HKEY_LOCAL_MACHINE\\" + kRun);
    General::CreateKey(L"HKEY_CURRENT_USER\\" + kRun);
}

void PutFile(const std::wstring& path, const std::string& bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD done = 0;
    ASSERT_TRUE(file);
    ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr));
}

// Records the steps of each dispatch and what the case left when its last step came.
struct Recorder {
    struct Snapshot {
        std::wstring menus;
        int tag = -1;
    };
    std::vector<std::wstring> steps;
    Snapshot atCaseEnd;
    explicit Recorder(Form1& form) : form_(form) {
        form.onDispatchStep = [this](const wchar_t* step) {
            const std::wstring s = step;
            if (s == L"Clear") {
                steps.clear();
                atCaseEnd = {};
            }
            // The view's click handler ends every list case; the file cases end before the tail.
            if (s == L"lv_Click" || s == L"lv2_Click" || s == L"lv3_Click" || (s == L"Tail" && atCaseEnd.tag < 0))
                atCaseEnd = {VisibleActionMenus(form_), form_.ActiveListTag};
            steps.push_back(s);
            if (onStep) onStep(s);
        };
    }
    ~Recorder() { form_.onDispatchStep = nullptr; }
    // The steps of the case only: between "Clear" and "Tail".
    std::vector<std::wstring> CaseSteps() const {
        std::vector<std::wstring> out;
        for (const auto& s : steps) {
            if (s == L"Tail") break;
            if (s != L"Clear") out.push_back(s);
        }
        return out;
    }
    int Count(const std::wstring& step) const { return static_cast<int>(std::count(steps.begin(), steps.end(), step)); }
    std::function<void(const std::wstring&)> onStep;

private:
    Form1& form_;
};

class NavigatorTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        ClearRunKeys();
        DeleteFileW((App::Path() + L"\\Backups\\RegKeys.reg").c_str());
    }
    void TearDown() override { ClearRunKeys(); }
    void Click(Form1& form, const std::wstring& key) {
        ASSERT_TRUE(form.SelectNode(key)) << key;
        form.tvwDemo_NodeClick(form.SelectedNodeKey());
    }
    TestSeam seam;
};

TEST_F(NavigatorTest, TwentyOneNodesUnderThreeRootsExpandedWithOneSelected) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    ASSERT_EQ(form.nodes.size(), 21u);
    EXPECT_EQ(TreeView_GetCount(form.tvwDemo), 21u);
    std::vector<std::wstring> roots;
    for (HTREEITEM i = TreeView_GetRoot(form.tvwDemo); i; i = TreeView_GetNextSibling(form.tvwDemo, i)) {
        for (const auto& n : form.nodes)
            if (n.item == i) roots.push_back(n.text);
    }
    EXPECT_EQ(roots, (std::vector<std::wstring>{L"All Startups", L"File System Startups", L"Services"}));
    // Parents as listed, and every node with children expanded.
    for (const auto& n : form.nodes) {
        const HTREEITEM parent = TreeView_GetParent(form.tvwDemo, n.item);
        const Form1::NavigatorNode* p = n.parent.empty() ? nullptr : form.FindNode(n.parent);
        EXPECT_EQ(parent, p ? p->item : nullptr) << n.key;
        if (TreeView_GetChild(form.tvwDemo, n.item)) {
            EXPECT_NE(TreeView_GetItemState(form.tvwDemo, n.item, TVIS_EXPANDED) & TVIS_EXPANDED, 0u) << n.key;
        }
    }
    EXPECT_EQ(form.FindNode(L"another 44")->text, L"Registry");
    EXPECT_EQ(form.FindNode(L"ANOTHER 45")->text, L"Startup Folder");
    EXPECT_EQ(form.SelectedNodeKey(), L"one");
    EXPECT_EQ(General::GetStringValue(App::AppKey(), L"lv2DT"), L"1");
}

TEST_F(NavigatorTest, EveryNodeOpensItsViewWithTitleMenuTagAndStepsInOrder) {
    // One value in each of the five Run keys, so every registry view has rows.
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"MachineRun", L"C:\\Tools\\a.exe");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnce, L"MachineOnce", L"C:\\Tools\\b.exe");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnceEx, L"MachineOnceEx", L"C:\\Tools\\c.exe");
    TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"UserRun", L"C:\\Tools\\d.exe");
    TestUtil::PutString(HKEY_CURRENT_USER, kRunOnce, L"UserOnce", L"C:\\Tools\\e.exe");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    Recorder rec(form);

    const std::vector<std::wstring> runView = {L"CleanStartupPaths", L"MarkRunningStartups", L"lv2_Click"};
    auto with = [](std::vector<std::wstring> head, const std::vector<std::wstring>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    enum View { kLv, kLv2, kLv3, kTxt };
    struct Case {
        const wchar_t* key;
        View front;
        const wchar_t* title;     // nullptr: the case writes none
        const wchar_t* menu;      // the Action menu the case leaves (before its click handler)
        int tag;                  // ActiveListTag during the case
        std::vector<std::wstring> steps;
        const wchar_t* fileTag = nullptr;
    };
    const std::vector<Case> cases = {
        {L"SIX", kLv, nullptr, L"mnuPopup", 1, {L"LoadServices", L"SaveServiceSortKey", L"lv_Click"}},
        {L"seven", kLv2, L"Disabled Startups All Users", L"mnuPopup4", 0,
         {L"LoadDisabledStartups", L"AddDisabledFolderStartups", L"lv2_Click"}},
        {L"another 44", kLv2, L"Disabled Startups Registry All Users", L"mnuPopup2", 2,
         {L"LoadDisabledStartups", L"MarkRunningDisabledStartups", L"lv2_Click"}},
        {L"another 45", kLv3, L"Disabled Startup Folder Items All Users", L"mnuPopup3", 3,
         {L"LoadDisabledFolderItems", L"lv3_Click"}},
        {L"two", kLv3, L"Startup Folder All Users", L"mnuPopup3", 3,
         {L"LoadCommonStartupFolder", L"LoadUserStartupFolder", L"MarkRunningFolderStartups", L"lv3_Click"}},
        {L"Another11", kLv2, L"Registry All Users Run", L"mnuPopup2", 2, with({L"LoadRunHKLM"}, runView)},
        {L"another22", kLv2, L"Registry All Users Run Once", L"mnuPopup2", 2, with({L"LoadRunOnceHKLM"}, runView)},
        {L"another33", kLv2, L"Registry All Users Run OnceEx", L"mnuPopup2", 2,
         with({L"LoadRunOnceExHKLM"}, runView)},
        {L"another", kLv2, L"Registry All Users", L"mnuPopup2", 2,
         with({L"LoadRunHKLM", L"LoadRunOnceHKLM", L"LoadRunOnceExHKLM"}, runView)},
        {L"another25", kLv2, L"Registry Current User", L"mnuPopup2", 2,
         with({L"LoadRunHKCU", L"LoadRunOnceHKCU"}, runView)},
        {L"another26", kLv2, L"Registry Current User Run", L"mnuPopup2", 2, with({L"LoadRunHKCU"}, runView)},
        {L"another27", kLv2, L"Registry Current User Run Once", L"mnuPopup2", 2,
         with({L"LoadRunOnceHKCU"}, runView)},
        {L"three", kLv2, L"All Registry Startups", L"mnuPopup2", 2,
         with({L"LoadRunHKLM", L"LoadRunOnceHKLM", L"LoadRunOnceExHKLM", L"LoadRunHKCU", L"LoadRunOnceHKCU"},
              runView)},
        {L"one", kLv2, L"All Startups", L"mnuPopup2", 2,
         {L"LoadRunHKLM", L"LoadRunOnceHKLM", L"LoadRunOnceExHKLM", L"LoadRunHKCU", L"LoadRunOnceHKCU",
          L"CleanStartupPaths", L"LoadCommonStartupFolder", L"LoadUserStartupFolder", L"MarkRunningStartups",
          L"MarkRunningFolderStartups", L"AddFolderItemsToAllList", L"lv2_Click"}},
        {L"eleven", kLv2, L"File System Startups", L"mnuPopup7", 0,
         {L"LoadSystemFiles", L"ShowSystemFileWarning", L"lv2_Click"}},
        {L"TEN", kLv2, L"Windows Logon Startups", L"mnuPopup6", 0, {L"LoadUserinitEntry", L"lv2_Click"}},
        {L"four", kTxt, L"Possible Win.ini Startups", L"mnuPopup8", 0, {L"ShowSystemFileWarning"}, L"ini"},
        {L"eight", kTxt, L"Possible System.ini Startups", L"mnuPopup8", 0, {L"ShowSystemFileWarning"}, L"ini2"},
        {L"five", kTxt, L"Possible AutoExec.bat Startups", L"mnuPopup8", 0, {L"ShowSystemFileWarning"}, L"bat"},
        {L"Boot", kTxt, L"Possible Boot.ini Startups", L"mnuPopup8", 0, {L"ShowSystemFileWarning"}, L"boot"},
        {L"nine", kTxt, L"Possible Config.sys Startups", L"mnuPopup8", 0, {L"ShowSystemFileWarning"}, L"sys"},
    };
    const HWND views[] = {form.lv, form.lv2, form.lv3, form.txtFiles};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        form.SetViewTitle(L"before");
        ASSERT_TRUE(form.SelectNode(c.key));
        form.tvwDemo_NodeClick(c.key);  // the key as written: matching ignores case
        for (int v = 0; v < 4; ++v) EXPECT_EQ(IsWindowVisible(views[v]) != FALSE, v == c.front) << v;
        EXPECT_EQ(IsWindowVisible(form.cmdSave) != FALSE, c.front == kTxt);
        if (c.title) {
            EXPECT_EQ(form.ControlText(form.lblCount), c.title);
            EXPECT_EQ(form.PanelText(2), c.title);
        }
        EXPECT_EQ(rec.atCaseEnd.menus, c.menu);
        EXPECT_EQ(rec.atCaseEnd.tag, c.tag);
        EXPECT_EQ(rec.CaseSteps(), c.steps);
        EXPECT_EQ(form.ActiveListTag, 0);
        if (c.fileTag) {
            EXPECT_EQ(form.SystemFileTag, c.fileTag);
        }
        // The export entries belong to "All Startups" alone.
        const bool all = std::wstring(c.key) == L"one";
        for (const wchar_t* e : {L"sep20", L"mnuExportText", L"mnuExportCSV"}) EXPECT_EQ(form.menus.IsVisible(e), all) << e;
        // The tail, in its order, after every case.
        const std::vector<std::wstring> tail(std::find(rec.steps.begin(), rec.steps.end(), L"Tail"), rec.steps.end());
        EXPECT_EQ(tail, (std::vector<std::wstring>{L"Tail", L"ShowEnableDisableMenus", L"SetStartupToolTips",
                                                   L"SetFolderToolTips", L"MarkStartupDates"}));
    }
}

TEST_F(NavigatorTest, EveryNodeShowsItsListTitleMenuAndRows) {
    // One value in each Run key; the machine's "Run" one is quoted, has a switch and runs; one
    // entry is parked and runs too.
    const std::wstring folder = TestUtil::ProgramFolder();
    UniqueHandle running = TestUtil::StartCopy(L"sleeper.exe", L"corvnav.exe", L"60");
    ASSERT_TRUE(running);
    const std::wstring program = folder + L"\\corvnav.exe";
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"MachineRun", L"\"" + program + L"\" /background");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnce, L"MachineOnce", L"C:\\Tools\\b.exe");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnceEx, L"MachineOnceEx", L"C:\\Tools\\c.exe");
    TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"UserRun", L"C:\\Tools\\d.exe");
    TestUtil::PutString(HKEY_CURRENT_USER, kRunOnce, L"UserOnce", L"C:\\Tools\\e.exe");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, L"Software\\Ferrowyn\\Corvell\\Disabled", L"Parked", L"HKLM^" + program);
    TestUtil::LiveForm live;
    Form1& form = live.form;

    // A row as the user reads it: name, program, key and icon.
    auto row = [](const wchar_t* name, const std::wstring& path, const std::wstring& key, int icon) {
        return std::wstring(name) + L"|" + path + L"|" + key + L"|" + std::to_wstring(icon);
    };
    const std::wstring hklm = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
    const std::wstring hkcu = L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
    const std::wstring machineRun = row(L"MachineRun", program + L" /background", hklm + L"Run", 2);
    const std::wstring machineOnce = row(L"MachineOnce", L"C:\\Tools\\b.exe", hklm + L"RunOnce", 1);
    const std::wstring machineOnceEx = row(L"MachineOnceEx", L"C:\\Tools\\c.exe", hklm + L"RunOnceEx", 1);
    const std::wstring userRun = row(L"UserRun", L"C:\\Tools\\d.exe", hkcu + L"Run", 1);
    const std::wstring userOnce = row(L"UserOnce", L"C:\\Tools\\e.exe", hkcu + L"RunOnce", 1);
    using Rows = std::vector<std::wstring>;

    const std::wstring windows = MyMod::GetWindowsDir();
    auto fileText = [](const std::wstring& path) {
        std::string bytes;
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file) return std::wstring();
        char buffer[4096];
        DWORD done = 0;
        while (ReadFile(file.get(), buffer, sizeof buffer, &done, nullptr) && done) bytes.append(buffer, done);
        return Text::FromAnsi(bytes);
    };

    enum View { kLv, kLv2, kLv3, kTxt };
    struct Case {
        const wchar_t* key;
        View front;
        const wchar_t* title;            // nullptr: the services view's own count
        const wchar_t* menus;            // the Action menus on the bar afterwards
        std::optional<Rows> rows;        // the list in front; nullopt: left to the loaders' own tests
        std::wstring file = {};          // the editor's file
    };
    const std::vector<Case> cases = {
        {L"six", kLv, nullptr, L"mnuPopup", std::nullopt},
        {L"seven", kLv2, L"Disabled Startups All Users", L"mnuPopup2",
         Rows{row(L"Parked", program, hklm + L"Run", 9)}},
        {L"another 44", kLv2, L"Disabled Startups Registry All Users", L"mnuPopup2",
         Rows{row(L"Parked", program, hklm + L"Run", 9)}},
        {L"another 45", kLv3, L"Disabled Startup Folder Items All Users", L"mnuPopup9", Rows{}},
        {L"two", kLv3, L"Startup Folder All Users", L"mnuPopup9", Rows{}},
        {L"another11", kLv2, L"Registry All Users Run", L"mnuPopup2", Rows{machineRun}},
        {L"another22", kLv2, L"Registry All Users Run Once", L"mnuPopup2", Rows{machineOnce}},
        {L"another33", kLv2, L"Registry All Users Run OnceEx", L"mnuPopup2", Rows{machineOnceEx}},
        {L"another", kLv2, L"Registry All Users", L"mnuPopup2", Rows{machineRun, machineOnce, machineOnceEx}},
        {L"another25", kLv2, L"Registry Current User", L"mnuPopup2", Rows{userRun, userOnce}},
        {L"another26", kLv2, L"Registry Current User Run", L"mnuPopup2", Rows{userRun}},
        {L"another27", kLv2, L"Registry Current User Run Once", L"mnuPopup2", Rows{userOnce}},
        {L"three", kLv2, L"All Registry Startups", L"mnuPopup2",
         Rows{machineRun, machineOnce, machineOnceEx, userRun, userOnce}},
        {L"one", kLv2, L"All Startups", L"mnuPopup2", Rows{machineRun, machineOnce, machineOnceEx, userRun, userOnce}},
        {L"eleven", kLv2, L"File System Startups", L"mnuPopup7", std::nullopt},
        {L"ten", kLv2, L"Windows Logon Startups", L"mnuPopup6", std::nullopt},
        {L"four", kTxt, L"Possible Win.ini Startups", L"mnuPopup8", std::nullopt, windows + L"\\Win.ini"},
        {L"eight", kTxt, L"Possible System.ini Startups", L"mnuPopup8", std::nullopt, windows + L"\\System.ini"},
        {L"five", kTxt, L"Possible AutoExec.bat Startups", L"mnuPopup8", std::nullopt,
         windows.substr(0, 3) + L"AutoExec.bat"},
        {L"boot", kTxt, L"Possible Boot.ini Startups", L"mnuPopup8", std::nullopt, windows.substr(0, 3) + L"boot.ini"},
        {L"nine", kTxt, L"Possible Config.sys Startups", L"mnuPopup8", std::nullopt,
         windows.substr(0, 3) + L"Config.sys"},
    };
    const HWND views[] = {form.lv, form.lv2, form.lv3, form.txtFiles};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Click(form, c.key);
        for (int v = 0; v < 4; ++v) EXPECT_EQ(IsWindowVisible(views[v]) != FALSE, v == c.front) << v;
        EXPECT_EQ(IsWindowVisible(form.cmdSave) != FALSE, c.front == kTxt);
        const std::wstring title =
            c.title ? c.title : std::to_wstring(ListView::Count(form.lv)) + L" Available Services";
        EXPECT_EQ(form.ControlText(form.lblCount), title);
        EXPECT_EQ(form.PanelText(2), title);
        EXPECT_EQ(VisibleActionMenus(form), c.menus);
        if (c.front == kLv) {
            EXPECT_GT(ListView::Count(form.lv), 0);
        }
        if (c.rows) {
            const HWND list = views[c.front];
            Rows shown;
            for (int i = 0; i < ListView::Count(list); ++i)
                shown.push_back(row(ListView::Text(list, i).c_str(), ListView::Text(list, i, 1),
                                    ListView::Text(list, i, 2), ListView::Icon(list, i)));
            EXPECT_EQ(shown, *c.rows);
        }
        if (c.front == kTxt) {
            EXPECT_EQ(form.ControlText(form.txtFiles), fileText(c.file));
        }
    }
}

TEST_F(NavigatorTest, UnknownKeyEmptiesTheListsAndRunsOnlyTheTail) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    Click(form, L"eleven");
    for (HWND list : {form.lv, form.lv2, form.lv3}) ListView::AddRow(list, L"row", 1, {L"x", L"y"});
    Recorder rec(form);
    form.tvwDemo_NodeClick(L"no such node");
    for (HWND list : {form.lv, form.lv2, form.lv3}) EXPECT_EQ(ListView::Count(list), 0);
    EXPECT_EQ(rec.CaseSteps(), std::vector<std::wstring>{});
    EXPECT_EQ(rec.Count(L"Tail"), 1);
    EXPECT_EQ(form.ControlText(form.lblCount), L"File System Startups");
    EXPECT_EQ(VisibleActionMenus(form), L"mnuPopup7");
}

TEST_F(NavigatorTest, NoStartupsOnlyForAnEmptyListThatTheCaseNamed) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    // Run keys are empty: the registry views end on "No Startups" alone.
    for (const wchar_t* key : {L"another11", L"another22", L"three"}) {
        Click(form, key);
        EXPECT_EQ(VisibleActionMenus(form), L"mnuPopup9") << key;
    }
    // Views that name no list never show it, the file views even with lv2 empty.
    for (const wchar_t* key : {L"eleven", L"ten", L"four", L"boot"}) {
        Click(form, key);
        EXPECT_FALSE(form.menus.IsVisible(L"mnuPopup9")) << key;
    }
    EXPECT_EQ(ListView::Count(form.lv2), 0);
    // The empty test comes before the KernelFaultCheck rows are dropped.
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnce, L"kernelFAULTcheck", L"%systemroot%\\system32\\dumprep 0 -k",
                        REG_EXPAND_SZ);
    Click(form, L"another22");
    EXPECT_EQ(ListView::Count(form.lv2), 0);
    EXPECT_FALSE(form.menus.IsVisible(L"mnuPopup9"));
    EXPECT_TRUE(form.menus.IsVisible(L"mnuPopup2"));
    // Other rows stay; only the system's KernelFaultCheck goes.
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnce, L"Keeper", L"C:\\x\\keep.exe");
    Click(form, L"another22");
    ASSERT_EQ(ListView::Count(form.lv2), 1);
    EXPECT_EQ(ListView::Text(form.lv2, 0), L"Keeper");
}

// The tail leaves out the system's own crash-dump entry, which runs its dumprep program; any
// other startup of that name is listed in every view, parked ones included.
TEST_F(NavigatorTest, OnlyTheSystemsDumprepEntryNamedKernelFaultCheckIsLeftOut) {
    const std::wstring system = MyMod::GetSystemDir();
    const std::wstring disabled = L"Software\\Ferrowyn\\Corvell\\Disabled";
    const struct {
        const wchar_t* what;
        std::wstring command;
        DWORD type;
        bool listed;
    } cases[] = {
        {L"as Windows writes it", L"%systemroot%\\system32\\dumprep 0 -k", REG_EXPAND_SZ, false},
        {L"its full path, quoted, with .exe", L"\"" + system + L"\\DUMPREP.EXE\" 0 -k", REG_SZ, false},
        {L"another program", L"C:\\x\\kfc.exe", REG_SZ, true},
        {L"a dumprep of another folder", L"C:\\x\\dumprep 0 -k", REG_SZ, true},
        {L"a program whose name begins so", system + L"\\dumprepx.exe", REG_SZ, true},
        {L"a program in a folder named so", L"%systemroot%\\system32\\dumprep\\x.exe", REG_EXPAND_SZ, true},
    };
    auto listed = [](const Form1& form, const std::wstring& keyText) {
        for (int row = 0; row < ListView::Count(form.lv2); ++row)
            if (Text::EqualsNoCase(ListView::Text(form.lv2, row), L"KernelFaultCheck") &&
                ListView::Text(form.lv2, row, 2) == keyText)
                return true;
        return false;
    };
    const std::wstring hklmRun = L"HKLM\\" + kRun, hkcuRun = L"HKCU\\" + kRun;
    TestUtil::LiveForm live;
    Form1& form = live.form;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearRunKeys();
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"KernelFaultCheck", c.command, c.type);
        TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"KERNELFAULTCHECK", L"C:\\x\\user.exe");
        for (const wchar_t* key : {L"another11", L"one", L"three"}) {
            Click(form, key);
            EXPECT_EQ(listed(form, hklmRun), c.listed) << key;
        }
        Click(form, L"another25");
        EXPECT_TRUE(listed(form, hkcuRun));
        // A parked one of that name, whatever its command, can be seen to be enabled or deleted.
        TestUtil::PutString(HKEY_LOCAL_MACHINE, disabled, L"KernelFaultCheck", L"HKLM^" + c.command, c.type);
        for (const wchar_t* key : {L"another 44", L"seven"}) {
            Click(form, key);
            EXPECT_TRUE(listed(form, hklmRun)) << key;
        }
        TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, disabled);
    }
}

TEST_F(NavigatorTest, RestoreAppearsOnceTheBackupExistsAndRowsAreListedAndStays) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    const std::wstring backup = App::Path() + L"\\Backups\\RegKeys.reg";
    PutFile(backup, "REGEDIT4\r\n");
    Click(form, L"another11");  // no rows yet
    EXPECT_FALSE(form.menus.IsVisible(L"mnuRestore"));
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"App", L"C:\\Tools\\app.exe /min");
    DeleteFileW(backup.c_str());
    Click(form, L"another11");
    EXPECT_FALSE(form.menus.IsVisible(L"mnuRestore"));
    PutFile(backup, "REGEDIT4\r\n");
    Click(form, L"another11");
    EXPECT_TRUE(form.menus.IsVisible(L"mnuRestore"));
    DeleteFileW(backup.c_str());
    for (const wchar_t* key : {L"six", L"another26", L"one"}) {
        Click(form, key);
        EXPECT_TRUE(form.menus.IsVisible(L"mnuRestore")) << key;
    }
}

TEST_F(NavigatorTest, LegacyFilesFillTheEditorAndAnUnreadableOneCountsAsMissing) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    const std::wstring windows = MyMod::GetWindowsDir();
    const std::wstring boot = windows.substr(0, 3) + L"boot.ini";
    DeleteFileW(boot.c_str());
    Click(form, L"boot");
    EXPECT_EQ(form.ControlText(form.txtFiles), L"");
    EXPECT_FALSE(form.menus.IsEnabled(L"mnuSave"));
    EXPECT_EQ(VisibleActionMenus(form), L"mnuPopup8");

    PutFile(boot, "[boot loader]\r\ntimeout=30\r\n");
    Click(form, L"boot");
    EXPECT_EQ(form.ControlText(form.txtFiles), L"[boot loader]\r\ntimeout=30\r\n");
    EXPECT_TRUE(form.menus.IsEnabled(L"mnuSave"));
    EXPECT_NE(GetMenuState(form.menus.Popup(L"mnuPopup8"), IDM_mnuSave, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);

    // Win.ini held open without sharing: it exists but cannot be read.
    const std::wstring winIni = windows + L"\\Win.ini";
    ASSERT_TRUE(MyMod::FileExists(winIni));
    UniqueHandle lock(CreateFileW(winIni.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    Click(form, L"four");
    EXPECT_EQ(form.SystemFileTag, L"ini");
    EXPECT_EQ(form.ControlText(form.txtFiles), L"");
    EXPECT_FALSE(form.menus.IsEnabled(L"mnuSave"));
    EXPECT_EQ(form.ControlText(form.lblCount), L"Possible Win.ini Startups");
    lock.reset();
    Click(form, L"four");
    EXPECT_TRUE(form.menus.IsEnabled(L"mnuSave"));
    DeleteFileW(boot.c_str());
}

TEST_F(NavigatorTest, LegacyFileHoldingANulIsNotOfferedForSaving) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    const std::wstring boot = MyMod::GetWindowsDir().substr(0, 3) + L"boot.ini";
    const std::string readable = "[boot loader]\r\ntimeout=30\r\n";
    const struct {
        const wchar_t* what;
        std::string bytes;
        bool offered;
    } cases[] = {
        {L"text", readable, true},
        // The editor would end its text at the NUL, and a save would cut the file short.
        {L"a NUL inside", std::string("[boot loader]\r\n\0timeout=30\r\n", 28), false},
        {L"Unicode", std::string("\xFF\xFE[\0b\0]\0", 8), false},
        {L"text again", readable, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutFile(boot, c.bytes);
        Click(form, L"boot");
        EXPECT_EQ(form.menus.IsEnabled(L"mnuSave"), c.offered);
        EXPECT_EQ(IsWindowEnabled(form.cmdSave) != FALSE, c.offered);
        EXPECT_EQ(form.ControlText(form.txtFiles), c.offered ? Text::FromAnsi(c.bytes) : L"");
        EXPECT_EQ(form.ControlText(form.lblCount), L"Possible Boot.ini Startups");
    }
    // A missing file is not offered either.
    DeleteFileW(boot.c_str());
    Click(form, L"boot");
    EXPECT_FALSE(form.menus.IsEnabled(L"mnuSave"));
    EXPECT_FALSE(IsWindowEnabled(form.cmdSave));
}

TEST_F(NavigatorTest, AllStartupsLocksRedrawOfItsListAndLeavesAnotherWindowsLockAlone) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    // Only one window can hold the lock: a second LockWindowUpdate fails while it is held.
    Recorder rec(form);
    bool lockedDuringLoad = false;
    rec.onStep = [&](const std::wstring& step) {
        if (step == L"AddFolderItemsToAllList") lockedDuringLoad = LockWindowUpdate(form.lv) == FALSE;
    };
    Click(form, L"one");
    EXPECT_TRUE(lockedDuringLoad);
    ASSERT_TRUE(LockWindowUpdate(form.lv));  // released at the end
    LockWindowUpdate(nullptr);

    // Another window holds the lock: the view loads all the same and the lock stays its owner's.
    const HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    ASSERT_TRUE(LockWindowUpdate(other));
    rec.onStep = nullptr;
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"App", L"C:\\Tools\\app.exe");
    Click(form, L"one");
    EXPECT_EQ(ListView::FindRow(form.lv2, L"App"), 0);
    EXPECT_FALSE(LockWindowUpdate(form.lv));
    LockWindowUpdate(nullptr);
    DestroyWindow(other);
}

// True when a row added at the top makes the list ask to be painted, i.e. it draws; the row
// is taken out again.
bool Draws(HWND list) {
    ValidateRect(list, nullptr);
    LVITEMW probe{};
    probe.mask = LVIF_TEXT;
    probe.pszText = const_cast<wchar_t*>(L"probe");
    const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&probe)));
    const bool draws = GetUpdateRect(list, nullptr, FALSE) != FALSE;
    ListView::DeleteRow(list, row);
    return draws;
}

TEST_F(NavigatorTest, ListsAreFilledWithDrawingOffAndDrawAgainOnceTheDispatchEnds) {
    for (int i = 0; i < 40; ++i) {
        const std::wstring n = std::to_wstring(i);
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Machine" + n, L"\"C:\\Tools\\m" + n + L".exe\" /q");
        TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"User" + n, L"RUNDLL32.EXE C:\\Tools\\u" + n + L".dll");
    }
    TestUtil::PutString(HKEY_LOCAL_MACHINE, L"Software\\Ferrowyn\\Corvell\\Disabled", L"Parked",
                        L"HKLM^C:\\Tools\\p.exe");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    Recorder rec(form);
    std::vector<std::wstring> drawingAt;  // the steps at which a shown list drew
    rec.onStep = [&](const std::wstring& step) {
        for (HWND list : {form.lv2, form.lv3})
            if (IsWindowVisible(list) && Draws(list)) drawingAt.push_back(step);
    };
    const struct {
        const wchar_t* key;
        HWND front;
    } cases[] = {
        {L"one", form.lv2},        {L"another11", form.lv2}, {L"three", form.lv2},      {L"another25", form.lv2},
        {L"another 44", form.lv2}, {L"seven", form.lv2},     {L"two", form.lv3},        {L"another 45", form.lv3},
        {L"no such node", form.lv3},  // ends early: no case runs
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        drawingAt.clear();
        form.SelectNode(c.key);
        form.tvwDemo_NodeClick(c.key);
        EXPECT_EQ(drawingAt, std::vector<std::wstring>{});
        EXPECT_TRUE(GetUpdateRect(c.front, nullptr, FALSE));  // invalidated at the end
        EXPECT_TRUE(Draws(c.front));
    }
    EXPECT_EQ(ListView::Count(form.lv2), 0);
    rec.onStep = nullptr;

    // A fill of its own around a dispatch keeps drawing off until it ends, then draws once.
    {
        const ListView::RedrawOff outer{form.lv2};
        Click(form, L"another11");
        EXPECT_EQ(ListView::Count(form.lv2), 40);
        EXPECT_FALSE(Draws(form.lv2));
    }
    EXPECT_TRUE(GetUpdateRect(form.lv2, nullptr, FALSE));
    EXPECT_TRUE(Draws(form.lv2));
}

TEST_F(NavigatorTest, RunAndStopRebuildTheirViewWithDrawingOff) {
    for (int i = 0; i < 40; ++i) {
        const std::wstring n = std::to_wstring(i);
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Machine" + n, L"C:\\Tools\\m" + n + L".exe /q");
    }
    TestUtil::LiveForm live;
    Form1& form = live.form;
    Click(form, L"another11");
    Recorder rec(form);
    std::vector<std::wstring> drawingAt;
    int tails = 0;
    rec.onStep = [&](const std::wstring& step) {
        if (step == L"Tail") ++tails;
        if (IsWindowVisible(form.lv2) && Draws(form.lv2)) drawingAt.push_back(step);
    };
    for (const UINT command : {IDM_mnuRun2, IDM_mnuStopR}) {
        SCOPED_TRACE(command);
        ListView::Select(form.lv2, 0);
        tails = 0;
        drawingAt.clear();
        SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
        EXPECT_EQ(tails, 2);
        EXPECT_EQ(drawingAt, std::vector<std::wstring>{});
        EXPECT_EQ(ListView::Count(form.lv2), 40);
        EXPECT_TRUE(Draws(form.lv2));
    }
    rec.onStep = nullptr;
}

TEST_F(NavigatorTest, ClicksDuringADispatchRunAfterItTheLatestWinning) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    Recorder rec(form);
    std::vector<std::wstring> dispatched;
    bool asked = false;
    rec.onStep = [&](const std::wstring& step) {
        if (step == L"Clear") dispatched.push_back(form.ControlText(form.lblCount));
        if (step == L"LoadRunHKLM" && !asked) {
            asked = true;
            form.tvwDemo_NodeClick(L"four");
            form.tvwDemo_NodeClick(L"eight");   // the later one wins
        }
    };
    form.SetViewTitle(L"start");
    form.tvwDemo_NodeClick(L"three");
    EXPECT_EQ(dispatched, (std::vector<std::wstring>{L"start", L"All Registry Startups"}));
    EXPECT_EQ(form.ControlText(form.lblCount), L"Possible System.ini Startups");
    EXPECT_EQ(rec.Count(L"Clear"), 1);  // the recorder keeps the last dispatch only
    EXPECT_FALSE(form.IsBusy());

    // A menu command that arrives during the yield of "All Startups" waits for it.
    std::vector<std::wstring> order;
    rec.onStep = [&](const std::wstring& step) {
        order.push_back(step);
        if (step == L"MarkRunningFolderStartups")
            PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuSeeSubs, 0), 0);
    };
    form.tvwDemo_NodeClick(L"one");
    rec.onStep = nullptr;
    const auto firstTail = std::find(order.begin(), order.end(), L"Tail");
    const auto secondClear = std::find(order.begin() + 1, order.end(), L"Clear");
    ASSERT_NE(secondClear, order.end());
    EXPECT_LT(firstTail, secondClear);
    EXPECT_EQ(std::count(order.begin(), order.end(), L"lv2_Click"), 1);
    EXPECT_EQ(form.SelectedNodeKey(), L"five");
    EXPECT_EQ(form.ControlText(form.lblCount), L"Possible AutoExec.bat Startups");
}

TEST_F(NavigatorTest, CloseDuringADispatchWaitsUntilItReturns) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    const HWND window = form.hwnd();
    Recorder rec(form);
    bool aliveAtTail = false;
    rec.onStep = [&](const std::wstring& step) {
        if (step == L"MarkRunningFolderStartups") PostMessageW(window, WM_CLOSE, 0, 0);
        if (step == L"Tail") aliveAtTail = IsWindow(window) != FALSE;
    };
    form.tvwDemo_NodeClick(L"one");
    rec.onStep = nullptr;
    EXPECT_TRUE(aliveAtTail);
    EXPECT_EQ(rec.Count(L"lv2_Click"), 1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(TestUtil::PumpUntil([window] { return !IsWindow(window); }));
}

TEST_F(NavigatorTest, AClickBeforeAWaitingCloseRunsAndOneAfterItIsDropped) {
    const struct {
        bool clickFirst;
        int dispatches;
        const wchar_t* title;
    } cases[] = {{true, 2, L"Possible Win.ini Startups"}, {false, 1, L"All Startups"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clickFirst ? "click, then close" : "close, then click");
        TestUtil::LiveForm live;
        Form1& form = live.form;
        const HWND window = form.hwnd();
        ASSERT_TRUE(form.SelectNode(L"four"));
        Recorder rec(form);
        int dispatches = 0;
        rec.onStep = [&](const std::wstring& step) {
            if (step == L"Clear") ++dispatches;
            if (step != L"MarkRunningFolderStartups") return;
            const auto click = [&] {
                PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.cmdWL), BN_CLICKED),
                             reinterpret_cast<LPARAM>(form.cmdWL));
            };
            if (c.clickFirst) click();
            PostMessageW(window, WM_CLOSE, 0, 0);
            if (!c.clickFirst) click();
        };
        form.tvwDemo_NodeClick(L"one");
        rec.onStep = nullptr;
        EXPECT_EQ(dispatches, c.dispatches);
        EXPECT_EQ(form.ControlText(form.lblCount), c.title);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_TRUE(TestUtil::PumpUntil([window] { return !IsWindow(window); }));
    }
}

TEST_F(NavigatorTest, TreeClicksDispatchOnceAndProgrammaticSelectionNotAtAll) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    Recorder rec(form);
    int dispatches = 0;
    rec.onStep = [&](const std::wstring& step) { dispatches += step == L"Clear" ? 1 : 0; };

    form.SelectNode(L"six");
    TestUtil::Pump(20);
    EXPECT_EQ(dispatches, 0);

    auto click = [&](const std::wstring& key) {
        RECT r{};
        ASSERT_TRUE(TreeView_GetItemRect(form.tvwDemo, form.FindNode(key)->item, &r, TRUE));
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        POINT screen = pt;
        ClientToScreen(form.tvwDemo, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageW(form.tvwDemo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        PostMessageW(form.tvwDemo, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        TestUtil::Pump(100);
    };
    click(L"four");
    EXPECT_EQ(form.SelectedNodeKey(), L"four");
    EXPECT_EQ(dispatches, 1);
    EXPECT_EQ(form.ControlText(form.lblCount), L"Possible Win.ini Startups");
    click(L"four");  // the node already selected
    EXPECT_EQ(dispatches, 2);
    click(L"eight");
    EXPECT_EQ(dispatches, 3);
    EXPECT_EQ(form.ControlText(form.lblCount), L"Possible System.ini Startups");

    // The hidden "Ref WL" button reloads the selected node.
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.cmdWL), BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.cmdWL));
    EXPECT_EQ(dispatches, 4);
}

TEST_F(NavigatorTest, ExpandAndCollapseSetTheFolderImages) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    auto image = [&](const wchar_t* key) {
        TVITEMW tv{};
        tv.mask = TVIF_IMAGE | TVIF_HANDLE;
        tv.hItem = form.FindNode(key)->item;
        TreeView_GetItem(form.tvwDemo, &tv);
        return tv.iImage;
    };
    form.SelectNode(L"another11");
    form.tvwDemo_Collapse(form.FindNode(L"three")->item);
    EXPECT_EQ(image(L"three"), 0);
    EXPECT_EQ(image(L"another11"), 0);
    form.tvwDemo_Expand(form.FindNode(L"eleven")->item);
    EXPECT_EQ(image(L"eleven"), 1);
    EXPECT_EQ(image(L"another11"), 1);
    EXPECT_EQ(image(L"three"), 0);
    form.CollapseAllNodes();
    for (const auto& n : form.nodes)
        EXPECT_EQ(TreeView_GetItemState(form.tvwDemo, n.item, TVIS_EXPANDED) & TVIS_EXPANDED, 0u) << n.key;
    form.ExpandAllNodes();
    EXPECT_EQ(image(L"one"), 1);
    EXPECT_EQ(image(L"six"), 0);  // no children: never expanded
}

} // namespace
