// The list views of the main window: rows with an icon number (resources/Images.h),
// column texts and a fore colour per row, addressed by 0-based row and column.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace ListView {

inline constexpr COLORREF EnabledForeColor = RGB(0x00, 0x80, 0x00);   // &H8000
inline constexpr COLORREF DisabledForeColor = RGB(0xC0, 0x00, 0x00);  // &HC0
inline constexpr COLORREF DefaultForeColor = CLR_DEFAULT;

// Adds a row at the end; icon is a picture number of ImageList1 (1-based, 0: none). Returns its index.
int AddRow(HWND list, const std::wstring& text, int icon, const std::vector<std::wstring>& subItems = {},
           COLORREF color = DefaultForeColor);
void AddColumn(HWND list, const std::wstring& caption, int widthPixels);
void SetText(HWND list, int row, int column, const std::wstring& text);
[[nodiscard]] std::wstring Text(HWND list, int row, int column = 0);
[[nodiscard]] int Count(HWND list);
void Clear(HWND list);
void DeleteRow(HWND list, int row);
// The selected row, or -1.
[[nodiscard]] int Selected(HWND list);
// The focused ("current") row, or -1.
[[nodiscard]] int Current(HWND list);
void Select(HWND list, int row);
[[nodiscard]] int Icon(HWND list, int row);
void SetIcon(HWND list, int row, int icon);
[[nodiscard]] COLORREF Color(HWND list, int row);
void SetColor(HWND list, int row, COLORREF color);
// The list's own id of a row: it stays with the row while other rows come and go, and the ids
// start again once the list has been emptied. (UINT)-1 for no row.
[[nodiscard]] UINT RowId(HWND list, int row);
// Index of the first row whose text in that column equals text (case ignored), or -1.
[[nodiscard]] int FindRow(HWND list, const std::wstring& text, int column = 0);
// The columns' header texts, first column first.
[[nodiscard]] std::vector<std::wstring> ColumnHeaders(HWND list);
// Column-header picture (its number in ImageList1, 0 removes it).
void SetColumnIcon(HWND list, int column, int icon);
[[nodiscard]] int ColumnIcon(HWND list, int column);
// The column an LVN_GETINFOTIP asks about: the cell under the pointer when it lies on the tip's
// row, else the tip's own sub-item.
[[nodiscard]] int InfoTipColumn(HWND list, const NMLVGETINFOTIPW& tip);
// Answers an LVN_GETINFOTIP with text; an empty text leaves the list's own.
void SetInfoTip(NMLVGETINFOTIPW& tip, const std::wstring& text);
// NM_CUSTOMDRAW of a list: paints each row in its fore colour.
LRESULT CustomDraw(NMHDR* header);

// Turns drawing of the lists off while they are filled, and on again at the end of its scope
// (also on an early return), each list then invalidated once and its current row scrolled into
// view. A list that an outer guard holds stays off until that one ends. Shows or hides nothing.
class RedrawOff {
public:
    RedrawOff(std::initializer_list<HWND> lists);
    ~RedrawOff();
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    std::vector<HWND> lists_;  // those this guard turned off
};

} // namespace ListView
