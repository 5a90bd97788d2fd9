// The pictures of the main window's image lists, drawn by the program at 16x16.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace Images {

// The pictures of ImageList1 by number (index = number - 1): what list rows and column headers show.
// Startup rows (lv2, lv3): enabled or parked ("disabled"), its program running or not.
inline constexpr int kIconEnabled = 1;
inline constexpr int kIconEnabledRunning = 2;
inline constexpr int kIconDisabled = 3;
inline constexpr int kIconDisabledRunning = 9;
// Legacy start-up file rows of lv2.
inline constexpr int kIconAutoExecBat = 10;
inline constexpr int kIconIniFile = 11;       // Boot.ini, System.ini and Win.ini
inline constexpr int kIconConfigSys = 13;
// Service rows (lv), by the "Start" value of the service.
inline constexpr int kIconServiceManual = 1;  // also every "Start" other than 2, 3 and 4
inline constexpr int kIconServiceAutomatic = 2;
inline constexpr int kIconServiceDisabled = 3;
inline constexpr int kIconServiceManualRunning = 4;
// Headers of lv's two name columns: the one it is sorted by, and the other.
inline constexpr int kIconSortColumn = 7;
inline constexpr int kIconOtherColumn = 8;

// ImageList1, with the pictures numbered above.
[[nodiscard]] HIMAGELIST CreateListImages();
// imgPictures: 0 "folder closed", 1 "folder open".
[[nodiscard]] HIMAGELIST CreateTreeImages();
// ImageList2: the menu pictures named by the captions' "{img:N}" (index = N - 1).
[[nodiscard]] HIMAGELIST CreateMenuImages();

} // namespace Images
