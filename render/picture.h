// Pictures as plain pixels: decoded from the bitmaps the program ships and resized by
// area averaging. No window system here, so the same pixels come out on every platform
// and the code is tested on any host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace modalscope {

// Pixels 0x00RRGGBB, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
};

// Reads a packed device-independent bitmap (a bitmap resource: info header, colour table,
// rows): 8 bits per pixel through its colour table, or 24 bits; uncompressed, rows bottom-up
// or top-down, or 8 bits run-length encoded (BI_RLE8, bottom-up). False, leaving `out` as it
// was, for anything else or for truncated data.
bool decodeDib(const std::uint8_t* data, std::size_t size, Picture& out);

// The same as resizeByArea of what decodeDib gives, for a run-length encoded bitmap made
// without the full-size picture: each run adds its colour to the target pixels it covers.
// False, leaving `out` as it was, where decodeDib fails or for a size that is not positive.
bool decodeDibResized(const std::uint8_t* data, std::size_t size, int width, int height,
                      Picture& out);

// `source` at width by height: each new pixel is the mean of the part of the source it
// covers, every source pixel weighted by its exact share of that area, and rounded once.
// Reducing this way cannot alias; it also enlarges (each pixel then covers part of one or
// two source pixels). An empty picture for a size that is not positive or an empty source.
Picture resizeByArea(const Picture& source, int width, int height);

} // namespace modalscope
