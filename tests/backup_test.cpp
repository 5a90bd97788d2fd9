// Backup and restore of all startups in a real main window, with the prefix's own reg.exe and
// regedit run for real, real Startup folders, legacy files and Winlogon value.
#include "ServiceFixtures.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "startups/modRegKeys.h"
#include "system/App.h"
#include "system/Files.h"
#include "system/FirstSeen.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/Registry.h"
#include "system/SafeFile.h"
#include "system/Text.h"

#include <gtest/gtest.h>
#include <sddl.h>
#include <shlobj.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::wstring kSettings = L"Software\\Ferrowyn\\Corvell";
const std::wstring kRecords = kSettings + L"\\Backups";
const std::wstring kStagingRecords = kSettings + L"\\Backups.new";
const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kWinlogon = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr DWORD kAttributeMask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kReadOnlyHiddenSystem = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

const std::wstring kCompletedOn = L"Backup Completed on ";
const std::wstring kBackupFailed =
    L"The backup could not be made, so the earlier backup, if any, was left as it was.  What failed:\r\n\r\n";

std::wstring BackupFolder() { return App::Path() + L"\\Backups"; }
std::wstring Backup(const std::wstring& name) { return BackupFolder() + L"\\" + name; }
std::wstring Root() { return MyMod::GetWindowsDir().substr(0, 3); }
std::wstring CommonStartup() { return modSpecialFolder::GetSpecialFolder(modSpecialFolder::kCommonStartup); }
std::wstring UserStartup() { return modSpecialFolder::GetSpecialFolder(modSpecialFolder::kUserStartup); }
std::wstring UserinitExe() { return MyMod::GetSystemDir() + L"\\userinit.exe"; }

void PutFile(const std::wstring& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    (void)Files::RemoveFile(path);
    ASSERT_EQ(SafeFile::Write(path, bytes), static_cast<DWORD>(ERROR_SUCCESS)) << path;
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes)) << path;
}

// The file's last-modified time as local short date, a blank and long time.
std::wstring FileDate(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    SYSTEMTIME universal{}, local{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return L"<missing>";
    FileTimeToSystemTime(&data.ftLastWriteTime, &universal);
    SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
    return FirstSeen::DateText(local);
}

std::string Bytes(const std::wstring& path) { return MyMod::ReadWholeFile(path).value_or("<missing>"); }
DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()) & kAttributeMask; }

// A real shell shortcut to target.
void MakeShortcut(const std::wstring& path, const std::wstring& target) {
    ComPtr<IShellLinkW> link;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())));
    link->SetPath(target.c_str());
    const auto file = link.query<IPersistFile>();
    ASSERT_TRUE(file && SUCCEEDED(file->Save(path.c_str(), TRUE))) << path;
}

// Every file of a folder and of its sub-folders: bytes and attributes, by the path inside it.
std::map<std::wstring, std::pair<std::string, DWORD>> FolderSnapshot(const std::wstring& folder,
                                                                     const std::wstring& prefix = L"") {
    std::map<std::wstring, std::pair<std::string, DWORD>> files;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return files;
    do {
        const std::wstring name = data.cFileName;
        const std::wstring path = folder + L"\\" + name;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files[prefix + name] = {Bytes(path), Attributes(path)};
        else if (name != L"." && name != L"..") files.merge(FolderSnapshot(path, prefix + name + L"\\"));
    } while (FindNextFileW(find.get(), &data));
    return files;
}

// The names of the files that differ between two snapshots in bytes or attributes, or are in one only.
std::vector<std::wstring> Changed(const std::map<std::wstring, std::pair<std::string, DWORD>>& now,
                                  const std::map<std::wstring, std::pair<std::string, DWORD>>& before) {
    std::vector<std::wstring> changed;
    for (const auto& [name, file] : now)
        if (!before.count(name) || before.at(name) != file) changed.push_back(name);
    for (const auto& [name, file] : before)
        if (!now.count(name)) changed.push_back(name);
    return changed;
}

std::map<std::wstring, std::wstring> Records() {
    std::map<std::wstring, std::wstring> records;
    if (const auto values = Registry::EnumValues(HKEY_LOCAL_MACHINE, kRecords))
        for (const auto& v : *values) records[v.name] = v.text;
    return records;
}

void ClearFolderFiles(const std::wstring& folder) {
    for (const auto& [name, file] : FolderSnapshot(folder)) (void)Files::RemoveFile(folder + L"\\" + name);
}

void DeleteValue(HKEY root, const std::wstring& sub, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
}

std::wstring Userinit() { return TestUtil::ValueOrMissing(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit"); }

// The UTF-16 text of a file after its byte-order mark.
std::wstring Utf16Text(const std::string& bytes) {
    if (bytes.size() < 2) return {};
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
}

size_t Count(const std::wstring& text, const std::wstring& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The export files a backup must never leave behind, wherever they could be.
std::vector<std::wstring> ExportFilesLeft() {
    std::vector<std::wstring> left;
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    for (const std::wstring& folder : {BackupFolder(), App::Path(), std::wstring(current), App::Path() + L"\\Backups.new"}) {
        WIN32_FIND_DATAW data{};
        UniqueFindHandle find(FindFirstFileW((folder + L"\\HKEY_*.reg").c_str(), &data));
        if (!find) continue;
        do left.push_back(folder + L"\\" + data.cFileName);
        while (FindNextFileW(find.get(), &data));
    }
    return left;
}

class BackupTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        for (const wchar_t* folder : {L"\\Backups", L"\\Backups.new", L"\\Backups.old"})
            ASSERT_TRUE(Files::RemoveFolder(App::Path() + folder));
        ClearFolderFiles(CommonStartup());
        ClearFolderFiles(UserStartup());
        for (const wchar_t* name : {L"AutoExec.bat", L"Config.sys", L"Boot.ini"}) (void)Files::RemoveFile(Root() + name);
        winIni_ = Bytes(WinIni());
        PutFile(UserinitExe(), "MZ");
        userinit_ = MyMod::StandardUserinit();
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit", userinit_);
        seam.runProcesses = true;
    }
    void TearDown() override {
        live.reset();
        PutFile(WinIni(), winIni_);
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            for (const wchar_t* name : {L"Machine App", L"User App", L"Added", L"Newer"}) DeleteValue(root, kRun, name);
    }

    static std::wstring WinIni() { return MyMod::GetWindowsDir() + L"\\win.ini"; }

    // The window opens on the Win.ini view, whose reload lists no startup: a reload then
    // announces none of those a test adds.
    void Open() {
        live = std::make_unique<TestUtil::LiveForm>();
        if (form().SelectNode(L"four")) form().tvwDemo_NodeClick(form().SelectedNodeKey());
        seam.messages.clear();
    }
    Form1& form() { return live->form; }
    void Command(UINT id) { SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // A machine with something of every kind: Run values, the three root legacy files (Boot.ini
    // read-only, hidden and system), and shortcuts in both Startup folders, two of them named alike.
    void MakeStartups() {
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Machine App", L"\"C:\\Program Files\\m\\m.exe\" /tray");
        TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"User App", L"C:\\u\\u.exe");
        PutFile(Root() + L"AutoExec.bat", "@echo off\r\n");
        PutFile(Root() + L"Config.sys", "FILES=40\r\n");
        PutFile(Root() + L"Boot.ini", "[boot loader]\r\ntimeout=30\r\n", kReadOnlyHiddenSystem);
        MakeShortcut(CommonStartup() + L"\\Same.lnk", L"C:\\common\\same.exe");
        MakeShortcut(UserStartup() + L"\\Same.lnk", L"C:\\user\\same.exe");
        MakeShortcut(UserStartup() + L"\\Only.lnk", L"C:\\user\\only.exe");
    }

    // A first backup of MakeStartups' machine; what it saved is kept to compare with.
    void BackUpOnce() {
        MakeStartups();
        Open();
        Command(IDM_mnuBackup);
        files = FolderSnapshot(BackupFolder());
        records = Records();
        ASSERT_EQ(records.size(), 3u);
        ASSERT_EQ(files.at(L"Boot.ini").second, kReadOnlyHiddenSystem);
    }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
    std::wstring userinit_;
    std::map<std::wstring, std::pair<std::string, DWORD>> files;
    std::map<std::wstring, std::wstring> records;

private:
    std::string winIni_;
};

