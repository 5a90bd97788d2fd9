// The service properties dialog on the test services of a live main window: its fields, the
// description by product, the path split, the setting tab, Apply, and the description table.
#include "ServiceFixtures.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "services/ServiceDescriptions.h"
#include "services/frmInfo.h"
#include "system/ServiceControl.h"
#include "system/Text.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

const std::wstring kServicesSub = L"SYSTEM\\CurrentControlSet\\Services\\";
constexpr int kColSetting = 3, kColDependsOn = 4, kColDependants = 5;

using ServiceFixtures::StartValue;

std::wstring Text(HWND control) { return DialogSupport::WindowText(control); }

int Choice(const frmInfo& d) { return static_cast<int>(SendMessageW(d.cboStatus, CB_GETCURSEL, 0, 0)); }

class ServicePropertiesTest : public ServiceFixtures::ServiceTest {
protected:
    void TearDown() override {
        if (frmInfo* open = frmInfo::Current()) open->Unload();
        ServiceTest::TearDown();
    }
    // Opens frmInfo on the service's row, the way a double click on that row does.
    static frmInfo* DoubleClick(Form1& form, const std::wstring& service) {
        const int row = Row(form, service);
        if (row < 0) return nullptr;
        ListView_EnsureVisible(form.lv, row, FALSE);
        RECT cell{};
        ListView_GetItemRect(form.lv, row, &cell, LVIR_LABEL);
        const LPARAM at = MAKELPARAM(cell.left + 4, (cell.top + cell.bottom) / 2);
        SendMessageW(form.lv, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(form.lv, WM_LBUTTONUP, 0, at);
        SendMessageW(form.lv, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(form.lv, WM_LBUTTONUP, 0, at);
        return frmInfo::Current();
    }

    const TestUtil::WindowsProduct windowsProduct;  // put back after each test
};

TEST_F(ServicePropertiesTest, ShowsTheRowOfTheServiceOnItsTabs) {
    Install(L"CorvellInfoBase", L"Corvell Info Base");
    Install(L"CorvellInfoTop", L"Corvell Info Top", SERVICE_AUTO_START, {L"CorvellInfoBase"}, L"-k netsvcs");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");

    frmInfo* d = DoubleClick(form, L"CorvellInfoTop");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Text(d->hwnd()), L"Service Properties");
    EXPECT_EQ(d->tabs.SelectedTab(), 0);
    EXPECT_TRUE(IsWindowVisible(d->tabs.Frame2[0]));
    const std::wstring captions[] = {L"File Properties", L"Service Status", L"Service Setting", L"Dependencies"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(d->tabs.Caption(i), captions[i]);

    const std::wstring program = TestUtil::ProgramFolder() + L"\\testsvc.exe";
    EXPECT_EQ(Text(d->Label9), L"Corvell Info Top");
    EXPECT_EQ(Text(d->txtName), L"Corvell Info Top");
    EXPECT_EQ(Text(d->txtID), L"CorvellInfoTop");
    EXPECT_EQ(Text(d->txtFileName), program);
    EXPECT_EQ(Text(d->txtSwitch), L"-k netsvcs");
    EXPECT_EQ(Text(d->txtCurrent), L"Stopped");
    EXPECT_EQ(Choice(*d), 0);  // "Automatic"
    const int row = Row(form, L"CorvellInfoTop");
    EXPECT_EQ(Text(d->txtDependsOn), ListView::Text(form.lv, row, kColDependsOn));
    EXPECT_NE(Text(d->txtDependsOn).find(L"CorvellInfoBase"), std::wstring::npos);
    EXPECT_EQ(Text(d->txtDependsOnIt), L"None");
    EXPECT_EQ(Text(d->txtDescr), L"Not Available");

    // The program file: its own name (it has no version resource), its size and date.
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(Text(d->panel.txtInfo[0]), L"testsvc.exe");
    EXPECT_EQ(Text(d->panel.txtInfo[4]), L"Unknown API");
    EXPECT_NE(Text(d->panel.txtInfo[6]), L"");
    EXPECT_NE(Text(d->panel.txtInfo[7]), L"");
    EXPECT_EQ(d->toolTips.Text(d->txtFileName), program);

    // The other service, once this dialog is closed: its dependants and a manual setting.
    d->Unload();
    d = DoubleClick(form, L"CorvellInfoBase");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Text(d->txtDependsOnIt), ListView::Text(form.lv, Row(form, L"CorvellInfoBase"), kColDependants));
    EXPECT_EQ(Text(d->txtDependsOnIt), L"CorvellInfoTop");
    EXPECT_EQ(Text(d->txtSwitch), L"");
    EXPECT_EQ(Choice(*d), 1);  // "Manual"
}

TEST_F(ServicePropertiesTest, DescriptionComesFromTheTableOrTheRegistryByProduct) {
    Install(L"nvsvc", L"Corvell Info Table");  // a key of the table in other letter case
    Install(L"CorvellInfoDescr", L"Corvell Info Descr");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kServicesSub + L"CorvellInfoDescr", L"Description", L"Its own words");
    Install(L"CorvellInfoBare", L"Corvell Info Bare");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");

