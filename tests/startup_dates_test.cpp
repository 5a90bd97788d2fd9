// First-seen dates of the startup rows: stamping, the announcement of new entries and where it
// is left out, and the tooltips of lv2, in a real main window.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "system/App.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kDates = L"Software\\Ferrowyn\\Corvell\\Dates\\Startups";
const std::wstring kDisabled = L"Software\\Ferrowyn\\Corvell\\Disabled";
constexpr int kDateColumn = 3;

// A local time in the user's short date and time formats, as the rows show it.
std::wstring LocalStamp(const SYSTEMTIME& at) {
    wchar_t date[128] = {}, time[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &at, nullptr, time, 128);
    return std::wstring(date) + L" " + time;
}

SYSTEMTIME LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

// Every stamp of a second from one local time to a later one: a slow machine may take a few.
std::set<std::wstring> StampsBetween(const SYSTEMTIME& from, const SYSTEMTIME& to) {
    constexpr ULONGLONG kSecond = 10000000;  // in 100 ns units
    auto ticks = [](const SYSTEMTIME& t) {
        FILETIME f{};
        SystemTimeToFileTime(&t, &f);
        return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / kSecond * kSecond;
    };
    std::set<std::wstring> stamps;
    for (ULONGLONG at = ticks(from); at <= ticks(to); at += kSecond) {
        const FILETIME f{static_cast<DWORD>(at), static_cast<DWORD>(at >> 32)};
        SYSTEMTIME t{};
        FileTimeToSystemTime(&f, &t);
        stamps.insert(LocalStamp(t));
    }
    return stamps;
}

std::wstring StoredDate(const std::wstring& name) { return TestUtil::ValueOrMissing(HKEY_LOCAL_MACHINE, kDates, name); }

class StartupDatesTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        ClearRunKeys();
    }
    void TearDown() override {
        live.reset();
        ClearRunKeys();
    }
    static void ClearRunKeys() {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            TestUtil::DeleteTree(root, kRun);
            General::CreateKey((root == HKEY_LOCAL_MACHINE ? L"HKEY_LOCAL_MACHINE\\" : L"HKEY_CURRENT_USER\\") + kRun);
        }
    }
    static void AddRun(const std::wstring& name, HKEY root = HKEY_LOCAL_MACHINE) {
        TestUtil::PutString(root, kRun, name, L"C:\\Tools\\" + name + L".exe");
    }
    // The first window of a fresh settings key: its load stamps what is there.
    Form1& Open() {
        live = std::make_unique<TestUtil::LiveForm>();
        return live->form;
    }
    void Click(const std::wstring& key) {
        Form1& form = live->form;
        ASSERT_TRUE(form.SelectNode(key)) << key;
        form.tvwDemo_NodeClick(form.SelectedNodeKey());
    }
    std::vector<std::wstring> Messages() const {
        std::vector<std::wstring> out;
        for (const auto& m : seam.messages) out.push_back(m.text);
        return out;
    }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
};

