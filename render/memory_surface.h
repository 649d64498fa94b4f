// A memory drawing surface with one bitmap selected into it, owned as one thing.
#pragma once

#include <windows.h>

namespace modalscope {

// Holds the surface, its bitmap and the object the surface held before, and undoes all three
// in one place: select the previous object back, delete the bitmap, delete the surface.
// release() may run any number of times; only the first after a create does anything.
class MemorySurface {
  public:
    MemorySurface() = default;
    ~MemorySurface() { release(); }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    MemorySurface(MemorySurface&& other) noexcept;
    MemorySurface& operator=(MemorySurface&& other) noexcept;

    // A new width-by-height bitmap compatible with `reference` (null: the screen), selected
    // into a new surface compatible with it. False, holding nothing, if either cannot be made
    // or the size is not positive. Releases what was held before.
    bool create(HDC reference, int width, int height);
    // The same around a bitmap made elsewhere, which this object then owns: it is deleted
    // here also when the surface cannot be made.
    bool adopt(HDC reference, HBITMAP bitmap);
    void release();

    bool ready() const { return previous_ != nullptr; }
    HDC surface() const { return surface_; }
    HBITMAP bitmap() const { return bitmap_; }
    HGDIOBJ previous() const { return previous_; }

  private:
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    HDC surface_ = nullptr;
};

} // namespace modalscope