TEST_F(BackupTest, FirstRunBackupSavesEveryKindOfStartupFromBothFolders) {
    MakeStartups();
    const std::wstring userinit = MyMod::GetSystemDir() + L"\\userinit.exe,C:\\Program Files\\Agent \"x\"\\a.exe,";
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit", userinit);
    DeleteValue(HKEY_LOCAL_MACHINE, kSettings, L"Backup");
    seam.answers = {IDYES};
    live = std::make_unique<TestUtil::LiveForm>();

    // The first-run question, then the completion: no replace question came between.
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[0].caption, L"First Run Backup Warning");
    EXPECT_EQ(seam.messages[1].text, kCompletedOn + FileDate(Backup(L"RegKeys.reg")));
    EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(seam.messages[1].caption, App::Title());

    const std::string regKeys = Bytes(Backup(L"RegKeys.reg"));
    ASSERT_GT(regKeys.size(), 2u);
    EXPECT_EQ(regKeys.substr(0, 2), "\xFF\xFE");
    const std::wstring text = Utf16Text(regKeys);
    EXPECT_EQ(text.rfind(L"Windows Registry Editor Version 5.00\r\n\r\n[", 0), 0u);
    EXPECT_EQ(Count(text, L"Windows Registry Editor"), 1u);
    // A section for each key there is; HKCU RunOnce and RunOnceEx do not exist here.
    for (const wchar_t* section : {L"\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n",
                                   L"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n",
                                   L"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\r\n",
                                   L"\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services]\r\n"})
        EXPECT_EQ(Count(text, section), 1u) << section;
    EXPECT_EQ(Count(text, L"RunOnceEx]"), 0u);
    EXPECT_EQ(Count(text, L"\"Machine App\"=\"\\\"C:\\\\Program Files\\\\m\\\\m.exe\\\" /tray\""), 1u);
    EXPECT_EQ(ExportFilesLeft(), std::vector<std::wstring>{});
    EXPECT_FALSE(MyMod::FolderExists(App::Path() + L"\\Backups.new"));
    EXPECT_FALSE(Registry::KeyExists(HKEY_LOCAL_MACHINE, kStagingRecords));

    // WL.reg gives the value back exactly, blank, backslashes and quotes included.
    const auto wl = MyMod::ReadWholeFile(Backup(L"WL.reg"));
    ASSERT_TRUE(wl);
    const auto read = modRegKeys::ReadUserinitReg(*wl);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, userinit);
    EXPECT_EQ(wl->rfind("REGEDIT4\r\n", 0), 0u);  // text the code page holds keeps the earlier form

    for (const auto& [live, copy] : std::vector<std::pair<std::wstring, std::wstring>>{
             {WinIni(), L"Win.ini"},
             {MyMod::GetWindowsDir() + L"\\system.ini", L"System.ini"},
             {Root() + L"AutoExec.bat", L"Autoexec.bat"},
             {Root() + L"Boot.ini", L"Boot.ini"},
             {Root() + L"Config.sys", L"Config.sys"}})
        EXPECT_EQ(Bytes(Backup(copy)), Bytes(live)) << copy;

    // Each folder's shortcuts in a sub-folder of their own, named like the record.
    const std::map<std::wstring, std::wstring> expected = {
        {L"All Users Startup\\Same.lnk", CommonStartup() + L"\\Same.lnk"},
        {L"User Startup\\Same.lnk", UserStartup() + L"\\Same.lnk"},
        {L"User Startup\\Only.lnk", UserStartup() + L"\\Only.lnk"},
    };
    EXPECT_EQ(Records(), expected);
    for (const auto& [copy, livePath] : expected) EXPECT_EQ(Bytes(Backup(copy)), Bytes(livePath)) << copy;
}

TEST_F(BackupTest, ShortcutsAreSavedWhateverViewIsOnScreen) {
    MakeStartups();
    Open();
    for (const wchar_t* node : {L"another11", L"six", L"four"}) {
        SCOPED_TRACE(node);
        ASSERT_TRUE(form().SelectNode(node));
        form().tvwDemo_NodeClick(form().SelectedNodeKey());
        seam.messages.clear();
        seam.answers = {IDYES};
        Command(IDM_mnuBackup);
        ASSERT_FALSE(seam.messages.empty());
        EXPECT_TRUE(Text::StartsWithNoCase(seam.messages.back().text, kCompletedOn)) << seam.messages.back().text;
        EXPECT_EQ(Records().size(), 3u);
        EXPECT_EQ(form().SelectedNodeKey(), node);  // the view it started from was reloaded
    }
}

TEST_F(BackupTest, ASecondBackupAsksFirstAndNoChangesNothing) {
    BackUpOnce();
    // A second later, so a replaced RegKeys.reg would show in its time too.
    Sleep(1100);
    TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"Newer", L"C:\\n.exe");
    seam.messages.clear();
    seam.processes.clear();

    Command(IDM_mnuBackup);  // answered No
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"This will replace the backup created " + FileDate(Backup(L"RegKeys.reg")) +
                                         L" with your current settings.\r\n Are you sure you want to do this?");
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(seam.messages[0].caption, App::Title());
    EXPECT_TRUE(seam.processes.empty());
    EXPECT_EQ(Changed(FolderSnapshot(BackupFolder()), files), std::vector<std::wstring>{});
    EXPECT_EQ(Records(), records);
}

