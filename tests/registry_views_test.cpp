// The machine's Run keys of 32-bit programs (the registry's 32-bit view on 64-bit Windows) in a
// live main window: listed beside the 64-bit ones, each row's commands on its own entry, their
// parking, first-seen dates, and their backup and restore with the prefix's reg.exe and regedit.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "startups/frmReg.h"
#include "system/App.h"
#include "system/Files.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/SafeFile.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr REGSAM k32 = KEY_WOW64_32KEY;
constexpr REGSAM k64 = KEY_WOW64_64KEY;

const std::wstring kVersionSub = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::wstring kRun = kVersionSub + L"\\Run";
const std::wstring kRunOnce = kVersionSub + L"\\RunOnce";
const std::wstring kRunOnceEx = kVersionSub + L"\\RunOnceEx";
const std::wstring kDisabled = L"Software\\Ferrowyn\\Corvell\\Disabled";
const std::wstring kDates = L"Software\\Ferrowyn\\Corvell\\Dates\\Startups";

// The key column of the rows.
const std::wstring kRunText = L"HKLM\\" + kRun;
const std::wstring kRunOnceText = L"HKLM\\" + kRunOnce;
const std::wstring kRunOnceExText = L"HKLM\\" + kRunOnceEx;
const std::wstring kRun32Text = L"HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunOnce32Text = L"HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring kRunOnceEx32Text = L"HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";
const std::wstring kUserRunText = L"HKCU\\" + kRun;

// A value of HKLM in one view (KEY_WOW64_32KEY or KEY_WOW64_64KEY), the key made when missing.
void Put(REGSAM view, const std::wstring& sub, const std::wstring& name, const std::wstring& data, DWORD type = REG_SZ) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, sub.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

struct Stored {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    bool operator==(const Stored&) const = default;
};

void PrintTo(const Stored& v, std::ostream* os) {
    *os << "{type " << v.type << ", " << v.bytes.size() << " bytes: " << testing::PrintToString(v.bytes) << "}";
}

// The value of HKLM in one view as stored; nullopt when it is not there.
std::optional<Stored> Get(REGSAM view, const std::wstring& sub, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, sub.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return std::nullopt;
    Stored value;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        value.bytes.resize(size);
        rc = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    return value;
}

Stored Text(const std::wstring& text, DWORD type = REG_SZ) {
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return {type, std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t))};
}

void DeleteIn(REGSAM view, const std::wstring& sub, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, sub.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
}

// Removes a key of "...\CurrentVersion" with everything below it from one view.
void DeleteKeyIn(REGSAM view, const std::wstring& name) {
    HKEY parent = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kVersionSub.c_str(), 0, KEY_ALL_ACCESS | view, &parent) != ERROR_SUCCESS)
        return;
    SHDeleteKeyW(parent, name.c_str());
    RegCloseKey(parent);
}

// Both views' Run keys empty, RunOnce and RunOnceEx gone; the user's Run key empty.
void ClearRunKeys() {
    for (REGSAM view : {k64, k32}) {
        for (const wchar_t* name : {L"Run", L"RunOnce", L"RunOnceEx"}) DeleteKeyIn(view, name);
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRun.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr);
        RegCloseKey(key);
    }
    TestUtil::DeleteTree(HKEY_CURRENT_USER, kRun);
    General::CreateKey(L"HKEY_CURRENT_USER\\" + kRun);
}

// Runs the prefix's reg.exe with these arguments and waits for it; its exit code.
DWORD Reg(const std::wstring& arguments) {
    std::wstring command = L"\"" + MyMod::GetSystemDir() + L"\\reg.exe\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return GetLastError();
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

struct Row {
    std::wstring name, command, key;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os) {
    *os << "{" << testing::PrintToString(r.name) << ", " << testing::PrintToString(r.command) << ", "
        << testing::PrintToString(r.key) << "}";
}

// The registry rows of lv2 (key column naming a "SOFTWARE" key), sorted: the order of values
// in a key is the registry's own.
std::vector<Row> RegistryRows(HWND list) {
    std::vector<Row> rows;
    for (int i = 0; i < ListView::Count(list); ++i) {
        Row row{ListView::Text(list, i, 0), ListView::Text(list, i, 1), ListView::Text(list, i, 2)};
        if (row.key.find(L"SOFTWARE") != std::wstring::npos) rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.name != b.name ? a.name < b.name : a.key < b.key;
    });
    return rows;
}

