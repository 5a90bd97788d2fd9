// ImageList2: the 27 menu pictures, drawn by the program with GDI at four times their
// size and reduced with an alpha channel (smooth edges, transparent corners): 16x16 at
// 96 DPI, larger in proportion on a screen of higher DPI so they stay sharp.
#include "resources/Images.h"

#include "system/Handles.h"
#include "system/Screen.h"

#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

namespace Images {
namespace {

constexpr int kDesign = 16;  // the pictures are drawn on a 16-unit grid
constexpr int kScale = 4;
constexpr COLORREF kKey = RGB(255, 0, 255);
int pictureSize = kDesign;  // the side of the pictures being made
int surfaceSize = kDesign * kScale;

// Coordinates are in grid units (0..16), scaled to the drawing surface.
int S(double v) { return static_cast<int>(std::lround(v * surfaceSize / kDesign)); }

int ScreenSize() {
    const int dpi = Screen::Dpi();
    return dpi > 96 ? MulDiv(kDesign, dpi, 96) : kDesign;
}

struct Pt {
    double x, y;
};

class Canvas {
public:
    explicit Canvas(HDC dc) : dc_(dc) {}

    void Ellipse(double l, double t, double r, double b, COLORREF fill, COLORREF line, double width = 1) const {
        Shape(fill, line, width, [&] { ::Ellipse(dc_, S(l), S(t), S(r), S(b)); });
    }
    void Box(double l, double t, double r, double b, COLORREF fill, COLORREF line, double width = 1) const {
        Shape(fill, line, width, [&] { ::Rectangle(dc_, S(l), S(t), S(r), S(b)); });
    }
    void Fill(double l, double t, double r, double b, COLORREF fill) const {
        UniqueHbrush brush(CreateSolidBrush(fill));
        RECT rc{S(l), S(t), S(r), S(b)};
        FillRect(dc_, &rc, brush.get());
    }
    void Polygon(std::initializer_list<Pt> pts, COLORREF fill, COLORREF line, double width = 1) const {
        std::vector<POINT> p;
        for (const Pt& q : pts) p.push_back(POINT{S(q.x), S(q.y)});
        Shape(fill, line, width, [&] { ::Polygon(dc_, p.data(), static_cast<int>(p.size())); });
    }
    void PolygonOf(const std::vector<Pt>& pts, COLORREF fill, COLORREF line, double width = 1) const {
        std::vector<POINT> p;
        for (const Pt& q : pts) p.push_back(POINT{S(q.x), S(q.y)});
        Shape(fill, line, width, [&] { ::Polygon(dc_, p.data(), static_cast<int>(p.size())); });
    }
    void Line(std::initializer_list<Pt> pts, COLORREF colour, double width) const {
        LOGBRUSH lb{BS_SOLID, colour, 0};
        UniqueHpen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                    static_cast<DWORD>(S(width)), &lb, 0, nullptr));
        HGDIOBJ old = SelectObject(dc_, pen.get());
        bool first = true;
        for (const Pt& q : pts) {
            if (first) MoveToEx(dc_, S(q.x), S(q.y), nullptr);
            else LineTo(dc_, S(q.x), S(q.y));
            first = false;
        }
        SelectObject(dc_, old);
    }
    void Arc(double cx, double cy, double radius, double fromDeg, double toDeg, COLORREF colour, double width) const {
        LOGBRUSH lb{BS_SOLID, colour, 0};
        UniqueHpen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, static_cast<DWORD>(S(width)), &lb, 0,
                                    nullptr));
        HGDIOBJ old = SelectObject(dc_, pen.get());
        const double pi = 3.14159265358979;
        const double a = fromDeg * pi / 180, b = toDeg * pi / 180;
        ::Arc(dc_, S(cx - radius), S(cy - radius), S(cx + radius), S(cy + radius), S(cx + radius * std::cos(a)),
              S(cy - radius * std::sin(a)), S(cx + radius * std::cos(b)), S(cy - radius * std::sin(b)));
        SelectObject(dc_, old);
    }

private:
    template <typename F>
    void Shape(COLORREF fill, COLORREF line, double width, F draw) const {
        UniqueHbrush brush(CreateSolidBrush(fill));
        UniqueHpen pen(CreatePen(PS_SOLID, S(width), line));
        HGDIOBJ ob = SelectObject(dc_, brush.get());
        HGDIOBJ op = SelectObject(dc_, pen.get());
        draw();
        SelectObject(dc_, ob);
        SelectObject(dc_, op);
    }
    HDC dc_;
};

