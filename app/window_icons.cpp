#include "app/window_icons.h"

#include <initializer_list>

#include "app/dpi_support.h"
#include "resource.h"

namespace modalscope {

namespace {

// Not shared: a shared icon comes at the size first asked for, and these are asked for
// at each scale the window meets. Each is ours to destroy.
HICON loadIconAt(HINSTANCE instance, int side) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MODALSCOPE), IMAGE_ICON,
                                         side, side, LR_DEFAULTCOLOR));
}

} // namespace

WindowIcons& WindowIcons::operator=(WindowIcons&& other) noexcept {
    if (this != &other) {
        destroy();
        large_ = other.large_;
        small_ = other.small_;
        other.large_ = nullptr;
        other.small_ = nullptr;
    }
    return *this;
}

void WindowIcons::apply(HWND window, HINSTANCE instance, UINT dpi) {
    HICON bigIcon = loadIconAt(instance, systemMetricForDpi(SM_CXICON, dpi));
    HICON smallIcon = loadIconAt(instance, systemMetricForDpi(SM_CXSMICON, dpi));
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    destroy();
    large_ = bigIcon;
    small_ = smallIcon;
}

void WindowIcons::release(HWND window) {
    if (large_ == nullptr && small_ == nullptr) {
        return;
    }
    if (window != nullptr) {
        SendMessageA(window, WM_SETICON, ICON_BIG, 0);
        SendMessageA(window, WM_SETICON, ICON_SMALL, 0);
    }
    destroy();
}

void WindowIcons::destroy() {
    for (HICON* icon : {&large_, &small_}) {
        if (*icon != nullptr) {
            DestroyIcon(*icon);
            *icon = nullptr;
        }
    }
}

} // namespace modalscope
