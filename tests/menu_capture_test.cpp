// The main window's menus as a user sees them: each Action menu (and the other popups) is
// popped up with TrackPopupMenu in a real window, captured from the screen, kept as a
// reference image (C:\corvell\captures, and the build tree's captures folder), and checked
// by measurable properties: the side bar's width and gradient, icons at the left, hot-key
// text at the right.
#include "TestSeam.h"
#include "TestUtil.h"
#include "menus/EngineGdi.h"
#include "menus/modMenus.h"
#include "system/App.h"
#include "system/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <set>
#include <vector>

namespace {

constexpr COLORREF kBarBlue = 16742144;

struct Capture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // row by row, as COLORREF
    [[nodiscard]] COLORREF At(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? CLR_INVALID : pixels[static_cast<size_t>(y * width + x)];
    }
};

Capture& Taken() {
    static Capture c;
    return c;
}

Capture Grab(HWND popup) {
    Capture c;
    RECT r{};
    GetWindowRect(popup, &r);
    c.width = r.right - r.left;
    c.height = r.bottom - r.top;
    if (c.width <= 0 || c.height <= 0) return c;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = c.width;
    bi.bmiHeader.biHeight = -c.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    UniqueHdc mem(CreateCompatibleDC(screen));
    UniqueHbitmap bmp(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(mem.get(), bmp.get());
    BitBlt(mem.get(), 0, 0, c.width, c.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(mem.get(), old);
    ReleaseDC(nullptr, screen);
    const auto* p = static_cast<const DWORD*>(bits);
    for (int i = 0; i < c.width * c.height; ++i) {
        const DWORD v = p[i];
        c.pixels.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    }
    return c;
}

HWND ShownPopup() {
    HWND found = nullptr;
    for (HWND h = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); h;
         h = FindWindowExW(nullptr, h, L"#32768", nullptr))
        if (IsWindowVisible(h)) found = h;
    return found;
}

int ticks = 0;
int keyDowns = 0;      // Down-arrow presses given to the popup once it is idle
bool repaint = false;  // the idle popup painted again, as when a window that covered it goes away
void CALLBACK CaptureAndClose(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    // A few ticks first, so the popup has been drawn and the menu has gone idle.
    ++ticks;
    const bool act = keyDowns > 0 || repaint;
    if (ticks == 3 && act) {
        if (HWND popup = ShownPopup()) {
            for (int i = 0; i < keyDowns; ++i) PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
            if (repaint) RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        }
        return;
    }
    if (ticks < (act ? 6 : 3)) return;
    if (HWND popup = ShownPopup()) Taken() = Grab(popup);
    KillTimer(hwnd, id);
    EndMenu();
}

Capture PopUp(HWND owner, HMENU menu, UINT tickMs = 150, int downs = 0, bool paintAgain = false) {
    Taken() = Capture{};
    ticks = 0;
    keyDowns = downs;
    repaint = paintAgain;
    SetForegroundWindow(owner);
    SetTimer(owner, 0x4D45, tickMs, &CaptureAndClose);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 40, 40, 0, owner, nullptr);
    KillTimer(owner, 0x4D45);
    TestUtil::Pump(20);
    return Taken();
}

// Keys given one per tick to the open menu, then the topmost popup (a submenu when one opened) captured.
std::vector<WPARAM> keysToGive;
size_t keysGiven = 0;
void CALLBACK GiveKeysThenCapture(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    HWND top = FindWindowExW(nullptr, nullptr, L"#32768", nullptr);
    while (top && !IsWindowVisible(top)) top = FindWindowExW(nullptr, top, L"#32768", nullptr);
    if (++ticks < 3) return;
    if (keysGiven < keysToGive.size()) {
        // The menu loop reads its keys from the thread's queue, whichever window they are for.
        PostMessageW(top ? top : hwnd, WM_KEYDOWN, keysToGive[keysGiven++], 0);
        return;
    }
    if (ticks < static_cast<int>(keysToGive.size()) + 6) return;
    if (top) Taken() = Grab(top);
    KillTimer(hwnd, id);
    EndMenu();
}

