#include "app/globals.h"

namespace modalscope {
AppWindow app;
Fretboard board;
BoardPainter painter;
WindowSettings settings;
} // namespace modalscope
