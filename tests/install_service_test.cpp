// Installing a service from "Install Service" (frmInstallS) in a live main window, against the
// real service manager of the prefix; every service a test installs is removed after it.
#include "ServiceFixtures.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "services/frmInstallS.h"
#include "system/App.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kColDisplayName = 0, kColSetting = 3, kColPath = 6;
const std::wstring kMustEnter = L"You must enter a Service Name, Display Name and File Path     ";
const std::wstring kServicesKey = L"SYSTEM\\CurrentControlSet\\Services\\";

using ServiceFixtures::TestServicePath;
using ServiceFixtures::Value;

class InstallServiceTest : public ServiceFixtures::ServiceTest {
protected:
    void SetUp() override {
        ServiceTest::SetUp();
        live = std::make_unique<TestUtil::LiveForm>();
        form().tvwDemo_NodeClick(L"six");
    }
    void TearDown() override {
        if (frmInstallS* open = frmInstallS::Current()) open->Unload();
        live.reset();
        ServiceTest::TearDown();
    }

    Form1& form() { return live->form; }

    // "Install New Service" of the services Action menu.
    frmInstallS& Open() {
        SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuInstallS, 0), 0);
        frmInstallS* dialog = frmInstallS::Current();
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    // Fills the fields of a service the test removes afterwards.
    void Fill(frmInstallS& d, const std::wstring& name, const std::wstring& display, const std::wstring& path,
              const std::wstring& switches = L"", const std::wstring& description = L"") {
        SetWindowTextW(d.txtName, name.c_str());
        SetWindowTextW(d.txtDispName, display.c_str());
        SetWindowTextW(d.txtPath, path.c_str());
        SetWindowTextW(d.txtSwitch, switches.c_str());
        SetWindowTextW(d.txtDescr, description.c_str());
        if (!name.empty()) RemoveAfterTest(name);
    }
    // A click of Install, as the button on its frame sends it.
    static void Press(frmInstallS& d, bool post = false) {
        const WPARAM click = MAKEWPARAM(frmInstallS::IDC_cmdApply, BN_CLICKED);
        const auto button = reinterpret_cast<LPARAM>(d.cmdApply);
        if (post) PostMessageW(d.tabs.Frame2[0], WM_COMMAND, click, button);
        else SendMessageW(d.tabs.Frame2[0], WM_COMMAND, click, button);
    }
    static bool Installed(const std::wstring& name) { return Value(name, L"ImagePath").has_value(); }

    std::unique_ptr<TestUtil::LiveForm> live;
};

TEST_F(InstallServiceTest, OpensModelessWithItsTwoTabs) {
    frmInstallS& d = Open();
    EXPECT_EQ(d.ControlText(d.hwnd()), L"Install Service");
    EXPECT_EQ(d.ControlText(d.Label9), L"Install a New Service");
    EXPECT_TRUE(IsWindowEnabled(form().hwnd()));
    EXPECT_EQ(d.tabs.Caption(0), L"New Service");
    EXPECT_EQ(d.tabs.Caption(1), L"Optional Description");
    EXPECT_EQ(d.ControlText(d.cmdApply), L"Install");
    EXPECT_TRUE(IsWindowVisible(d.tabs.Frame2[0]));
    EXPECT_FALSE(IsWindowVisible(d.tabs.Frame2[1]));
    d.tabs.SelectTab(1);
    EXPECT_FALSE(IsWindowVisible(d.tabs.Frame2[0]));
    EXPECT_TRUE(IsWindowVisible(d.txtDescr));

    // The entry again brings the same dialog forward.
    SetWindowTextW(d.txtName, L"Typed");
    EXPECT_EQ(&Open(), &d);
    EXPECT_EQ(d.ControlText(d.txtName), L"Typed");
}