// Arms the timer that gives the keys from inside the menu loop and then captures.
void ArmKeys(HWND owner, std::vector<WPARAM> keys) {
    Taken() = Capture{};
    ticks = 0;
    keysToGive = std::move(keys);
    keysGiven = 0;
    SetForegroundWindow(owner);
    SetTimer(owner, 0x4D46, 150, &GiveKeysThenCapture);
}

Capture PopUpWithKeys(HWND owner, HMENU menu, std::vector<WPARAM> keys) {
    ArmKeys(owner, std::move(keys));
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 40, 40, 0, owner, nullptr);
    KillTimer(owner, 0x4D46);
    TestUtil::Pump(20);
    return Taken();
}

// The same through the window's menu bar, entered from the keyboard as F10 does.
Capture MenuBarWithKeys(HWND owner, std::vector<WPARAM> keys) {
    ArmKeys(owner, std::move(keys));
    SendMessageW(owner, WM_SYSCOMMAND, SC_KEYMENU, 0);
    KillTimer(owner, 0x4D46);
    TestUtil::Pump(20);
    return Taken();
}

// Writes a capture as a 24-bit BMP.
void SaveBmp(const Capture& c, const std::wstring& path) {
    const int stride = (c.width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof(ih);
    ih.biWidth = c.width;
    ih.biHeight = c.height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = static_cast<DWORD>(stride * c.height);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::string out;
    out.append(reinterpret_cast<const char*>(&fh), sizeof(fh));
    out.append(reinterpret_cast<const char*>(&ih), sizeof(ih));
    std::vector<unsigned char> row(static_cast<size_t>(stride));
    for (int y = c.height - 1; y >= 0; --y) {
        for (int x = 0; x < c.width; ++x) {
            const COLORREF p = c.At(x, y);
            row[static_cast<size_t>(x * 3)] = GetBValue(p);
            row[static_cast<size_t>(x * 3 + 1)] = GetGValue(p);
            row[static_cast<size_t>(x * 3 + 2)] = GetRValue(p);
        }
        out.append(reinterpret_cast<const char*>(row.data()), static_cast<size_t>(stride));
    }
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

// The build tree's captures folder, found through the test's own prefix (…/prefixes/<test>).
std::wstring BuildCaptures() {
    wchar_t prefix[1024] = {};
    const DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
    if (n == 0 || n >= 1024) return L"";
    std::wstring p(prefix);
    const size_t at = p.rfind(L"/prefixes/");
    if (at == std::wstring::npos) return L"";
    std::wstring folder = L"Z:" + p.substr(0, at) + L"/captures";
    for (auto& ch : folder)
        if (ch == L'/') ch = L'\\';
    return folder;
}

// Set in the copy of this program that runs at 144 DPI; its captures carry it in their names.
constexpr wchar_t kDpiRunVariable[] = L"CORVELL_MENU_DPI_RUN";

std::wstring CaptureSuffix() {
    wchar_t value[16] = {};
    return GetEnvironmentVariableW(kDpiRunVariable, value, 16) ? std::wstring(L"-") + value : L"";
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

void Keep(const Capture& c, const std::wstring& plainName) {
    const std::wstring name = plainName + CaptureSuffix();
    const std::wstring local = TestUtil::ProgramFolder() + L"\\captures";
    CreateDirectoryW(local.c_str(), nullptr);
    SaveBmp(c, local + L"\\" + name + L".bmp");
    const std::wstring build = BuildCaptures();
    if (!build.empty()) {
        CreateDirectoryW(build.c_str(), nullptr);
        CopyFileW((local + L"\\" + name + L".bmp").c_str(), (build + L"\\" + name + L".bmp").c_str(), FALSE);
    }
}

// The first column of the popup's side bar on a row near its top, and how wide it is.
bool FindSideBar(const Capture& c, int& left, int& width) {
    const int y = 5;
    for (int x = 0; x < c.width / 2; ++x) {
        if (c.At(x, y) != kBarBlue) continue;
        left = x;
        width = 0;
        while (c.At(x + width, y) == kBarBlue) ++width;
        return true;
    }
    return false;
}

struct Look {
    bool sideBar = false;
    int sideBarLeft = 0, sideBarWidth = 0;
    int gradientShades = 0;      // distinct colours down the side bar's edge column
    bool darkensDownwards = true;
    int captionPixels = 0;       // white pixels of the turned caption
    int iconRows = 0;            // rows with non-menu pixels in the icon column
    int textPixels = 0;          // pixels of the menu-text colour right of the icon column
};

Look Measure(const Capture& c) {
    Look look;
    int left = 0, width = 0;
    look.sideBar = FindSideBar(c, left, width);
    int iconLeft = 3 + 4;
    if (look.sideBar) {
        look.sideBarLeft = left;
        look.sideBarWidth = width;
        std::set<COLORREF> shades;
        COLORREF previous = kBarBlue;
        int top = 0;
        while (top < c.height && c.At(left, top) != kBarBlue) ++top;
        int bottom = top;
        while (bottom < c.height - 1 && GetRValue(c.At(left, bottom + 1)) == 0 && GetBValue(c.At(left, bottom + 1)) > 0)
            ++bottom;
        for (int y = top; y < bottom; ++y) {
            const COLORREF p = c.At(left, y);
            shades.insert(p);
            if (GetBValue(p) > GetBValue(previous)) look.darkensDownwards = false;
            previous = p;
        }
        look.gradientShades = static_cast<int>(shades.size());
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x < left + width; ++x)
                if (c.At(x, y) == RGB(255, 255, 255)) ++look.captionPixels;
        iconLeft = left + width + 3 + 4;
    }
    const COLORREF menu = GetSysColor(COLOR_MENU);
    for (int y = 3; y < c.height - 3; ++y) {
        bool any = false;
        for (int x = iconLeft; x < iconLeft + 16; ++x)
            if (c.At(x, y) != menu) any = true;
        if (any) ++look.iconRows;
        for (int x = iconLeft + 18; x < c.width - 3; ++x)
            if (c.At(x, y) == GetSysColor(COLOR_MENUTEXT)) ++look.textPixels;
    }
    return look;
}

class MenuCaptureTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
    }
    TestSeam seam;
};

