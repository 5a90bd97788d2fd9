// The owner-drawn menu engine: caption mark-up, side-bar fields, item and panel records,
// the subclassing and its pass-through, and the drawing of items into a memory DC.
#include "TestUtil.h"
#include "menus/EngineGdi.h"
#include "menus/modDrawing.h"
#include "menus/modMenus.h"
#include "resources/Images.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using modMenus::Module;

// ---------------------------------------------------------------- a window to subclass
std::vector<UINT>& Seen() {
    static std::vector<UINT> seen;
    return seen;
}
std::vector<LPARAM>& SeenParams() {
    static std::vector<LPARAM> params;
    return params;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Seen().push_back(msg);
    SeenParams().push_back(lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MenuEngineTestWindow";
        registered = RegisterClassExW(&wc) != 0;
    }
    return CreateWindowExW(0, L"MenuEngineTestWindow", L"menu test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool Reached(UINT msg) {
    for (UINT m : Seen())
        if (m == msg) return true;
    return false;
}

void Add(HMENU menu, UINT id, const std::wstring& text, UINT state = 0) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
    mii.wID = id;
    mii.fType = MFT_STRING;
    mii.fState = state;
    mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mii);
}

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 255, MF_BYPOSITION);
    return text;
}

UINT ItemType(HMENU menu, int position) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii);
    return mii.fType;
}

constexpr wchar_t kServicesBar[] =
    L"{SIDEBAR:TEXT|CAPTION:Services|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}";
constexpr COLORREF kBarBlue = 16742144;

// ---------------------------------------------------------------- caption mark-up
TEST(CaptionMarkup, ParseItemCaptionSplitsIconHotKeyAndCaption) {
    const struct {
        const wchar_t* in;
        const wchar_t* caption;
        int icon;
        int mark;
        const wchar_t* hotKey;
    } cases[] = {
        {L"{img:19}Exit", L"Exit", 19, 0, L""},
        {L"{IMG:5|Y}x", L"x", 5, 1, L""},
        {L"{Img:7|N}Run", L"Run", 7, 2, L""},
        {L"{img:0}Zero", L"Zero", 0, 0, L""},
        {L"{img:28|Y}Too far", L"Too far", 0, 0, L""},       // beyond the 27 images: no icon, no mark
        {L"{img:3 Broken", L"{img:3 Broken", 0, 0, L""},      // no "}": left as it is
        {L"Open\tCtrl+O", L"Open", 0, 0, L"Ctrl+O"},
        {L"Copy  Tab\tShift+Ctrl+C", L"Copy  Tab", 0, 0, L"Shift+Ctrl+C"},  // a Tab wins over CTRL+
        {L"Save ctrl+S", L"Save", 0, 0, L"ctrl+S"},
        {L"Paste SHIFT+INS", L"Paste", 0, 0, L"SHIFT+INS"},
        {L"Close Alt+F4", L"Close", 0, 0, L"Alt+F4"},
        {L"Find Next F3", L"Find Next", 0, 0, L"F3"},
        {L"Big Key F12", L"Big Key", 0, 0, L"F12"},
        {L"Remove del", L"Remove", 0, 0, L"del"},
        {L"Top Home", L"Top", 0, 0, L"Home"},
        {L"Page PgDn", L"Page", 0, 0, L"PgDn"},
        {L"{img:4}Find Target F3", L"Find Target", 4, 0, L"F3"},
        {L"Model", L"Model", 0, 0, L""},                     // "DEL" only counts after a blank
        {L"-", L"-", 0, 0, L""},
        {L"-Section", L"-Section", 0, 0, L""},
        {L"", L"", 0, 0, L""},
    };
    for (const auto& c : cases) {
        const auto parsed = modMenus::ParseItemCaption(c.in, 27);
        EXPECT_EQ(parsed.caption, c.caption) << c.in;
        EXPECT_EQ(parsed.icon, c.icon) << c.in;
        EXPECT_EQ(parsed.mark, c.mark) << c.in;
        EXPECT_EQ(parsed.hotKey, c.hotKey) << c.in;
    }
}

TEST(CaptionMarkup, SideBarFieldsAndTheirDefaults) {
    const auto full = modMenus::ParseSideBar(kServicesBar, false);
    EXPECT_EQ(full.source, L"TEXT");
    EXPECT_EQ(full.caption, L"Services");
    EXPECT_EQ(full.face, L"Arial");
    EXPECT_EQ(full.size, 12);
    EXPECT_EQ(full.foreColor, 16777215);
    EXPECT_EQ(full.backColor, 16742144);
    EXPECT_TRUE(full.gradient);
    EXPECT_EQ(full.width, 32);

    const auto bare = modMenus::ParseSideBar(L"{SIDEBAR:TEXT}", false);
    EXPECT_EQ(bare.width, 32);
    EXPECT_EQ(bare.caption, L"");
    EXPECT_EQ(bare.face, L"Arial");
    EXPECT_EQ(bare.size, 12);
    EXPECT_EQ(bare.backColor, -1);  // the menu colour
    EXPECT_FALSE(bare.gradient);
    EXPECT_EQ(bare.foreColor, 0);
    EXPECT_FALSE(bare.underline);

    const struct {
        const wchar_t* text;
        int size;
        LONG back;
        LONG fore;
        const wchar_t* face;
        int width;
    } cases[] = {
        {L"{SIDEBAR:TEXT|FSIZE:3}", 12, -1, 0, L"Arial", 32},
        {L"{SIDEBAR:TEXT|FSIZE:4}", 4, -1, 0, L"Arial", 32},
        {L"{SIDEBAR:TEXT|FSIZE:24}", 24, -1, 0, L"Arial", 32},
        {L"{SIDEBAR:TEXT|FSIZE:25}", 24, -1, 0, L"Arial", 32},
        {L"{SIDEBAR:TEXT|BCOLOR:NONE}", 12, -1, 0, L"Arial", 32},
        {L"{SIDEBAR:TEXT|BCOLOR:BACK}", 12, -1, 0, L"Arial", 32},
        {L"{SIDEBAR:TEXT|bcolor:255|fcolor:-5}", 12, 255, 0, L"Arial", 32},
        {L"{SIDEBAR:TEXT|WIDTH:40px|FONT:Tahoma|BOLD|ITALIC}", 12, -1, 0, L"Tahoma Bold Italic", 40},
        {L"{SIDEBAR:TEXT|FONT:An Extremely Long Font Face Name Beyond|BOLD}", 12, -1, 0,
         L"An Extremely Long Font Face Nam", 32},
    };
    for (const auto& c : cases) {
        const auto s = modMenus::ParseSideBar(c.text, false);
        EXPECT_EQ(s.size, c.size) << c.text;
        EXPECT_EQ(s.backColor, c.back) << c.text;
        EXPECT_EQ(s.foreColor, c.fore) << c.text;
        EXPECT_EQ(s.face, c.face) << c.text;
        EXPECT_EQ(s.width, c.width) << c.text;
    }
    EXPECT_EQ(modMenus::ParseSideBar(L"{SIDEBAR:Picture1|BCOLOR:BACK}", true).backColor, -2);
    EXPECT_TRUE(modMenus::ParseSideBar(L"{SIDEBAR:TEXT|UNDERLINE}", false).underline);
}