int FindRow(HWND list, const std::wstring& name, const std::wstring& key) {
    for (int i = 0; i < ListView::Count(list); ++i)
        if (ListView::Text(list, i, 0) == name && ListView::Text(list, i, 2) == key) return i;
    return -1;
}

class RegistryViewsTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        ClearRunKeys();
    }
    void TearDown() override {
        if (frmReg* open = frmReg::Current()) open->Unload();
        live.reset();
        ClearRunKeys();
    }

    Form1& Open() {
        live = std::make_unique<TestUtil::LiveForm>();
        seam.messages.clear();
        return live->form;
    }
    Form1& form() { return live->form; }
    HWND lv2() { return live->form.lv2; }
    void Show(const std::wstring& node) {
        ASSERT_TRUE(form().SelectNode(node)) << node;
        form().tvwDemo_NodeClick(form().SelectedNodeKey());
    }
    // Shows the node and selects the row of that name and key; false when it is not listed.
    bool SelectRow(const std::wstring& node, const std::wstring& name, const std::wstring& key) {
        Show(node);
        const int row = FindRow(lv2(), name, key);
        if (row < 0) return false;
        ListView_SetItemState(lv2(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView::Select(lv2(), row);
        return true;
    }
    void Command(UINT id) { SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
};

TEST_F(RegistryViewsTest, EntriesOfThe32BitViewAreListedOnceWithTheirRealKey) {
    // Written the way a 32-bit installer's entries land, by reg.exe into the 32-bit view.
    ASSERT_EQ(Reg(L"add \"HKLM\\" + kRun + L"\" /v Old32 /d \"C:\\old\\old32.exe /tray\" /reg:32 /f"), 0u);
    Put(k32, kRunOnce, L"Once32", L"C:\\old\\once32.exe");
    Put(k32, kRunOnceEx, L"Ex32", L"C:\\old\\ex32.exe");
    Put(k32, kRunOnceEx + L"\\0001", L"Nested32", L"C:\\old\\nested32.exe");  // below RunOnceEx: never listed
    Put(k64, kRun, L"App64", L"C:\\new\\app64.exe");
    Put(k64, kRunOnce, L"Once64", L"C:\\new\\once64.exe");
    TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"User", L"C:\\u\\user.exe");
    ASSERT_TRUE(Get(k32, kRun, L"Old32"));
    ASSERT_FALSE(Get(k64, kRun, L"Old32"));

    const Row old32{L"Old32", L"C:\\old\\old32.exe /tray", kRun32Text};
    const Row once32{L"Once32", L"C:\\old\\once32.exe", kRunOnce32Text};
    const Row ex32{L"Ex32", L"C:\\old\\ex32.exe", kRunOnceEx32Text};
    const Row app64{L"App64", L"C:\\new\\app64.exe", kRunText};
    const Row once64{L"Once64", L"C:\\new\\once64.exe", kRunOnceText};
    const Row user{L"User", L"C:\\u\\user.exe", kUserRunText};
    const struct {
        const wchar_t* node;
        std::vector<Row> rows;  // sorted by name, then key
    } cases[] = {
        {L"another11", {app64, old32}},
        {L"another22", {once32, once64}},
        {L"another33", {ex32}},
        {L"another", {app64, ex32, old32, once32, once64}},
        {L"three", {app64, ex32, old32, once32, once64, user}},
        {L"one", {app64, ex32, old32, once32, once64, user}},
        {L"another25", {user}},  // the user's keys are the same in both views
        {L"another26", {user}},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        Show(c.node);
        EXPECT_EQ(RegistryRows(lv2()), c.rows);
    }
    Show(L"another11");
    const int row = FindRow(lv2(), L"Old32", kRun32Text);
    ASSERT_GE(row, 0);
    EXPECT_EQ(ListView::Icon(lv2(), row), 1);
    EXPECT_EQ(ListView::Color(lv2(), row), ListView::EnabledForeColor);
    EXPECT_TRUE(seam.Warnings().empty());
}

TEST_F(RegistryViewsTest, DisableThenEnablePutsTheEntryBackInto32BitViewByteForByte) {
    const struct {
        const wchar_t* name;
        std::wstring command;
        DWORD type;
    } cases[] = {
        {L"Quoted", L"\"C:\\Program Files (x86)\\Tool\\tool.exe\" /startup", REG_SZ},
        {L"Rundll", L"RUNDLL32.EXE shell32.dll,Control_RunDLL x", REG_SZ},
        {L"Caret", L"C:\\A\\app.exe /x^y ^^z", REG_SZ},
        {L"Long", L"C:\\" + std::wstring(300, L'a') + L"\\l.exe /q", REG_SZ},
        {L"Expand", L"%ProgramFiles(x86)%\\Tool\\tool.exe -q", REG_EXPAND_SZ},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put(k32, kRun, c.name, c.command, c.type);
        ASSERT_TRUE(SelectRow(L"another11", c.name, kRun32Text));
        form().mnuDisable_Click();

        EXPECT_FALSE(Get(k32, kRun, c.name));
        EXPECT_FALSE(Get(k64, kRun, c.name));
        // The record names the 32-bit view.
        EXPECT_EQ(Get(k64, kDisabled, c.name), Text(L"HKLM32^" + c.command, c.type));

        ASSERT_TRUE(SelectRow(L"another 44", c.name, kRun32Text));
        const int row = ListView::Selected(lv2());
        EXPECT_EQ(ListView::Text(lv2(), row, 1), c.command);
        EXPECT_EQ(ListView::Color(lv2(), row), ListView::DisabledForeColor);
        form().mnuEnable_Click();

        EXPECT_EQ(Get(k32, kRun, c.name), Text(c.command, c.type));
        EXPECT_FALSE(Get(k64, kRun, c.name));
        EXPECT_FALSE(Get(k64, kDisabled, c.name));
    }

    // A 32-bit Run key that was removed meanwhile is made again in its view.
    Put(k32, kRun, L"Alone", L"C:\\A\\alone.exe");
    ASSERT_TRUE(SelectRow(L"another11", L"Alone", kRun32Text));
    form().mnuDisable_Click();
    DeleteKeyIn(k32, L"Run");
    ASSERT_TRUE(SelectRow(L"another 44", L"Alone", kRun32Text));
    form().mnuEnable_Click();
    EXPECT_EQ(Get(k32, kRun, L"Alone"), Text(L"C:\\A\\alone.exe"));
    EXPECT_FALSE(Get(k64, kRun, L"Alone"));
    EXPECT_TRUE(seam.Warnings().empty());
}

TEST_F(RegistryViewsTest, RecordsFromBeforeEnableIntoTheKeyTheyWereTakenFrom) {
    const struct {
        const wchar_t* name;
        std::wstring record;
        std::wstring keyText;  // shown in "Disabled Startups"
        HKEY root;
        REGSAM view;
        std::wstring command;  // what Enable writes there
    } cases[] = {
        {L"Machine", L"HKLM^C:\\old\\a.exe /q", kRunText, HKEY_LOCAL_MACHINE, k64, L"C:\\old\\a.exe /q"},
        {L"Small", L"hklm^C:\\old\\b.exe", kRunText, HKEY_LOCAL_MACHINE, k64, L"C:\\old\\b.exe"},
        {L"User", L"HKCU^C:\\old\\c.exe", kUserRunText, HKEY_CURRENT_USER, 0, L"C:\\old\\c.exe"},
        // Only the text before the first "^" names the key; a command that looks like a mark stays.
        {L"Lookalike", L"HKLM^HKLM32^C:\\old\\d.exe", kRunText, HKEY_LOCAL_MACHINE, k64, L"HKLM32^C:\\old\\d.exe"},
        {L"Neither", L"C:\\U^e.exe", kUserRunText, HKEY_CURRENT_USER, 0, L"e.exe"},
        // Written by this version for an entry of the 32-bit view.
        {L"Thirty", L"HKLM32^C:\\x86\\f.exe", kRun32Text, HKEY_LOCAL_MACHINE, k32, L"C:\\x86\\f.exe"},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put(k64, kDisabled, c.name, c.record);
        ASSERT_TRUE(SelectRow(L"another 44", c.name, c.keyText));
        form().mnuEnable_Click();

        EXPECT_FALSE(Get(k64, kDisabled, c.name));
        if (c.root == HKEY_CURRENT_USER) {
            EXPECT_EQ(TestUtil::ValueOrMissing(HKEY_CURRENT_USER, kRun, c.name), c.command);
            EXPECT_FALSE(Get(k64, kRun, c.name));
            EXPECT_FALSE(Get(k32, kRun, c.name));
        } else {
            EXPECT_EQ(Get(c.view, kRun, c.name), Text(c.command));
            EXPECT_FALSE(Get(c.view == k32 ? k64 : k32, kRun, c.name));
            EXPECT_FALSE(TestUtil::ValueExists(HKEY_CURRENT_USER, kRun, c.name));
        }
    }
    EXPECT_TRUE(seam.Warnings().empty());
}

TEST_F(RegistryViewsTest, ASameNamedPairIsTwoRowsAndEachActionLeavesTheOtherAsItWas) {
    const Stored twin64 = Text(L"C:\\x64\\twin.exe");
    const Stored twin32 = Text(L"C:\\x86\\twin.exe /q");
    Put(k64, kRun, L"Twin", L"C:\\x64\\twin.exe");
    Put(k32, kRun, L"Twin", L"C:\\x86\\twin.exe /q");
    General::SetStringValue(App::AppKey(), App::Value::kConfirmed, L"1");  // Delete asks nothing
    Open();
    Show(L"another11");
    EXPECT_EQ(RegistryRows(lv2()), (std::vector<Row>{{L"Twin", L"C:\\x64\\twin.exe", kRunText},
                                                     {L"Twin", L"C:\\x86\\twin.exe /q", kRun32Text}}));
    const std::wstring date = TestUtil::ValueOrMissing(HKEY_LOCAL_MACHINE, kDates, L"Twin");
    ASSERT_NE(date, L"<missing>");

    // Disable and Enable of the 32-bit one.
    ASSERT_TRUE(SelectRow(L"another11", L"Twin", kRun32Text));
    form().mnuDisable_Click();
    EXPECT_FALSE(Get(k32, kRun, L"Twin"));
    EXPECT_EQ(Get(k64, kRun, L"Twin"), twin64);
    ASSERT_TRUE(SelectRow(L"another 44", L"Twin", kRun32Text));
    form().mnuEnable_Click();
    EXPECT_EQ(Get(k32, kRun, L"Twin"), twin32);
    EXPECT_EQ(Get(k64, kRun, L"Twin"), twin64);

    // Disable of the 64-bit one.
    ASSERT_TRUE(SelectRow(L"another11", L"Twin", kRunText));
    form().mnuDisable_Click();
    EXPECT_FALSE(Get(k64, kRun, L"Twin"));
    EXPECT_EQ(Get(k32, kRun, L"Twin"), twin32);
    ASSERT_TRUE(SelectRow(L"another 44", L"Twin", kRunText));
    form().mnuEnable_Click();
    EXPECT_EQ(Get(k64, kRun, L"Twin"), twin64);
    EXPECT_EQ(Get(k32, kRun, L"Twin"), twin32);
    EXPECT_TRUE(seam.Warnings().empty());

    // Delete of the 32-bit one: the 64-bit one and the name's date stay.
    ASSERT_TRUE(SelectRow(L"another11", L"Twin", kRun32Text));
    form().mnuDelete_Click();
    EXPECT_FALSE(Get(k32, kRun, L"Twin"));
    EXPECT_EQ(Get(k64, kRun, L"Twin"), twin64);
    EXPECT_EQ(TestUtil::ValueOrMissing(HKEY_LOCAL_MACHINE, kDates, L"Twin"), date);
    EXPECT_EQ(RegistryRows(lv2()), (std::vector<Row>{{L"Twin", L"C:\\x64\\twin.exe", kRunText}}));

    // And the other way round.
    Put(k32, kRun, L"Twin", L"C:\\x86\\twin.exe /q");
    ASSERT_TRUE(SelectRow(L"another11", L"Twin", kRunText));
    form().mnuDelete_Click();
    EXPECT_FALSE(Get(k64, kRun, L"Twin"));
    EXPECT_EQ(Get(k32, kRun, L"Twin"), twin32);
    EXPECT_EQ(TestUtil::ValueOrMissing(HKEY_LOCAL_MACHINE, kDates, L"Twin"), date);
    EXPECT_TRUE(seam.Warnings().empty());
}

TEST_F(RegistryViewsTest, RunStopPropertiesAndTheEditorJumpTakeTheRowsOwnEntry) {
    auto x64 = TestUtil::StartCopy(L"sleeper.exe", L"C:\\x64\\twin.exe");
    auto x86 = TestUtil::StartCopy(L"sleeper.exe", L"C:\\x86\\twin.exe");
    ASSERT_TRUE(x64 && x86);
    Put(k64, kRun, L"Twin", L"C:\\x64\\twin.exe /a");
    Put(k32, kRun, L"Twin", L"C:\\x86\\twin.exe /b");
    Put(k32, kRunOnce, L"Once32", L"C:\\x86\\once.exe");
    Put(k32, kRunOnceEx, L"Ex32", L"C:\\x86\\ex.exe");
    const TestUtil::WindowsProduct product;
    product.Set(L"Microsoft Windows 7");
    Open();

    ASSERT_TRUE(SelectRow(L"another11", L"Twin", kRun32Text));
    Command(IDM_mnuProperites2);
    ASSERT_NE(frmReg::Current(), nullptr);
    EXPECT_EQ(DialogSupport::WindowText(frmReg::Current()->txtFileName), L"C:\\x86\\twin.exe");
    EXPECT_EQ(DialogSupport::WindowText(frmReg::Current()->txtSwitch), L"/b");
    frmReg::Current()->Unload();

    ASSERT_TRUE(SelectRow(L"another11", L"Twin", kRun32Text));
    Command(IDM_mnuRun2);
    ASSERT_EQ(seam.launches.size(), 1u);
    EXPECT_EQ(seam.launches[0].file, L"C:\\x86\\twin.exe");

    ASSERT_TRUE(SelectRow(L"another11", L"Twin", kRun32Text));
    Command(IDM_mnuStopR);
    EXPECT_EQ(WaitForSingleObject(x86.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(x64.get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    TerminateProcess(x64.get(), 0);

    // The editor opens at the selected row's own key: the 32-bit view's under its real name.
    const std::wstring machine = L"Computer\\HKEY_LOCAL_MACHINE\\";
    const std::wstring node32 = machine + L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\";
    const struct {
        const wchar_t* node;
        const wchar_t* name;
        std::wstring keyText;
        UINT jump;
        std::wstring lastKey;
    } jumps[] = {
        {L"another11", L"Twin", kRun32Text, IDM_mnuAUR, node32 + L"Run"},
        {L"another11", L"Twin", kRunText, IDM_mnuAUR, machine + kRun},
        {L"another22", L"Once32", kRunOnce32Text, IDM_mnuAURO, node32 + L"RunOnce"},
        {L"another33", L"Ex32", kRunOnceEx32Text, IDM_mnuAUROEX, node32 + L"RunOnceEx"},
        // A jump to another key than the row's opens that key as it always did.
        {L"another22", L"Once32", kRunOnce32Text, IDM_mnuAUR, machine + kRun},
    };
    for (const auto& j : jumps) {
        SCOPED_TRACE(j.lastKey);
        ASSERT_TRUE(SelectRow(j.node, j.name, j.keyText));
        Command(j.jump);
        EXPECT_EQ(TestUtil::ValueOrMissing(HKEY_CURRENT_USER,
                                           L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", L"LastKey"),
                  j.lastKey);
    }
    EXPECT_TRUE(seam.Warnings().empty());
}

TEST_F(RegistryViewsTest, NewEntriesOfThe32BitViewAreDatedAndAnnounced) {
    Open();
    Put(k32, kRun, L"New32", L"C:\\x86\\new.exe");
    Show(L"one");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"New Startup Detected:      \r\n\r\nNew32\r\n");
    const std::wstring date = TestUtil::ValueOrMissing(HKEY_LOCAL_MACHINE, kDates, L"New32");
    EXPECT_NE(date, L"<missing>");
    const int row = FindRow(lv2(), L"New32", kRun32Text);
    ASSERT_GE(row, 0);
    EXPECT_EQ(ListView::Text(lv2(), row, 3), date);
    EXPECT_EQ(ListView::Selected(lv2()), row);

    seam.messages.clear();
    Show(L"another11");
    EXPECT_TRUE(seam.messages.empty());  // known now
}

class RegistryViewsBackupTest : public RegistryViewsTest {
protected:
    void SetUp() override {
        RegistryViewsTest::SetUp();
        ASSERT_TRUE(Files::RemoveFolder(App::BackupFolder()));
        seam.runProcesses = true;
    }
    std::wstring RegKeys() const { return App::BackupFolder() + L"\\RegKeys.reg"; }
    // The text of RegKeys.reg after its byte-order mark.
    std::wstring RegKeysText() const {
        const std::string bytes = MyMod::ReadWholeFile(RegKeys()).value_or("");
        if (bytes.size() < 2) return L"";
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    }
    void Restore() {
        seam.messages.clear();
        seam.answers = {IDYES};
        Command(IDM_mnuRestore);
    }
    void ExpectRestored() {
        ASSERT_EQ(seam.messages.size(), 2u);
        EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION)) << seam.messages[1].text;
    }
};

TEST_F(RegistryViewsBackupTest, BackupKeepsThe32BitEntriesAndRestorePutsThemBackInTheirView) {
    Put(k32, kRun, L"Old32", L"\"C:\\Program Files (x86)\\o\\o.exe\" /tray");
    Put(k32, kRunOnce, L"Once32", L"%ProgramFiles(x86)%\\o\\once.exe", REG_EXPAND_SZ);
    Put(k32, kRunOnceEx, L"Ex32", L"C:\\x86\\ex.exe");
    Put(k64, kRun, L"Machine64", L"C:\\x64\\m.exe");
    const auto old32 = Get(k32, kRun, L"Old32");
    const auto once32 = Get(k32, kRunOnce, L"Once32");
    const auto ex32 = Get(k32, kRunOnceEx, L"Ex32");
    Open();
    Show(L"four");
    seam.messages.clear();
    Command(IDM_mnuBackup);
    ASSERT_FALSE(seam.messages.empty());
    ASSERT_EQ(seam.messages.back().flags, static_cast<UINT>(MB_OK)) << seam.messages.back().text;
    const std::wstring text = RegKeysText();
    for (const wchar_t* section :
         {L"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"Old32\"=",
          L"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\r\n\"Once32\"=",
          L"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx]\r\n\"Ex32\"="})
        EXPECT_NE(text.find(section), std::wstring::npos) << section;

    DeleteIn(k32, kRun, L"Old32");
    DeleteIn(k32, kRunOnce, L"Once32");
    DeleteKeyIn(k32, L"RunOnceEx");
    DeleteIn(k64, kRun, L"Machine64");
    Restore();
    ExpectRestored();
    EXPECT_EQ(Get(k32, kRun, L"Old32"), old32);
    EXPECT_EQ(Get(k32, kRunOnce, L"Once32"), once32);
    EXPECT_EQ(Get(k32, kRunOnceEx, L"Ex32"), ex32);
    EXPECT_EQ(Get(k64, kRun, L"Machine64"), Text(L"C:\\x64\\m.exe"));
    for (const wchar_t* name : {L"Old32", L"Once32", L"Ex32"})
        for (const std::wstring& sub : {kRun, kRunOnce, kRunOnceEx}) EXPECT_FALSE(Get(k64, sub, name)) << name;
}

TEST_F(RegistryViewsBackupTest, ABackupWithoutThe32BitKeysRestoresAsBefore) {
    // A backup made before the 32-bit keys were saved: the 64-bit keys and the services only.
    Put(k64, kRun, L"Machine64", L"C:\\x64\\m.exe");
    Put(k32, kRun, L"Kept32", L"C:\\x86\\kept.exe");
    std::wstring body = L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\" + kRun +
                        L"]\r\n\"Machine64\"=\"C:\\\\x64\\\\m.exe\"\r\n\r\n";
    CreateDirectoryW(App::BackupFolder().c_str(), nullptr);
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(body.data()), body.size() * sizeof(wchar_t));
    ASSERT_EQ(SafeFile::Write(RegKeys(), bytes), static_cast<DWORD>(ERROR_SUCCESS));
    DeleteIn(k64, kRun, L"Machine64");
    Open();
    Show(L"four");
    Restore();
    ExpectRestored();
    EXPECT_EQ(Get(k64, kRun, L"Machine64"), Text(L"C:\\x64\\m.exe"));
    EXPECT_EQ(Get(k32, kRun, L"Kept32"), Text(L"C:\\x86\\kept.exe"));
    EXPECT_FALSE(Get(k32, kRun, L"Machine64"));
}

} // namespace
