// The program from start to end: settings, board, class, window, loop, clean-up.
#include "app/app_window.h"
#include "app/board_accessible.h"
#include "app/globals.h"
#include "app/system_dlls.h"

namespace modalscope {

int runProgram(HINSTANCE instance, int show) {
    restrictDllSearch();
    app.instance = instance;
    settings.loadOrDefault(kSettingsFile);
    board.resetBoard();
    if (!registerMainClass(instance)) {
        return 1;
    }
    if (!createMainWindow("Modalscope 1.0", 0, instance, show)) {
        unregisterMainClass(instance);
        return 1;
    }
    const int exitCode = runMessageLoop();
    DestroyWindow(app.window);
    endAccessibility();
    unregisterMainClass(instance);
    return exitCode;
}

} // namespace modalscope
