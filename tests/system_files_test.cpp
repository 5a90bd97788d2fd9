// The Winlogon row, the legacy start-up files' rows, their once-only warning, and the save of a
// legacy file from the editor, in a real main window and real files of the prefix.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::wstring kSettings = L"Software\\Ferrowyn\\Corvell";
const std::wstring kWinlogon = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::wstring kWinlogonText = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

std::wstring Root() { return MyMod::GetWindowsDir().substr(0, 3); }

void PutFile(const std::wstring& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        UniqueHandle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file) << path;
        DWORD done = 0;
        ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr));
    }
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
}

void RemoveFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

std::string Bytes(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return "<missing>";
    std::string out(static_cast<size_t>(GetFileSize(file.get(), nullptr)), '\0');
    DWORD done = 0;
    if (!out.empty()) ReadFile(file.get(), out.data(), static_cast<DWORD>(out.size()), &done, nullptr);
    return out;
}

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()) & kKeptAttributes; }

// Files the program may have left beside a saved one.
std::vector<std::wstring> LeftOvers(const std::wstring& folder) {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW((folder + L"crv*").c_str(), &data));
    if (find) {
        do out.push_back(data.cFileName);
        while (FindNextFileW(find.get(), &data));
    }
    return out;
}

class SystemFilesTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        live = std::make_unique<TestUtil::LiveForm>();
        seam.messages.clear();
    }
    void TearDown() override {
        live.reset();
        for (const wchar_t* name : {L"AutoExec.bat", L"Boot.ini", L"Config.sys"}) RemoveFile(Root() + name);
    }
    Form1& form() { return live->form; }
    void Click(const std::wstring& key) {
        ASSERT_TRUE(form().SelectNode(key)) << key;
        form().tvwDemo_NodeClick(form().SelectedNodeKey());
    }
    static void Warned() { TestUtil::PutString(HKEY_LOCAL_MACHINE, kSettings, L"SysWarn", L"1"); }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;

    const TestUtil::WindowsProduct windowsProduct;  // put back after each test
};

TEST_F(SystemFilesTest, WinlogonRowShowsOnlyTheExtraProgramsOfUserinit) {
    const std::wstring standard = MyMod::StandardUserinit();
    ASSERT_EQ(standard, MyMod::GetSystemDir() + L"\\userinit.exe,");
    const struct {
        const wchar_t* what;
        std::wstring value;  // "<none>": no value at all
        std::wstring shown;
    } cases[] = {
        {L"the standard part alone", standard, L""},
        {L"with an extra program", standard + L"C:\\Tools\\agent.exe,", L"C:\\Tools\\agent.exe,"},
        {L"in lower case", Text::Lower(standard) + L"C:\\Tools\\agent.exe,", L"C:\\Tools\\agent.exe,"},
        {L"in upper case", Text::Upper(standard) + L"C:\\Tools\\agent.exe,", L"C:\\Tools\\agent.exe,"},
        {L"standard part twice", standard + L"C:\\a.exe," + standard, L"C:\\a.exe,"},
        {L"on another drive", L"D:\\windows\\system32\\userinit.exe,", L"D:\\windows\\system32\\userinit.exe,"},
        {L"in another folder", L"C:\\WINNT\\system32\\userinit.exe,", L"C:\\WINNT\\system32\\userinit.exe,"},
        {L"without its comma", standard.substr(0, standard.size() - 1), standard.substr(0, standard.size() - 1)},
        {L"no value", L"<none>", L"Error"},
    };
    for (const wchar_t* product : {L"Microsoft Windows XP", L"Windows 2000"}) {
        windowsProduct.Set(product);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::wstring(c.what) + L" / " + product);
            HKEY key = nullptr;
            ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogon.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
            RegDeleteValueW(key, L"Userinit");
            RegCloseKey(key);
            if (c.value != L"<none>") TestUtil::PutString(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit", c.value);
            Click(L"ten");
            ASSERT_EQ(ListView::Count(form().lv2), 1);
            EXPECT_EQ(ListView::Text(form().lv2, 0), L"Userinit.exe");
            EXPECT_EQ(ListView::Text(form().lv2, 0, 1), c.shown);
            EXPECT_EQ(ListView::Text(form().lv2, 0, 2), kWinlogonText);
            EXPECT_EQ(ListView::Icon(form().lv2, 0), 2);
            EXPECT_EQ(ListView::Color(form().lv2, 0), ListView::EnabledForeColor);
        }
    }
}

