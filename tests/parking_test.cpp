// Disable, enable and delete of registry startups against the real registry, with the
// delete confirmation driven from a timer while it waits.
#include "Confirmations.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "startups/frmDelete.h"
#include "system/App.h"
#include "system/Registry.h"

#include <sddl.h>

#include <functional>
#include <optional>

#include <gtest/gtest.h>

namespace {

using TestUtil::PutString;
using TestUtil::ValueExists;

const std::wstring kAppSub = L"Software\\Ferrowyn\\Corvell";
const std::wstring kDisabled = kAppSub + L"\\Disabled";
const std::wstring kDates = kAppSub + L"\\Dates\\Startups";
const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunOnce = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring kHklmRun = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kHkcuRun = L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kHklmRunOnce = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring kSelectText = L"Please select a Startup item     ";

using TestUtil::ValueOrMissing;

std::vector<BYTE> Bytes(HKEY root, const std::wstring& sub, const std::wstring& name) {
    const auto v = Registry::ReadValue(root, sub, name);
    return v ? v->bytes : std::vector<BYTE>{};
}

// While it lives nobody may write the key's values or make its sub-keys; it stays readable.
class WritesDenied {
public:
    WritesDenied(HKEY root, std::wstring sub) : root_(root), sub_(std::move(sub)) { SetDacl(L"D:(D;;KW;;;WD)(A;;KA;;;WD)"); }
    ~WritesDenied() { SetDacl(L"D:(A;;KA;;;WD)"); }
    WritesDenied(const WritesDenied&) = delete;
    WritesDenied& operator=(const WritesDenied&) = delete;

private:
    void SetDacl(const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) return;
        HKEY key = nullptr;
        if (RegOpenKeyExW(root_, sub_.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
            RegCloseKey(key);
        }
        LocalFree(sd);
    }
    HKEY root_;
    std::wstring sub_;
};

class ParkingTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kAppSub);
        for (const auto& sub : {kAppSub, kDisabled, kDates}) General::CreateKey(L"HKEY_LOCAL_MACHINE\\" + sub);
        General::SetStringValue(App::AppKey(), L"Backup", L"1");
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            for (const auto& sub : {kRun, kRunOnce}) {
                TestUtil::DeleteTree(root, sub);
                RegCloseKey(CreatedKey(root, sub));
            }
        }
        live = std::make_unique<TestUtil::LiveForm>();
        // The view each action reloads lists no registry startup, so the rows stay the test's own.
        form().SelectNode(L"another 45");
        ListView::Clear(form().lv2);
        seam.messages.clear();
    }
    void TearDown() override { live.reset(); }

    static HKEY CreatedKey(HKEY root, const std::wstring& sub) {
        HKEY key = nullptr;
        RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        return key;
    }

    Form1& form() { return live->form; }
    HWND lv2() { return live->form.lv2; }

    // A row as the loaders write it: the command shown without quotes.
    int AddRow(const std::wstring& name, const std::wstring& keyText, int icon = 1, const std::wstring& shown = L"x") {
        return ListView::AddRow(lv2(), name, icon, {shown, keyText},
                                icon == 3 || icon == 9 ? ListView::DisabledForeColor : ListView::EnabledForeColor);
    }
    void SelectOnly(int row) {
        ListView_SetItemState(lv2(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView::Select(lv2(), row);
    }
    std::vector<Seam::MessageRequest> Warnings() const { return seam.Warnings(); }
    // Shows the node's view, as a click on it does, and selects the named row; -1 when it is not listed.
    int ShowAndSelect(const wchar_t* node, const std::wstring& name) {
        form().SelectNode(node);
        form().tvwDemo_NodeClick(node);
        const int row = ListView::FindRow(lv2(), name);
        if (row >= 0) SelectOnly(row);
        return row;
    }
    // Lists the records as the "Disabled Startups" view does and selects the named one.
    int ShowParked(const std::wstring& name) {
        ListView::Clear(lv2());
        form().LoadDisabledStartups();
        const int row = ListView::FindRow(lv2(), name);
        if (row >= 0) SelectOnly(row);
        return row;
    }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
};

TEST_F(ParkingTest, DisableThenEnableGivesBackEachCommandByteForByteWithItsType) {
    const struct {
        const wchar_t* name;
        std::wstring command;
        DWORD type;
    } cases[] = {
        {L"Quoted", L"\"C:\\Program Files\\Tool\\tool.exe\" /startup", REG_SZ},
        {L"Rundll", L"RUNDLL32.EXE shell32.dll,Control_RunDLL x", REG_SZ},
        {L"Caret", L"C:\\A\\app.exe /x^y ^^z", REG_SZ},
        {L"Long", L"C:\\" + std::wstring(300, L'a') + L"\\l.exe /q", REG_SZ},  // past any 255-character buffer
        {L"Expand", L"%ProgramFiles%\\Tool\\tool.exe -q", REG_EXPAND_SZ},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PutString(HKEY_LOCAL_MACHINE, kRun, c.name, c.command, c.type);
        const std::vector<BYTE> before = Bytes(HKEY_LOCAL_MACHINE, kRun, c.name);
        ListView::Clear(lv2());
        SelectOnly(AddRow(c.name, kHklmRun, 1, L"shown differently"));
        form().mnuDisable_Click();

        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, c.name));
        DWORD type = 0;
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, c.name, &type), L"HKLM^" + c.command);
        EXPECT_EQ(type, c.type);

        const int row = ShowParked(c.name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(ListView::Text(lv2(), row, 1), c.command);
        EXPECT_EQ(ListView::Text(lv2(), row, 2), kHklmRun);
        EXPECT_EQ(ListView::Color(lv2(), row), ListView::DisabledForeColor);
        EXPECT_EQ(ListView::Icon(lv2(), row), 3);
        form().mnuEnable_Click();

        EXPECT_EQ(Bytes(HKEY_LOCAL_MACHINE, kRun, c.name), before);
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, c.name, &type), c.command);
        EXPECT_EQ(type, c.type);
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, c.name));
    }
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ParkingTest, SameNameInBothHivesStaysApartAndASecondDisableIsRefused) {
    PutString(HKEY_LOCAL_MACHINE, kRun, L"App", L"C:\\A\\machine.exe");
    PutString(HKEY_CURRENT_USER, kRun, L"App", L"C:\\A\\user.exe /u");
    AddRow(L"App", kHklmRun);
    const int userRow = AddRow(L"App", kHkcuRun);

    SelectOnly(userRow);
    form().mnuDisable_Click();
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, L"App"), L"HKCU^C:\\A\\user.exe /u");
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRun, L"App"));
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"App"), L"C:\\A\\machine.exe");
    EXPECT_TRUE(Warnings().empty());

    // The machine's entry cannot be parked under the same record name: refused, left in place.
    ListView::Clear(lv2());
    AddRow(L"App", kHkcuRun, 3);
    SelectOnly(AddRow(L"App", kHklmRun));
    form().mnuDisable_Click();
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_NE(Warnings()[0].text.find(L"App"), std::wstring::npos);
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"App"), L"C:\\A\\machine.exe");
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, L"App"), L"HKCU^C:\\A\\user.exe /u");

    // Both are still recoverable: the parked one goes back to the user's Run key.
    ASSERT_GE(ShowParked(L"App"), 0);
    form().mnuEnable_Click();
    EXPECT_EQ(ValueOrMissing(HKEY_CURRENT_USER, kRun, L"App"), L"C:\\A\\user.exe /u");
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"App"), L"C:\\A\\machine.exe");
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, L"App"));
}

