#include "app/settings/window_settings.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <locale>
#include <string>

#include "app/settings/file_replace.h"
#include "app/settings/screen_width.h"
#include "app/settings/window_fit.h"

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
        if (position_ == end_ && !fill()) {
            return kEnd;
        }
        return static_cast<unsigned char>(block_[position_++]);
    }
    // Consumes `mark` if the data starts with it; only before any other read.
    bool skipMark(const char* mark, std::size_t length) {
        if (end_ == 0) {
            fill();
        }
        if (position_ != 0 || end_ < static_cast<std::streamsize>(length) ||
            std::memcmp(block_, mark, length) != 0) {
            return false;
        }
        position_ = static_cast<std::streamsize>(length);
        return true;
    }
    // From the start again, after the stream was opened anew.
    void restart() {
        position_ = 0;
        end_ = 0;
    }

  private:
    bool fill() {
        in_.read(block_, sizeof(block_));
        end_ = in_.gcount();
        position_ = 0;
        return end_ > 0;
    }

    std::istream& in_;
    char block_[4096];
    std::streamsize position_ = 0;
    std::streamsize end_ = 0;
};

enum class Encoding { Bytes, Utf16Le, Utf16Be };

// The characters of the file: its bytes, or the code units of UTF-16. The same rules read
// both; a unit beyond ASCII is neither whitespace, a digit nor a letter of the keyword. A
// lone last byte of UTF-16 is no character.
class TextReader {
  public:
    TextReader(ByteReader& bytes, Encoding encoding) : bytes_(bytes), encoding_(encoding) {}
    int next() {
        if (encoding_ == Encoding::Bytes) {
            return bytes_.next();
        }
        const int first = ended_ ? kEnd : bytes_.next();
        const int second = first == kEnd ? kEnd : bytes_.next();
        if (second == kEnd) {
            ended_ = true;
            return kEnd;
        }
        const int unit = encoding_ == Encoding::Utf16Le ? first | second << 8 : first << 8 | second;
#ifdef _WIN32
        // UTF-16 is read in binary (see load); text mode's end mark, applied to characters.
        // Its line breaks need no such step: CR and LF are whitespace alike.
        if (unit == 0x1A) {
            ended_ = true;
            return kEnd;
        }
#endif
        return unit;
    }
    // The first character after any whitespace.
    int nextAfterSpace() {
        int c = next();
        while (c != kEnd && isSpace(c)) {
            c = next();
        }
        return c;
    }

  private:
    ByteReader& bytes_;
    Encoding encoding_;
    bool ended_ = false;
};

// Whether the first whitespace-delimited word is exactly "Width". Nothing of the word is
// stored, and reading stops at its first character that rules the keyword out, so a file
// that is one endless word costs no memory and no time. A match consumes the word and the one
// whitespace character that ends it.
bool firstWordIsKeyword(TextReader& in) {
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
bool readInt32(TextReader& in, std::int32_t& value) {
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

// Whether there is no file at all at `path`, rather than one that cannot be opened (held by
// another program, say). std::filesystem would tell too, for some 100 KB more in the exe.
bool isMissing(const std::string& path) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr) {
        std::fclose(file);
    }
    return file == nullptr && errno == ENOENT;
}

// Whether the file's last byte is a line feed, as its writer ends it: a file whose writing
// was cut off ends before that.
bool endsWithLineBreak(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in && in.tellg() > 0 && in.seekg(-1, std::ios::end) && in.get() == '\n';
}

} // namespace

void WindowSettings::normalise() {
    setCellSize((std::int64_t{width_} - kClassicFrame.left - kClassicFrame.right) / 24);
}

void WindowSettings::setCellSize(std::int64_t cellSize) {
    const PixelSize frame = {kClassicFrame.left + kClassicFrame.right,
                             kClassicFrame.top + kClassicFrame.bottom};
    width_ = static_cast<std::int32_t>(24 * cellSize + 1 + frame.width);
    height_ = static_cast<std::int32_t>(7 * cellSize + frame.height);
}

bool WindowSettings::load(const std::string& path) {
    fromScreen_ = false;
    // On FAT32 and exFAT a save's replace is two steps, the old file's removal and then the
    // new file's rename, so a power cut between them can leave the new file alone: then it
    // holds the setting, if whole (one cut off while written is not). Beside the file itself
    // it is an unfinished newer write or an older leftover, and is never read.
    const std::string fresh = path + ".tmp";
    return read(isMissing(path) && endsWithLineBreak(fresh) ? fresh : path);
}

bool WindowSettings::read(const std::string& path) {
    std::ifstream in;
    in.imbue(std::locale::classic());
    in.open(path);
    if (!in) {
        return false;
    }
    // Notepad may start the file with a byte-order mark. UTF-8's is skipped. UTF-16 is read
    // again in binary, since text mode works on bytes and would join or cut code units (the
    // bytes 0D 0A of U+0A0D, the byte 1A of U+011A); its rules then apply to characters.
    ByteReader bytes(in);
    Encoding encoding = Encoding::Bytes;
    if (!bytes.skipMark("\xEF\xBB\xBF", 3)) {
        if (bytes.skipMark("\xFF\xFE", 2)) {
            encoding = Encoding::Utf16Le;
        } else if (bytes.skipMark("\xFE\xFF", 2)) {
            encoding = Encoding::Utf16Be;
        }
    }
    if (encoding != Encoding::Bytes) {
        in.close();
        in.clear();
        in.open(path, std::ios::in | std::ios::binary);
        bytes.restart();
        bytes.skipMark(encoding == Encoding::Utf16Le ? "\xFF\xFE" : "\xFE\xFF", 2);
    }
    TextReader text(bytes, encoding);
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
    width_ = queryScreenWidth(screen) ? screen - kClassicFrame.left - kClassicFrame.right : 800;
    normalise();
    fromScreen_ = true;
}

void WindowSettings::keepShown(std::int32_t cellSize) {
    if (fromScreen_) {
        setCellSize(cellSize);
    }
}

void WindowSettings::loadOrDefault(const std::string& path) {
    if (!load(path)) {
        sizeFromScreen();
    }
}

void WindowSettings::save(const std::string& path) const {
#ifdef _WIN32
    const char* const lineBreak = "\r\n"; // what text mode wrote before
#else
    const char* const lineBreak = "\n";
#endif
    replaceFile(path, "Width " + std::to_string(width_) + lineBreak);
}

} // namespace modalscope
