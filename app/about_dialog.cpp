#include "app/about_dialog.h"

#include "app/about_pictures.h"
#include "app/dpi_support.h"
#include "resource.h"

namespace modalscope {

namespace {

// The box keeps its place at a work area's top-left corner, but on the main window's
// monitor, whose scale is then the box's too.
void moveNear(HWND dialog, HWND mainWindow) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (mainWindow != nullptr &&
        GetMonitorInfoW(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        SetWindowPos(dialog, nullptr, monitor.rcWork.left, monitor.rcWork.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Posted to the box after a change of its scale, so that its pictures are made once the
// default handling has laid the box out at the new scale.
constexpr UINT kRemakePictures = WM_APP + 1;

HINSTANCE instanceOf(HWND dialog) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
}

void openBox(HWND dialog, HWND mainWindow) {
    moveNear(dialog, mainWindow);
    scaleAboutPictures(dialog, instanceOf(dialog), aboutPictureDpi(dialog, windowDpi(dialog)));
}

void remakePictures(HWND dialog, UINT dpi) {
    scaleAboutPictures(dialog, instanceOf(dialog), aboutPictureDpi(dialog, dpi), true);
}

} // namespace

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        openBox(dialog, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_DPICHANGED:
        PostMessageW(dialog, kRemakePictures, LOWORD(wParam), 0);
        return FALSE; // the default handling lays the box out at the new scale
    case kRemakePictures:
        remakePictures(dialog, static_cast<UINT>(wParam));
        return TRUE;
    case WM_DESTROY:
        releaseAboutPictures(dialog);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return FALSE;
    default:
        return FALSE;
    }
}

// Common Controls 6 style the About box only, so they are asked for here, from the exe's
// own About manifest, rather than in the process manifest: the start of the program then
// does not load and bind them.
void runAboutDialog(HINSTANCE instance, HWND mainWindow) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(instance, path, MAX_PATH);
    ACTCTXW request = {};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    request.lpSource = path;
    request.hModule = instance;
    request.lpResourceName = MAKEINTRESOURCEW(IDR_ABOUT_MANIFEST);
    HANDLE context = CreateActCtxW(&request);
    ULONG_PTR cookie = 0;
    const bool active = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie);
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, aboutDialogProc,
                    reinterpret_cast<LPARAM>(mainWindow));
    if (active) {
        DeactivateActCtx(0, cookie);
    }
    if (context != INVALID_HANDLE_VALUE) {
        ReleaseActCtx(context);
    }
}

} // namespace modalscope
