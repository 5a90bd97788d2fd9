// The About box: opened from the Help menu, one window at a time, its tabs, the program's own
// file properties, its texts, its links, the link cursor and the focus rule.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/MenuIds.h"
#include "mainwindow/frmAbout.h"
#include "resources/resource.h"
#include "system/App.h"
#include "system/FileProperties.h"

#include <gtest/gtest.h>

namespace {

class AboutTest : public testing::Test {
protected:
    void SetUp() override { TestUtil::FreshSettings(); }
    void TearDown() override {
        if (frmAbout* open = frmAbout::Current()) open->Unload();
    }

    // Help, About on the main window's menu.
    static frmAbout* ClickAbout(const Form1& form) {
        SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_mnuAbout, 0), 0);
        return frmAbout::Current();
    }
    // Which frames are visible, as "1000" for the first alone.
    static std::string Shown(const frmAbout& box) {
        std::string shown;
        for (HWND frame : box.tabs.Frame2) shown += IsWindowVisible(frame) ? '1' : '0';
        return shown;
    }
    // A click on tab index: the strip changes its selection and tells the box.
    static void ClickTab(const frmAbout& box, int index) {
        SendMessageW(box.tabs.TabStrip1, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        NMHDR change{box.tabs.TabStrip1, static_cast<UINT_PTR>(frmAbout::IDC_TabStrip1),
                     static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(box.hwnd(), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    }
    static HCURSOR LinkCursor() {
        return LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDCUR_LINKHAND));
    }
    // What the pointer becomes when the mouse moves over control: the box answers for its links.
    static HCURSOR PointerOver(HWND control) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }
    static void MouseMove(HWND control) { SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4)); }

    TestSeam seam;
};

TEST_F(AboutTest, HelpAboutOpensOneBoxBringsItForwardAndBuildsItAnewAfterClosing) {
    TestUtil::LiveForm live;
    frmAbout* box = ClickAbout(live.form);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(IsWindowVisible(box->hwnd()));
    EXPECT_EQ(GetWindow(box->hwnd(), GW_OWNER), live.form.hwnd());
    EXPECT_TRUE(IsWindowEnabled(live.form.hwnd()));  // modeless
    EXPECT_EQ(box->ControlText(box->hwnd()), L"Corvell");
    EXPECT_EQ(box->ControlText(box->Label9), L"About Corvell");
    EXPECT_EQ(box->ControlText(box->Label10), L"Ferrowyn");
    EXPECT_EQ(box->ControlText(box->Label11), L"Corvell");
    EXPECT_EQ(box->ControlText(box->Command7), L"&Ferrowyn");
    EXPECT_EQ(box->ControlText(box->Command8), L"&Join the Ferrowyn mailing list");
    EXPECT_EQ(box->toolTips.Text(box->Command7), L"Visit Ferrowyn");
    EXPECT_EQ(box->toolTips.Text(box->Command8), L"Join our mailing list");
    const wchar_t* tabs[] = {L"File Properties", L"Release Info", L"License", L"Ferrowyn"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(box->tabs.Caption(i), tabs[i]) << i;
    EXPECT_EQ(GetFocus(), box->cmdDummy);  // first in the tab order
    RECT client{};
    GetClientRect(box->hwnd(), &client);
    EXPECT_EQ(client.right, DialogSupport::Twips(6360));
    EXPECT_EQ(client.bottom, DialogSupport::Twips(4800));

    // A second click while it is open: the same window, not filled again.
    SetWindowTextW(box->panel.txtInfo[0], L"changed by the test");
    SetActiveWindow(live.form.hwnd());
    EXPECT_EQ(ClickAbout(live.form), box);
    EXPECT_EQ(box->ControlText(box->panel.txtInfo[0]), L"changed by the test");
    EXPECT_EQ(GetActiveWindow(), box->hwnd());

    // Closed, then clicked again: built and filled anew.
    SendMessageW(box->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(frmAbout::Current(), nullptr);
    frmAbout* again = ClickAbout(live.form);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->ControlText(again->panel.txtInfo[0]), L"Corvell.exe");
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(AboutTest, TheSelectedTabShowsItsFrameAlone) {
    TestUtil::LiveForm live;
    frmAbout* box = ClickAbout(live.form);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->tabs.Frame2.size(), 4u);
    EXPECT_EQ(Shown(*box), "1000");
    ClickTab(*box, frmAbout::kLicenseTab);
    EXPECT_EQ(Shown(*box), "0010");
    EXPECT_TRUE(IsWindowVisible(box->txtLicense));
    ClickTab(*box, frmAbout::kMakerTab);
    EXPECT_EQ(Shown(*box), "0001");
    EXPECT_TRUE(IsWindowVisible(box->Command7));
    EXPECT_TRUE(IsWindowVisible(box->Command8));
}

TEST_F(AboutTest, PanelShowsTheRunningProgramsOwnFileThoughItIsNotNamedCorvell) {
    TestUtil::LiveForm live;
    frmAbout* box = ClickAbout(live.form);
    ASSERT_NE(box, nullptr);
    const std::wstring exe = App::ExeName();
    EXPECT_EQ(box->ControlText(box->txtFileName), exe);
    EXPECT_EQ(box->ControlText(box->txtName), L"about_test.exe");
    EXPECT_EQ(box->ControlText(box->txtSwitch), L"");

    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &data));
    const double size = static_cast<double>(data.nFileSizeLow) + 4294967296.0 * data.nFileSizeHigh;
    const std::wstring expected[] = {L"Corvell.exe",       L"1.0.0.0",     L"Ferrowyn", L"Copyright (C) 2026 Ferrowyn",
                                     L"Win32 API on Windows NT", L"Application", KB_MB::FormatSize(size)};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(box->ControlText(box->panel.txtInfo[i]), expected[i]) << "field " << i;
    // The creation date, in the user's own format: it holds at least the year.
    FILETIME local{};
    SYSTEMTIME created{};
    FileTimeToLocalFileTime(&data.ftCreationTime, &local);
    FileTimeToSystemTime(&local, &created);
    EXPECT_NE(box->ControlText(box->panel.txtInfo[7]).find(std::to_wstring(created.wYear)), std::wstring::npos);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(AboutTest, ReleaseNoteAndTermsAreReadOnlyTexts) {
    TestUtil::LiveForm live;
    frmAbout* box = ClickAbout(live.form);
    ASSERT_NE(box, nullptr);
    const std::wstring release = box->ControlText(box->txtRelease);
    const std::wstring head =
        L"Corvell\r\n\r\nCorvell is easy to use yet powerful enough to control all your Startups and Services.";
    EXPECT_EQ(release.substr(0, head.size()), head);
    EXPECT_NE(release.find(L".csv (Excel)"), std::wstring::npos);
    EXPECT_FALSE(box->ControlText(box->txtLicense).empty());
    for (HWND text : {box->txtRelease, box->txtLicense}) {
        const LONG_PTR style = GetWindowLongPtrW(text, GWL_STYLE);
        EXPECT_TRUE(style & ES_READONLY);
        EXPECT_TRUE(style & ES_MULTILINE);
    }
}

