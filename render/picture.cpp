#include "render/picture.h"

#include <algorithm>
#include <utility>

namespace modalscope {

namespace {

constexpr std::uint32_t kRle8 = 1; // BI_RLE8

std::uint32_t readLe(const std::uint8_t* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | at[i];
    }
    return value;
}

std::uint32_t rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

// What a packed bitmap's header says, checked against its size.
struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    bool rle8 = false;
    int bits = 0;
    std::uint32_t colours = 0;
    std::uint32_t palette[256] = {};
    std::size_t rows = 0; // offset of the pixel data
    std::size_t stride = 0;
};

bool readLayout(const std::uint8_t* data, std::size_t size, Layout& layout) {
    if (data == nullptr || size < 40) {
        return false;
    }
    const std::uint32_t headerSize = readLe(data, 4);
    const std::int64_t width = static_cast<std::int32_t>(readLe(data + 4, 4));
    const std::int64_t signedHeight = static_cast<std::int32_t>(readLe(data + 8, 4));
    const std::uint32_t bits = readLe(data + 14, 2);
    const std::uint32_t compression = readLe(data + 16, 4);
    std::uint32_t colours = readLe(data + 32, 4);
    const std::int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    const bool rle8 = compression == kRle8 && bits == 8 && signedHeight > 0;
    if (headerSize < 40 || headerSize > size || width <= 0 || height <= 0 || width > 0x8000 ||
        height > 0x8000 || (compression != 0 && !rle8) || (bits != 8 && bits != 24)) {
        return false;
    }
    if (bits == 8 && colours == 0) {
        colours = 256;
    }
    if (bits == 24) {
        colours = 0;
    }
    const std::size_t rows = headerSize + std::size_t{colours} * 4;
    const std::size_t stride = (static_cast<std::size_t>(width) * bits / 8 + 3) / 4 * 4;
    if (colours > 256 || rows > size ||
        (!rle8 && (size - rows) / stride < static_cast<std::size_t>(height))) {
        return false;
    }
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::uint8_t* entry = data + headerSize + 4 * std::size_t{i};
        layout.palette[i] = rgb(entry[2], entry[1], entry[0]);
    }
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);
    layout.topDown = signedHeight < 0;
    layout.rle8 = rle8;
    layout.bits = static_cast<int>(bits);
    layout.colours = colours;
    layout.rows = rows;
    layout.stride = stride;
    return true;
}

// Walks run-length encoded 8-bit rows (BI_RLE8), stored bottom-up: pairs (count, index)
// repeat one index; (0, 0) ends a row, (0, 1) the picture, (0, 2, dx, dy) moves ahead, and
// (0, n) with n >= 3 is followed by n indexes padded to a whole word. Calls run(y, x, count,
// colour) for each stretch of one colour, y counted from the top; pixels a row end or a move
// skips are left to the caller (they show colour entry 0). False for a run past the row's
// end, an index past the table, or data that stops before the end-of-picture mark.
template <typename Run>
bool walkRle8(const std::uint8_t* data, std::size_t size, const Layout& layout, Run run) {
    std::size_t at = 0;
    int x = 0;
    int row = 0; // counted from the bottom
    auto put = [&](int count, std::uint8_t index) {
        if (index >= layout.colours || count > layout.width - x || row >= layout.height) {
            return false;
        }
        run(layout.height - 1 - row, x, count, layout.palette[index]);
        x += count;
        return true;
    };
    while (at + 2 <= size) {
        const std::uint8_t first = data[at];
        const std::uint8_t second = data[at + 1];
        at += 2;
        if (first > 0) {
            if (!put(first, second)) {
                return false;
            }
        } else if (second == 0) {
            x = 0;
            ++row;
        } else if (second == 1) {
            return true;
        } else if (second == 2) {
            if (at + 2 > size) {
                return false;
            }
            x += data[at];
            row += data[at + 1];
            at += 2;
        } else {
            const std::size_t padded = (std::size_t{second} + 1) / 2 * 2;
            if (padded > size - at) {
                return false;
            }
            for (int k = 0; k < second; ++k) {
                if (!put(1, data[at + k])) {
                    return false;
                }
            }
            at += padded;
        }
    }
    return false;
}

// One axis of an area resize from `from` pixels to `to`: in units where a source pixel is
// `to` long and a target pixel `from`, target pixel i covers [i * from, (i + 1) * from).
// Each entry is (first source pixel, weights of the pixels from there on); the weights of a
// target pixel add up to `from`.
struct Span {
    int first = 0;
    std::vector<std::int64_t> weights;
};