TEST_F(SystemFilesTest, LegacyFileRowsShowWhereEachFileIsOrWhyItIsMissing) {
    Warned();
    const std::wstring windows = MyMod::GetWindowsDir();
    struct Row {
        std::wstring text, path;
        int icon;
    };
    auto expectRows = [this](const std::vector<Row>& rows) {
        ASSERT_EQ(ListView::Count(form().lv2), static_cast<int>(rows.size()));
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            SCOPED_TRACE(rows[i].text);
            EXPECT_EQ(ListView::Text(form().lv2, i), rows[i].text);
            EXPECT_EQ(ListView::Text(form().lv2, i, 1), rows[i].path);
            EXPECT_EQ(ListView::Text(form().lv2, i, 2), rows[i].path);
            EXPECT_EQ(ListView::Icon(form().lv2, i), rows[i].icon);
            EXPECT_EQ(ListView::Color(form().lv2, i), ListView::DefaultForeColor);
        }
    };
    // A hidden, system AutoExec.bat counts as present; Boot.ini and Config.sys are missing.
    PutFile(Root() + L"AutoExec.bat", "@echo off\r\n", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Click(L"eleven");
    expectRows({{L"AutoExec.bat", Root() + L"AutoExec.bat", 10},
                {L"Boot.ini", L"Not used with this Operating System", 3},
                {L"Config.sys", L"File Not Found", 3},
                {L"System.ini", windows + L"\\System.ini", 11},
                {L"Win.ini", windows + L"\\Win.ini", 11}});

    RemoveFile(Root() + L"AutoExec.bat");
    PutFile(Root() + L"Boot.ini", "[boot loader]\r\n", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    PutFile(Root() + L"Config.sys", "FILES=40\r\n");
    Click(L"eleven");
    expectRows({{L"AutoExec.bat", L"File Not Found", 3},
                {L"Boot.ini", Root() + L"Boot.ini", 11},
                {L"Config.sys", Root() + L"Config.sys", 13},
                {L"System.ini", windows + L"\\System.ini", 11},
                {L"Win.ini", windows + L"\\Win.ini", 11}});
}

TEST_F(SystemFilesTest, TheWarningShowsOnceAcrossTheSixViewsAndAgainWhenItsMarkIsGone) {
    const std::wstring text =
        L"These System files are extremely critical to Windows Startup and if changed incorrectly can prevent "
        L"Windows from starting up at all.  Please use caution when editing.\r\n\r\nThis warning will not show again.";
    const wchar_t* views[] = {L"eleven", L"four", L"eight", L"five", L"boot", L"nine"};
    for (int round = 0; round < 2; ++round)
        for (const wchar_t* key : views) Click(key);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, text);
    EXPECT_EQ(seam.messages[0].caption, App::Title());
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    std::wstring mark;
    EXPECT_TRUE(TestUtil::ReadString(HKEY_LOCAL_MACHINE, kSettings, L"SysWarn", mark));
    EXPECT_EQ(mark, L"1");

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettings.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegDeleteValueW(key, L"SysWarn");
    RegCloseKey(key);
    Click(L"nine");
    Click(L"eleven");
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[1].text, text);
}

// Save through the button and through the menu entry.
enum class Via { Button, Menu };

class SaveTest : public SystemFilesTest, public testing::WithParamInterface<Via> {
protected:
    void Save() {
        if (GetParam() == Via::Button)
            SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_cmdSave, BN_CLICKED),
                         reinterpret_cast<LPARAM>(form().cmdSave));
        else
            SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuSave, 0), 0);
    }
    void Type(const std::wstring& text) { SetWindowTextW(form().txtFiles, text.c_str()); }
};