    const std::wstring nvidia = L"Provides system and desktop level support to the NVIDIA display driver.";
    struct Case {
        const wchar_t* product;
        const wchar_t* service;
        std::wstring description;
    };
    const Case cases[] = {
        {L"Microsoft Windows 7", L"nvsvc", nvidia},
        {L"Windows Vista (TM) Business", L"nvsvc", nvidia},
        {L"Microsoft Windows 7", L"CorvellInfoDescr", L"Not Available"},
        {L"Microsoft Windows XP", L"CorvellInfoDescr", L"Its own words"},
        {L"Microsoft Windows XP", L"CorvellInfoBare", L"Not Available"},
        {L"Microsoft Windows XP", L"nvsvc", L"Not Available"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.product) + L" " + c.service);
        windowsProduct.Set(c.product);
        SelectService(form, c.service);
        form.mnuProperites_Click();
        frmInfo* d = frmInfo::Current();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(Text(d->txtDescr), c.description);
        d->Unload();
    }
}

TEST(ServicePathSplit, SeparatorsAreFoundExactlyAndKeptWithTheSwitch) {
    struct Case {
        const wchar_t* path;
        const wchar_t* program;
        const wchar_t* switches;
    };
    const Case cases[] = {
        {L"C:\\WINDOWS\\system32\\svchost.exe -k netsvcs", L"C:\\WINDOWS\\system32\\svchost.exe", L"-k netsvcs"},
        {L"C:\\Tools\\agent.exe /service -log", L"C:\\Tools\\agent.exe", L"/service -log"},  // " /" wins
        {L"C:\\WINDOWS\\system32\\svchost /s", L"C:\\WINDOWS\\system32\\svchost", L"/s"},
        {L"C:\\WINDOWS\\system32\\svchost -k rpc", L"C:\\WINDOWS\\system32\\svchost", L"-k rpc"},
        {L"C:\\Tools\\helper.dll,Start", L"C:\\Tools\\helper.dll", L",Start"},
        {L"C:\\Tools\\AGENT.EXE /service", L"C:\\Tools\\AGENT.EXE /service", L""},  // case counts
        {L"C:\\Tools\\agent.exe", L"C:\\Tools\\agent.exe", L""},
        {L"\"C:\\Program Files\\Agent\\agent.exe\"", L"\"C:\\Program Files\\Agent\\agent.exe\"", L""},
        {L"RUNDLL32.EXE C:\\Tools\\helper.dll", L"RUNDLL32.EXE C:\\Tools\\helper.dll", L""},
    };
    for (const auto& c : cases) {
        const frmInfo::PathParts parts = frmInfo::SplitServicePath(c.path);
        EXPECT_EQ(parts.program, c.program) << c.path;
        EXPECT_EQ(parts.switches, c.switches) << c.path;
    }
}

