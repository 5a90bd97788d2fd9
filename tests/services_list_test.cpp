// The services list of a live main window against the real service manager of the prefix:
// rows, settings, icons, colours, paths, dependencies both ways, first-seen dates and their
// announcement, tooltips, and a pass that other commands cannot disturb.
#include "ServiceFixtures.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/ServiceControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

const std::wstring kAppSub = L"Software\\Ferrowyn\\Corvell";
const std::wstring kDatesSub = kAppSub + L"\\Dates";
const std::wstring kServicesSub = L"SYSTEM\\CurrentControlSet\\Services\\";

constexpr int kColStatus = 2, kColSetting = 3, kColDependsOn = 4, kColDependants = 5, kColPath = 6, kColDate = 7;

void SetStartValue(const std::wstring& service, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kServicesSub + service).c_str(), 0, KEY_SET_VALUE, &key), 0);
    RegSetValueExW(key, L"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

void DeleteServiceValue(const std::wstring& service, const wchar_t* name) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kServicesSub + service).c_str(), 0, KEY_SET_VALUE, &key), 0);
    RegDeleteValueW(key, name);
    RegCloseKey(key);
}

class ServicesListTest : public ServiceFixtures::ServiceTest {
protected:

    static std::wstring Cell(const Form1& form, const std::wstring& service, int column) {
        return ListView::Text(form.lv, Row(form, service), column);
    }

    const TestUtil::WindowsProduct product_;  // put back after each test
};

TEST_F(ServicesListTest, OneRowPerServiceWithTitleAndNoSelection) {
    Install(L"CorvellListed", L"Corvell Listed");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.LoadServices();

    const auto triples = UpcServiciosyWea().ListServices();
    ASSERT_TRUE(triples.has_value());
    const int count = static_cast<int>(triples->size());
    ASSERT_EQ(ListView::Count(form.lv), count);
    for (const ServiceTriple& service : *triples) {
        const int row = Row(form, service.name);
        ASSERT_GE(row, 0) << service.name.c_str();
        EXPECT_EQ(ListView::Text(form.lv, row, 0), service.displayName);
        EXPECT_EQ(ListView::Text(form.lv, row, kColStatus), service.state);
    }
    const std::wstring title = std::to_wstring(count) + L" Available Services";
    EXPECT_EQ(form.ControlText(form.lblCount), title);
    EXPECT_EQ(form.PanelText(2), title);
    EXPECT_EQ(ListView::Selected(form.lv), -1);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ServicesListTest, SettingIconAndColoursFollowTheStartValue) {
    struct Case {
        const wchar_t* name;
        long start;  // -1: no "Start" value
        const wchar_t* setting;
        int icon;
        COLORREF color;
    };
    const Case cases[] = {
        {L"CorvellStart2", 2, L"Automatic", 2, ListView::EnabledForeColor},
        {L"CorvellStart3", 3, L"Manual", 1, CLR_DEFAULT},
        {L"CorvellStart4", 4, L"Disabled", 3, ListView::DisabledForeColor},
        {L"CorvellStart0", 0, L"0", 1, CLR_DEFAULT},
        {L"CorvellStart1", 1, L"1", 1, CLR_DEFAULT},
        {L"CorvellStartNone", -1, L"Error", 1, CLR_DEFAULT},
    };
    for (const auto& c : cases) {
        Install(c.name, std::wstring(c.name) + L" Display");
        if (c.start < 0) DeleteServiceValue(c.name, L"Start");
        else SetStartValue(c.name, static_cast<DWORD>(c.start));
    }
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.LoadServices();
    for (const auto& c : cases) {
        const int row = Row(form, c.name);
        ASSERT_GE(row, 0) << c.name;
        EXPECT_EQ(ListView::Text(form.lv, row, kColSetting), c.setting) << c.name;
        EXPECT_EQ(ListView::Icon(form.lv, row), c.icon) << c.name;
        EXPECT_EQ(form.ServiceCellColor(row, kColStatus), c.color) << c.name;
        EXPECT_EQ(form.ServiceCellColor(row, kColSetting), c.color) << c.name;
        EXPECT_EQ(form.ServiceCellColor(row, 0), CLR_DEFAULT) << c.name;

        // The list paints those cells in that colour, the others in the window text colour.
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr.hwndFrom = form.lv;
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
        for (int column : {0, kColStatus, kColSetting, kColPath}) {
            draw.iSubItem = column;
            draw.clrText = RGB(1, 2, 3);
            form.OnNotify(&draw.nmcd.hdr);
            const COLORREF expected =
                (column == kColStatus || column == kColSetting) && c.color != CLR_DEFAULT ? c.color
                                                                                           : GetSysColor(COLOR_WINDOWTEXT);
            EXPECT_EQ(draw.clrText, expected) << c.name << " column " << column;
        }
    }
}

