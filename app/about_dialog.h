// The modal About box.
#pragma once

#include <windows.h>

namespace modalscope {

// OK (or Enter) and the close box end the box with 0; Escape's cancel command does not.
// Opening (on the monitor of the main window given as the creation parameter, or of none:
// the primary one) and at each change of its scale, the box sizes its pictures to its own
// scale; destroyed, it deletes them.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the box without an owner, so the main window stays usable while it is open. The
// wide entry point keeps the Russian texts intact whatever the ANSI code page is.
void runAboutDialog(HINSTANCE instance, HWND mainWindow = nullptr);

} // namespace modalscope