TEST(CaptionMarkup, HotKeyIsCutAtItsStoredPosition) {
    // "Go to F1 page F1": the hot key "F1" also occurs inside the caption.
    const auto parsed = modMenus::ParseItemCaption(L"Go to F1 page F1", 0);
    EXPECT_EQ(parsed.caption, L"Go to F1 page");
    EXPECT_EQ(parsed.hotKey, L"F1");
    const std::wstring stored = parsed.caption + L" " + parsed.hotKey;
    const auto [caption, hotKey] = modDrawing::SplitHotKey(stored, static_cast<int>(parsed.caption.size()) + 1);
    EXPECT_EQ(caption, L"Go to F1 page ");
    EXPECT_EQ(hotKey, L" F1");
    EXPECT_EQ(modDrawing::SplitHotKey(L"Plain", 0).first, L"Plain");
}

TEST(CaptionMarkup, HalvesOfThirtyTwoBitValues) {
    EXPECT_EQ(modMenus::MakeLong(40, 300), (300 << 16) | 40);
    EXPECT_EQ(modMenus::LoWord(modMenus::MakeLong(-3, 7)), -3);
    EXPECT_EQ(modMenus::HiWord(modMenus::MakeLong(-3, 7)), 7);
    EXPECT_EQ(modMenus::HiWord(static_cast<int32_t>(0xFFFF0001u)), -1);
}

TEST(WindowsVersion, OnlyWindows98GetsTheOffset) {
    // Windows 2000, NT 4.0 and XP set it back to 0; "1.4.0" and others leave it as it was.
    const struct {
        const wchar_t* text;
        int offsetAfter;
    } cases[] = {{L"1.4.10", 32}, {L"1.4.0", 32}, {L"2.6.1", 32}, {L"2.5.1", 0}, {L"1.4.10", 32},
                 {L"2.5.0", 0},   {L"1.4.10", 32}, {L"2.4.0", 0}, {L"1.4.90", 0}};
    for (const auto& c : cases) {
        modMenus::ApplyWindowsVersion(c.text, nullptr);
        EXPECT_EQ(Module().MenuVersionOffset, c.offsetAfter) << c.text;
    }
}

// ---------------------------------------------------------------- records
TEST(MenuRecords, SetMenuIdCreatesOnlyWhenAskedAndKeysByMenu) {
    clsMyMenu engine;
    HMENU a = reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x1234));
    HMENU b = reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x7FFF00001234LL));  // same low half as a
    EXPECT_FALSE(engine.SetMenuID(3, a, false, false));
    EXPECT_EQ(engine.MenuIDcount(), 0);
    EXPECT_EQ(engine.PanelIDcount(), 0);
    EXPECT_TRUE(engine.SetMenuID(3, a, false, true));
    EXPECT_EQ(engine.MenuIDcount(), 1);
    EXPECT_EQ(engine.PanelIDcount(), 1);
    EXPECT_FALSE(engine.SetMenuID(3, a, false, true));  // known: found, nothing created
    EXPECT_TRUE(engine.SetMenuID(3, a, false, false));
    EXPECT_TRUE(engine.SetMenuID(3, b, false, true));   // same id, other popup: its own record
    EXPECT_EQ(engine.MenuIDcount(), 2);
    EXPECT_EQ(engine.PanelIDcount(), 2);
    engine.SetCaption(L"in b");
    ASSERT_TRUE(engine.SetMenuID(3, a, false, false));
    EXPECT_EQ(engine.Caption(), L"");
    EXPECT_TRUE(engine.SetMenuID(4, a, false, true));
    EXPECT_EQ(engine.PanelIDcount(), 2);  // a known popup gets no second panel

    PanelValues v;
    v.PanelWidth = 120;
    v.PanelHeight = 80;
    v.SideBarWidth = 32;
    engine.UpdatePanelID(v, false);
    PanelValues back;
    engine.GetPanelInformation(back);
    EXPECT_EQ(back.PanelWidth, 136);  // the width plus 16
    EXPECT_EQ(back.PanelHeight, 80);
    EXPECT_EQ(back.SideBarWidth, 32);
    v.SideBarWidth = 50;
    engine.UpdatePanelID(v, true);  // keeps the side bar
    engine.GetPanelInformation(back);
    EXPECT_EQ(back.SideBarWidth, 32);

    EXPECT_FALSE(engine.GetSetMDIchildSysMenu(a, false));
    EXPECT_FALSE(engine.GetSetMDIchildSysMenu(a, true));
    EXPECT_TRUE(engine.GetSetMDIchildSysMenu(a, false));
    engine.PurgeObsoleteMenus(a);
    EXPECT_EQ(engine.MenuIDcount(), 1);
    EXPECT_EQ(engine.PanelIDcount(), 1);
    EXPECT_FALSE(engine.GetSetMDIchildSysMenu(a, false));
    EXPECT_TRUE(engine.SetMenuID(3, b, false, false));
    EXPECT_EQ(engine.Caption(), L"in b");
}