TEST_P(SaveTest, WritesTheEditorsTextAndOneLineEndAndSetsTheAttributes) {
    Warned();
    const std::wstring winIni = MyMod::GetWindowsDir() + L"\\Win.ini";
    const std::string original = Bytes(winIni);
    const struct {
        const wchar_t* what;
        const wchar_t* node;
        std::wstring path;
        std::string before;
        DWORD attributesBefore;
        const wchar_t* typed;  // nullptr: saved unchanged
        std::string after;
        DWORD attributesAfter;
    } cases[] = {
        // An unchanged file that ends in a line end gains one more.
        {L"Win.ini unchanged", L"four", winIni, "[windows]\r\nload=\r\n", FILE_ATTRIBUTE_READONLY, nullptr,
         "[windows]\r\nload=\r\n\r\n", 0},
        {L"Boot.ini hidden, system, read-only", L"boot", Root() + L"Boot.ini", "[boot loader]\r\n", kKeptAttributes,
         L"[boot loader]\r\ntimeout=5", "[boot loader]\r\ntimeout=5\r\n", FILE_ATTRIBUTE_HIDDEN},
        {L"AutoExec.bat normal", L"five", Root() + L"AutoExec.bat", "@echo off", 0, nullptr, "@echo off\r\n",
         FILE_ATTRIBUTE_HIDDEN},
        {L"Config.sys emptied", L"nine", Root() + L"Config.sys", "FILES=40\r\n", 0, L"", "\r\n",
         FILE_ATTRIBUTE_HIDDEN},
        // A character of the code page crosses both ways unchanged.
        {L"e acute round trip", L"four", winIni, "caf\xE9\r\n", 0, nullptr, "caf\xE9\r\n\r\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutFile(c.path, c.before, c.attributesBefore ? c.attributesBefore : FILE_ATTRIBUTE_NORMAL);
        Click(c.node);
        if (c.typed) Type(c.typed);
        Save();
        EXPECT_TRUE(seam.messages.empty()) << (seam.messages.empty() ? L"" : seam.messages[0].text);
        EXPECT_EQ(Bytes(c.path), c.after);
        EXPECT_EQ(Attributes(c.path), c.attributesAfter);
        // The view is not reloaded: the editor keeps its text.
        EXPECT_EQ(form().ControlText(form().txtFiles), c.typed ? c.typed : Text::FromAnsi(c.before));
        EXPECT_EQ(LeftOvers(c.path.substr(0, c.path.find_last_of(L'\\') + 1)), std::vector<std::wstring>{});
        seam.messages.clear();
    }
    PutFile(winIni, original);
}

TEST_P(SaveTest, WhatCannotBeSavedLeavesTheFileAsItWasAndSaysSo) {
    Warned();
    const std::wstring boot = Root() + L"Boot.ini";
    const std::string before = "[boot loader]\r\ntimeout=30\r\n";
    const struct {
        const wchar_t* what;
        std::wstring message;  // how the message begins
    } cases[] = {
        {L"a character the code page cannot hold", L"Boot.ini was not saved: the text holds characters"},
        {L"the file held open without sharing", L"Boot.ini could not be saved: "},
        {L"the file removed since it was loaded", L"Boot.ini is no longer there.  Nothing was saved"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutFile(boot, before, kKeptAttributes);
        Click(L"boot");
        const std::wstring what = c.what;
        UniqueHandle lock;
        if (what == L"a character the code page cannot hold") Type(L"[boot loader]\r\ntimeout=5 \x03A9");
        if (what == L"the file held open without sharing")
            lock.reset(CreateFileW(boot.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (what == L"the file removed since it was loaded") RemoveFile(boot);
        Save();
        lock.reset();
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text.substr(0, c.message.size()), c.message) << seam.messages[0].text;
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        if (what == L"the file removed since it was loaded") {
            EXPECT_FALSE(MyMod::FileExists(boot));
        } else {
            EXPECT_EQ(Bytes(boot), before);
            EXPECT_EQ(Attributes(boot), kKeptAttributes);
        }
        EXPECT_EQ(LeftOvers(Root()), std::vector<std::wstring>{});
        seam.messages.clear();
    }
}

TEST_P(SaveTest, AFileTheEditorDoesNotHoldWholeIsNeverWritten) {
    Warned();
    const std::wstring boot = Root() + L"Boot.ini";
    const std::string withNul("[boot loader]\r\n\0timeout=30\r\n", 28);
    PutFile(boot, withNul, FILE_ATTRIBUTE_SYSTEM);
    Click(L"boot");
    Save();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(Bytes(boot), withNul);
    EXPECT_EQ(Attributes(boot), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
}

TEST_P(SaveTest, AFileChangedSinceItWasLoadedIsReplacedOnlyWhenTheUserSaysSo) {
    Warned();
    const std::wstring boot = Root() + L"Boot.ini";
    const std::string theirs = "[boot loader]\r\ntimeout=30\r\n[operating systems]\r\n";
    const std::string ours = "[boot loader]\r\ntimeout=5\r\n";
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        PutFile(boot, "[boot loader]\r\ntimeout=30\r\n", kKeptAttributes);
        Click(L"boot");
        Type(L"[boot loader]\r\ntimeout=5");
        PutFile(boot, theirs, kKeptAttributes);  // another program writes the file meanwhile
        seam.answers = {answer};
        Save();
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text.substr(0, 37), L"Boot.ini has changed since it was ope")
            << seam.messages[0].text;
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
        EXPECT_EQ(Bytes(boot), answer == IDYES ? ours : theirs);
        EXPECT_EQ(Attributes(boot), answer == IDYES ? static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN) : kKeptAttributes);
        // What Save wrote is what the editor now stands for: saving again asks nothing.
        seam.messages.clear();
        if (answer == IDYES) {
            Save();
            EXPECT_TRUE(seam.messages.empty());
            EXPECT_EQ(Bytes(boot), ours);
        }
        EXPECT_EQ(LeftOvers(Root()), std::vector<std::wstring>{});
    }
}

INSTANTIATE_TEST_SUITE_P(ButtonAndMenu, SaveTest, testing::Values(Via::Button, Via::Menu),
                         [](const testing::TestParamInfo<Via>& info) {
                             return info.param == Via::Button ? "cmdSave" : "mnuSave";
                         });

TEST(AnsiText, CrossesTheCodePageBothWaysOrIsRefused) {
    ASSERT_EQ(GetACP(), 1252u);
    const struct {
        std::wstring text;
        std::optional<std::string> bytes;
    } cases[] = {
        {L"", std::string()},
        {L"plain\r\n", std::string("plain\r\n")},
        {L"caf\x00E9", std::string("caf\xE9")},
        {L"\x20AC 5", std::string("\x80 5")},  // the euro sign has a place in 1252
        {L"\x03A9", std::nullopt},             // no place, and no look-alike may stand in
        {L"\x0141odz", std::nullopt},          // best fit would give "L"
        {L"a\x4E2D", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text::ToAnsi(c.text), c.bytes) << static_cast<unsigned>(c.text.empty() ? 0 : c.text.back());
        if (c.bytes) {
            EXPECT_EQ(Text::FromAnsi(*c.bytes), c.text);
        }
    }
}

} // namespace
