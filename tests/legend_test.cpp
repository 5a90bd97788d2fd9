// The icon legends: frmIcons of the startup lists and frmIconsS of the services list, each
// showing the list's four row icons beside their meaning.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/MenuIds.h"
#include "services/frmIconsS.h"
#include "startups/frmIcons.h"

#include <gtest/gtest.h>

namespace {

// The colour pixels of a 16x16 icon, top row first.
std::vector<DWORD> IconPixels(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    UniqueHbitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(16 * 16);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, color.get(), 0, 16, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

void Command(const Form1& form, UINT id) { SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

struct LegendRow {
    int icon;  // the row icon's number in ImageList1
    const wchar_t* text;
};

class IconLegend : public testing::Test {
protected:
    void SetUp() override { TestUtil::FreshSettings(); }

    // The legend opened by menu shows rows from top to bottom, each icon beside its text, and
    // OK closes it.
    template <typename Legend>
    void ExpectRowsAndOkClosesIt(UINT menu, const LegendRow (&rows)[Legend::kRows]) {
        TestUtil::LiveForm live;
        Command(live.form, menu);
        Legend* legend = Legend::Current();
        ASSERT_NE(legend, nullptr);
        EXPECT_TRUE(IsWindowVisible(legend->hwnd()));
        EXPECT_EQ(legend->ControlText(legend->hwnd()), L"Icon Legend");
        EXPECT_EQ(GetWindow(legend->hwnd(), GW_OWNER), live.form.hwnd());
        EXPECT_TRUE(IsWindowEnabled(live.form.hwnd()));  // modeless

        std::vector<std::vector<DWORD>> seen;
        LONG above = LONG_MIN;
        for (int i = 0; i < Legend::kRows; ++i) {
            SCOPED_TRACE(rows[i].text);
            EXPECT_EQ(legend->ControlText(legend->lblState[i]), rows[i].text);
            const auto shown = IconPixels(reinterpret_cast<HICON>(SendMessageW(legend->imgState[i], STM_GETICON, 0, 0)));
            UniqueHicon fromList(ImageList_GetIcon(live.form.ImageList1.get(), rows[i].icon - 1, ILD_NORMAL));
            ASSERT_FALSE(shown.empty());
            EXPECT_EQ(shown, IconPixels(fromList.get()));
            seen.push_back(shown);
            RECT icon{}, label{};
            GetWindowRect(legend->imgState[i], &icon);
            GetWindowRect(legend->lblState[i], &label);
            EXPECT_LT(icon.right, label.left);  // beside its text
            EXPECT_GT(label.top, above);        // below the row before
            above = label.top;
        }
        for (int i = 1; i < Legend::kRows; ++i) EXPECT_NE(seen[i], seen[i - 1]);
        EXPECT_EQ(legend->ControlText(legend->cmdOK), L"OK");

        SendMessageW(legend->hwnd(), WM_COMMAND, MAKEWPARAM(Legend::IDC_cmdOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(legend->cmdOK));
        EXPECT_EQ(Legend::Current(), nullptr);
    }

    // With the legend open, the second menu entry brings that one forward and makes no other.
    template <typename Legend>
    void ExpectSecondShowBringsItForward(UINT menu, UINT again) {
        TestUtil::LiveForm live;
        Command(live.form, menu);
        Legend* legend = Legend::Current();
        ASSERT_NE(legend, nullptr);
        const HWND window = legend->hwnd();
        SetActiveWindow(live.form.hwnd());
        ASSERT_EQ(GetActiveWindow(), live.form.hwnd());
        Command(live.form, again);
        EXPECT_EQ(Legend::Current(), legend);
        EXPECT_EQ(legend->hwnd(), window);
        EXPECT_EQ(GetActiveWindow(), window);
    }

    TestSeam seam;
};

TEST_F(IconLegend, StartupLegendShowsTheFourStatesWithTheirListIcons) {
    ExpectRowsAndOkClosesIt<frmIcons>(IDM_mnuLegend, {
                                                         {2, L"Automatic Start Enabled and Running"},
                                                         {1, L"Automatic Start Enabled and not Running"},
                                                         {9, L"Automatic Start Disabled and Running"},
                                                         {3, L"Automatic Start Disabled and not Running"},
                                                     });
}

TEST_F(IconLegend, ServiceLegendShowsTheFourServiceIcons) {
    ExpectRowsAndOkClosesIt<frmIconsS>(IDM_mnuLegend3, {
                                                           {2, L"Automatic Start and Running"},
                                                           {4, L"Manual Start and Running"},
                                                           {1, L"Manual Start and not Running"},
                                                           {3, L"Disabled and not Running"},
                                                       });
}

TEST_F(IconLegend, SecondIconLegendBringsTheOpenOneForward) {
    ExpectSecondShowBringsItForward<frmIcons>(IDM_mnuLegend, IDM_mnuLegend2);  // the startup-folder menu's entry
    ExpectSecondShowBringsItForward<frmIconsS>(IDM_mnuLegend3, IDM_mnuLegend3);
}

} // namespace
