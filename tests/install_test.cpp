// Adding a startup: frmInstall from "Add New Startup".
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "startups/frmInstall.h"
#include "system/Paths.h"
#include "system/cFileDialog.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <shlobj.h>

namespace {

constexpr wchar_t kRun[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The description of a shortcut (the one field LookPropertyLink does not give); "" for no shortcut.
std::wstring LinkDescription(const std::wstring& path) {
    ComPtr<IShellLinkW> shell;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.put_void())))
        return {};
    const auto file = shell.query<IPersistFile>();
    if (!file || FAILED(file->Load(path.c_str(), STGM_READ))) return {};
    wchar_t description[MAX_PATH] = {};
    shell->GetDescription(description, MAX_PATH);
    return description;
}

void WriteLink(const std::wstring& path, const std::wstring& target) {
    ComPtr<IShellLinkW> shell;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.put_void())));
    shell->SetPath(target.c_str());
    ASSERT_TRUE(SUCCEEDED(shell.query<IPersistFile>()->Save(path.c_str(), TRUE)));
}

// Every name in the folders, to show that nothing appeared anywhere.
std::set<std::wstring> Listing(const std::vector<std::wstring>& folders) {
    std::set<std::wstring> names;
    for (const auto& folder : folders) {
        WIN32_FIND_DATAW data{};
        UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
        if (!find) continue;
        do names.insert(folder + L"\\" + data.cFileName);
        while (FindNextFileW(find.get(), &data));
    }
    return names;
}

void Press(HWND window, int id) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

class InstallTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        userFolder = modSpecialFolder::GetSpecialFolder(modSpecialFolder::kUserStartup);
        commonFolder = modSpecialFolder::GetSpecialFolder(modSpecialFolder::kCommonStartup);
        ASSERT_FALSE(userFolder.empty());
        ASSERT_FALSE(commonFolder.empty());
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            for (const wchar_t* name : {L"Agent", L"   "}) RegDeleteKeyValueW(root, kRun, name);
        }
        for (const auto& folder : {userFolder, commonFolder}) DeleteFileW((folder + L"\\Agent.lnk").c_str());
        live = std::make_unique<TestUtil::LiveForm>();
    }
    void TearDown() override {
        if (frmInstall* open = frmInstall::Current()) open->Unload();
        live.reset();
    }

    frmInstall& Open() {
        frmInstall* dialog = frmInstall::Show(live->form.hwnd(), live->form);
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    static void Fill(HWND box, const std::wstring& text) { SetWindowTextW(box, text.c_str()); }
    static std::wstring Data(HKEY root, const std::wstring& name) { return TestUtil::ValueOrMissing(root, kRun, name); }
    // The last message shown, its text and flags.
    const Seam::MessageRequest& LastMessage() const { return seam.messages.back(); }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
    std::wstring userFolder, commonFolder;
};

