// The shared pieces of the tabbed property dialogs: the tab strip switching its frames, and
// the file-properties panel with its message for a file that cannot be read.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/FilePropertiesPanel.h"
#include "mainwindow/TabFrames.h"

#include <gtest/gtest.h>

namespace {

class frmTabsProbe : public Dialog<frmTabsProbe> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellTestTabsProbe";
    static constexpr int kClientWidth = 6600;
    static constexpr int kClientHeight = 4800;
    enum : int { IDC_TabStrip1 = 100, IDC_Frame2, IDC_cmdOnFrame = 110, IDC_lblInfo = 120 };

    std::wstring Caption() const { return L"Tabs"; }
    void CreateControls() {
        tabs.Create(hwnd(), IDC_TabStrip1, IDC_Frame2, {120, 120, 6360, 4560}, {L"One", L"Two", L"Three"});
        panel.Create(tabs.Frame2[0], IDC_lblInfo, tabs.FrameWidth());
        cmdOnFrame = DialogSupport::AddChild(tabs.Frame2[1], WC_BUTTONW, L"Press", WS_TABSTOP, IDC_cmdOnFrame,
                                             {120, 120, 1200, 400});
    }
    void Form_Load() { tabs.TabStrip1_Click(); }
    void Form_Unload() {}
    bool OnCommand(UINT id, UINT code, HWND) {
        if (id == IDC_cmdOnFrame && code == BN_CLICKED) ++presses;
        return id == IDC_cmdOnFrame;
    }
    LRESULT OnNotify(NMHDR* header) {
        tabs.OnNotify(header);
        return 0;
    }

    TabFrames tabs;
    FilePropertiesPanel panel;
    HWND cmdOnFrame = nullptr;
    int presses = 0;
};

class PropertyPanelsTest : public testing::Test {
protected:
    void SetUp() override { TestUtil::FreshSettings(); }
    void TearDown() override {
        if (frmTabsProbe* open = frmTabsProbe::Current()) open->Unload();
    }
    // Which frames are visible, as "100" for the first alone.
    static std::string Shown(const frmTabsProbe& d) {
        std::string shown;
        for (HWND frame : d.tabs.Frame2) shown += IsWindowVisible(frame) ? '1' : '0';
        return shown;
    }
    TestSeam seam;
};

TEST_F(PropertyPanelsTest, TheSelectedTabShowsItsFrameAlone) {
    TestUtil::LiveForm live;
    frmTabsProbe* d = frmTabsProbe::Show(live.form.hwnd());
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->tabs.Frame2.size(), 3u);
    EXPECT_EQ(Shown(*d), "100");

    d->tabs.SelectTab(2);
    EXPECT_EQ(d->tabs.SelectedTab(), 2);
    EXPECT_EQ(Shown(*d), "001");

    // A click on a tab: the strip changes its selection and tells the dialog.
    SendMessageW(d->tabs.TabStrip1, TCM_SETCURSEL, 1, 0);
    NMHDR change{d->tabs.TabStrip1, static_cast<UINT_PTR>(frmTabsProbe::IDC_TabStrip1), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(d->hwnd(), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(Shown(*d), "010");

    // The frame lies on the tab's page, above the strip, and its controls report to the dialog.
    RECT strip{}, frame{};
    GetWindowRect(d->tabs.TabStrip1, &strip);
    GetWindowRect(d->tabs.Frame2[1], &frame);
    EXPECT_GT(frame.top, strip.top);
    EXPECT_LE(frame.bottom, strip.bottom);
    POINT centre{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    ScreenToClient(d->hwnd(), &centre);
    EXPECT_EQ(ChildWindowFromPointEx(d->hwnd(), centre, CWP_SKIPINVISIBLE), d->tabs.Frame2[1]);
    SendMessageW(d->cmdOnFrame, BM_CLICK, 0, 0);
    EXPECT_EQ(d->presses, 1);

    // Leaving a tab takes the focus off its frame.
    SetFocus(d->cmdOnFrame);
    d->tabs.SelectTab(0);
    EXPECT_EQ(Shown(*d), "100");
    EXPECT_EQ(GetFocus(), d->tabs.TabStrip1);

    d->tabs.SetCaption(1, L"Modify Properties");
    EXPECT_EQ(d->tabs.Caption(1), L"Modify Properties");
}

TEST_F(PropertyPanelsTest, PanelOnAMissingFileFillsWhatItReadAndSaysSoOnce) {
    TestUtil::LiveForm live;
    frmTabsProbe* d = frmTabsProbe::Show(live.form.hwnd());
    ASSERT_NE(d, nullptr);
    const wchar_t* const labels[8] = {L"Name", L"Version", L"Company", L"Copyright",
                                      L"File OS", L"Type", L"Size", L"Created"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(d->ControlText(d->panel.lblInfo[static_cast<size_t>(i)]), labels[i]);
        SetWindowTextW(d->panel.txtInfo[static_cast<size_t>(i)], L"before");
    }
    d->panel.Load(d->hwnd(), TestUtil::ProgramFolder() + L"\\missing.exe", FileProperties::NameRule::FileName);

    const std::wstring expected[8] = {L"missing.exe", L"", L"", L"before", L"Unknown API", L"Unknown", L"before",
                                      L"before"};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(d->ControlText(d->panel.txtInfo[i]), expected[i]) << i;
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"File Path Not Found     ");
    EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(seam.messages[0].owner, d->hwnd());

    // A file that is there: every box, no message.
    seam.messages.clear();
    d->panel.Load(d->hwnd(), TestUtil::ProgramFolder() + L"\\vfix_full.exe",
                  FileProperties::NameRule::OriginalFileName);
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(d->ControlText(d->panel.txtInfo[0]), L"vfull.exe");
    EXPECT_EQ(d->ControlText(d->panel.txtInfo[3]), L"Copyright (C) Fixture Works");
    EXPECT_NE(d->ControlText(d->panel.txtInfo[7]), L"before");
}

TEST_F(PropertyPanelsTest, ToolTipsHoldTheirTextsAndAreReplaced) {
    TestUtil::LiveForm live;
    frmTabsProbe* d = frmTabsProbe::Show(live.form.hwnd());
    ASSERT_NE(d, nullptr);
    DialogSupport::ToolTips tips;
    EXPECT_EQ(tips.Text(d->panel.txtInfo[3]), L"");
    const std::wstring longText(600, L'c');
    tips.Set(d->panel.txtInfo[3], L"first");
    tips.Set(d->panel.txtInfo[3], longText);
    tips.Set(d->cmdOnFrame, L"press");
    EXPECT_EQ(tips.Text(d->panel.txtInfo[3]), longText);
    EXPECT_EQ(tips.Text(d->cmdOnFrame), L"press");
    EXPECT_EQ(tips.Text(d->panel.txtInfo[0]), L"");
}

} // namespace