TEST(MenuRecords, ReleaseDeletesTextSideBarFontsButNotPictures) {
    const long before = EngineGdi::LiveObjects();
    HBITMAP picture = CreateBitmap(8, 8, 1, 32, nullptr);
    {
        clsMyMenu engine;
        HMENU text = reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x100));
        HMENU pic = reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x200));
        LOGFONTW lf{};
        lf.lfHeight = -12;
        PanelValues v;
        engine.SetMenuID(1, text, false, true);
        v.flags = kSideBarText;
        v.SideBarFont.reset(EngineGdi::Counted(CreateFontIndirectW(&lf)));
        v.SideBarItem = reinterpret_cast<LONG_PTR>(v.SideBarFont.get());
        engine.UpdatePanelID(v, false);
        engine.SetMenuID(1, pic, false, true);
        v.flags = kSideBarPicture | kSideBarBitmap;
        v.SideBarItem = reinterpret_cast<LONG_PTR>(picture);
        engine.UpdatePanelID(v, false);
        EXPECT_EQ(EngineGdi::LiveObjects(), before + 1);
    }
    EXPECT_EQ(EngineGdi::LiveObjects(), before);
    BITMAP bm{};
    EXPECT_EQ(GetObjectW(picture, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));  // still a live bitmap
    DeleteObject(picture);
}

// ---------------------------------------------------------------- set-up and window procedure
class MenuEngineTest : public testing::Test {
protected:
    void SetUp() override {
        images.reset(Images::CreateMenuImages());
        window = MakeWindow();
        ASSERT_NE(window, nullptr);
        modMenus::SetupMenus(window, images.get());
        Seen().clear();
        SeenParams().clear();
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
        for (HMENU m : menus) DestroyMenu(m);
    }
    HMENU NewPopup() {
        HMENU m = CreatePopupMenu();
        menus.push_back(m);
        return m;
    }
    // A popup as the main window's menus look: side bar, icons, separators, hot keys.
    HMENU SamplePopup() {
        HMENU m = NewPopup();
        Add(m, 100, kServicesBar);
        Add(m, 101, L"{img:4}Find Target");
        Add(m, 102, L"{img:19}Exit\tCtrl+X");
        Add(m, 103, L"-");
        Add(m, 104, L"-Section");
        Add(m, 105, L"Plain entry");
        Add(m, 106, L"{img:7}Run");
        return m;
    }
    void Open(HMENU m) {
        SendMessageW(window, WM_ENTERMENULOOP, FALSE, 0);
        SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m), 0);
    }
    void Close() { SendMessageW(window, WM_EXITMENULOOP, FALSE, 0); }
    clsMyMenu& Engine() { return *modMenus::EngineOf(window); }

    UniqueImageList images;
    HWND window = nullptr;
    std::vector<HMENU> menus;
};

TEST_F(MenuEngineTest, SetupTwiceSubclassesOnceAndNcDestroyRemovesTheEngine) {
    clsMyMenu* first = modMenus::EngineOf(window);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)), &modMenus::MenuWindowProc);
    EXPECT_EQ(first->OldWinProc, &RecordingProc);
    modMenus::SetupMenus(window, images.get());
    EXPECT_EQ(modMenus::EngineOf(window), first);
    EXPECT_EQ(first->OldWinProc, &RecordingProc);  // not its own procedure: no second subclass
    EXPECT_EQ(first->ParentForm, window);
    EXPECT_EQ(first->TotalIcons(), 27);

    // A child control is not a form: nothing is attached to it.
    HWND child = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    modMenus::SetupMenus(child, images.get());
    EXPECT_EQ(modMenus::EngineOf(child), nullptr);

    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"renamed"));
    EXPECT_TRUE(Reached(WM_SETTEXT));
    DestroyWindow(window);
    EXPECT_TRUE(Reached(WM_NCDESTROY));
    EXPECT_EQ(modMenus::EngineOf(window), nullptr);
}

TEST_F(MenuEngineTest, RequestsTheEngineDoesNotOwnReachTheWindowUnchanged) {
    // A list view's owner-drawn item.
    DRAWITEMSTRUCT di{};
    di.CtlType = ODT_LISTVIEW;
    di.itemID = 3;
    SendMessageW(window, WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&di));
    EXPECT_TRUE(Reached(WM_DRAWITEM));
    MEASUREITEMSTRUCT mi{};
    mi.CtlType = ODT_MENU;
    mi.itemID = 9999;  // no such item
    SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
    EXPECT_TRUE(Reached(WM_MEASUREITEM));

    // lParam 0x10000 (the system menu's popup) passes untouched: the popup is not prepared.
    HMENU m = SamplePopup();
    Seen().clear();
    SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m), 0x10000);
    ASSERT_TRUE(Reached(WM_INITMENUPOPUP));
    EXPECT_EQ(SeenParams().back(), 0x10000);
    EXPECT_EQ(ItemType(m, 1) & MFT_OWNERDRAW, 0u);
    SendMessageW(window, WM_USER + 5, 1, 0x10000);
    EXPECT_TRUE(Reached(WM_USER + 5));
    // A popup message without a menu passes on too.
    Seen().clear();
    SendMessageW(window, WM_INITMENUPOPUP, 0, 0);
    EXPECT_TRUE(Reached(WM_INITMENUPOPUP));

    // The engine's own items are consumed: the window never sees their measure requests.
    Open(m);
    Seen().clear();
    mi = MEASUREITEMSTRUCT{};
    mi.CtlType = ODT_MENU;
    mi.itemID = 101;
    EXPECT_EQ(SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)), TRUE);
    EXPECT_FALSE(Reached(WM_MEASUREITEM));
    EXPECT_GT(mi.itemHeight, 0u);
    Close();
}