TEST_F(InstallServiceTest, InstallRegistersAnAutomaticServiceListsItAndStoresItsDescription) {
    frmInstallS& d = Open();
    Fill(d, L"CorvellNewSvc", L"Corvell New Service", TestServicePath(), L"/x", L"Installed by the tests.");
    Press(d);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"Corvell New Service Service added successfully!     ");
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(seam.messages[0].caption, App::Title());
    EXPECT_EQ(frmInstallS::Current(), nullptr);

    EXPECT_EQ(Value(L"CorvellNewSvc", L"ImagePath"), TestServicePath() + L" /x");
    EXPECT_EQ(Value(L"CorvellNewSvc", L"Description"), L"Installed by the tests.");
    EXPECT_EQ(ServiceFixtures::StartType(L"CorvellNewSvc"), static_cast<DWORD>(SERVICE_AUTO_START));
    const int row = Row(form(), L"CorvellNewSvc");
    ASSERT_GE(row, 0);
    EXPECT_EQ(ListView::Text(form().lv, row, kColDisplayName), L"Corvell New Service");
    EXPECT_EQ(ListView::Text(form().lv, row, kColSetting), L"Automatic");
    EXPECT_EQ(form().ControlText(form().lblCount), L"Installation Complete");
    EXPECT_EQ(form().SelectedNodeKey(), L"six");

    // Without a description no value is written.
    frmInstallS& again = Open();
    Fill(again, L"CorvellNoDescr", L"Corvell No Description", TestServicePath());
    Press(again);
    EXPECT_EQ(seam.messages.back().text, L"Corvell No Description Service added successfully!     ");
    EXPECT_TRUE(Installed(L"CorvellNoDescr"));
    EXPECT_FALSE(Value(L"CorvellNoDescr", L"Description").has_value());
}

TEST_F(InstallServiceTest, RefusalShowsTheManagersReasonKeepsTheDialogAndLeavesTheOtherServiceAlone) {
    Install(L"CorvellOwner", L"Corvell Owner");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kServicesKey + L"CorvellOwner", L"Description", L"The owner's own.");
    form().SetViewTitle(L"Before the install");
    const struct {
        const wchar_t* name;
        const wchar_t* display;
        const wchar_t* reason;
    } cases[] = {
        {L"CorvellOwner", L"Corvell Another", L"The specified service already exists in this database."},
        {L"CorvellFresh", L"Corvell Owner",
         L"The display name already exists in the service control manager database either as a service name or as "
         L"another display name."},
        {L"Corvell\\Slash", L"Corvell Slash", L"The specified service name is invalid."},
    };
    frmInstallS& d = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seam.messages.clear();
        Fill(d, c.name, c.display, L"C:\\Other\\other.exe", L"/o", L"Not for the owner.");
        Press(d);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, c.reason);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        ASSERT_EQ(frmInstallS::Current(), &d);
        EXPECT_EQ(d.ControlText(d.txtName), c.name);
        EXPECT_EQ(d.ControlText(d.txtPath), L"C:\\Other\\other.exe");
        EXPECT_EQ(d.ControlText(d.txtSwitch), L"/o");
        EXPECT_EQ(d.ControlText(d.txtDescr), L"Not for the owner.");
        EXPECT_EQ(form().ControlText(form().lblCount), L"Before the install");
        EXPECT_EQ(form().PanelText(2), L"Before the install");
        EXPECT_EQ(Value(L"CorvellOwner", L"Description"), L"The owner's own.");
        EXPECT_EQ(Value(L"CorvellOwner", L"ImagePath"), TestServicePath());
    }
    EXPECT_FALSE(Installed(L"CorvellFresh"));
}

TEST_F(InstallServiceTest, StoredCommandQuotesAPathWithBlanksAndJoinsTheSwitch) {
    const std::wstring spaced = TestUtil::CopyHelper(L"testsvc.exe", L"C:\\Program Files\\Corvell Test\\testsvc.exe");
    ASSERT_NE(GetFileAttributesW(spaced.c_str()), INVALID_FILE_ATTRIBUTES);
    const std::wstring plain = TestServicePath();
    const struct {
        std::wstring path;
        std::wstring switches;
        std::wstring stored;
    } cases[] = {
        {spaced, L"", L"\"" + spaced + L"\""},
        {spaced, L"-k net", L"\"" + spaced + L"\" -k net"},
        {spaced + L" -k net", L"", L"\"" + spaced + L"\" -k net"},  // arguments typed into the path
        {L"\"" + spaced + L"\"", L"/s", L"\"" + spaced + L"\" /s"},  // quoted already
        {plain, L"/s", plain + L" /s"},
        {plain, L" /s", plain + L" /s"},     // one leading blank dropped
        {plain, L"  /s", plain + L"  /s"},   // of two, one stays
        {plain, L" ", plain},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + L"|" + c.switches);
        const std::wstring name = L"CorvellPath" + std::to_wstring(++n);
        frmInstallS& d = Open();
        Fill(d, name, L"Corvell Path " + std::to_wstring(n), c.path, c.switches);
        Press(d);
        EXPECT_EQ(Value(name, L"ImagePath"), c.stored);
    }
    // The quoted program with blanks runs, and the list shows its path without the quotes.
    EXPECT_TRUE(ServiceFixtures::StartAndWait(L"CorvellPath1"));
    EXPECT_EQ(ListView::Text(form().lv, Row(form(), L"CorvellPath1"), kColPath), spaced);
}

