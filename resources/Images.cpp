// The pictures of the main window's image lists, drawn by the program at 16x16.
#include "resources/Images.h"

#include "system/Handles.h"

#include <functional>

namespace Images {
namespace {

constexpr int kSize = 16;

// Draws one picture with GDI into a 32-bit bitmap and adds it to the list;
// magenta is the mask colour.
void AddPicture(HIMAGELIST list, const std::function<void(HDC)>& paint) {
    HDC screen = GetDC(nullptr);
    UniqueHdc dc(CreateCompatibleDC(screen));
    UniqueHbitmap bitmap(CreateCompatibleBitmap(screen, kSize, kSize));
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    RECT all{0, 0, kSize, kSize};
    UniqueHbrush key(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc.get(), &all, key.get());
    paint(dc.get());
    SelectObject(dc.get(), old);
    ImageList_AddMasked(list, bitmap.get(), RGB(255, 0, 255));
}

// A solid brush and a one-pixel pen selected into dc while it lives; the old ones go back after.
class FillAndOutline {
public:
    FillAndOutline(HDC dc, COLORREF fill, COLORREF outline)
        : dc_(dc), brush_(CreateSolidBrush(fill)), pen_(CreatePen(PS_SOLID, 1, outline)),
          oldBrush_(SelectObject(dc, brush_.get())), oldPen_(SelectObject(dc, pen_.get())) {}
    ~FillAndOutline() {
        SelectObject(dc_, oldBrush_);
        SelectObject(dc_, oldPen_);
    }
    FillAndOutline(const FillAndOutline&) = delete;
    FillAndOutline& operator=(const FillAndOutline&) = delete;

private:
    HDC dc_;
    UniqueHbrush brush_;
    UniqueHpen pen_;
    HGDIOBJ oldBrush_;
    HGDIOBJ oldPen_;
};

void Disc(HDC dc, COLORREF fill, int l = 3, int t = 3, int r = 13, int b = 13) {
    FillAndOutline tools(dc, fill, RGB(40, 40, 40));
    Ellipse(dc, l, t, r, b);
}

void Box(HDC dc, COLORREF fill, int l, int t, int r, int b) {
    FillAndOutline tools(dc, fill, RGB(60, 60, 60));
    Rectangle(dc, l, t, r, b);
}

void Triangle(HDC dc, COLORREF fill, POINT a, POINT b, POINT c) {
    FillAndOutline tools(dc, fill, fill);
    POINT pts[3] = {a, b, c};
    Polygon(dc, pts, 3);
}

void Lines(HDC dc, COLORREF color, int top, int count) {
    UniqueHpen pen(CreatePen(PS_SOLID, 1, color));
    HGDIOBJ op = SelectObject(dc, pen.get());
    for (int i = 0; i < count; ++i) {
        MoveToEx(dc, 5, top + 2 * i, nullptr);
        LineTo(dc, 12, top + 2 * i);
    }
    SelectObject(dc, op);
}

// A page with ruled lines and a coloured corner band: the legacy files.
void Page(HDC dc, COLORREF band) {
    Box(dc, RGB(255, 255, 255), 3, 1, 14, 15);
    Box(dc, band, 3, 1, 14, 4);
    Lines(dc, RGB(120, 120, 120), 6, 4);
}

void Folder(HDC dc, bool open) {
    Box(dc, RGB(230, 190, 80), 1, 3, 8, 6);
    if (open) {
        Box(dc, RGB(240, 205, 100), 1, 5, 15, 14);
        Triangle(dc, RGB(250, 225, 140), {3, 8}, {15, 8}, {13, 14});
    } else {
        Box(dc, RGB(240, 200, 90), 1, 5, 15, 14);
    }
}

} // namespace

HIMAGELIST CreateListImages() {
    HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 13, 4);
    const COLORREF green = RGB(40, 170, 60), red = RGB(200, 40, 40), grey = RGB(150, 150, 150);
    AddPicture(list, [&](HDC dc) { Disc(dc, green); });                                       // 1
    AddPicture(list, [&](HDC dc) { Disc(dc, green); Triangle(dc, RGB(255, 255, 255), {6, 5}, {6, 11}, {11, 8}); }); // 2
    AddPicture(list, [&](HDC dc) { Disc(dc, red); });                                          // 3
    AddPicture(list, [&](HDC dc) { Disc(dc, RGB(60, 120, 210)); Triangle(dc, RGB(255, 255, 255), {6, 5}, {6, 11}, {11, 8}); }); // 4
    AddPicture(list, [&](HDC dc) { Disc(dc, grey); });                                         // 5
    AddPicture(list, [&](HDC dc) { Disc(dc, RGB(230, 180, 40)); });                            // 6
    AddPicture(list, [&](HDC dc) { Triangle(dc, RGB(40, 90, 180), {3, 5}, {13, 5}, {8, 11}); }); // 7 sort column
    AddPicture(list, [&](HDC dc) { Triangle(dc, RGB(190, 190, 190), {3, 5}, {13, 5}, {8, 11}); }); // 8 other column
    AddPicture(list, [&](HDC dc) { Disc(dc, red); Triangle(dc, RGB(255, 255, 255), {6, 5}, {6, 11}, {11, 8}); }); // 9
    AddPicture(list, [&](HDC dc) { Page(dc, RGB(40, 40, 40)); });                              // 10 AutoExec.bat
    AddPicture(list, [&](HDC dc) { Page(dc, RGB(60, 120, 210)); });                            // 11 .ini files
    AddPicture(list, [&](HDC dc) { Page(dc, RGB(150, 150, 150)); });                           // 12
    AddPicture(list, [&](HDC dc) { Page(dc, RGB(200, 120, 30)); });                            // 13 Config.sys
    return list;
}

HIMAGELIST CreateTreeImages() {
    HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 2, 0);
    AddPicture(list, [](HDC dc) { Folder(dc, false); });
    AddPicture(list, [](HDC dc) { Folder(dc, true); });
    return list;
}

// CreateMenuImages: resources/MenuImages.cpp.

} // namespace Images