TEST_F(MenuEngineTest, PreparedItemsAreOwnerDrawnKeepTheirTextAndShareOneWidth) {
    HMENU m = SamplePopup();
    Open(m);
    for (int i = 0; i < GetMenuItemCount(m); ++i) EXPECT_NE(ItemType(m, i) & MFT_OWNERDRAW, 0u) << i;
    EXPECT_NE(ItemType(m, 3) & MFT_SEPARATOR, 0u);
    EXPECT_NE(ItemType(m, 4) & MFT_SEPARATOR, 0u);
    EXPECT_EQ(ItemText(m, 2), L"{img:19}Exit\tCtrl+X");  // the text survives owner-draw

    clsMyMenu& e = Engine();
    const MenuPanelRecord* panel = e.PanelOf(m);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->SideBarWidth, 32);
    EXPECT_EQ(panel->TextLeft, 23);
    EXPECT_EQ(panel->SideBarCaption, L"Services");
    EXPECT_EQ(panel->flags, kSideBarText | kSideBarGradient);
    EXPECT_EQ(static_cast<COLORREF>(panel->SideBarBackColor), kBarBlue);
    EXPECT_EQ(panel->SideBarForeColor, 16777215);
    EXPECT_NE(panel->SideBarItem, 0);

    const MenuItemRecord* bar = e.ItemOf(100, m);
    const MenuItemRecord* exit = e.ItemOf(102, m);
    const MenuItemRecord* sep = e.ItemOf(103, m);
    const MenuItemRecord* titled = e.ItemOf(104, m);
    ASSERT_TRUE(bar && exit && sep && titled);
    EXPECT_EQ(bar->Status, kStatusSideBar);
    EXPECT_EQ(bar->ItemHeight, 0);
    EXPECT_EQ(exit->Caption, L"Exit Ctrl+X");
    EXPECT_EQ(exit->HotKeyPos, 5);
    EXPECT_EQ(exit->Icon, 19);
    EXPECT_EQ(sep->ItemHeight, 5);
    EXPECT_EQ(sep->Status, kStatusSeparator);
    EXPECT_EQ(titled->Caption, L"Section");
    EXPECT_EQ(titled->Status, kStatusSeparator);

    // Heights add up to the panel; every measure request gets the popup's width.
    int total = 0;
    for (UINT id = 100; id <= 106; ++id) {
        MEASUREITEMSTRUCT mi{};
        mi.CtlType = ODT_MENU;
        mi.itemID = id;
        ASSERT_EQ(SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)), TRUE) << id;
        EXPECT_EQ(static_cast<LONG>(mi.itemWidth), panel->PanelWidth) << id;
        EXPECT_EQ(static_cast<int>(mi.itemHeight), e.ItemOf(id, m)->ItemHeight) << id;
        total += static_cast<int>(mi.itemHeight);
    }
    EXPECT_EQ(total, panel->PanelHeight);
    EXPECT_EQ(panel->HotKeyEdge, modMenus::LoWord(e.ItemOf(101, m)->ItemWidth) + 12);
    EXPECT_EQ(panel->PanelWidth, panel->HotKeyEdge + modMenus::HiWord(exit->ItemWidth) + 23 + 32);
    Close();
}

TEST_F(MenuEngineTest, APopupIsPreparedOncePerMenuLoopAndItsWidthStaysRightWhenItShrinks) {
    HMENU m = SamplePopup();
    Open(m);
    const LONG width = Engine().PanelOf(m)->PanelWidth;
    const LONG height = Engine().PanelOf(m)->PanelHeight;
    // Within the loop a second popup message changes nothing.
    ModifyMenuW(m, 5, MF_BYPOSITION | MF_STRING, 105, L"A much much much longer entry than before");
    SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m), 0);
    EXPECT_EQ(Engine().PanelOf(m)->PanelWidth, width);
    Close();
    Open(m);
    EXPECT_GT(Engine().PanelOf(m)->PanelWidth, width);
    Close();

    // Taking an entry out changes the height: the side bar is built again, and the
    // popup is as wide as a fresh one, the side bar counted once.
    ModifyMenuW(m, 5, MF_BYPOSITION | MF_STRING, 105, L"Plain entry");
    Open(m);
    Close();
    const LONG shortHeightBefore = Engine().PanelOf(m)->PanelHeight;
    EXPECT_EQ(shortHeightBefore, height);
    DeleteMenu(m, 5, MF_BYPOSITION);
    Open(m);
    EXPECT_LT(Engine().PanelOf(m)->PanelHeight, height);
    EXPECT_EQ(Engine().PanelOf(m)->PanelWidth, width);
    EXPECT_EQ(Engine().PanelOf(m)->SideBarWidth, 32);
    Close();

    // An entry put back as plain text is made owner-drawn again though its record is known.
    Add(m, 105, L"Plain entry");
    EXPECT_EQ(ItemType(m, GetMenuItemCount(m) - 1) & MFT_OWNERDRAW, 0u);
    Open(m);
    EXPECT_NE(ItemType(m, GetMenuItemCount(m) - 1) & MFT_OWNERDRAW, 0u);
    Close();
}

