// The menu engine's drawing operations and its answers to WM_MEASUREITEM and WM_DRAWITEM.
#include "menus/modDrawing.h"

#include "menus/EngineGdi.h"
#include "menus/modMenus.h"
#include "system/Screen.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace modDrawing {
namespace {

using EngineGdi::Counted;

HDC target = nullptr;
EngineGdi::Font font0;        // the system's menu font
EngineGdi::Font font1;        // titled separators
HGDIOBJ restoreFont = nullptr;
bool restoreKnown = false;

constexpr wchar_t kTitleFace[] = L"Tahoma";

COLORREF Sys(int index) { return GetSysColor(index); }

void MakeFonts() {
    if (font0 && font1) return;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) return;
    font0.reset(Counted(CreateFontIndirectW(&ncm.lfMenuFont)));
    LOGFONTW title = ncm.lfMenuFont;
    std::fill(std::begin(title.lfFaceName), std::end(title.lfFaceName), L'\0');
    std::copy(std::begin(kTitleFace), std::end(kTitleFace) - 1, title.lfFaceName);
    title.lfCharSet = DEFAULT_CHARSET;
    title.lfHeight = -static_cast<LONG>(std::nearbyint(150.0 * Screen::Dpi() / 1440.0));
    font1.reset(Counted(CreateFontIndirectW(&title)));
}

void Rect(int x1, int y1, int x2, int y2) {
    if (target) Rectangle(target, x1, y1, x2, y2);
}

EngineGdi::Pen SolidPen(int width, COLORREF colour) { return EngineGdi::Pen(Counted(CreatePen(PS_SOLID, width, colour))); }
EngineGdi::Brush SolidBrush(COLORREF colour) { return EngineGdi::Brush(Counted(CreateSolidBrush(colour))); }

// Places a copy of a picture: icons with their own mask, bitmaps with their key colour
// transparent unless marked "|N" (mark 2).
void Place(HDC dest, HANDLE copy, bool asIcon, int mark, int x, int y, int width, int height, LONG& key) {
    const bool direct = asIcon ? mark <= 2 : mark == 2;
    if (direct) {
        DrawStateW(dest, nullptr, nullptr, reinterpret_cast<LPARAM>(copy), 0, x, y, 0, 0,
                   (asIcon ? DST_ICON : DST_BITMAP) | DSS_NORMAL);
    } else if (!asIcon) {
        HDC d = dest;
        TransparentBlt(static_cast<HBITMAP>(copy), x, y, width, height, 0, 0, key, d);
    }
}

// Top of the popup's first item, from the item being drawn and the heights of those above it.
int PanelTop(const clsMyMenu& engine, HMENU menu, UINT id, ULONG_PTR data, int itemTop) {
    const int count = GetMenuItemCount(menu);
    int above = 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_DATA;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.wID == id && info.dwItemData == data) break;
        if (const MenuItemRecord* r = engine.ItemOf(info.wID, menu, info.dwItemData)) above += r->ItemHeight;
    }
    return itemTop - above;
}

