// The screen's DPI, read from the screen's device context once, and what of a place lies on
// the monitors' work areas.
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

bool ReachableOnWorkArea(const RECT& band, int minWidth, int minHeight) {
    struct Search {
        RECT band;
        int minWidth, minHeight;
        bool found;
    } search{band, minWidth, minHeight, false};
    const auto onMonitor = [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        RECT part{};
        if (GetMonitorInfoW(monitor, &info) && IntersectRect(&part, &s.band, &info.rcWork) &&
            part.right - part.left >= s.minWidth && part.bottom - part.top >= s.minHeight)
            s.found = true;
        return !s.found;  // stop at the first that holds enough of it
    };
    EnumDisplayMonitors(nullptr, nullptr, onMonitor, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace Screen