TEST_F(AboutTest, LinksOpenTheMakersTwoAddressesOwnedByTheBox) {
    TestUtil::LiveForm live;
    frmAbout* box = ClickAbout(live.form);
    ASSERT_NE(box, nullptr);
    ClickTab(*box, frmAbout::kMakerTab);
    SendMessageW(box->Label10, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(box->Label10, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageW(box->Command7, BM_CLICK, 0, 0);
    SendMessageW(box->Command8, BM_CLICK, 0, 0);

    ASSERT_EQ(seam.launches.size(), 3u);
    for (const auto& launch : seam.launches) {
        EXPECT_EQ(launch.owner, box->hwnd());
        EXPECT_EQ(launch.verb, L"open");
        EXPECT_EQ(launch.file.rfind(L"https://", 0), 0u) << launch.file;
        EXPECT_NE(launch.file.find(L".example/"), std::wstring::npos) << launch.file;
    }
    EXPECT_EQ(seam.launches[0].file, frmAbout::kMakerSite);
    EXPECT_EQ(seam.launches[1].file, frmAbout::kMakerSite);
    EXPECT_EQ(seam.launches[2].file, frmAbout::kMailingListPage);
    EXPECT_NE(seam.launches[2].file, seam.launches[0].file);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(AboutTest, LinkCursorIsAHandWithItsHotSpotAtTheFingerTipShownOverTheLinksAlone) {
    const HCURSOR hand = LinkCursor();
    ASSERT_NE(hand, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 0u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);

    TestUtil::LiveForm live;
    frmAbout* box = ClickAbout(live.form);
    ASSERT_NE(box, nullptr);
    ClickTab(*box, frmAbout::kMakerTab);
    for (HWND link : {box->Label10, box->Command7, box->Command8}) EXPECT_EQ(PointerOver(link), hand);
    ClickTab(*box, frmAbout::kReleaseTab);
    for (HWND other : {box->Label9, box->txtRelease, box->tabs.TabStrip1}) EXPECT_NE(PointerOver(other), hand);
}

TEST_F(AboutTest, MouseOverATextBoxMovesTheFocusToTheDummyOnlyWhileTheBoxIsActive) {
    TestUtil::LiveForm live;
    frmAbout* box = ClickAbout(live.form);
    ASSERT_NE(box, nullptr);
    const HWND boxes[] = {box->txtRelease, box->txtLicense, box->panel.txtInfo[0], box->panel.txtInfo[7],
                          box->txtName,    box->txtFileName, box->txtSwitch};
    for (HWND text : boxes) {
        SetActiveWindow(box->hwnd());
        SetFocus(box->tabs.TabStrip1);
        MouseMove(text);
        EXPECT_EQ(GetFocus(), box->cmdDummy) << GetDlgCtrlID(text);
    }

    // The main window active: the box is not pulled in front of it.
    SetActiveWindow(live.form.hwnd());
    ASSERT_EQ(GetActiveWindow(), live.form.hwnd());
    MouseMove(box->txtRelease);
    EXPECT_EQ(GetActiveWindow(), live.form.hwnd());
    EXPECT_NE(GetFocus(), box->cmdDummy);
}

} // namespace
