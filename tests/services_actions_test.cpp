// Start, stop and startup type of a service from the services list of a live main window,
// against the real service manager of the prefix.
#include "ServiceFixtures.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/ListView.h"
#include "services/frmInfo.h"
#include "system/App.h"
#include "system/Registry.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kSelectStartupItem = L"Please select a Startup item     ";
constexpr int kColStatus = 2, kColSetting = 3;

using ServiceFixtures::StartValue;

class ServicesActionsTest : public ServiceFixtures::ServiceTest {
protected:
    static std::wstring Title(const Form1& form) {
        return std::to_wstring(ListView::Count(form.lv)) + L" Available Services";
    }
};

TEST_F(ServicesActionsTest, StartAndStopTheTestService) {
    Install(L"CorvellActRun", L"Corvell Act Run");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");

    SelectService(form, L"CorvellActRun");
    form.mnuStart_Click();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(ServiceFixtures::State(L"CorvellActRun"), static_cast<DWORD>(SERVICE_RUNNING));
    ASSERT_EQ(ListView::Selected(form.lv), Row(form, L"CorvellActRun"));
    EXPECT_EQ(ListView::Text(form.lv, Row(form, L"CorvellActRun"), kColStatus), L"Running");
    EXPECT_EQ(form.ControlText(form.lblCount), Title(form));
    EXPECT_EQ(form.PanelText(2), Title(form));

    form.mnuStop_Click();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(ServiceFixtures::State(L"CorvellActRun"), static_cast<DWORD>(SERVICE_STOPPED));
    ASSERT_EQ(ListView::Selected(form.lv), Row(form, L"CorvellActRun"));
    EXPECT_EQ(ListView::Text(form.lv, Row(form, L"CorvellActRun"), kColStatus), L"Stopped");
}

TEST_F(ServicesActionsTest, FailuresNameTheServiceEvenWhenItsRowMoved) {
    Install(L"CorvellActRefuse", L"Corvell Act Refusing", SERVICE_DEMAND_START, {}, L"refuse");
    Install(L"CorvellActNoStop", L"Corvell Act No Stop", SERVICE_DEMAND_START, {}, L"nostop");
    ASSERT_TRUE(ServiceFixtures::StartAndWait(L"CorvellActNoStop"));
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");

    // A service that sorts before both arrives before the reload, moving them down a row.
    SelectService(form, L"CorvellActRefuse");
    Install(L"CorvellActFirst", L"Corvell Act ++ First");
    form.mnuStart_Click();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text,
              L"Corvell Act Refusing failed to start.  This could be because;\r\n\r\n"
              L"1.  You do not have Administrator privileges.\r\n"
              L"2.  The setting for it is on Disabled.\r\n"
              L"3.  In some cases the computer must be restarted to start the service.");
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(seam.messages[0].caption, App::Title());
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, L"CorvellActRefuse"));
    EXPECT_EQ(ListView::Text(form.lv, Row(form, L"CorvellActRefuse"), kColStatus), L"Stopped");

    seam.messages.clear();
    SelectService(form, L"CorvellActNoStop");
    Install(L"CorvellActSecond", L"Corvell Act ++ Second");
    form.mnuStop_Click();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text,
              L"Corvell Act No Stop failed to stop.  This could be because;\r\n\r\n"
              L"1.  You do not have Administrator privileges.\r\n"
              L"2.  Another service is dependent on this one and is currently using it.\r\n"
              L"3.  In some cases the computer must be restarted to stop the service.");
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, L"CorvellActNoStop"));
}

TEST_F(ServicesActionsTest, ARefusedCommandIsReportedUnlessTheServiceIsAlreadyThere) {
    Install(L"CorvellActPaused", L"Corvell Act Paused");
    Install(L"CorvellActStale", L"Corvell Act Stale");
    ASSERT_TRUE(ServiceFixtures::StartAndWait(L"CorvellActPaused"));
    ASSERT_TRUE(ServiceFixtures::StartAndWait(L"CorvellActStale"));
    ASSERT_TRUE(ServiceFixtures::PauseAndWait(L"CorvellActPaused"));
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");

    // The manager refuses to start a paused service; its row reads neither "Stopped" nor "Running".
    SelectService(form, L"CorvellActPaused");
    form.mnuStart_Click();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text.rfind(L"Corvell Act Paused failed to start.  This could be because;", 0), 0u)
        << seam.messages[0].text;
    EXPECT_EQ(ListView::Text(form.lv, Row(form, L"CorvellActPaused"), kColStatus), L"Paused");

    // A stop refused because the service stopped meanwhile has still reached what was asked.
    seam.messages.clear();
    SelectService(form, L"CorvellActStale");
    {
        const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
        const SC_HANDLE service = OpenServiceW(manager, L"CorvellActStale", SERVICE_STOP);
        SERVICE_STATUS status{};
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        CloseServiceHandle(service);
        CloseServiceHandle(manager);
    }
    ASSERT_TRUE(ServiceFixtures::WaitForState(L"CorvellActStale", SERVICE_STOPPED));
    form.mnuStop_Click();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(ListView::Text(form.lv, Row(form, L"CorvellActStale"), kColStatus), L"Stopped");
}

