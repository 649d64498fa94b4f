// Feeds arbitrary bytes to the picture decoder as a bitmap file (after its 14-byte file
// header comes what a bitmap resource holds) and checks what holds for any picture it
// accepts: each pixel shows the colour table entry its index names, and reducing while
// decoding gives the pixels of reducing afterwards. A run past its row's end shows as a
// sanitizer report (the reduction at full size keeps one row), an index past the table as a
// pixel of no entry.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "render/picture.h"

namespace {

using modalscope::Picture;

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "picture_fuzzer: %s\n", what);
        std::abort(); // libFuzzer reports the abort and keeps the input
    }
}

std::int64_t readLe(const std::uint8_t* at, int bytes) {
    std::int64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | at[i];
    }
    return value;
}

// The pixels of `data` with colour table entry i changed to the number i + 1: each pixel
// the number of the entry it shows, 0 for none.
Picture entryNumbers(const std::uint8_t* data, std::size_t size, std::int64_t colours) {
    std::vector<std::uint8_t> numbered(data, data + size);
    for (std::int64_t i = 0; i < colours; ++i) {
        std::uint8_t* entry = &numbered[readLe(data, 4) + 4 * i];
        entry[0] = static_cast<std::uint8_t>((i + 1) & 0xFF); // blue
        entry[1] = static_cast<std::uint8_t>((i + 1) >> 8);   // green
        entry[2] = 0;                                         // red
    }
    Picture numbers;
    check(modalscope::decodeDib(numbered.data(), size, numbers), "a new colour table decodes");
    return numbers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* file, std::size_t fileSize) {
    if (fileSize < 14 + 40) {
        return 0;
    }
    const std::uint8_t* data = file + 14;
    const std::size_t size = fileSize - 14;
    // The shipped pictures are a few hundred pixels across; a header asking for millions of
    // pixels would only measure allocation.
    const std::int64_t width = static_cast<std::int32_t>(readLe(data + 4, 4));
    const std::int64_t height = static_cast<std::int32_t>(readLe(data + 8, 4));
    if (width * (height < 0 ? -height : height) > (std::int64_t{1} << 17)) {
        return 0;
    }
    Picture picture;
    Picture reduced;
    if (!modalscope::decodeDib(data, size, picture)) {
        check(!modalscope::decodeDibResized(data, size, 5, 3, reduced), "refused reduced too");
        return 0;
    }
    // At its own size each target row is one source row, kept alone while decoding, and each
    // pixel is its source pixel.
    check(modalscope::decodeDibResized(data, size, picture.width, picture.height, reduced) &&
              reduced.pixels == picture.pixels,
          "reduced to its own size while decoding: unchanged");
    const int w = picture.width / 3 + 1, h = picture.height / 3 + 1;
    check(modalscope::decodeDibResized(data, size, w, h, reduced) &&
              reduced.pixels == modalscope::resizeByArea(picture, w, h).pixels,
          "reduced while decoding as after");
    if (readLe(data + 14, 2) != 8) {
        return 0;
    }
    const std::int64_t colours = readLe(data + 32, 4) == 0 ? 256 : readLe(data + 32, 4);
    const Picture numbers = entryNumbers(data, size, colours);
    for (std::size_t k = 0; k < picture.pixels.size(); ++k) {
        const std::int64_t n = numbers.pixels[k];
        check(n >= 1 && n <= colours, "every pixel shows an entry of the table");
        const std::uint8_t* entry = data + readLe(data, 4) + 4 * (n - 1);
        check(picture.pixels[k] == static_cast<std::uint32_t>(readLe(entry, 3)),
              "each pixel in the colour of its entry");
    }
    return 0;
}
