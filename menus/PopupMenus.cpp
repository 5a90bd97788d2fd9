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

// Reads the number at the start of a mark-up field ("12|GRADIENT" reads 12): leading blanks,
// a sign, digits; reading stops at the first character that is not part of it.
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
    // The hot spot serves as the size, so an ordinary icon (hot spot at its centre) is drawn at
    // half its size; a caption that hands over an icon by handle is laid out by that size.
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
    if (!RecordsOf(key)) return;
    std::wstring source = description;
    if (!source.empty() && source.back() == L'}') source.pop_back();
    source += L'|';
    const size_t colon = source.find(L':');
    source = colon == std::wstring::npos ? source : source.substr(colon + 1);
    source = source.substr(0, source.find(L'|'));
    const bool isText = Text::Upper(source) == L"TEXT";
    const bool isNumber = IsNumberText(source);
    const SideBarFields s = ParseSideBar(description, !isText);

    v.SideBarItem = 0;
    v.SideBarFont.reset();
    v.SideBarWidth = s.width;
    v.flags = 0;
    BYTE kind = 0;
    SIZE caption{};
    if (isNumber) {
        v.SideBarItem = static_cast<LONG_PTR>(ReadNumber(source));
        kind = kSideBarPicture;
        v.flags = kSideBarBitmap;
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
            if (caption.cx > v.PanelHeight || caption.cy > v.SideBarWidth) continue;
            lf.lfEscapement = lf.lfOrientation = 900;  // turned to run upwards
            v.SideBarFont.reset(EngineGdi::Counted(CreateFontIndirectW(&lf)));
            v.SideBarItem = reinterpret_cast<LONG_PTR>(v.SideBarFont.get());
            break;
        }
    }
    // A named picture control: the program's forms have none that can be found by name,
    // so such a side bar is left out like one whose control is missing.
    if (v.SideBarItem == 0) {
        v.SideBarWidth = 0;
        description = s.caption;
        return;
    }
    v.SideBarBackColor = s.backColor == -1 ? static_cast<LONG>(GetSysColor(COLOR_MENU)) : s.backColor;

    if (kind == kSideBarPicture) {
        HANDLE picture = reinterpret_cast<HANDLE>(v.SideBarItem);
        int width = 0, height = 0;
        BYTE pictureKind = 0;
        if (!PictureSize(picture, width, height, pictureKind)) {
            v.SideBarItem = 0;
            v.SideBarWidth = 0;
            description = s.caption;
            return;
        }
        v.flags = pictureKind;
        if (v.SideBarBackColor == -2)
            v.SideBarBackColor =
                static_cast<LONG>(PixelOfPicture(dc, picture, width, height, pictureKind == kSideBarBitmap));
        const LONG columnWidth = v.SideBarWidth, columnHeight = v.PanelHeight;
        if (width > columnWidth || height > columnHeight) {
            const double widthRatio = static_cast<double>(width) / static_cast<double>(columnWidth);
            const double heightRatio = static_cast<double>(height) / static_cast<double>(columnHeight);
            const double factor = heightRatio < widthRatio ? static_cast<double>(columnWidth) / width
                                                           : static_cast<double>(columnHeight) / height;
            width = static_cast<int>(std::nearbyint(width * factor));
            height = static_cast<int>(std::nearbyint(height * factor));
        }
        v.SideBarForeColor = MakeLong(width, height);
        v.SideBarExtent = MakeLong(static_cast<int32_t>((columnWidth - width) / 2),
                                   static_cast<int32_t>((columnHeight - height) / 2));
    } else {
        if (s.gradient) v.flags |= kSideBarGradient;
        v.SideBarForeColor = s.foreColor;
        v.SideBarExtent = MakeLong(caption.cy, caption.cx);
    }
    v.flags |= kind;
    v.PanelWidth += v.SideBarWidth;
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

// The preparation of one popup about to open: each entry's records, measures and owner-drawn
// type, then the panel's measures and side bar. The panel's values collect as entries are read.
class PopupPreparation {
public:
    PopupPreparation(HMENU menu, HDC dc, HWND recordsKey, clsMyMenu& engine)
        : menu_(menu), dc_(dc), recordsKey_(recordsKey), engine_(engine) {}