TEST_F(ServicesListTest, StartThatIsNoFourByteDwordShowsError) {
    auto wide = [](const wchar_t* text, size_t chars) {
        return std::vector<BYTE>(reinterpret_cast<const BYTE*>(text),
                                 reinterpret_cast<const BYTE*>(text + chars));
    };
    struct Case {
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Case cases[] = {
        {L"CorvellStartSz", REG_SZ, wide(L"4", 2)},
        {L"CorvellStartExpand", REG_EXPAND_SZ, wide(L"2", 2)},
        {L"CorvellStartMulti", REG_MULTI_SZ, wide(L"3\0", 3)},
        {L"CorvellStartQword", REG_QWORD, {4, 0, 0, 0, 0, 0, 0, 0}},
        {L"CorvellStartBinary", REG_BINARY, {4, 0, 0, 0}},
        {L"CorvellStartBigEndian", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 4}},
        {L"CorvellStartShort", REG_DWORD, {4, 0}},
    };
    for (const auto& c : cases) {
        Install(c.name, std::wstring(c.name) + L" Display");
        ASSERT_TRUE(Registry::WriteBytes(HKEY_LOCAL_MACHINE, kServicesSub + c.name, L"Start", c.type, c.data));
    }
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.LoadServices();
    for (const auto& c : cases) {
        const int row = Row(form, c.name);
        ASSERT_GE(row, 0) << c.name;
        EXPECT_EQ(ListView::Text(form.lv, row, kColSetting), L"Error") << c.name;
        EXPECT_EQ(ListView::Icon(form.lv, row), 1) << c.name;
        EXPECT_EQ(form.ServiceCellColor(row, kColSetting), CLR_DEFAULT) << c.name;
    }
}

TEST_F(ServicesListTest, RunningManualServiceGetsIconFourAndAGreenStatus) {
    Install(L"CorvellManualRun", L"Corvell Manual Run");
    Install(L"CorvellManualIdle", L"Corvell Manual Idle");
    Install(L"CorvellAutoRun", L"Corvell Auto Run", SERVICE_AUTO_START);
    ASSERT_TRUE(ServiceFixtures::StartAndWait(L"CorvellManualRun"));
    ASSERT_TRUE(ServiceFixtures::StartAndWait(L"CorvellAutoRun"));
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.LoadServices();

    int row = Row(form, L"CorvellManualRun");
    EXPECT_EQ(ListView::Text(form.lv, row, kColStatus), L"Running");
    EXPECT_EQ(ListView::Icon(form.lv, row), 4);
    EXPECT_EQ(form.ServiceCellColor(row, kColStatus), ListView::EnabledForeColor);
    EXPECT_EQ(form.ServiceCellColor(row, kColSetting), CLR_DEFAULT);

    row = Row(form, L"CorvellManualIdle");
    EXPECT_EQ(ListView::Icon(form.lv, row), 1);
    EXPECT_EQ(form.ServiceCellColor(row, kColStatus), CLR_DEFAULT);

    row = Row(form, L"CorvellAutoRun");
    EXPECT_EQ(ListView::Icon(form.lv, row), 2);
    EXPECT_EQ(form.ServiceCellColor(row, kColStatus), ListView::EnabledForeColor);
}

