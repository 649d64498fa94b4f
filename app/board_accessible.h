// The board for screen readers and other assistive technology, through Active Accessibility:
// the client area's object with the neck cells and palette boxes as its children, and the
// events that tell listeners what an input changed.
#pragma once

#include <windows.h>

namespace modalscope {

// Answers WM_GETOBJECT: for the client area, the board's object, made on the first request
// (which loads Active Accessibility) and kept while the window lives; anything else, and
// everything once the window is shutting down or the libraries cannot be loaded, is the
// platform's.
LRESULT answerGetObject(HWND window, WPARAM flags, LPARAM objectId);

// After an input: the focus event for a root that moved, a state change for each palette box
// shown or hidden, a name change for each box respelled, since the last call.
void announceBoardChanges();

// The window got the keyboard: the root cell has the focus, which a screen reader speaks,
// whether or not it has asked for the board yet.
void announceFocus();

// The window is going: the object is cut off from its clients, which may hold it longer and
// get an error for every later call, the shell lets go of it, and no new one is made.
void disconnectAccessible();

// After the message loop: leaves COM and frees the libraries the first request loaded.
void endAccessibility();

} // namespace modalscope
