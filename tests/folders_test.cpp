// Startup-folder items against real shortcuts, folders and registry: the loaders, the shortcut
// property reader, the tooltips, and disable, enable and delete with frmDelete2.
#include "Confirmations.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "startups/frmDelete.h"
#include "startups/frmDelete2.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/ShellLink.h"
#include "system/Text.h"

#include <gtest/gtest.h>

#include <shlguid.h>
#include <shobjidl.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <set>

namespace {

using TestUtil::PutString;
using TestUtil::ValueExists;

const std::wstring kAppSub = L"Software\\Ferrowyn\\Corvell";
const std::wstring kStore = kAppSub + L"\\Startups";
const std::wstring kDates = kAppSub + L"\\Dates\\Startups";
const std::wstring kDisabled = kAppSub + L"\\Disabled";
const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kSelectText = L"Please select a Startup item     ";

std::wstring CommonFolder() { return modSpecialFolder::GetSpecialFolder(modSpecialFolder::kCommonStartup); }
std::wstring UserFolder() { return modSpecialFolder::GetSpecialFolder(modSpecialFolder::kUserStartup); }
std::wstring ParkedFolder() { return App::Path() + L"\\Startups"; }

// A shell shortcut saved with IShellLinkW, as any program makes one.
void MakeLink(const std::wstring& path, const std::wstring& target, const std::wstring& workDir = L"", WORD hotkey = 0,
              const std::wstring& icon = L"", int iconIndex = 0) {
    ComPtr<IShellLinkW> link;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())));
    link->SetPath(target.c_str());
    if (!workDir.empty()) link->SetWorkingDirectory(workDir.c_str());
    if (hotkey) link->SetHotkey(hotkey);
    if (!icon.empty()) link->SetIconLocation(icon.c_str(), iconIndex);
    ComPtr<IPersistFile> file = link.query<IPersistFile>();
    ASSERT_TRUE(file);
    ASSERT_TRUE(SUCCEEDED(file->Save(path.c_str(), TRUE))) << path;
}

void PutFile(const std::wstring& path, const std::string& bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << path;
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr));
}

std::string Bytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool IsFile(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Deletes every file directly in a folder (read-only ones too).
void EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring path = folder + L"\\" + data.cFileName;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    } while (FindNextFileW(find.get(), &data));
}

using TestUtil::ValueOrMissing;

class FoldersTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        for (const std::wstring& folder : {CommonFolder(), UserFolder()}) {
            ASSERT_FALSE(folder.empty());
            CreateDirectoryW(folder.c_str(), nullptr);
            EmptyFolder(folder);
        }
        DeleteFileW(ParkedFolder().c_str());  // a test may have left a file in the folder's place
        EmptyFolder(ParkedFolder());
        CreateDirectoryW(L"C:\\A", nullptr);
        live = std::make_unique<TestUtil::LiveForm>();
        seam.messages.clear();
    }
    void TearDown() override {
        live.reset();
        for (const std::wstring& folder : {CommonFolder(), UserFolder()}) EmptyFolder(folder);
        DeleteFileW(ParkedFolder().c_str());
        CreateDirectoryW(ParkedFolder().c_str(), nullptr);
        EmptyFolder(ParkedFolder());
    }

    Form1& form() { return live->form; }
    HWND lv3() { return live->form.lv3; }
    HWND lv2() { return live->form.lv2; }

    void View(const wchar_t* node) {
        ASSERT_TRUE(form().SelectNode(node));
        form().tvwDemo_NodeClick(form().SelectedNodeKey());
    }
    int SelectRow(HWND list, const std::wstring& name, const std::wstring& folder = L"") {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row = 0; row < ListView::Count(list); ++row) {
            if (ListView::Text(list, row) != name) continue;
            if (!folder.empty() && ListView::Text(list, row, 2) != folder) continue;
            ListView::Select(list, row);
            return row;
        }
        return -1;
    }
    std::vector<Seam::MessageRequest> Warnings() const { return seam.Warnings(); }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
};

TEST_F(FoldersTest, LookPropertyLinkReadsEachWordInAnyCaseAndNothingElse) {
    const std::wstring full = UserFolder() + L"\\Full.lnk";
    MakeLink(full, L"C:\\A\\app.exe", L"C:\\A", MAKEWORD('F', HOTKEYF_CONTROL | HOTKEYF_ALT), L"C:\\A\\app.ico", 2);
    const std::wstring plain = UserFolder() + L"\\Plain.lnk";
    MakeLink(plain, L"C:\\A\\plain.exe");
    PutFile(UserFolder() + L"\\desktop.ini", "[.ShellClassInfo]\r\n");
    PutFile(UserFolder() + L"\\Site.url", "[InternetShortcut]\r\nURL=http://example.com/\r\n");
    const struct {
        std::wstring path;
        const wchar_t* wanted;
        std::wstring result;
    } cases[] = {
        {full, L"target", L"C:\\A\\app.exe"},
        {full, L"TARGET", L"C:\\A\\app.exe"},
        {full, L"TaRgEt", L"C:\\A\\app.exe"},
        {full, L"name", full},
        {full, L"Icon", L"C:\\A\\app.ico,2"},
        {full, L"START", L"C:\\A"},
        {full, L"key", L"Alt+Ctrl+F"},
        {full, L"path", L""},
        {full, L"targets", L""},
        {full, L"", L""},
        // Read after a shortcut that has them: nothing of the other one shows through.
        {plain, L"target", L"C:\\A\\plain.exe"},
        {plain, L"start", L""},
        {plain, L"key", L""},
        {plain, L"icon", L",0"},
        // No shell link: the folder's own file, an Internet shortcut, a missing file.
        {UserFolder() + L"\\desktop.ini", L"target", L""},
        {UserFolder() + L"\\desktop.ini", L"name", L""},
        {UserFolder() + L"\\Site.url", L"target", L""},
        {UserFolder() + L"\\Site.url", L"name", L""},
        {UserFolder() + L"\\Missing.lnk", L"target", L""},
        {UserFolder() + L"\\Missing.lnk", L"name", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + L" " + c.wanted);
        EXPECT_EQ(form().LookPropertyLink(c.path, c.wanted), c.result);
    }

    // One reader loaded again and again, as the loaders use it: each file gives its own fields.
    ShellShortcut::Reader reader;
    const struct {
        std::wstring path;
        bool loads;
        const wchar_t* target;
        const wchar_t* start;
        const wchar_t* key;
    } files[] = {
        {full, true, L"C:\\A\\app.exe", L"C:\\A", L"Alt+Ctrl+F"},
        {plain, true, L"C:\\A\\plain.exe", L"", L""},
        {full, true, L"C:\\A\\app.exe", L"C:\\A", L"Alt+Ctrl+F"},
        {UserFolder() + L"\\desktop.ini", false, L"", L"", L""},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.path);
        EXPECT_EQ(reader.Load(f.path), f.loads);
        EXPECT_EQ(reader.Target(), f.target);
        EXPECT_EQ(reader.WorkingDirectory(), f.start);
        EXPECT_EQ(reader.Hotkey(), f.key);
    }
}