TEST_F(ServicesListTest, ServicePathIsCleaned) {
    const std::wstring windows = MyMod::GetWindowsDir();
    const std::wstring longPath = L"C:\\" + std::wstring(400, L'p') + L"\\svc.exe";
    struct Case {
        const wchar_t* name;
        std::wstring imagePath;  // empty: no value
        DWORD type;
        std::wstring shown;
    };
    const Case cases[] = {
        {L"CorvellPathSvchost", L"%SystemRoot%\\System32\\svchost -k netsvcs", REG_EXPAND_SZ,
         windows + L"\\System32\\svchost.exe -k netsvcs"},
        {L"CorvellPathLower", L"%systemroot%\\system32\\SVCHOST -k rpcss", REG_EXPAND_SZ,
         windows + L"\\system32\\svchost.exe -k rpcss"},
        {L"CorvellPathQuoted", L"\"C:\\Program Files\\Corvell Test\\svc.exe\" -run", REG_SZ,
         L"C:\\Program Files\\Corvell Test\\svc.exe -run"},
        {L"CorvellPathError", L"C:\\error\\errorsvc.exe", REG_SZ, L"C:\\error\\errorsvc.exe"},
        {L"CorvellPathLong", longPath, REG_SZ, longPath},
        {L"CorvellPathMissing", L"", REG_SZ, L"Path Not Found"},
    };
    for (const auto& c : cases) {
        Install(c.name, std::wstring(c.name) + L" Display");
        if (c.imagePath.empty()) DeleteServiceValue(c.name, L"ImagePath");
        else TestUtil::PutString(HKEY_LOCAL_MACHINE, kServicesSub + c.name, L"ImagePath", c.imagePath, c.type);
    }
    TestUtil::LiveForm live;
    live.form.LoadServices();
    for (const auto& c : cases) EXPECT_EQ(Cell(live.form, c.name, kColPath), c.shown) << c.name;
}

TEST_F(ServicesListTest, DependenciesBothWaysMatchWholeNamesInListOrder) {
    Install(L"CorvellNetman", L"Corvell Netman");
    Install(L"CorvellNetmanX", L"Corvell NetmanX");
    // By display name CorvellUserTwo comes first, by service name CorvellUserOne does.
    Install(L"CorvellUserOne", L"Corvell User One", SERVICE_DEMAND_START, {L"CorvellNetman", L"CorvellNetmanX"});
    Install(L"CorvellUserTwo", L"Corvell A User Two", SERVICE_DEMAND_START, {L"CorvellNetmanX"});

    for (const wchar_t* product : {L"Microsoft Windows 7", L"Microsoft Windows XP"}) {
        SCOPED_TRACE(product);
        product_.Set(product);
        TestUtil::LiveForm live;
        Form1& form = live.form;
        form.LoadServices();
        EXPECT_EQ(Cell(form, L"CorvellNetman", kColDependsOn), L"No Dependency");
        // Only a whole name counts: CorvellUserTwo depends on CorvellNetmanX, not on CorvellNetman.
        EXPECT_EQ(Cell(form, L"CorvellNetman", kColDependants), L"CorvellUserOne");
        EXPECT_EQ(Cell(form, L"CorvellNetmanX", kColDependants), L"CorvellUserTwo, CorvellUserOne");
        EXPECT_EQ(Cell(form, L"CorvellUserOne", kColDependsOn), L"CorvellNetman, CorvellNetmanX");
        EXPECT_EQ(Cell(form, L"CorvellUserOne", kColDependants), L"None");
        EXPECT_EQ(Cell(form, L"CorvellUserTwo", kColDependsOn), L"CorvellNetmanX");

        // Sorted by service name, the next load names the dependants in that order.
        form.mnuSortService_Click();
        form.Command6_Click();
        EXPECT_EQ(Cell(form, L"CorvellNetmanX", kColDependants), L"CorvellUserOne, CorvellUserTwo");
        form.mnuSortDisplay_Click();
    }
}