TEST_F(BackupTest, AFailedBackupLeavesThePreviousOneWhole) {
    BackUpOnce();
    // The machine changes, so a backup that went through would differ everywhere.
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Added", L"C:\\added.exe");
    PutFile(Root() + L"Config.sys", "FILES=80\r\n");
    MakeShortcut(CommonStartup() + L"\\New.lnk", L"C:\\new.exe");

    const struct {
        const wchar_t* what;
        long result;
        const wchar_t* named;
    } cases[] = {
        {L"an export that fails", 1, L"The export of HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services ended "
                                     L"with the error code 1."},
        {L"an export past its time limit", Seam::kProcessTimedOut,
         L"The export of HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services did not end within 60 seconds and "
         L"was stopped."},
        {L"reg.exe that cannot start", Seam::kProcessNotStarted,
         L"The export of HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services could not be started."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        seam.scriptProcess = [&c](const Seam::ProcessRequest& r) -> std::optional<long> {
            if (Text::ContainsNoCase(r.commandLine, L"CurrentControlSet\\Services")) return c.result;
            return std::nullopt;
        };
        seam.messages.clear();
        seam.answers = {IDYES};
        Command(IDM_mnuBackup);
        ASSERT_EQ(seam.messages.size(), 2u);
        EXPECT_EQ(seam.messages[1].text, kBackupFailed + c.named);
        EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(Changed(FolderSnapshot(BackupFolder()), files), std::vector<std::wstring>{});
        EXPECT_EQ(Records(), records);
        EXPECT_FALSE(MyMod::FolderExists(App::Path() + L"\\Backups.new"));
        EXPECT_FALSE(Registry::KeyExists(HKEY_LOCAL_MACHINE, kStagingRecords));
        EXPECT_EQ(ExportFilesLeft(), std::vector<std::wstring>{});
    }

    // With the exports working again the next backup replaces the old one, its read-only,
    // hidden and system Boot.ini copy included, and its records.
    seam.scriptProcess = nullptr;
    PutFile(Root() + L"Boot.ini", "[boot loader]\r\ntimeout=5\r\n", kReadOnlyHiddenSystem);
    seam.messages.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuBackup);
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_TRUE(Text::StartsWithNoCase(seam.messages[1].text, kCompletedOn)) << seam.messages[1].text;
    EXPECT_EQ(Bytes(Backup(L"Boot.ini")), "[boot loader]\r\ntimeout=5\r\n");
    EXPECT_EQ(Bytes(Backup(L"Config.sys")), "FILES=80\r\n");
    EXPECT_EQ(Records().size(), 4u);
    EXPECT_EQ(Records().at(L"All Users Startup\\New.lnk"), CommonStartup() + L"\\New.lnk");
    EXPECT_EQ(Count(Utf16Text(Bytes(Backup(L"RegKeys.reg"))), L"\"Added\"=\"C:\\\\added.exe\""), 1u);
    EXPECT_FALSE(MyMod::FolderExists(App::Path() + L"\\Backups.old"));
}

TEST_F(BackupTest, ABackupThatCannotTakeTheOldOnesPlaceLeavesItWhole) {
    BackUpOnce();
    // What a backup interrupted while it took the old one's place left, held open so that it
    // cannot be cleared away.
    const std::wstring retired = App::Path() + L"\\Backups.old";
    ASSERT_TRUE(CreateDirectoryW(retired.c_str(), nullptr));
    PutFile(retired + L"\\RegKeys.reg", "held");
    UniqueHandle held(CreateFileW((retired + L"\\RegKeys.reg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    ASSERT_TRUE(held);
    MakeShortcut(CommonStartup() + L"\\New.lnk", L"C:\\new.exe");
    seam.messages.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuBackup);
    held.reset();
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[1].text,
              kBackupFailed + L"The folder " + retired + L", left by an earlier backup, could not be removed.");
    EXPECT_EQ(Changed(FolderSnapshot(BackupFolder()), files), std::vector<std::wstring>{});
    EXPECT_EQ(Records(), records);
    EXPECT_FALSE(MyMod::FolderExists(App::Path() + L"\\Backups.new"));
}

TEST_F(BackupTest, ABackupInterruptedBetweenItsMovesGivesTheOldOneItsNameBackFirst) {
    BackUpOnce();
    // Stopped after the old backup stepped aside and before the new one took its name.
    const std::wstring retired = App::Path() + L"\\Backups.old";
    ASSERT_TRUE(MoveFileExW(BackupFolder().c_str(), retired.c_str(), 0));
    seam.messages.clear();

    Command(IDM_mnuBackup);  // answered No
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"This will replace the backup created " + FileDate(Backup(L"RegKeys.reg")) +
                                         L" with your current settings.\r\n Are you sure you want to do this?");
    EXPECT_EQ(Changed(FolderSnapshot(BackupFolder()), files), std::vector<std::wstring>{});
    EXPECT_EQ(Records(), records);
    EXPECT_FALSE(MyMod::FolderExists(retired));

    // Answered Yes the new backup replaces it as usual.
    ASSERT_TRUE(MoveFileExW(BackupFolder().c_str(), retired.c_str(), 0));
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Added", L"C:\\added.exe");
    seam.messages.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuBackup);
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_TRUE(Text::StartsWithNoCase(seam.messages[1].text, kCompletedOn)) << seam.messages[1].text;
    EXPECT_EQ(Count(Utf16Text(Bytes(Backup(L"RegKeys.reg"))), L"\"Added\"=\"C:\\\\added.exe\""), 1u);
    EXPECT_FALSE(MyMod::FolderExists(retired));
}

TEST_F(BackupTest, WhatAnInterruptedBackupLeftDoesNotHoldUpTheNext) {
    const std::wstring staging = App::Path() + L"\\Backups.new";
    ASSERT_TRUE(CreateDirectoryW(staging.c_str(), nullptr));
    const std::wstring leftOver = staging + L"\\" +
                                  modRegKeys::ExportFileName(L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\"
                                                             L"CurrentVersion\\Run\\");
    EXPECT_EQ(modRegKeys::ExportFileName(L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"),
              L"HKEY_CURRENT_USER_Software_Microsoft_Windows_CurrentVersion_Run_.reg");
    PutFile(leftOver, "old", FILE_ATTRIBUTE_READONLY);
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kStagingRecords, L"Stale.lnk", L"C:\\stale.lnk");
    // A reg.exe without "/y" would ask forever whether to overwrite a file left there.
    const TestUtil::WindowsProduct product;
    product.Set(L"Microsoft Windows XP");
    Open();
    Command(IDM_mnuBackup);
    ASSERT_FALSE(seam.messages.empty());
    EXPECT_TRUE(Text::StartsWithNoCase(seam.messages.back().text, kCompletedOn)) << seam.messages.back().text;
    for (const auto& p : seam.processes) {
        EXPECT_NE(p.timeLimitMs, INFINITE);
        EXPECT_LE(p.timeLimitMs, 60000u);
    }
    EXPECT_EQ(Records(), (std::map<std::wstring, std::wstring>{}));
    EXPECT_EQ(ExportFilesLeft(), std::vector<std::wstring>{});
}

TEST_F(BackupTest, ABackupOrRestoreAskedForWhileOneRunsIsIgnored) {
    Open();
    Command(IDM_mnuBackup);  // a backup to restore
    seam.messages.clear();
    seam.processes.clear();
    int posted = 0;
    seam.scriptProcess = [&](const Seam::ProcessRequest&) -> std::optional<long> {
        // Taken up while the work yields between its steps.
        if (posted++ == 0) {
            for (UINT id : {IDM_mnuBackup, IDM_mnuRestore, IDM_mnuRestore2})
                PostMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        }
        return std::nullopt;
    };
    // HKCU Run, HKLM Run and RunOnce, the 32-bit view's RunOnce and the services key exist here.
    const size_t exports = 5;
    seam.answers = {IDYES};
    Command(IDM_mnuBackup);
    TestUtil::Pump(100);
    ASSERT_EQ(seam.messages.size(), 2u) << seam.messages.back().text;
    EXPECT_TRUE(Text::StartsWithNoCase(seam.messages[1].text, kCompletedOn));
    EXPECT_EQ(seam.processes.size(), exports);

    seam.messages.clear();
    seam.processes.clear();
    posted = 0;
    seam.answers = {IDYES};
    Command(IDM_mnuRestore);
    TestUtil::Pump(100);
    ASSERT_EQ(seam.messages.size(), 2u) << seam.messages.back().text;
    EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(seam.processes.size(), 2u);  // RegKeys.reg and WL.reg
}

