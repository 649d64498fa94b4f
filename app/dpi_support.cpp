#include "app/dpi_support.h"

#include "app/main_window_style.h"

namespace modalscope {

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using MetricForDpiCall = int(WINAPI*)(int, UINT);

// The address of a USER32 call, or null where this Windows has none.
template <typename Call> Call userCall(const char* name) {
    HMODULE user = GetModuleHandleA("user32.dll");
    return user != nullptr
               ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(user, name)))
               : nullptr;
}

} // namespace

UINT displayDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : kStandardDpi;
}

UINT windowDpi(HWND window) {
    static const auto getDpiForWindow = userCall<GetDpiForWindowCall>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : displayDpi();
}

FrameEdges frameAtDpi(DWORD style, UINT dpi) {
    static const auto adjust = userCall<AdjustForDpiCall>("AdjustWindowRectExForDpi");
    RECT rect = {0, 0, 0, 0};
    bool measured = false;
    if (adjust == nullptr) {
        measured = outerFromClient(rect, style); // one scale for the whole desktop
    } else {
        measured = adjust(&rect, framedStyle(style), TRUE, 0, dpi) != FALSE;
    }
    if (!measured) {
        return kClassicFrame;
    }
    return {-rect.left, -rect.top, rect.right, rect.bottom};
}

int systemMetricForDpi(int index, UINT dpi) {
    static const auto metric = userCall<MetricForDpiCall>("GetSystemMetricsForDpi");
    return metric != nullptr ? metric(index, dpi) : GetSystemMetrics(index);
}

} // namespace modalscope