TEST_F(ParkingTest, DisableRefusalsLeaveTheRunValueWhereItIs) {
    PutString(HKEY_LOCAL_MACHINE, kRunOnce, L"Once", L"C:\\A\\once.exe");
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Twin", L"C:\\A\\run.exe");
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Kept", L"C:\\A\\kept.exe");
    std::optional<WritesDenied> denied;
    const struct {
        const wchar_t* what;
        const wchar_t* name;
        std::wstring keyText;
        std::function<void()> prepare;
    } cases[] = {
        // A RunOnce entry could not be put back into its own key.
        {L"RunOnce row", L"Once", kHklmRunOnce, [] {}},
        // The row's own key is the user's Run key, which has no "Twin": the machine's is not taken.
        {L"value missing from the row's key", L"Twin", kHkcuRun, [] {}},
        // The store cannot be written.
        {L"failed write", L"Kept", kHklmRun, [&denied] { denied.emplace(HKEY_LOCAL_MACHINE, kDisabled); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        seam.messages.clear();
        ListView::Clear(lv2());
        SelectOnly(AddRow(c.name, c.keyText));
        form().mnuDisable_Click();
        EXPECT_EQ(Warnings().size(), 1u);
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, c.name));
    }
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRunOnce, L"Once"), L"C:\\A\\once.exe");
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Twin"), L"C:\\A\\run.exe");
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Kept"), L"C:\\A\\kept.exe");
}

TEST_F(ParkingTest, RecordsAreListedByHiveAndEnabledIntoTheirHivesRunKey) {
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Lower", L"hklm^C:\\A\\lower.exe");
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"User", L"HKCU^C:\\A\\user.exe /a^b");
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"NoHive", L"C:\\A\\nohive.exe");
    ListView::Clear(lv2());
    form().LoadDisabledStartups();
    ASSERT_EQ(ListView::Count(lv2()), 3);
    const struct {
        const wchar_t* name;
        const wchar_t* command;
        std::wstring keyText;
        HKEY restoredInto;
    } rows[] = {
        {L"Lower", L"C:\\A\\lower.exe", kHklmRun, HKEY_LOCAL_MACHINE},
        {L"User", L"C:\\A\\user.exe /a^b", kHkcuRun, HKEY_CURRENT_USER},
        {L"NoHive", L"C:\\A\\nohive.exe", kHkcuRun, HKEY_CURRENT_USER},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const int row = ListView::FindRow(lv2(), r.name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(ListView::Text(lv2(), row, 1), r.command);
        EXPECT_EQ(ListView::Text(lv2(), row, 2), r.keyText);
        EXPECT_EQ(ListView::Color(lv2(), row), ListView::DisabledForeColor);
    }
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_GE(ShowParked(r.name), 0);
        form().mnuEnable_Click();
        EXPECT_EQ(ValueOrMissing(r.restoredInto, kRun, r.name), r.command);
        EXPECT_FALSE(ValueExists(r.restoredInto == HKEY_LOCAL_MACHINE ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, kRun,
                                 r.name));
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, r.name));
    }
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ParkingTest, ParkedEntryWhoseProgramRunsShowsIconNine) {
    UniqueHandle sleeper = TestUtil::StartCopy(L"sleeper.exe", L"parkrun.exe", L"30");
    ASSERT_TRUE(sleeper);
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Runner", L"HKLM^" + TestUtil::ProgramFolder() + L"\\parkrun.exe");
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Idle", L"HKLM^C:\\A\\idle.exe");
    ListView::Clear(lv2());
    form().LoadDisabledStartups();
    EXPECT_EQ(ListView::Icon(lv2(), ListView::FindRow(lv2(), L"Runner")), 9);
    EXPECT_EQ(ListView::Icon(lv2(), ListView::FindRow(lv2(), L"Idle")), 3);
    TerminateProcess(sleeper.get(), 0);
    WaitForSingleObject(sleeper.get(), 5000);
}