TEST_F(InstallTest, OpensWithBothTabsAllUsersAndSwitchesFrames) {
    frmInstall& d = Open();
    EXPECT_EQ(d.ControlText(d.hwnd()), L"Install New Startup");
    EXPECT_EQ(d.ControlText(d.Label1), L"Install a New Startup Item");
    EXPECT_EQ(d.tabs.Caption(0), L"As Registry Startup");
    EXPECT_EQ(d.tabs.Caption(1), L"In Startup Folder");
    for (HWND combo : {d.cboUser, d.cboUserSF}) {
        EXPECT_EQ(d.ControlText(combo), L"All Users");
        ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
        wchar_t second[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(second));
        EXPECT_STREQ(second, L"Current User");
    }
    const struct {
        int frame, id;
        const wchar_t* text;
    } labels[] = {
        {0, frmInstall::IDC_lblName, L"Startup Name"},   {0, frmInstall::IDC_lblPath, L"Startup Path"},
        {0, frmInstall::IDC_cmdOpen, L"..."},            {0, frmInstall::IDC_lblSwitch, L"Optional Switch"},
        {0, frmInstall::IDC_lblUser, L"Install For"},    {0, frmInstall::IDC_cmdApply, L"Apply"},
        {1, frmInstall::IDC_lblNameSF, L"Startup Name"}, {1, frmInstall::IDC_lblPathSF, L"Startup Path"},
        {1, frmInstall::IDC_cmdOpenSF, L"..."},          {1, frmInstall::IDC_lblDesc, L"Description"},
        {1, frmInstall::IDC_lblUserSF, L"Install For"},  {1, frmInstall::IDC_cmdApplySF, L"Apply"},
    };
    for (const auto& l : labels)
        EXPECT_EQ(d.ControlText(GetDlgItem(d.tabs.Frame2[static_cast<size_t>(l.frame)], l.id)), l.text);

    EXPECT_TRUE(IsWindowVisible(d.tabs.TabStrip1));
    EXPECT_TRUE(IsWindowVisible(d.tabs.Frame2[0]));
    EXPECT_FALSE(IsWindowVisible(d.tabs.Frame2[1]));
    // A click on the second tab (the strip's own notification).
    SendMessageW(d.tabs.TabStrip1, TCM_SETCURSEL, 1, 0);
    NMHDR change{d.tabs.TabStrip1, frmInstall::IDC_TabStrip1, TCN_SELCHANGE};
    SendMessageW(d.hwnd(), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_FALSE(IsWindowVisible(d.tabs.Frame2[0]));
    EXPECT_TRUE(IsWindowVisible(d.tabs.Frame2[1]));
}

TEST_F(InstallTest, OnWindows2000OnlyTheRunKeyFrameShows) {
    const TestUtil::WindowsProduct product;
    ASSERT_TRUE(product.WasThere());
    product.Set(L"Microsoft Windows 2000");
    frmInstall& d = Open();
    EXPECT_FALSE(IsWindowVisible(d.tabs.TabStrip1));
    EXPECT_TRUE(IsWindowVisible(d.tabs.Frame2[0]));
    EXPECT_FALSE(IsWindowVisible(d.tabs.Frame2[1]));
}

TEST_F(InstallTest, RunValueGoesIntoTheChosenHiveWithItsCommand) {
    const struct {
        const wchar_t* user;
        const wchar_t* name;
        const wchar_t* path;
        const wchar_t* switches;
        HKEY root;
        const wchar_t* data;
    } cases[] = {
        {L"All Users", L"Agent", L"C:\\Tools\\agent.exe", L"/min", HKEY_LOCAL_MACHINE, L"C:\\Tools\\agent.exe /min"},
        {L"Current User", L"Agent", L"C:\\Tools\\agent.exe", L"/min", HKEY_CURRENT_USER, L"C:\\Tools\\agent.exe /min"},
        {L"all users", L"Agent", L"C:\\Tools\\agent.exe", L"", HKEY_LOCAL_MACHINE, L"C:\\Tools\\agent.exe"},
        {L"Anyone", L"Agent", L"C:\\Tools\\agent.exe", L"", HKEY_CURRENT_USER, L"C:\\Tools\\agent.exe"},
        // One leading blank of the switch goes; a second one stays.
        {L"All Users", L"Agent", L"C:\\Tools\\agent.exe", L" /min", HKEY_LOCAL_MACHINE, L"C:\\Tools\\agent.exe /min"},
        {L"All Users", L"Agent", L"C:\\Tools\\agent.exe", L"  /min", HKEY_LOCAL_MACHINE, L"C:\\Tools\\agent.exe  /min"},
        {L"All Users", L"Agent", L"C:\\Tools\\agent.exe", L" ", HKEY_LOCAL_MACHINE, L"C:\\Tools\\agent.exe"},
        // A program path with a blank is quoted, up to its ".exe" when arguments follow.
        {L"All Users", L"Agent", L"C:\\Program Files\\Agent\\agent.exe", L"/min", HKEY_LOCAL_MACHINE,
         L"\"C:\\Program Files\\Agent\\agent.exe\" /min"},
        {L"All Users", L"Agent", L"C:\\Program Files\\Agent\\agent.EXE -s", L"/min", HKEY_LOCAL_MACHINE,
         L"\"C:\\Program Files\\Agent\\agent.EXE\" -s /min"},
        {L"All Users", L"Agent", L"C:\\My Tools\\run.bat", L"", HKEY_LOCAL_MACHINE, L"\"C:\\My Tools\\run.bat\""},
        {L"All Users", L"Agent", L"C:\\Tools\\agent.exe -s", L"", HKEY_LOCAL_MACHINE, L"C:\\Tools\\agent.exe -s"},
        {L"All Users", L"Agent", L"\"C:\\Program Files\\a.exe\" -s", L"", HKEY_LOCAL_MACHINE,
         L"\"C:\\Program Files\\a.exe\" -s"},
        // A name of blanks is a name.
        {L"All Users", L"   ", L"C:\\Tools\\agent.exe", L"", HKEY_LOCAL_MACHINE, L"C:\\Tools\\agent.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.user << " [" << c.path << "] [" << c.switches << "]");
        const HKEY other = c.root == HKEY_LOCAL_MACHINE ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        RegDeleteKeyValueW(c.root, kRun, c.name);
        live->form.SelectNode(L"three");
        seam.messages.clear();
        frmInstall& d = Open();
        Fill(d.txtName, c.name);
        Fill(d.txtPath, c.path);
        Fill(d.txtSwitch, c.switches);
        Fill(d.cboUser, c.user);
        Press(d.tabs.Frame2[0], frmInstall::IDC_cmdApply);
        EXPECT_EQ(Data(c.root, c.name), c.data);
        EXPECT_EQ(Data(other, c.name), L"<missing>");
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(LastMessage().text, L"New Startup added successfully!     ");
        EXPECT_EQ(LastMessage().flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        EXPECT_EQ(frmInstall::Current(), nullptr);
        EXPECT_EQ(live->form.SelectedNodeKey(), L"one");
        RegDeleteKeyValueW(c.root, kRun, c.name);
    }
}

TEST_F(InstallTest, MissingRunKeyOfTheUserIsCreated) {
    ASSERT_TRUE(TestUtil::DeleteTree(HKEY_CURRENT_USER, kRun));
    frmInstall& d = Open();
    Fill(d.txtName, L"Agent");
    Fill(d.txtPath, L"C:\\Tools\\agent.exe");
    Fill(d.cboUser, L"Current User");
    Press(d.tabs.Frame2[0], frmInstall::IDC_cmdApply);
    EXPECT_EQ(Data(HKEY_CURRENT_USER, L"Agent"), L"C:\\Tools\\agent.exe");
    EXPECT_EQ(LastMessage().text, L"New Startup added successfully!     ");
}

TEST_F(InstallTest, EmptyNameOrPathIsRefusedAndNothingIsWritten) {
    const struct {
        int tab;
        const wchar_t* name;
        const wchar_t* path;
    } cases[] = {{0, L"", L"C:\\Tools\\agent.exe"}, {0, L"Agent", L""}, {1, L"", L"C:\\Tools\\agent.exe"},
                 {1, L"Agent", L""}};
    const auto before = Listing({userFolder, commonFolder});
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tab << " [" << c.name << "] [" << c.path << "]");
        seam.messages.clear();
        frmInstall& d = Open();
        HWND name = c.tab == 0 ? d.txtName : d.txtNameSF;
        HWND path = c.tab == 0 ? d.txtPath : d.txtPathSF;
        Fill(name, c.name);
        Fill(path, c.path);
        Fill(d.txtSwitch, L" /min");
        Press(d.tabs.Frame2[static_cast<size_t>(c.tab)], c.tab == 0 ? frmInstall::IDC_cmdApply : frmInstall::IDC_cmdApplySF);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(LastMessage().text, L"You must enter Startup Name and select a Startup Path     ");
        EXPECT_EQ(LastMessage().flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(LastMessage().caption, L"Corvell");
        ASSERT_EQ(frmInstall::Current(), &d);  // open, with its fields as they were
        EXPECT_EQ(d.ControlText(name), c.name);
        EXPECT_EQ(d.ControlText(path), c.path);
        EXPECT_EQ(d.ControlText(d.txtSwitch), L" /min");
        d.Unload();
    }
    EXPECT_EQ(Data(HKEY_LOCAL_MACHINE, L"Agent"), L"<missing>");
    EXPECT_EQ(Listing({userFolder, commonFolder}), before);
}

TEST_F(InstallTest, ApplyAgainAfterARefusalWritesTheSwitchOnce) {
    frmInstall& d = Open();
    Fill(d.txtPath, L"C:\\Tools\\agent.exe");
    Fill(d.txtSwitch, L" /min");
    Press(d.tabs.Frame2[0], frmInstall::IDC_cmdApply);  // no name yet
    EXPECT_EQ(d.ControlText(d.txtPath), L"C:\\Tools\\agent.exe");
    EXPECT_EQ(d.ControlText(d.txtSwitch), L" /min");
    Fill(d.txtName, L"Agent");
    Press(d.tabs.Frame2[0], frmInstall::IDC_cmdApply);
    EXPECT_EQ(Data(HKEY_LOCAL_MACHINE, L"Agent"), L"C:\\Tools\\agent.exe /min");
}

TEST_F(InstallTest, ExistingRunValueIsReplacedOnlyWhenTheUserSaysYes) {
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Agent", L"C:\\Old\\old.exe -q");
    frmInstall& d = Open();
    Fill(d.txtName, L"Agent");
    Fill(d.txtPath, L"C:\\Tools\\agent.exe");
    Fill(d.txtSwitch, L"/min");
    seam.answers = {IDNO};
    Press(d.tabs.Frame2[0], frmInstall::IDC_cmdApply);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text,
              L"A Startup named Agent already exists with the command C:\\Old\\old.exe -q.  Do you want to replace it?     ");
    EXPECT_EQ(LastMessage().flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(Data(HKEY_LOCAL_MACHINE, L"Agent"), L"C:\\Old\\old.exe -q");
    ASSERT_EQ(frmInstall::Current(), &d);
    EXPECT_EQ(d.ControlText(d.txtPath), L"C:\\Tools\\agent.exe");

    seam.answers = {IDYES};
    Press(d.tabs.Frame2[0], frmInstall::IDC_cmdApply);
    EXPECT_EQ(Data(HKEY_LOCAL_MACHINE, L"Agent"), L"C:\\Tools\\agent.exe /min");  // the switch once
    EXPECT_EQ(LastMessage().text, L"New Startup added successfully!     ");
    EXPECT_EQ(frmInstall::Current(), nullptr);
}

TEST_F(InstallTest, RunValueThatCannotBeWrittenIsReportedAndTheDialogStays) {
    // A value name longer than the registry allows.
    const std::wstring name(17000, L'n');
    frmInstall& d = Open();
    SendMessageW(d.txtName, EM_SETLIMITTEXT, 0, 0);
    Fill(d.txtName, name);
    Fill(d.txtPath, L"C:\\Tools\\agent.exe");
    Press(d.tabs.Frame2[0], frmInstall::IDC_cmdApply);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text, L"The Startup " + name +
                                      L" could not be written to "
                                      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run.     ");
    EXPECT_EQ(LastMessage().flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(frmInstall::Current(), &d);
    EXPECT_FALSE(TestUtil::ValueExists(HKEY_LOCAL_MACHINE, kRun, name));
}

TEST_F(InstallTest, ShortcutGetsTargetWorkingFolderAndDescriptionWhenGiven) {
    const struct {
        const wchar_t* user;
        std::wstring folder;
        const wchar_t* description;
    } cases[] = {
        {L"Current User", userFolder, L""},
        {L"All Users", commonFolder, L"Starts the agent"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.user);
        const std::wstring other = c.folder == userFolder ? commonFolder : userFolder;
        frmInstall& d = Open();
        Fill(d.txtNameSF, L"Agent");
        Fill(d.txtPathSF, L"C:\\Tools\\agent.exe");
        Fill(d.txtDesc, c.description);
        Fill(d.cboUserSF, c.user);
        Press(d.tabs.Frame2[1], frmInstall::IDC_cmdApplySF);
        const std::wstring link = c.folder + L"\\Agent.lnk";
        EXPECT_EQ(live->form.LookPropertyLink(link, L"TARGET"), L"C:\\Tools\\agent.exe");
        EXPECT_EQ(live->form.LookPropertyLink(link, L"START"), L"C:\\Tools");
        EXPECT_EQ(LinkDescription(link), c.description);
        EXPECT_FALSE(MyMod::FileExists(other + L"\\Agent.lnk"));
        EXPECT_EQ(LastMessage().text, L"New Startup added successfully!     ");
        EXPECT_EQ(frmInstall::Current(), nullptr);
        EXPECT_EQ(live->form.SelectedNodeKey(), L"one");
        DeleteFileW((c.folder + L"\\Agent.lnk").c_str());
    }
}

TEST_F(InstallTest, ExistingShortcutIsReplacedOnlyWhenTheUserSaysYes) {
    const std::wstring path = userFolder + L"\\Agent.lnk";
    WriteLink(path, L"C:\\Old\\old.exe");
    frmInstall& d = Open();
    Fill(d.txtNameSF, L"Agent");
    Fill(d.txtPathSF, L"C:\\Tools\\agent.exe");
    Fill(d.cboUserSF, L"Current User");
    seam.answers = {IDNO};
    Press(d.tabs.Frame2[1], frmInstall::IDC_cmdApplySF);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text,
              L"A Startup named Agent already exists with the target C:\\Old\\old.exe.  Do you want to replace it?     ");
    EXPECT_EQ(LastMessage().flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(live->form.LookPropertyLink(path, L"TARGET"), L"C:\\Old\\old.exe");
    ASSERT_EQ(frmInstall::Current(), &d);

    const auto before = Listing({userFolder});
    seam.answers = {IDYES};
    Press(d.tabs.Frame2[1], frmInstall::IDC_cmdApplySF);
    EXPECT_EQ(live->form.LookPropertyLink(path, L"TARGET"), L"C:\\Tools\\agent.exe");
    EXPECT_EQ(Listing({userFolder}), before);  // replaced in place, nothing left beside it
    EXPECT_EQ(LastMessage().text, L"New Startup added successfully!     ");
}

// Another program that has the shortcut open for a moment (the shell, a virus scanner) does not
// make the replace fail.
TEST_F(InstallTest, AShortcutHeldOpenForAMomentIsStillReplaced) {
    const std::wstring path = userFolder + L"\\Agent.lnk";
    WriteLink(path, L"C:\\Old\\old.exe");
    const auto before = Listing({userFolder});
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    // Let go a moment after the new shortcut is saved beside the old one, well within the time
    // the move is tried again.
    bool sawNewFile = false;
    std::thread releaser([&, held] {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(10)) {
            if (Listing({userFolder}) != before) {
                sawNewFile = true;
                Sleep(300);
                break;
            }
        }
        CloseHandle(held);
    });
    frmInstall& d = Open();
    Fill(d.txtNameSF, L"Agent");
    Fill(d.txtPathSF, L"C:\\Tools\\agent.exe");
    Fill(d.cboUserSF, L"Current User");
    seam.answers = {IDYES};
    Press(d.tabs.Frame2[1], frmInstall::IDC_cmdApplySF);
    releaser.join();
    EXPECT_TRUE(sawNewFile);
    EXPECT_EQ(LastMessage().text, L"New Startup added successfully!     ");
    EXPECT_EQ(live->form.LookPropertyLink(path, L"TARGET"), L"C:\\Tools\\agent.exe");
    EXPECT_EQ(Listing({userFolder}), before);
}

TEST_F(InstallTest, ShortcutNamesThatAreNoFileNameAreRefusedAndNothingAppears) {
    const std::wstring programs = MyMod::GetParentFolder(userFolder, true);
    const std::vector<std::wstring> watched = {userFolder, commonFolder, programs,
                                               MyMod::GetParentFolder(commonFolder, true), L"C:",
                                               TestUtil::ProgramFolder()};
    const auto before = Listing(watched);
    const wchar_t* names[] = {L"a\\b", L"..\\x", L"a:b", L"a/b", L"a*b", L"a?b", L"a\"b", L"a<b", L"a>b", L"a|b",
                              L"a\tb"};
    for (const wchar_t* name : names) {
        SCOPED_TRACE(name);
        seam.messages.clear();
        frmInstall& d = Open();
        Fill(d.txtNameSF, name);
        Fill(d.txtPathSF, L"C:\\Tools\\agent.exe");
        Fill(d.cboUserSF, L"Current User");
        Press(d.tabs.Frame2[1], frmInstall::IDC_cmdApplySF);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(LastMessage().text,
                  L"A Startup Name in a Startup folder cannot hold \\ / : * ? \" < > | or control characters.     ");
        EXPECT_EQ(LastMessage().flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        ASSERT_EQ(frmInstall::Current(), &d);
        EXPECT_EQ(d.ControlText(d.txtNameSF), name);
        d.Unload();
    }
    EXPECT_EQ(Listing(watched), before);
}

TEST_F(InstallTest, ShortcutThatCannotBeSavedIsReportedAndNothingIsWritten) {
    // The Startup folder made a file, and a name too long for a path.
    const std::wstring moved = userFolder + L".away";
    ASSERT_TRUE(MoveFileW(userFolder.c_str(), moved.c_str()));
    { UniqueHandle file(CreateFileW(userFolder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)); }
    frmInstall* d = &Open();
    Fill(d->txtNameSF, L"Agent");
    Fill(d->txtPathSF, L"C:\\Tools\\agent.exe");
    Fill(d->cboUserSF, L"Current User");
    Press(d->tabs.Frame2[1], frmInstall::IDC_cmdApplySF);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(LastMessage().flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_NE(LastMessage().text, L"New Startup added successfully!     ");
    EXPECT_EQ(frmInstall::Current(), d);
    d->Unload();
    EXPECT_TRUE(MyMod::FileExists(userFolder));
    EXPECT_FALSE(MyMod::FolderExists(userFolder + L"\\Agent.lnk"));
    EXPECT_FALSE(MyMod::FileExists(MyMod::GetParentFolder(userFolder, true) + L"\\Agent.lnk"));
    EXPECT_FALSE(MyMod::FileExists(L"C:\\Agent.lnk"));
    ASSERT_TRUE(DeleteFileW(userFolder.c_str()));
    ASSERT_TRUE(MoveFileW(moved.c_str(), userFolder.c_str()));

    const auto before = Listing({userFolder});
    const std::wstring longName(300, L'x');
    seam.messages.clear();
    d = &Open();
    Fill(d->txtNameSF, longName);
    Fill(d->txtPathSF, L"C:\\Tools\\agent.exe");
    Fill(d->cboUserSF, L"Current User");
    Press(d->tabs.Frame2[1], frmInstall::IDC_cmdApplySF);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text,
              L"The shortcut " + userFolder + L"\\" + longName + L".lnk could not be saved.  Nothing was added.     ");
    EXPECT_EQ(frmInstall::Current(), d);
    EXPECT_EQ(Listing({userFolder}), before);  // no passing file left behind
}

TEST_F(InstallTest, BrowsePutsTheChosenProgramInThePathAndACancelKeepsWhatWasTyped) {
    for (const int tab : {0, 1}) {
        SCOPED_TRACE(tab);
        frmInstall& d = Open();
        HWND path = tab == 0 ? d.txtPath : d.txtPathSF;
        const int browse = tab == 0 ? frmInstall::IDC_cmdOpen : frmInstall::IDC_cmdOpenSF;
        Fill(path, L"C:\\Typed\\typed.exe");
        seam.dialogs.clear();
        Press(d.tabs.Frame2[static_cast<size_t>(tab)], browse);  // cancelled
        EXPECT_EQ(d.ControlText(path), L"C:\\Typed\\typed.exe");
        ASSERT_EQ(seam.dialogs.size(), 1u);
        const auto& r = seam.dialogs[0];
        EXPECT_FALSE(r.save);
        EXPECT_EQ(r.owner, d.hwnd());
        EXPECT_EQ(r.title, L"Select an application");
        EXPECT_EQ(r.filter, cFileDialog::FilterText(L"Application Executable (*.exe)|*.exe| All Files (*.*)|*.*|"));
        EXPECT_EQ(r.flags, 4096u);
        EXPECT_EQ(r.fileName, L"");

        seam.dialogAnswers.push_back({true, L"C:\\Tools\\picked.exe", 1});
        Press(d.tabs.Frame2[static_cast<size_t>(tab)], browse);
        EXPECT_EQ(d.ControlText(path), L"C:\\Tools\\picked.exe");
        d.Unload();
    }
}

TEST_F(InstallTest, AddNewStartupAddsEachKindAndAllStartupsListsIt) {
    live->form.SelectNode(L"three");
    live->form.tvwDemo_NodeClick(L"three");
    bool ownerDisabled = false;
    TestUtil::AfterDelay(150, [&] {
        frmInstall* d = frmInstall::Current();
        if (!d) return;
        ownerDisabled = !IsWindowEnabled(live->form.hwnd());
        Fill(d->txtName, L"Agent");
        Fill(d->txtPath, L"C:\\Tools\\agent.exe");
        Fill(d->txtSwitch, L"/min");
        Press(d->tabs.Frame2[0], frmInstall::IDC_cmdApply);
    });
    SendMessageW(live->form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuNew, 0), 0);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(live->form.hwnd()));
    EXPECT_EQ(frmInstall::Current(), nullptr);
    EXPECT_EQ(live->form.SelectedNodeKey(), L"one");
    const int row = ListView::FindRow(live->form.lv2, L"Agent");
    ASSERT_GE(row, 0);
    EXPECT_EQ(ListView::Text(live->form.lv2, row, 1), L"C:\\Tools\\agent.exe /min");

    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRun, L"Agent");
    TestUtil::AfterDelay(150, [&] {
        frmInstall* d = frmInstall::Current();
        if (!d) return;
        d->tabs.SelectTab(1);
        Fill(d->txtNameSF, L"Folder Agent");
        Fill(d->txtPathSF, L"C:\\Tools\\agent.exe");
        Press(d->tabs.Frame2[1], frmInstall::IDC_cmdApplySF);
    });
    SendMessageW(live->form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuNew, 0), 0);
    EXPECT_TRUE(MyMod::FileExists(commonFolder + L"\\Folder Agent.lnk"));
    EXPECT_EQ(live->form.SelectedNodeKey(), L"one");
    const int folderRow = ListView::FindRow(live->form.lv2, L"Folder Agent");
    ASSERT_GE(folderRow, 0);
    EXPECT_EQ(ListView::Text(live->form.lv2, folderRow, 1), L"C:\\Tools\\agent.exe");
    EXPECT_LT(ListView::FindRow(live->form.lv2, L"Agent"), 0);
    DeleteFileW((commonFolder + L"\\Folder Agent.lnk").c_str());

    // Closed without Apply: nothing added, the view reloaded all the same.
    TestUtil::AfterDelay(150, [&] {
        if (frmInstall* d = frmInstall::Current()) SendMessageW(d->hwnd(), WM_CLOSE, 0, 0);
    });
    SendMessageW(live->form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuNew, 0), 0);
    EXPECT_EQ(frmInstall::Current(), nullptr);
    EXPECT_FALSE(TestUtil::ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Agent"));
}

} // namespace