TEST_F(InstallServiceTest, InstallAgainAfterARefusalStoresTheSwitchOnce) {
    Install(L"CorvellTaken", L"Corvell Taken");
    frmInstallS& d = Open();
    Fill(d, L"CorvellTaken", L"Corvell Retry", TestServicePath(), L" /s");
    Press(d);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"The specified service already exists in this database.");
    EXPECT_EQ(d.ControlText(d.txtPath), TestServicePath());
    EXPECT_EQ(d.ControlText(d.txtSwitch), L" /s");

    SetWindowTextW(d.txtName, L"CorvellRetry");
    RemoveAfterTest(L"CorvellRetry");
    Press(d);
    EXPECT_EQ(seam.messages.back().text, L"Corvell Retry Service added successfully!     ");
    EXPECT_EQ(Value(L"CorvellRetry", L"ImagePath"), TestServicePath() + L" /s");
}

TEST_F(InstallServiceTest, EachEmptyFieldIsRefusedAndNothingIsInstalled) {
    const std::wstring title = form().ControlText(form().lblCount);
    const struct {
        const wchar_t* name;
        const wchar_t* display;
        std::wstring path;
    } cases[] = {
        {L"", L"Corvell Empty Name", TestServicePath()},
        {L"CorvellEmptyDisplay", L"", TestServicePath()},
        {L"CorvellEmptyPath", L"Corvell Empty Path", L""},
        // Blanks alone count as empty.
        {L"   ", L"Corvell Blank Name", TestServicePath()},
        {L"CorvellBlankDisplay", L"  ", TestServicePath()},
        {L"CorvellBlankPath", L"Corvell Blank Path", L"   "},
    };
    frmInstallS& d = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.display);
        seam.messages.clear();
        Fill(d, c.name, c.display, c.path, L"/s", L"Never written.");
        Press(d);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, kMustEnter);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        ASSERT_EQ(frmInstallS::Current(), &d);
        EXPECT_EQ(form().ControlText(form().lblCount), title);
    }
    for (const auto& c : cases) {
        if (*c.name) {
            EXPECT_FALSE(Installed(c.name)) << c.name;
        }
    }
}

TEST_F(InstallServiceTest, APressWhileAnInstallRunsIsIgnored) {
    frmInstallS& d = Open();
    Fill(d, L"CorvellOnce", L"Corvell Once", TestServicePath(), L"/s");
    // The second click waits in the queue and arrives while the first install lets messages run.
    Press(d, true);
    Press(d);
    TestUtil::Pump();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"Corvell Once Service added successfully!     ");
    EXPECT_EQ(Value(L"CorvellOnce", L"ImagePath"), TestServicePath() + L" /s");
}

TEST_F(InstallServiceTest, InstallFromAnotherViewEndsOnTheServicesList) {
    form().tvwDemo_NodeClick(L"one");
    ASSERT_TRUE(IsWindowVisible(form().lv2));
    frmInstallS& d = Open();
    Fill(d, L"CorvellFromRun", L"Corvell From Run", TestServicePath());
    // While the success box is up, the title over the list names the list on show.
    bool servicesOnShow = false;
    std::wstring title;
    seam.onMessage = [&](const Seam::MessageRequest&) {
        servicesOnShow = IsWindowVisible(form().lv) && !IsWindowVisible(form().lv2);
        title = form().ControlText(form().lblCount);
    };
    Press(d);
    TestUtil::Pump();
    seam.onMessage = nullptr;
    EXPECT_TRUE(servicesOnShow);
    EXPECT_EQ(title, L"Installation Complete");
    EXPECT_EQ(seam.messages.back().text, L"Corvell From Run Service added successfully!     ");
    EXPECT_EQ(form().SelectedNodeKey(), L"six");
    EXPECT_TRUE(IsWindowVisible(form().lv));
    EXPECT_FALSE(IsWindowVisible(form().lv2));
    EXPECT_GE(Row(form(), L"CorvellFromRun"), 0);
}