TEST_F(MenuEngineTest, ACaptionThatFitsAtNoSizeLeavesThePopupWithoutSideBar) {
    HMENU m = NewPopup();
    Add(m, 1, L"{SIDEBAR:TEXT|CAPTION:A caption far too long for one short entry|FSIZE:12}");
    Add(m, 2, L"One");
    Open(m);
    const MenuPanelRecord* panel = Engine().PanelOf(m);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->SideBarWidth, 0);
    EXPECT_EQ(panel->SideBarItem, 0);
    Close();

    // A picture handed over by number: a 20x40 bitmap in a 32-wide column keeps its size, centred.
    HMENU p = NewPopup();
    HBITMAP picture = CreateBitmap(20, 40, 1, 32, nullptr);
    Add(p, 1, L"{SIDEBAR:" + std::to_wstring(reinterpret_cast<LONG_PTR>(picture)) + L"|BCOLOR:255}");
    for (UINT id = 2; id <= 6; ++id) Add(p, id, L"Entry " + std::to_wstring(id));
    Open(p);
    panel = Engine().PanelOf(p);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->SideBarWidth, 32);
    EXPECT_EQ(panel->flags, kSideBarPicture | kSideBarBitmap);
    EXPECT_EQ(modMenus::LoWord(panel->SideBarForeColor), 20);
    EXPECT_EQ(modMenus::HiWord(panel->SideBarForeColor), 40);
    EXPECT_EQ(modMenus::LoWord(panel->SideBarExtent), 6);
    EXPECT_EQ(modMenus::HiWord(panel->SideBarExtent), (panel->PanelHeight - 40) / 2);
    Close();
    DestroyWindow(window);
    BITMAP bm{};
    EXPECT_EQ(GetObjectW(picture, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));  // never the engine's to delete
    DeleteObject(picture);
}

TEST_F(MenuEngineTest, ChildSystemMenusAreLeftAloneAndDeadPopupsArePurgedAtTheNextSetup) {
    HMENU registered = SamplePopup();
    Engine().GetSetMDIchildSysMenu(registered, true);
    Open(registered);
    EXPECT_EQ(ItemType(registered, 1) & MFT_OWNERDRAW, 0u);
    EXPECT_EQ(Engine().PanelOf(registered), nullptr);
    Close();

    HMENU doomed = CreatePopupMenu();
    Add(doomed, 1, kServicesBar);
    for (UINT id = 2; id <= 5; ++id) Add(doomed, id, L"{img:3}Entry " + std::to_wstring(id));
    Open(doomed);
    Close();
    ASSERT_NE(Engine().PanelOf(doomed), nullptr);
    const long withFont = EngineGdi::LiveObjects();
    DestroyMenu(doomed);
    modMenus::SetupMenus(window, images.get());
    EXPECT_EQ(Engine().PanelOf(doomed), nullptr);
    EXPECT_EQ(Engine().ItemOf(2, doomed), nullptr);
    EXPECT_EQ(EngineGdi::LiveObjects(), withFont - 1);  // its turned caption font went with it
}

TEST_F(MenuEngineTest, OnWindows98PopupsWithTabsAreNarrower) {
    HMENU tabbed = NewPopup();
    Add(tabbed, 1, L"Open\tCtrl+O");
    Add(tabbed, 2, L"Close");
    Open(tabbed);
    const LONG normal = Engine().PanelOf(tabbed)->PanelWidth;
    Close();
    modMenus::ApplyWindowsVersion(L"1.4.10", nullptr);
    Open(tabbed);
    EXPECT_EQ(Engine().PanelOf(tabbed)->PanelWidth, normal - 32);
    Close();
    modMenus::ApplyWindowsVersion(L"2.5.1", nullptr);
}

// ---------------------------------------------------------------- drawing into a memory DC
class MemorySurface {
public:
    MemorySurface(int w, int h, COLORREF fill) : width(w), height(h) {
        HDC screen = GetDC(nullptr);
        dc_.reset(CreateCompatibleDC(screen));
        bitmap_.reset(CreateCompatibleBitmap(screen, w, h));
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_.get(), bitmap_.get());
        RECT all{0, 0, w, h};
        UniqueHbrush brush(CreateSolidBrush(fill));
        FillRect(dc_.get(), &all, brush.get());
    }
    ~MemorySurface() { SelectObject(dc_.get(), old_); }
    [[nodiscard]] HDC dc() const { return dc_.get(); }
    [[nodiscard]] COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
    int width, height;

private:
    UniqueHdc dc_;
    UniqueHbitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

constexpr COLORREF kSentinel = RGB(10, 200, 30);
constexpr int kLeft = 3;  // item rectangles start inside the popup's border
constexpr int kTop = 3;

// Draws the item with that id at its place in the popup, as the system would ask.
LRESULT DrawItem(HWND window, clsMyMenu& engine, HMENU menu, const MemorySurface& s, UINT id, UINT state,
                 UINT action = ODA_DRAWENTIRE) {
    int top = kTop;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT itemId = GetMenuItemID(menu, i);
        if (itemId == id) break;
        if (const MenuItemRecord* r = engine.ItemOf(itemId, menu)) top += r->ItemHeight;
    }
    const MenuItemRecord* r = engine.ItemOf(id, menu);
    DRAWITEMSTRUCT di{};
    di.CtlType = ODT_MENU;
    di.itemID = id;
    di.itemAction = action;
    di.itemState = state;
    di.hwndItem = reinterpret_cast<HWND>(menu);
    di.hDC = s.dc();
    di.rcItem = RECT{kLeft, top, kLeft + engine.PanelOf(menu)->PanelWidth, top + (r ? r->ItemHeight : 0)};
    return SendMessageW(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
}

int TopOf(clsMyMenu& engine, HMENU menu, UINT id) {
    int top = kTop;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT itemId = GetMenuItemID(menu, i);
        if (itemId == id) break;
        top += engine.ItemOf(itemId, menu)->ItemHeight;
    }
    return top;
}