void PaintSideBar(const PanelValues& v, int left, int top) {
    const int width = static_cast<int>(v.SideBarWidth);
    const int height = static_cast<int>(v.PanelHeight);
    const COLORREF back = v.SideBarBackColor < 0 ? Sys(COLOR_MENU) : static_cast<COLORREF>(v.SideBarBackColor);
    {
        EngineGdi::Brush brush = SolidBrush(back);
        EngineGdi::Pen pen = SolidPen(1, back);
        EngineGdi::Selection sb(target, brush.get()), sp(target, pen.get());
        Rect(left, top, left + width, top + height);
    }
    if (v.flags & kSideBarPicture) {
        const RECT column{left, top, left + width, top + height};
        DrawMenuIcon(reinterpret_cast<HANDLE>(v.SideBarItem), kPicTypeBitmap, column, false, -1, 2,
                     modMenus::LoWord(v.SideBarExtent), modMenus::HiWord(v.SideBarExtent),
                     modMenus::LoWord(v.SideBarForeColor), modMenus::HiWord(v.SideBarForeColor),
                     static_cast<LONG>(back));
        return;
    }
    SetBkMode(target, TRANSPARENT);
    modMenus::CheckWindowsVersion(target);
    if (v.flags & kSideBarGradient) DrawSideBarImage(back, RECT{0, 0, width, height}, POINT{left, top});
    CreateMenuFont(-1, nullptr, 0, reinterpret_cast<HFONT>(v.SideBarItem));
    const COLORREF oldColour = SetTextColor(target, static_cast<COLORREF>(v.SideBarForeColor));
    const int captionHeight = modMenus::LoWord(v.SideBarExtent);
    const int captionWidth = modMenus::HiWord(v.SideBarExtent);
    RECT r{left + (width - captionHeight) / 2, top + (height - captionWidth) / 2 + captionWidth, left + width,
           top + height};
    DrawTextW(target, v.SideBarCaption.c_str(), static_cast<int>(v.SideBarCaption.size()), &r,
              DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
    SetTextColor(target, oldColour);
    CreateMenuFont(0, nullptr, 0, nullptr);
}

bool Measure(MEASUREITEMSTRUCT* mi) {
    auto& m = modMenus::Module();
    if (!mi || mi->CtlType != ODT_MENU) return false;
    clsMyMenu* engine = modMenus::RecordsOf(m.CurrentMenuKey);
    if (!engine || !engine->SetMenuID(mi->itemID, m.CurrentMenuHandle, false, false, mi->itemData)) return false;
    mi->itemHeight = static_cast<UINT>(std::max<short>(engine->ItemHeight(), 0));
    mi->itemWidth = static_cast<UINT>(std::max<LONG>(engine->PanelWidth(), 0));
    return true;
}

bool Draw(const DRAWITEMSTRUCT* di) {
    auto& m = modMenus::Module();
    if (!di || di->CtlType != ODT_MENU) return false;
    const HMENU menu = reinterpret_cast<HMENU>(di->hwndItem);
    m.CurrentMenuHandle = menu;
    clsMyMenu* engine = modMenus::RecordsOf(m.CurrentMenuKey);
    if (!engine || !engine->SetMenuID(di->itemID, menu, false, false, di->itemData) || !engine->CurrentItem()) return false;
    const MenuItemRecord item = *engine->CurrentItem();
    auto& st = m.MenuDrawState;

    const bool sideBarItem = (item.Status & kStatusSideBar) != 0;
    const bool separator = !sideBarItem && (item.Status & kStatusSeparator);
    const bool disabledLook = (di->itemState & ODS_GRAYED) && (di->itemState & ODS_DISABLED);
    const bool checked = (di->itemState & ODS_CHECKED) != 0;
    if (sideBarItem && st.sideBarPending == 0) return true;
    // Once idle, a change of selection leaves alone what the popup showed already; a request
    // to draw the entry entirely (the popup painted again after it was covered or erased)
    // paints all of it.
    const bool idle = st.notIdle == 0 && (di->itemAction & ODA_DRAWENTIRE) == 0;
    if (idle && (disabledLook || separator)) return true;

    SetTargetDC(di->hDC);
    const int left = di->rcItem.left, top = di->rcItem.top, right = di->rcItem.right, bottom = di->rcItem.bottom;
    const int panelTop = PanelTop(*engine, menu, item.ID, item.Data, top);
    // The first entry drawn entirely while the side bar is no longer pending: the whole
    // popup is being painted again, its side bar with it.
    const bool repaintsPopup = st.sideBarPending == 0 && (di->itemAction & ODA_DRAWENTIRE) && panelTop == top;
    if (st.sideBarPending != 0 || st.menu != menu || repaintsPopup) {
        PanelValues v;
        engine->GetPanelInformation(v);
        st.textOffset = v.TextLeft ? v.TextLeft + 5 : 0;
        st.iconColumnX = v.SideBarWidth ? v.SideBarWidth + 3 : 0;
        st.captionX = st.textOffset + st.iconColumnX;
        if ((st.sideBarPending != 0 || repaintsPopup) && v.SideBarItem != 0) PaintSideBar(v, left, panelTop);
        st.sideBarPending = 0;
        st.menu = menu;
    }
    if (sideBarItem) return true;

    CreateMenuFont(-1, nullptr, 0, nullptr);
    const bool selected = (di->itemState & ODS_SELECTED) && !disabledLook && !separator;
    const COLORREF barColour = selected ? Sys(COLOR_HIGHLIGHT) : Sys(COLOR_MENU);
    const COLORREF textColour =
        selected || disabledLook ? Sys(COLOR_HIGHLIGHTTEXT) : Sys(COLOR_MENUTEXT);
    EngineGdi::Brush bar = SolidBrush(barColour);
    EngineGdi::Pen barPen = SolidPen(1, barColour);
    EngineGdi::Brush checkCell = SolidBrush(disabledLook ? Sys(COLOR_MENU) : Sys(COLOR_3DLIGHT));
    {
        EngineGdi::Selection sb(target, bar.get()), sp(target, barPen.get());
        const int cx = st.captionX, ix = st.iconColumnX;
        const bool hasIcon = engine->ImageViewer() && item.Icon > 0;
        std::wstring caption = item.Caption;
        if (!separator) {
            Rect(hasIcon ? left + cx - 2 : left + ix, top, right, bottom);
            std::wstring hotKey;
            std::tie(caption, hotKey) = SplitHotKey(item.Caption, item.HotKeyPos);
            RECT r = di->rcItem;
            DrawMenuText(left + cx, top + 3, r, caption, hotKey, engine->HotKeyEdge(), textColour, false, 0);
            if (disabledLook) {
                r = di->rcItem;
                DrawMenuText(left + cx - 1, top + 2, r, caption, hotKey, engine->HotKeyEdge(), Sys(COLOR_GRAYTEXT),
                             false, 0);
            }
            if (checked) {
                {
                    EngineGdi::Selection cell(target, checkCell.get());
                    Rect(left + ix, top, left + cx - 5, bottom - 1);
                }
                Draw3DFrame(left + ix - 2, top, left + cx - 3, bottom - 2, -1, 1);
                if (!hasIcon)
                    DrawCheckMark(di->rcItem, disabledLook ? Sys(COLOR_GRAYTEXT) : Sys(COLOR_MENUTEXT), left + ix,
                                  engine->IconSize());
            }
        }
        if (hasIcon && !separator) {
            if (!(idle && !checked)) {
                IconData icon = engine->GetIconData(item.Icon);
                const int size = engine->IconSize();
                const RECT cell{left + ix + 4, top + (bottom - top - size) / 2, left + ix + 4 + size,
                                top + (bottom - top - size) / 2 + size};
                DrawMenuIcon(icon.picture.get(), icon.type, cell, disabledLook, -1, icon.mark, 0, 0, size, size, -1);
            }
            if (!disabledLook && !checked) Draw3DFrame(left + ix, top, left + cx - 5, bottom - 1, selected ? -1 : 0, 0);
        }
        if (separator) {
            const int mid = top + (bottom - top) / 2;
            if (!caption.empty()) {
                CreateMenuFont(-1, nullptr, -1, nullptr);
                RECT r = di->rcItem;
                DrawMenuText(left, top + 3, r, caption, L"", 0, Sys(COLOR_HIGHLIGHT), true, ix);
                Draw3DFrame(left + ix + 4, mid, r.left - 4, mid + 1, -1, 0);
                Draw3DFrame(r.right + 4, mid, right - 4, mid + 1, -1, 0);
            } else {
                Draw3DFrame(left + ix, top + 2, right - 4 + ix, bottom - 2, -1, 0);
            }
        }
    }
    CreateMenuFont(0, nullptr, 0, nullptr);
    return true;
}

} // namespace

