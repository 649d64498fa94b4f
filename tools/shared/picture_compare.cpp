#include "tools/shared/picture_compare.h"

namespace modalscope::bench {

std::vector<std::uint32_t> readPixels(HDC surface, int width, int height) {
    std::vector<std::uint32_t> pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(surface, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC copySurface = CreateCompatibleDC(surface);
    if (copy != nullptr && copySurface != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(copySurface, copy);
        BitBlt(copySurface, 0, 0, width, height, surface, 0, 0, SRCCOPY);
        GdiFlush(); // the section's memory is current only after the batch is flushed
        const std::uint32_t* first = static_cast<const std::uint32_t*>(bits);
        pixels.assign(first, first + static_cast<std::size_t>(width) * height);
        for (std::uint32_t& pixel : pixels) {
            pixel &= 0x00FFFFFF;
        }
        SelectObject(copySurface, previous);
    }
    if (copySurface != nullptr) {
        DeleteDC(copySurface);
    }
    if (copy != nullptr) {
        DeleteObject(copy);
    }
    return pixels;
}

} // namespace modalscope::bench
