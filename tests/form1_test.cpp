// The main window's start-up, layout, clock and shutdown, against the real registry.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ListView.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <vector>

namespace {

const std::wstring kAppSub = L"Software\\Ferrowyn\\Corvell";

std::wstring Setting(const std::wstring& name) { return General::GetStringValue(App::AppKey(), name); }

// What an unload of a normal window sorted by service name leaves in the settings (twips).
void ExpectSavedNormalWindowSortedByServiceName(const wchar_t* left, const wchar_t* top, const wchar_t* width,
                                                const wchar_t* height) {
    EXPECT_EQ(Setting(L"State"), L"0");
    EXPECT_EQ(Setting(L"Left"), left);
    EXPECT_EQ(Setting(L"Top"), top);
    EXPECT_EQ(Setting(L"Width"), width);
    EXPECT_EQ(Setting(L"Height"), height);
    EXPECT_EQ(Setting(L"Sorted"), L"1");
}

RECT ChildRect(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class Form1Test : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kAppSub);
        RemoveDirectoryW((App::Path() + L"\\Startups").c_str());
        RemoveDirectoryW((App::Path() + L"\\Backups").c_str());
    }
    TestSeam seam;
};

TEST_F(Form1Test, FirstRunCreatesKeysFoldersAndCentredGeometryAndAsksOnce) {
    {
        TestUtil::LiveForm live;
        ASSERT_NE(live.form.hwnd(), nullptr);
        for (const wchar_t* sub : {L"", L"\\Disabled", L"\\Startups", L"\\Dates", L"\\Dates\\Startups", L"\\Backups"})
            EXPECT_TRUE(Registry::KeyExists(HKEY_LOCAL_MACHINE, kAppSub + sub)) << sub;
        EXPECT_TRUE(MyMod::FolderExists(App::Path() + L"\\Startups"));
        EXPECT_TRUE(MyMod::FolderExists(App::Path() + L"\\Backups"));
        EXPECT_EQ(Setting(L"State"), L"Error");

        RECT r{};
        GetWindowRect(live.form.hwnd(), &r);
        double width = 0, left = 0, height = 0, top = 0;
        ASSERT_TRUE(Text::ParseDouble(Setting(L"Width"), width));
        ASSERT_TRUE(Text::ParseDouble(Setting(L"Height"), height));
        ASSERT_TRUE(Text::ParseDouble(Setting(L"Left"), left));
        ASSERT_TRUE(Text::ParseDouble(Setting(L"Top"), top));
        const double screenTwips = live.form.ToTwips(GetSystemMetrics(SM_CXSCREEN));
        EXPECT_NEAR(left, screenTwips / 2 - width / 2, 30);
        EXPECT_NEAR(width, live.form.ToTwips(r.right - r.left), 30);

        ASSERT_EQ(seam.messages.size(), 1u);
        const auto& m = seam.messages[0];
        EXPECT_EQ(m.caption, L"First Run Backup Warning");
        EXPECT_EQ(m.flags, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_EQ(m.text,
                  L"Since this is the first time you've used Corvell, a backup of all your current Startups and "
                  L"Services settings has not been created yet.  It's highly recommended you create a backup before "
                  L"making any changes.  You can also create another backup at any time and it will replace any "
                  L"existing one.\r\n\r\nWould you like to create a backup now?  It only takes a few seconds and can "
                  L"be easily restored in case of problems.     ");
        EXPECT_EQ(Setting(L"Backup"), L"1");
    }
    EXPECT_EQ(Setting(L"State"), L"0");
    EXPECT_EQ(Setting(L"Sorted"), L"0");
    seam.messages.clear();
    { TestUtil::LiveForm again; }
    EXPECT_TRUE(seam.messages.empty());  // asked once only
}

TEST_F(Form1Test, RestoresSavedGeometryAndSavesItAtClose) {
    TestUtil::FreshSettings();
    General::SetStringValue(App::AppKey(), L"State", L"0");
    General::SetStringValue(App::AppKey(), L"Width", L"9000");
    General::SetStringValue(App::AppKey(), L"Height", L"7000");
    General::SetStringValue(App::AppKey(), L"Left", L"600");
    General::SetStringValue(App::AppKey(), L"Top", L"450");
    {
        TestUtil::LiveForm live;
        RECT r{};
        GetWindowRect(live.form.hwnd(), &r);
        EXPECT_EQ(r.left, live.form.Twips(600));
        EXPECT_EQ(r.top, live.form.Twips(450));
        EXPECT_EQ(r.right - r.left, live.form.Twips(9000));
        EXPECT_EQ(live.form.WindowState(), 0);
        live.form.lvSortKey = Form1::ServiceSortKey::ServiceName;
        SetWindowPos(live.form.hwnd(), nullptr, live.form.Twips(900), live.form.Twips(600), live.form.Twips(9900),
                     live.form.Twips(7200), SWP_NOZORDER);
    }
    EXPECT_TRUE(seam.messages.empty());
    ExpectSavedNormalWindowSortedByServiceName(L"900", L"600", L"9900", L"7200");
}

TEST_F(Form1Test, WindowsEndingTheSessionSavesTheGeometryAsAClose) {
    TestUtil::FreshSettings();
    TestUtil::LiveForm live;
    live.form.lvSortKey = Form1::ServiceSortKey::ServiceName;
    SetWindowPos(live.form.hwnd(), nullptr, live.form.Twips(1200), live.form.Twips(750), live.form.Twips(9600),
                 live.form.Twips(6900), SWP_NOZORDER);
    // At log-off or shut-down the window gets no close: the session's end is all it hears.
    EXPECT_NE(SendMessageW(live.form.hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
    SendMessageW(live.form.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    ExpectSavedNormalWindowSortedByServiceName(L"1200", L"750", L"9600", L"6900");
}

TEST_F(Form1Test, StoredPlaceWithoutAReachableCaptionOrAUsableNumberNeverHidesTheWindow) {
    // Where a window opens whose "Left" and "Top" are missing: the system's default place.
    auto open = [this](const wchar_t* left, const wchar_t* top, const wchar_t* width, const wchar_t* height) {
        TestUtil::FreshSettings();
        General::SetStringValue(App::AppKey(), L"State", L"0");
        const struct {
            const wchar_t* name;
            const wchar_t* value;
        } values[] = {{L"Left", left}, {L"Top", top}, {L"Width", width}, {L"Height", height}};
        for (const auto& v : values)
            if (v.value) General::SetStringValue(App::AppKey(), v.name, v.value);
        RECT r{};
        {
            TestUtil::LiveForm live;
            GetWindowRect(live.form.hwnd(), &r);
        }
        return r;
    };
    const RECT unplaced = open(nullptr, nullptr, nullptr, nullptr);
    const int designWidth = unplaced.right - unplaced.left;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    struct {
        int dpi;
        int Twips(int twips) const { return MulDiv(twips, dpi, 1440); }
        int ToTwips(int pixels) const { return MulDiv(pixels, 1440, dpi); }
    } const f{dpi};
    const int centredLeft = (screenWidth - f.Twips(9000)) / 2, centredTop = (screenHeight - f.Twips(7000)) / 2;
    const int designLeft = (screenWidth - designWidth) / 2;
    const int designHeight = unplaced.bottom - unplaced.top, designTop = (screenHeight - designHeight) / 2;
    // A window of 12000 x 9000 twips opened centred.
    const int wideLeft = (screenWidth - f.Twips(12000)) / 2, wideTop = (screenHeight - f.Twips(9000)) / 2;
    const auto twips = [&f](int pixels) { return std::to_wstring(f.ToTwips(pixels)); };

    const struct {
        const wchar_t* what;
        std::wstring left, top, width, height;
        int wantLeft, wantTop, wantWidth, wantHeight;  // pixels
    } cases[] = {
        {L"on screen", L"600", L"450", L"9000", L"7000", f.Twips(600), f.Twips(450), f.Twips(9000), f.Twips(7000)},
        {L"partly off the left edge", L"-1500", L"450", L"9000", L"7000", f.Twips(-1500), f.Twips(450), f.Twips(9000),
         f.Twips(7000)},
        {L"caption at the very top", L"600", twips(-1), L"9000", L"7000", f.Twips(600), -1, f.Twips(9000),
         f.Twips(7000)},
        {L"130 px of caption left on the right", twips(screenWidth - 130), L"450", L"9000", L"7000",
         screenWidth - 130, f.Twips(450), f.Twips(9000), f.Twips(7000)},
        {L"110 px of caption left on the right", twips(screenWidth - 110), L"450", L"9000", L"7000", centredLeft,
         centredTop, f.Twips(9000), f.Twips(7000)},
        {L"caption below the bottom edge", L"600", twips(screenHeight - 2), L"9000", L"7000", centredLeft, centredTop,
         f.Twips(9000), f.Twips(7000)},
        {L"caption above the top edge", L"1500", L"-6000", L"12000", L"9000", wideLeft, wideTop, f.Twips(12000),
         f.Twips(9000)},
        {L"3 px left on the left edge", L"-11955", L"1500", L"12000", L"9000", wideLeft, wideTop, f.Twips(12000),
         f.Twips(9000)},
        {L"larger than the screen, reaching it only before its size is clamped", L"-30000", L"-30000", L"60000",
         L"60000", designLeft, designTop, designWidth, designHeight},
        {L"off every screen", L"60000", L"60000", L"9000", L"7000", centredLeft, centredTop, f.Twips(9000),
         f.Twips(7000)},
        {L"off every screen, above and left", L"-60000", L"-60000", L"9000", L"7000", centredLeft, centredTop,
         f.Twips(9000), f.Twips(7000)},
        {L"off every screen, wider than it", L"60000", L"450", L"99999", L"7000", designLeft, designTop, designWidth,
         designHeight},
        {L"largest int", L"2147483647", L"450", L"9000", L"7000", centredLeft, centredTop, f.Twips(9000),
         f.Twips(7000)},
        {L"1e10", L"1e10", L"450", L"9000", L"7000", unplaced.left, f.Twips(450), f.Twips(9000), f.Twips(7000)},
        {L"-inf", L"-inf", L"-inf", L"9000", L"7000", unplaced.left, unplaced.top, f.Twips(9000), f.Twips(7000)},
        {L"nan", L"nan", L"450", L"inf", L"7000", unplaced.left, f.Twips(450), designWidth, f.Twips(7000)},
        {L"empty", L"", L"450", L"", L"7000", unplaced.left, f.Twips(450), designWidth, f.Twips(7000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RECT r = open(c.left.c_str(), c.top.c_str(), c.width.c_str(), c.height.c_str());
        EXPECT_NEAR(r.left, c.wantLeft, 2);
        EXPECT_NEAR(r.top, c.wantTop, 2);
        EXPECT_EQ(r.right - r.left, c.wantWidth);
        EXPECT_EQ(r.bottom - r.top, c.wantHeight);
        // The close writes back where the window was, so the next start opens there again.
        double left = 0, top = 0;
        ASSERT_TRUE(Text::ParseDouble(Setting(L"Left"), left));
        ASSERT_TRUE(Text::ParseDouble(Setting(L"Top"), top));
        EXPECT_NEAR(left, f.ToTwips(r.left), 15);
        EXPECT_NEAR(top, f.ToTwips(r.top), 15);
        EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
    }
}

TEST_F(Form1Test, EveryLoadMakesTheSubKeysThatAreMissing) {
    // A later run (State stored) whose sub-keys were deleted meanwhile.
    TestUtil::FreshSettings();
    General::SetStringValue(App::AppKey(), L"State", L"0");
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kAppSub + L"\\Dates", L"Kept", L"12/10/2026 10:00:00 AM");
    { TestUtil::LiveForm live; }
    for (const wchar_t* sub : {L"\\Disabled", L"\\Startups", L"\\Dates", L"\\Dates\\Startups", L"\\Backups"})
        EXPECT_TRUE(Registry::KeyExists(HKEY_LOCAL_MACHINE, kAppSub + sub)) << sub;
    EXPECT_TRUE(TestUtil::ValueExists(HKEY_LOCAL_MACHINE, kAppSub + L"\\Dates", L"Kept"));  // existing ones stay
}

TEST_F(Form1Test, StartUpAsksWindowsNotToRaiseNoDiskBoxes) {
    // A target on an empty drive must not stop a load behind a system box.
    const UINT before = SetErrorMode(0);
    {
        TestUtil::LiveForm live;
        const UINT mode = GetErrorMode();
        EXPECT_EQ(mode & SEM_FAILCRITICALERRORS, static_cast<UINT>(SEM_FAILCRITICALERRORS));
        EXPECT_EQ(mode & SEM_NOOPENFILEERRORBOX, static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
    }
    SetErrorMode(before);
}

TEST_F(Form1Test, MaximizedOpensMaximizedAndWritesOnlyState) {
    TestUtil::FreshSettings();
    General::SetStringValue(App::AppKey(), L"State", L"2");
    General::SetStringValue(App::AppKey(), L"Width", L"1234");
    {
        TestUtil::LiveForm live;
        EXPECT_EQ(live.form.WindowState(), 2);
    }
    EXPECT_EQ(Setting(L"State"), L"2");
    EXPECT_EQ(Setting(L"Width"), L"1234");
    EXPECT_EQ(Setting(L"Left"), L"Error");
    EXPECT_EQ(Setting(L"Sorted"), L"Error");
}

TEST_F(Form1Test, StatusBarPanelsAndSortMarks) {
    TestUtil::FreshSettings();
    General::SetStringValue(App::AppKey(), L"Sorted", L"1");
    TestUtil::LiveForm live;
    EXPECT_EQ(live.form.PanelText(1), L"Corvell 1.0");
    EXPECT_EQ(live.form.PanelText(2), live.form.ControlText(live.form.lblCount));
    const std::wstring clock = live.form.PanelText(3);
    EXPECT_EQ(clock, Form1::ClockText());
    ASSERT_GE(clock.size(), 10u);
    EXPECT_EQ(clock.substr(clock.size() - 2), L"  ");
    EXPECT_TRUE(clock.find(L" AM  ") != std::wstring::npos || clock.find(L" PM  ") != std::wstring::npos);
    EXPECT_EQ(ListView::ColumnIcon(live.form.lv, 0), 8);
    EXPECT_EQ(ListView::ColumnIcon(live.form.lv, 1), 7);
}

TEST_F(Form1Test, SortChoiceSurvivesARunThatNeverOpensTheServices) {
    TestUtil::FreshSettings();
    General::SetStringValue(App::AppKey(), L"Sorted", L"1");
    { TestUtil::LiveForm live; }
    EXPECT_EQ(Setting(L"Sorted"), L"1");
}

TEST_F(Form1Test, ListColumnsHaveTheirCaptionsAndWidths) {
    TestUtil::FreshSettings();
    TestUtil::LiveForm live;
    EXPECT_EQ(ListView::ColumnIcon(live.form.lv, 0), 7);
    EXPECT_EQ(ListView::ColumnIcon(live.form.lv, 1), 8);
    auto captions = [](HWND list) {
        std::vector<std::wstring> out;
        HWND header = ListView_GetHeader(list);
        const int n = Header_GetItemCount(header);
        for (int i = 0; i < n; ++i) {
            wchar_t buf[64] = {};
            HDITEMW item{};
            item.mask = HDI_TEXT;
            item.pszText = buf;
            item.cchTextMax = 64;
            Header_GetItem(header, i, &item);
            out.push_back(buf);
        }
        return out;
    };
    EXPECT_EQ(captions(live.form.lv),
              (std::vector<std::wstring>{L"Display Name", L"Service Name", L"Status", L"Setting", L"Depends on Service",
                                         L"Dependant Services", L"Service Path", L"Date First Detected"}));
    EXPECT_EQ(captions(live.form.lv2), (std::vector<std::wstring>{L"Application", L"Application Path",
                                                                  L"Registry Key or User Path", L"Date Detected"}));
    EXPECT_EQ(captions(live.form.lv3), (std::vector<std::wstring>{L"Startup Name", L"Startup Target", L"User Folder",
                                                                  L"Date Detected"}));
    EXPECT_EQ(ListView_GetColumnWidth(live.form.lv2, 1), live.form.Twips(5000));
}

// The three lists and their headers share one image list that the window frees once: a list
// that goes takes no pictures from the others, nor does the whole window from its owner.
TEST_F(Form1Test, ListsShareTheirImagesAndNoneFreesThem) {
    TestUtil::FreshSettings();
    TestUtil::LiveForm live;
    Form1& form = live.form;
    const HIMAGELIST images = form.ImageList1.get();
    const int count = ImageList_GetImageCount(images);
    ASSERT_GT(count, 0);
    for (HWND list : {form.lv, form.lv2, form.lv3}) {
        EXPECT_EQ(ListView_GetImageList(list, LVSIL_SMALL), images);
        EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(ListView_GetHeader(list), HDM_GETIMAGELIST, 0, 0)),
                  images);
    }
    auto stillWhole = [&] {
        EXPECT_EQ(ImageList_GetImageCount(images), count);
        int cx = 0, cy = 0;
        EXPECT_TRUE(ImageList_GetIconSize(images, &cx, &cy));
        const HICON icon = ImageList_GetIcon(images, 0, ILD_NORMAL);
        EXPECT_NE(icon, nullptr);
        if (icon) DestroyIcon(icon);
    };

    DestroyWindow(form.lv3);  // as when one list is made again
    SCOPED_TRACE("after one list went");
    stillWhole();
    EXPECT_EQ(ListView_GetImageList(form.lv2, LVSIL_SMALL), images);

    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(form.hwnd(), nullptr);
    SCOPED_TRACE("after the window went");
    stillWhole();
}

// A centred caption must be drawn again whole when the window widens: a static control only
// paints the strip it gains, which would leave the old text off the new centre.
TEST_F(Form1Test, WideningTheWindowRedrawsTheCentredViewTitleWhole) {
    TestUtil::FreshSettings();
    TestUtil::LiveForm live;
    Form1& f = live.form;
    ASSERT_TRUE(IsWindowVisible(f.lblCount));
    SetWindowPos(f.hwnd(), nullptr, 0, 0, f.Twips(11000), f.Twips(8000), SWP_NOZORDER | SWP_NOMOVE);
    TestUtil::Pump(50);
    ValidateRect(f.lblCount, nullptr);
    SetWindowPos(f.hwnd(), nullptr, 0, 0, f.Twips(14000), f.Twips(8000), SWP_NOZORDER | SWP_NOMOVE);
    // The label is as wide as the window's outer width; the part past the client area is never seen.
    RECT client{}, parent{}, update{};
    GetClientRect(f.lblCount, &client);
    GetClientRect(f.hwnd(), &parent);
    MapWindowPoints(f.hwnd(), f.lblCount, reinterpret_cast<POINT*>(&parent), 2);
    ASSERT_TRUE(GetUpdateRect(f.lblCount, &update, FALSE));
    EXPECT_EQ(update.left, client.left);
    EXPECT_EQ(update.right, std::min(client.right, parent.right));
}

TEST_F(Form1Test, ResizeKeepsViewsAgainstTheEdgesAndMinimizeMovesNothing) {
    TestUtil::FreshSettings();
    TestUtil::LiveForm live;
    Form1& f = live.form;
    SetWindowPos(f.hwnd(), nullptr, 0, 0, f.Twips(12000), f.Twips(9000), SWP_NOZORDER | SWP_NOMOVE);
    RECT w{};
    GetWindowRect(f.hwnd(), &w);
    const int W = f.ToTwips(w.right - w.left), H = f.ToTwips(w.bottom - w.top);
    for (HWND view : {f.lv, f.lv2, f.lv3, f.txtFiles}) {
        const RECT r = ChildRect(f.hwnd(), view);
        EXPECT_NEAR(r.right - r.left, f.Twips(W - 3450), 1);
        EXPECT_NEAR(r.bottom - r.top, f.Twips(H - 2300), 1);
        EXPECT_NEAR(r.left, f.Twips(3240), 1);
    }
    const RECT save = ChildRect(f.hwnd(), f.cmdSave);
    EXPECT_NEAR(save.left, f.Twips(W - 1650), 1);
    EXPECT_NEAR(save.top, f.Twips(H - 1650), 1);
    const RECT header = ChildRect(f.hwnd(), f.lblHeader);
    EXPECT_NEAR(header.right - header.left, f.Twips(W), 1);

    // Too small a window is held at a minimum size where nothing goes negative.
    SetWindowPos(f.hwnd(), nullptr, 0, 0, 50, 50, SWP_NOZORDER | SWP_NOMOVE);
    const RECT tiny = ChildRect(f.hwnd(), f.lv);
    EXPECT_GT(tiny.right - tiny.left, 0);
    EXPECT_GT(tiny.bottom - tiny.top, 0);

    SetWindowPos(f.hwnd(), nullptr, 0, 0, f.Twips(12000), f.Twips(9000), SWP_NOZORDER | SWP_NOMOVE);
    const HWND laidOut[] = {f.lv, f.lv2, f.lv3, f.txtFiles, f.tvwDemo, f.lblHeader, f.lblCount, f.cmdSave};
    std::vector<RECT> before;
    for (HWND c : laidOut) before.push_back(ChildRect(f.hwnd(), c));
    ShowWindow(f.hwnd(), SW_MINIMIZE);
    TestUtil::Pump(50);
    ASSERT_EQ(f.WindowState(), 1);
    // Minimized, the window is a caption's size: laying the controls out against it would
    // shrink them to nothing; they stay as they were.
    for (size_t i = 0; i < before.size(); ++i) {
        const RECT during = ChildRect(f.hwnd(), laidOut[i]);
        EXPECT_EQ(during.right - during.left, before[i].right - before[i].left) << i;
        EXPECT_EQ(during.bottom - during.top, before[i].bottom - before[i].top) << i;
    }
    ShowWindow(f.hwnd(), SW_RESTORE);
    TestUtil::Pump(50);
    const RECT after = ChildRect(f.hwnd(), f.lv);
    EXPECT_EQ(after.right - after.left, before[0].right - before[0].left);
    EXPECT_EQ(after.bottom - after.top, before[0].bottom - before[0].top);
}

TEST_F(Form1Test, ClockTicksIntoPanelThree) {
    TestUtil::FreshSettings();
    TestUtil::LiveForm live;
    live.form.SetPanelText(3, L"stale");
    const std::wstring before = Form1::ClockText();
    // The clock ticks every second; a loaded machine may be late with the tick.
    TestUtil::PumpUntil([&live] { return live.form.PanelText(3) != L"stale"; });
    const std::wstring shown = live.form.PanelText(3);
    EXPECT_TRUE(shown == before || shown == Form1::ClockText()) << shown.c_str();  // a minute may turn
}

} // namespace

namespace {

TEST_F(Form1Test, ConfigurationToolHiddenOnWindows2000Only) {
    TestUtil::FreshSettings();
    const TestUtil::WindowsProduct product;
    const struct {
        const wchar_t* product;
        bool visible;
    } cases[] = {
        {L"Microsoft Windows 2000", false},
        {L"microsoft WINDOWS 2000 Professional", false},
        {L"Microsoft Windows XP", true},
        {L"Windows 7 Ultimate", true},
    };
    for (const auto& c : cases) {
        product.Set(c.product);
        TestUtil::LiveForm live;
        EXPECT_EQ(live.form.menus.IsVisible(L"mnuConfig"), c.visible) << c.product;
    }
}

TEST_F(Form1Test, CloseDuringTheFirstLoadLeavesTheBackupQuestionForTheNextStart) {
    {
        Form1 form;
        form.quitOnDestroy = false;
        ASSERT_TRUE(form.Create());
        bool posted = false;
        form.onDispatchStep = [&](const wchar_t*) {
            if (!posted) PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
            posted = true;
        };
        form.Form_Load();
        // Closed once the load had returned.
        EXPECT_TRUE(TestUtil::PumpUntil([&form] { return form.hwnd() == nullptr; }));
    }
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(Setting(L"Backup"), L"Error");
    EXPECT_EQ(Setting(L"State"), L"0");
    { TestUtil::LiveForm next; }
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].caption, L"First Run Backup Warning");
}

} // namespace
