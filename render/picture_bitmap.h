// Between shipped bitmap resources, plain pixels and GDI bitmaps.
#pragma once

#include <windows.h>

#include "render/memory_surface.h"
#include "render/picture.h"

namespace modalscope {

// Bitmap resource `id` of `module` as pixels, read from the module's own data: no GDI
// object is made, and the pixels are the stored ones on every platform.
bool loadPicture(HINSTANCE module, int id, Picture& out);

// The same resized by area averaging to width by height; a run-length encoded bitmap is
// resized as it is decoded, without its full-size picture.
bool loadPictureAt(HINSTANCE module, int id, int width, int height, Picture& out);

// A new 32-bit device-independent bitmap holding `picture`'s pixels: made in the process's
// own memory, it is far quicker to make than one like the screen's (under Wine, twenty
// markers with their surfaces take 0.5 ms instead of 7) and copies out just as fast. The
// caller owns it (null on failure or for an empty picture).
HBITMAP createBitmap(const Picture& picture);

// `picture` kept selected in `target`, as one block to copy from.
bool createSurface(MemorySurface& target, HDC reference, const Picture& picture);

} // namespace modalscope
