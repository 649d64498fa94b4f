// The persisted outer window size. Reading, normalising and writing need no window
// system; only the screen query (screen_width.h) does.
#pragma once

#include <cstdint>
#include <string>

namespace modalscope {

class WindowSettings {
  public:
    // True when the first word is exactly "Width"; the values are then normalised.
    bool load(const std::string& path);
    void sizeFromScreen();
    void loadOrDefault(const std::string& path);
    // Failures to write are deliberately not reported.
    void save(const std::string& path) const;

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

  private:
    // Rounds to a whole number of 24 fret cells plus the frame, title bar and menu.
    void normalise();

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

} // namespace modalscope
