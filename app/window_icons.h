// The main window's own large and small icon at one scale, for a window whose scale
// changes after it was made (the class's icons have the start's sizes).
#pragma once

#include <windows.h>

namespace modalscope {

class WindowIcons {
  public:
    WindowIcons() = default;
    WindowIcons(const WindowIcons&) = delete;
    WindowIcons& operator=(const WindowIcons&) = delete;
    WindowIcons(WindowIcons&& other) noexcept { *this = static_cast<WindowIcons&&>(other); }
    WindowIcons& operator=(WindowIcons&& other) noexcept;
    ~WindowIcons() { destroy(); }

    // Loads the program's icon at the sizes `dpi` asks for and gives them to the window;
    // the ones it showed before are destroyed once the window has let go of them.
    void apply(HWND window, HINSTANCE instance, UINT dpi);
    // Gives the window back the class's icons and destroys ours.
    void release(HWND window);

    HICON largeIcon() const { return large_; }
    HICON smallIcon() const { return small_; }

  private:
    void destroy();

    HICON large_ = nullptr;
    HICON small_ = nullptr;
};

} // namespace modalscope
