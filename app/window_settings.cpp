#include "app/window_settings.h"

#include <fstream>
#include <locale>

#include "app/screen_area.h"
#include "app/screen_width.h"

namespace modalscope {

namespace {

bool isSpace(int c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

// Reads an optionally signed decimal integer after whitespace. Stream extraction would
// store 0 or a range limit on failure, so the value is built here and only committed
// when it is complete and in range.
bool readInt32(std::istream& in, std::int32_t& value) {
    int c = in.get();
    while (c != EOF && isSpace(c)) {
        c = in.get();
    }
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = in.get();
    }
    std::int64_t magnitude = 0;
    bool anyDigit = false;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    while (c >= '0' && c <= '9') {
        anyDigit = true;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) {
            return false;
        }
        c = in.get();
    }
    if (!anyDigit) {
        return false;
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

} // namespace

void WindowSettings::normalise() {
    setCellSize((static_cast<std::int64_t>(width_) - 6) / 24);
}

void WindowSettings::setCellSize(std::int64_t cellSize) {
    width_ = static_cast<std::int32_t>(24 * cellSize + 7);
    height_ = static_cast<std::int32_t>(7 * cellSize + 44);
}

std::int32_t WindowSettings::shownCellSize() const {
    PixelSize area;
    PixelSize frame;
    if (!queryWorkArea(area) || !queryWindowFrame(frame)) {
        return cellSize(); // nothing known to fit: as stored
    }
    return fittingCellSize(cellSize(), frame, area);
}

bool WindowSettings::load(const std::string& path) {
    std::ifstream in;
    in.imbue(std::locale::classic());
    in.open(path);
    if (!in) {
        return false;
    }
    std::string word;
    if (!(in >> word) || word != "Width") {
        return false;
    }
    std::int32_t value = 0;
    if (readInt32(in, value)) {
        width_ = value;
    }
    normalise();
    return true;
}

void WindowSettings::sizeFromScreen() {
    int screen = 0;
    width_ = queryScreenWidth(screen) ? screen - 6 : 800;
    normalise();
    setCellSize(shownCellSize());
}

void WindowSettings::loadOrDefault(const std::string& path) {
    if (!load(path)) {
        sizeFromScreen();
    }
}

void WindowSettings::save(const std::string& path) const {
    std::ofstream out;
    out.imbue(std::locale::classic());
    out.open(path, std::ios::out | std::ios::trunc);
    out << "Width " << width_ << '\n';
    out.flush();
}

} // namespace modalscope
