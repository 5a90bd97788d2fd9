// clsMyMenu: the menu engine's memory for one window: item and panel records, the
// menu image list, and the system menus that must not be owner-drawn.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "menus/EngineGdi.h"

// Item Status bits.
constexpr BYTE kStatusSeparator = 2;
constexpr BYTE kStatusMarkY = 4;
constexpr BYTE kStatusMarkN = 8;
constexpr BYTE kStatusSideBar = 16;

// Panel flag bits of the side bar.
constexpr BYTE kSideBarPicture = 2;
constexpr BYTE kSideBarText = 4;
constexpr BYTE kSideBarBitmap = 8;
constexpr BYTE kSideBarIcon = 16;
constexpr BYTE kSideBarGradient = 32;

// Picture types as a picture reports them.
constexpr int kPicTypeBitmap = 1;
constexpr int kPicTypeIcon = 3;

struct MenuItemRecord {
    short ItemHeight = 0;
    LONG ItemWidth = 0;          // caption width (low half), hot-key width (high half)
    LONG Icon = 0;               // 1-based image number; 0 = none
    short HotKeyPos = 0;         // 1-based position of the blank before the hot-key text; 0 = none
    BYTE Status = 0;
    std::wstring Caption;        // as displayed, mark-up removed
    std::wstring OriginalCaption;  // as first read from the menu, mark-up included
    HMENU hMenu = nullptr;
    UINT ID = 0;
    ULONG_PTR Data = 0;          // the item's dwItemData: tells apart entries that share an identifier
};

// A panel: the measures and side bar of one popup, as the engine keeps them in its record and
// moves them whole between the popup's preparation, the records and the drawing code.
struct PanelValues {
    LONG PanelWidth = 0;
    LONG PanelHeight = 0;        // the items' heights added up
    LONG HotKeyEdge = 0;         // x at which hot-key texts start
    LONG TextLeft = 0;           // x at which captions start
    LONG SideBarWidth = 0;       // 0 when the popup has no side bar
    LONG SideBarExtent = 0;      // text: caption height (low), width (high); picture: x, y offset
    LONG SideBarBackColor = 0;   // -1 or below: the menu colour
    LONG SideBarForeColor = 0;   // text: caption colour; picture: drawn width (low), height (high)
    BYTE flags = 0;              // kSideBar* bits
    LONG_PTR SideBarItem = 0;    // the turned caption font of a text side bar, or the picture handle
    EngineGdi::Font SideBarFont; // owns SideBarItem when that is a caption font the engine made
    std::wstring SideBarCaption;
};

struct MenuPanelRecord : PanelValues {
    HMENU hMenu = nullptr;
};

// The picture of one menu image, owned by the caller.
struct IconData {
    EngineGdi::Icon picture;
    int type = 0;    // kPicTypeIcon for image-list pictures
    int mark = 0;    // 1 "|Y", 2 "|N", 0 none
};

class clsMyMenu {
public:
    clsMyMenu() = default;
    clsMyMenu(const clsMyMenu&) = delete;
    clsMyMenu& operator=(const clsMyMenu&) = delete;
    ~clsMyMenu();

    HMENU MainMenuID = nullptr;
    WNDPROC OldWinProc = nullptr;
    LONG ChildStatus = 0;
    HWND ParentForm = nullptr;

    [[nodiscard]] int TotalIcons() const;
    // The side of the menu pictures in pixels (16 at 96 DPI; the image list is made for the screen).
    [[nodiscard]] int IconSize() const;

    // Properties of the current item (0 or empty when there is none).
    [[nodiscard]] LONG Icon() const;
    void SetIcon(LONG v);
    [[nodiscard]] short ItemHeight() const;
    void SetItemHeight(short v);
    [[nodiscard]] LONG ItemWidth() const;
    void SetItemWidth(LONG v);
    [[nodiscard]] short HotKeyPos() const;
    void SetHotKeyPos(short v);
    [[nodiscard]] BYTE Status() const;
    void SetStatus(BYTE v);
    [[nodiscard]] std::wstring Caption() const;
    void SetCaption(const std::wstring& v);
    [[nodiscard]] std::wstring OriginalCaption() const;
    void SetOriginalCaption(const std::wstring& v);

    [[nodiscard]] HIMAGELIST ImageViewer() const noexcept { return images_; }
    void SetImageViewer(HIMAGELIST images) noexcept { images_ = images; }

    // Properties of the current panel.
    [[nodiscard]] bool SideBarIsText() const;
    [[nodiscard]] LONG_PTR SideBarItem() const;
    [[nodiscard]] LONG SideBarWidth() const;
    [[nodiscard]] LONG PanelWidth() const;
    [[nodiscard]] LONG PanelHeight() const;
    [[nodiscard]] short HotKeyEdge() const;
    [[nodiscard]] int PanelIDcount() const noexcept { return static_cast<int>(panels_.size()); }
    [[nodiscard]] short MenuIDcount() const noexcept { return static_cast<short>(items_.size()); }

    // bSet false: true when the menu is a registered child system menu; bSet true registers it (false).
    bool GetSetMDIchildSysMenu(HMENU subMenu, bool bSet);
    // Writes the current panel from the values, which hand it their side-bar font; with keepSize
    // only width, height, hot-key edge and text left are written and the values keep their font.
    void UpdatePanelID(PanelValues& values, bool keepSize);
    // Fills the values from the panel of the current item's menu: PanelWidth is the width plus
    // 16, and the side-bar font stays the panel's (SideBarFont is left empty).
    void GetPanelInformation(PanelValues& values) const;
    // Selects (or with alwaysCreate creates) the current item and panel; see the members' contract below.
    bool SetMenuID(UINT iID, HMENU subMenu, bool byPosition, bool alwaysCreate, ULONG_PTR data = 0);
    [[nodiscard]] IconData GetIconData(LONG iconIndex) const;
    [[nodiscard]] HMENU GetPanelID(int index) const;
    // Drops the items and the panel of a menu (its side-bar font with it).
    void PurgeObsoleteMenus(HMENU subMenu);

    // The current records, for the drawing code and the tests.
    [[nodiscard]] const MenuItemRecord* CurrentItem() const;
    [[nodiscard]] const MenuPanelRecord* CurrentPanel() const;
    [[nodiscard]] const MenuPanelRecord* PanelOf(HMENU menu) const;
    [[nodiscard]] const MenuItemRecord* ItemOf(UINT id, HMENU menu, ULONG_PTR data = 0) const;

private:
    MenuItemRecord* Item();
    MenuPanelRecord* Panel();

    HIMAGELIST images_ = nullptr;
    std::vector<MenuItemRecord> items_;                     // position n is items_[n - 1]
    // (identifier, item data, menu) -> position; handles keep their full width.
    using ItemKey = std::tuple<UINT, ULONG_PTR, HMENU>;
    std::map<ItemKey, size_t> itemKeys_;
    size_t currentItem_ = 0;
    std::vector<MenuPanelRecord> panels_;
    std::map<HMENU, size_t> panelKeys_;
    size_t currentPanel_ = 0;
    std::map<HMENU, size_t> systemMenus_;
};