TEST_F(FoldersTest, BothFoldersListTheirFilesAllUsersFirstWithRealNamesBehindTheShownOnes) {
    const std::wstring common = CommonFolder(), user = UserFolder();
    MakeLink(common + L"\\A.lnk", L"C:\\A\\a.exe");
    MakeLink(common + L"\\b.LNK", L"C:\\A\\b.exe");
    PutFile(common + L"\\desktop.ini", "[.ShellClassInfo]\r\n");
    MakeLink(user + L"\\My.lnk.lnk", L"C:\\A\\my.exe");
    MakeLink(user + L"\\x.LNKfile.lnk", L"C:\\A\\x.exe");
    PutFile(user + L"\\Site.url", "[InternetShortcut]\r\nURL=http://example.com/\r\n");
    PutFile(user + L"\\DESKTOP.INI", "[.ShellClassInfo]\r\n");
    SetFileAttributesW((user + L"\\x.LNKfile.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    PutString(HKEY_LOCAL_MACHINE, kDates, L"b", L"12/10/2026 10:00 AM");

    View(L"two");
    struct Expected {
        std::wstring folder, name, file, target;
        std::wstring date = L"Error";
    };
    const std::vector<Expected> expected = {
        {common, L"A", L"A.lnk", L"C:\\A\\a.exe"},
        {common, L"b", L"b.LNK", L"C:\\A\\b.exe", L"12/10/2026 10:00 AM"},
        {user, L"My", L"My.lnk.lnk", L"C:\\A\\my.exe"},
        {user, L"xfile", L"x.LNKfile.lnk", L"C:\\A\\x.exe"},
        {user, L"Site.url", L"Site.url", L""},
    };
    ASSERT_EQ(ListView::Count(lv3()), static_cast<int>(expected.size()));
    // Within a folder the file system's order stands; the All Users rows come first.
    for (int row = 0; row < ListView::Count(lv3()); ++row)
        EXPECT_EQ(ListView::Text(lv3(), row, 2), row < 2 ? common : user) << row;
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        const int row = ListView::FindRow(lv3(), e.name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(ListView::Text(lv3(), row, 1), e.target);
        EXPECT_EQ(ListView::Text(lv3(), row, 2), e.folder);
        EXPECT_NE(e.folder.back(), L'\\');
        EXPECT_EQ(ListView::Text(lv3(), row, 3), e.date);
        EXPECT_EQ(ListView::Icon(lv3(), row), 1);
        EXPECT_EQ(ListView::Color(lv3(), row), ListView::EnabledForeColor);
        const auto item = form().FolderItemOf(lv3(), row);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->fileName, e.file);
        EXPECT_FALSE(item->parked);
    }
    EXPECT_TRUE(form().menus.IsVisible(L"mnuPopup3"));

    // "All Startups" lists them in lv2 as well, each once, with the same file behind it.
    PutString(HKEY_CURRENT_USER, kRun, L"RegRow", L"C:\\A\\reg.exe");
    View(L"one");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRun.c_str(), L"RegRow");
    ASSERT_EQ(ListView::Count(lv2()), static_cast<int>(expected.size()) + 1);
    ASSERT_EQ(ListView::Count(lv3()), static_cast<int>(expected.size()));
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        const int row = ListView::FindRow(lv2(), e.name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(ListView::Text(lv2(), row, 1), e.target);
        EXPECT_EQ(ListView::Text(lv2(), row, 2), e.folder);
        EXPECT_EQ(ListView::Icon(lv2(), row), 1);
        const auto item = form().FolderItemOf(lv2(), row);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->fileName, e.file);
    }
    // A registry row has no file behind it.
    const int registryRow = ListView::FindRow(lv2(), L"RegRow");
    ASSERT_GE(registryRow, 0);
    EXPECT_FALSE(form().FolderItemOf(lv2(), registryRow));
}

TEST_F(FoldersTest, RunningTargetsShowIconTwoAndAFolderRowInAllStartupsOffersItsOwnView) {
    UniqueHandle sleeper = TestUtil::StartCopy(L"sleeper.exe", L"foldrun.exe", L"30");
    ASSERT_TRUE(sleeper);
    MakeLink(UserFolder() + L"\\Runner.lnk", TestUtil::ProgramFolder() + L"\\foldrun.exe");
    MakeLink(UserFolder() + L"\\Idle.lnk", L"C:\\A\\idle.exe");

    ListView::Clear(lv3());
    form().LoadUserStartupFolder();
    EXPECT_EQ(ListView::Icon(lv3(), ListView::FindRow(lv3(), L"Runner")), 2);
    EXPECT_EQ(ListView::Icon(lv3(), ListView::FindRow(lv3(), L"Idle")), 1);

    View(L"one");
    EXPECT_EQ(ListView::Icon(lv2(), ListView::FindRow(lv2(), L"Runner")), 2);
    EXPECT_EQ(ListView::Icon(lv2(), ListView::FindRow(lv2(), L"Idle")), 1);
    ASSERT_GE(SelectRow(lv2(), L"Idle"), 0);
    form().lv2_Click();
    EXPECT_TRUE(form().menus.IsVisible(L"mnuPopup4"));
    EXPECT_FALSE(form().menus.IsVisible(L"mnuPopup2"));
    TerminateProcess(sleeper.get(), 0);
    WaitForSingleObject(sleeper.get(), 5000);
}