TEST_F(MenuCaptureTest, EveryPopupOfTheMainWindowIsDrawnByTheEngine) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    ASSERT_NE(form.hwnd(), nullptr);
    ASSERT_NE(modMenus::EngineOf(form.hwnd()), nullptr);
    // The menu pictures are made for the screen: 16 pixels at 96 DPI, 24 at 144.
    EXPECT_EQ(modMenus::EngineOf(form.hwnd())->IconSize(), std::max(16, MulDiv(16, ScreenDpi(), 96)));
    // The services menu shows its start and stop entries as a selected running service would.
    form.menus.SetVisible(L"mnuStop", true);
    form.menus.SetVisible(L"mnuStart", true);

    const struct {
        const wchar_t* popup;
        const wchar_t* capture;  // kept as a reference image when set
        bool sideBar;
    } menus[] = {
        {L"mnuPopup", L"services-action", true},   {L"mnuPopup2", L"registry-action", true},
        {L"mnuPopup3", L"folder-action", true},    {L"mnuPopup4", nullptr, false},
        {L"mnuPopup5", nullptr, false},            {L"mnuPopup6", nullptr, false},
        {L"mnuPopup7", nullptr, false},            {L"mnuPopup8", nullptr, false},
        {L"mnuPopup9", nullptr, false},            {L"mnuFile", nullptr, true},
        {L"mnuUtilities", L"utilities", true},     {L"mnuHelp", nullptr, true},
        {L"mnuChange", nullptr, true},             {L"MnuRegedit", L"registry-editor", true},
        {L"mnuOpen", nullptr, true},
    };
    for (const auto& m : menus) {
        SCOPED_TRACE(m.popup);
        HMENU popup = form.menus.Popup(m.popup);
        ASSERT_NE(popup, nullptr);
        const Capture c = PopUp(form.hwnd(), popup);
        ASSERT_GT(c.width, 20);
        ASSERT_GT(c.height, 10);
        if (m.capture) Keep(c, m.capture);
        const Look look = Measure(c);
        EXPECT_EQ(look.sideBar, m.sideBar);
        if (m.sideBar) {
            EXPECT_EQ(look.sideBarWidth, 32);
            EXPECT_TRUE(look.darkensDownwards);
            // A tall menu's bar darkens over many rows; a one-entry menu's over a few.
            EXPECT_GE(look.gradientShades, c.height > 100 ? 20 : 2);
            EXPECT_GT(look.captionPixels, 3);
        }
        // Every one of these menus' entries names an icon.
        EXPECT_GT(look.iconRows, 8);
        EXPECT_GT(look.textPixels, 20);
    }
}