TEST_F(BackupTest, RestorePutsBackWhatWasLostAndKeepsWhatIsThere) {
    MakeStartups();
    Open();
    Command(IDM_mnuBackup);
    const std::wstring only = UserStartup() + L"\\Only.lnk";
    const std::wstring same = CommonStartup() + L"\\Same.lnk";
    const std::string onlyBytes = Bytes(only);
    const std::string sameBytes = Bytes(same);
    const std::string winIni = Bytes(WinIni());
    const std::string bootIni = Bytes(Root() + L"Boot.ini");

    DeleteValue(HKEY_LOCAL_MACHINE, kRun, L"Machine App");
    ASSERT_TRUE(Files::RemoveFile(only));
    PutFile(same, "changed since the backup");
    PutFile(WinIni(), "[windows]\r\nload=C:\\bad.exe\r\n");
    PutFile(Root() + L"AutoExec.bat", "changed\r\n", FILE_ATTRIBUTE_READONLY);
    PutFile(Root() + L"Boot.ini", "changed\r\n", FILE_ATTRIBUTE_NORMAL);
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit", L"C:\\other\\userinit.exe,");
    seam.messages.clear();
    seam.processes.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuRestore);

    ASSERT_EQ(seam.messages.size(), 2u);
    const std::wstring question = seam.messages[0].text;
    const std::wstring start = L"Are you sure you want to restore the backup created ";
    ASSERT_TRUE(Text::StartsWithNoCase(question, start)) << question;
    EXPECT_EQ(question.substr(question.size() - 2), L" ?");
    const std::wstring date = question.substr(start.size(), question.size() - start.size() - 2);
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(seam.messages[1].text, L"The backup created " + date +
                                         L" has been restored.  You may need to restart your computer to start the "
                                         L"Applications or Services.");
    EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));

    std::wstring command;
    EXPECT_TRUE(TestUtil::ReadString(HKEY_LOCAL_MACHINE, kRun, L"Machine App", command));
    EXPECT_EQ(command, L"\"C:\\Program Files\\m\\m.exe\" /tray");
    EXPECT_EQ(Userinit(), userinit_);
    EXPECT_EQ(Bytes(only), onlyBytes);
    EXPECT_EQ(Bytes(same), "changed since the backup");  // an existing shortcut is never overwritten
    EXPECT_EQ(Bytes(WinIni()), winIni);
    EXPECT_EQ(Bytes(Root() + L"Boot.ini"), bootIni);
    EXPECT_EQ(Attributes(Root() + L"Boot.ini"), kReadOnlyHiddenSystem);  // its copy's
    EXPECT_EQ(Bytes(Root() + L"AutoExec.bat"), "@echo off\r\n");
    EXPECT_EQ(Attributes(Root() + L"AutoExec.bat"), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Attributes(Root() + L"Config.sys"), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    // Nothing was left beside the legacy files.
    for (const std::wstring& folder : {Root(), MyMod::GetWindowsDir() + L"\\"}) {
        WIN32_FIND_DATAW data{};
        UniqueFindHandle find(FindFirstFileW((folder + L"crv*").c_str(), &data));
        EXPECT_FALSE(find) << folder;
    }
}

// Sets a key's access list from its text form ("D:(A;;KA;;;WD)"); false when it could not.
bool SetKeyAccess(HKEY root, const std::wstring& sub, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) return false;
    HKEY key = nullptr;
    bool done = RegOpenKeyExW(root, sub.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS;
    if (done) {
        done = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    LocalFree(sd);
    return done;
}

TEST_F(BackupTest, ARunKeyThatRefusesTheImportIsReportedAndTheOthersAreRestored) {
    // Values of every kind the user's Run key may hold come back without being named as failed.
    const std::wstring quoted = L"\"C:\\Program Files\\q\\q.exe\" /say \"hi\" \\\\server\\share";
    const std::wstring longCommand = L"C:\\" + std::wstring(400, L'l') + L"\\long.exe";
    const DWORD number = 0x12345678;
    const BYTE binary[] = {0x00, 0x01, 0xFE, 0xFF};
    const wchar_t multi[] = L"one\0two\0";
    TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"Quoted", quoted);
    TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"Expand", L"%windir%\\" + std::wstring(200, L'e') + L".exe",
                        REG_EXPAND_SZ);
    TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"", longCommand);
    HKEY run = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRun.c_str(), 0, KEY_SET_VALUE, &run), ERROR_SUCCESS);
    RegSetValueExW(run, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegSetValueExW(run, L"Binary", 0, REG_BINARY, binary, sizeof(binary));
    RegSetValueExW(run, L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof(multi));
    RegCloseKey(run);
    const std::vector<std::wstring> userValues = {L"User App", L"Quoted", L"Expand", L"", L"Number", L"Binary", L"Multi"};
    MakeStartups();
    std::map<std::wstring, std::optional<Registry::Value>> before;
    for (const auto& name : userValues) before[name] = Registry::ReadValue(HKEY_CURRENT_USER, kRun, name);
    Open();
    Command(IDM_mnuBackup);
    for (const auto& name : userValues) DeleteValue(HKEY_CURRENT_USER, kRun, name);
    DeleteValue(HKEY_LOCAL_MACHINE, kRun, L"Machine App");
    ASSERT_TRUE(SetKeyAccess(HKEY_LOCAL_MACHINE, kRun, L"D:(D;;KW;;;WD)(A;;KA;;;WD)"));  // no writes
    seam.messages.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuRestore);
    ASSERT_TRUE(SetKeyAccess(HKEY_LOCAL_MACHINE, kRun, L"D:(A;;KA;;;WD)"));

    EXPECT_FALSE(TestUtil::ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Machine App"));
    ASSERT_EQ(seam.messages.size(), 2u);
    const std::wstring& told = seam.messages[1].text;
    EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_NE(told.find(L" was not restored completely; every other part was put back.  What failed:\r\n\r\n"),
              std::wstring::npos) << told;
    EXPECT_NE(told.find(L"the value \"Machine App\" of HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run "
                        L"does not read as the backup holds it."),
              std::wstring::npos) << told;
    // Only that value is named.
    EXPECT_EQ(told.find(L"the value \""), told.rfind(L"the value \"")) << told;
    for (const auto& name : userValues) {
        SCOPED_TRACE(name);
        const auto now = Registry::ReadValue(HKEY_CURRENT_USER, kRun, name);
        if (!now || !before[name]) {
            ADD_FAILURE() << "missing";
            continue;
        }
        EXPECT_EQ(now->type, before[name]->type);
        EXPECT_EQ(now->bytes, before[name]->bytes);
    }
    for (const auto& name : userValues) DeleteValue(HKEY_CURRENT_USER, kRun, name);
}

