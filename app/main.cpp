// Entry: settings, board, class, window, then the loop until the quit message.
#include "app/app_window.h"
#include "app/globals.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace modalscope;
    app.instance = instance;
    settings.loadOrDefault(kSettingsFile);
    board.resetBoard();
    if (!registerMainClass(instance)) {
        return 1;
    }
    if (!createMainWindow("Modalscope 1.0", 0, instance)) {
        unregisterMainClass(instance);
        return 1;
    }
    const int exitCode = runMessageLoop();
    DestroyWindow(app.window);
    unregisterMainClass(instance);
    return exitCode;
}