TEST_F(StartupDatesTest, FirstDispatchStampsEveryRowSilentlyInTheUsersFormats) {
    AddRun(L"Alpha");
    AddRun(L"Beta", HKEY_CURRENT_USER);
    const SYSTEMTIME before = LocalNow();
    Form1& form = Open();
    const std::set<std::wstring> stamps = StampsBetween(before, LocalNow());
    EXPECT_TRUE(seam.messages.empty());
    ASSERT_EQ(ListView::Count(form.lv2), 2);
    for (int row = 0; row < 2; ++row) {
        const std::wstring name = ListView::Text(form.lv2, row);
        const std::wstring shown = ListView::Text(form.lv2, row, kDateColumn);
        EXPECT_EQ(stamps.count(shown), 1u) << shown;
        EXPECT_EQ(StoredDate(name), shown) << name;
    }
    // A later look finds them known.
    Click(L"one");
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(StartupDatesTest, NewEntriesAreAnnouncedAndTheLastOneSelected) {
    for (int i = 0; i < 60; ++i) AddRun(L"Known" + std::to_wstring(i));
    Form1& form = Open();
    ASSERT_TRUE(seam.messages.empty());

    AddRun(L"Newcomer");
    Click(L"another11");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"New Startup Detected:      \r\n\r\nNewcomer\r\n");
    EXPECT_EQ(seam.messages[0].caption, App::Title());
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(ListView::Text(form.lv2, ListView::Selected(form.lv2)), L"Newcomer");
    EXPECT_EQ(GetFocus(), form.lv2);

    // Two new ones: the plural text, both in list order, the second selected and scrolled to.
    seam.messages.clear();
    AddRun(L"Second");
    AddRun(L"Third");
    Click(L"one");
    ASSERT_EQ(seam.messages.size(), 1u);
    std::vector<std::wstring> newInListOrder;
    for (int row = 0; row < ListView::Count(form.lv2); ++row) {
        const std::wstring name = ListView::Text(form.lv2, row);
        if (name == L"Second" || name == L"Third") newInListOrder.push_back(name);
    }
    ASSERT_EQ(newInListOrder.size(), 2u);
    EXPECT_EQ(seam.messages[0].text, L"New Startups Detected:      \r\n\r\n" + newInListOrder[0] + L"\r\n" +
                                         newInListOrder[1] + L"\r\n");
    const int selected = ListView::Selected(form.lv2);
    EXPECT_EQ(ListView::Text(form.lv2, selected), newInListOrder[1]);
    RECT item{}, client{};
    ListView_GetItemRect(form.lv2, selected, &item, LVIR_BOUNDS);
    GetClientRect(form.lv2, &client);
    EXPECT_TRUE(item.top >= client.top && item.bottom <= client.bottom) << item.top << " " << item.bottom;

    // Nothing new: no message and the selection stays where it is.
    seam.messages.clear();
    Click(L"one");
    ListView::Select(form.lv2, 5);
    form.MarkStartupDates();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(ListView::Selected(form.lv2), 5);
}

// A thousand new entries: the box names the first 25 in list order and how many more there
// are, fits on the screen, and every entry is stamped as seen.
TEST_F(StartupDatesTest, ManyNewEntriesAreNamedUpToAScreenfulAndAllStamped) {
    Form1& form = Open();
    constexpr int kNew = 1000;
    for (int i = 0; i < kNew; ++i) AddRun(L"Arrival" + std::to_wstring(1000 + i));
    Click(L"one");
    ASSERT_EQ(seam.messages.size(), 1u);
    ASSERT_EQ(ListView::Count(form.lv2), kNew);
    std::wstring expected = L"New Startups Detected:      \r\n\r\n";
    for (int row = 0; row < 25; ++row) expected += ListView::Text(form.lv2, row) + L"\r\n";
    expected += L"... and 975 more.\r\n";
    EXPECT_EQ(seam.messages[0].text, expected);
    EXPECT_EQ(ListView::Text(form.lv2, ListView::Selected(form.lv2)), ListView::Text(form.lv2, kNew - 1));
    for (int row = 0; row < kNew; ++row) {
        const std::wstring name = ListView::Text(form.lv2, row);
        ASSERT_EQ(StoredDate(name), ListView::Text(form.lv2, row, kDateColumn)) << name;
    }
    Click(L"one");
    EXPECT_EQ(seam.messages.size(), 1u);  // all known now

    const auto& shown = seam.messages[0];
    const RECT box = TestUtil::ShownBoxPlace(shown.text, shown.caption, shown.flags);
    EXPECT_GT(box.bottom, box.top);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.bottom, GetSystemMetrics(SM_CYSCREEN));
}

