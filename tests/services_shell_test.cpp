// Find Target, Google Service and Windows Services from the services view of a live main
// window, with test services installed under chosen paths; launches are recorded by the seam.
#include "ServiceFixtures.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "system/Paths.h"
#include "system/WebSearch.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kSelectStartupItem = L"Please select a Startup item     ";
const std::wstring kServicesSub = L"SYSTEM\\CurrentControlSet\\Services\\";

class ServicesShellTest : public ServiceFixtures::ServiceTest {
protected:
    // A service whose program is the path given (nothing checks that it exists).
    void InstallAt(const std::wstring& name, const std::wstring& display, const std::wstring& path) {
        ASSERT_TRUE(ServiceFixtures::Install(name, display, path)) << name.c_str();
        RemoveAfterTest(name);
    }
    static void Click(Form1& form, UINT id) { SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void ExpectLaunch(const Form1& form, const std::wstring& file) {
        ASSERT_EQ(seam.launches.size(), 1u);
        ExpectShellOpen(seam.launches[0], form.hwnd(), file);
    }
};

TEST_F(ServicesShellTest, FindTargetOpensOnlyAnExistingFolderOfTheProgram) {
    CreateDirectoryW(L"C:\\P", nullptr);
    CreateDirectoryW(L"C:\\Q", nullptr);
    const struct {
        const wchar_t* name;
        std::wstring path;
        std::wstring folder;  // "": nothing is launched
    } cases[] = {
        {L"CorvellFindHost", L"C:\\WINDOWS\\system32\\svchost.exe -k netsvcs", L"C:\\WINDOWS\\system32"},
        {L"CorvellFindSwitch", L"C:\\P\\x.exe /cfg C:\\Q\\r.ini", L"C:\\P"},  // not the switch's folder
        {L"CorvellFindNoPath", L"C:\\P\\gone.exe", L""},  // its "ImagePath" is deleted: "Path Not Found"
        {L"CorvellFindRelative", L"system32\\x.exe", L""},
        {L"CorvellFindMissing", L"C:\\Missing\\x.exe", L""},
    };
    for (const auto& c : cases) InstallAt(c.name, c.name, c.path);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kServicesSub + L"CorvellFindNoPath").c_str(), 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    RegDeleteValueW(key, L"ImagePath");
    RegCloseKey(key);

    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seam.launches.clear();
        SelectService(form, c.name);
        Click(form, IDM_mnuFind3);
        if (c.folder.empty()) EXPECT_TRUE(seam.launches.empty());
        else ExpectLaunch(form, c.folder);
    }
    EXPECT_EQ(ListView::Text(form.lv, Row(form, L"CorvellFindNoPath"), 6), L"Path Not Found");
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ServicesShellTest, GoogleServiceSearchesForTheDisplayNameThenTheProgramsFileName) {
    InstallAt(L"CorvellSearch", L"Test Svc & Co", L"C:\\P\\svc.exe -k x");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    SelectService(form, L"CorvellSearch");
    Click(form, IDM_mnuGoog);
    ExpectLaunch(form, WebSearch::kSearchAddress + std::wstring(L"Test+Svc+%26+Co+OR+svc.exe"));
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ServicesShellTest, WithoutASelectedRowOrDuringAPassNothingIsLaunched) {
    InstallAt(L"CorvellAskShell", L"Corvell Ask Shell", L"C:\\WINDOWS\\system32\\svchost.exe -k x");
    TestUtil::LiveForm live;
    Form1& form = live.form;
    form.tvwDemo_NodeClick(L"six");
    const int row = Row(form, L"CorvellAskShell");
    ASSERT_GE(row, 0);
    for (UINT id : {IDM_mnuFind3, IDM_mnuGoog}) {
        SCOPED_TRACE(id);
        // The current row, not selected: the message, then the row is selected.
        ListView_SetItemState(form.lv, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(form.lv, row, LVIS_FOCUSED, LVIS_FOCUSED);
        seam.messages.clear();
        Click(form, id);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, kSelectStartupItem);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(ListView::Selected(form.lv), row);
        EXPECT_EQ(GetFocus(), form.lv);

        // A selected row while a pass replaces the rows: nothing at all.
        seam.messages.clear();
        form.servicesLoading = true;
        Click(form, id);
        form.servicesLoading = false;
        EXPECT_TRUE(seam.messages.empty());
    }
    EXPECT_TRUE(seam.launches.empty());
}

TEST_F(ServicesShellTest, WindowsServicesOpensTheServicesConsole) {
    TestUtil::LiveForm live;
    Click(live.form, IDM_mnuMsService);
    ExpectLaunch(live.form, MyMod::GetSystemDir() + L"\\Services.msc");
    EXPECT_TRUE(seam.messages.empty());
}

} // namespace
