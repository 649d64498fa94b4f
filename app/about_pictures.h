// The About box's pictures at the box's own scale. The template's pictures have their
// sizes for a 100 % display; on a scaled one the box lays itself out larger, and each
// picture is made again at that scale from a source drawn twice as large.
#pragma once

#include <windows.h>

namespace modalscope {

// Pixels in four horizontal dialog units of `dialog`: how large its font laid it out.
int aboutBoxUnits(HWND dialog);

// Gives each picture of the box the size its template picture has times `units` / 6, the
// units of the box's font at 100 %; at 100 % the template's pictures stay as they are.
// Once a picture is replaced, the box owns what it shows (see releaseAboutPictures).
void scaleAboutPictures(HWND dialog, HINSTANCE instance, int units);

// Takes each picture back from its control and deletes it: called once, as the box is
// destroyed, for the template's pictures and for replaced ones alike.
void releaseAboutPictures(HWND dialog);

} // namespace modalscope
