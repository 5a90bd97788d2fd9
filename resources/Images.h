// The pictures of the main window's image lists, drawn by the program at 16x16.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace Images {

// ImageList1: list-row and column-header pictures, by design number (index = number - 1):
// 1 enabled/manual, 2 running/automatic, 3 disabled, 4 manual and running, 7 sort column,
// 8 other column, 9 disabled and running, 10 AutoExec.bat, 11 .ini files, 13 Config.sys.
[[nodiscard]] HIMAGELIST CreateListImages();
// imgPictures: 0 "folder closed", 1 "folder open".
[[nodiscard]] HIMAGELIST CreateTreeImages();
// ImageList2: the menu pictures named by the captions' "{img:N}" (index = N - 1).
[[nodiscard]] HIMAGELIST CreateMenuImages();

} // namespace Images