std::vector<Span> spans(int from, int to) {
    std::vector<Span> result(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) {
        const std::int64_t begin = std::int64_t{i} * from;
        const std::int64_t end = begin + from;
        Span& span = result[static_cast<std::size_t>(i)];
        span.first = static_cast<int>(begin / to);
        for (std::int64_t j = span.first; j * to < end; ++j) {
            const std::int64_t overlap = std::min(end, (j + 1) * to) - std::max(begin, j * to);
            span.weights.push_back(overlap);
        }
    }
    return result;
}

// Sums of each source row across, three channels per target pixel, in units of the source
// width: the first half of an area resize.
struct AcrossSums {
    int sourceWidth = 0;
    int sourceHeight = 0;
    int width = 0;
    std::vector<std::int64_t> rows;
};

// The second half: down, one target row at a time from the across sums of the source rows
// its span covers, rounded once.
class DownPass {
  public:
    DownPass(int sourceWidth, int sourceHeight, int width, int height)
        : down_(spans(sourceHeight, height)), line_(static_cast<std::size_t>(width) * 3),
          total_(std::int64_t{sourceWidth} * sourceHeight), sums_(line_) {
        result_.width = width;
        result_.height = height;
        result_.pixels.resize(static_cast<std::size_t>(width) * height);
    }

    const Span& span(int y) const { return down_[static_cast<std::size_t>(y)]; }

    // Target row y; rowAt(r) gives source row r's across sums.
    template <typename RowAt>
    void make(int y, RowAt rowAt) {
        std::fill(sums_.begin(), sums_.end(), 0);
        int row = span(y).first;
        for (const std::int64_t weight : span(y).weights) {
            const std::int64_t* from = rowAt(row++);
            for (std::size_t i = 0; i < line_; ++i) {
                sums_[i] += weight * from[i];
            }
        }
        std::uint32_t* out = &result_.pixels[static_cast<std::size_t>(y) * result_.width];
        for (int x = 0; x < result_.width; ++x) {
            std::uint32_t pixel = 0;
            for (int c = 0; c < 3; ++c) {
                pixel = (pixel << 8) |
                        static_cast<std::uint32_t>((sums_[3 * x + c] + total_ / 2) / total_);
            }
            out[x] = pixel;
        }
    }

    Picture& result() { return result_; }

  private:
    std::vector<Span> down_;
    std::size_t line_;
    std::int64_t total_;
    std::vector<std::int64_t> sums_;
    Picture result_;
};

Picture resizeDown(const AcrossSums& across, int height) {
    DownPass pass(across.sourceWidth, across.sourceHeight, across.width, height);
    const std::size_t line = static_cast<std::size_t>(across.width) * 3;
    for (int y = 0; y < height; ++y) {
        pass.make(y, [&](int row) { return &across.rows[static_cast<std::size_t>(row) * line]; });
    }
    return std::move(pass.result());
}

} // namespace

bool decodeDib(const std::uint8_t* data, std::size_t size, Picture& out) {
    Layout layout;
    if (!readLayout(data, size, layout)) {
        return false;
    }
    Picture picture;
    picture.width = layout.width;
    picture.height = layout.height;
    picture.pixels.assign(static_cast<std::size_t>(layout.width) * layout.height,
                          layout.palette[0]);
    if (layout.rle8) {
        auto fill = [&](int y, int x, int count, std::uint32_t colour) {
            std::fill_n(&picture.pixels[static_cast<std::size_t>(y) * layout.width + x], count,
                        colour);
        };
        if (!walkRle8(data + layout.rows, size - layout.rows, layout, fill)) {
            return false;
        }
        out = std::move(picture);
        return true;
    }
    for (int y = 0; y < picture.height; ++y) {
        const int stored = layout.topDown ? y : picture.height - 1 - y;
        const std::uint8_t* row =
            data + layout.rows + layout.stride * static_cast<std::size_t>(stored);
        for (int x = 0; x < picture.width; ++x) {
            std::uint32_t pixel = 0;
            if (layout.bits == 24) {
                pixel = rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            } else if (row[x] < layout.colours) {
                pixel = layout.palette[row[x]];
            } else {
                return false; // an index past the colour table
            }
            picture.pixels[static_cast<std::size_t>(y) * picture.width + x] = pixel;
        }
    }
    out = std::move(picture);
    return true;
}

