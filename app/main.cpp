// Entry: everything happens in runProgram, which tests can call too.
#include "app/app_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    return modalscope::runProgram(instance, show);
}
