// The registry startup loaders, the command split, the command column's tidy-up and the
// running-state passes, against the Run keys of the test prefix and real processes.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "startups/CommandSplit.h"
#include "system/App.h"
#include "system/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunOnce = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring kRunOnceEx = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";

void ClearRunKeys() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const std::wstring& k : {kRun, kRunOnce, kRunOnceEx}) TestUtil::DeleteTree(root, k);
    General::CreateKey(L"HKEY_LOCAL_MACHINE\\" + kRun);
    General::CreateKey(L"HKEY_CURRENT_USER\\" + kRun);
}

void PutRaw(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD type, const void* data,
            DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

struct Row {
    std::wstring name, command, key;
    int icon;
    COLORREF color;
    bool operator==(const Row&) const = default;
};

// The rows sorted by name: the order of values in a key is the registry's own.
std::vector<Row> Rows(HWND list) {
    std::vector<Row> rows;
    for (int i = 0; i < ListView::Count(list); ++i)
        rows.push_back({ListView::Text(list, i, 0), ListView::Text(list, i, 1), ListView::Text(list, i, 2),
                        ListView::Icon(list, i), ListView::Color(list, i)});
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.name < b.name; });
    return rows;
}

void PrintTo(const Row& r, std::ostream* os) {
    *os << "{" << testing::PrintToString(r.name) << ", " << testing::PrintToString(r.command) << ", "
        << testing::PrintToString(r.key) << ", icon " << r.icon << ", color " << r.color << "}";
}

TEST(CommandSplit, FirstTestThatHoldsDecides) {
    const struct { const wchar_t* command; const wchar_t* program; const wchar_t* switches; } cases[] = {
        {L"C:\\Tools\\app.exe /min", L"C:\\Tools\\app.exe", L"/min"},
        {L"C:\\Tools\\app.exe /a /b", L"C:\\Tools\\app.exe", L"/a /b"},
        {L"C:\\Windows\\system32\\svchost -k netsvcs", L"C:\\Windows\\system32\\svchost", L"-k netsvcs"},
        {L"svchost /s x", L"svchost", L"/s x"},
        {L"C:\\Tools\\app.exe -silent", L"C:\\Tools\\app.exe", L"-silent"},
        // A " /" before the ".exe /" is the first one: the split is there.
        {L"C:\\a /b\\x.exe /min", L"C:\\a", L"/b\\x.exe /min"},
        // "/" beats "-", and "-" beats ",".
        {L"x.exe -a /b", L"x.exe", L"-a /b"},
        {L"x.exe /a -b", L"x.exe", L"/a -b"},
        {L"x.exe -a,b", L"x.exe", L"-a,b"},
        {L"rundll32.exe shell32.dll,Control_RunDLL", L"rundll32.exe shell32.dll", L",Control_RunDLL"},
        {L"rundll32 \"shell32.dll,Control_RunDLL\"", L"rundll32 \"shell32.dll", L",Control_RunDLL\""},
        // Quotes and RUNDLL32.EXE stay in the program part of a split.
        {L"\"C:\\A\\app.exe /q\"", L"\"C:\\A\\app.exe", L"/q\""},
        {L"RUNDLL32.EXE a.dll,Entry", L"RUNDLL32.EXE a.dll", L",Entry"},
        // A closing quote before the blank is no ".exe /": the whole text without quotes.
        {L"\"C:\\Program Files\\App\\app.exe\" /tray", L"C:\\Program Files\\App\\app.exe /tray", L""},
        // Case matters in the tests: capitals split nowhere.
        {L"C:\\Tools\\APP.EXE /min", L"C:\\Tools\\APP.EXE /min", L""},
        {L"SVCHOST -k x", L"SVCHOST -k x", L""},
        // No separator: quotes and every "RUNDLL32.EXE " (any case) removed.
        {L"\"C:\\Program Files\\App\\app.exe\"", L"C:\\Program Files\\App\\app.exe", L""},
        {L"Rundll32.exe C:\\A\\c.dll", L"C:\\A\\c.dll", L""},
        {L"RUNDLL32.EXE rundll32.exe C:\\A\\c.dll", L"C:\\A\\c.dll", L""},
        {L"C:\\A\\rundll32.exe", L"C:\\A\\rundll32.exe", L""},
        {L"notepad", L"notepad", L""},
        {L"", L"", L""},
    };
    for (const auto& c : cases) {
        const auto parts = Startups::CommandSplit(c.command);
        EXPECT_EQ(parts.program, c.program) << c.command;
        EXPECT_EQ(parts.switches, c.switches) << c.command;
    }
}

class LoadersTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        ClearRunKeys();
    }
    void TearDown() override { ClearRunKeys(); }
    TestSeam seam;
};

TEST_F(LoadersTest, RunKeysListEveryValueWithDataWholeAndTheirKeyText) {
    const std::wstring longCommand = L"C:\\Tools\\" + std::wstring(280, L'x') + L".exe /min";
    ASSERT_GT(longCommand.size(), 290u);
    const std::wstring longName(300, L'N');
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"App", L"C:\\Tools\\app.exe /min");
    PutRaw(HKEY_LOCAL_MACHINE, kRun, L"Empty", REG_SZ, nullptr, 0);
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Long", longCommand);
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, longName, L"C:\\n.exe");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Expand", L"%SystemRoot%\\e.exe", REG_EXPAND_SZ);
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnce, L"Once", L"C:\\o.exe");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnceEx, L"Direct", L"C:\\d.exe");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnceEx + L"\\0001", L"Nested", L"C:\\nested.exe");
    TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"User", L"C:\\u.exe");
    TestUtil::PutString(HKEY_CURRENT_USER, kRunOnce, L"UserOnce", L"C:\\uo.exe");

    TestUtil::LiveForm live;
    Form1& form = live.form;
    const std::wstring hklmRun = L"HKLM\\" + kRun;
    const COLORREF on = ListView::EnabledForeColor;
    const struct { void (Form1::*loader)(); std::vector<Row> rows; } cases[] = {
        {&Form1::LoadRunHKLM,
         {{L"App", L"C:\\Tools\\app.exe /min", hklmRun, 2, on},
          {L"Expand", L"%SystemRoot%\\e.exe", hklmRun, 2, on},
          {L"Long", longCommand, hklmRun, 2, on},
          {longName, L"C:\\n.exe", hklmRun, 2, on}}},
        {&Form1::LoadRunOnceHKLM, {{L"Once", L"C:\\o.exe", L"HKLM\\" + kRunOnce, 2, on}}},
        {&Form1::LoadRunOnceExHKLM, {{L"Direct", L"C:\\d.exe", L"HKLM\\" + kRunOnceEx, 2, on}}},
        {&Form1::LoadRunHKCU, {{L"User", L"C:\\u.exe", L"HKCU\\" + kRun, 2, on}}},
        {&Form1::LoadRunOnceHKCU, {{L"UserOnce", L"C:\\uo.exe", L"HKCU\\" + kRunOnce, 2, on}}},
    };
    for (const auto& c : cases) {
        ListView::Clear(form.lv2);
        (form.*c.loader)();
        EXPECT_EQ(Rows(form.lv2), c.rows);
    }
    // Loaders append; a missing key or one with sub-keys only adds nothing.
    ListView::Clear(form.lv2);
    form.LoadRunHKCU();
    form.LoadRunOnceHKCU();
    EXPECT_EQ(ListView::Count(form.lv2), 2);
    TestUtil::DeleteTree(HKEY_CURRENT_USER, kRunOnce);
    TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kRunOnceEx);
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRunOnceEx + L"\\0001", L"Nested", L"C:\\nested.exe");
    form.LoadRunOnceHKCU();
    form.LoadRunOnceExHKLM();
    EXPECT_EQ(ListView::Count(form.lv2), 2);
    EXPECT_EQ(ListView::Text(form.lv2, 0, 3), L"");  // "Date Detected" stays empty
}

