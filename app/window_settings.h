// The persisted outer window size. Reading, normalising and writing need no window
// system; only the screen queries (screen_width.h, screen_area.h) do.
#pragma once

#include <cstdint>
#include <string>

#include "app/window_fit.h"

namespace modalscope {

class WindowSettings {
  public:
    // True when the first word is exactly "Width"; the values are then normalised. A
    // UTF-8 byte-order mark is skipped, and a UTF-16 one makes the rest read as UTF-16.
    // Without the file, a whole new one that a save left beside it (`path` + ".tmp") is read.
    bool load(const std::string& path);
    // The display width less 6, normalised, then lowered only as far as the whole window
    // needs to fit the work area; stored as the size it became.
    void sizeFromScreen();
    void loadOrDefault(const std::string& path);
    // Replaces the file in one step. Failures are deliberately not reported; they leave
    // the old file as it was.
    void save(const std::string& path) const;

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // The cell size the stored width was normalised to.
    std::int32_t cellSize() const {
        return static_cast<std::int32_t>((std::int64_t{width_} - 7) / 24);
    }
    // The cell size to show: the stored one, or the largest whose whole window fits the
    // work area. The stored width stays as read, so a larger screen brings it back.
    std::int32_t shownCellSize() const;
    // Where the window opens: the work area's top-left corner, clear of a task bar at the
    // top or the left; the screen's corner when the work area is unknown.
    static PixelPoint shownOrigin();

  private:
    bool read(const std::string& path);
    // Rounds to a whole number of 24 fret cells plus the frame, title bar and menu. The
    // values are the outer size with the classic frame; the window itself is sized from
    // the cell size and the platform's real frame.
    void normalise();
    void setCellSize(std::int64_t cellSize);

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

} // namespace modalscope