Picture resizeByArea(const Picture& source, int width, int height) {
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) {
        return Picture();
    }
    const std::vector<Span> across = spans(source.width, width);
    // Each source row is split into its channels once.
    const std::size_t line = static_cast<std::size_t>(width) * 3;
    AcrossSums sums{source.width, source.height, width,
                    std::vector<std::int64_t>(static_cast<std::size_t>(source.height) * line)};
    std::vector<std::int64_t> channels(static_cast<std::size_t>(source.width) * 3);
    for (int y = 0; y < source.height; ++y) {
        const std::uint32_t* in = &source.pixels[static_cast<std::size_t>(y) * source.width];
        for (int x = 0; x < source.width; ++x) {
            channels[3 * x] = (in[x] >> 16) & 0xFF;
            channels[3 * x + 1] = (in[x] >> 8) & 0xFF;
            channels[3 * x + 2] = in[x] & 0xFF;
        }
        std::int64_t* out = &sums.rows[static_cast<std::size_t>(y) * line];
        for (int x = 0; x < width; ++x) {
            const Span& span = across[static_cast<std::size_t>(x)];
            const std::int64_t* from = &channels[3 * static_cast<std::size_t>(span.first)];
            std::int64_t r = 0, g = 0, b = 0;
            for (const std::int64_t weight : span.weights) {
                r += weight * from[0];
                g += weight * from[1];
                b += weight * from[2];
                from += 3;
            }
            out[3 * x] = r;
            out[3 * x + 1] = g;
            out[3 * x + 2] = b;
        }
    }
    return resizeDown(sums, height);
}

bool decodeDibResized(const std::uint8_t* data, std::size_t size, int width, int height,
                      Picture& out) {
    Layout layout;
    if (!readLayout(data, size, layout) || width <= 0 || height <= 0) {
        return false;
    }
    if (!layout.rle8) {
        Picture full;
        if (!decodeDib(data, size, full)) {
            return false;
        }
        out = resizeByArea(full, width, height);
        return true;
    }
    // Every row starts as colour entry 0 all across (each target pixel's weights add up to
    // the source width); a run then adds, for each target pixel it overlaps, the overlap
    // times its difference from that colour. Rows arrive from the bottom, and each target
    // row is made as soon as the source rows it covers are complete, so only the few it
    // still waits for are kept: the whole picture's sums (450 KB for a 106-pixel marker)
    // took most of a marker's making under Wine, whose allocations of that size are slow.
    const std::size_t line = static_cast<std::size_t>(width) * 3;
    const std::uint32_t base = layout.palette[0];
    const std::int64_t from = layout.width;
    DownPass pass(layout.width, layout.height, width, height);
    std::size_t kept = 1;
    for (int y = 0; y < height; ++y) {
        kept = std::max(kept, pass.span(y).weights.size());
    }
    std::vector<std::int64_t> rows(kept * line);
    auto rowAt = [&](int row) { return &rows[static_cast<std::size_t>(row) % kept * line]; };
    std::vector<std::int64_t> blank(line);
    for (std::size_t i = 0; i < line; ++i) {
        blank[i] = from * ((base >> (16 - 8 * (i % 3))) & 0xFF);
    }
    int next = height - 1;        // the lowest target row still to make
    int current = layout.height;  // the source row being filled; those below are complete
    auto reach = [&](int row) {
        while (current > row) {
            // Source rows `current` and below are complete: each target row that starts
            // among them is made, from rows that are the last `kept` started at most, so
            // none of them was overwritten yet.
            while (next >= 0 && pass.span(next).first >= current) {
                pass.make(next--, rowAt);
            }
            if (--current >= 0) {
                std::copy(blank.begin(), blank.end(), rowAt(current));
            }
        }
    };
    auto add = [&](int y, int x, int count, std::uint32_t colour) {
        if (colour == base) {
            return;
        }
        reach(y);
        std::int64_t difference[3];
        for (int c = 0; c < 3; ++c) {
            difference[c] = static_cast<std::int64_t>((colour >> (16 - 8 * c)) & 0xFF) -
                            static_cast<std::int64_t>((base >> (16 - 8 * c)) & 0xFF);
        }
        // In the units of the spans: the run covers [x * width, (x + count) * width).
        const std::int64_t begin = std::int64_t{x} * width;
        const std::int64_t end = std::int64_t{x + count} * width;
        std::int64_t* row = rowAt(y);
        for (std::int64_t i = begin / from; i * from < end; ++i) {
            const std::int64_t overlap = std::min(end, (i + 1) * from) - std::max(begin, i * from);
            for (int c = 0; c < 3; ++c) {
                row[3 * i + c] += overlap * difference[c];
            }
        }
    };
    if (!walkRle8(data + layout.rows, size - layout.rows, layout, add)) {
        return false;
    }
    reach(-1);
    out = std::move(pass.result());
    return true;
}

} // namespace modalscope