TEST_F(MenuCaptureTest, HotKeysChecksAndTitledSeparatorsInARealPopup) {
    TestUtil::LiveForm live;
    HWND owner = live.form.hwnd();
    UniqueHmenu popup(CreatePopupMenu());
    const struct {
        UINT id;
        const wchar_t* text;
        UINT state;
    } entries[] = {
        {1, L"{SIDEBAR:TEXT|CAPTION:Sample|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}", 0},
        {2, L"-Section", 0},
        {3, L"{img:16}Save\tCtrl+S", 0},
        {4, L"{img:4}Find Next F3", 0},
        {5, L"Checked entry", MFS_CHECKED},
        {6, L"-", 0},
        {7, L"{img:18}Remove del", MFS_GRAYED},
    };
    for (const auto& e : entries) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
        mii.wID = e.id;
        mii.fState = e.state;
        mii.dwTypeData = const_cast<wchar_t*>(e.text);
        InsertMenuItemW(popup.get(), e.id, TRUE, &mii);
    }
    const Capture c = PopUp(owner, popup.get());
    ASSERT_GT(c.width, 20);
    Keep(c, L"hot-keys-and-checks");
    const Look look = Measure(c);
    ASSERT_TRUE(look.sideBar);
    EXPECT_EQ(look.sideBarWidth, 32);

    // Hot-key texts stand in their own column at the right: text pixels in the right third,
    // and an empty gap between the widest caption and that column.
    const clsMyMenu* engine = modMenus::EngineOf(owner);
    ASSERT_NE(engine, nullptr);
    const MenuPanelRecord* panel = engine->PanelOf(popup.get());
    ASSERT_NE(panel, nullptr);
    const int captionX = look.sideBarLeft + 32 + 3 + panel->TextLeft + 5;
    const int hotKeyX = captionX + panel->HotKeyEdge;
    int hot = 0, gap = 0;
    for (int y = 0; y < c.height; ++y) {
        for (int x = hotKeyX; x < c.width - 3; ++x)
            if (c.At(x, y) == GetSysColor(COLOR_MENUTEXT)) ++hot;
        for (int x = hotKeyX - 10; x < hotKeyX - 2; ++x)
            if (c.At(x, y) == GetSysColor(COLOR_MENUTEXT)) ++gap;
    }
    EXPECT_GT(hot, 20);
    EXPECT_EQ(gap, 0);
    // The titled separator's title is drawn in the highlight colour.
    int title = 0;
    for (int y = 3; y < 3 + engine->ItemOf(2, popup.get())->ItemHeight; ++y)
        for (int x = captionX - 20; x < c.width - 3; ++x)
            if (c.At(x, y) == GetSysColor(COLOR_HIGHLIGHT)) ++title;
    EXPECT_GT(title, 10);

    // The checked entry's mark is as large as the menu pictures are (7 by 6 pixels at 16).
    const int iconSize = engine->IconSize();
    int checkTop = 3;
    for (UINT id = 1; id < 5; ++id) checkTop += engine->ItemOf(id, popup.get())->ItemHeight;
    const int checkBottom = checkTop + engine->ItemOf(5, popup.get())->ItemHeight;
    int markLeft = c.width, markRight = -1, markTop = c.height, markBottom = -1;
    for (int y = checkTop; y < checkBottom; ++y)
        for (int x = look.sideBarLeft + 32 + 3; x < captionX - 5; ++x) {
            if (c.At(x, y) != GetSysColor(COLOR_MENUTEXT)) continue;
            markLeft = std::min(markLeft, x);
            markRight = std::max(markRight, x);
            markTop = std::min(markTop, y);
            markBottom = std::max(markBottom, y);
        }
    EXPECT_GE(markRight - markLeft + 1, MulDiv(7, iconSize, 16) - 1);
    EXPECT_GE(markBottom - markTop + 1, MulDiv(6, iconSize, 16) - 1);
}