TEST_F(ParkingTest, EnableThatWouldLoseOrDuplicateAnEntryDoesNothing) {
    // No record: nothing is written anywhere (no new current-user Run value).
    SelectOnly(AddRow(L"Live", kHklmRun, 1));
    form().mnuEnable_Click();
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRun, L"Live"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Live"));

    // A different value of that name already in the Run key: refused, both kept.
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Taken", L"HKLM^C:\\A\\parked.exe");
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Taken", L"C:\\A\\other.exe");
    ASSERT_GE(ShowParked(L"Taken"), 0);
    form().mnuEnable_Click();
    EXPECT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Taken"), L"C:\\A\\other.exe");
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, L"Taken"), L"HKLM^C:\\A\\parked.exe");

    // The Run key cannot be written: the record stays and the user is told.
    seam.messages.clear();
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Homeless", L"HKCU^C:\\A\\homeless.exe");
    {
        const WritesDenied denied(HKEY_CURRENT_USER, kRun);
        ASSERT_GE(ShowParked(L"Homeless"), 0);
        form().mnuEnable_Click();
    }
    EXPECT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, L"Homeless"), L"HKCU^C:\\A\\homeless.exe");
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRun, L"Homeless"));
}

TEST_F(ParkingTest, MissingKeysAreMadeAgainSoNoEntryIsStuck) {
    // The store was deleted since the program started: Disable makes it again.
    PutString(HKEY_LOCAL_MACHINE, kRun, L"App", L"C:\\A\\app.exe /x");
    TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kDisabled);
    SelectOnly(AddRow(L"App", kHklmRun));
    form().mnuDisable_Click();
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, L"App"), L"HKLM^C:\\A\\app.exe /x");
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"App"));

    // A cleaner removed the Run key while it stood empty: Enable makes it again.
    const struct {
        HKEY root;
        const wchar_t* hive;
    } hives[] = {{HKEY_CURRENT_USER, L"HKCU"}, {HKEY_LOCAL_MACHINE, L"HKLM"}};
    for (const auto& h : hives) {
        SCOPED_TRACE(h.hive);
        PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Parked", std::wstring(h.hive) + L"^C:\\A\\parked.exe -q");
        TestUtil::DeleteTree(h.root, kRun);
        ASSERT_GE(ShowParked(L"Parked"), 0);
        form().mnuEnable_Click();
        EXPECT_EQ(ValueOrMissing(h.root, kRun, L"Parked"), L"C:\\A\\parked.exe -q");
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, L"Parked"));
        TestUtil::DeleteTree(h.root, kRun);
        RegCloseKey(CreatedKey(h.root, kRun));
    }
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ParkingTest, StringDataThatIsNotWholeUtf16ComesBackByteForByte) {
    // Nine characters and one byte more (19 bytes), as a writer that miscounts leaves them.
    const std::wstring text = L"C:\\A\\o.exe";
    std::vector<BYTE> odd(reinterpret_cast<const BYTE*>(text.data()),
                          reinterpret_cast<const BYTE*>(text.data()) + text.size() * sizeof(wchar_t));
    odd.pop_back();
    ASSERT_EQ(odd.size(), 19u);
    for (DWORD type : {static_cast<DWORD>(REG_SZ), static_cast<DWORD>(REG_EXPAND_SZ)}) {
        SCOPED_TRACE(type);
        HKEY key = CreatedKey(HKEY_LOCAL_MACHINE, kRun);
        ASSERT_EQ(RegSetValueExW(key, L"Odd", 0, type, odd.data(), static_cast<DWORD>(odd.size())), ERROR_SUCCESS);
        RegCloseKey(key);
        ASSERT_EQ(Bytes(HKEY_LOCAL_MACHINE, kRun, L"Odd"), odd);
        ListView::Clear(lv2());
        SelectOnly(AddRow(L"Odd", kHklmRun));
        form().mnuDisable_Click();
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Odd"));

        ASSERT_GE(ShowParked(L"Odd"), 0);
        form().mnuEnable_Click();
        EXPECT_EQ(Bytes(HKEY_LOCAL_MACHINE, kRun, L"Odd"), odd);
        DWORD stored = 0;
        ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Odd", &stored);
        EXPECT_EQ(stored, type);
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, L"Odd"));
    }
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ParkingTest, DisableOfAValueThatIsNoStringSaysWhyAndChangesNothing) {
    const DWORD number = 7;
    const wchar_t multi[] = L"C:\\A\\m.exe\0-x\0";
    const BYTE binary[] = {0x43, 0x3A, 0x5C, 0x00, 0xFF};
    const struct {
        const wchar_t* name;
        DWORD type;
        const void* data;
        DWORD size;
        const wchar_t* typeName;
    } cases[] = {
        {L"Bin", REG_BINARY, binary, sizeof(binary), L"REG_BINARY"},
        {L"Num", REG_DWORD, &number, sizeof(number), L"REG_DWORD"},
        {L"Multi", REG_MULTI_SZ, multi, sizeof(multi), L"REG_MULTI_SZ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY key = CreatedKey(HKEY_LOCAL_MACHINE, kRun);
        RegSetValueExW(key, c.name, 0, c.type, static_cast<const BYTE*>(c.data), c.size);
        RegCloseKey(key);
        const std::vector<BYTE> before = Bytes(HKEY_LOCAL_MACHINE, kRun, c.name);
        seam.messages.clear();
        ListView::Clear(lv2());
        SelectOnly(AddRow(c.name, kHklmRun));
        form().mnuDisable_Click();
        ASSERT_EQ(Warnings().size(), 1u);
        EXPECT_EQ(Warnings()[0].text, L"Only string values can be disabled.  The Startup " + std::wstring(c.name) +
                                          L" is a " + c.typeName + L" value, so it was left as it is.     ");
        EXPECT_EQ(Warnings()[0].caption, L"Corvell");
        EXPECT_EQ(Bytes(HKEY_LOCAL_MACHINE, kRun, c.name), before);
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, c.name));
    }
}