// Only C:\\SnapB\\twin.exe runs: every row whose program is named twin.exe shows running, whichever
// folder its program lies in, in every view and list, as the marks go by file name.
TEST_F(FoldersTest, EveryViewMarksARowRunningWhenAProgramOfItsFileNameRunsInAnyFolder) {
    UniqueHandle twin = TestUtil::StartCopy(L"sleeper.exe", L"C:\\SnapB\\twin.exe", L"60");
    ASSERT_TRUE(twin);
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Twin A", L"C:\\SnapA\\twin.exe /x");
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Idle", L"C:\\SnapA\\idle.exe");
    MakeLink(CommonFolder() + L"\\Twin B.lnk", L"C:\\SnapB\\twin.exe");
    MakeLink(UserFolder() + L"\\Twin A link.lnk", L"C:\\SnapA\\twin.exe");
    MakeLink(UserFolder() + L"\\Idle link.lnk", L"C:\\SnapA\\idle.exe");
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Parked twin", L"HKLM^C:\\SnapA\\twin.exe");
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Parked idle", L"HKLM^C:\\SnapA\\idle.exe");
    CreateDirectoryW(ParkedFolder().c_str(), nullptr);
    MakeLink(ParkedFolder() + L"\\Parked twin link.lnk", L"C:\\SnapA\\twin.exe");
    PutString(HKEY_LOCAL_MACHINE, kStore, L"Parked twin link.lnk", UserFolder() + L"\\Parked twin link.lnk");

    const struct {
        const wchar_t* node;
        bool inLv3;
        std::vector<std::pair<std::wstring, int>> icons;
    } views[] = {
        {L"one", false, {{L"Twin A", 2}, {L"Idle", 1}, {L"Twin B", 2}, {L"Twin A link", 2}, {L"Idle link", 1}}},
        {L"one", true, {{L"Twin B", 2}, {L"Twin A link", 2}, {L"Idle link", 1}}},
        {L"another11", false, {{L"Twin A", 2}, {L"Idle", 1}}},
        {L"two", true, {{L"Twin B", 2}, {L"Twin A link", 2}, {L"Idle link", 1}}},
        {L"seven", false, {{L"Parked twin", 9}, {L"Parked idle", 3}, {L"Parked twin link", 9}}},
        {L"another 44", false, {{L"Parked twin", 9}, {L"Parked idle", 3}}},
        {L"another 45", true, {{L"Parked twin link", 9}}},
    };
    for (const auto& v : views) {
        SCOPED_TRACE(v.node);
        View(v.node);
        const HWND list = v.inLv3 ? lv3() : lv2();
        EXPECT_EQ(ListView::Count(list), static_cast<int>(v.icons.size()));
        for (const auto& [name, icon] : v.icons) {
            const int row = ListView::FindRow(list, name);
            ASSERT_GE(row, 0) << name;
            EXPECT_EQ(ListView::Icon(list, row), icon) << name;
        }
    }
    TerminateProcess(twin.get(), 0);
    WaitForSingleObject(twin.get(), 5000);
    for (const wchar_t* name : {L"Twin A", L"Idle"}) RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRun.c_str(), name);
}

TEST_F(FoldersTest, AFolderTheSystemCannotNameListsNothingInsteadOfTheDrivesRoot) {
    const std::wstring user = UserFolder();
    const std::wstring moved = user + L" (moved)";
    ASSERT_TRUE(MoveFileW(user.c_str(), moved.c_str()));
    const std::wstring named = UserFolder();
    PutFile(L"C:\\RootFile.lnk", "not a shortcut");
    if (named.empty()) {
        ListView::Clear(lv3());
        form().LoadUserStartupFolder();
        EXPECT_EQ(ListView::Count(lv3()), 0);
    }
    DeleteFileW(L"C:\\RootFile.lnk");
    ASSERT_TRUE(MoveFileW(moved.c_str(), user.c_str()));
    if (!named.empty()) GTEST_SKIP() << "this system names a Startup folder that does not exist: " << named.size();
}

TEST_F(FoldersTest, AUserFolderThatIsTheCommonOneListsItsFilesOnce) {
    const std::wstring shellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const auto before = Registry::ReadValue(HKEY_CURRENT_USER, shellFolders, L"Startup");
    const std::wstring common = CommonFolder();
    MakeLink(common + L"\\Shared.lnk", L"C:\\A\\shared.exe");
    PutString(HKEY_CURRENT_USER, shellFolders, L"Startup", common);
    const bool redirected = Text::EqualsNoCase(UserFolder(), common);
    if (redirected) View(L"two");
    const int rows = ListView::Count(lv3());
    if (before)
        ASSERT_TRUE(Registry::WriteBytes(HKEY_CURRENT_USER, shellFolders, L"Startup", before->type, before->bytes));
    else
        RegDeleteKeyValueW(HKEY_CURRENT_USER, shellFolders.c_str(), L"Startup");
    if (!redirected) GTEST_SKIP() << "this system keeps its own user Startup folder";
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(ListView::Text(lv3(), 0), L"Shared");
}