TEST_F(MenuEngineTest, TheFirstDrawPaintsTheGradientSideBarWithItsTurnedCaption) {
    HMENU m = SamplePopup();
    Open(m);
    clsMyMenu& e = Engine();
    const MenuPanelRecord& panel = *e.PanelOf(m);
    MemorySurface s(400, panel.PanelHeight + 20, kSentinel);
    EXPECT_EQ(DrawItem(window, e, m, s, 101, 0), TRUE);
    const int height = panel.PanelHeight;
    // Left and right edges of the column, rows top to bottom, follow GradientRowColour.
    for (int x : {kLeft, kLeft + 31}) {
        for (int y = 0; y < height; ++y)
            ASSERT_EQ(s.At(x, kTop + y), modDrawing::GradientRowColour(kBarBlue, height, y)) << x << "," << y;
    }
    EXPECT_EQ(s.At(kLeft, kTop), kBarBlue);                        // the first rows: the base colour
    EXPECT_EQ(s.At(kLeft, kTop + height - 1), kBarBlue);           // the last row: the fill colour
    EXPECT_NE(s.At(kLeft, kTop + height - 2), kBarBlue);           // darker just above it
    EXPECT_EQ(s.At(kLeft + 32, kTop + 1), kSentinel);              // nothing beyond the column's width
    EXPECT_EQ(s.At(kLeft, kTop + height), kSentinel);              // nor below the panel
    // The turned caption: white pixels in the middle of the column, none near its ends.
    int white = 0, whiteAtEnds = 0;
    for (int y = 0; y < height; ++y)
        for (int x = kLeft; x < kLeft + 32; ++x) {
            if (s.At(x, kTop + y) != RGB(255, 255, 255)) continue;
            ++white;
            if (y < 2 || y > height - 3) ++whiteAtEnds;
        }
    EXPECT_GT(white, 20);
    EXPECT_EQ(whiteAtEnds, 0);
    Close();
}

TEST(Gradient, StepsRoundHalfToEvenAndEndInTheFillColour) {
    // The first quarter keeps the base colour (a half rounds to even, 0); a 300-pixel bar
    // on the side bars' blue (16742144) ends in black.
    for (int y = 0; y < 75; ++y) EXPECT_EQ(modDrawing::GradientRowColour(kBarBlue, 300, y), kBarBlue) << y;
    EXPECT_NE(modDrawing::GradientRowColour(kBarBlue, 300, 75), kBarBlue);
    EXPECT_EQ(modDrawing::GradientRowColour(kBarBlue, 300, 298), RGB(0, 0, 0));
    EXPECT_EQ(modDrawing::GradientRowColour(kBarBlue, 300, 299), kBarBlue);
    // Short bars never go below 0 per part and darken steadily.
    COLORREF previous = kBarBlue;
    for (int y = 0; y < 99; ++y) {
        const COLORREF c = modDrawing::GradientRowColour(RGB(40, 80, 120), 100, y);
        EXPECT_LE(GetBValue(c), GetBValue(previous));
        previous = c;
    }
}

