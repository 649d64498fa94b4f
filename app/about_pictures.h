// The About box's pictures at the display's scale. The template's pictures have their
// sizes for a 100 % display; on a scaled one the box lays itself out larger, and each
// picture is made again at that scale from a source drawn twice as large.
#pragma once

#include <windows.h>

namespace modalscope {

// The pixels per inch the box's pictures are made for: the box's scale `dpi`, but on a
// scaled display no more than the box's own layout grew (its font's width against the
// 100 % one), so that each picture stays within its place.
int aboutPictureDpi(HWND dialog, UINT dpi);

// Gives each picture of the box its template picture's size times `dpi` / 96, made from its
// large source. At 96 the template's pictures stay as they are, or, with `again` (the box's
// scale changed after it opened), are made anew from the shipped pictures. Once a picture is
// replaced, the box owns what it shows (see releaseAboutPictures).
void scaleAboutPictures(HWND dialog, HINSTANCE instance, int dpi, bool again = false);

// Takes each picture back from its control and deletes it: called once, as the box is
// destroyed, for the template's pictures and for replaced ones alike.
void releaseAboutPictures(HWND dialog);

} // namespace modalscope