TEST_F(ServicesListTest, FirstLoadIsSilentLaterLoadsAnnounceNewServices) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.LoadServices();
    EXPECT_TRUE(seam.messages.empty());
    std::wstring flag;
    ASSERT_TRUE(TestUtil::ReadString(HKEY_LOCAL_MACHINE, kAppSub, L"lvDT", flag));
    EXPECT_EQ(flag, L"1");
    const int rows = ListView::Count(form.lv);
    ASSERT_GT(rows, 0);
    for (int row = 0; row < rows; ++row) {
        std::wstring stored;
        ASSERT_TRUE(TestUtil::ReadString(HKEY_LOCAL_MACHINE, kDatesSub, ListView::Text(form.lv, row, 1), stored));
        EXPECT_EQ(ListView::Text(form.lv, row, kColDate), stored);
    }

    // A stored date is shown as it is, whatever it says.
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kDatesSub, ListView::Text(form.lv, 0, 1), L"long ago");
    Install(L"CorvellNewOne", L"Corvell New One");
    form.LoadServices();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"New Service Detected:      \r\n\r\nCorvell New One\r\n");
    EXPECT_EQ(seam.messages[0].caption, App::Title());
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, L"CorvellNewOne"));
    EXPECT_EQ(GetFocus(), form.lv);
    EXPECT_EQ(Cell(form, L"CorvellNewOne", kColDate).empty(), false);
    EXPECT_EQ(ListView::Text(form.lv, Row(form, ListView::Text(form.lv, 0, 1)), kColDate), L"long ago");

    seam.messages.clear();
    Install(L"CorvellNewA", L"Corvell New A");
    Install(L"CorvellNewB", L"Corvell New B");
    Install(L"CorvellNewC", L"Corvell New C");
    form.LoadServices();
    ASSERT_EQ(seam.messages.size(), 1u);
    // The names come in the order the manager lists the services.
    std::wstring expected = L"New Services Detected:      \r\n\r\n";
    std::wstring last;
    const auto triples = UpcServiciosyWea().ListServices();
    for (const ServiceTriple& service : *triples) {
        const std::wstring& name = service.name;
        if (name == L"CorvellNewA" || name == L"CorvellNewB" || name == L"CorvellNewC") {
            expected += service.displayName + L"\r\n";
            last = name;
        }
    }
    EXPECT_EQ(seam.messages[0].text, expected);
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, last));

    // A refresh stamps a new service without a word, and the next load does not announce it.
    seam.messages.clear();
    Install(L"CorvellNewQuiet", L"Corvell New Quiet");
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_Command6, BN_CLICKED), reinterpret_cast<LPARAM>(form.Command6));
    EXPECT_TRUE(seam.messages.empty());
    std::wstring stamped;
    EXPECT_TRUE(TestUtil::ReadString(HKEY_LOCAL_MACHINE, kDatesSub, L"CorvellNewQuiet", stamped));
    EXPECT_EQ(Cell(form, L"CorvellNewQuiet", kColDate), stamped);
    form.LoadServices();
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ServicesListTest, TheAnnouncedServiceIsSelectedByItsNameThoughAnotherSharesItsDisplayName) {
    // Two services of one display name, as the manager reads them from their keys at boot.
    InstallSharingDisplayName({L"CorvellTwinA", L"CorvellTwinB"}, L"Corvell Twin");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.LoadServices();  // the first look: nothing announced
    ASSERT_TRUE(seam.messages.empty());

    // The later of the two rows is seen for the first time on the next load.
    const std::wstring later = Row(form, L"CorvellTwinA") > Row(form, L"CorvellTwinB") ? L"CorvellTwinA"
                                                                                         : L"CorvellTwinB";
    ASSERT_TRUE(General::DeleteValue(HKEY_LOCAL_MACHINE, kDatesSub, later));
    form.LoadServices();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"New Service Detected:      \r\n\r\nCorvell Twin\r\n");
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, later));
}

