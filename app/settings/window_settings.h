// The persisted outer window size: read, normalised and written, nothing else (the window
// is fitted to its monitor in window_fit.h). No window system is needed but for the
// display's width (screen_width.h).
#pragma once

#include <cstdint>
#include <string>

namespace modalscope {

class WindowSettings {
  public:
    // True when the first word is exactly "Width"; the values are then normalised. A
    // UTF-8 byte-order mark is skipped, and a UTF-16 one makes the rest read as UTF-16.
    // Without the file, a whole new one that a save left beside it (`path` + ".tmp") is read.
    bool load(const std::string& path);
    // The display width less the classic frame's, normalised. The window shown may be
    // smaller (fitted to its monitor); start-up then stores the width it shows.
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
    // Told the cell size the window shows: kept as the width to save where the size came
    // from the screen, so the file holds what was shown. A file's width stays as read, so a
    // larger screen brings it back.
    void keepShown(std::int32_t cellSize);

  private:
    bool read(const std::string& path);
    // Rounds to a whole number of 24 fret cells plus the frame, title bar and menu. The
    // values are the outer size with the classic frame; the window itself is sized from
    // the cell size and the platform's real frame.
    void normalise();
    // The width and height of a window of `cellSize` with the classic frame.
    void setCellSize(std::int64_t cellSize);

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    bool fromScreen_ = false;
};

} // namespace modalscope