TEST_F(ServicePropertiesTest, SettingTabFlagOpensTheSettingTabOnce) {
    Install(L"CorvellInfoTab", L"Corvell Info Tab");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    SelectService(form, L"CorvellInfoTab");

    form.SettingTabFlag = L"1";
    form.ShowfrmInfo();
    frmInfo* d = frmInfo::Current();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->tabs.SelectedTab(), frmInfo::kSettingTab);
    EXPECT_FALSE(IsWindowVisible(d->tabs.Frame2[0]));
    EXPECT_TRUE(IsWindowVisible(d->tabs.Frame2[frmInfo::kSettingTab]));
    EXPECT_EQ(GetFocus(), d->tabs.TabStrip1);
    EXPECT_EQ(form.SettingTabFlag, L"0");

    d->Unload();
    form.ShowfrmInfo();
    d = frmInfo::Current();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->tabs.SelectedTab(), 0);
}

TEST_F(ServicePropertiesTest, ApplySetsTheDialogsOwnServiceThroughTheManager) {
    Install(L"CorvellInfoApply", L"Corvell Info Apply");
    Install(L"CorvellInfoOther", L"Corvell Info Other");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    SelectService(form, L"CorvellInfoApply");
    form.ShowfrmInfo();
    frmInfo* d = frmInfo::Current();
    ASSERT_NE(d, nullptr);

    struct Case {
        int choice;
        DWORD start;
        const wchar_t* setting;
    };
    for (const Case& c : {Case{2, SERVICE_DISABLED, L"Disabled"}, Case{0, SERVICE_AUTO_START, L"Automatic"},
                          Case{1, SERVICE_DEMAND_START, L"Manual"}}) {
        SCOPED_TRACE(c.setting);
        SelectService(form, L"CorvellInfoOther");  // lv has moved on since the dialog opened
        SendMessageW(d->cboStatus, CB_SETCURSEL, static_cast<WPARAM>(c.choice), 0);
        SendMessageW(d->cmdApply, BM_CLICK, 0, 0);
        EXPECT_TRUE(seam.messages.empty());
        EXPECT_EQ(ServiceFixtures::StartType(L"CorvellInfoApply"), c.start);
        EXPECT_EQ(StartValue(L"CorvellInfoApply"), c.start);
        const int row = Row(form, L"CorvellInfoApply");
        EXPECT_EQ(ListView::Selected(form.lv), row);
        EXPECT_EQ(ListView::Text(form.lv, row, kColSetting), c.setting);
        EXPECT_EQ(ServiceFixtures::StartType(L"CorvellInfoOther"), static_cast<DWORD>(SERVICE_DEMAND_START));
        EXPECT_EQ(frmInfo::Current(), d);
    }

    // No entry shown (a setting that was a number): nothing is changed, and the user is told why.
    SendMessageW(d->cboStatus, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_TRUE(ServiceFixtures::Remove(L"CorvellInfoOther"));
    SendMessageW(d->cmdApply, BM_CLICK, 0, 0);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"Please choose Automatic, Manual or Disabled as the Current Setting.");
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    seam.messages.clear();
    EXPECT_EQ(ServiceFixtures::StartType(L"CorvellInfoApply"), static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_GE(Row(form, L"CorvellInfoOther"), 0);  // not reloaded

    // The manager refuses a service that is gone: said with the setting entries' message.
    ASSERT_TRUE(ServiceFixtures::Remove(L"CorvellInfoApply"));
    SendMessageW(d->cboStatus, CB_SETCURSEL, 0, 0);
    SendMessageW(d->cmdApply, BM_CLICK, 0, 0);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text.rfind(L"Corvell Info Apply could not be set to Automatic.  ", 0), 0u)
        << seam.messages[0].text;
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_LT(Row(form, L"CorvellInfoApply"), 0);
}

