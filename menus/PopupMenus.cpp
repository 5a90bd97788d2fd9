// Caption mark-up, side bars, and the preparation of a popup menu about to open.
#include "menus/modDrawing.h"
#include "menus/modMenus.h"
#include "system/Screen.h"
#include "system/Text.h"

#include <algorithm>
#include <cmath>
#include <climits>

namespace modMenus {
namespace {

constexpr wchar_t kImgPrefix[] = L"{IMG:";
constexpr wchar_t kSideBarPrefix[] = L"{SIDEBAR:";
constexpr size_t kFaceLimit = 31;  // LOGFONT holds 32 characters with the NUL

// Reads a number as the design's number reading does: leading blanks, a sign, digits;
// reading stops at the first character that is not part of it.
long long ReadNumber(std::wstring_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
    long long value = 0;
    // Wide enough for a handle written in decimal; digits beyond that are not read.
    while (i < s.size() && s[i] >= L'0' && s[i] <= L'9' && value <= (LLONG_MAX - 9) / 10)
        value = value * 10 + (s[i++] - L'0');
    return negative ? -value : value;
}

bool EndsWith(std::wstring_view s, std::wstring_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

// The text after a field name up to the next vertical bar, or nullopt when the field is missing.
std::optional<std::wstring> Field(const std::wstring& upper, const std::wstring& original, std::wstring_view name) {
    const size_t at = upper.find(name);
    if (at == std::wstring::npos) return std::nullopt;
    const size_t from = at + name.size();
    const size_t bar = original.find(L'|', from);
    return original.substr(from, bar == std::wstring::npos ? std::wstring::npos : bar - from);
}

bool IsNumberText(const std::wstring& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// Caption width and height in the font selected into dc.
SIZE Measure(HDC dc, const std::wstring& text, UINT flags) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

} // namespace

ParsedCaption ParseItemCaption(const std::wstring& source, int totalIcons) {
    ParsedCaption out;
    std::wstring c = source;
    std::wstring upper = Text::Upper(c);
    if (upper.rfind(kImgPrefix, 0) == 0) {
        const size_t close = c.find(L'}');
        if (close != std::wstring::npos) {
            const std::wstring prefix = upper.substr(0, close + 1);
            const long long n = ReadNumber(std::wstring_view(c).substr(5));
            const int mark = prefix.find(L"|Y}") != std::wstring::npos   ? 1
                             : prefix.find(L"|N}") != std::wstring::npos ? 2
                                                                         : 0;
            c = c.substr(close + 1);
            if (n >= 1 && n <= totalIcons) {
                out.icon = static_cast<int>(n);
                out.mark = mark;
            }
        }
    }

    upper = Text::Upper(c);
    const size_t tab = c.find(L'\t');
    if (tab != std::wstring::npos) {
        out.hotKey = Text::Trim(c.substr(tab + 1));
        out.caption = Text::Trim(c.substr(0, tab));
        return out;
    }
    for (const wchar_t* modifier : {L"CTRL+", L"SHIFT+", L"ALT+"}) {
        const size_t at = upper.find(modifier);
        if (at == std::wstring::npos) continue;
        out.hotKey = Text::Trim(c.substr(at));
        out.caption = Text::Trim(c.substr(0, at));
        return out;
    }
    for (int n = 1; n <= 15; ++n) {
        const std::wstring key = L"F" + std::to_wstring(n);
        if (!EndsWith(upper, key)) continue;
        const size_t at = upper.rfind(key);
        out.hotKey = c.substr(at);
        out.caption = Text::Trim(c.substr(0, at));
        return out;
    }
    for (const wchar_t* key : {L" DEL", L" INS", L" HOME", L" END", L" PGUP", L" PGDN"}) {
        if (!EndsWith(upper, key)) continue;
        const size_t at = upper.rfind(key);
        out.hotKey = Text::Trim(c.substr(at));
        out.caption = Text::Trim(c.substr(0, at));
        return out;
    }
    out.caption = c;
    return out;
}

void ParseItemCaption(HWND key, std::wstring& caption, int& mark, std::wstring& hotKey, int& icon) {
    clsMyMenu* engine = EngineOf(key);
    ParsedCaption parsed = ParseItemCaption(caption, engine ? engine->TotalIcons() : 0);
    caption = std::move(parsed.caption);
    mark = parsed.mark;
    hotKey = std::move(parsed.hotKey);
    icon = parsed.icon;
}

SideBarFields ParseSideBar(const std::wstring& full, bool pictureSource) {
    SideBarFields s;
    std::wstring text = full;
    if (!text.empty() && text.back() == L'}') text.pop_back();
    text += L'|';
    const size_t colon = text.find(L':');
    text = colon == std::wstring::npos ? text : text.substr(colon + 1);
    s.source = text.substr(0, text.find(L'|'));
    const std::wstring upper = Text::Upper(text);

    if (auto v = Field(upper, text, L"|WIDTH:")) s.width = static_cast<int>(ReadNumber(*v));
    if (auto v = Field(upper, text, L"|CAPTION:")) s.caption = *v;
    if (auto v = Field(upper, text, L"|FONT:")) s.face = *v;
    if (upper.find(L"|BOLD") != std::wstring::npos) s.face += L" Bold";
    if (upper.find(L"|ITALIC") != std::wstring::npos) s.face += L" Italic";
    if (s.face.size() > kFaceLimit) s.face.resize(kFaceLimit);
    s.underline = upper.find(L"|UNDERLINE") != std::wstring::npos;
    if (auto v = Field(upper, text, L"|FSIZE:")) {
        const long long size = ReadNumber(*v);
        s.size = size < 4 ? 12 : size > 24 ? 24 : static_cast<int>(size);
    }
    if (auto v = Field(upper, upper, L"|BCOLOR:")) {
        const std::wstring head = v->substr(0, 4);
        if (head == L"NONE") s.backColor = -1;
        else if (head == L"BACK") s.backColor = pictureSource ? -2 : -1;
        else s.backColor = static_cast<LONG>(ReadNumber(*v));
    }
    s.gradient = upper.find(L"|GRADIENT") != std::wstring::npos;
    if (auto v = Field(upper, text, L"|FCOLOR:")) s.foreColor = static_cast<LONG>(std::max(0LL, ReadNumber(*v)));
    return s;
}

namespace {

LOGFONTW SideBarFont(const SideBarFields& s, int size, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::nearbyint(size * dpi / 72.0));
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = s.underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    s.face.copy(lf.lfFaceName, kFaceLimit);
    return lf;
}

// Width and height of a picture handed over as a handle; false when neither a bitmap nor an icon with a hot spot.
bool PictureSize(HANDLE picture, int& width, int& height, BYTE& kindFlag) {
    BITMAP bm{};
    if (GetObjectW(picture, sizeof(bm), &bm) == static_cast<int>(sizeof(bm))) {
        width = bm.bmWidth;
        height = bm.bmHeight;
        kindFlag = kSideBarBitmap;
        return true;
    }
    ICONINFO info{};
    if (!GetIconInfo(static_cast<HICON>(picture), &info)) return false;
    // GetIconInfo hands out copies of both bitmaps.
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.xHotspot == 0 || info.yHotspot == 0) return false;
    // kept: the hot spot stands for the size (half the size of an ordinary icon).
    width = static_cast<int>(info.xHotspot);
    height = static_cast<int>(info.yHotspot);
    kindFlag = kSideBarIcon;
    return true;
}

COLORREF PixelOfPicture(HDC dc, HANDLE picture, int width, int height, bool bitmap) {
    EngineGdi::MemoryDc mem(EngineGdi::Counted(CreateCompatibleDC(dc)));
    EngineGdi::Bitmap bmp(EngineGdi::Counted(CreateCompatibleBitmap(dc, std::max(width, 1), std::max(height, 1))));
    if (!mem || !bmp) return GetSysColor(COLOR_MENU);
    EngineGdi::Selection s(mem.get(), bmp.get());
    const UINT first = bitmap ? DST_BITMAP : DST_ICON, second = bitmap ? DST_ICON : DST_BITMAP;
    if (!DrawStateW(mem.get(), nullptr, nullptr, reinterpret_cast<LPARAM>(picture), 0, 0, 0, 0, 0, first | DSS_NORMAL))
        DrawStateW(mem.get(), nullptr, nullptr, reinterpret_cast<LPARAM>(picture), 0, 0, 0, 0, 0, second | DSS_NORMAL);
    return GetPixel(mem.get(), 0, 0);
}

} // namespace

void BuildSideBar(HWND key, std::wstring& description, PanelValues& v, HDC dc) {
    clsMyMenu* engine = RecordsOf(key);
    if (!engine) return;
    std::wstring source = description;
    if (!source.empty() && source.back() == L'}') source.pop_back();
    source += L'|';
    const size_t colon = source.find(L':');
    source = colon == std::wstring::npos ? source : source.substr(colon + 1);
    source = source.substr(0, source.find(L'|'));
    const bool isText = Text::Upper(source) == L"TEXT";
    const bool isNumber = IsNumberText(source);
    const SideBarFields s = ParseSideBar(description, !isText);

    if (engine->SideBarIsText() && engine->SideBarItem())
        EngineGdi::DeleteGdi(reinterpret_cast<HGDIOBJ>(engine->SideBarItem()));
    v.slot[10] = 0;
    v.slot[4] = s.width;
    v.slot[9] = 0;
    BYTE kind = 0;
    SIZE caption{};
    if (isNumber) {
        v.slot[10] = static_cast<LONG_PTR>(ReadNumber(source));
        kind = kSideBarPicture;
        v.slot[9] = kSideBarBitmap;
    } else if (isText) {
        kind = kSideBarText;
        const int dpi = Screen::Dpi();
        for (int size = s.size; size >= 4; --size) {
            LOGFONTW lf = SideBarFont(s, size, dpi);
            EngineGdi::Font font(EngineGdi::Counted(CreateFontIndirectW(&lf)));
            {
                EngineGdi::Selection sel(dc, font.get());
                caption = Measure(dc, s.caption, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
            }
            if (caption.cx > v.slot[1] || caption.cy > v.slot[4]) continue;
            lf.lfEscapement = lf.lfOrientation = 900;  // turned to run upwards
            v.slot[10] = reinterpret_cast<LONG_PTR>(EngineGdi::Counted(CreateFontIndirectW(&lf)));
            v.slot[8] = caption.cx;
            v.slot[5] = caption.cy;
            break;
        }
    }
    // A named picture control: the program's forms have none that can be found by name,
    // so such a side bar is left out like one whose control is missing.
    if (v.slot[10] == 0) {
        v.slot[4] = 0;
        description = s.caption;
        return;
    }
    v.slot[6] = s.backColor == -1 ? static_cast<LONG_PTR>(GetSysColor(COLOR_MENU)) : s.backColor;

    if (kind == kSideBarPicture) {
        HANDLE picture = reinterpret_cast<HANDLE>(v.slot[10]);
        int width = 0, height = 0;
        BYTE pictureKind = 0;
        if (!PictureSize(picture, width, height, pictureKind)) {
            v.slot[10] = 0;
            v.slot[4] = 0;
            description = s.caption;
            return;
        }
        v.slot[9] = pictureKind;
        if (v.slot[6] == -2)
            v.slot[6] = PixelOfPicture(dc, picture, width, height, pictureKind == kSideBarBitmap);
        const LONG_PTR columnWidth = v.slot[4], columnHeight = v.slot[1];
        if (width > columnWidth || height > columnHeight) {
            const double widthRatio = static_cast<double>(width) / static_cast<double>(columnWidth);
            const double heightRatio = static_cast<double>(height) / static_cast<double>(columnHeight);
            const double factor = heightRatio < widthRatio ? static_cast<double>(columnWidth) / width
                                                           : static_cast<double>(columnHeight) / height;
            width = static_cast<int>(std::nearbyint(width * factor));
            height = static_cast<int>(std::nearbyint(height * factor));
        }
        v.slot[7] = MakeLong(width, height);
        v.slot[5] = MakeLong(static_cast<int32_t>((columnWidth - width) / 2),
                             static_cast<int32_t>((columnHeight - height) / 2));
    } else {
        if (s.gradient) v.slot[9] |= kSideBarGradient;
        v.slot[7] = s.foreColor;
        v.slot[5] = MakeLong(caption.cy, caption.cx);
    }
    v.slot[9] |= kind;
    v.slot[0] += v.slot[4];
    description = s.caption;
}

namespace {

struct ItemRead {
    MENUITEMINFOW info{};
    std::wstring text;
};

bool ReadItem(HMENU menu, int position, ItemRead& out) {
    out.info = MENUITEMINFOW{};
    out.info.cbSize = sizeof(MENUITEMINFOW);
    out.info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &out.info)) return false;
    out.text.clear();
    if (out.info.cch > 0) {
        std::wstring buffer(out.info.cch + 1, L'\0');
        out.info.dwTypeData = buffer.data();
        out.info.cch += 1;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &out.info)) return false;
        buffer.resize(std::min<size_t>(out.info.cch, buffer.size()));
        out.info.dwTypeData = nullptr;
        out.text = std::move(buffer);
    }
    out.text.erase(std::remove(out.text.begin(), out.text.end(), L'\0'), out.text.end());
    return true;
}