TEST_F(MenuCaptureTest, MovingTheSelectionKeepsEveryIcon) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    HMENU popup = form.menus.Popup(L"mnuPopup2");
    const Capture still = PopUp(form.hwnd(), popup);
    const Capture moved = PopUp(form.hwnd(), popup, 150, 2);
    ASSERT_GT(moved.width, 20);
    Keep(moved, L"registry-action-selected");
    // The second entry carries the selection bar; the icons drawn when the popup opened stay
    // (the selected entry's raised icon frame may add a row).
    int highlighted = 0;
    for (int y = 0; y < moved.height; ++y)
        if (moved.At(moved.width - 6, y) == GetSysColor(COLOR_HIGHLIGHT)) ++highlighted;
    EXPECT_GT(highlighted, 10);
    EXPECT_GE(Measure(moved).iconRows, Measure(still).iconRows);
    EXPECT_LE(Measure(moved).iconRows, Measure(still).iconRows + 2);
    EXPECT_TRUE(Measure(moved).sideBar);
}

TEST_F(MenuCaptureTest, AnIdlePopupPaintedAgainLooksAsItDidWhenItOpened) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    for (const wchar_t* name : {L"mnuPopup2", L"mnuUtilities"}) {
        SCOPED_TRACE(name);
        HMENU popup = form.menus.Popup(name);
        const Capture opened = PopUp(form.hwnd(), popup);
        const Capture again = PopUp(form.hwnd(), popup, 150, 0, true);
        ASSERT_GT(again.width, 20);
        ASSERT_EQ(again.width, opened.width);
        ASSERT_EQ(again.height, opened.height);
        int differing = 0;
        for (size_t i = 0; i < opened.pixels.size(); ++i)
            if (opened.pixels[i] != again.pixels[i]) ++differing;
        EXPECT_EQ(differing, 0);
        const Look look = Measure(again);
        EXPECT_TRUE(look.sideBar);
        EXPECT_EQ(look.iconRows, Measure(opened).iconRows);
        if (differing) Keep(again, std::wstring(name) + L"-painted-again");
    }
}

TEST_F(MenuCaptureTest, ASubmenuOpenedFromItsEntryIsDrawnWithItsOwnSideBar) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    // Down to "Change Setting" (the separator is passed over), open it, back, and open it again.
    for (const auto& keys : {std::vector<WPARAM>{VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT},
                             std::vector<WPARAM>{VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_UP, VK_DOWN, VK_RIGHT}}) {
        SCOPED_TRACE(keys.size());
        const Capture sub = PopUpWithKeys(form.hwnd(), form.menus.Popup(L"mnuPopup"), keys);
        ASSERT_GT(sub.width, 20);
        const clsMyMenu* engine = modMenus::EngineOf(form.hwnd());
        const MenuPanelRecord* panel = engine->PanelOf(form.menus.Popup(L"mnuChange"));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(sub.height, panel->PanelHeight + 6);  // the submenu itself, at its measured height
        const Look look = Measure(sub);
        EXPECT_TRUE(look.sideBar);
        EXPECT_EQ(look.sideBarWidth, 32);
        EXPECT_GT(look.captionPixels, 3);
        EXPECT_GT(look.iconRows, 8);
        if (keys.size() > 4) Keep(sub, L"change-setting-submenu");
    }
}

