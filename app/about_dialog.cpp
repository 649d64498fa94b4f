#include "app/about_dialog.h"

#include "app/about_pictures.h"
#include "resource.h"

namespace modalscope {

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        scaleAboutPictures(dialog,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)),
                           aboutPictureDpi(dialog));
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

void runAboutDialog(HINSTANCE instance) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, aboutDialogProc, 0);
}

} // namespace modalscope