// A row chosen while the caption shows (input queued behind the menu command) does not change
// which service the command acts on: the one the caption names.
TEST_F(ServicesActionsTest, StartAndStopActOnTheServiceTheCaptionNames) {
    Install(L"CorvellActChosen", L"Corvell Act Chosen");
    Install(L"CorvellActOther", L"Corvell Act Other");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");

    LVITEMW none{}, other{};
    none.stateMask = other.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    other.state = LVIS_SELECTED | LVIS_FOCUSED;
    const auto moveToOther = [&] {
        PostMessageW(form.lv, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        PostMessageW(form.lv, LVM_SETITEMSTATE, static_cast<WPARAM>(Row(form, L"CorvellActOther")),
                     reinterpret_cast<LPARAM>(&other));
    };

    SelectService(form, L"CorvellActChosen");
    moveToOther();
    form.mnuStart_Click();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(ServiceFixtures::WaitForState(L"CorvellActChosen", SERVICE_RUNNING));
    EXPECT_EQ(ServiceFixtures::State(L"CorvellActOther"), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, L"CorvellActChosen"));

    ASSERT_TRUE(ServiceFixtures::StartAndWait(L"CorvellActOther"));
    SelectService(form, L"CorvellActChosen");
    moveToOther();
    form.mnuStop_Click();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(ServiceFixtures::WaitForState(L"CorvellActChosen", SERVICE_STOPPED));
    EXPECT_EQ(ServiceFixtures::State(L"CorvellActOther"), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(ServicesActionsTest, ANodeClickDuringAStartRunsWhenTheStartHasFinished) {
    Install(L"CorvellActWait", L"Corvell Act Waiting", SERVICE_DEMAND_START, {}, L"refuse");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    SelectService(form, L"CorvellActWait");

    // The user clicks "All Startups" while the start waits; the click is taken during the reload.
    ASSERT_TRUE(form.SelectNode(L"one"));
    PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_cmdWL, BN_CLICKED), reinterpret_cast<LPARAM>(form.cmdWL));
    form.Command1_Click();

    // The start is judged on the services list, then the view asked for is shown with its title.
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text.rfind(L"Corvell Act Waiting failed to start.", 0), 0u) << seam.messages[0].text;
    EXPECT_EQ(form.ControlText(form.lblCount), L"All Startups");
    EXPECT_EQ(form.PanelText(2), L"All Startups");
    EXPECT_EQ(ListView::Count(form.lv), 0);
    EXPECT_FALSE(form.IsBusy());
}

TEST_F(ServicesActionsTest, AClickAndACloseDuringAStartWaitForItTheCloseLast) {
    Install(L"CorvellActHeld", L"Corvell Act Held");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    const HWND window = form.hwnd();
    form.tvwDemo_NodeClick(L"six");
    SelectService(form, L"CorvellActHeld");

    // The user clicks "All Startups", then closes the window; both are taken while the start
    // yields to show its caption.
    ASSERT_TRUE(form.SelectNode(L"one"));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_cmdWL, BN_CLICKED), reinterpret_cast<LPARAM>(form.cmdWL));
    PostMessageW(window, WM_CLOSE, 0, 0);
    int dispatches = 0;
    std::wstring statusAtClick;
    std::wstring titleAtClick, titleAfterStart;
    form.onDispatchStep = [&](const wchar_t* step) {
        if (std::wstring(step) != L"Clear") return;
        ++dispatches;
        statusAtClick = ListView::Text(form.lv, Row(form, L"CorvellActHeld"), kColStatus);
        titleAtClick = form.ControlText(form.lblCount);
        titleAfterStart = Title(form);
    };
    form.mnuStart_Click();

    // The click ran once, after the start had been judged on the reloaded list; the window lives on.
    EXPECT_EQ(dispatches, 1);
    EXPECT_EQ(statusAtClick, L"Running");
    EXPECT_EQ(titleAtClick, titleAfterStart);
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(ServiceFixtures::WaitForState(L"CorvellActHeld", SERVICE_RUNNING));
    EXPECT_EQ(form.ControlText(form.lblCount), L"All Startups");
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(form.IsBusy());

    // The close comes last, once.
    EXPECT_TRUE(TestUtil::PumpUntil([window] { return !IsWindow(window); }));
    EXPECT_EQ(dispatches, 1);
    form.onDispatchStep = nullptr;
}

