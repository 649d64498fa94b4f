#include "render/memory_surface.h"

namespace modalscope {

MemorySurface::MemorySurface(MemorySurface&& other) noexcept
    : bitmap_(other.bitmap_), previous_(other.previous_), surface_(other.surface_) {
    other.bitmap_ = nullptr;
    other.previous_ = nullptr;
    other.surface_ = nullptr;
}

MemorySurface& MemorySurface::operator=(MemorySurface&& other) noexcept {
    if (this != &other) {
        release();
        bitmap_ = other.bitmap_;
        previous_ = other.previous_;
        surface_ = other.surface_;
        other.bitmap_ = nullptr;
        other.previous_ = nullptr;
        other.surface_ = nullptr;
    }
    return *this;
}

bool MemorySurface::create(HDC reference, int width, int height) {
    release();
    if (width <= 0 || height <= 0) {
        return false; // a zero size would give the stock one-pixel monochrome bitmap
    }
    // A bitmap compatible with a memory surface takes that surface's bitmap format, so the
    // screen stands in for a missing reference, never a fresh memory surface.
    HDC screen = reference == nullptr ? GetDC(nullptr) : nullptr;
    HBITMAP bitmap =
        CreateCompatibleBitmap(reference != nullptr ? reference : screen, width, height);
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return adopt(reference, bitmap);
}

bool MemorySurface::adopt(HDC reference, HBITMAP bitmap) {
    release();
    if (bitmap == nullptr) {
        return false;
    }
    bitmap_ = bitmap;
    surface_ = CreateCompatibleDC(reference);
    if (surface_ != nullptr) {
        previous_ = SelectObject(surface_, bitmap_);
    }
    if (previous_ == nullptr) {
        release();
        return false;
    }
    return true;
}

void MemorySurface::release() {
    if (previous_ != nullptr) {
        SelectObject(surface_, previous_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    if (surface_ != nullptr) {
        DeleteDC(surface_);
    }
    bitmap_ = nullptr;
    previous_ = nullptr;
    surface_ = nullptr;
}

} // namespace modalscope