TEST_F(FoldersTest, ParkedItemsListTheirCopysTargetAndTheFolderTheyCameFrom) {
    MakeLink(ParkedFolder() + L"\\Park.lnk", L"C:\\A\\park.exe");
    MakeLink(ParkedFolder() + L"\\My.lnk.lnk", L"C:\\A\\my.exe");
    PutString(HKEY_LOCAL_MACHINE, kStore, L"Park.lnk", L"C:\\Some\\Folder\\Park.lnk");
    PutString(HKEY_LOCAL_MACHINE, kStore, L"Empty.lnk", L"");
    PutString(HKEY_LOCAL_MACHINE, kStore, L"Gone.lnk", L"C:\\Other\\Gone.lnk");
    PutString(HKEY_LOCAL_MACHINE, kStore, L"My.lnk.lnk", L"C:\\Some\\Folder\\My.lnk.lnk");
    PutString(HKEY_LOCAL_MACHINE, kDates, L"Park", L"12/10/2026 10:00 AM");
    // A parked registry startup whose name happens to end ".lnk".
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Setup.lnk", L"HKLM^C:\\A\\setup.exe");

    const struct {
        const wchar_t* name;
        const wchar_t* file;
        const wchar_t* target;
        const wchar_t* folder;
        const wchar_t* date;
    } rows[] = {
        {L"Park", L"Park.lnk", L"C:\\A\\park.exe", L"C:\\Some\\Folder", L"12/10/2026 10:00 AM"},
        {L"Gone", L"Gone.lnk", L"", L"C:\\Other", L"Error"},
        {L"My", L"My.lnk.lnk", L"C:\\A\\my.exe", L"C:\\Some\\Folder", L"Error"},
        {L"Empty", L"Empty.lnk", L"", L"", L"Error"},  // listed, so that it can be deleted
    };
    View(L"another 45");
    ASSERT_EQ(ListView::Count(lv3()), 4);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const int row = ListView::FindRow(lv3(), r.name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(ListView::Text(lv3(), row, 1), r.target);
        EXPECT_EQ(ListView::Text(lv3(), row, 2), r.folder);
        EXPECT_EQ(ListView::Text(lv3(), row, 3), r.date);
        EXPECT_EQ(ListView::Icon(lv3(), row), 3);
        EXPECT_EQ(ListView::Color(lv3(), row), ListView::DisabledForeColor);
        const auto item = form().FolderItemOf(lv3(), row);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->fileName, r.file);
        EXPECT_TRUE(item->parked);
    }
    View(L"seven");
    ASSERT_EQ(ListView::Count(lv2()), 5);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const int row = ListView::FindRow(lv2(), r.name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(ListView::Text(lv2(), row, 1), r.target);
        EXPECT_EQ(ListView::Text(lv2(), row, 2), r.folder);
        EXPECT_EQ(ListView::Icon(lv2(), row), 3);
        const auto item = form().FolderItemOf(lv2(), row);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->fileName, r.file);
        EXPECT_TRUE(item->parked);
    }
    // The registry row keeps its name, so its own Enable and Delete still find its record.
    const int setup = ListView::FindRow(lv2(), L"Setup.lnk");
    ASSERT_GE(setup, 0);
    EXPECT_FALSE(form().FolderItemOf(lv2(), setup));
    ListView_SetItemState(lv2(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView::Select(lv2(), setup);
    form().mnuEnable_Click();
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Setup.lnk"), L"C:\\A\\setup.exe");
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, L"Setup.lnk"));
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRun.c_str(), L"Setup.lnk");
}

TEST_F(FoldersTest, DisableThenEnableRoundTripsEachFileByteForByteWithItsRecordAndAttributes) {
    const std::wstring user = UserFolder(), common = CommonFolder();
    const struct {
        const wchar_t* name;
        const wchar_t* file;
        std::wstring folder;
        DWORD attributes;
    } cases[] = {
        {L"App", L"App.lnk", user, 0},
        {L"My", L"My.lnk.lnk", common, 0},
        {L"Locked", L"Locked.lnk", user, FILE_ATTRIBUTE_READONLY},
        {L"Notes.url", L"Notes.url", common, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring livePath = c.folder + L"\\" + c.file;
        const std::wstring parkedPath = ParkedFolder() + L"\\" + c.file;
        if (std::wstring(c.file).ends_with(L".url")) PutFile(livePath, "[InternetShortcut]\r\nURL=http://e.com/\r\n");
        else MakeLink(livePath, L"C:\\A\\" + std::wstring(c.name) + L".exe");
        if (c.attributes) SetFileAttributesW(livePath.c_str(), c.attributes);
        const std::string before = Bytes(livePath);

        View(L"two");
        ASSERT_GE(SelectRow(lv3(), c.name), 0);
        SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuDisable2, 0), 0);
        EXPECT_FALSE(IsFile(livePath));
        EXPECT_EQ(Bytes(parkedPath), before);
        EXPECT_EQ(GetFileAttributesW(parkedPath.c_str()) & FILE_ATTRIBUTE_READONLY, c.attributes);
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kStore, c.file), livePath);
        EXPECT_LT(ListView::FindRow(lv3(), c.name), 0);  // the view was reloaded

        View(L"another 45");
        ASSERT_GE(SelectRow(lv3(), c.name), 0);
        SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuEnable2, 0), 0);
        EXPECT_EQ(Bytes(livePath), before);
        EXPECT_EQ(GetFileAttributesW(livePath.c_str()) & FILE_ATTRIBUTE_READONLY, c.attributes);
        EXPECT_FALSE(IsFile(parkedPath));
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kStore, c.file));
        EXPECT_EQ(ListView::Count(lv3()), 0);
    }
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(FoldersTest, DisableAndEnableActOnlyOnRowsInTheirOwnState) {
    MakeLink(UserFolder() + L"\\Live.lnk", L"C:\\A\\live.exe");
    MakeLink(ParkedFolder() + L"\\Parked.lnk", L"C:\\A\\parked.exe");
    PutString(HKEY_LOCAL_MACHINE, kStore, L"Parked.lnk", L"C:\\A\\Parked.lnk");
    View(L"two");
    ASSERT_GE(SelectRow(lv3(), L"Live"), 0);
    form().mnuEnable2_Click();  // a stale Enable entry: nothing happens
    View(L"another 45");
    ASSERT_GE(SelectRow(lv3(), L"Parked"), 0);
    form().mnuDisable2_Click();
    EXPECT_TRUE(IsFile(UserFolder() + L"\\Live.lnk"));
    EXPECT_TRUE(IsFile(ParkedFolder() + L"\\Parked.lnk"));
    EXPECT_FALSE(IsFile(L"C:\\A\\Parked.lnk"));
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kStore, L"Parked.lnk"), L"C:\\A\\Parked.lnk");
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kStore, L"Live.lnk"));
    EXPECT_TRUE(seam.messages.empty());

    // Without a selected row each action asks for one.
    for (UINT id : {IDM_mnuDisable2, IDM_mnuEnable2, IDM_mnuDelete2}) {
        ListView_SetItemState(lv3(), -1, 0, LVIS_SELECTED);
        seam.messages.clear();
        SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        ASSERT_EQ(seam.messages.size(), 1u) << id;
        EXPECT_EQ(seam.messages[0].text, kSelectText);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_TRUE(IsFile(ParkedFolder() + L"\\Parked.lnk"));
}

