// The board for screen readers and other assistive technology, through Active Accessibility:
// the client area's object with the neck cells and palette boxes as its children, and the
// events that tell listeners what an input changed.
#pragma once

#include <windows.h>

namespace modalscope {

// Answers WM_GETOBJECT: for the client area, the board's object, made on the first request
// and kept while the window lives; anything else is the platform's.
LRESULT answerGetObject(HWND window, WPARAM flags, LPARAM objectId);

// After an input: the focus event for a root that moved, a state change for each palette box
// shown or hidden, a name change for each box respelled, since the last call.
void announceBoardChanges();

// The window is going: the object, which its clients may hold longer, answers every later
// call with an error, and the shell lets go of it.
void disconnectAccessible();

} // namespace modalscope
