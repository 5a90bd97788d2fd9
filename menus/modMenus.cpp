// The owner-drawn menu engine's entry point.
#include "menus/modMenus.h"

namespace modMenus {

void SetupMenus(HWND form, HIMAGELIST images) {
    // The engine that draws the menus is not built yet: menus show as plain text.
    (void)form;
    (void)images;
}

} // namespace modMenus