// Names as long as a value name may be: each is named by its beginning, so the box still fits
// on the screen, and every entry is stamped as seen.
TEST_F(StartupDatesTest, NewEntriesWithVeryLongNamesAreNamedWithinTheScreen) {
    Form1& form = Open();
    constexpr int kNew = 30;
    for (int i = 0; i < kNew; ++i) AddRun(std::to_wstring(10 + i) + std::wstring(8000, L'a' + i % 26));
    Click(L"one");
    ASSERT_EQ(seam.messages.size(), 1u);
    ASSERT_EQ(ListView::Count(form.lv2), kNew);
    const std::wstring& text = seam.messages[0].text;
    for (int row = 0; row < 25; ++row)
        EXPECT_NE(text.find(ListView::Text(form.lv2, row).substr(0, 60)), std::wstring::npos) << row;
    EXPECT_NE(text.find(L"... and 5 more.\r\n"), std::wstring::npos);
    for (int row = 0; row < kNew; ++row) {
        const std::wstring name = ListView::Text(form.lv2, row);
        ASSERT_EQ(StoredDate(name), ListView::Text(form.lv2, row, kDateColumn)) << row;
    }

    const auto& shown = seam.messages[0];
    const RECT box = TestUtil::ShownBoxPlace(shown.text, shown.caption, shown.flags);
    EXPECT_GT(box.bottom, box.top);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.bottom, GetSystemMetrics(SM_CYSCREEN));
}

// Where a listing box stops naming: up to 25 lines stand as they are, beyond that 25 and a count.
TEST(ListedLines, ALongOrBrokenNameIsQuotedOnOneLineWithinItsLength) {
    const struct {
        std::wstring text;
        size_t maxChars;
        std::wstring quoted;
    } cases[] = {
        {L"Short", 8, L"Short"},
        {L"Exactly8", 8, L"Exactly8"},
        {L"NineChars", 8, L"NineC..."},
        {L"Two\r\nlines", 20, L"Two  lines"},
        {L"abcd\xD83D\xDE00xyz", 8, L"abcd..."},  // the cut falls inside a pair: both halves go
    };
    for (const auto& c : cases) EXPECT_EQ(Text::OneLineExcerpt(c.text, c.maxChars), c.quoted) << c.text;
}

TEST(ListedLines, AtMost25LinesThenHowManyMore) {
    const auto lines = [](size_t n) {
        std::vector<std::wstring> out;
        for (size_t i = 0; i < n; ++i) out.push_back(L"n" + std::to_wstring(i));
        return out;
    };
    const struct {
        size_t count;
        size_t listed;
        const wchar_t* last;
    } cases[] = {{0, 0, nullptr}, {1, 1, L"n0"}, {25, 25, L"n24"}, {26, 26, L"... and 1 more."},
                 {1000, 26, L"... and 975 more."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const std::vector<std::wstring> listed = Text::ListedLines(lines(c.count));
        ASSERT_EQ(listed.size(), c.listed);
        if (c.last) {
            EXPECT_EQ(listed.back(), c.last);
            EXPECT_EQ(listed.front(), L"n0");
        }
        if (c.count > 25) {
            EXPECT_EQ(listed[24], L"n24");
        }
    }
}

TEST_F(StartupDatesTest, TwoNewRowsOfOneNameAreNamedOnce) {
    Open();
    AddRun(L"Twin", HKEY_LOCAL_MACHINE);
    AddRun(L"twin", HKEY_CURRENT_USER);
    Click(L"three");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"New Startup Detected:      \r\n\r\nTwin\r\n");
    const Form1& form = live->form;
    ASSERT_EQ(ListView::Count(form.lv2), 2);
    EXPECT_EQ(ListView::Text(form.lv2, 0, kDateColumn), ListView::Text(form.lv2, 1, kDateColumn));
}

