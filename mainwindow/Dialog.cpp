// What every dialog shares: the screen's DPI, the message font and the modal message loop.
#include "mainwindow/Dialog.h"

#include "system/Handles.h"

namespace DialogSupport {

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

HFONT MessageFont() {
    static const UniqueHfont font = [] {
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof(ncm);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
        return UniqueHfont(CreateFontIndirectW(&ncm.lfMessageFont));
    }();
    return font.get() ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void RunModal(HWND window) {
    MSG msg;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // left for the program's own loop
            break;
        }
        if (got == -1) break;
        if (IsWindow(window) && IsDialogMessageW(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace DialogSupport