TEST_F(BackupTest, ValuesWithVeryLongNamesThatDidNotArriveAreNamedWithinTheScreen) {
    // As long as a value name may be; each is named by its beginning.
    std::vector<std::wstring> names;
    for (int i = 0; i < 12; ++i) names.push_back(std::to_wstring(10 + i) + std::wstring(8000, L'a' + i));
    for (const auto& name : names) TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, name, L"C:\\m.exe");
    Open();
    Command(IDM_mnuBackup);
    ASSERT_TRUE(Text::StartsWithNoCase(seam.messages.back().text, kCompletedOn)) << seam.messages.back().text;
    for (const auto& name : names) DeleteValue(HKEY_LOCAL_MACHINE, kRun, name);
    ASSERT_TRUE(SetKeyAccess(HKEY_LOCAL_MACHINE, kRun, L"D:(D;;KW;;;WD)(A;;KA;;;WD)"));  // no writes
    seam.messages.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuRestore);
    ASSERT_TRUE(SetKeyAccess(HKEY_LOCAL_MACHINE, kRun, L"D:(A;;KA;;;WD)"));

    ASSERT_EQ(seam.messages.size(), 2u);
    const auto& told = seam.messages[1];
    EXPECT_EQ(told.flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    for (size_t i = 0; i < 10; ++i) EXPECT_NE(told.text.find(L"\"" + names[i].substr(0, 60)), std::wstring::npos) << i;
    EXPECT_NE(told.text.find(L"And 2 more lines of RegKeys.reg"), std::wstring::npos);
    const RECT box = TestUtil::ShownBoxPlace(told.text, told.caption, told.flags);
    EXPECT_GT(box.bottom, box.top);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.bottom, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(BackupTest, TheBackedUpShortcutsAreListedInTheFolderList) {
    MakeStartups();
    Open();
    Command(IDM_mnuBackup);
    // A backup that failed lists nothing; its message says why.
    ASSERT_FALSE(seam.messages.empty());
    ASSERT_TRUE(Text::StartsWithNoCase(seam.messages.back().text, kCompletedOn)) << seam.messages.back().text;
    form().ListBackedUpShortcuts();
    const HWND lv3 = form().lv3;
    ASSERT_EQ(ListView::Count(lv3), 3);
    std::map<std::wstring, std::wstring> rows;  // target by name and folder, for the two named alike
    for (int row = 0; row < ListView::Count(lv3); ++row) {
        EXPECT_EQ(ListView::Icon(lv3, row), 3);
        EXPECT_EQ(ListView::Color(lv3, row), ListView::DisabledForeColor);
        rows[ListView::Text(lv3, row) + L" in " + ListView::Text(lv3, row, 2)] = ListView::Text(lv3, row, 1);
    }
    const std::map<std::wstring, std::wstring> expected = {
        {L"Same in " + CommonStartup(), L"C:\\common\\same.exe"},
        {L"Same in " + UserStartup(), L"C:\\user\\same.exe"},
        {L"Only in " + UserStartup(), L"C:\\user\\only.exe"},
    };
    EXPECT_EQ(rows, expected);
}

TEST_F(BackupTest, AUserinitThatCouldStopEveryLogonIsNotImported) {
    Open();
    Command(IDM_mnuBackup);
    const std::wstring key = L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]\r\n";
    const struct {
        const wchar_t* what;
        std::string file;
    } cases[] = {
        {L"an empty value, as a batch file wrote it", "REGEDIT4\r\n\r\n" + *Text::ToAnsi(key) + "\"Userinit\"=\"\"\r\n\r\n"},
        {L"unescaped backslashes", "REGEDIT4\r\n\r\n" + *Text::ToAnsi(key) + "\"Userinit\"=\"" +
                                       *Text::ToAnsi(MyMod::StandardUserinit()) + "\"\r\n\r\n"},
        {L"a program that is not there", "REGEDIT4\r\n\r\n" + *Text::ToAnsi(key) +
                                             "\"Userinit\"=\"C:\\\\missing\\\\userinit.exe,\"\r\n\r\n"},
        {L"another program first", "REGEDIT4\r\n\r\n" + *Text::ToAnsi(key) + "\"Userinit\"=\"" +
                                       *Text::ToAnsi(modRegKeys::Regedit4String(MyMod::GetSystemDir() +
                                                                                L"\\sleeper.exe,")) +
                                       "\"\r\n\r\n"},
    };
    const std::wstring before = L"C:\\keep\\userinit.exe,";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutFile(Backup(L"WL.reg"), c.file);
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit", before);
        seam.messages.clear();
        seam.processes.clear();
        seam.answers = {IDYES};
        Command(IDM_mnuRestore);
        EXPECT_EQ(Userinit(), before);
        ASSERT_EQ(seam.processes.size(), 1u);  // RegKeys.reg only
        EXPECT_TRUE(Text::ContainsNoCase(seam.processes[0].commandLine, L"RegKeys.reg"));
        ASSERT_EQ(seam.messages.size(), 2u);
        EXPECT_TRUE(Text::ContainsNoCase(seam.messages[1].text, L" was not restored completely")) << seam.messages[1].text;
        EXPECT_TRUE(Text::ContainsNoCase(seam.messages[1].text, L"WL.reg was left out")) << seam.messages[1].text;
        EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
}

TEST_F(BackupTest, RestoreWithoutARegistryBackupSaysSoAndChangesNothing) {
    MakeStartups();
    Open();
    Command(IDM_mnuBackup);
    ASSERT_TRUE(Files::RemoveFile(Backup(L"RegKeys.reg")));
    const std::wstring only = UserStartup() + L"\\Only.lnk";
    ASSERT_TRUE(Files::RemoveFile(only));
    PutFile(WinIni(), "changed\r\n");
    seam.messages.clear();
    seam.processes.clear();
    for (UINT id : {IDM_mnuRestore, IDM_mnuRestore2}) {
        seam.answers = {IDYES};
        Command(id);
    }
    ASSERT_EQ(seam.messages.size(), 2u);
    for (const auto& m : seam.messages) {
        EXPECT_EQ(m.text, L"There is no backup to restore: " + Backup(L"RegKeys.reg") +
                              L" was not found.  Nothing was changed.     ");
        EXPECT_EQ(m.flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_TRUE(seam.processes.empty());
    EXPECT_FALSE(MyMod::FileExists(only));
    EXPECT_EQ(Bytes(WinIni()), "changed\r\n");
}

// Thirty shortcuts that cannot be put back: the box names the first 25 and how many more.
TEST_F(BackupTest, ARestoreWithManyFailuresNamesAScreenfulOfThem) {
    Open();
    Command(IDM_mnuBackup);
    ASSERT_TRUE(Text::StartsWithNoCase(seam.messages.back().text, kCompletedOn)) << seam.messages.back().text;
    // Records of shortcuts whose copies the backup does not hold.
    std::vector<std::wstring> failed;
    for (int i = 0; i < 30; ++i) {
        const std::wstring name = L"Gone" + std::to_wstring(10 + i) + L".lnk";
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kRecords, name, UserStartup() + L"\\" + name);
        failed.push_back(L"The shortcut " + UserStartup() + L"\\" + name + L" could not be restored from " +
                         Backup(name) + L": " + Text::SystemMessage(ERROR_FILE_NOT_FOUND));
    }
    seam.messages.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuRestore);
    ASSERT_EQ(seam.messages.size(), 2u);
    const std::wstring& told = seam.messages[1].text;
    const std::wstring lead = L" was not restored completely; every other part was put back.  What failed:\r\n\r\n";
    const size_t list = told.find(lead);
    ASSERT_NE(list, std::wstring::npos) << told;
    // The records are read in the registry's order of their names.
    std::wstring expected;
    for (size_t i = 0; i < 25; ++i) expected += failed[i] + L"\r\n";
    expected += L"... and 5 more.";
    EXPECT_EQ(told.substr(list + lead.size()), expected);
}

