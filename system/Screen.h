// The screen's pixels per inch, the one measure every layout, font and picture size scales by.
#pragma once

#include <windows.h>

namespace Screen {

// Read once: the program is system-DPI aware, and Windows keeps that DPI for the process's
// life (a new setting takes effect when the program starts again). 96 when it cannot be read.
[[nodiscard]] int Dpi();

// True when the part of band that lies on one monitor's work area is at least minWidth wide
// and minHeight high: a caption there can be taken hold of and dragged.
[[nodiscard]] bool ReachableOnWorkArea(const RECT& band, int minWidth, int minHeight);

} // namespace Screen
