// The process-wide board, painter and settings.
#pragma once

#include "app/window_settings.h"
#include "model/fretboard.h"
#include "render/board_painter.h"

namespace modalscope {
extern Fretboard board;
extern BoardPainter painter;
extern WindowSettings settings;
constexpr const char* kSettingsFile = "default.txt";
} // namespace modalscope
