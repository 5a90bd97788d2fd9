// The owner-drawn menu engine's entry point.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace modMenus {

// Hands a window and its menu image list to the engine, which subclasses the window once.
void SetupMenus(HWND form, HIMAGELIST images);

} // namespace modMenus