TEST_F(ServicePropertiesTest, YesForADisabledServiceShowsThatService) {
    Install(L"CorvellInfoOn", L"Corvell Info On");
    Install(L"CorvellInfoOff", L"Corvell Info Off", SERVICE_DISABLED);
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    SelectService(form, L"CorvellInfoOn");
    form.ShowfrmInfo();
    ASSERT_NE(frmInfo::Current(), nullptr);

    // Open on another service: made anew for the disabled one, on its setting tab.
    SelectService(form, L"CorvellInfoOff");
    seam.answers.push_back(IDYES);
    form.mnuStart_Click();
    frmInfo* d = frmInfo::Current();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Text(d->txtID), L"CorvellInfoOff");
    EXPECT_EQ(d->tabs.SelectedTab(), frmInfo::kSettingTab);
    EXPECT_EQ(Choice(*d), 2);  // "Disabled"
    EXPECT_EQ(form.SettingTabFlag, L"0");

    // Open on that same service: the same window turns to its setting tab.
    d->tabs.SelectTab(0);
    SetWindowTextW(d->txtDescr, L"kept");
    seam.answers.push_back(IDYES);
    form.mnuStart_Click();
    EXPECT_EQ(frmInfo::Current(), d);
    EXPECT_EQ(d->tabs.SelectedTab(), frmInfo::kSettingTab);
    EXPECT_EQ(Text(d->txtDescr), L"kept");
    EXPECT_EQ(form.SettingTabFlag, L"0");

    // A plain double click on another row only brings the open dialog forward.
    EXPECT_EQ(DoubleClick(form, L"CorvellInfoOn"), d);
    EXPECT_EQ(Text(d->txtID), L"CorvellInfoOff");
}