TEST_F(ParkingTest, ARecordThatCannotBeEnabledIsListedSaysWhyAndCanBeDeletedSoItsNameIsFreeAgain) {
    General::SetStringValue(App::AppKey(), L"Confirmed", L"1");
    const DWORD number = 7;
    const struct {
        const wchar_t* what;
        DWORD type;
        std::vector<BYTE> data;
        const wchar_t* reason;
    } cases[] = {
        {L"a number", REG_DWORD, {reinterpret_cast<const BYTE*>(&number), reinterpret_cast<const BYTE*>(&number + 1)},
         L"REG_DWORD"},
        {L"an empty text", REG_SZ, {0, 0}, L"empty"},
        {L"no data at all", REG_EXPAND_SZ, {}, L"empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutString(HKEY_LOCAL_MACHINE, kRun, L"App", L"C:\\A\\app.exe /x");
        ASSERT_TRUE(Registry::WriteBytes(HKEY_LOCAL_MACHINE, kDisabled, L"App", c.type, c.data));
        seam.messages.clear();
        // Listed in the "Disabled Startups" view, where the user can act on it.
        ASSERT_TRUE(form().SelectNode(L"seven"));
        form().tvwDemo_NodeClick(form().SelectedNodeKey());
        const int row = ListView::FindRow(lv2(), L"App");
        ASSERT_GE(row, 0);
        EXPECT_EQ(ListView::Color(lv2(), row), ListView::DisabledForeColor);
        SelectOnly(row);

        // Enable says why it cannot, and changes nothing.
        form().mnuEnable_Click();
        ASSERT_EQ(Warnings().size(), 1u);
        EXPECT_NE(Warnings()[0].text.find(L"App"), std::wstring::npos) << Warnings()[0].text;
        EXPECT_NE(Warnings()[0].text.find(c.reason), std::wstring::npos) << Warnings()[0].text;
        EXPECT_EQ(Bytes(HKEY_LOCAL_MACHINE, kDisabled, L"App"), c.data);
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"App"), L"C:\\A\\app.exe /x");
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRun, L"App"));

        // Delete removes the record and leaves the Run value of that name.
        SelectOnly(ListView::FindRow(lv2(), L"App"));
        form().mnuDelete_Click();
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, L"App"));
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"App"), L"C:\\A\\app.exe /x");

        // The Run value can now be disabled.
        seam.messages.clear();
        ListView::Clear(lv2());
        SelectOnly(AddRow(L"App", kHklmRun));
        form().mnuDisable_Click();
        EXPECT_TRUE(Warnings().empty());
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, L"App"), L"HKLM^C:\\A\\app.exe /x");
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"App"));
        (void)General::DeleteValue(HKEY_LOCAL_MACHINE, kDisabled, L"App");
    }
}

// A record "HKLM32^", "HKLM^" or "HKCU^" names no command: Enable says so and writes nothing.
TEST_F(ParkingTest, ARecordWithAHiveButNoCommandIsRefusedAsEmptyAndCanBeDeleted) {
    const struct {
        const wchar_t* data;
        DWORD type;
    } records[] = {
        {L"HKLM32^", REG_SZ}, {L"HKLM^", REG_SZ}, {L"HKCU^", REG_SZ}, {L"hklm^", REG_EXPAND_SZ}, {L"^", REG_SZ},
    };
    auto noValue = [](HKEY root, Registry::View view) { return !Registry::ReadValue(root, kRun, L"App", view); };
    for (const auto& r : records) {
        SCOPED_TRACE(r.data);
        General::SetStringValue(App::AppKey(), L"Confirmed", L"1");
        PutString(HKEY_LOCAL_MACHINE, kDisabled, L"App", r.data, r.type);
        const std::vector<BYTE> stored = Bytes(HKEY_LOCAL_MACHINE, kDisabled, L"App");
        seam.messages.clear();
        ASSERT_GE(ShowParked(L"App"), 0);
        form().mnuEnable_Click();
        ASSERT_EQ(Warnings().size(), 1u);
        EXPECT_EQ(Warnings()[0].text,
                  L"The disabled Startup App cannot be enabled: its record is empty and names no command.  You can "
                  L"delete it.     ");
        EXPECT_EQ(Bytes(HKEY_LOCAL_MACHINE, kDisabled, L"App"), stored);
        EXPECT_TRUE(noValue(HKEY_LOCAL_MACHINE, Registry::View::k64));
        EXPECT_TRUE(noValue(HKEY_LOCAL_MACHINE, Registry::View::k32));
        EXPECT_TRUE(noValue(HKEY_CURRENT_USER, Registry::View::kOwn));

        seam.messages.clear();
        ASSERT_GE(ShowParked(L"App"), 0);
        form().mnuDelete_Click();
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, L"App"));
        EXPECT_TRUE(Warnings().empty());
    }
}

TEST_F(ParkingTest, EnableOfARecordThatIsGoneSaysSoAndRefreshesTheList) {
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Gone", L"HKLM^C:\\A\\gone.exe");
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Stays", L"HKLM^C:\\A\\stays.exe");
    ASSERT_TRUE(form().SelectNode(L"seven"));
    form().tvwDemo_NodeClick(form().SelectedNodeKey());
    const int row = ListView::FindRow(lv2(), L"Gone");
    ASSERT_GE(row, 0);
    SelectOnly(row);
    // Another program (or a second window) removes the record meanwhile.
    ASSERT_TRUE(General::DeleteValue(HKEY_LOCAL_MACHINE, kDisabled, L"Gone"));
    form().mnuEnable_Click();
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_NE(Warnings()[0].text.find(L"Gone"), std::wstring::npos) << Warnings()[0].text;
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Gone"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRun, L"Gone"));
    // The stale row went with the reload.
    EXPECT_LT(ListView::FindRow(lv2(), L"Gone"), 0);
    EXPECT_GE(ListView::FindRow(lv2(), L"Stays"), 0);
}

