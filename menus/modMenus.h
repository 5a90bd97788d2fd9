// The owner-drawn menu engine: set-up and window procedure, caption mark-up, side
// bars, and the measuring and drawing of menu items.
#pragma once

#include "menus/clsMyMenu.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace modMenus {

// Hands a window and its menu image list to the engine, which subclasses the window once.
void SetupMenus(HWND form, HIMAGELIST images);
// Installs (true) or removes (false) MenuWindowProc on the window of CurrentMenuKey.
void SubclassWindow(bool enable);
LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
// Drops the records of popup menus of PendingPurgeWindow that no longer exist.
void PurgeDeadMenus();
// Position of the window among the program's loaded top-level windows (last first); -1 when none.
int FindFormByHwnd(HWND hwnd, bool& isMdi);
// Reads the system version and sets MenuVersionOffset (or the graphics mode of dc).
void CheckWindowsVersion(HDC dc);
// The same for a version text "platform.major.minor".
void ApplyWindowsVersion(const std::wstring& version, HDC dc);

[[nodiscard]] constexpr int16_t HiWord(int32_t v) noexcept {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v) >> 16));
}
[[nodiscard]] constexpr int16_t LoWord(int32_t v) noexcept {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v) & 0xFFFFu));
}
[[nodiscard]] constexpr int32_t MakeLong(int32_t low, int32_t high) noexcept {
    return static_cast<int32_t>((static_cast<uint32_t>(high) << 16) | (static_cast<uint32_t>(low) & 0xFFFFu));
}

// Where the full captions (mark-up included) come from when a menu's own texts are shown plain: the owner
// of the menus answers for the popups it made (the main window's menu model does).
class CaptionSource {
public:
    virtual ~CaptionSource() = default;
    // The full caption (mark-up included) of the entry with that item data, or nullopt.
    [[nodiscard]] virtual std::optional<std::wstring> Caption(HMENU popup, ULONG_PTR itemData) const = 0;
    // The side-bar description ("{SIDEBAR:...}") of the popup, empty when it has none.
    [[nodiscard]] virtual std::wstring SideBar(HMENU popup) const = 0;
};
void SetCaptionSource(const CaptionSource* source);
// The record identifier of a side bar that a caption source describes outside the menu's entries.
constexpr UINT kSideBarRecordId = 0xFFFFFFFEu;

// Reads every item of a popup about to open, stores its records and makes it owner-drawn.
void PreparePopupMenu(HMENU menu);

// The parts of one caption, as ParseItemCaption leaves them.
struct ParsedCaption {
    std::wstring caption;  // without icon prefix and hot key
    int mark = 0;          // 1 "|Y", 2 "|N"
    std::wstring hotKey;
    int icon = 0;          // 0 = none
};
// Splits a caption's mark-up; totalIcons bounds the icon number.
[[nodiscard]] ParsedCaption ParseItemCaption(const std::wstring& caption, int totalIcons);
// The form with the engine key's engine as ParseItemCaption does it in the engine.
void ParseItemCaption(HWND key, std::wstring& caption, int& mark, std::wstring& hotKey, int& icon);

// A side-bar description ("{SIDEBAR:...}") read into its fields (defaults where a field is missing).
struct SideBarFields {
    std::wstring source;       // "TEXT", a number, or a control name
    int width = 32;
    std::wstring caption;
    std::wstring face = L"Arial";  // " Bold" / " Italic" appended, at most 31 characters
    bool underline = false;
    int size = 12;             // points
    LONG backColor = -1;       // -1 menu colour, -2 from the picture
    bool gradient = false;
    LONG foreColor = 0;
};
[[nodiscard]] SideBarFields ParseSideBar(const std::wstring& description, bool pictureSource);
// Fills the side-bar fields of the values from the description (a caption font it makes goes to
// SideBarFont) and adds the side-bar width to PanelWidth; on return description holds the caption.
void BuildSideBar(HWND key, std::wstring& description, PanelValues& values, HDC dc);

// The engine's module state, for the drawing code and the tests.
struct MenuDrawStateRecord {
    int16_t notIdle = 0;        // -1 from WM_INITMENUPOPUP until WM_ENTERIDLE
    int16_t sideBarPending = 0; // -1 from WM_INITMENUPOPUP until the first draw request reads a panel
    LONG captionX = 0;
    LONG iconColumnX = 0;
    LONG textOffset = 0;
    HMENU menu = nullptr;
};
struct State {
    std::map<HWND, std::unique_ptr<clsMyMenu>> colMenus;
    HWND CurrentMenuKey = nullptr;
    std::optional<std::set<HMENU>> PreparedPopups;
    HMENU CurrentMenuHandle = nullptr;
    HWND PendingPurgeWindow = nullptr;
    int16_t MenuVersionOffset = 0;
    MenuDrawStateRecord MenuDrawState;
};
State& Module();
// The engine object of a window, or nullptr.
[[nodiscard]] clsMyMenu* EngineOf(HWND hwnd);
// The engine that holds the records of the window's popups (that of its ParentForm).
[[nodiscard]] clsMyMenu* RecordsOf(HWND hwnd);

} // namespace modMenus