// While the question for a disabled service waits, the list may be loaded again, another row
// selected or the service set otherwise; Yes opens the setting of the service it named, and
// only while that one is still disabled.
TEST_F(ServicePropertiesTest, YesOpensTheSettingOfTheServiceTheQuestionNamed) {
    Install(L"CorvellAskOff", L"Corvell Ask Off", SERVICE_DISABLED);
    Install(L"CorvellAskOther", L"Corvell Ask Other");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    const std::wstring question =
        L"Corvell Ask Off cannot be started manually while disabled.  Would you like to change the setting for "
        L"it?     ";
    const std::wstring changed =
        L"Corvell Ask Off changed while you were asked: it is no longer listed as disabled.  Nothing was opened.     ";
    const auto setStart = [](const wchar_t* service, DWORD start) {
        UpcServiciosyWea control;
        control.ServiceName(service);
        ASSERT_EQ(control.ChangeStartType(start, L""), static_cast<DWORD>(ERROR_SUCCESS));
    };
    const struct {
        const wchar_t* what;
        std::function<void()> meanwhile;
        bool opens;
    } cases[] = {
        {L"the list loaded again", [&] { form.Command6_Click(); }, true},
        {L"another row selected", [&] { SelectService(form, L"CorvellAskOther"); }, true},
        // The other service's properties are open: their Apply waits for no one and selects it.
        {L"Apply pressed in the properties of another service",
         [&] {
             frmInfo* other = frmInfo::Current();
             ASSERT_NE(other, nullptr);
             SendMessageW(other->cboStatus, CB_SETCURSEL, 0, 0);
             SendMessageW(other->cmdApply, BM_CLICK, 0, 0);
         },
         true},
        {L"set to Manual by another program, then the list loaded again",
         [&] {
             setStart(L"CorvellAskOff", SERVICE_DEMAND_START);
             form.Command6_Click();
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        setStart(L"CorvellAskOff", SERVICE_DISABLED);
        setStart(L"CorvellAskOther", SERVICE_DEMAND_START);
        form.Command6_Click();
        if (frmInfo* open = frmInfo::Current()) open->Unload();
        SelectService(form, L"CorvellAskOther");
        form.ShowfrmInfo();
        ASSERT_NE(frmInfo::Current(), nullptr);
        SelectService(form, L"CorvellAskOff");
        seam.messages.clear();
        seam.answers.push_back(IDYES);
        bool asked = false;
        seam.onMessage = [&](const Seam::MessageRequest& request) {
            if (asked || request.text != question) return;
            asked = true;
            c.meanwhile();
        };
        form.mnuStart_Click();
        seam.onMessage = nullptr;
        ASSERT_TRUE(asked);

        frmInfo* d = frmInfo::Current();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(Text(d->txtID), c.opens ? L"CorvellAskOff" : L"CorvellAskOther");
        if (c.opens) {
            EXPECT_EQ(d->tabs.SelectedTab(), frmInfo::kSettingTab);
            EXPECT_EQ(Choice(*d), 2);  // "Disabled"
            EXPECT_EQ(ListView::Selected(form.lv), Row(form, L"CorvellAskOff"));
            ASSERT_EQ(seam.messages.size(), 1u);
        } else {
            ASSERT_EQ(seam.messages.size(), 2u);
            EXPECT_EQ(seam.messages[1].text, changed);
            EXPECT_EQ(seam.messages[1].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        }
        EXPECT_EQ(form.SettingTabFlag, L"0");
        EXPECT_EQ(ServiceFixtures::StartType(L"CorvellAskOther"), static_cast<DWORD>(SERVICE_DEMAND_START));
        EXPECT_EQ(ServiceFixtures::State(L"CorvellAskOff"), static_cast<DWORD>(SERVICE_STOPPED));
    }
}

// The setting of another service asked for while the open dialog waits in a message box of its
// own (as it loads, or after a refused Apply): the dialog is not unloaded under its box, and the
// one asked for is made once the box has closed.
TEST_F(ServicePropertiesTest, ADialogInItsOwnMessageBoxIsReplacedOnlyOnceTheBoxHasClosed) {
    Install(L"CorvellInfoBusy", L"Corvell Info Busy");
    Install(L"CorvellInfoAsked", L"Corvell Info Asked", SERVICE_DISABLED);
    ASSERT_TRUE(ServiceFixtures::Install(L"CorvellInfoNoFile", L"Corvell Info No File", L"C:\\corvell\\gone.exe"));
    RemoveAfterTest(L"CorvellInfoNoFile");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");

    for (const bool whileLoading : {true, false}) {
        SCOPED_TRACE(whileLoading ? "File Path Not Found as it loads" : "Apply refused");
        if (frmInfo* open = frmInfo::Current()) open->Unload();
        seam.messages.clear();
        // Inside the dialog's box: the user starts the disabled service and answers Yes.
        HWND boxOwner = nullptr;
        frmInfo* underBox = nullptr;
        bool keptUnderBox = false;
        seam.onMessage = [&](const Seam::MessageRequest& m) {
            if (boxOwner || !frmInfo::Current() || m.owner != frmInfo::Current()->hwnd()) return;
            boxOwner = m.owner;
            underBox = frmInfo::Current();
            SelectService(form, L"CorvellInfoAsked");
            seam.answers.push_back(IDYES);
            form.mnuStart_Click();
            keptUnderBox = IsWindow(boxOwner) && frmInfo::Current() == underBox;
        };
        if (whileLoading) {
            SelectService(form, L"CorvellInfoNoFile");
            form.ShowfrmInfo();
        } else {
            SelectService(form, L"CorvellInfoBusy");
            form.ShowfrmInfo();
            ASSERT_NE(frmInfo::Current(), nullptr);
            ASSERT_TRUE(seam.messages.empty());
            ASSERT_TRUE(ServiceFixtures::Remove(L"CorvellInfoBusy"));
            SendMessageW(frmInfo::Current()->cboStatus, CB_SETCURSEL, 0, 0);
            SendMessageW(frmInfo::Current()->cmdApply, BM_CLICK, 0, 0);
        }
        seam.onMessage = nullptr;
        ASSERT_NE(boxOwner, nullptr);
        ASSERT_EQ(seam.messages.size(), 2u);  // the dialog's box, then the question asked under it
        EXPECT_TRUE(keptUnderBox);
        EXPECT_EQ(seam.messages[0].text.rfind(whileLoading ? L"File Path Not Found" : L"Corvell Info Busy", 0), 0u)
            << seam.messages[0].text;

        ASSERT_TRUE(TestUtil::PumpUntil([&] { return !IsWindow(boxOwner) && frmInfo::Current(); }));
        const frmInfo* asked = frmInfo::Current();
        EXPECT_EQ(Text(asked->txtID), L"CorvellInfoAsked");
        EXPECT_EQ(asked->tabs.SelectedTab(), frmInfo::kSettingTab);
        EXPECT_EQ(form.SettingTabFlag, L"0");
    }
}

TEST_F(ServicePropertiesTest, WithoutASelectedRowNothingOpens) {
    Install(L"CorvellInfoNone", L"Corvell Info None");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    ListView_SetItemState(form.lv, -1, 0, LVIS_SELECTED);
    form.lv_DblClick();
    form.ShowfrmInfo();
    EXPECT_EQ(frmInfo::Current(), nullptr);
    EXPECT_TRUE(seam.messages.empty());
}

// A double click or Properties that arrives while the list is being filled again opens nothing:
// the rows are being replaced and the one clicked shows no dependants yet.
TEST_F(ServicePropertiesTest, DuringAReloadNothingOpens) {
    Install(L"CorvellInfoFirst", L"000 Corvell Info First");
    Install(L"CorvellInfoUser", L"Corvell Info User", SERVICE_DEMAND_START, {L"CorvellInfoFirst"});
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    ASSERT_EQ(Row(form, L"CorvellInfoFirst"), 0);
    ASSERT_EQ(ListView::Text(form.lv, 0, kColDependants), L"CorvellInfoUser");
    RECT cell{};
    ListView_GetItemRect(form.lv, 0, &cell, LVIR_LABEL);
    const LPARAM at = MAKELPARAM(cell.left + 4, (cell.top + cell.bottom) / 2);

    LVITEMW first{};
    first.stateMask = first.state = LVIS_SELECTED | LVIS_FOCUSED;
    for (bool viaMenu : {true, false}) {
        SCOPED_TRACE(viaMenu ? "Properties" : "double click");
        // Taken at the first yield of the reload, when the first row is all the list holds.
        PostMessageW(form.lv, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
        if (viaMenu) {
            PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuProperites, 0), 0);
        } else {
            PostMessageW(form.lv, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            PostMessageW(form.lv, WM_LBUTTONUP, 0, at);
        }
        form.Command6_Click();
        if (frmInfo* d = frmInfo::Current()) {
            ADD_FAILURE() << "opened during the reload; dependants shown: " << Text(d->txtDependsOnIt);
            d->Unload();
        }
        EXPECT_TRUE(seam.messages.empty());
    }
}

// The keys in the order they are tried.
const wchar_t* const kKeys[] = {
    L"AxInstSV",
    L"SensrSvc",
    L"AeLookupSvc",
    L"AppIDSvc",
    L"Appinfo",
    L"AppMgmt",
    L"BITS",
    L"BFE",
    L"BDESVC",
    L"wbengine",
    L"bthserv",
    L"PeerDistSvc",
    L"CertPropSvc",
    L"KeyIso",
    L"EventSystem",
    L"COMSysApp",
    L"Browser",
    L"VaultSvc",
    L"CryptSvc",
    L"DcomLaunch",
    L"UxSms",
    L"Dhcp",
    L"DPS",
    L"WdiServiceHost",
    L"WdiSystemHost",
    L"defragsvc",
    L"TrkWks",
    L"MSDTC",
    L"Dnscache",
    L"EFS",
    L"EapHost",
    L"Fax",
    L"fdPHost",
    L"FDResPub",
    L"gpsvc",
    L"hkmsvc",
    L"HomeGroupListener",
    L"HomeGroupProvider",
    L"hidserv",
    L"IKEEXT",
    L"UI0Detect",
    L"SharedAccess",
    L"iphlpsvc",
    L"PolicyAgent",
    L"KtmRm",
    L"lltdsvc",
    L"Mcx2Svc",
    L"clr_optimization_v2.0.50727_32",
    L"MSiSCSI",
    L"swprv",
    L"MMCSS",
    L"NetTcpPortSharing",
    L"Netlogon",
    L"napagent",
    L"Netman",
    L"netprofm",
    L"NlaSvc",
    L"nsi",
    L"CscService",
    L"WPCSvc",
    L"PNRPsvc",
    L"p2psvc",
    L"p2pimsvc",
    L"pla",
    L"PlugPlay",
    L"IPBusEnum",
    L"PNRPAutoReg",
    L"WPDBusEnum",
    L"Power",
    L"Spooler",
    L"wercplsupport",
    L"PcaSvc",
    L"ProtectedStorage",
    L"QWAVE",
    L"RasAuto",
    L"RasMan",
    L"SessionEnv",
    L"TermService",
    L"UmRdpService",
    L"RpcSs",
    L"RpcLocator",
    L"RemoteRegistry",
    L"RemoteAccess",
    L"RpcEptMapper",
    L"seclogon",
    L"SstpSvc",
    L"SamSs",
    L"wscsvc",
    L"LanmanServer",
    L"ShellHWDetection",
    L"SCardSvr",
    L"SCPolicySvc",
    L"SNMPTRAP",
    L"sppsvc",
    L"sppuinotify",
    L"SSDPSRV",
    L"SysMain",
    L"SENS",
    L"TabletInputService",
    L"Schedule",
    L"lmhosts",
    L"TapiSrv",
    L"Themes",
    L"THREADORDER",
    L"TPAutoConnSvc",
    L"TPVCGateway",
    L"TBS",
    L"upnphost",
    L"ProfSvc",
    L"vds",
    L"VMTools",
    L"VMUpgradeHelper",
    L"VSS",
    L"WebClient",
    L"Audiosrv",
    L"AudioEndpointBuilder",
    L"SDRSVC",
    L"WbioSrvc",
    L"idsvc",
    L"WcsPlugInService",
    L"wcncsvc",
    L"WinDefend",
    L"wudfsvc",
    L"WerSvc",
    L"Wecsvc",
    L"eventlog",
    L"MpsSvc",
    L"FontCache",
    L"StiSvc",
    L"msiserver",
    L"Winmgmt",
    L"ehRecvr",
    L"ehSched",
    L"WMPNetworkSvc",
    L"TrustedInstaller",
    L"FontCache3.0.0.0",
    L"WinRM",
    L"WSearch",
    L"W32Time",
    L"wuauserv",
    L"WinHttpAutoProxySvc",
    L"dot3svc",
    L"Wlansvc",
    L"wmiApSrv",
    L"LanmanWorkstation",
    L"WwanSvc",
    L"Apple Mobile Device",
    L"Bonjour Service",
    L"AVP",
    L"iPod Service",
    L"odserv",
    L"ose",
    L"ufad-ws60",
    L"VMAuthdService",
    L"VMnetDHCP",
    L"VMware NAT Service",
    L"aspnet_state",
    L"Diskeeper",
    L"JavaQuickStarterService",
    L"MBAMService",
    L"NVSvc",
};

TEST(ServiceDescriptions, TableHoldsEveryKeyInOrderWithItsOwnText) {
    const auto table = ServiceDescriptions::Table();
    ASSERT_EQ(table.size(), std::size(kKeys));
    ASSERT_EQ(table.size(), 161u);
    std::set<std::wstring> keys, texts;
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(std::wstring(table[i].key), kKeys[i]) << i;
        EXPECT_TRUE(keys.insert(Text::Lower(table[i].key)).second) << "repeated key " << i;
        const std::wstring text = table[i].description;
        EXPECT_FALSE(text.empty()) << i;
        EXPECT_TRUE(texts.insert(text).second) << "repeated text " << i;
        EXPECT_EQ(LookupServiceDescription(table[i].key), text);
    }
    const std::pair<const wchar_t*, const wchar_t*> given[] = {
        {L"AeLookupSvc", L"Processes application compatibility cache requests for applications as they are launched."},
        {L"Apple Mobile Device", L"Provides the interface to Apple mobile devices."},
        {L"iPod Service", L"iPod hardware management services."},
        {L"VMware NAT Service", L"Network address translation for virtual networks."},
        {L"Diskeeper", L"Controls the Windows Diskeeper Service."},
        {L"MBAMService", L"Malwarebytes' Anti-Malware service."},
        {L"NVSvc", L"Provides system and desktop level support to the NVIDIA display driver."},
    };
    for (const auto& [key, text] : given) EXPECT_EQ(LookupServiceDescription(key), text) << key;
    EXPECT_EQ(LookupServiceDescription(L"ipod service"), L"iPod hardware management services.");
    EXPECT_EQ(LookupServiceDescription(L"CorvellUnknown"), L"Not Available");
    EXPECT_EQ(LookupServiceDescription(L""), L"Not Available");
}

} // namespace