TEST_F(BackupTest, RestoreFromTheEmptyListMenuRunsTheSameRestore) {
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Machine App", L"C:\\m.exe");
    Open();
    Command(IDM_mnuBackup);
    DeleteValue(HKEY_LOCAL_MACHINE, kRun, L"Machine App");
    // The machine's Run view is empty now; with a backup its one Action menu offers the restore.
    ASSERT_TRUE(form().SelectNode(L"another11"));
    form().tvwDemo_NodeClick(form().SelectedNodeKey());
    ASSERT_EQ(ListView::Count(form().lv2), 0);
    form().lv2_Click();
    std::vector<std::wstring> shown;
    for (const wchar_t* menu : {L"mnuPopup", L"mnuPopup2", L"mnuPopup3", L"mnuPopup4", L"mnuPopup5", L"mnuPopup6",
                                L"mnuPopup7", L"mnuPopup8", L"mnuPopup9"})
        if (form().menus.IsVisible(menu)) shown.push_back(menu);
    EXPECT_EQ(shown, std::vector<std::wstring>{L"mnuPopup5"});
    seam.messages.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuRestore2);
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_TRUE(Text::StartsWithNoCase(seam.messages[0].text, L"Are you sure you want to restore the backup created "));
    EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    // The view it ran from was reloaded and lists the startup that came back.
    EXPECT_EQ(form().SelectedNodeKey(), L"another11");
    ASSERT_EQ(ListView::Count(form().lv2), 1);
    EXPECT_EQ(ListView::Text(form().lv2, 0), L"Machine App");
}

TEST_F(BackupTest, StartupItemsNamedLikeTheBackupsOwnFilesComeBackByteForByte) {
    // Named like the fixed files and like a temporary export, in both folders, one name in both.
    const std::vector<std::pair<std::wstring, std::string>> items = {
        {CommonStartup() + L"\\Win.ini", "[common item]\r\n"},
        {CommonStartup() + L"\\RegKeys.reg", "A Startup item, 43 bytes, no registry file."},
        {CommonStartup() + L"\\HKEY_CURRENT_USER_Software_Microsoft_Windows_CurrentVersion_Run_.reg", "export-like"},
        {UserStartup() + L"\\Win.ini", "[user item]\r\n"},
        {UserStartup() + L"\\WL.reg", "not the Winlogon file"},
        {UserStartup() + L"\\System.ini", "user system.ini"},
        {UserStartup() + L"\\Autoexec.bat", "@echo item\r\n"},
    };
    ASSERT_EQ(items[1].second.size(), 43u);
    for (const auto& [path, bytes] : items) PutFile(path, bytes);
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Machine App", L"C:\\m.exe");
    const std::string winIni = Bytes(WinIni());
    const std::string systemIni = Bytes(MyMod::GetWindowsDir() + L"\\system.ini");
    Open();
    Command(IDM_mnuBackup);
    ASSERT_EQ(seam.messages.size(), 1u);
    ASSERT_TRUE(Text::StartsWithNoCase(seam.messages[0].text, kCompletedOn)) << seam.messages[0].text;
    EXPECT_EQ(Records().size(), items.size());
    EXPECT_EQ(ExportFilesLeft(), std::vector<std::wstring>{});

    for (const auto& [path, bytes] : items) ASSERT_TRUE(Files::RemoveFile(path)) << path;
    DeleteValue(HKEY_LOCAL_MACHINE, kRun, L"Machine App");
    PutFile(WinIni(), "changed\r\n");
    seam.messages.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuRestore);
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION)) << seam.messages[1].text;
    for (const auto& [path, bytes] : items) EXPECT_EQ(Bytes(path), bytes) << path;
    EXPECT_EQ(Bytes(WinIni()), winIni);
    EXPECT_EQ(Bytes(MyMod::GetWindowsDir() + L"\\system.ini"), systemIni);
    EXPECT_EQ(TestUtil::ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Machine App"), L"C:\\m.exe");
}

TEST_F(BackupTest, ARecordThatNamesNoShortcutPathIsNamedAndTheOthersAreRestored) {
    MakeStartups();
    Open();
    Command(IDM_mnuBackup);
    const DWORD number = 7;
    ASSERT_TRUE(Registry::WriteBytes(HKEY_LOCAL_MACHINE, kRecords, L"User Startup\\Number.lnk", REG_DWORD,
                                     {reinterpret_cast<const BYTE*>(&number), reinterpret_cast<const BYTE*>(&number + 1)}));
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRecords, L"User Startup\\Empty.lnk", L"");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRecords, L"User Startup\\Relative.lnk", L"Relative.lnk");
    const std::wstring only = UserStartup() + L"\\Only.lnk";
    const std::string onlyBytes = Bytes(only);
    ASSERT_TRUE(Files::RemoveFile(only));
    seam.messages.clear();
    seam.answers = {IDYES};
    Command(IDM_mnuRestore);
    ASSERT_EQ(seam.messages.size(), 2u);
    const std::wstring& told = seam.messages[1].text;
    EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION)) << told;
    for (const wchar_t* name : {L"User Startup\\Number.lnk", L"User Startup\\Empty.lnk", L"User Startup\\Relative.lnk"})
        EXPECT_NE(told.find(name), std::wstring::npos) << name << L": " << told;
    EXPECT_EQ(Bytes(only), onlyBytes);
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_FALSE(MyMod::FileExists(std::wstring(current) + L"\\Relative.lnk"));
}