TEST_F(StartupDatesTest, QuietViewsStoreNewEntriesWithoutAnnouncingThemThenOrLater) {
    Open();
    TestUtil::PutString(HKEY_LOCAL_MACHINE, L"Software\\Ferrowyn\\Corvell", L"SysWarn", L"1");  // warned before
    // A parked entry first seen under "Disabled Startups", then enabled into its Run key.
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kDisabled, L"Parked", L"HKLM^C:\\Tools\\parked.exe");
    for (const wchar_t* key : {L"seven", L"ten", L"eleven"}) {
        Click(key);
        EXPECT_TRUE(seam.messages.empty()) << key;
        const Form1& form = live->form;
        for (int row = 0; row < ListView::Count(form.lv2); ++row)
            EXPECT_EQ(StoredDate(ListView::Text(form.lv2, row)), ListView::Text(form.lv2, row, kDateColumn)) << key;
    }
    EXPECT_NE(StoredDate(L"Parked"), L"<missing>");
    EXPECT_NE(StoredDate(L"Userinit.exe"), L"<missing>");
    EXPECT_NE(StoredDate(L"Win.ini"), L"<missing>");
    AddRun(L"Parked");
    Click(L"another11");
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(StartupDatesTest, StoredDatesShowUnchangedAndAStoredErrorCountsAsNone) {
    Open();
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kDates, L"OldTimer", L"31/12/2001 x");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kDates, L"Broken", L"ERROR");
    AddRun(L"OldTimer");
    AddRun(L"Broken");
    Click(L"another11");
    const Form1& form = live->form;
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"New Startup Detected:      \r\n\r\nBroken\r\n");
    const int old = ListView::FindRow(form.lv2, L"OldTimer");
    const int broken = ListView::FindRow(form.lv2, L"Broken");
    EXPECT_EQ(ListView::Text(form.lv2, old, kDateColumn), L"31/12/2001 x");
    EXPECT_NE(StoredDate(L"Broken"), L"ERROR");
    EXPECT_EQ(StoredDate(L"Broken"), ListView::Text(form.lv2, broken, kDateColumn));
}

TEST_F(StartupDatesTest, AMissingDatesKeyIsMadeAgainSoANewEntryIsAnnouncedOnce) {
    Open();
    ASSERT_TRUE(TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kDates));
    AddRun(L"Once");
    Click(L"another11");
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"New Startup Detected:      \r\n\r\nOnce\r\n"});
    Click(L"another11");
    EXPECT_EQ(seam.messages.size(), 1u);
    EXPECT_NE(StoredDate(L"Once"), L"<missing>");
}

TEST_F(StartupDatesTest, RowsAndTheirPathCellsHaveTooltipsTheDateNone) {
    AddRun(L"Tipped");
    Form1& form = Open();
    ASSERT_EQ(ListView::Count(form.lv2), 1);
    EXPECT_EQ(form.StartupToolTip(0, 0), L"Tipped");
    EXPECT_EQ(form.StartupToolTip(0, 1), L"C:\\Tools\\Tipped.exe");
    EXPECT_EQ(form.StartupToolTip(0, 2), L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_EQ(form.StartupToolTip(0, kDateColumn), L"");

    // Answered through the list's own notification (the pointer is off the list).
    SetCursorPos(0, 0);
    wchar_t buffer[260] = L"own text";
    NMLVGETINFOTIPW tip{};
    tip.hdr.hwndFrom = form.lv2;
    tip.hdr.code = LVN_GETINFOTIPW;
    tip.pszText = buffer;
    tip.cchTextMax = 260;
    tip.iItem = 0;
    tip.iSubItem = 0;
    SendMessageW(form.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(buffer, L"Tipped");

    // Rows put into an emptied list carry none until the tooltips are set again.
    ListView::Clear(form.lv2);
    ListView::AddRow(form.lv2, L"Fresh", 1, {L"C:\\fresh.exe", L"HKLM\\x"});
    EXPECT_EQ(form.StartupToolTip(0, 0), L"");
    form.SetStartupToolTips();
    EXPECT_EQ(form.StartupToolTip(0, 1), L"C:\\fresh.exe");
}

} // namespace
