#pragma once
// Owners (Unique) of GDI objects: a pen, brush, bitmap or font deleted with DeleteObject, and an
// object selected into a device context, put back by selecting the one it replaced.
#include <windows.h>

#include "common/win32/Unique.h"

namespace qorvani {

namespace owners {
template <typename H>
void DeleteGdiObject(H object) { DeleteObject(object); }

// An object selected into a device context, and the one it replaced.
struct Selection {
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
};
struct SelectionTraits {
    using Handle = Selection;
    static Handle Invalid() { return {}; }
    static bool IsValid(const Handle& s) { return s.dc != nullptr && s.previous != nullptr && s.previous != HGDI_ERROR; }
    static void Close(const Handle& s) { SelectObject(s.dc, s.previous); }
};
}  // namespace owners

template <typename H>
using GdiObject = Unique<NullableTraits<H, owners::DeleteGdiObject<H>>>;  // DeleteObject
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;
using SelectedObject = Unique<owners::SelectionTraits>;  // the replaced object selected back

// Selects object into dc until the owner goes.
inline SelectedObject SelectInto(HDC dc, HGDIOBJ object) { return SelectedObject({dc, SelectObject(dc, object)}); }

}  // namespace qorvani
