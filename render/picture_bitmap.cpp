#include "render/picture_bitmap.h"

#include <cstring>

namespace modalscope {

namespace {

// A bitmap resource's packed bitmap, in the module's own data: nothing to free.
const std::uint8_t* bitmapData(HINSTANCE module, int id, std::size_t& size) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)); // RT_BITMAP
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    size = found != nullptr ? SizeofResource(module, found) : 0;
    return loaded != nullptr ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
}

} // namespace

bool loadPicture(HINSTANCE module, int id, Picture& out) {
    std::size_t size = 0;
    const std::uint8_t* data = bitmapData(module, id, size);
    return data != nullptr && decodeDib(data, size, out);
}

bool loadPictureAt(HINSTANCE module, int id, int width, int height, Picture& out) {
    std::size_t size = 0;
    const std::uint8_t* data = bitmapData(module, id, size);
    return data != nullptr && decodeDibResized(data, size, width, height, out);
}

HBITMAP createBitmap(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) {
        return nullptr;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // rows from the top, as the picture keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
    }
    return bitmap;
}

bool createSurface(MemorySurface& target, HDC reference, const Picture& picture) {
    return target.adopt(reference, createBitmap(picture));
}

} // namespace modalscope