TEST_F(ParkingTest, EnableOnARowThatIsNoParkedRegistryEntryLeavesTheRecordOfThatName) {
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Dup", L"HKLM^C:\\A\\parked.exe");
    const struct {
        const wchar_t* what;
        std::wstring keyText;
        int icon;
    } rows[] = {
        // A parked shortcut whose folder path holds "software" is offered the registry Action menu.
        {L"parked startup-folder row", L"C:\\users\\Software\\Start Menu\\Programs\\StartUp", 3},
        {L"running parked startup-folder row", L"C:\\users\\Software\\Start Menu\\Programs\\StartUp", 9},
        {L"enabled registry row", kHklmRun, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        ListView::Clear(lv2());
        SelectOnly(AddRow(L"Dup", r.keyText, r.icon));
        form().mnuEnable_Click();
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Dup"));
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRun, L"Dup"));
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, L"Dup"), L"HKLM^C:\\A\\parked.exe");
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ParkingTest, EachActionWithoutASelectedRowAsksForOneAndSelectsTheCurrentRow) {
    PutString(HKEY_LOCAL_MACHINE, kRun, L"App", L"C:\\A\\app.exe");
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"App", L"HKLM^C:\\A\\app.exe");
    General::SetStringValue(App::AppKey(), L"Confirmed", L"1");
    const struct {
        const wchar_t* what;
        void (Form1::*action)();
    } actions[] = {
        {L"Disable", &Form1::mnuDisable_Click},
        {L"Enable", &Form1::mnuEnable_Click},
        {L"Delete", &Form1::mnuDelete_Click},
    };
    for (const auto& a : actions) {
        SCOPED_TRACE(a.what);
        ListView::Clear(lv2());
        const int row = AddRow(L"App", kHklmRun);
        ListView_SetItemState(lv2(), row, LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);  // current, not selected
        seam.messages.clear();
        (form().*a.action)();
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, kSelectText);
        EXPECT_EQ(seam.messages[0].caption, L"Corvell");
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(ListView::Selected(lv2()), row);
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"App"), L"C:\\A\\app.exe");
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, L"App"), L"HKLM^C:\\A\\app.exe");
    }
}

TEST_F(ParkingTest, ConfirmedDeleteRemovesOnlyTheRowsOwnEntryAndItsDate) {
    General::SetStringValue(App::AppKey(), L"Confirmed", L"1");
    auto reset = [] {
        PutString(HKEY_LOCAL_MACHINE, kRun, L"Dup", L"C:\\A\\machine.exe");
        PutString(HKEY_CURRENT_USER, kRun, L"Dup", L"C:\\A\\user.exe");
        PutString(HKEY_LOCAL_MACHINE, kRunOnce, L"Dup", L"C:\\A\\once.exe");
        PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Dup", L"HKCU^C:\\A\\parked.exe");
        PutString(HKEY_LOCAL_MACHINE, kDates, L"Dup", L"12/10/2026 10:00:00 AM");
        PutString(HKEY_LOCAL_MACHINE, kDates, L"Other", L"12/10/2026 10:00:00 AM");
    };
    struct Place {
        HKEY root;
        std::wstring sub;
    };
    const Place machineRun{HKEY_LOCAL_MACHINE, kRun}, userRun{HKEY_CURRENT_USER, kRun},
        machineOnce{HKEY_LOCAL_MACHINE, kRunOnce}, record{HKEY_LOCAL_MACHINE, kDisabled};
    const struct {
        const wchar_t* what;
        std::wstring keyText;
        int icon;
        Place gone;
    } cases[] = {
        {L"enabled machine row", kHklmRun, 1, machineRun},
        {L"running user row", kHkcuRun, 2, userRun},
        {L"RunOnce row", kHklmRunOnce, 1, machineOnce},
        {L"parked row", kHkcuRun, 3, record},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        ListView::Clear(lv2());
        SelectOnly(AddRow(L"Dup", c.keyText, c.icon));
        form().mnuDelete_Click();
        for (const Place& p : {machineRun, userRun, machineOnce, record})
            EXPECT_EQ(ValueExists(p.root, p.sub, L"Dup"), !(p.root == c.gone.root && p.sub == c.gone.sub)) << p.sub;
        // The entries of that name still there keep the date they share.
        EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kDates, L"Dup"));
        EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kDates, L"Other"));
    }
    EXPECT_TRUE(Warnings().empty());

    // The Delete key of the list does the same.
    reset();
    ListView::Clear(lv2());
    SelectOnly(AddRow(L"Dup", kHklmRun, 1));
    SendMessageW(lv2(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Dup"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRun, L"Dup"));
}

TEST_F(ParkingTest, TheDateOfANameGoesWithTheLastStartupOfThatNameAndIsNeverAnnouncedAgainBefore) {
    General::SetStringValue(App::AppKey(), L"Confirmed", L"1");
    General::SetStringValue(App::AppKey(), L"lv2DT", L"1");
    const std::wstring stamp = L"12/10/2025 10:00:00 AM";
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Dup", L"C:\\A\\machine.exe");
    PutString(HKEY_CURRENT_USER, kRun, L"Dup", L"C:\\A\\user.exe");
    PutString(HKEY_LOCAL_MACHINE, kDates, L"Dup", stamp);
    form().SelectNode(L"three");
    const auto deleteRow = [&](const std::wstring& keyText) {
        form().tvwDemo_NodeClick(L"three");
        for (int row = 0; row < ListView::Count(lv2()); ++row)
            if (ListView::Text(lv2(), row) == L"Dup" && ListView::Text(lv2(), row, 2) == keyText) SelectOnly(row);
        ASSERT_EQ(ListView::Text(lv2(), ListView::Selected(lv2()), 2), keyText);
        seam.messages.clear();
        form().mnuDelete_Click();  // the view is loaded again, its dates filled
    };

    deleteRow(kHkcuRun);
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRun, L"Dup"));
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDates, L"Dup"), stamp);
    const int left = ListView::FindRow(lv2(), L"Dup");
    ASSERT_GE(left, 0);
    EXPECT_EQ(ListView::Text(lv2(), left, 3), stamp);
    EXPECT_TRUE(seam.messages.empty()) << (seam.messages.empty() ? L"" : seam.messages[0].text);

    deleteRow(kHklmRun);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Dup"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kDates, L"Dup"));
    EXPECT_TRUE(seam.messages.empty());
}

