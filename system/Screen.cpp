// The screen's DPI, read from the screen's device context once.
#include "system/Screen.h"

#include <windows.h>

namespace Screen {

int Dpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

} // namespace Screen