// Turns the item owner-drawn; MIIM_FTYPE keeps its text, which a whole-type change would drop.
void MakeOwnerDrawn(HMENU menu, int position, const MENUITEMINFOW& read, bool separator) {
    MENUITEMINFOW set{};
    set.cbSize = sizeof(set);
    set.fMask = MIIM_FTYPE | MIIM_DATA;
    set.fType = read.fType | MFT_OWNERDRAW | (separator ? MFT_SEPARATOR : 0u);
    set.dwItemData = read.dwItemData;
    SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &set);
}

class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    [[nodiscard]] HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

} // namespace

namespace {
const CaptionSource* captionSource = nullptr;
} // namespace

void SetCaptionSource(const CaptionSource* source) { captionSource = source; }

void PreparePopupMenu(HMENU menu) {
    auto& m = Module();
    const HWND hwnd = m.CurrentMenuKey;
    clsMyMenu* own = EngineOf(hwnd);
    if (!own || !menu) return;
    if (own->GetSetMDIchildSysMenu(menu, false)) return;
    // A popup opened again within one menu loop is not prepared again, but the system may
    // measure its items again: the measure requests that follow are this popup's.
    m.CurrentMenuHandle = menu;
    if (m.PreparedPopups && m.PreparedPopups->count(menu)) return;

    WindowDc windowDc(hwnd);
    const HDC dc = windowDc.get();
    if (!dc) return;
    const HWND recordsKey = own->ParentForm ? own->ParentForm : hwnd;
    clsMyMenu* engine = RecordsOf(hwnd);
    const int count = GetMenuItemCount(menu);
    m.CurrentMenuHandle = menu;
    modDrawing::SetTargetDC(dc);
    CheckWindowsVersion(dc);

    PanelValues v;
    LONG hotKeyWidth = 0;  // kept apart from the side-bar flags of slot 9
    bool anyIcon = false, anyTab = false, stopped = false;
    std::optional<UINT> sideBarItem;
    ULONG_PTR sideBarData = 0;
    std::wstring sideBarDescription;
    UINT lastId = 0;
    ULONG_PTR lastData = 0;

    // One entry: its records, measures and (for an entry of the menu) the owner-drawn type.
    // position is -1 for a side bar described by the caption source outside the entries.
    const auto process = [&](int position, const MENUITEMINFOW& info, const std::wstring& text) {
        const UINT id = info.wID;
        const ULONG_PTR data = info.dwItemData;
        lastId = id;
        lastData = data;
        const bool isNew = engine->SetMenuID(id, menu, false, true, data);
        std::wstring caption = text;
        if (caption.empty()) caption = engine->OriginalCaption();
        const bool isSideBar = Text::Upper(caption.substr(0, 9)) == kSideBarPrefix;
        if (isSideBar) sideBarDescription = caption;

        if (!isNew && engine->OriginalCaption() == caption) {
            v.slot[1] += engine->ItemHeight();
            v.slot[0] = std::max<LONG_PTR>(v.slot[0], LoWord(engine->ItemWidth()));
            hotKeyWidth = std::max<LONG>(hotKeyWidth, HiWord(engine->ItemWidth()));
            v.slot[4] = engine->SideBarWidth();
            anyIcon = anyIcon || engine->Icon() > 0;
            anyTab = anyTab || caption.find(L'\t') != std::wstring::npos;
            // An entry put back into the menu since it was last seen is plain again.
            if (position >= 0 && !(info.fType & MFT_OWNERDRAW))
                MakeOwnerDrawn(menu, position, info, (engine->Status() & kStatusSeparator) != 0);
            return;
        }

        if (!sideBarDescription.empty() && !sideBarItem) {
            sideBarItem = id;
            sideBarData = data;
        }
        engine->SetOriginalCaption(caption);
        engine->SetStatus(0);
        anyTab = anyTab || caption.find(L'\t') != std::wstring::npos;
        bool separator = false;
        if (isSideBar) {
            engine->SetStatus(kStatusSideBar);
            engine->SetItemHeight(0);
            engine->SetItemWidth(0);
            engine->SetIcon(0);
            engine->SetHotKeyPos(0);
        } else {
            int mark = 0, icon = 0;
            std::wstring hotKey;
            ParseItemCaption(recordsKey, caption, mark, hotKey, icon);
            separator = caption.empty() || caption[0] == L'-' || (info.fType & MFT_SEPARATOR);
            const bool titled = !caption.empty() && caption[0] == L'-' && caption.size() > 1;
            if (separator) {
                // A titled separator shows the rest of its caption and any hot-key text.
                caption = Text::Trim((caption.empty() || caption[0] != L'-' ? caption : caption.substr(1)) +
                                     (hotKey.empty() ? L"" : L"  " + hotKey));
                hotKey.clear();
                icon = 0;
                mark = 0;
            }
            engine->SetCaption(Text::Trim(caption + L" " + hotKey));
            engine->SetIcon(icon);
            engine->SetStatus(static_cast<BYTE>(engine->Status() | mark * 4 | (separator ? kStatusSeparator : 0)));
            anyIcon = anyIcon || icon > 0;

            modDrawing::CreateMenuFont(-1, nullptr, titled ? -1 : 0, nullptr);
            const UINT calc = DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE;
            const SIZE size = Measure(dc, caption, calc);
            v.slot[0] = std::max<LONG_PTR>(v.slot[0], size.cx);
            // At least 10 + 6 pixels, and room for a picture larger than 16 pixels (at a higher DPI).
            const int minimum = std::max(10, engine->IconSize() - 6);
            const int height = separator && !titled ? 5 : titled ? size.cy + 6 : std::max<int>(size.cy, minimum) + 6;
            engine->SetItemHeight(static_cast<short>(height));
            v.slot[1] += height;
            if (!hotKey.empty()) {
                engine->SetHotKeyPos(static_cast<short>(caption.size() + 1));
                const SIZE hot = Measure(dc, Text::Trim(hotKey), calc);
                hotKeyWidth = std::max<LONG>(hotKeyWidth, hot.cx);
                engine->SetItemWidth(MakeLong(size.cx, hot.cx));
            } else {
                engine->SetHotKeyPos(0);
                engine->SetItemWidth(MakeLong(size.cx, 0));
            }
        }
        if (position >= 0) MakeOwnerDrawn(menu, position, info, separator);
    };

    if (captionSource && count > 0) {
        const std::wstring described = captionSource->SideBar(menu);
        if (!described.empty()) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.wID = kSideBarRecordId;
            process(-1, info, described);
        }
    }
    for (int i = 0; i < count; ++i) {
        ItemRead read;
        if (!ReadItem(menu, i, read)) continue;
        const UINT id = read.info.wID;
        if (id == 4096u || id == static_cast<UINT>(-4096) || id == static_cast<UINT>(-1)) {
            stopped = true;
            break;
        }
        if (captionSource)
            if (auto designed = captionSource->Caption(menu, read.info.dwItemData)) read.text = *designed;
        process(i, read.info, read.text);
    }

    if (!stopped && count > 0) {
        if (!sideBarItem && v.slot[1] != engine->PanelHeight() && engine->SideBarItem() != 0) {
            sideBarItem = lastId;
            sideBarData = lastData;
        }
        v.slot[3] = anyIcon ? engine->IconSize() + 2 + 5 : 5;  // 23 with 16-pixel pictures
        v.slot[2] = v.slot[0] + 12;
        // The side-bar width joins the panel width once: here, or in BuildSideBar when it is built again.
        v.slot[0] = v.slot[2] + hotKeyWidth + v.slot[3] + (sideBarItem ? 0 : v.slot[4]) -
                    (anyTab ? m.MenuVersionOffset : 0);
        if (sideBarItem) {
            engine->SetMenuID(*sideBarItem, menu, false, false, sideBarData);
            BuildSideBar(recordsKey, sideBarDescription, v, dc);
            v.text = sideBarDescription;
        }
        engine->UpdatePanelID(v, !sideBarItem);
    }
    if (m.PreparedPopups) m.PreparedPopups->insert(menu);
    modDrawing::CreateMenuFont(0, nullptr, 0, nullptr);
    modDrawing::SetTargetDC(nullptr);
}

} // namespace modMenus
