// Counting of the GDI objects the menu engine creates and deletes.
#include "menus/EngineGdi.h"

namespace EngineGdi {
namespace {
long live = 0;  // one UI thread: no locking
} // namespace

long LiveObjects() noexcept { return live; }
void NoteCreated() noexcept { ++live; }
void NoteDeleted() noexcept { --live; }

void DeleteGdi(HGDIOBJ object) noexcept {
    if (object && DeleteObject(object)) NoteDeleted();
}
void DeleteDc(HDC dc) noexcept {
    if (dc && DeleteDC(dc)) NoteDeleted();
}
void DeleteIcon(HICON icon) noexcept {
    if (icon && DestroyIcon(icon)) NoteDeleted();
}

} // namespace EngineGdi