// A record with no data at all is still listed in its store's view, so the date of its name stays
// when a same-named Run value is deleted.
TEST_F(ParkingTest, ARecordWithoutDataKeepsTheDateOfItsNameWhenASameNamedEntryIsDeleted) {
    General::SetStringValue(App::AppKey(), L"Confirmed", L"1");
    const std::wstring stamp = L"12/10/2025 10:00:00 AM";
    const struct {
        const wchar_t* what;
        std::wstring sub;
        const wchar_t* record;
    } cases[] = {
        {L"a disabled registry record", kDisabled, L"Dup"},
        {L"a parked folder item's record", kAppSub + L"\\Startups", L"Dup.lnk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        General::CreateKey(L"HKEY_LOCAL_MACHINE\\" + c.sub);
        ASSERT_TRUE(Registry::WriteBytes(HKEY_LOCAL_MACHINE, c.sub, c.record, REG_BINARY, {}));
        PutString(HKEY_CURRENT_USER, kRun, L"Dup", L"C:\\A\\user.exe");
        PutString(HKEY_LOCAL_MACHINE, kDates, L"Dup", stamp);
        ListView::Clear(lv2());
        SelectOnly(AddRow(L"Dup", kHkcuRun));
        form().mnuDelete_Click();
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRun, L"Dup"));
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDates, L"Dup"), stamp);
        (void)General::DeleteValue(HKEY_LOCAL_MACHINE, c.sub, c.record);
    }
}

TEST_F(ParkingTest, DeleteKeyOnRowsThatAreNoRegistryStartupRemovesNothingAndAsksNothing) {
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Dup", L"C:\\A\\machine.exe");
    PutString(HKEY_CURRENT_USER, kRun, L"Dup", L"C:\\A\\user.exe");
    PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Dup", L"HKLM^C:\\A\\parked.exe");
    PutString(HKEY_LOCAL_MACHINE, kDates, L"Dup", L"12/10/2026 10:00:00 AM");
    const struct {
        const wchar_t* what;
        std::wstring keyText;
        int icon;
    } rows[] = {
        {L"startup-folder row", L"C:\\users\\Public\\Start Menu\\Programs\\StartUp", 1},
        {L"parked startup-folder row", L"C:\\users\\Public\\Start Menu\\Programs\\StartUp", 3},
        {L"Winlogon row", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", 2},
        {L"legacy-file row", L"C:\\windows\\win.ini", 11},
        {L"missing legacy-file row", L"File Not Found", 3},
    };
    for (const wchar_t* confirmed : {L"0", L"1"}) {
        General::SetStringValue(App::AppKey(), L"Confirmed", confirmed);
        for (const auto& r : rows) {
            SCOPED_TRACE(std::wstring(r.what) + L", Confirmed " + confirmed);
            bool looked = false, asked = false;
            TestUtil::AfterDelay(200, [&looked, &asked] {
                looked = true;
                if (frmDelete* open = frmDelete::Current()) {
                    asked = true;
                    open->cmdNo_Click();
                }
            });
            ListView::Clear(lv2());
            SelectOnly(AddRow(L"Dup", r.keyText, r.icon));
            SendMessageW(lv2(), WM_KEYDOWN, VK_DELETE, 0);
            ASSERT_TRUE(TestUtil::PumpUntil([&looked] { return looked; }));
            EXPECT_FALSE(asked);
            EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Dup"));
            EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRun, L"Dup"));
            EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kDisabled, L"Dup"));
            EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kDates, L"Dup"));
        }
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ParkingTest, ThroughTheViewsAnEntryIsDisabledEnabledAndDeletedFromTheMenu) {
    const std::wstring command = L"\"C:\\Program Files\\Tool\\tool.exe\" /tray";
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Tool", command);
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Other", L"C:\\A\\other.exe");
    General::SetStringValue(App::AppKey(), L"Confirmed", L"1");
    auto view = [this](const wchar_t* node) {
        form().SelectNode(node);
        form().tvwDemo_NodeClick(form().SelectedNodeKey());
    };
    auto choose = [this](UINT id, const wchar_t* name) {
        const int row = ListView::FindRow(lv2(), name);
        if (row >= 0) SelectOnly(row);
        SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return row;
    };

    view(L"another11");
    ASSERT_GE(choose(IDM_mnuDisable, L"Tool"), 0);
    EXPECT_LT(ListView::FindRow(lv2(), L"Tool"), 0);  // the view was reloaded
    EXPECT_GE(ListView::FindRow(lv2(), L"Other"), 0);
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kDisabled, L"Tool"), L"HKLM^" + command);

    view(L"another 44");
    const int parked = ListView::FindRow(lv2(), L"Tool");
    ASSERT_GE(parked, 0);
    EXPECT_EQ(ListView::Color(lv2(), parked), ListView::DisabledForeColor);
    EXPECT_EQ(ListView::Text(lv2(), parked, 1), command);
    ASSERT_GE(choose(IDM_mnuEnable, L"Tool"), 0);
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Tool"), command);

    view(L"another11");
    ASSERT_GE(choose(IDM_mnuDelete, L"Tool"), 0);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Tool"));
    EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Other"), L"C:\\A\\other.exe");
    EXPECT_TRUE(Warnings().empty());
}

