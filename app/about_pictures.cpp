#include "app/about_pictures.h"

#include <algorithm>
#include <iterator>

#include "app/settings/window_fit.h"
#include "render/picture.h"
#include "render/picture_bitmap.h"
#include "resource.h"

namespace modalscope {

namespace {

// Pixels per inch at 100 %, where the template's pictures have their shipped sizes.
constexpr int kDpiAt100 = static_cast<int>(kStandardDpi);

// Pixels in four horizontal dialog units of the box's font (MS Shell Dlg, 8 points) at
// 100 %, where the banner's 199 units are its 298 pixels.
constexpr int kUnitsAt100 = 6;

// The large sources are drawn at this many times the template's pictures.
constexpr int kLargeScale = 2;

// Shipped and large sources in the template's order of the picture controls.
constexpr int kShippedSources[] = {IDB_ABOUT_BANNER, IDB_ABOUT_GRAPHICS, IDB_ABOUT_PROGRAMMING};
constexpr int kLargeSources[] = {IDB_ABOUT_BANNER_LARGE, IDB_ABOUT_GRAPHICS_LARGE,
                                 IDB_ABOUT_PROGRAMMING_LARGE};

// The next picture control after `control` (null: the first), in the template's order.
HWND nextPicture(HWND dialog, HWND control) {
    control = control == nullptr ? GetWindow(dialog, GW_CHILD) : GetWindow(control, GW_HWNDNEXT);
    for (; control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        char name[8] = {};
        if (GetClassNameA(control, name, sizeof name) > 0 && lstrcmpiA(name, "Static") == 0 &&
            (GetWindowLongPtrA(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            return control;
        }
    }
    return nullptr;
}

HBITMAP setImage(HWND control, HBITMAP bitmap) {
    return reinterpret_cast<HBITMAP>(
        SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

} // namespace

int aboutPictureDpi(HWND dialog, UINT boxDpi) {
    const int dpi = boxDpi > 0 ? static_cast<int>(boxDpi) : kDpiAt100;
    // A font does not grow exactly with the display (under Wine at 120 DPI the box's font is
    // 8/6 as wide as at 100 % but only 15/12 as high): on a scaled display the pictures follow
    // the smaller of its width's growth and the display's. At 100 % they stay as shipped.
    RECT units = {0, 0, 4, 0};
    const int layout = MapDialogRect(dialog, &units) ? units.right : kUnitsAt100;
    return dpi <= kDpiAt100
               ? dpi
               : std::max(kDpiAt100, std::min(dpi, MulDiv(kDpiAt100, layout, kUnitsAt100)));
}

void scaleAboutPictures(HWND dialog, HINSTANCE instance, int dpi, bool again) {
    if (dpi <= 0 || (dpi == kDpiAt100 && !again)) {
        return;
    }
    HWND control = nullptr;
    for (std::size_t i = 0; i < std::size(kLargeSources); ++i) {
        control = nextPicture(dialog, control);
        if (control == nullptr) {
            return;
        }
        const bool shipped = dpi == kDpiAt100;
        Picture source;
        if (!loadPicture(instance, shipped ? kShippedSources[i] : kLargeSources[i], source)) {
            continue; // the picture shown stays
        }
        const int scale = kDpiAt100 * kLargeScale;
        HBITMAP bitmap =
            createBitmap(shipped ? source
                                 : resizeByArea(source, MulDiv(source.width, dpi, scale),
                                                MulDiv(source.height, dpi, scale)));
        if (bitmap == nullptr) {
            continue; // the picture shown stays
        }
        // Once replaced, a static control deletes no picture: the one it had is ours now. A
        // control may show a copy of what it was given (bitmaps with alpha, common controls
        // 6); then the copy is what it hands back at the end, and ours is not needed.
        DeleteObject(setImage(control, bitmap));
        if (reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0)) !=
            bitmap) {
            DeleteObject(bitmap);
        }
    }
}

void releaseAboutPictures(HWND dialog) {
    for (HWND control = nextPicture(dialog, nullptr); control != nullptr;
         control = nextPicture(dialog, control)) {
        HBITMAP shown = setImage(control, nullptr);
        if (shown != nullptr) {
            DeleteObject(shown);
        }
    }
}

} // namespace modalscope