TEST_F(FoldersTest, TheSameNameInBothFoldersIsParkedOnceAndTheSecondDisableIsRefused) {
    const std::wstring userLink = UserFolder() + L"\\Dup.lnk", commonLink = CommonFolder() + L"\\Dup.lnk";
    MakeLink(userLink, L"C:\\A\\user.exe");
    MakeLink(commonLink, L"C:\\A\\common.exe");
    const std::string userBytes = Bytes(userLink), commonBytes = Bytes(commonLink);
    View(L"two");
    ASSERT_GE(SelectRow(lv3(), L"Dup", UserFolder()), 0);
    form().mnuDisable2_Click();
    EXPECT_TRUE(Warnings().empty());
    ASSERT_GE(SelectRow(lv3(), L"Dup", CommonFolder()), 0);
    form().mnuDisable2_Click();
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_NE(Warnings()[0].text.find(L"Dup"), std::wstring::npos);
    EXPECT_EQ(Bytes(commonLink), commonBytes);
    EXPECT_EQ(Bytes(ParkedFolder() + L"\\Dup.lnk"), userBytes);
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kStore, L"Dup.lnk"), userLink);

    // A parked file left without its record is used only when it is the same file.
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kStore.c_str(), L"Dup.lnk");
    seam.messages.clear();
    ASSERT_GE(SelectRow(lv3(), L"Dup", CommonFolder()), 0);
    form().mnuDisable2_Click();
    EXPECT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(Bytes(commonLink), commonBytes);
    EXPECT_EQ(Bytes(ParkedFolder() + L"\\Dup.lnk"), userBytes);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kStore, L"Dup.lnk"));
}

TEST_F(FoldersTest, EnableKeepsBothFilesWhenItCannotPutTheItemBackWhole) {
    const std::wstring livePath = UserFolder() + L"\\App.lnk", parkedPath = ParkedFolder() + L"\\App.lnk";
    const struct {
        const wchar_t* what;
        std::function<void()> prepare;
        bool liveTaken;
    } cases[] = {
        {L"a different file at the recorded path",
         [&] {
             PutString(HKEY_LOCAL_MACHINE, kStore, L"App.lnk", livePath);
             MakeLink(livePath, L"C:\\A\\other.exe");
         },
         true},
        {L"no record", [] {}, false},
        {L"a record that is no full path", [] { PutString(HKEY_LOCAL_MACHINE, kStore, L"App.lnk", L"Error"); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder(UserFolder());
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kStore.c_str(), L"App.lnk");
        PutString(HKEY_LOCAL_MACHINE, kStore, L"App.lnk", livePath);  // listed, then changed below
        MakeLink(parkedPath, L"C:\\A\\parked.exe");
        const std::string parkedBytes = Bytes(parkedPath);
        View(L"another 45");
        ASSERT_GE(SelectRow(lv3(), L"App"), 0);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kStore.c_str(), L"App.lnk");
        c.prepare();
        const std::wstring record = ValueOrMissing(HKEY_LOCAL_MACHINE, kStore, L"App.lnk");
        const std::string liveBytes = Bytes(livePath);
        seam.messages.clear();
        form().mnuEnable2_Click();
        EXPECT_EQ(Warnings().size(), 1u);
        EXPECT_EQ(Bytes(parkedPath), parkedBytes);
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kStore, L"App.lnk"), record);
        EXPECT_EQ(Bytes(livePath), liveBytes);
        EXPECT_EQ(IsFile(livePath), c.liveTaken);
    }

    // The parked copy is missing: nothing changes and the user is told.
    EmptyFolder(UserFolder());
    PutString(HKEY_LOCAL_MACHINE, kStore, L"App.lnk", livePath);
    View(L"another 45");
    ASSERT_GE(SelectRow(lv3(), L"App"), 0);
    DeleteFileW(parkedPath.c_str());
    seam.messages.clear();
    form().mnuEnable2_Click();
    EXPECT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kStore, L"App.lnk"), livePath);
    EXPECT_FALSE(IsFile(livePath));
}

TEST_F(FoldersTest, AFailedCopyLeavesTheLiveFileAndNoRecord) {
    const std::wstring livePath = UserFolder() + L"\\App.lnk";
    MakeLink(livePath, L"C:\\A\\app.exe");
    const std::string before = Bytes(livePath);
    View(L"two");
    ASSERT_TRUE(RemoveDirectoryW(ParkedFolder().c_str()));
    PutFile(ParkedFolder(), "a file where the folder should be");
    ASSERT_GE(SelectRow(lv3(), L"App"), 0);
    form().mnuDisable2_Click();
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_NE(Warnings()[0].text.find(L"App"), std::wstring::npos);
    EXPECT_EQ(Bytes(livePath), before);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kStore, L"App.lnk"));
}