TEST_F(ServicesListTest, AMissingDatesKeyIsMadeAgainSoServicesAreAnnouncedOnce) {
    Install(L"CorvellDated", L"Corvell Dated");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.LoadServices();
    ASSERT_TRUE(seam.messages.empty());

    ASSERT_TRUE(TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kDatesSub));
    form.LoadServices();  // no record is left: every service is new once
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_NE(seam.messages[0].text.find(L"Corvell Dated\r\n"), std::wstring::npos);
    std::wstring stamped;
    ASSERT_TRUE(TestUtil::ReadString(HKEY_LOCAL_MACHINE, kDatesSub, L"CorvellDated", stamped));
    EXPECT_EQ(Cell(form, L"CorvellDated", kColDate), stamped);

    seam.messages.clear();
    form.LoadServices();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(Cell(form, L"CorvellDated", kColDate), stamped);
}

// More new services than a box can name: the first 25 in the manager's order and how many more.
TEST_F(ServicesListTest, ManyNewServicesAreNamedUpToAScreenful) {
    for (int i = 0; i < 12; ++i)
        Install(L"CorvellMany" + std::to_wstring(10 + i), L"Corvell Many " + std::to_wstring(10 + i));
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.LoadServices();
    ASSERT_TRUE(TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kDatesSub));
    seam.messages.clear();
    form.LoadServices();  // every service is new
    ASSERT_EQ(seam.messages.size(), 1u);
    const auto triples = UpcServiciosyWea().ListServices();
    ASSERT_TRUE(triples);
    ASSERT_GT(triples->size(), 25u);
    std::wstring expected = L"New Services Detected:      \r\n\r\n";
    for (size_t i = 0; i < 25; ++i) expected += (*triples)[i].displayName + L"\r\n";
    expected += L"... and " + std::to_wstring(triples->size() - 25) + L" more.\r\n";
    EXPECT_EQ(seam.messages[0].text, expected);
    for (const ServiceTriple& service : *triples) {
        std::wstring stamped;
        EXPECT_TRUE(TestUtil::ReadString(HKEY_LOCAL_MACHINE, kDatesSub, service.name, stamped)) << service.name;
    }
}

TEST_F(ServicesListTest, ToolTipsRepeatTheNameDependencyAndPathCells) {
    Install(L"CorvellTipBase", L"Corvell Tip Base");
    Install(L"CorvellTipUser", L"Corvell Tip User", SERVICE_DEMAND_START, {L"CorvellTipBase"});
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.LoadServices();
    for (const wchar_t* name : {L"CorvellTipBase", L"CorvellTipUser"}) {
        const int row = Row(form, name);
        for (int column = 0; column < 8; ++column) {
            const bool hasTip = column == 0 || column == 1 || column == 4 || column == 5 || column == 6;
            EXPECT_EQ(form.ServiceToolTip(row, column), hasTip ? ListView::Text(form.lv, row, column) : L"")
                << name << " column " << column;
        }
    }
    EXPECT_EQ(form.ServiceToolTip(Row(form, L"CorvellTipBase"), 5), L"CorvellTipUser");
}

TEST_F(ServicesListTest, APassIsNotDisturbedByARefreshOrANodeClickMeanwhile) {
    Install(L"CorvellBusyBase", L"Corvell Busy Base");
    Install(L"CorvellBusyUser", L"Corvell Busy User", SERVICE_DEMAND_START, {L"CorvellBusyBase"});
    TestUtil::LiveForm live;
    Form1& form = live.form;
    const size_t services = UpcServiciosyWea().ListServices()->size();

    // Both arrive at the pass's first yield.
    ASSERT_TRUE(form.SelectNode(L"six"));
    PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_Command6, BN_CLICKED), reinterpret_cast<LPARAM>(form.Command6));
    PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_cmdWL, BN_CLICKED), reinterpret_cast<LPARAM>(form.cmdWL));
    std::vector<std::wstring> steps;
    bool clearedDuringPass = false;
    form.onDispatchStep = [&](const wchar_t* step) {
        steps.push_back(step);
        if (std::wstring(step) == L"Clear" && form.servicesLoading) clearedDuringPass = true;
    };
    form.Command6_Click();
    form.onDispatchStep = nullptr;

    EXPECT_FALSE(clearedDuringPass);
    EXPECT_FALSE(steps.empty());  // the node click ran, after the pass
    EXPECT_FALSE(form.servicesLoading);
    ASSERT_EQ(static_cast<size_t>(ListView::Count(form.lv)), services);
    std::set<std::wstring> names;
    for (int row = 0; row < ListView::Count(form.lv); ++row) names.insert(ListView::Text(form.lv, row, 1));
    EXPECT_EQ(names.size(), services);  // no row twice
    EXPECT_EQ(Cell(form, L"CorvellBusyBase", kColDependants), L"CorvellBusyUser");
}