void SetTargetDC(HDC dc) noexcept { target = dc; }
HDC TargetDC() noexcept { return target; }

HFONT MenuFont(bool bold) {
    MakeFonts();
    return bold ? font1.get() : font0.get();
}

void ReleaseMenuFonts() noexcept {
    font0.reset();
    font1.reset();
    restoreFont = nullptr;
    restoreKnown = false;
}

void CreateMenuFont(int selectFlag, HDC dc, int boldFlag, HFONT font) {
    if (dc) target = dc;
    if (!target) return;
    if (selectFlag == 0) {
        if (restoreKnown && restoreFont) SelectObject(target, restoreFont);
        return;
    }
    HFONT chosen = font ? font : MenuFont(boldFlag != 0);
    if (!chosen) return;
    HGDIOBJ previous = SelectObject(target, chosen);
    if (!restoreKnown && previous) {
        restoreFont = previous;
        restoreKnown = true;
    }
}

void DrawMenuText(int x, int y, RECT& rect, const std::wstring& text, const std::wstring& hotKey, int hotKeyEdge,
                  COLORREF colour, bool centred, int xOffset) {
    if (!target) return;
    SetBkMode(target, TRANSPARENT);
    const COLORREF old = SetTextColor(target, colour);
    int left = x + xOffset;
    if (centred) {
        RECT measured = rect;
        DrawTextW(target, text.c_str(), static_cast<int>(text.size()), &measured,
                  DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
        const int width = measured.right - measured.left;
        // Centred between x + xOffset and the rectangle's right edge.
        left = x + xOffset + (rect.right - x - xOffset - width) / 2;
        rect.right = left + width;
    }
    rect.left = left;
    rect.top = y;
    DrawTextW(target, text.c_str(), static_cast<int>(text.size()), &rect, DT_NOCLIP | DT_SINGLELINE);
    if (!hotKey.empty()) {
        RECT h = rect;
        h.left = (centred ? left - xOffset : x) + hotKeyEdge;
        h.top = y;
        h.right = std::max(h.right, h.left + 1000);
        DrawTextW(target, hotKey.c_str(), static_cast<int>(hotKey.size()), &h, DT_NOCLIP | DT_SINGLELINE);
    }
    SetTextColor(target, old);
}

void Draw3DFrame(int x1, int y1, int x2, int y2, int style, int sunken) {
    if (!target) return;
    COLORREF first = Sys(COLOR_MENU), second = Sys(COLOR_MENU);
    if (style != 0) {
        const COLORREF light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
        first = sunken ? shadow : light;
        second = sunken ? light : shadow;
    }
    {
        EngineGdi::Pen pen = SolidPen(1, first);
        EngineGdi::Selection s(target, pen.get());
        MoveToEx(target, x1 + 2, y2, nullptr);
        LineTo(target, x1 + 2, y1);
        LineTo(target, x2 - 2, y1);
    }
    {
        EngineGdi::Pen pen = SolidPen(1, second);
        EngineGdi::Selection s(target, pen.get());
        MoveToEx(target, x2 - 2, y1, nullptr);
        LineTo(target, x2 - 2, y2);
        LineTo(target, x1 + 2, y2);
    }
}

void DrawMenuIcon(HANDLE picture, int pictureType, const RECT& rect, bool disabled, int colourFlag, int markCode,
                  int xOffset, int yOffset, int width, int height, LONG keyColour) {
    if (!picture || !target) return;
    bool asIcon = pictureType >= 2;
    HANDLE copy = Counted(CopyImage(picture, asIcon ? IMAGE_ICON : IMAGE_BITMAP, width, height, 0));
    if (!copy) {
        asIcon = !asIcon;
        copy = Counted(CopyImage(picture, asIcon ? IMAGE_ICON : IMAGE_BITMAP, width, height, 0));
    }
    if (!copy) return;
    // The copy is an icon (DestroyIcon) or a bitmap (DeleteObject).
    EngineGdi::Icon iconCopy(asIcon ? static_cast<HICON>(copy) : nullptr);
    EngineGdi::Bitmap bitmapCopy(asIcon ? nullptr : static_cast<HBITMAP>(copy));

    const int x = rect.left + xOffset, y = rect.top + yOffset;
    if (!disabled) {
        Place(target, copy, asIcon, markCode, x, y, width, height, keyColour);
        return;
    }
    // Embossed: the picture's shape painted in the highlight colour one pixel down and
    // right, then in the shadow colour in place.
    EngineGdi::MemoryDc mem(Counted(CreateCompatibleDC(target)));
    EngineGdi::Bitmap shape(Counted(colourFlag ? CreateCompatibleBitmap(target, width, height)
                                               : CreateBitmap(width, height, 1, 1, nullptr)));
    if (!mem || !shape) return;
    EngineGdi::Selection s(mem.get(), shape.get());
    PatBlt(mem.get(), 0, 0, width, height, WHITENESS);
    Place(mem.get(), copy, asIcon, markCode, 0, 0, width, height, keyColour);
    const COLORREF oldBack = SetBkColor(target, RGB(255, 255, 255));
    constexpr DWORD kPaintWhereNotWhite = 0xB8074A;
    {
        EngineGdi::Brush light = SolidBrush(Sys(COLOR_BTNHIGHLIGHT));
        EngineGdi::Selection sb(target, light.get());
        BitBlt(target, x + 1, y + 1, width, height, mem.get(), 0, 0, kPaintWhereNotWhite);
    }
    {
        EngineGdi::Brush shadow = SolidBrush(Sys(COLOR_BTNSHADOW));
        EngineGdi::Selection sb(target, shadow.get());
        BitBlt(target, x, y, width, height, mem.get(), 0, 0, kPaintWhereNotWhite);
    }
    SetBkColor(target, oldBack);
}

void TransparentBlt(HBITMAP bitmap, int x, int y, int width, int height, int sourceX, int sourceY, LONG& keyColour,
                    HDC& destination) {
    if (!destination) destination = target;
    if (!destination || !bitmap || width <= 0 || height <= 0) return;
    HDC screen = GetDC(nullptr);
    if (!screen) return;
    {
        EngineGdi::MemoryDc source(Counted(CreateCompatibleDC(screen)));
        EngineGdi::MemoryDc save(Counted(CreateCompatibleDC(screen)));
        EngineGdi::MemoryDc image(Counted(CreateCompatibleDC(screen)));
        EngineGdi::MemoryDc mask(Counted(CreateCompatibleDC(screen)));
        EngineGdi::Bitmap saveBitmap(Counted(CreateCompatibleBitmap(screen, width, height)));
        EngineGdi::Bitmap imageBitmap(Counted(CreateCompatibleBitmap(screen, width, height)));
        EngineGdi::Bitmap maskBitmap(Counted(CreateBitmap(width, height, 1, 1, nullptr)));
        if (source && save && image && mask && saveBitmap && imageBitmap && maskBitmap) {
            EngineGdi::Selection s0(source.get(), bitmap);
            EngineGdi::Selection s1(save.get(), saveBitmap.get());
            EngineGdi::Selection s2(image.get(), imageBitmap.get());
            EngineGdi::Selection s3(mask.get(), maskBitmap.get());
            if (keyColour < 0) keyColour = static_cast<LONG>(GetPixel(source.get(), 0, 0));
            // A system colour (0x80000000 | index) is translated to its RGB value.
            const COLORREF key = (static_cast<DWORD>(keyColour) & 0x80000000u)
                                     ? GetSysColor(static_cast<int>(keyColour & 0xFF))
                                     : static_cast<COLORREF>(keyColour);
            BitBlt(save.get(), 0, 0, width, height, destination, x, y, SRCCOPY);
            BitBlt(image.get(), 0, 0, width, height, source.get(), sourceX, sourceY, SRCCOPY);
            SetBkColor(image.get(), key);
            SetTextColor(image.get(), RGB(255, 255, 255));
            BitBlt(mask.get(), 0, 0, width, height, image.get(), 0, 0, SRCCOPY);
            SetTextColor(image.get(), RGB(0, 0, 0));
            SetBkColor(image.get(), RGB(255, 255, 255));
            BitBlt(image.get(), 0, 0, width, height, mask.get(), 0, 0, 0x220326);  // key pixels become black
            BitBlt(save.get(), 0, 0, width, height, mask.get(), 0, 0, SRCAND);
            BitBlt(save.get(), 0, 0, width, height, image.get(), 0, 0, SRCPAINT);
            BitBlt(destination, x, y, width, height, save.get(), 0, 0, SRCCOPY);
        }
    }
    ReleaseDC(nullptr, screen);
}

COLORREF GradientRowColour(COLORREF base, int height, int y) {
    if (height <= 0 || y >= height - 1) return base;
    int r = GetRValue(base), g = GetGValue(base), b = GetBValue(base);
    for (int i = 1; i <= y + 1; ++i) {
        // The step grows with the row, rounded half to even: a step of exactly one half is 0, so
        // the first quarter of a bar keeps the base colour.
        const int s = static_cast<int>(std::nearbyint((2.0 / height) * i));
        r = std::max(0, r - s);
        g = std::max(0, g - s);
        b = std::max(0, b - s);
    }
    return RGB(r, g, b);
}

void DrawSideBarImage(COLORREF base, const RECT& rect, POINT origin) {
    if (!target) return;
    const int width = rect.right, height = rect.bottom;
    if (width <= 0 || height <= 0) return;
    EngineGdi::MemoryDc mem(Counted(CreateCompatibleDC(target)));
    EngineGdi::Bitmap bitmap(Counted(CreateCompatibleBitmap(target, width, height)));
    if (!mem || !bitmap) return;
    EngineGdi::Selection s(mem.get(), bitmap.get());
    {
        EngineGdi::Brush fill = SolidBrush(base);
        RECT all{0, 0, width, height};
        FillRect(mem.get(), &all, fill.get());
    }
    EngineGdi::Selection pen(mem.get(), GetStockObject(DC_PEN));
    int r = GetRValue(base), g = GetGValue(base), b = GetBValue(base);
    for (int i = 1; i <= height - 1; ++i) {
        const int step = static_cast<int>(std::nearbyint((2.0 / height) * i));
        r = std::max(0, r - step);
        g = std::max(0, g - step);
        b = std::max(0, b - step);
        SetDCPenColor(mem.get(), RGB(r, g, b));
        MoveToEx(mem.get(), 0, i - 1, nullptr);
        LineTo(mem.get(), width, i - 1);
    }
    BitBlt(target, origin.x, origin.y, width, height, mem.get(), 0, 0, SRCCOPY);
}

void DrawCheckMark(const RECT& itemRect, COLORREF colour, int x, int pictureSize) {
    if (!target) return;
    if (pictureSize > 16) {
        // Menu pictures made larger for the screen: the same tick in proportion, as one
        // thicker line through the middle of the stairs below.
        const double k = pictureSize / 16.0;
        const auto at = [k](double v) { return static_cast<int>(std::lround(v * k)); };
        LOGBRUSH lb{BS_SOLID, colour, 0};
        EngineGdi::Pen thick(Counted(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                                                  static_cast<DWORD>(std::max(2, at(1.4))), &lb, 0, nullptr)));
        EngineGdi::Selection s(target, thick.get());
        const int bx = x + at(6), by = itemRect.top + at(6);
        MoveToEx(target, bx + at(1.5), by + at(4.5), nullptr);
        LineTo(target, bx + at(4.5), by + at(6.5));
        LineTo(target, bx + at(7.5), by + at(1.5));
        return;
    }
    EngineGdi::Pen pen = SolidPen(1, colour);
    EngineGdi::Selection s(target, pen.get());
    const int bx = x + 6, by = itemRect.top + 6;
    static constexpr POINT kPath[] = {{2, 4}, {2, 5}, {3, 5}, {3, 6}, {4, 6}, {4, 4},
                                      {5, 4}, {5, 2}, {6, 2}, {6, 1}, {7, 1}, {7, 0}};
    MoveToEx(target, bx + 1, by + 4, nullptr);
    for (const POINT& p : kPath) LineTo(target, bx + p.x, by + p.y);
}

std::pair<std::wstring, std::wstring> SplitHotKey(const std::wstring& caption, int hotKeyPos) {
    if (hotKeyPos <= 0 || static_cast<size_t>(hotKeyPos) > caption.size()) return {caption, L""};
    // Cut at the stored position itself: the hot-key text may also occur earlier in the caption.
    const size_t at = static_cast<size_t>(hotKeyPos);
    return {caption.substr(0, at), caption.substr(at - 1)};
}

bool HandleMenuMessage(UINT msg, LPARAM lp, WPARAM) {
    auto& st = modMenus::Module().MenuDrawState;
    switch (msg) {
    case WM_INITMENUPOPUP:
        st.notIdle = -1;
        st.sideBarPending = -1;
        st.menu = nullptr;
        return false;
    case WM_ENTERIDLE:
        st.notIdle = 0;
        return false;
    case WM_MEASUREITEM:
        return Measure(reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    case WM_DRAWITEM:
        return Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    default:
        return false;
    }
}

} // namespace modDrawing