    // Reads the side bar a caption source describes, then every entry; false when an entry
    // with a reserved identifier ended the reading (the panel is then left as it was).
    bool ReadEntries(int count) {
        if (captionSource && count > 0) {
            const std::wstring described = captionSource->SideBar(menu_);
            if (!described.empty()) {
                MENUITEMINFOW info{};
                info.cbSize = sizeof(info);
                info.wID = kSideBarRecordId;
                Entry(-1, info, described);
            }
        }
        for (int i = 0; i < count; ++i) {
            ItemRead read;
            if (!ReadItem(menu_, i, read)) continue;
            const UINT id = read.info.wID;
            if (id == 4096u || id == static_cast<UINT>(-4096) || id == static_cast<UINT>(-1)) return false;
            if (captionSource)
                if (auto full = captionSource->Caption(menu_, read.info.dwItemData)) read.text = *full;
            Entry(i, read.info, read.text);
        }
        return true;
    }

    // Lays out the panel from its entries, builds its side bar again when it is new, changed
    // or the popup's height changed, and stores it.
    void StorePanel(int16_t versionOffset) {
        if (!sideBarItem_ && v_.PanelHeight != engine_.PanelHeight() && engine_.SideBarItem() != 0) {
            sideBarItem_ = lastId_;
            sideBarData_ = lastData_;
        }
        v_.TextLeft = anyIcon_ ? engine_.IconSize() + 2 + 5 : 5;  // 23 with 16-pixel pictures
        v_.HotKeyEdge = widestCaption_ + 12;
        // The side-bar width joins the panel width once: here, or in BuildSideBar when it is built again.
        v_.PanelWidth = v_.HotKeyEdge + widestHotKey_ + v_.TextLeft + (sideBarItem_ ? 0 : storedSideBarWidth_) -
                        (anyTab_ ? versionOffset : 0);
        if (sideBarItem_) {
            engine_.SetMenuID(*sideBarItem_, menu_, false, false, sideBarData_);
            BuildSideBar(recordsKey_, sideBarDescription_, v_, dc_);
            v_.SideBarCaption = sideBarDescription_;
        }
        engine_.UpdatePanelID(v_, !sideBarItem_);
    }

private:
    // One entry; position is -1 for a side bar described by the caption source outside the entries.
    void Entry(int position, const MENUITEMINFOW& info, const std::wstring& text) {
        const UINT id = info.wID;
        const ULONG_PTR data = info.dwItemData;
        lastId_ = id;
        lastData_ = data;
        const bool isNew = engine_.SetMenuID(id, menu_, false, true, data);
        std::wstring caption = text;
        if (caption.empty()) caption = engine_.OriginalCaption();
        const bool isSideBar = Text::Upper(caption.substr(0, 9)) == kSideBarPrefix;
        if (isSideBar) sideBarDescription_ = caption;
        anyTab_ = anyTab_ || caption.find(L'\t') != std::wstring::npos;

        if (!isNew && engine_.OriginalCaption() == caption) {
            ReuseMeasures();
            // An entry put back into the menu since it was last seen is plain again.
            if (position >= 0 && !(info.fType & MFT_OWNERDRAW))
                MakeOwnerDrawn(menu_, position, info, (engine_.Status() & kStatusSeparator) != 0);
            return;
        }

        if (!sideBarDescription_.empty() && !sideBarItem_) {
            sideBarItem_ = id;
            sideBarData_ = data;
        }
        engine_.SetOriginalCaption(caption);
        engine_.SetStatus(0);
        bool separator = false;
        if (isSideBar) RecordSideBarItem();
        else separator = RecordAndMeasure(caption, info);
        if (position >= 0) MakeOwnerDrawn(menu_, position, info, separator);
    }

    // An entry seen before with the same caption: its stored measures count again.
    void ReuseMeasures() {
        v_.PanelHeight += engine_.ItemHeight();
        widestCaption_ = std::max<LONG>(widestCaption_, LoWord(engine_.ItemWidth()));
        widestHotKey_ = std::max<LONG>(widestHotKey_, HiWord(engine_.ItemWidth()));
        storedSideBarWidth_ = engine_.SideBarWidth();
        anyIcon_ = anyIcon_ || engine_.Icon() > 0;
    }