TEST_F(MenuEngineTest, SeparatorsIconsCheckMarksAndTheSelectionBar) {
    HMENU m = SamplePopup();
    Add(m, 107, L"Checked plain", MFS_CHECKED);
    Open(m);
    clsMyMenu& e = Engine();
    const MenuPanelRecord& panel = *e.PanelOf(m);
    MemorySurface s(400, panel.PanelHeight + 20, kSentinel);
    ASSERT_EQ(DrawItem(window, e, m, s, 101, 0), TRUE);  // paints the side bar too
    const int iconColumn = 32 + 3, captionX = 23 + 5 + iconColumn;

    // Plain separator: highlight on row top + 2, shadow on row top + 3.
    ASSERT_EQ(DrawItem(window, e, m, s, 103, 0), TRUE);
    const int sepTop = TopOf(e, m, 103);
    EXPECT_EQ(s.At(kLeft + iconColumn + 20, sepTop + 2), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s.At(kLeft + iconColumn + 20, sepTop + 3), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(s.At(kLeft + iconColumn + 20, sepTop + 1), kSentinel);

    // Titled separator: the title in the highlight colour, two raised lines beside it.
    ASSERT_EQ(DrawItem(window, e, m, s, 104, 0), TRUE);
    const int titleTop = TopOf(e, m, 104), titleHeight = e.ItemOf(104, m)->ItemHeight;
    const int mid = titleTop + titleHeight / 2;
    int titlePixels = 0;
    for (int y = titleTop; y < titleTop + titleHeight; ++y)
        for (int x = kLeft + iconColumn; x < kLeft + panel.PanelWidth; ++x)
            if (s.At(x, y) == GetSysColor(COLOR_HIGHLIGHT)) ++titlePixels;
    EXPECT_GT(titlePixels, 10);
    EXPECT_EQ(s.At(kLeft + iconColumn + 7, mid), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s.At(kLeft + iconColumn + 7, mid + 1), GetSysColor(COLOR_BTNSHADOW));

    // An icon item: the icon in its cell, its transparent corner showing what lay beneath.
    const int runTop = TopOf(e, m, 106), runHeight = e.ItemOf(106, m)->ItemHeight;
    ASSERT_EQ(DrawItem(window, e, m, s, 106, 0), TRUE);
    const int cellX = kLeft + iconColumn + 4, cellY = runTop + (runHeight - 16) / 2;
    EXPECT_EQ(s.At(cellX, cellY), kSentinel);
    EXPECT_EQ(s.At(cellX + 15, cellY + 15), kSentinel);
    int iconPixels = 0;
    for (int y = cellY; y < cellY + 16; ++y)
        for (int x = cellX; x < cellX + 16; ++x)
            if (s.At(x, y) != kSentinel) ++iconPixels;
    EXPECT_GT(iconPixels, 40);
    // The bar starts right of the icon cell, in the menu colour.
    EXPECT_EQ(s.At(kLeft + captionX - 2, runTop + 1), GetSysColor(COLOR_MENU));
    EXPECT_EQ(s.At(kLeft + captionX - 3, runTop + 1), kSentinel);

    // Selected: the highlight bar and a raised frame around the icon cell.
    ASSERT_EQ(DrawItem(window, e, m, s, 106, ODS_SELECTED), TRUE);
    EXPECT_EQ(s.At(kLeft + panel.PanelWidth - 2, runTop + 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(s.At(kLeft + iconColumn + 2, runTop + 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    // Unselected again: the frame is drawn in the menu colour.
    ASSERT_EQ(DrawItem(window, e, m, s, 106, 0), TRUE);
    EXPECT_EQ(s.At(kLeft + iconColumn + 2, runTop + 5), GetSysColor(COLOR_MENU));

    // A checked item without an icon: the mark in a sunken cell filled with the 3-D light colour.
    const int checkTop = TopOf(e, m, 107);
    ASSERT_EQ(DrawItem(window, e, m, s, 107, ODS_CHECKED), TRUE);
    const int base = kLeft + iconColumn + 6;
    EXPECT_EQ(s.At(base + 1, checkTop + 6 + 4), GetSysColor(COLOR_MENUTEXT));
    EXPECT_EQ(s.At(base + 4, checkTop + 6 + 6), GetSysColor(COLOR_MENUTEXT));
    EXPECT_EQ(s.At(base + 6, checkTop + 6 + 1), GetSysColor(COLOR_MENUTEXT));
    EXPECT_EQ(s.At(kLeft + iconColumn + 3, checkTop + 2), GetSysColor(COLOR_3DLIGHT));
    // Checked with the disabled look: a grey mark on a cell in the menu colour.
    ASSERT_EQ(DrawItem(window, e, m, s, 107, ODS_CHECKED | ODS_GRAYED | ODS_DISABLED), TRUE);
    EXPECT_EQ(s.At(base + 4, checkTop + 6 + 6), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(s.At(kLeft + iconColumn + 3, checkTop + 2), GetSysColor(COLOR_MENU));

    // The hot-key text stands at the hot-key edge, apart from the caption.
    const int exitTop = TopOf(e, m, 102), exitHeight = e.ItemOf(102, m)->ItemHeight;
    ASSERT_EQ(DrawItem(window, e, m, s, 102, 0), TRUE);
    const int edge = kLeft + captionX + panel.HotKeyEdge;
    const int captionEnd = kLeft + captionX + modMenus::LoWord(e.ItemOf(102, m)->ItemWidth);
    int hotPixels = 0, gapPixels = 0;
    for (int y = exitTop; y < exitTop + exitHeight; ++y) {
        for (int x = edge; x < edge + modMenus::HiWord(e.ItemOf(102, m)->ItemWidth) + 8; ++x)
            if (s.At(x, y) == GetSysColor(COLOR_MENUTEXT)) ++hotPixels;
        for (int x = captionEnd + 2; x < edge; ++x)
            if (s.At(x, y) == GetSysColor(COLOR_MENUTEXT)) ++gapPixels;
    }
    EXPECT_GT(hotPixels, 10);
    EXPECT_EQ(gapPixels, 0);

    // Once the menu went idle, a change of selection paints no separator and no icon again.
    SendMessageW(window, WM_ENTERIDLE, MSGF_MENU, 0);
    MemorySurface fresh(400, panel.PanelHeight + 20, kSentinel);
    ASSERT_EQ(DrawItem(window, e, m, fresh, 103, 0, ODA_SELECT), TRUE);
    EXPECT_EQ(fresh.At(kLeft + iconColumn + 20, sepTop + 2), kSentinel);
    ASSERT_EQ(DrawItem(window, e, m, fresh, 106, ODS_SELECTED, ODA_SELECT), TRUE);
    EXPECT_EQ(fresh.At(cellX + 8, cellY + 8), kSentinel);
    // The popup painted again entirely (after it was covered): the first entry brings the side
    // bar back, every separator and icon is painted.
    ASSERT_EQ(DrawItem(window, e, m, fresh, 101, 0), TRUE);
    EXPECT_EQ(fresh.At(kLeft, kTop), kBarBlue);
    ASSERT_EQ(DrawItem(window, e, m, fresh, 103, 0), TRUE);
    EXPECT_EQ(fresh.At(kLeft + iconColumn + 20, sepTop + 2), GetSysColor(COLOR_BTNHIGHLIGHT));
    ASSERT_EQ(DrawItem(window, e, m, fresh, 106, 0), TRUE);
    EXPECT_NE(fresh.At(cellX + 8, cellY + 8), kSentinel);
    // A later entry drawn entirely does not paint the side bar over again.
    MemorySurface later(400, panel.PanelHeight + 20, kSentinel);
    ASSERT_EQ(DrawItem(window, e, m, later, 106, 0), TRUE);
    EXPECT_EQ(later.At(kLeft, kTop), kSentinel);
    Close();
}

TEST(MenuIcons, ABitmapKeyColourIsTransparentUnlessMarkedN) {
    MemorySurface s(64, 32, kSentinel);
    // A 16x16 bitmap: magenta ground (its top-left pixel) with a blue square.
    MemorySurface picture(16, 16, RGB(255, 0, 255));
    {
        UniqueHbrush blue(CreateSolidBrush(RGB(0, 0, 255)));
        RECT r{4, 4, 12, 12};
        FillRect(picture.dc(), &r, blue.get());
    }
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(picture.dc(), OBJ_BITMAP));
    HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 16, 16, 0));
    ASSERT_NE(copy, nullptr);
    modDrawing::SetTargetDC(s.dc());
    const struct {
        int mark;
        int x;
        bool keyShows;
    } cases[] = {{0, 0, false}, {1, 16, false}, {2, 32, true}};
    for (const auto& c : cases) {
        modDrawing::DrawMenuIcon(copy, kPicTypeBitmap, RECT{c.x, 0, c.x + 16, 16}, false, -1, c.mark, 0, 0, 16, 16, -1);
        EXPECT_EQ(s.At(c.x + 1, 1), c.keyShows ? RGB(255, 0, 255) : kSentinel) << c.mark;
        EXPECT_EQ(s.At(c.x + 8, 8), RGB(0, 0, 255)) << c.mark;
    }
    // An icon keeps its own mask whatever the mark.
    UniqueImageList images(Images::CreateMenuImages());
    for (int mark : {0, 1, 2}) {
        UniqueHicon icon(ImageList_GetIcon(images.get(), 2, ILD_NORMAL));
        modDrawing::DrawMenuIcon(icon.get(), kPicTypeIcon, RECT{48, 16, 64, 32}, false, -1, mark, 0, 0, 16, 16, -1);
        EXPECT_EQ(s.At(48, 16), kSentinel) << mark;
        EXPECT_NE(s.At(56, 24), kSentinel) << mark;
    }
    modDrawing::SetTargetDC(nullptr);
    DeleteObject(copy);
}

TEST(MenuImages, TwentySevenDistinctPicturesWithTransparentCorners) {
    UniqueImageList images(Images::CreateMenuImages());
    ASSERT_EQ(ImageList_GetImageCount(images.get()), 27);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images.get(), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    std::vector<std::vector<COLORREF>> seen;
    for (int i = 0; i < 27; ++i) {
        MemorySurface s(16, 16, kSentinel);
        ImageList_Draw(images.get(), i, s.dc(), 0, 0, ILD_NORMAL);
        EXPECT_EQ(s.At(0, 0), kSentinel) << i + 1;
        std::vector<COLORREF> pixels;
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                pixels.push_back(s.At(x, y));
                if (s.At(x, y) != kSentinel) ++drawn;
            }
        EXPECT_GT(drawn, 30) << i + 1;
        for (size_t j = 0; j < seen.size(); ++j) EXPECT_NE(seen[j], pixels) << i + 1 << " looks like " << j + 1;
        seen.push_back(pixels);
    }
}

TEST_F(MenuEngineTest, RepeatedMenuLoopsLeaveNoGdiObjectBehind) {
    HMENU m = SamplePopup();
    Add(m, 107, L"Checked plain", MFS_CHECKED);
    Add(m, 108, L"{img:16}Greyed", MFS_GRAYED);
    const auto cycle = [&] {
        Open(m);
        clsMyMenu& e = Engine();
        MemorySurface s(400, e.PanelOf(m)->PanelHeight + 20, kSentinel);
        for (UINT id = 101; id <= 108; ++id) {
            const UINT state = id == 107 ? ODS_CHECKED : id == 108 ? (ODS_GRAYED | ODS_DISABLED) : 0;
            DrawItem(window, e, m, s, id, state);
            DrawItem(window, e, m, s, id, state | ODS_SELECTED);
        }
        SendMessageW(window, WM_ENTERIDLE, MSGF_MENU, 0);
        DrawItem(window, e, m, s, 106, ODS_SELECTED);
        Close();
    };
    cycle();  // the menu fonts and the side-bar font are made once
    const long settled = EngineGdi::LiveObjects();
    for (int i = 0; i < 300; ++i) {
        cycle();
        if (i % 97 == 0) ModifyMenuW(m, 5, MF_BYPOSITION | MF_STRING, 105, i % 2 ? L"Plain" : L"Plain entry");
    }
    EXPECT_EQ(EngineGdi::LiveObjects(), settled);
    // The system still hands out objects.
    UniqueHbrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_TRUE(brush);
    // The side-bar font and the menu fonts go with the last engine.
    DestroyWindow(window);
    EXPECT_EQ(EngineGdi::LiveObjects(), 0);
}

// Keys given one per tick to the open popup menu; the menu is ended once they are all given.
std::vector<WPARAM>& KeysToPress() {
    static std::vector<WPARAM> keys;
    return keys;
}
size_t keysPressed = 0;
void CALLBACK PressNextKey(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowExW(nullptr, nullptr, L"#32768", nullptr);
    while (popup && !IsWindowVisible(popup)) popup = FindWindowExW(nullptr, popup, L"#32768", nullptr);
    if (keysPressed < KeysToPress().size() && popup) {
        PostMessageW(popup, WM_KEYDOWN, KeysToPress()[keysPressed++], 0);
        return;
    }
    KillTimer(hwnd, id);
    EndMenu();
}

TEST_F(MenuEngineTest, ASubmenuOpenedAgainInOneMenuLoopIsStillMeasuredByTheEngine) {
    // Opening a popup a second time within the loop does not prepare it again, but the
    // system measures its items again: the engine must still answer for them.
    HMENU parent = NewPopup();
    HMENU sub = CreatePopupMenu();  // destroyed with its parent
    Add(sub, 0, kServicesBar);
    Add(sub, 201, L"{img:1}Automatic");
    Add(sub, 202, L"{img:2}Manual");
    Add(parent, 101, L"{img:4}Find Target");
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_ID;
    mii.hSubMenu = sub;
    mii.dwTypeData = const_cast<wchar_t*>(L"{img:8}Change Setting");
    InsertMenuItemW(parent, 1, TRUE, &mii);

    // Message by message: the submenu opened, an item of the parent drawn, the submenu again.
    Open(parent);
    SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), 1);
    {
        MemorySurface s(400, 100, kSentinel);
        ASSERT_EQ(DrawItem(window, Engine(), parent, s, 101, ODS_SELECTED), TRUE);
    }
    SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), 1);
    MEASUREITEMSTRUCT mi{};
    mi.CtlType = ODT_MENU;
    mi.itemID = 202;
    EXPECT_EQ(SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)), TRUE);
    EXPECT_EQ(static_cast<int>(mi.itemHeight), Engine().ItemOf(202, sub)->ItemHeight);
    EXPECT_EQ(static_cast<LONG>(mi.itemWidth), Engine().PanelOf(sub)->PanelWidth);
    Close();

    // In a real popup: down to the submenu entry, open it, close it, move away and back
    // (the parent is drawn again), open it again.
    Seen().clear();
    KeysToPress() = {VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_UP, VK_DOWN, VK_RIGHT};
    keysPressed = 0;
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    SetTimer(window, 0x4B45, 150, &PressNextKey);
    TrackPopupMenu(parent, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 40, 40, 0, window, nullptr);
    KillTimer(window, 0x4B45);
    EXPECT_EQ(keysPressed, KeysToPress().size());
    EXPECT_TRUE(Reached(WM_INITMENUPOPUP));
    EXPECT_FALSE(Reached(WM_MEASUREITEM));  // every measure request was the engine's
}

} // namespace