TEST_F(FoldersTest, DeleteGoesByTheRowsStateAndLeavesTheSameNamedItemInTheOtherPlace) {
    General::SetStringValue(App::AppKey(), L"Confirmed", L"1");
    const std::wstring livePath = UserFolder() + L"\\Dup.lnk", parkedPath = ParkedFolder() + L"\\Dup.lnk";
    auto reset = [&] {
        MakeLink(livePath, L"C:\\A\\live.exe");
        MakeLink(parkedPath, L"C:\\A\\parked.exe");
        PutString(HKEY_LOCAL_MACHINE, kStore, L"Dup.lnk", CommonFolder() + L"\\Dup.lnk");
        PutString(HKEY_LOCAL_MACHINE, kDates, L"Dup", L"12/10/2026 10:00 AM");
        PutString(HKEY_LOCAL_MACHINE, kDates, L"Other", L"12/10/2026 10:00 AM");
    };
    const struct {
        const wchar_t* what;
        const wchar_t* view;
        bool byKey;
        bool liveLeft, parkedLeft;
    } cases[] = {
        {L"live row, menu", L"two", false, false, true},
        {L"parked row, menu", L"another 45", false, true, false},
        {L"live row, Delete key", L"two", true, false, true},
        {L"parked row, Delete key", L"another 45", true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        View(c.view);
        ASSERT_GE(SelectRow(lv3(), L"Dup"), 0);
        if (c.byKey) SendMessageW(lv3(), WM_KEYDOWN, VK_DELETE, 0);
        else SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuDelete2, 0), 0);
        EXPECT_EQ(IsFile(livePath), c.liveLeft);
        EXPECT_EQ(IsFile(parkedPath), c.parkedLeft);
        EXPECT_EQ(ValueExists(HKEY_LOCAL_MACHINE, kStore, L"Dup.lnk"), c.parkedLeft);
        // The item of that name still there keeps the date they share.
        EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kDates, L"Dup"));
        EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kDates, L"Other"));
        EXPECT_LT(ListView::FindRow(lv3(), L"Dup"), 0);
    }
    EXPECT_TRUE(Warnings().empty());

    // A read-only file is deleted too; one held open by another program is kept with its
    // record and date, and the user is told.
    reset();
    SetFileAttributesW(livePath.c_str(), FILE_ATTRIBUTE_READONLY);
    View(L"two");
    ASSERT_GE(SelectRow(lv3(), L"Dup"), 0);
    form().mnuDelete2_Click();
    EXPECT_FALSE(IsFile(livePath));
    reset();
    View(L"another 45");
    UniqueHandle held(CreateFileW(parkedPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    ASSERT_GE(SelectRow(lv3(), L"Dup"), 0);
    form().mnuDelete2_Click();
    held.reset();
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_NE(Warnings()[0].text.find(L"Dup"), std::wstring::npos);
    EXPECT_TRUE(IsFile(parkedPath));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kStore, L"Dup.lnk"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kDates, L"Dup"));

    // The date goes with the last item of that name.
    seam.messages.clear();
    ASSERT_GE(SelectRow(lv3(), L"Dup"), 0);
    form().mnuDelete2_Click();
    View(L"two");
    ASSERT_GE(SelectRow(lv3(), L"Dup"), 0);
    form().mnuDelete2_Click();
    EXPECT_FALSE(IsFile(livePath));
    EXPECT_FALSE(IsFile(parkedPath));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDates, L"Dup"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kDates, L"Other"));
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(FoldersTest, AParkedRecordThatIsNoTextIsListedSaysWhyAndCanBeDeletedSoItsNameIsFreeAgain) {
    General::SetStringValue(App::AppKey(), L"Confirmed", L"1");
    const std::wstring livePath = UserFolder() + L"\\App.lnk";
    const DWORD number = 7;
    const struct {
        const wchar_t* what;
        DWORD type;
        std::vector<BYTE> data;
    } cases[] = {
        {L"a number", REG_DWORD, {reinterpret_cast<const BYTE*>(&number), reinterpret_cast<const BYTE*>(&number + 1)}},
        {L"an empty text", REG_SZ, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MakeLink(livePath, L"C:\\A\\app.exe");
        const std::string liveBytes = Bytes(livePath);
        ASSERT_TRUE(Registry::WriteBytes(HKEY_LOCAL_MACHINE, kStore, L"App.lnk", c.type, c.data));
        seam.messages.clear();
        // Listed in both disabled views.
        View(L"seven");
        EXPECT_GE(ListView::FindRow(lv2(), L"App"), 0);
        View(L"another 45");
        ASSERT_GE(SelectRow(lv3(), L"App"), 0);

        // Enable says why it cannot, and changes nothing.
        form().mnuEnable2_Click();
        ASSERT_EQ(Warnings().size(), 1u);
        EXPECT_NE(Warnings()[0].text.find(L"App"), std::wstring::npos) << Warnings()[0].text;
        EXPECT_EQ(Bytes(livePath), liveBytes);
        ASSERT_TRUE(Registry::ReadValue(HKEY_LOCAL_MACHINE, kStore, L"App.lnk"));

        // Delete removes the record; the live shortcut of that name stays.
        ASSERT_GE(SelectRow(lv3(), L"App"), 0);
        form().mnuDelete2_Click();
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kStore, L"App.lnk"));
        EXPECT_EQ(Bytes(livePath), liveBytes);

        // The live shortcut can now be disabled.
        seam.messages.clear();
        View(L"two");
        ASSERT_GE(SelectRow(lv3(), L"App"), 0);
        form().mnuDisable2_Click();
        EXPECT_TRUE(Warnings().empty());
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kStore, L"App.lnk"), livePath);
        EXPECT_FALSE(IsFile(livePath));
        EXPECT_EQ(Bytes(ParkedFolder() + L"\\App.lnk"), liveBytes);
        (void)General::DeleteValue(HKEY_LOCAL_MACHINE, kStore, L"App.lnk");
        DeleteFileW((ParkedFolder() + L"\\App.lnk").c_str());
    }
}