TEST_F(BackupTest, ABackupInTheEarlierLayoutStillRestores) {
    // Every file side by side in the backup folder, the second of two same-named shortcuts
    // under a name of its own; records named like the copies.
    ASSERT_TRUE(CreateDirectoryW(BackupFolder().c_str(), nullptr));
    const std::wstring regKeys = L"Windows Registry Editor Version 5.00\r\n\r\n"
                                 L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                                 L"\"Machine App\"=\"\\\"C:\\\\Program Files\\\\m\\\\m.exe\\\" /tray\"\r\n\r\n";
    PutFile(Backup(L"RegKeys.reg"),
            "\xFF\xFE" + std::string(reinterpret_cast<const char*>(regKeys.data()), regKeys.size() * sizeof(wchar_t)));
    PutFile(Backup(L"WL.reg"), "REGEDIT4\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]\r\n"
                               "\"Userinit\"=\"" + *Text::ToAnsi(modRegKeys::Regedit4String(userinit_)) + "\"\r\n\r\n");
    PutFile(Backup(L"Win.ini"), "[windows]\r\nload=\r\n");
    PutFile(Backup(L"Config.sys"), "FILES=40\r\n");
    MakeShortcut(Backup(L"Same.lnk"), L"C:\\common\\same.exe");
    MakeShortcut(Backup(L"Same (2).lnk"), L"C:\\user\\same.exe");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRecords, L"Same.lnk", CommonStartup() + L"\\Same.lnk");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRecords, L"Same (2).lnk", UserStartup() + L"\\Same.lnk");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit", L"C:\\other\\userinit.exe,");
    Open();
    form().ListBackedUpShortcuts();
    ASSERT_EQ(ListView::Count(form().lv3), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(ListView::Text(form().lv3, row), L"Same");
        EXPECT_FALSE(ListView::Text(form().lv3, row, 1).empty());
    }
    seam.answers = {IDYES};
    Command(IDM_mnuRestore);

    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION)) << seam.messages[1].text;
    EXPECT_EQ(TestUtil::ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Machine App"), L"\"C:\\Program Files\\m\\m.exe\" /tray");
    EXPECT_EQ(Userinit(), userinit_);
    EXPECT_EQ(Bytes(WinIni()), "[windows]\r\nload=\r\n");
    EXPECT_EQ(Bytes(Root() + L"Config.sys"), "FILES=40\r\n");
    EXPECT_EQ(Bytes(CommonStartup() + L"\\Same.lnk"), Bytes(Backup(L"Same.lnk")));
    EXPECT_EQ(Bytes(UserStartup() + L"\\Same.lnk"), Bytes(Backup(L"Same (2).lnk")));
}

TEST_F(BackupTest, ADamagedServicesExportIsNamedAndTheRestoreDoesNotCallItselfComplete) {
    const std::wstring service = L"CorvellBak";
    const std::wstring serviceKey = L"SYSTEM\\CurrentControlSet\\Services\\" + service;
    const std::wstring section = L"[HKEY_LOCAL_MACHINE\\" + serviceKey + L"]";
    ASSERT_TRUE(ServiceFixtures::Install(service, L"Corvell Backup Test", ServiceFixtures::TestServicePath()));
    Open();
    Command(IDM_mnuBackup);
    ASSERT_EQ(seam.messages.size(), 1u);
    ASSERT_TRUE(Text::StartsWithNoCase(seam.messages[0].text, kCompletedOn)) << seam.messages[0].text;
    ASSERT_TRUE(ServiceFixtures::Remove(service));
    const std::string backup = Bytes(Backup(L"RegKeys.reg"));
    const std::wstring text = Utf16Text(backup);
    const size_t at = text.find(section + L"\r\n");
    ASSERT_NE(at, std::wstring::npos);
    const size_t imagePath = text.find(L"\"ImagePath\"=", at);
    ASSERT_NE(imagePath, std::wstring::npos);
    const auto utf16 = [](const std::wstring& t) {
        return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(t.data()), t.size() * sizeof(wchar_t));
    };
    const struct {
        const wchar_t* what;
        std::string file;
        const wchar_t* named;
    } cases[] = {
        {L"a value's data that is no hex",
         utf16(text.substr(0, imagePath) + L"\"ImagePath\"=hex(2):zz\r\n" + text.substr(text.find(L"\r\n", imagePath) + 2)),
         L"\"ImagePath\"=hex(2):zz"},
        {L"the key's line cut short", utf16(text.substr(0, at) + section.substr(0, section.size() - 1) +
                                            text.substr(at + section.size())),
         service.c_str()},
        {L"no byte-order mark", backup.substr(2), L"RegKeys.reg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, serviceKey);
        PutFile(Backup(L"RegKeys.reg"), c.file);
        seam.messages.clear();
        seam.answers = {IDYES};
        Command(IDM_mnuRestore);
        ASSERT_EQ(seam.messages.size(), 2u);
        const std::wstring& told = seam.messages[1].text;
        EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION)) << told;
        EXPECT_NE(told.find(L" was not restored completely"), std::wstring::npos) << told;
        EXPECT_NE(told.find(L"RegKeys.reg"), std::wstring::npos) << told;
        EXPECT_NE(told.find(c.named), std::wstring::npos) << told;
    }
    TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, serviceKey);
}

