// The list views of the main window: rows with an icon number, texts and a fore colour.
#include "mainwindow/ListView.h"

#include "system/Text.h"

#include <commctrl.h>

namespace ListView {

int AddRow(HWND list, const std::wstring& text, int icon, const std::vector<std::wstring>& subItems, COLORREF color) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = Count(list);
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = icon > 0 ? icon - 1 : I_IMAGENONE;
    item.lParam = static_cast<LPARAM>(color);
    const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return row;
    for (size_t i = 0; i < subItems.size(); ++i) SetText(list, row, static_cast<int>(i) + 1, subItems[i]);
    return row;
}

void AddColumn(HWND list, const std::wstring& caption, int widthPixels) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int index = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<wchar_t*>(caption.c_str());
    col.cx = widthPixels;
    col.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}

void SetText(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::wstring Text(HWND list, int row, int column) {
    if (row < 0) return {};
    std::wstring buf(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buf.data();
        item.cchTextMax = static_cast<int>(buf.size());
        const int n = static_cast<int>(
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (n < static_cast<int>(buf.size()) - 1) {
            buf.resize(static_cast<size_t>(n));
            return buf;
        }
        buf.assign(buf.size() * 2, L'\0');  // long commands are listed whole
    }
}

int Count(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

void Clear(HWND list) { SendMessageW(list, LVM_DELETEALLITEMS, 0, 0); }

void DeleteRow(HWND list, int row) { SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }

int Selected(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int Current(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void Select(HWND list, int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

namespace {
bool GetItem(HWND list, int row, LVITEMW& item) {
    item.iItem = row;
    return SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}
} // namespace

int Icon(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    if (!GetItem(list, row, item)) return 0;
    return item.iImage >= 0 ? item.iImage + 1 : 0;
}

void SetIcon(HWND list, int row, int icon) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = icon > 0 ? icon - 1 : I_IMAGENONE;
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

COLORREF Color(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    if (!GetItem(list, row, item)) return DefaultForeColor;
    return static_cast<COLORREF>(item.lParam);
}

void SetColor(HWND list, int row, COLORREF color) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = static_cast<LPARAM>(color);
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

UINT RowId(HWND list, int row) {
    if (row < 0 || row >= Count(list)) return static_cast<UINT>(-1);
    return static_cast<UINT>(SendMessageW(list, LVM_MAPINDEXTOID, static_cast<WPARAM>(row), 0));
}

int FindRow(HWND list, const std::wstring& text, int column) {
    const int n = Count(list);
    for (int row = 0; row < n; ++row)
        if (Text::EqualsNoCase(ListView::Text(list, row, column), text)) return row;
    return -1;
}

std::vector<std::wstring> ColumnHeaders(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    std::vector<std::wstring> headers;
    for (int column = 0; column < count; ++column) {
        wchar_t text[MAX_PATH] = {};
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        headers.emplace_back(text);
    }
    return headers;
}

void SetColumnIcon(HWND list, int column, int icon) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (!header) return;
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) return;
    if (icon > 0) {
        item.fmt |= HDF_IMAGE;
        item.iImage = icon - 1;
    } else {
        item.fmt &= ~HDF_IMAGE;
        item.iImage = I_IMAGENONE;
    }
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

int ColumnIcon(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (!header) return 0;
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) return 0;
    return (item.fmt & HDF_IMAGE) && item.iImage >= 0 ? item.iImage + 1 : 0;
}

int InfoTipColumn(HWND list, const NMLVGETINFOTIPW& tip) {
    LVHITTESTINFO hit{};
    GetCursorPos(&hit.pt);
    ScreenToClient(list, &hit.pt);
    if (SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == tip.iItem) return hit.iSubItem;
    return tip.iSubItem;
}

void SetInfoTip(NMLVGETINFOTIPW& tip, const std::wstring& text) {
    if (text.empty() || !tip.pszText || tip.cchTextMax <= 0) return;
    lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
}

namespace {
// Marks a list whose drawing a guard has turned off.
constexpr wchar_t kRedrawOffProperty[] = L"CorvellRedrawOff";
} // namespace

RedrawOff::RedrawOff(std::initializer_list<HWND> lists) {
    for (HWND list : lists) {
        if (!list || GetPropW(list, kRedrawOffProperty)) continue;
        SetPropW(list, kRedrawOffProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        lists_.push_back(list);
    }
}

RedrawOff::~RedrawOff() {
    for (HWND list : lists_) {
        if (!IsWindow(list)) continue;
        RemovePropW(list, kRedrawOffProperty);
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        // A list that does not draw keeps its scroll range too, so a row chosen meanwhile is
        // scrolled to only now.
        const int current = Current(list);
        if (current >= 0) SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(current), FALSE);
    }
}

LRESULT CustomDraw(NMHDR* header) {
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const COLORREF color = static_cast<COLORREF>(cd->nmcd.lItemlParam);
        if (color != DefaultForeColor) cd->clrText = color;
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

} // namespace ListView
