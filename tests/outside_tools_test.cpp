// The registry editor opened at each Run key, and the launchers of the configuration tools and
// the help file, from their menu entries in a live main window; launches are recorded by the seam.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/MenuIds.h"
#include "system/App.h"
#include "system/Paths.h"

#include <gtest/gtest.h>

#include <shlobj.h>

namespace {

const std::wstring kAppletSub = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
const std::wstring kMachineKeys = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kUserKeys = L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";

class OutsideToolsTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        live = std::make_unique<TestUtil::LiveForm>();
    }
    void TearDown() override {
        live.reset();
    }

    Form1& form() { return live->form; }
    void Click(UINT id) { SendMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    static std::wstring LastKey() { return TestUtil::ValueOrMissing(HKEY_CURRENT_USER, kAppletSub, L"LastKey"); }
    void ExpectLaunch(size_t index, const std::wstring& file) {
        ASSERT_LT(index, seam.launches.size());
        ExpectShellOpen(seam.launches[index], form().hwnd(), file);
    }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
    const TestUtil::WindowsProduct product;  // put back after each test
};

TEST_F(OutsideToolsTest, EachRegistryEditorEntryWritesItsKeyThenStartsTheEditor) {
    // A fresh prefix has no settings key for the editor: it is made.
    ASSERT_TRUE(TestUtil::DeleteTree(HKEY_CURRENT_USER, kAppletSub));
    product.Set(L"Microsoft Windows 7");
    const struct {
        UINT id;
        std::wstring key;
    } cases[] = {
        {IDM_mnuAUR, kMachineKeys + L"Run"},
        {IDM_mnuAURO, kMachineKeys + L"RunOnce"},
        {IDM_mnuAUROEX, kMachineKeys + L"RunOnceEx"},
        {IDM_mnuCUR, kUserKeys + L"Run"},
        {IDM_mnuCURO, kUserKeys + L"RunOnce"},
    };
    std::vector<std::wstring> atLaunch;
    seam.onLaunch = [&](const Seam::ShellRequest&) { atLaunch.push_back(LastKey()); };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].key.c_str());
        Click(cases[i].id);
        ExpectLaunch(i, MyMod::GetWindowsDir() + L"\\Regedit.exe");
        ASSERT_EQ(atLaunch.size(), i + 1);
        EXPECT_EQ(atLaunch[i], L"Computer\\" + cases[i].key);  // in place before the editor starts
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(OutsideToolsTest, TheEditorsRootIsMyComputerOnlyBeforeVista) {
    const struct {
        const wchar_t* product;  // nullptr: the value is deleted
        const wchar_t* root;
    } cases[] = {
        {L"Microsoft Windows 7", L"Computer\\"},
        {L"Windows Vista (TM) Business", L"Computer\\"},
        {L"windows 7", L"Computer\\"},
        {L"Microsoft Windows XP", L"My Computer\\"},
        {L"Microsoft Windows 2000", L"My Computer\\"},
        {L"Microsoft Windows Server 2003", L"My Computer\\"},
        {L"microsoft windows xp", L"My Computer\\"},
        {L"Windows 10 Pro", L"Computer\\"},
        {L"Windows Server 2008 R2 Standard", L"Computer\\"},
        {nullptr, L"Computer\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product ? c.product : L"(deleted)");
        if (c.product) product.Set(c.product);
        else ASSERT_TRUE(product.Remove());
        Click(IDM_mnuCUR);
        EXPECT_EQ(LastKey(), c.root + kUserKeys + L"Run");
    }
}

TEST_F(OutsideToolsTest, ARunningEditorHasEndedBeforeTheNewOneStarts) {
    auto editor = TestUtil::StartCopy(L"sleeper.exe", L"regedit.exe");
    ASSERT_TRUE(editor);
    DWORD atLaunch = WAIT_TIMEOUT;
    seam.onLaunch = [&](const Seam::ShellRequest&) { atLaunch = WaitForSingleObject(editor.get(), 0); };
    Click(IDM_mnuAURO);
    ASSERT_EQ(seam.launches.size(), 1u);
    EXPECT_EQ(atLaunch, WAIT_OBJECT_0);
    EXPECT_EQ(LastKey(), L"Computer\\" + kMachineKeys + L"RunOnce");
    TerminateProcess(editor.get(), 0);
}

TEST_F(OutsideToolsTest, LaunchersOpenTheToolsAndTheHelpFile) {
    const std::wstring helpCenterCopy = MyMod::GetWindowsDir() + L"\\pchealth\\helpctr\\binaries\\msconfig.exe";
    const std::wstring folder = helpCenterCopy.substr(0, helpCenterCopy.rfind(L'\\'));
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    UniqueHandle marker(CreateFileW(helpCenterCopy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(marker);
    marker.reset();

    Click(IDM_mnuConfig);
    ExpectLaunch(0, helpCenterCopy);
    ASSERT_TRUE(DeleteFileW(helpCenterCopy.c_str()));
    Click(IDM_mnuConfig);
    ExpectLaunch(1, MyMod::GetSystemDir() + L"\\msconfig.exe");
    Click(IDM_mnuSysConfig);
    ExpectLaunch(2, MyMod::GetSystemDir() + L"\\sysedit.exe");
    Click(IDM_mnuContent);
    ExpectLaunch(3, App::Path() + L"\\Help.chm");
    EXPECT_EQ(seam.launches.size(), 4u);
    EXPECT_TRUE(seam.messages.empty());
}

} // namespace