TEST_F(ServicesActionsTest, ServicesWithTheLongestNamesAreStartedAndSetByTheirWholeNames) {
    // 256 characters each: the longest names the manager takes.
    const std::wstring name = L"CorvellActLong" + std::wstring(242, L'n');
    const std::wstring display = L"Corvell Act Long " + std::wstring(239, L'd');
    Install(name, display);
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    ASSERT_GE(Row(form, name), 0);
    EXPECT_EQ(ListView::Text(form.lv, Row(form, name), 0), display);

    SelectService(form, name);
    form.mnuStart_Click();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(ServiceFixtures::State(name), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, name));

    form.mnuDisabled_Click();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(ServiceFixtures::StartType(name), static_cast<DWORD>(SERVICE_DISABLED));
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, name));
    EXPECT_EQ(ListView::Text(form.lv, Row(form, name), kColSetting), L"Disabled");
}

TEST_F(ServicesActionsTest, DisabledRowOffersToChangeItsSetting) {
    Install(L"CorvellActOff", L"Corvell Act Off", SERVICE_DISABLED);
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    const std::wstring question =
        L"Corvell Act Off cannot be started manually while disabled.  Would you like to change the setting for "
        L"it?     ";

    for (int answer : {IDNO, IDYES}) {
        seam.messages.clear();
        seam.answers.push_back(answer);
        SelectService(form, L"CorvellActOff");
        form.mnuStart_Click();
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, question);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        // Yes opens the service's properties on their setting tab, which takes the flag back.
        frmInfo* properties = frmInfo::Current();
        ASSERT_EQ(properties != nullptr, answer == IDYES);
        if (properties) {
            EXPECT_EQ(properties->tabs.SelectedTab(), frmInfo::kSettingTab);
        }
        EXPECT_EQ(form.SettingTabFlag, L"0");
        EXPECT_EQ(ServiceFixtures::State(L"CorvellActOff"), static_cast<DWORD>(SERVICE_STOPPED));
    }
    frmInfo::Current()->Unload();
}

