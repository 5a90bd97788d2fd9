// The GDI objects the menu engine creates, counted: every creation goes through
// Counted() and every deletion through the owners or Delete*(), so a test can see
// that nothing is left behind (the system's own counters read 0 under some hosts).
#pragma once

#include "system/Handles.h"

#include <windows.h>

namespace EngineGdi {

// Objects created by the engine and not yet deleted (fonts, pens, brushes, bitmaps, DCs, icons).
[[nodiscard]] long LiveObjects() noexcept;
void NoteCreated() noexcept;
void NoteDeleted() noexcept;

// Counts a freshly created object (nothing for a null handle) and hands it back.
template <typename T>
T Counted(T handle) noexcept {
    if (handle) NoteCreated();
    return handle;
}

void DeleteGdi(HGDIOBJ object) noexcept;  // DeleteObject, counted
void DeleteDc(HDC dc) noexcept;           // DeleteDC, counted
void DeleteIcon(HICON icon) noexcept;     // DestroyIcon, counted

template <typename G>
struct CountedGdiTraits {
    static G Empty() noexcept { return nullptr; }
    static bool IsEmpty(G h) noexcept { return h == nullptr; }
    static void Close(G h) noexcept { DeleteGdi(h); }
};
struct CountedDcTraits {
    static HDC Empty() noexcept { return nullptr; }
    static bool IsEmpty(HDC h) noexcept { return h == nullptr; }
    static void Close(HDC h) noexcept { DeleteDc(h); }
};
struct CountedIconTraits {
    static HICON Empty() noexcept { return nullptr; }
    static bool IsEmpty(HICON h) noexcept { return h == nullptr; }
    static void Close(HICON h) noexcept { DeleteIcon(h); }
};

using Pen = Handles::Unique<HPEN, CountedGdiTraits<HPEN>>;
using Brush = Handles::Unique<HBRUSH, CountedGdiTraits<HBRUSH>>;
using Font = Handles::Unique<HFONT, CountedGdiTraits<HFONT>>;
using Bitmap = Handles::Unique<HBITMAP, CountedGdiTraits<HBITMAP>>;
using MemoryDc = Handles::Unique<HDC, CountedDcTraits>;
using Icon = Handles::Unique<HICON, CountedIconTraits>;

// Selects an object into a DC and puts the previous one back when it goes out of
// scope; declare it after the owner of the object so it is deselected before deletion.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (dc_ && old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace EngineGdi
