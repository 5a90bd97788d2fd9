// The screen's pixels per inch, the one measure every layout, font and picture size scales by.
#pragma once

namespace Screen {

// Read once: the program is system-DPI aware, and Windows keeps that DPI for the process's
// life (a new setting takes effect when the program starts again). 96 when it cannot be read.
[[nodiscard]] int Dpi();

} // namespace Screen