TEST_F(InstallServiceTest, AViewChosenDuringTheInstallIsShownWithItsOwnTitle) {
    form().tvwDemo_NodeClick(L"another11");
    frmInstallS& d = Open();
    Fill(d, L"CorvellMovedOn", L"Corvell Moved On", TestServicePath());
    // The user clicks "All Startups" while the install runs; the click waits for it.
    ASSERT_TRUE(form().SelectNode(L"one"));
    PostMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_cmdWL, BN_CLICKED), reinterpret_cast<LPARAM>(form().cmdWL));
    std::wstring title;
    seam.onMessage = [&](const Seam::MessageRequest&) { title = form().ControlText(form().lblCount); };
    Press(d);
    TestUtil::Pump();
    seam.onMessage = nullptr;
    EXPECT_EQ(seam.messages.back().text, L"Corvell Moved On Service added successfully!     ");
    EXPECT_EQ(title, L"Registry All Users Run");  // the view still on show while the box is up
    EXPECT_EQ(form().SelectedNodeKey(), L"one");
    EXPECT_TRUE(IsWindowVisible(form().lv2));
    EXPECT_EQ(form().ControlText(form().lblCount), L"All Startups");
    EXPECT_TRUE(Installed(L"CorvellMovedOn"));
}

// Install pressed while another view is still being filled (its load lets messages run): that
// view is finished first and the services list follows, so no list is shown under another
// view's Action menu.
TEST_F(InstallServiceTest, InstallDuringAnotherViewsLoadShowsTheServicesListAfterIt) {
    frmInstallS& d = Open();
    Fill(d, L"CorvellMidLoad", L"Corvell Mid Load", TestServicePath());
    bool pressed = false;
    bool lv2Emptied = false;
    form().onDispatchStep = [&](const wchar_t* step) {
        if (std::wstring_view(step) == L"CleanStartupPaths" && !pressed) {
            pressed = true;
            Press(d);  // as a click taken while the load yields
        }
        if (std::wstring_view(step) == L"MarkRunningStartups") lv2Emptied = !IsWindowVisible(form().lv2);
    };
    form().tvwDemo_NodeClick(L"three");
    form().onDispatchStep = nullptr;
    TestUtil::Pump();
    ASSERT_TRUE(pressed);
    EXPECT_FALSE(lv2Emptied);  // the registry view went on with its own list in front
    EXPECT_TRUE(Installed(L"CorvellMidLoad"));
    EXPECT_EQ(form().SelectedNodeKey(), L"six");
    EXPECT_TRUE(IsWindowVisible(form().lv));
    EXPECT_FALSE(IsWindowVisible(form().lv2));
    EXPECT_TRUE(form().menus.IsVisible(L"mnuPopup"));
    EXPECT_FALSE(form().menus.IsVisible(L"mnuPopup2"));
    EXPECT_GE(Row(form(), L"CorvellMidLoad"), 0);
}

TEST_F(InstallServiceTest, BrowsePutsTheChosenProgramInThePathAndACancelKeepsWhatWasTyped) {
    frmInstallS& d = Open();
    SetWindowTextW(d.txtPath, L"C:\\Typed\\typed.exe");
    const auto browse = [&d] {
        SendMessageW(d.tabs.Frame2[0], WM_COMMAND, MAKEWPARAM(frmInstallS::IDC_cmdOpen, BN_CLICKED),
                     reinterpret_cast<LPARAM>(d.cmdOpen));
    };
    browse();  // cancelled
    EXPECT_EQ(d.ControlText(d.txtPath), L"C:\\Typed\\typed.exe");
    // The program browse of the add-startup dialog, owned by this one.
    ASSERT_EQ(seam.dialogs.size(), 1u);
    EXPECT_EQ(seam.dialogs[0].owner, d.hwnd());
    EXPECT_EQ(seam.dialogs[0].title, L"Select an application");
    EXPECT_EQ(seam.dialogs[0].flags, 4096u);

    seam.dialogAnswers.push_back({true, L"C:\\Tools\\picked.exe", 1});
    browse();
    EXPECT_EQ(d.ControlText(d.txtPath), L"C:\\Tools\\picked.exe");
}

} // namespace
