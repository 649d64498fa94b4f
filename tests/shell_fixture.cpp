#include "tests/shell_fixture.h"

#include <cstdio>

#include "app/board_accessible.h"
#include "tests/board_expectations.h"

namespace modalscope::testing {

WorkFolder::WorkFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ =
        std::string(temp) + "modalscope-" + name + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    GetCurrentDirectoryA(MAX_PATH, previous_);
    SetCurrentDirectoryA(folder_.c_str());
}

WorkFolder::~WorkFolder() {
    DeleteFileA(kSettingsFile);
    SetCurrentDirectoryA(previous_);
    RemoveDirectoryA(folder_.c_str());
}

ShellSession::ShellSession(const std::string& settingsText, DWORD style, int show) {
    if (FILE* file = std::fopen(kSettingsFile, "wb")) {
        std::fwrite(settingsText.data(), 1, settingsText.size(), file);
        std::fclose(file);
    }

    // A fresh process starts from constructed statics; a second session in one
    // process gets the same.
    app = AppWindow();
    board = Fretboard();
    painter = BoardPainter();
    settings = WindowSettings();

    app.instance = GetModuleHandleA(nullptr);
    settings.loadOrDefault(kSettingsFile);
    board.resetBoard();
    if (!registerMainClass(app.instance)) {
        return;
    }
    if (!createMainWindow("Modalscope 1.0", style, app.instance, show)) {
        unregisterMainClass(app.instance);
        return;
    }
    started_ = true;
    pump();
}

ShellSession::~ShellSession() {
    if (started_ && !closed_) {
        close();
    }
}

void ShellSession::pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int ShellSession::close() {
    closed_ = true;
    SendMessageA(app.window, WM_CLOSE, 0, 0);
    int code = -1;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            code = static_cast<int>(message.wParam);
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DestroyWindow(app.window);
    endAccessibility();
    unregisterMainClass(app.instance);
    return code;
}

COLORREF ShellSession::shown(int x, int y) const {
    HDC surface = GetDC(app.window);
    const COLORREF colour = GetPixel(surface, x, y);
    ReleaseDC(app.window, surface);
    return colour;
}

int ShellSession::countShown(int left, int top, int right, int bottom, COLORREF colour) const {
    HDC surface = GetDC(app.window);
    int n = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            n += GetPixel(surface, x, y) == colour ? 1 : 0;
        }
    }
    ReleaseDC(app.window, surface);
    return n;
}

::testing::AssertionResult ShellSession::pressLandsOnItsCell(int string, int fret) const {
    const BoardMetrics& m = board.metrics();
    const int x = fret * m.cellSize, y = string * m.stringGap, third = m.cellSize / 3;
    SendMessageA(app.window, WM_LBUTTONDOWN, 0, MAKELPARAM(x + third, y + third));
    // The middle third of the cell is inside the marker wherever the marker is drawn.
    if (board.cursorString() != string || board.cursorFret() != fret ||
        countShown(x + third, y + third, x + 2 * third, y + 2 * third, kOrange) == 0) {
        return ::testing::AssertionFailure() << "the root is not drawn at the cell pressed";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult labelsFollowCursor(const Fretboard& board) {
    return labelsAreForRoot(board, board.cursorString(), board.cursorFret());
}

} // namespace modalscope::testing
