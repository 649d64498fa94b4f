// Runs the real main window inside a test process, the way the entry function does, in a
// private working folder so the settings file written at shut-down lands there.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/app_window.h"
#include "app/globals.h"

namespace modalscope::testing {

constexpr COLORREF kOrange = RGB(0xFF, 0x80, 0x40);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Makes a new empty folder the working folder for its lifetime; the settings file the
// program writes there is removed with it.
class WorkFolder {
  public:
    explicit WorkFolder(const char* name);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

  private:
    std::string folder_;
    char previous_[MAX_PATH] = {};
};

class ShellSession {
  public:
    // Writes `settingsText` as the settings file, then starts like the program does, shown
    // as `show` asks. A style other than 0 stands in for the main window's own.
    explicit ShellSession(const std::string& settingsText = "Width 1015\n", DWORD style = 0,
                          int show = SW_SHOWNORMAL);
    ~ShellSession();
    ShellSession(const ShellSession&) = delete;
    ShellSession& operator=(const ShellSession&) = delete;

    bool started() const { return started_; }
    // Dispatches whatever is queued, as the message loop would between inputs.
    void pump();
    // Closes as the close box does and runs the rest of the entry function's end.
    // Returns the quit code, or -1 when no quit message arrived.
    int close();
    // What the window surface shows now.
    COLORREF shown(int x, int y) const;
    int countShown(int left, int top, int right, int bottom, COLORREF colour) const;
    // A left press on fret cell `fret` of string `string` at the board's current size, which
    // must make that cell the root and show its orange marker there.
    ::testing::AssertionResult pressLandsOnItsCell(int string, int fret) const;

  private:
    WorkFolder folder_{"shell"};
    bool started_ = false;
    bool closed_ = false;
};

// Every label equals the pitch formula for the cursor, and the cursor cell is the root.
::testing::AssertionResult labelsFollowCursor(const Fretboard& board);

} // namespace modalscope::testing
