#include "app/window_settings.h"

#include <cstddef>
#include <fstream>
#include <string>
#include <locale>

#include "app/screen_area.h"
#include "app/screen_width.h"

namespace modalscope {

namespace {

constexpr int kEnd = -1;

bool isSpace(int c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

// The file's bytes a block at a time: quick over any amount of whitespace, where a
// per-byte stream call would not be, and read through the stream, which turns a failing
// read (a folder, a device) into the end of the data instead of an exception.
class ByteReader {
  public:
    explicit ByteReader(std::istream& in) : in_(in) {}
    int next() {
        if (position_ == end_) {
            in_.read(block_, sizeof(block_));
            end_ = in_.gcount();
            position_ = 0;
            if (end_ <= 0) {
                return kEnd;
            }
        }
        return static_cast<unsigned char>(block_[position_++]);
    }
    // The first byte after any whitespace.
    int nextAfterSpace() {
        int c = next();
        while (c != kEnd && isSpace(c)) {
            c = next();
        }
        return c;
    }

  private:
    std::istream& in_;
    char block_[4096];
    std::streamsize position_ = 0;
    std::streamsize end_ = 0;
};

// Whether the first whitespace-delimited word is exactly "Width". Nothing of the word is
// stored, and reading stops at its first byte that rules the keyword out, so a file that
// is one endless word costs no memory and no time. A match consumes the word and the one
// whitespace byte that ends it.
bool firstWordIsKeyword(ByteReader& in) {
    static constexpr char kKeyword[] = "Width";
    constexpr std::size_t kLength = sizeof(kKeyword) - 1;
    int c = in.nextAfterSpace();
    for (std::size_t i = 0; i < kLength; ++i) {
        if (c != static_cast<unsigned char>(kKeyword[i])) {
            return false;
        }
        c = in.next();
    }
    return c == kEnd || isSpace(c);
}

// Reads an optionally signed decimal integer after whitespace. Stream extraction would
// store 0 or a range limit on failure, so the value is built here and only committed
// when it is complete and in range.
bool readInt32(ByteReader& in, std::int32_t& value) {
    int c = in.nextAfterSpace();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = in.next();
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
        c = in.next();
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
    WorkArea area;
    PixelSize frame;
    if (!queryWorkArea(area) || !queryWindowFrame(frame)) {
        return cellSize(); // nothing known to fit: as stored
    }
    return fittingCellSize(cellSize(), frame, area.size);
}

PixelPoint WindowSettings::shownOrigin() {
    WorkArea area;
    return queryWorkArea(area) ? area.origin : PixelPoint{};
}

bool WindowSettings::load(const std::string& path) {
    std::ifstream in;
    in.imbue(std::locale::classic());
    in.open(path);
    if (!in) {
        return false;
    }
    ByteReader text(in);
    if (!firstWordIsKeyword(text)) {
        return false;
    }
    std::int32_t value = 0;
    if (readInt32(text, value)) {
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