// Draws one picture large, reduces it to 16x16 with coverage as alpha, and adds it.
void AddPicture(HIMAGELIST list, const std::function<void(const Canvas&)>& paint) {
    BITMAPINFO big{};
    big.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    big.bmiHeader.biWidth = surfaceSize;
    big.bmiHeader.biHeight = -surfaceSize;
    big.bmiHeader.biPlanes = 1;
    big.bmiHeader.biBitCount = 32;
    big.bmiHeader.biCompression = BI_RGB;
    void* bigBits = nullptr;
    UniqueHbitmap bigBitmap(CreateDIBSection(nullptr, &big, DIB_RGB_COLORS, &bigBits, nullptr, 0));
    UniqueHdc dc(CreateCompatibleDC(nullptr));
    if (!bigBitmap || !dc || !bigBits) return;
    HGDIOBJ old = SelectObject(dc.get(), bigBitmap.get());
    {
        UniqueHbrush key(CreateSolidBrush(kKey));
        RECT all{0, 0, surfaceSize, surfaceSize};
        FillRect(dc.get(), &all, key.get());
    }
    paint(Canvas(dc.get()));
    GdiFlush();
    SelectObject(dc.get(), old);

    BITMAPINFO small = big;
    small.bmiHeader.biWidth = pictureSize;
    small.bmiHeader.biHeight = -pictureSize;
    void* smallBits = nullptr;
    UniqueHbitmap picture(CreateDIBSection(nullptr, &small, DIB_RGB_COLORS, &smallBits, nullptr, 0));
    UniqueHbitmap mask(CreateBitmap(pictureSize, pictureSize, 1, 1, nullptr));
    if (!picture || !smallBits || !mask) return;
    const auto* src = static_cast<const DWORD*>(bigBits);
    auto* dst = static_cast<DWORD*>(smallBits);
    const DWORD keyPixel = 0x00FF00FF;  // magenta as BGRA
    UniqueHdc maskDc(CreateCompatibleDC(nullptr));
    HGDIOBJ oldMask = SelectObject(maskDc.get(), mask.get());
    for (int y = 0; y < pictureSize; ++y) {
        for (int x = 0; x < pictureSize; ++x) {
            unsigned r = 0, g = 0, b = 0, n = 0;
            for (int dy = 0; dy < kScale; ++dy)
                for (int dx = 0; dx < kScale; ++dx) {
                    const DWORD p = src[(y * kScale + dy) * surfaceSize + x * kScale + dx] & 0x00FFFFFF;
                    if (p == keyPixel) continue;
                    b += p & 0xFF;
                    g += (p >> 8) & 0xFF;
                    r += (p >> 16) & 0xFF;
                    ++n;
                }
            const unsigned alpha = n * 255 / (kScale * kScale);
            dst[y * pictureSize + x] = n == 0 ? 0 : (alpha << 24) | ((r / n) << 16) | ((g / n) << 8) | (b / n);
            SetPixel(maskDc.get(), x, y, alpha >= 128 ? RGB(0, 0, 0) : RGB(255, 255, 255));
        }
    }
    SelectObject(maskDc.get(), oldMask);
    ImageList_Add(list, picture.get(), mask.get());
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(52, 168, 72), kGreenDark = RGB(24, 110, 44);
constexpr COLORREF kRed = RGB(214, 52, 48), kRedDark = RGB(140, 24, 22);
constexpr COLORREF kBlue = RGB(44, 114, 214), kBlueDark = RGB(22, 62, 140), kBlueLight = RGB(120, 180, 240);
constexpr COLORREF kAmber = RGB(236, 150, 30), kAmberDark = RGB(160, 92, 10);
constexpr COLORREF kGrey = RGB(150, 150, 150), kGreyDark = RGB(80, 80, 80), kPaper = RGB(250, 250, 250);
constexpr COLORREF kFolder = RGB(244, 196, 72), kFolderDark = RGB(170, 120, 24);
constexpr COLORREF kBrown = RGB(150, 96, 50), kBrownDark = RGB(90, 56, 26);
constexpr COLORREF kGold = RGB(226, 180, 40), kGoldDark = RGB(150, 110, 10);

void Page(const Canvas& c) {
    c.Polygon({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, kPaper, kGreyDark);
    c.Polygon({{10, 1}, {10, 4}, {13, 4}}, RGB(210, 210, 210), kGreyDark);
}

void ArrowRight(const Canvas& c, COLORREF fill, COLORREF line) {
    c.Polygon({{7.5, 9.5}, {11, 9.5}, {11, 7.5}, {15.2, 11}, {11, 14.5}, {11, 12.5}, {7.5, 12.5}}, fill, line, 0.8);
}

std::vector<Pt> Gear(double cx, double cy, double outer, double inner, int teeth) {
    std::vector<Pt> pts;
    const double pi = 3.14159265358979;
    for (int k = 0; k < teeth; ++k) {
        const double a = 2 * pi * k / teeth, step = 2 * pi / teeth;
        const double angles[4] = {a - step * 0.18, a + step * 0.18, a + step * 0.32, a + step * 0.68};
        const double radii[4] = {outer, outer, inner, inner};
        for (int i = 0; i < 4; ++i) pts.push_back({cx + radii[i] * std::cos(angles[i]), cy + radii[i] * std::sin(angles[i])});
    }
    return pts;
}

} // namespace

HIMAGELIST CreateMenuImages() {
    pictureSize = ScreenSize();
    surfaceSize = pictureSize * kScale;
    HIMAGELIST list = ImageList_Create(pictureSize, pictureSize, ILC_COLOR32 | ILC_MASK, 27, 0);
    if (!list) return nullptr;
    // 1 Automatic, Enable: a green disc with a tick.
    AddPicture(list, [](const Canvas& c) {
        c.Ellipse(1, 1, 15, 15, kGreen, kGreenDark);
        c.Line({{4.5, 8.3}, {7, 11}, {11.6, 5.2}}, kWhite, 2);
    });
    // 2 Manual: an amber disc with an "M".
    AddPicture(list, [](const Canvas& c) {
        c.Ellipse(1, 1, 15, 15, kAmber, kAmberDark);
        c.Line({{4.8, 11.3}, {4.8, 4.8}, {8, 8.6}, {11.2, 4.8}, {11.2, 11.3}}, kWhite, 1.7);
    });
    // 3 Disabled, Disable: a red no-entry sign.
    AddPicture(list, [](const Canvas& c) {
        c.Ellipse(1, 1, 15, 15, kRed, kRedDark);
        c.Box(3.8, 6.8, 12.2, 9.2, kWhite, kWhite, 0.25);
    });
    // 4 Find Target, Open Directory: a magnifying glass.
    AddPicture(list, [](const Canvas& c) {
        c.Line({{10, 10}, {14.3, 14.3}}, kBrown, 2.6);
        c.Ellipse(1.5, 1.5, 11.5, 11.5, kBlueLight, kBlueDark, 1.6);
        c.Ellipse(3.6, 3.4, 6.4, 6.2, RGB(220, 238, 255), RGB(220, 238, 255), 0.25);
    });
    // 5 Web search: a globe.
    AddPicture(list, [](const Canvas& c) {
        c.Ellipse(1, 1, 15, 15, RGB(80, 150, 230), kBlueDark);
        c.Ellipse(5, 1.2, 11, 14.8, RGB(80, 150, 230), kWhite, 0.8);
        c.Line({{1.5, 8}, {14.5, 8}}, kWhite, 0.8);
        c.Line({{2.6, 4.6}, {13.4, 4.6}}, kWhite, 0.7);
        c.Line({{2.6, 11.4}, {13.4, 11.4}}, kWhite, 0.7);
        c.Line({{8, 1.2}, {8, 14.8}}, kWhite, 0.8);
    });
    // 6 Stop: a red octagon with a white square.
    AddPicture(list, [](const Canvas& c) {
        c.Polygon({{5, 1.2}, {11, 1.2}, {14.8, 5}, {14.8, 11}, {11, 14.8}, {5, 14.8}, {1.2, 11}, {1.2, 5}}, kRed, kRedDark);
        c.Box(5.5, 5.5, 10.5, 10.5, kWhite, kWhite, 0.25);
    });
    // 7 Start, Run: a green play triangle.
    AddPicture(list, [](const Canvas& c) { c.Polygon({{3.5, 1.8}, {14, 8}, {3.5, 14.2}}, kGreen, kGreenDark); });
    // 8 Change Setting: three sliders.
    AddPicture(list, [](const Canvas& c) {
        for (double y : {3.5, 8.0, 12.5}) c.Line({{1.8, y}, {14.2, y}}, kGreyDark, 1.1);
        c.Box(9, 1.5, 12, 5.5, kBlue, kBlueDark, 0.6);
        c.Box(3.5, 6, 6.5, 10, kBlue, kBlueDark, 0.6);
        c.Box(10, 10.5, 13, 14.5, kBlue, kBlueDark, 0.6);
    });
    // 9 Install New Service, Add New Startup: a green plus.
    AddPicture(list, [](const Canvas& c) {
        c.Polygon({{6.3, 1.5}, {9.7, 1.5}, {9.7, 6.3}, {14.5, 6.3}, {14.5, 9.7}, {9.7, 9.7}, {9.7, 14.5}, {6.3, 14.5},
                   {6.3, 9.7}, {1.5, 9.7}, {1.5, 6.3}, {6.3, 6.3}},
                  kGreen, kGreenDark, 0.8);
    });
    // 10 Remove Service: a red minus.
    AddPicture(list, [](const Canvas& c) { c.Box(1.5, 6.3, 14.5, 9.7, kRed, kRedDark, 0.8); });
    // 11 Export as Text File: a ruled page with an arrow.
    AddPicture(list, [](const Canvas& c) {
        Page(c);
        for (double y : {6.0, 8.0, 10.0, 12.0}) c.Line({{5, y}, {9.5, y}}, kGrey, 0.8);
        ArrowRight(c, kBlue, kBlueDark);
    });
    // 12 Export as CSV File: a page with a green table and an arrow.
    AddPicture(list, [](const Canvas& c) {
        Page(c);
        c.Box(4.5, 5.5, 11.5, 13.5, RGB(225, 245, 225), kGreenDark, 0.6);
        c.Line({{4.5, 8.2}, {11.5, 8.2}}, kGreenDark, 0.5);
        c.Line({{4.5, 10.8}, {11.5, 10.8}}, kGreenDark, 0.5);
        c.Line({{8, 5.5}, {8, 13.5}}, kGreenDark, 0.5);
        ArrowRight(c, kGreen, kGreenDark);
    });
    // 13 Sort: an arrow down beside bars of falling length.
    AddPicture(list, [](const Canvas& c) {
        c.Line({{4, 1.8}, {4, 12.5}}, kBlueDark, 1.6);
        c.Polygon({{1.3, 10.5}, {6.7, 10.5}, {4, 14.6}}, kBlueDark, kBlueDark, 0.3);
        c.Box(8, 2, 15, 4.5, kBlue, kBlueDark, 0.5);
        c.Box(8, 6.8, 13, 9.2, kBlue, kBlueDark, 0.5);
        c.Box(8, 11.5, 11, 14, kBlue, kBlueDark, 0.5);
    });
    // 14 Icon Legend: coloured dots, each with its text line.
    AddPicture(list, [](const Canvas& c) {
        const COLORREF dots[3][2] = {{kGreen, kGreenDark}, {kRed, kRedDark}, {kBlue, kBlueDark}};
        for (int i = 0; i < 3; ++i) {
            const double y = 1.5 + i * 4.6;
            c.Ellipse(1.2, y, 5.2, y + 4, dots[i][0], dots[i][1], 0.6);
            c.Line({{7, y + 2}, {14.5, y + 2}}, kGreyDark, 1.1);
        }
    });
    // 15 Properties: a sheet of fields with a blue title bar.
    AddPicture(list, [](const Canvas& c) {
        c.Box(1.2, 1.5, 14.8, 14.5, kPaper, kGreyDark, 0.8);
        c.Fill(1.6, 1.9, 14.4, 4.6, kBlue);
        for (double y : {7.0, 9.6, 12.2}) {
            c.Box(3, y - 0.9, 4.8, y + 0.9, kBlue, kBlue, 0.2);
            c.Line({{6.3, y}, {12.8, y}}, kGrey, 0.9);
        }
    });
    // 16 Backup, Save: a diskette.
    AddPicture(list, [](const Canvas& c) {
        c.Polygon({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}, kBlue, kBlueDark, 0.8);
        c.Box(4, 1.5, 11.5, 6.5, RGB(215, 220, 230), kBlueDark, 0.6);
        c.Box(8.8, 2.4, 10.6, 5.6, kGreyDark, kGreyDark, 0.2);
        c.Box(3.5, 8.8, 12.5, 14.5, kPaper, kBlueDark, 0.6);
    });
    // 17 Restore: a circular arrow turning back.
    AddPicture(list, [](const Canvas& c) {
        c.Arc(8, 8.5, 5.3, 130, 420, kGreen, 2.3);
        c.Polygon({{0.8, 4.2}, {7.2, 3.4}, {3.6, 9.2}}, kGreen, kGreenDark, 0.4);
    });
    // 18 Delete, No Startups: a red cross.
    AddPicture(list, [](const Canvas& c) {
        c.Line({{3, 3}, {13, 13}}, kRedDark, 3.4);
        c.Line({{13, 3}, {3, 13}}, kRedDark, 3.4);
        c.Line({{3, 3}, {13, 13}}, kRed, 2.4);
        c.Line({{13, 3}, {3, 13}}, kRed, 2.4);
    });
    // 19 Exit: a door with an arrow leaving it.
    AddPicture(list, [](const Canvas& c) {
        c.Box(1.5, 1.2, 9.5, 14.8, kBrown, kBrownDark, 0.8);
        c.Ellipse(6.8, 7.6, 8.2, 9, kGold, kGold, 0.2);
        c.Polygon({{7, 6.6}, {10.8, 6.6}, {10.8, 4}, {15, 8.2}, {10.8, 12.4}, {10.8, 9.8}, {7, 9.8}}, kGreen,
                  kGreenDark, 0.7);
    });
    // 20 Contents: a blue book.
    AddPicture(list, [](const Canvas& c) {
        c.Box(2.5, 1.2, 13.8, 14.8, kBlue, kBlueDark, 0.8);
        c.Fill(2.9, 1.6, 4.8, 14.4, kBlueDark);
        c.Fill(4.8, 12.4, 13.4, 14.4, kPaper);
        c.Box(6.5, 3.8, 11.8, 6.6, kGold, kGoldDark, 0.4);
    });
    // 21 About: a blue disc with an "i".
    AddPicture(list, [](const Canvas& c) {
        c.Ellipse(1, 1, 15, 15, kBlue, kBlueDark);
        c.Ellipse(6.8, 3.2, 9.2, 5.6, kWhite, kWhite, 0.2);
        c.Box(6.9, 6.8, 9.1, 12.6, kWhite, kWhite, 0.2);
    });
    // 22 Folders: a yellow folder.
    AddPicture(list, [](const Canvas& c) {
        c.Polygon({{1.2, 3}, {6, 3}, {7.5, 4.6}, {14.8, 4.6}, {14.8, 14}, {1.2, 14}}, kFolder, kFolderDark, 0.8);
        c.Polygon({{1.2, 6.4}, {14.8, 6.4}, {14.8, 14}, {1.2, 14}}, RGB(250, 214, 110), kFolderDark, 0.8);
    });
    // 23 MS Configuration: a clipboard with ticks.
    AddPicture(list, [](const Canvas& c) {
        c.Box(2.2, 2, 13.8, 15, kBrown, kBrownDark, 0.7);
        c.Box(3.8, 3.6, 12.2, 13.6, kPaper, kGrey, 0.4);
        c.Box(5.8, 0.9, 10.2, 3.6, kGrey, kGreyDark, 0.5);
        for (double y : {6.5, 10.3}) {
            c.Line({{4.8, y}, {5.8, y + 1}, {7.4, y - 1}}, kGreen, 0.9);
            c.Line({{8.5, y}, {11.3, y}}, kGrey, 0.8);
        }
    });
    // 24 Windows Services: a cog.
    AddPicture(list, [](const Canvas& c) {
        c.PolygonOf(Gear(8, 8, 7.2, 5.2, 8), RGB(110, 130, 160), RGB(50, 60, 80), 0.6);
        c.Ellipse(5.6, 5.6, 10.4, 10.4, kWhite, RGB(50, 60, 80), 0.6);
    });
    // 25 System Configuration: a monitor.
    AddPicture(list, [](const Canvas& c) {
        c.Box(1, 1.8, 15, 11.6, RGB(70, 70, 76), RGB(40, 40, 44), 0.6);
        c.Fill(2.4, 3.2, 13.6, 10.2, RGB(70, 150, 230));
        c.Fill(6.6, 11.6, 9.4, 13.6, RGB(90, 90, 96));
        c.Box(3.8, 13.4, 12.2, 15, RGB(120, 120, 126), RGB(60, 60, 66), 0.4);
    });
    // 26 Registry Editor: three blocks.
    AddPicture(list, [](const Canvas& c) {
        c.Box(4.8, 1.2, 11.2, 7.6, RGB(70, 170, 200), RGB(20, 90, 120), 0.7);
        c.Box(1.2, 8.4, 7.6, 14.8, RGB(90, 110, 220), RGB(30, 40, 130), 0.7);
        c.Box(8.4, 8.4, 14.8, 14.8, RGB(160, 90, 200), RGB(90, 30, 120), 0.7);
    });
    // 27 A registry key: a gold key.
    AddPicture(list, [](const Canvas& c) {
        c.Ellipse(1, 4.2, 7.6, 10.8, kGold, kGoldDark, 0.8);
        c.Ellipse(3.2, 6.4, 5.4, 8.6, kKey, kGoldDark, 0.5);
        c.Box(7, 6.6, 15, 8.6, kGold, kGoldDark, 0.6);
        c.Box(11.2, 8.2, 12.8, 11, kGold, kGoldDark, 0.5);
        c.Box(13.2, 8.2, 14.8, 11.8, kGold, kGoldDark, 0.5);
    });
    return list;
}

} // namespace Images
