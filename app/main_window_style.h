// The main window's style and the outer size the platform gives it for a client size.
#pragma once

#include <windows.h>

namespace modalscope {

// No caption or border flags: a top-level window without WS_POPUP gets both anyway.
constexpr DWORD kMainWindowStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;

// The style a frame is measured for. The platform's adjustment only counts the flags it is
// given, so the caption that an overlapped window always gets is named here.
constexpr DWORD framedStyle(DWORD style) {
    return (style & (WS_POPUP | WS_CHILD)) == 0 ? style | WS_CAPTION : style;
}

// Grows a client rectangle to the window rectangle for `style` with the class menu.
inline bool outerFromClient(RECT& rect, DWORD style) {
    return AdjustWindowRectEx(&rect, framedStyle(style), TRUE, 0) != FALSE;
}

} // namespace modalscope
