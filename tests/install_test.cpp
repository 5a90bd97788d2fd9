// Adding a startup and the startup icon legend: frmIcons from "Icon Legend".
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/MenuIds.h"
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

class IconLegend : public testing::Test {
protected:
    void SetUp() override { TestUtil::FreshSettings(); }
    TestSeam seam;
};

TEST_F(IconLegend, ShowsTheFourStatesWithTheirListIconsAndOkClosesIt) {
    TestUtil::LiveForm live;
    Command(live.form, IDM_mnuLegend);
    frmIcons* legend = frmIcons::Current();
    ASSERT_NE(legend, nullptr);
    EXPECT_TRUE(IsWindowVisible(legend->hwnd()));
    EXPECT_EQ(legend->ControlText(legend->hwnd()), L"Icon Legend");
    EXPECT_EQ(GetWindow(legend->hwnd(), GW_OWNER), live.form.hwnd());
    EXPECT_TRUE(IsWindowEnabled(live.form.hwnd()));  // modeless

    const struct {
        int icon;
        const wchar_t* text;
    } rows[] = {
        {2, L"Automatic Start Enabled and Running"},
        {1, L"Automatic Start Enabled and not Running"},
        {9, L"Automatic Start Disabled and Running"},
        {3, L"Automatic Start Disabled and not Running"},
    };
    std::vector<std::vector<DWORD>> seen;
    for (int i = 0; i < frmIcons::kRows; ++i) {
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
    }
    for (int i = 1; i < frmIcons::kRows; ++i) EXPECT_NE(seen[i], seen[i - 1]);
    EXPECT_EQ(legend->ControlText(legend->cmdOK), L"OK");

    SendMessageW(legend->hwnd(), WM_COMMAND, MAKEWPARAM(frmIcons::IDC_cmdOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(legend->cmdOK));
    EXPECT_EQ(frmIcons::Current(), nullptr);
}

TEST_F(IconLegend, SecondIconLegendBringsTheOpenOneForward) {
    TestUtil::LiveForm live;
    Command(live.form, IDM_mnuLegend);
    frmIcons* legend = frmIcons::Current();
    ASSERT_NE(legend, nullptr);
    const HWND window = legend->hwnd();
    SetActiveWindow(live.form.hwnd());
    ASSERT_EQ(GetActiveWindow(), live.form.hwnd());
    Command(live.form, IDM_mnuLegend2);  // the startup-folder menu's entry
    EXPECT_EQ(frmIcons::Current(), legend);
    EXPECT_EQ(legend->hwnd(), window);
    EXPECT_EQ(GetActiveWindow(), window);
}

} // namespace
