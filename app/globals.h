// The process-wide shell state, board, painter and settings: one of each, constructed
// before the entry function runs.
#pragma once

#include "app/app_window.h"
#include "app/settings/window_settings.h"
#include "model/fretboard.h"
#include "render/board_painter.h"

namespace modalscope {
extern AppWindow app;
extern Fretboard board;
extern BoardPainter painter;
extern WindowSettings settings;
constexpr const char* kSettingsFile = "default.txt";
} // namespace modalscope