TEST_F(MenuCaptureTest, MovingAlongTheMenuBarAndBackShowsTheMenuAsFirstOpened) {
    // One startup listed, so the bar's Action menu is the registry one with all its entries.
    const std::wstring run = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    TestUtil::PutString(HKEY_CURRENT_USER, run, L"CaptureApp", L"C:\\Tools\\capture.exe");
    TestUtil::LiveForm live;
    RegDeleteKeyValueW(HKEY_CURRENT_USER, run.c_str(), L"CaptureApp");
    Form1& form = live.form;
    HMENU bar = GetMenu(form.hwnd());
    ASSERT_NE(bar, nullptr);
    HMENU second = GetSubMenu(bar, 1);
    ASSERT_NE(second, nullptr);
    // The first menu opened, then the next one, the one after it, and back to the second.
    const Capture first = MenuBarWithKeys(form.hwnd(), {VK_DOWN, VK_RIGHT});
    const Capture again = MenuBarWithKeys(form.hwnd(), {VK_DOWN, VK_RIGHT, VK_RIGHT, VK_LEFT});
    ASSERT_GT(first.width, 20);
    const MenuPanelRecord* panel = modMenus::EngineOf(form.hwnd())->PanelOf(second);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(first.height, panel->PanelHeight + 6);
    EXPECT_EQ(again.width, first.width);
    EXPECT_EQ(again.height, first.height);
    const Look look = Measure(again);
    EXPECT_TRUE(look.sideBar);
    EXPECT_GT(look.iconRows, 8);
}

TEST_F(MenuCaptureTest, TheSameMenusAt144Dpi) {
    wchar_t value[16] = {};
    if (GetEnvironmentVariableW(kDpiRunVariable, value, 16)) GTEST_SKIP() << "already the 144 DPI run";
    // The screen's DPI is read when a program starts: run the drawing tests again in a copy
    // of this program started after the setting is changed.
    const std::wstring desktop = L"Control Panel\\Desktop";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, desktop.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    UniqueHkey desktopKey(key);
    const DWORD dpi = 144;
    ASSERT_EQ(RegSetValueExW(desktopKey.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                             sizeof(dpi)),
              ERROR_SUCCESS);
    SetEnvironmentVariableW(kDpiRunVariable, L"144");
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_filter=MenuCaptureTest.EveryPopup*:MenuCaptureTest.HotKeys*";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        TestUtil::ProgramFolder().c_str(), &si, &pi);
    SetEnvironmentVariableW(kDpiRunVariable, nullptr);
    DWORD exitCode = 1;
    if (started) {
        CloseHandle(pi.hThread);
        UniqueHandle process(pi.hProcess);
        WaitForSingleObject(process.get(), 120000);
        GetExitCodeProcess(process.get(), &exitCode);
    }
    RegDeleteValueW(desktopKey.get(), L"LogPixels");
    ASSERT_TRUE(started);
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(MenuCaptureTest, OpeningEveryMenuAgainAndAgainLeavesNoGdiObjects) {
    TestUtil::LiveForm live;
    Form1& form = live.form;
    const wchar_t* names[] = {L"mnuPopup", L"mnuPopup2", L"mnuPopup3", L"mnuUtilities", L"mnuHelp", L"mnuFile"};
    for (const wchar_t* n : names) PopUp(form.hwnd(), form.menus.Popup(n), 40);
    const long settled = EngineGdi::LiveObjects();
    for (int round = 0; round < 8; ++round) {
        // Entries shown and hidden between loops change the popups' heights.
        form.menus.SetVisible(L"mnuStart", round % 2 == 0);
        form.menus.SetVisible(L"mnuEnable", round % 2 == 1);
        for (const wchar_t* n : names) PopUp(form.hwnd(), form.menus.Popup(n), 40);
    }
    form.menus.SetVisible(L"mnuStart", false);
    form.menus.SetVisible(L"mnuEnable", false);
    for (const wchar_t* n : names) PopUp(form.hwnd(), form.menus.Popup(n), 40);
    EXPECT_EQ(EngineGdi::LiveObjects(), settled);
}

} // namespace
