// The drawing operations of the menu engine, all painting on one target device
// context, and the answers to the measure and draw requests of owner-drawn items.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace modDrawing {

// Measures or draws an item the engine made owner-drawn; true when it handled the request.
// WM_INITMENUPOPUP and WM_ENTERIDLE only reset the drawing state (false).
bool HandleMenuMessage(UINT msg, LPARAM lp, WPARAM wp);

void SetTargetDC(HDC dc) noexcept;
[[nodiscard]] HDC TargetDC() noexcept;
// selectFlag 0 puts the restore font back; else selects font, or font 1 (bold) / font 0.
void CreateMenuFont(int selectFlag, HDC dc, int boldFlag, HFONT font);
// The two menu fonts, made on first use (font 0 the system menu font, font 1 that of titled separators).
[[nodiscard]] HFONT MenuFont(bool bold);
// Deletes the menu fonts (when no engine object is left); the next request makes them again.
void ReleaseMenuFonts() noexcept;

// Draws a caption at (x, y) and its hot-key text at x + hotKeyEdge; centred between
// x + xOffset and rect.right when centred. Leaves the drawn caption's edges in rect.
void DrawMenuText(int x, int y, RECT& rect, const std::wstring& text, const std::wstring& hotKey, int hotKeyEdge,
                  COLORREF colour, bool centred, int xOffset);
// Two one-pixel line paths inset 2 pixels left and right: raised (sunken 0) or sunken
// in the 3-D colours, or both in the menu colour for style 0.
void Draw3DFrame(int x1, int y1, int x2, int y2, int style, int sunken);
// Draws a picture scaled to width x height at rect's corner plus the offsets, normal or embossed.
void DrawMenuIcon(HANDLE picture, int pictureType, const RECT& rect, bool disabled, int colourFlag, int markCode,
                  int xOffset, int yOffset, int width, int height, LONG keyColour);
// Copies a bitmap with its key colour transparent; a negative key becomes the colour of
// pixel (0, 0) and a null destination the target, both written back.
void TransparentBlt(HBITMAP bitmap, int x, int y, int width, int height, int sourceX, int sourceY, LONG& keyColour,
                    HDC& destination);
// The gradient of a text side bar: rect.right x rect.bottom pixels painted at origin.
void DrawSideBarImage(COLORREF base, const RECT& rect, POINT origin);
// The colour of row y of a gradient of the given height (row height - 1 keeps the base colour).
[[nodiscard]] COLORREF GradientRowColour(COLORREF base, int height, int y);
// The check mark at (x + 6, item top + 6); drawn in proportion when the menu pictures are
// larger than 16 pixels (a screen of higher DPI).
void DrawCheckMark(const RECT& itemRect, COLORREF colour, int x, int pictureSize = 16);
// An item's displayed caption split at its hot-key position (1-based, the blank that ends
// the caption and begins the hot-key text); position 0 means no hot key.
[[nodiscard]] std::pair<std::wstring, std::wstring> SplitHotKey(const std::wstring& caption, int hotKeyPos);

} // namespace modDrawing