    // The entry that describes the side bar takes no room in the popup.
    void RecordSideBarItem() {
        engine_.SetStatus(kStatusSideBar);
        engine_.SetItemHeight(0);
        engine_.SetItemWidth(0);
        engine_.SetIcon(0);
        engine_.SetHotKeyPos(0);
    }

    // A new or changed entry: its caption's mark-up into the records, then its size in the
    // menu font. True for a separator.
    bool RecordAndMeasure(std::wstring caption, const MENUITEMINFOW& info) {
        int mark = 0, icon = 0;
        std::wstring hotKey;
        ParseItemCaption(recordsKey_, caption, mark, hotKey, icon);
        const bool separator = caption.empty() || caption[0] == L'-' || (info.fType & MFT_SEPARATOR);
        const bool titled = !caption.empty() && caption[0] == L'-' && caption.size() > 1;
        if (separator) {
            // A titled separator shows the rest of its caption and any hot-key text.
            caption = Text::Trim((caption.empty() || caption[0] != L'-' ? caption : caption.substr(1)) +
                                 (hotKey.empty() ? L"" : L"  " + hotKey));
            hotKey.clear();
            icon = 0;
            mark = 0;
        }
        engine_.SetCaption(Text::Trim(caption + L" " + hotKey));
        engine_.SetIcon(icon);
        engine_.SetStatus(static_cast<BYTE>(engine_.Status() | mark * 4 | (separator ? kStatusSeparator : 0)));
        anyIcon_ = anyIcon_ || icon > 0;

        modDrawing::CreateMenuFont(-1, nullptr, titled ? -1 : 0, nullptr);
        const UINT calc = DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE;
        const SIZE size = Measure(dc_, caption, calc);
        widestCaption_ = std::max<LONG>(widestCaption_, size.cx);
        // At least 10 + 6 pixels, and room for a picture larger than 16 pixels (at a higher DPI).
        const int minimum = std::max(10, engine_.IconSize() - 6);
        const int height = separator && !titled ? 5 : titled ? size.cy + 6 : std::max<int>(size.cy, minimum) + 6;
        engine_.SetItemHeight(static_cast<short>(height));
        v_.PanelHeight += height;
        if (!hotKey.empty()) {
            engine_.SetHotKeyPos(static_cast<short>(caption.size() + 1));
            const SIZE hot = Measure(dc_, Text::Trim(hotKey), calc);
            widestHotKey_ = std::max<LONG>(widestHotKey_, hot.cx);
            engine_.SetItemWidth(MakeLong(size.cx, hot.cx));
        } else {
            engine_.SetHotKeyPos(0);
            engine_.SetItemWidth(MakeLong(size.cx, 0));
        }
        return separator;
    }

    const HMENU menu_;
    const HDC dc_;
    const HWND recordsKey_;
    clsMyMenu& engine_;
    PanelValues v_;
    LONG widestCaption_ = 0;
    LONG widestHotKey_ = 0;
    LONG storedSideBarWidth_ = 0;  // the panel's side bar as last built, when it is not built again
    bool anyIcon_ = false;
    bool anyTab_ = false;
    std::optional<UINT> sideBarItem_;  // the entry whose side bar is built again
    ULONG_PTR sideBarData_ = 0;
    std::wstring sideBarDescription_;
    UINT lastId_ = 0;
    ULONG_PTR lastData_ = 0;
};

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
    const int count = GetMenuItemCount(menu);
    modDrawing::SetTargetDC(dc);
    CheckWindowsVersion(dc);

    PopupPreparation preparation(menu, dc, recordsKey, *RecordsOf(hwnd));
    if (preparation.ReadEntries(count) && count > 0) preparation.StorePanel(m.MenuVersionOffset);
    if (m.PreparedPopups) m.PreparedPopups->insert(menu);
    modDrawing::CreateMenuFont(0, nullptr, 0, nullptr);
    modDrawing::SetTargetDC(nullptr);
}

} // namespace modMenus
