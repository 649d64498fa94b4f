// The modal About box.
#pragma once

#include <windows.h>

namespace modalscope {

// Where the box opens: the main window, whose monitor it opens on, and that window's pixels
// per inch, at which the box makes its pictures.
struct AboutOpening {
    HWND mainWindow = nullptr;
    UINT dpi = 0;
};

// OK (or Enter) and the close box end the box with 0; Escape's cancel command does not.
// Opening (with an AboutOpening, or none: the primary monitor at the display's scale), the
// box sizes its pictures to its scale; destroyed, it deletes them.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the box without an owner, so the main window stays usable while it is open. The
// wide entry point keeps the Russian texts intact whatever the ANSI code page is.
void runAboutDialog(HINSTANCE instance, const AboutOpening& opening = AboutOpening());

} // namespace modalscope