TEST_F(BackupTest, AUserinitTheAnsiFormCannotCarryIsBackedUpAndRestoredByteForByte) {
    const std::wstring system = MyMod::GetSystemDir();
    const struct {
        const wchar_t* what;
        DWORD type;
        std::wstring text;
    } cases[] = {
        {L"expandable", REG_EXPAND_SZ, L"%SystemRoot%\\system32\\userinit.exe,C:\\Tools\\agent.exe,"},
        {L"outside the code page", REG_SZ, system + L"\\userinit.exe,C:\\\u0141\u00f3d\u017a\\agent.exe,"},
        {L"both", REG_EXPAND_SZ, L"%SystemRoot%\\system32\\userinit.exe,C:\\\u03a9\\a.exe,"},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestUtil::PutString(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit", c.text, c.type);
        const auto before = Registry::ReadValue(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit");
        ASSERT_TRUE(before);
        seam.messages.clear();
        seam.answers = {IDYES};
        Command(IDM_mnuBackup);
        ASSERT_FALSE(seam.messages.empty());
        ASSERT_TRUE(Text::StartsWithNoCase(seam.messages.back().text, kCompletedOn)) << seam.messages.back().text;

        TestUtil::PutString(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit", userinit_);
        seam.messages.clear();
        seam.answers = {IDYES};
        Command(IDM_mnuRestore);
        ASSERT_EQ(seam.messages.size(), 2u);
        EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION)) << seam.messages[1].text;
        const auto after = Registry::ReadValue(HKEY_LOCAL_MACHINE, kWinlogon, L"Userinit");
        ASSERT_TRUE(after);
        EXPECT_EQ(after->type, before->type);
        EXPECT_EQ(after->bytes, before->bytes);
    }
}

TEST_F(BackupTest, APartThatCannotBeCopiedIsNamedWithItsReasonAndThePreviousBackupStaysWhole) {
    BackUpOnce();
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Added", L"C:\\added.exe");
    for (const std::wstring& held : {Root() + L"Config.sys", UserStartup() + L"\\Only.lnk"}) {
        SCOPED_TRACE(held);
        UniqueHandle file(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        seam.messages.clear();
        seam.answers = {IDYES};
        Command(IDM_mnuBackup);
        file.reset();
        ASSERT_EQ(seam.messages.size(), 2u);
        EXPECT_EQ(seam.messages[1].text, kBackupFailed + L"The copy of " + held + L" could not be made: " +
                                             Text::SystemMessage(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(Changed(FolderSnapshot(BackupFolder()), files), std::vector<std::wstring>{});
        EXPECT_EQ(Records(), records);
    }
}

// ---- The registry files' own rules ----

// A "Userinit" value as the registry would hold it: the text and its NUL.
Registry::Value UserinitValue(DWORD type, const std::wstring& text) {
    Registry::Value value;
    value.name = L"Userinit";
    value.type = type;
    value.text = text;
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    value.bytes.assign(first, first + (text.size() + 1) * sizeof(wchar_t));
    return value;
}

TEST(RegKeysFiles, UserinitValuesComeBackFromWlRegExactlyWithTheirType) {
    const std::wstring system = MyMod::GetSystemDir();
    std::vector<BYTE> odd = UserinitValue(REG_SZ, system + L"\\userinit.exe,").bytes;
    odd.pop_back();  // text that is not whole UTF-16
    Registry::Value oddValue = UserinitValue(REG_SZ, L"");
    oddValue.bytes = odd;
    const struct {
        const wchar_t* what;
        Registry::Value value;
        bool ansiForm;  // still the REGEDIT4 file earlier versions wrote
    } cases[] = {
        {L"the standard part", UserinitValue(REG_SZ, system + L"\\userinit.exe,"), true},
        {L"a blank", UserinitValue(REG_SZ, system + L"\\userinit.exe,C:\\Program Files\\My Agent\\agent.exe /q,"), true},
        {L"quotes", UserinitValue(REG_SZ, L"\"" + system + L"\\userinit.exe\", \"C:\\a \\\"b\\\"\\x.exe\""), true},
        {L"a trailing backslash", UserinitValue(REG_SZ, system + L"\\userinit.exe,C:\\trailing\\"), true},
        {L"a letter of the code page", UserinitValue(REG_SZ, L"caf\u00e9\\userinit.exe,"), true},
        {L"a letter outside the code page", UserinitValue(REG_SZ, L"C:\\\u0141\\userinit.exe,"), false},
        {L"a line break", UserinitValue(REG_SZ, L"C:\\a\\userinit.exe,\r\nC:\\b.exe"), false},
        {L"expandable", UserinitValue(REG_EXPAND_SZ, L"%SystemRoot%\\system32\\userinit.exe,"), false},
        {L"an odd byte count", oddValue, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = modRegKeys::UserinitRegFile(c.value);
        EXPECT_EQ(file.rfind("REGEDIT4\r\n", 0) == 0, c.ansiForm);
        const auto read = modRegKeys::ReadUserinitReg(file);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->type, c.value.type);
        if (c.ansiForm) {
            EXPECT_EQ(read->text, c.value.text);
        } else {
            EXPECT_EQ(read->bytes, c.value.bytes);
        }
    }
    EXPECT_EQ(modRegKeys::Regedit4String(L"C:\\a \"b\"\\"), L"C:\\\\a \\\"b\\\"\\\\");
}

TEST(RegKeysFiles, OnlyTheWinlogonKeyWithOneTextUserinitIsRead) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]";
    const std::wstring wideKey = L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]";
    const auto utf16 = [](const std::wstring& t) {
        return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(t.data()), t.size() * sizeof(wchar_t));
    };
    const std::wstring v5 = L"Windows Registry Editor Version 5.00\r\n\r\n" + wideKey + L"\r\n";
    const struct {
        const char* what;
        std::string file;
        std::optional<std::wstring> read;
    } cases[] = {
        {"as written", "REGEDIT4\r\n\r\n" + key + "\r\n\"Userinit\"=\"C:\\\\u.exe,\"\r\n\r\n", L"C:\\u.exe,"},
        {"lines ending in LF", "REGEDIT4\n\n" + key + "\n\"Userinit\"=\"C:\\\\u.exe,\"\n", L"C:\\u.exe,"},
        {"unescaped backslashes drop out", "REGEDIT4\r\n\r\n" + key + "\r\n\"Userinit\"=\"C:\\W\\u.exe,\"\r\n",
         L"C:Wu.exe,"},
        {"empty", "REGEDIT4\r\n\r\n" + key + "\r\n\"Userinit\"=\"\"\r\n", L""},
        {"another key", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n\"Userinit\"=\"C:\\\\u.exe\"\r\n",
         std::nullopt},
        {"a second value", "REGEDIT4\r\n\r\n" + key + "\r\n\"Userinit\"=\"a\"\r\n\"Shell\"=\"b\"\r\n", std::nullopt},
        {"no closing quote", "REGEDIT4\r\n\r\n" + key + "\r\n\"Userinit\"=\"C:\\\\u.exe,\r\n", std::nullopt},
        {"text after the string", "REGEDIT4\r\n\r\n" + key + "\r\n\"Userinit\"=\"a\"b\r\n", std::nullopt},
        {"not a string", "REGEDIT4\r\n\r\n" + key + "\r\n\"Userinit\"=dword:00000001\r\n", std::nullopt},
        {"the other header in ANSI", "Windows Registry Editor Version 5.00\r\n\r\n" + key + "\r\n\"Userinit\"=\"a\"\r\n",
         std::nullopt},
        {"UTF-16, a string", utf16(v5 + L"\"Userinit\"=\"C:\\\\\u0141.exe,\"\r\n\r\n"), L"C:\\\u0141.exe,"},
        {"UTF-16, expandable hex", utf16(v5 + L"\"Userinit\"=hex(2):61,00,\\\r\n  2c,00,00,00\r\n\r\n"), L"a,"},
        {"UTF-16, a number", utf16(v5 + L"\"Userinit\"=dword:00000001\r\n"), std::nullopt},
        {"UTF-16, hex that is no hex", utf16(v5 + L"\"Userinit\"=hex(2):6g,00\r\n"), std::nullopt},
        {"UTF-16, another key", utf16(L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]"
                                      L"\r\n\"Userinit\"=\"a\"\r\n"),
         std::nullopt},
        {"empty file", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto read = modRegKeys::ReadUserinitReg(c.file);
        EXPECT_EQ(read.has_value(), c.read.has_value());
        if (read && c.read) {
            EXPECT_EQ(read->text, *c.read);
        }
    }
}

TEST(RegKeysFiles, ExportsAskNothingWhereRegExeKnowsHow) {
    const TestUtil::WindowsProduct product;
    const std::wstring key = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
    const std::wstring reg = L"\"" + MyMod::GetSystemDir() + L"\\reg.exe\"";
    const struct {
        const wchar_t* product;
        const wchar_t* end;
    } cases[] = {
        {L"Microsoft Windows 7", L" /y"},
        {L"Windows Vista (TM) Business", L" /y"},
        {L"Microsoft Windows XP", L""},
        {L"Microsoft Windows 2000", L""},
    };
    for (const auto& c : cases) {
        product.Set(c.product);
        EXPECT_EQ(modRegKeys::ExportCommand(key, L"C:\\b k\\x.reg"),
                  reg + L" EXPORT \"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\" "
                        L"\"C:\\b k\\x.reg\"" + c.end)
            << c.product;
    }
}

TEST(ProcessSeam, AWaitedProcessPastItsTimeLimitIsEnded) {
    // The program's own backend: no test backend is in place here.
    Seam::ProcessRequest request;
    request.commandLine = L"\"" + TestUtil::ProgramFolder() + L"\\sleeper.exe\" 30";
    request.hidden = true;
    request.wait = true;
    request.timeLimitMs = 300;
    const DWORD start = GetTickCount();
    EXPECT_EQ(Seam::RunProcess(request), Seam::kProcessTimedOut);
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_TRUE(TestUtil::PumpUntil([] { return !modProcess::IsProcessRunning(L"sleeper.exe"); }, 30000));
    request.commandLine = L"\"" + TestUtil::ProgramFolder() + L"\\sleeper.exe\" 0";
    request.timeLimitMs = 20000;
    EXPECT_EQ(Seam::RunProcess(request), 0);
    request.commandLine = L"\"" + TestUtil::ProgramFolder() + L"\\no-such-program.exe\"";
    EXPECT_EQ(Seam::RunProcess(request), Seam::kProcessNotStarted);
}

} // namespace