TEST_F(ServicesActionsTest, EachStartupTypeRoundTripsAndTheRowStaysSelected) {
    Install(L"CorvellActType", L"Corvell Act Type");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");

    struct Case {
        void (Form1::*handler)();
        DWORD start;
        const wchar_t* setting;
        int icon;
    };
    const Case cases[] = {
        {&Form1::mnuAuto_Click, SERVICE_AUTO_START, L"Automatic", 2},
        {&Form1::mnuDisabled_Click, SERVICE_DISABLED, L"Disabled", 3},
        {&Form1::mnuManual_Click, SERVICE_DEMAND_START, L"Manual", 1},
        {&Form1::mnuDisabled_Click, SERVICE_DISABLED, L"Disabled", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        SelectService(form, L"CorvellActType");
        (form.*c.handler)();
        EXPECT_TRUE(seam.messages.empty());
        EXPECT_EQ(StartValue(L"CorvellActType"), c.start);
        EXPECT_EQ(ServiceFixtures::StartType(L"CorvellActType"), c.start);  // the manager knows at once
        const int row = Row(form, L"CorvellActType");
        EXPECT_EQ(ListView::Selected(form.lv), row);
        EXPECT_EQ(ListView::Text(form.lv, row, kColSetting), c.setting);
        EXPECT_EQ(ListView::Icon(form.lv, row), c.icon);
        EXPECT_EQ(GetFocus(), form.lv);
    }
    // Disabled as far as the manager is concerned, not only in the list.
    const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    const SC_HANDLE service = OpenServiceW(manager, L"CorvellActType", SERVICE_START);
    EXPECT_FALSE(StartServiceW(service, 0, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DISABLED));
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

TEST_F(ServicesActionsTest, AStartupTypeChangeFindsItsServiceAgainByName) {
    // Two services of one display name, as the manager reads them from their keys at boot.
    InstallSharingDisplayName({L"CorvellTwinA", L"CorvellTwinB"}, L"Corvell Twin");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    ASSERT_EQ(ListView::Text(form.lv, Row(form, L"CorvellTwinA"), 0), L"Corvell Twin");
    ASSERT_EQ(ListView::Text(form.lv, Row(form, L"CorvellTwinB"), 0), L"Corvell Twin");

    const std::wstring second = Row(form, L"CorvellTwinA") > Row(form, L"CorvellTwinB") ? L"CorvellTwinA"
                                                                                           : L"CorvellTwinB";
    const std::wstring first = second == L"CorvellTwinA" ? L"CorvellTwinB" : L"CorvellTwinA";
    SelectService(form, second);
    form.mnuDisabled_Click();
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, second));
    form.mnuManual_Click();  // on the row the last change left selected
    EXPECT_EQ(ServiceFixtures::StartType(second), static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(ServiceFixtures::StartType(first), static_cast<DWORD>(SERVICE_DEMAND_START));
    form.mnuDisabled_Click();
    EXPECT_EQ(ServiceFixtures::StartType(second), static_cast<DWORD>(SERVICE_DISABLED));
    EXPECT_EQ(ServiceFixtures::StartType(first), static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(ListView::Selected(form.lv), Row(form, second));
    EXPECT_TRUE(seam.messages.empty());
}

// Every value of a service's key but "Start" outlives a change of its startup type, byte for
// byte: dependency lists, a description and group written beside the manager, an unexpanded path.
TEST_F(ServicesActionsTest, AStartupTypeChangeKeepsTheServicesOtherValues) {
    Install(L"CorvellActBase", L"Corvell Act Base");
    Install(L"CorvellActDeps", L"Corvell Act Deps", SERVICE_DEMAND_START, {L"CorvellActBase"});
    const std::wstring key = L"SYSTEM\\CurrentControlSet\\Services\\CorvellActDeps";
    const std::wstring groups(L"+CorvellGroup\0\0", 15);
    ASSERT_TRUE(Registry::WriteBytes(HKEY_LOCAL_MACHINE, key, L"DependOnGroup", REG_MULTI_SZ,
                                     {reinterpret_cast<const BYTE*>(groups.data()),
                                      reinterpret_cast<const BYTE*>(groups.data() + groups.size())}));
    TestUtil::PutString(HKEY_LOCAL_MACHINE, key, L"Description", L"Written beside the manager.");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, key, L"Group", L"CorvellGroup");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, key, L"ImagePath", L"%SystemDrive%\\corvell\\testsvc.exe", REG_EXPAND_SZ);
    const auto before = Registry::EnumValues(HKEY_LOCAL_MACHINE, key);
    ASSERT_TRUE(before);
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");

    void (Form1::*handlers[])() = {&Form1::mnuDisabled_Click, &Form1::mnuAuto_Click};
    for (auto handler : handlers) {
        SelectService(form, L"CorvellActDeps");
        (form.*handler)();
        EXPECT_TRUE(seam.messages.empty());
        for (const auto& value : *before) {
            if (value.name == L"Start") continue;
            SCOPED_TRACE(value.name.c_str());
            const auto after = Registry::ReadValue(HKEY_LOCAL_MACHINE, key, value.name);
            ASSERT_TRUE(after);
            EXPECT_EQ(after->type, value.type);
            EXPECT_EQ(after->bytes, value.bytes);
        }
    }
    EXPECT_EQ(ServiceFixtures::StartType(L"CorvellActDeps"), static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_NE(ListView::Text(form.lv, Row(form, L"CorvellActDeps"), 4).find(L"CorvellActBase"), std::wstring::npos);
}

TEST_F(ServicesActionsTest, ARefusedStartupTypeIsReported) {
    Install(L"CorvellActGone", L"Corvell Act Gone");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    SelectService(form, L"CorvellActGone");
    ASSERT_TRUE(ServiceFixtures::Remove(L"CorvellActGone"));  // gone before the command
    form.mnuAuto_Click();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text.rfind(L"Corvell Act Gone could not be set to Automatic.  ", 0), 0u)
        << seam.messages[0].text;
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_LT(Row(form, L"CorvellActGone"), 0);
}

TEST_F(ServicesActionsTest, CommandsWithoutASelectedRowAskForOne) {
    Install(L"CorvellActAsk", L"Corvell Act Ask");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    ASSERT_EQ(ListView::Selected(form.lv), -1);

    void (Form1::*handlers[])() = {&Form1::mnuStart_Click,  &Form1::mnuStop_Click,     &Form1::mnuAuto_Click,
                                   &Form1::mnuManual_Click, &Form1::mnuDisabled_Click, &Form1::mnuProperites_Click};
    for (auto handler : handlers) {
        // The current row, not selected: the message, then the row is selected.
        const int row = Row(form, L"CorvellActAsk");
        ListView_SetItemState(form.lv, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(form.lv, row, LVIS_FOCUSED, LVIS_FOCUSED);
        seam.messages.clear();
        (form.*handler)();
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, kSelectStartupItem);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(ListView::Selected(form.lv), row);
        EXPECT_EQ(GetFocus(), form.lv);
    }
    EXPECT_EQ(StartValue(L"CorvellActAsk"), static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(ServiceFixtures::State(L"CorvellActAsk"), static_cast<DWORD>(SERVICE_STOPPED));
}

} // namespace