using Confirmation = Confirmations::Seen;
using Confirmations::kPressEnter;
using Confirmations::kPressEscape;

void AnswerConfirmation(Confirmation& seen, HWND owner, bool tick, int button) {
    Confirmations::Answer<frmDelete>(seen, owner, tick, button);
}

TEST_F(ParkingTest, ConfirmationAsksWithItsTextsAndItsAnswerDecides) {
    const struct {
        const wchar_t* what;
        bool tick;
        int button;
        bool deleted;
        const wchar_t* confirmed;
    } cases[] = {
        {L"No", false, frmDelete::IDC_cmdNo, false, L"0"},
        {L"close box, ticked", true, 0, false, L"1"},
        {L"Yes", false, frmDelete::IDC_cmdYes, true, L"0"},
        {L"Esc", false, kPressEscape, false, L"0"},
        {L"Enter, ticked", true, kPressEnter, true, L"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        General::SetStringValue(App::AppKey(), L"Confirmed", L"0");
        PutString(HKEY_LOCAL_MACHINE, kRun, L"Tool", L"C:\\A\\tool.exe");
        ListView::Clear(lv2());
        SelectOnly(AddRow(L"Tool", kHklmRun));
        Confirmation seen;
        AnswerConfirmation(seen, form().hwnd(), c.tick, c.button);
        form().mnuDelete_Click();
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(frmDelete::Current(), nullptr);
        EXPECT_TRUE(seen.ownerDisabled);
        EXPECT_TRUE(IsWindowEnabled(form().hwnd()));
        Confirmations::ExpectDeleteTexts(seen, L"Tool");
        EXPECT_EQ(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Tool"), !c.deleted);
        EXPECT_EQ(General::GetStringValue(App::AppKey(), L"Confirmed"), c.confirmed);
    }
}

// While the confirmation waits the list may be asked to change under it; Yes deletes the entry
// it named, and nothing when that entry no longer holds what it held when it was named.
TEST_F(ParkingTest, YesDeletesTheEntryTheConfirmationNamedWhateverHappenedMeanwhile) {
    const std::wstring changed =
        L"The Startup Gamma has changed since you were asked about it.  Nothing was deleted.     ";
    auto press = [this](UINT id, HWND control = nullptr) {
        SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    };
    bool madeNew = false;
    const auto newEntry = [&madeNew] {
        PutString(HKEY_LOCAL_MACHINE, kRun, L"Aardvark", L"C:\\A\\aardvark.exe");
        madeNew = true;
    };
    const struct {
        const wchar_t* what;
        bool parked;  // Gamma is a record of "Disabled Startups"
        std::function<void()> meanwhile;
        bool gammaDeleted;
        std::wstring warning;  // "" for none
    } cases[] = {
        {L"Delete pressed again", false, [this] { SendMessageW(lv2(), WM_KEYDOWN, VK_DELETE, 0); }, true, L""},
        // The reload announces the new entry and selects it.
        {L"a new Run value, then the dialogs' reload button", false,
         [&] {
             newEntry();
             press(IDC_cmdWL, form().cmdWL);
         },
         true, L""},
        {L"a new Run value, then Disable", false,
         [&] {
             newEntry();
             press(IDM_mnuDisable);
         },
         true, L""},
        {L"another row selected", false, [this] { SelectOnly(ListView::FindRow(lv2(), L"Alpha")); }, true, L""},
        {L"its command changed by another program", false,
         [] { PutString(HKEY_LOCAL_MACHINE, kRun, L"Gamma", L"C:\\A\\other.exe"); }, false, changed},
        {L"made again as an expandable value", false,
         [] { PutString(HKEY_LOCAL_MACHINE, kRun, L"Gamma", L"C:\\A\\gamma.exe", REG_EXPAND_SZ); }, false, changed},
        {L"parked: another row selected", true, [this] { SelectOnly(ListView::FindRow(lv2(), L"Alpha")); }, true,
         L""},
        {L"parked: its record changed", true,
         [] { PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Gamma", L"HKCU^C:\\A\\gamma.exe"); }, false, changed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        madeNew = false;
        General::SetStringValue(App::AppKey(), L"Confirmed", L"0");
        General::SetStringValue(App::AppKey(), L"lv2DT", L"1");
        TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kRun);
        TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kDisabled);
        General::CreateKey(L"HKEY_LOCAL_MACHINE\\" + kDisabled);
        // Alpha and Beta are where Gamma is, so the view lists all three.
        const std::wstring sub = c.parked ? kDisabled : kRun;
        const std::wstring hive = c.parked ? L"HKLM^" : L"";
        PutString(HKEY_LOCAL_MACHINE, sub, L"Alpha", hive + L"C:\\A\\alpha.exe");
        PutString(HKEY_LOCAL_MACHINE, sub, L"Beta", hive + L"C:\\A\\beta.exe");
        PutString(HKEY_LOCAL_MACHINE, sub, L"Gamma", hive + L"C:\\A\\gamma.exe");
        ASSERT_GE(ShowAndSelect(c.parked ? L"another 44" : L"another11", L"Gamma"), 0);
        seam.messages.clear();

        Confirmation seen;
        Confirmations::Answer<frmDelete>(seen, form().hwnd(), false, frmDelete::IDC_cmdYes, c.meanwhile);
        form().mnuDelete_Click();
        ASSERT_TRUE(seen.shown);
        Confirmations::ExpectDeleteTexts(seen, L"Gamma");
        EXPECT_EQ(frmDelete::Current(), nullptr);

        EXPECT_EQ(ValueExists(HKEY_LOCAL_MACHINE, sub, L"Gamma"), !c.gammaDeleted);
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, sub, L"Alpha"), hive + L"C:\\A\\alpha.exe");
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, sub, L"Beta"), hive + L"C:\\A\\beta.exe");
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, kRun, L"Aardvark"),
                  madeNew ? L"C:\\A\\aardvark.exe" : L"<missing>");
        // Nothing was parked, or put back, meanwhile.
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, c.parked ? kRun : kDisabled, L"Gamma"));
        const auto warnings = Warnings();
        if (c.warning.empty()) {
            EXPECT_TRUE(warnings.empty()) << warnings[0].text;
        } else {
            EXPECT_EQ(warnings.size(), 1u);
            for (const auto& warning : warnings) {
                EXPECT_EQ(warning.text, c.warning);
                EXPECT_EQ(warning.caption, L"Corvell");
            }
        }
        // Once the confirmation has gone the view is loaded again and shows what is there.
        EXPECT_EQ(ListView::FindRow(lv2(), L"Gamma") >= 0, !c.gammaDeleted);
        if (!c.parked) {
            EXPECT_EQ(ListView::FindRow(lv2(), L"Aardvark") >= 0, madeNew);
        }
    }
}

