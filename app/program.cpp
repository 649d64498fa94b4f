// The program from start to end: settings, board, class, window, loop, clean-up.
#include "app/app_window.h"
#include "app/globals.h"

namespace modalscope {

int runProgram(HINSTANCE instance, int show) {
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
    unregisterMainClass(instance);
    return exitCode;
}

} // namespace modalscope