using Confirmation = Confirmations::Seen;

// button: a control id, or 0 for the close box.
void AnswerConfirmation(Confirmation& seen, HWND owner, bool tick, int button) {
    Confirmations::Answer<frmDelete2>(seen, owner, tick, button);
}

TEST_F(FoldersTest, frmDelete2AsksAndDontAskMeAgainSilencesBothDeletes) {
    General::SetStringValue(App::AppKey(), L"Confirmed", L"0");
    const std::wstring livePath = UserFolder() + L"\\My.lnk.lnk";

    // The last row leaves the shortcut in place and "1" stored for what follows.
    const struct {
        const wchar_t* what;
        bool tick;
        int button;
        bool deleted;
        const wchar_t* confirmed;
    } cases[] = {
        {L"Yes", false, frmDelete2::IDC_cmdYes, true, L"0"},
        {L"No", false, frmDelete2::IDC_cmdNo, false, L"0"},
        {L"close box, ticked", true, 0, false, L"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        General::SetStringValue(App::AppKey(), L"Confirmed", L"0");
        if (!IsFile(livePath)) MakeLink(livePath, L"C:\\A\\my.exe");
        View(L"two");
        ASSERT_GE(SelectRow(lv3(), L"My"), 0);
        Confirmation seen;
        AnswerConfirmation(seen, form().hwnd(), c.tick, c.button);
        form().mnuDelete2_Click();
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(frmDelete2::Current(), nullptr);
        EXPECT_TRUE(seen.ownerDisabled);
        EXPECT_TRUE(IsWindowEnabled(form().hwnd()));
        Confirmations::ExpectDeleteTexts(seen, L"My");
        EXPECT_EQ(IsFile(livePath), !c.deleted);
        EXPECT_EQ(General::GetStringValue(App::AppKey(), L"Confirmed"), c.confirmed);
    }

    // "1" stored: the next delete of either list asks nothing.
    ASSERT_GE(SelectRow(lv3(), L"My"), 0);
    Confirmation again;
    AnswerConfirmation(again, form().hwnd(), false, frmDelete2::IDC_cmdNo);
    form().mnuDelete2_Click();
    ASSERT_TRUE(TestUtil::PumpUntil([&again] { return again.looked; }));
    EXPECT_FALSE(again.shown);
    EXPECT_FALSE(IsFile(livePath));

    PutString(HKEY_LOCAL_MACHINE, kRun, L"RegApp", L"C:\\A\\regapp.exe");
    View(L"another11");
    ASSERT_GE(SelectRow(lv2(), L"RegApp"), 0);
    Confirmation reg;
    Confirmations::Answer<frmDelete>(reg, form().hwnd(), false, frmDelete::IDC_cmdNo);
    form().mnuDelete_Click();
    ASSERT_TRUE(TestUtil::PumpUntil([&reg] { return reg.looked; }));
    EXPECT_FALSE(reg.shown);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"RegApp"));
}

// While frmDelete2 waits the list may be asked to change under it; Yes deletes the item it named,
// and nothing when that item no longer holds what it held when it was named.
TEST_F(FoldersTest, YesDeletesTheItemTheConfirmationNamedWhateverHappenedMeanwhile) {
    const std::wstring changed =
        L"The Startup Gamma has changed since you were asked about it.  Nothing was deleted.     ";
    const std::wstring livePath = UserFolder() + L"\\Gamma.lnk", parkedPath = ParkedFolder() + L"\\Gamma.lnk";
    const std::wstring alphaPath = UserFolder() + L"\\Alpha.lnk";
    const struct {
        const wchar_t* what;
        bool parked;
        std::function<void()> meanwhile;
        bool deleted;
        std::wstring warning;  // "" for none
    } cases[] = {
        {L"Delete pressed again", false, [this] { SendMessageW(lv3(), WM_KEYDOWN, VK_DELETE, 0); }, true, L""},
        {L"another row selected", false, [this] { SelectRow(lv3(), L"Alpha"); }, true, L""},
        {L"Disable chosen",
         false, [this] { SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuDisable2, 0), 0); }, true, L""},
        {L"the shortcut replaced by another program", false,
         [&] { MakeLink(livePath, L"C:\\A\\other.exe"); }, false, changed},
        {L"parked: the parked file replaced", true, [&] { MakeLink(parkedPath, L"C:\\A\\other.exe"); }, false, changed},
        {L"parked: its record pointed elsewhere", true,
         [] { PutString(HKEY_LOCAL_MACHINE, kStore, L"Gamma.lnk", L"C:\\A\\Gamma.lnk"); }, false, changed},
        {L"parked: nothing", true, [] {}, true, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        General::SetStringValue(App::AppKey(), L"Confirmed", L"0");
        for (const std::wstring& path : {livePath, parkedPath}) DeleteFileW(path.c_str());
        (void)General::DeleteValue(HKEY_LOCAL_MACHINE, kStore, L"Gamma.lnk");
        MakeLink(alphaPath, L"C:\\A\\alpha.exe");
        MakeLink(c.parked ? parkedPath : livePath, L"C:\\A\\gamma.exe");
        if (c.parked) PutString(HKEY_LOCAL_MACHINE, kStore, L"Gamma.lnk", livePath);
        const std::string alphaBytes = Bytes(alphaPath);
        View(c.parked ? L"another 45" : L"two");
        ASSERT_GE(SelectRow(lv3(), L"Gamma"), 0);
        seam.messages.clear();

        Confirmation seen;
        Confirmations::Answer<frmDelete2>(seen, form().hwnd(), false, frmDelete2::IDC_cmdYes, c.meanwhile);
        form().mnuDelete2_Click();
        ASSERT_TRUE(seen.shown);
        Confirmations::ExpectDeleteTexts(seen, L"Gamma");
        EXPECT_EQ(frmDelete2::Current(), nullptr);

        EXPECT_EQ(IsFile(c.parked ? parkedPath : livePath), !c.deleted);
        EXPECT_FALSE(IsFile(c.parked ? livePath : parkedPath));  // nothing parked or put back meanwhile
        EXPECT_EQ(ValueExists(HKEY_LOCAL_MACHINE, kStore, L"Gamma.lnk"), c.parked && !c.deleted);
        EXPECT_EQ(Bytes(alphaPath), alphaBytes);
        const auto warnings = Warnings();
        if (c.warning.empty()) {
            EXPECT_TRUE(warnings.empty()) << warnings[0].text;
        } else {
            EXPECT_EQ(warnings.size(), 1u);
            for (const auto& warning : warnings) EXPECT_EQ(warning.text, c.warning);
        }
        EXPECT_EQ(ListView::FindRow(lv3(), L"Gamma") >= 0, !c.deleted);  // the view was loaded again
    }
}