// An entry deleted or renamed by another program, before the question or while it waits: Delete
// says it was not found, deletes nothing, and the view is read again.
TEST_F(ParkingTest, DeleteOfAnEntryThatIsGoneSaysItWasNotFoundAndReadsTheListAgain) {
    const std::wstring notFound =
        L"The Startup Gamma was not found in its registry key.  Nothing was changed.     ";
    const struct {
        const wchar_t* what;
        bool parked;
        const wchar_t* confirmed;
        bool whileAsked;  // gone while the question waits, else before Delete is chosen
        bool renamed;     // a copy named "Gamma 2" is left in its place
    } cases[] = {
        {L"gone before the question", false, L"0", false, false},
        {L"gone, without a question", false, L"1", false, false},
        {L"renamed while the question waits", false, L"0", true, true},
        {L"parked: gone before the question", true, L"0", false, false},
        {L"parked: renamed while the question waits", true, L"0", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        General::SetStringValue(App::AppKey(), L"Confirmed", c.confirmed);
        General::SetStringValue(App::AppKey(), L"lv2DT", L"1");
        TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kRun);
        TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kDisabled);
        General::CreateKey(L"HKEY_LOCAL_MACHINE\\" + kDisabled);
        const std::wstring sub = c.parked ? kDisabled : kRun;
        const std::wstring data = (c.parked ? L"HKLM^" : L"") + std::wstring(L"C:\\A\\gamma.exe");
        PutString(HKEY_LOCAL_MACHINE, sub, L"Alpha", (c.parked ? L"HKLM^" : L"") + std::wstring(L"C:\\A\\alpha.exe"));
        PutString(HKEY_LOCAL_MACHINE, sub, L"Gamma", data);
        ASSERT_GE(ShowAndSelect(c.parked ? L"another 44" : L"another11", L"Gamma"), 0);
        seam.messages.clear();
        const auto goAway = [&] {
            ASSERT_TRUE(General::DeleteValue(HKEY_LOCAL_MACHINE, sub, L"Gamma"));
            if (c.renamed) PutString(HKEY_LOCAL_MACHINE, sub, L"Gamma 2", data);
        };
        if (!c.whileAsked) goAway();

        Confirmation seen;
        Confirmations::Answer<frmDelete>(seen, form().hwnd(), false, frmDelete::IDC_cmdYes,
                                         c.whileAsked ? std::function<void()>(goAway) : nullptr);
        form().mnuDelete_Click();
        ASSERT_TRUE(TestUtil::PumpUntil([&seen] { return seen.looked; }));
        EXPECT_EQ(seen.shown, c.whileAsked);
        EXPECT_EQ(frmDelete::Current(), nullptr);

        const auto warnings = Warnings();
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].text, notFound);
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, sub, L"Gamma 2"), c.renamed ? data : L"<missing>");
        EXPECT_EQ(ValueOrMissing(HKEY_LOCAL_MACHINE, sub, L"Alpha"),
                  (c.parked ? L"HKLM^" : L"") + std::wstring(L"C:\\A\\alpha.exe"));
        // The view was read again: the stale row has gone, a renamed copy is listed.
        EXPECT_LT(ListView::FindRow(lv2(), L"Gamma"), 0);
        EXPECT_EQ(ListView::FindRow(lv2(), L"Gamma 2") >= 0, c.renamed);
        EXPECT_GE(ListView::FindRow(lv2(), L"Alpha"), 0);
        (void)General::DeleteValue(HKEY_LOCAL_MACHINE, sub, L"Gamma 2");
    }
}

TEST_F(ParkingTest, DontAskMeAgainMakesTheNextDeleteSilent) {
    General::SetStringValue(App::AppKey(), L"Confirmed", L"0");
    PutString(HKEY_LOCAL_MACHINE, kRun, L"First", L"C:\\A\\first.exe");
    PutString(HKEY_LOCAL_MACHINE, kRun, L"Second", L"C:\\A\\second.exe");
    SelectOnly(AddRow(L"First", kHklmRun));
    Confirmation seen;
    AnswerConfirmation(seen, form().hwnd(), true, frmDelete::IDC_cmdYes);
    form().mnuDelete_Click();
    ASSERT_TRUE(seen.shown);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"First"));
    EXPECT_EQ(General::GetStringValue(App::AppKey(), L"Confirmed"), L"1");

    ListView::Clear(lv2());
    SelectOnly(AddRow(L"Second", kHklmRun));
    Confirmation again;
    AnswerConfirmation(again, form().hwnd(), false, frmDelete::IDC_cmdNo);
    form().mnuDelete_Click();
    ASSERT_TRUE(TestUtil::PumpUntil([&again] { return again.looked; }));
    EXPECT_FALSE(again.shown);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, L"Second"));
}

} // namespace