TEST_F(ServicesListTest, ASortChosenWhileTheRowsAreAddedAppliesAtTheEnd) {
    Install(L"CorvellOrderA", L"Zulu Corvell Order");
    Install(L"CorvellOrderZ", L"Alpha Corvell Order");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.Command6_Click();
    ASSERT_LT(Row(form, L"CorvellOrderZ"), Row(form, L"CorvellOrderA"));  // by display name

    PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuSortService, 0), 0);
    form.Command6_Click();
    EXPECT_EQ(form.lvSortKey, Form1::ServiceSortKey::ServiceName);
    for (int row = 1; row < ListView::Count(form.lv); ++row)
        EXPECT_LE(lstrcmpiW(ListView::Text(form.lv, row - 1, 1).c_str(), ListView::Text(form.lv, row, 1).c_str()), 0)
            << row;
    EXPECT_EQ(ListView::ColumnIcon(form.lv, 1), 7);
}

} // namespace

namespace {

// What the pointer becomes when the mouse moves over window: the window and its parents answer.
HCURSOR PointerOver(HWND window) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

TEST_F(ServicesListTest, TheHourglassStaysUntilTheListIsFilled) {
    Install(L"CorvellPointer", L"Corvell Pointer");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    std::vector<std::wstring> kept;
    form.onDispatchStep = [&](const wchar_t* step) {
        // A mouse move over the list and the tree: before the load, and after its yields.
        const std::wstring name = step;
        if ((name == L"LoadServices" || name == L"SaveServiceSortKey") && PointerOver(form.lv) == wait &&
            PointerOver(form.tvwDemo) == wait)
            kept.push_back(name);
    };
    form.tvwDemo_NodeClick(L"six");
    form.onDispatchStep = nullptr;
    EXPECT_EQ(kept, (std::vector<std::wstring>{L"LoadServices", L"SaveServiceSortKey"}));
    EXPECT_NE(PointerOver(form.lv), wait);  // and goes once the view is complete
}

} // namespace

// Display names may be 256 characters long and hold line breaks: 25 of them still leave the
// announcement and its button on the screen, each name on a line of its own.
TEST_F(ServicesListTest, TheAnnouncementOfLongDisplayNamesFitsTheScreen) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kAppSub, L"lvDT", L"1");  // a load has run before
    std::vector<ServiceTriple> found;
    for (int i = 0; i < 30; ++i) {
        std::wstring display;
        while (display.size() < 256) display += L"Word" + std::to_wstring(i) + (i % 3 == 0 ? L"\r\n" : L" ");
        found.push_back({L"CorvellLong" + std::to_wstring(i), display.substr(0, 256), L"Stopped"});
    }
    form.AnnounceNewServices(found);
    ASSERT_EQ(seam.messages.size(), 1u);
    const std::wstring& text = seam.messages[0].text;
    EXPECT_EQ(text.rfind(L"New Services Detected:      \r\n\r\nWord0  Word0  ", 0), 0u) << text;
    EXPECT_NE(text.find(L"\r\n... and 5 more.\r\n"), std::wstring::npos) << text;
    size_t lines = 0;
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 2u + 25u + 1u);  // heading, blank, one line per name, the count

    const Seam::MessageRequest& shown = seam.messages[0];
    const RECT box = TestUtil::ShownBoxPlace(shown.text, shown.caption, shown.flags);
    EXPECT_GT(box.bottom, box.top);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.bottom, GetSystemMetrics(SM_CYSCREEN));
}