// An item deleted or renamed by another program, before the question or while it waits: Delete
// says it was not found, deletes nothing, and the view is read again.
TEST_F(FoldersTest, DeleteOfAnItemThatIsGoneSaysItWasNotFoundAndReadsTheListAgain) {
    const std::wstring notFound = L"The Startup Gamma was not found in its folder.  Nothing was changed.     ";
    const std::wstring livePath = UserFolder() + L"\\Gamma.lnk", parkedPath = ParkedFolder() + L"\\Gamma.lnk";
    const struct {
        const wchar_t* what;
        bool parked;
        const wchar_t* confirmed;
        bool whileAsked;  // gone while the question waits, else before Delete is chosen
        bool renamed;     // "Gamma 2.lnk" is left in its place
    } cases[] = {
        {L"gone before the question", false, L"0", false, false},
        {L"gone, without a question", false, L"1", false, false},
        {L"renamed while the question waits", false, L"0", true, true},
        {L"parked: file and record gone while the question waits", true, L"0", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        General::SetStringValue(App::AppKey(), L"Confirmed", c.confirmed);
        for (const std::wstring& path : {livePath, parkedPath}) DeleteFileW(path.c_str());
        (void)General::DeleteValue(HKEY_LOCAL_MACHINE, kStore, L"Gamma.lnk");
        MakeLink(UserFolder() + L"\\Alpha.lnk", L"C:\\A\\alpha.exe");
        const std::wstring path = c.parked ? parkedPath : livePath;
        MakeLink(path, L"C:\\A\\gamma.exe");
        if (c.parked) PutString(HKEY_LOCAL_MACHINE, kStore, L"Gamma.lnk", livePath);
        View(c.parked ? L"another 45" : L"two");
        ASSERT_GE(SelectRow(lv3(), L"Gamma"), 0);
        seam.messages.clear();
        const std::wstring renamedPath = UserFolder() + L"\\Gamma 2.lnk";
        const auto goAway = [&] {
            if (c.renamed) {
                ASSERT_TRUE(MoveFileW(path.c_str(), renamedPath.c_str()));
            } else {
                ASSERT_TRUE(DeleteFileW(path.c_str()));
            }
            if (c.parked) {
                ASSERT_TRUE(General::DeleteValue(HKEY_LOCAL_MACHINE, kStore, L"Gamma.lnk"));
            }
        };
        if (!c.whileAsked) goAway();

        Confirmation seen;
        Confirmations::Answer<frmDelete2>(seen, form().hwnd(), false, frmDelete2::IDC_cmdYes,
                                          c.whileAsked ? std::function<void()>(goAway) : nullptr);
        form().mnuDelete2_Click();
        ASSERT_TRUE(TestUtil::PumpUntil([&seen] { return seen.looked; }));
        EXPECT_EQ(seen.shown, c.whileAsked);
        EXPECT_EQ(frmDelete2::Current(), nullptr);

        const auto warnings = Warnings();
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].text, notFound);
        EXPECT_EQ(IsFile(renamedPath), c.renamed);
        EXPECT_TRUE(IsFile(UserFolder() + L"\\Alpha.lnk"));
        // The view was read again: the stale row has gone, a renamed copy is listed.
        EXPECT_LT(ListView::FindRow(lv3(), L"Gamma"), 0);
        EXPECT_EQ(ListView::FindRow(lv3(), L"Gamma 2") >= 0, c.renamed);
        DeleteFileW(renamedPath.c_str());
    }
}

TEST_F(FoldersTest, TooltipsShowNameTargetAndFolderButNotTheDate) {
    MakeLink(UserFolder() + L"\\Tip.lnk", L"C:\\A\\tip.exe");
    SetCursorPos(0, 0);  // off the list: the tooltip's own column decides
    auto tipOf = [this](int column) {
        wchar_t text[512] = L"own";
        NMLVGETINFOTIPW tip{};
        tip.hdr.hwndFrom = lv3();
        tip.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(lv3()));
        tip.hdr.code = LVN_GETINFOTIPW;
        tip.pszText = text;
        tip.cchTextMax = 512;
        tip.iItem = 0;
        tip.iSubItem = column;
        SendMessageW(form().hwnd(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
        return std::wstring(text);
    };
    ListView::Clear(lv3());
    form().LoadUserStartupFolder();
    EXPECT_EQ(tipOf(0), L"own");  // not before SetFolderToolTips
    form().SetFolderToolTips();
    EXPECT_EQ(tipOf(0), L"Tip");
    EXPECT_EQ(tipOf(1), L"C:\\A\\tip.exe");
    EXPECT_EQ(tipOf(2), UserFolder());
    EXPECT_EQ(tipOf(3), L"own");
    // A dispatch gives them through its tail.
    View(L"two");
    EXPECT_EQ(tipOf(1), L"C:\\A\\tip.exe");
}

} // namespace