TEST_F(LoadersTest, CleanStartupPathsDropsQuotesAndRundll) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    ListView::Clear(form.lv2);
    const struct { const wchar_t* before; const wchar_t* after; } cases[] = {
        {L"\"C:\\Program Files\\App\\app.exe\" /tray", L"C:\\Program Files\\App\\app.exe /tray"},
        {L"Rundll32.exe C:\\A\\c.dll", L"C:\\A\\c.dll"},
        {L"rundll32.exe shell32.dll,Control_RunDLL RUNDLL32.EXE x", L"shell32.dll,Control_RunDLL x"},
        {L"C:\\A\\rundll32.exe", L"C:\\A\\rundll32.exe"},
        {L"C:\\plain.exe", L"C:\\plain.exe"},
    };
    for (const auto& c : cases) ListView::AddRow(form.lv2, L"n", 2, {c.before, L"HKLM\\x"}, ListView::EnabledForeColor);
    form.CleanStartupPaths();
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        EXPECT_EQ(ListView::Text(form.lv2, i, 1), cases[i].after) << cases[i].before;
        EXPECT_EQ(ListView::Text(form.lv2, i, 2), L"HKLM\\x");
    }
}

TEST_F(LoadersTest, RunningPassesMarkRowsWhoseProgramRuns) {
    const std::wstring folder = TestUtil::ProgramFolder();
    UniqueHandle running = TestUtil::StartCopy(L"sleeper.exe", L"corvrun.exe", L"60");
    UniqueHandle capitals = TestUtil::StartCopy(L"sleeper.exe", L"CORVCAPS.EXE", L"60");
    ASSERT_TRUE(running);
    ASSERT_TRUE(capitals);
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Running", L"\"" + folder + L"\\corvrun.exe\" /background");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Bare", folder + L"\\CorvRun.exe");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Stopped", L"C:\\nowhere\\corvidle.exe /min");
    // The split tests compare case and all: ".EXE /" matches none, so the file name keeps its switch.
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Caps", folder + L"\\CORVCAPS.EXE /min");

    TestUtil::LiveForm live;
    Form1& form = live.form;
    ListView::Clear(form.lv2);
    form.LoadRunHKLM();
    form.CleanStartupPaths();
    ASSERT_EQ(ListView::Count(form.lv2), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ListView::Icon(form.lv2, i), 2);  // as loaded
    auto iconOf = [&](HWND list, const wchar_t* name) { return ListView::Icon(list, ListView::FindRow(list, name)); };

    form.MarkRunningStartups();
    EXPECT_EQ(iconOf(form.lv2, L"Running"), 2);
    EXPECT_EQ(iconOf(form.lv2, L"Bare"), 2);
    EXPECT_EQ(iconOf(form.lv2, L"Stopped"), 1);
    EXPECT_EQ(iconOf(form.lv2, L"Caps"), 1);
    EXPECT_EQ(ListView::Text(form.lv2, ListView::FindRow(form.lv2, L"Running"), 1),
              folder + L"\\corvrun.exe /background");

    form.MarkRunningDisabledStartups();
    EXPECT_EQ(iconOf(form.lv2, L"Running"), 9);
    EXPECT_EQ(iconOf(form.lv2, L"Stopped"), 3);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ListView::Color(form.lv2, i), ListView::EnabledForeColor);

    ListView::Clear(form.lv3);
    ListView::AddRow(form.lv3, L"Folder run", 0, {folder + L"\\corvrun.exe -q", L"C:\\Users"});
    ListView::AddRow(form.lv3, L"Folder idle", 0, {L"C:\\nowhere\\corvidle.exe", L"C:\\Users"});
    form.MarkRunningFolderStartups();
    EXPECT_EQ(iconOf(form.lv3, L"Folder run"), 2);
    EXPECT_EQ(iconOf(form.lv3, L"Folder idle"), 1);

    TerminateProcess(running.get(), 0);
    ASSERT_EQ(WaitForSingleObject(running.get(), 30000), WAIT_OBJECT_0);
    form.MarkRunningStartups();
    EXPECT_EQ(iconOf(form.lv2, L"Running"), 1);
    TerminateProcess(capitals.get(), 0);
}

} // namespace
