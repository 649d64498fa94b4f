#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace modalscope {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
constexpr Rgb kBlack{0x00, 0x00, 0x00};
constexpr Rgb kRoot{0xFF, 0x80, 0x40};
constexpr Rgb kThird{0x00, 0xCC, 0x00};
constexpr Rgb kFifth{0xFF, 0xFF, 0x99};
constexpr Rgb kSeventh{0x33, 0x99, 0xFF};

::std::ostream& operator<<(::std::ostream& os, const Rgb& c) {
    return os << '(' << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << ')';
}

Bytes readFile(const std::string& relative) {
    std::ifstream in(std::string(MODALSCOPE_RESOURCE_DIR) + "/" + relative, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le(const Bytes& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) {
        v = (v << 8) | b.at(at + i);
    }
    return v;
}

// Just enough of a BMP reader for the 24-bit files the tools write.
struct Bitmap {
    Bytes file;
    int width = 0, height = 0, bpp = 0;
    std::uint32_t compression = ~0u;

    explicit Bitmap(const std::string& relative) : file(readFile(relative)) {
        if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || le(file, 14, 4) != 40) {
            return;
        }
        width = static_cast<int>(le(file, 18, 4));
        height = static_cast<int>(le(file, 22, 4));
        bpp = static_cast<int>(le(file, 28, 2));
        compression = le(file, 30, 4);
    }
    // Rows are stored bottom-up, each padded to a multiple of four bytes.
    Rgb at(int x, int y) const {
        std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
        std::size_t p = le(file, 10, 4) + (height - 1 - y) * stride + x * 3;
        return {file.at(p + 2), file.at(p + 1), file.at(p)};
    }
    bool is24BitUncompressed(int w, int h) const {
        return width == w && height == h && bpp == 24 && compression == 0 &&
               file.size() >= le(file, 10, 4) + (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4 * h;
    }
};

std::string markerPath(int id) {
    return "markers/" + std::to_string(id) + ".bmp";
}

TEST(ResourceImages, IntervalMarkersAreRimmedDiscsInTheirColours) {
    struct Marker {
        int id;
        Rgb disc, caption;
    };
    const Marker markers[] = {
        {125, kRoot, kWhite},    {127, kBlack, kWhite}, {134, kBlack, kWhite},
        {139, kBlack, kWhite},   {144, kThird, kWhite}, {135, kBlack, kWhite},
        {140, kThird, kWhite},   {141, kBlack, kWhite}, {126, kFifth, kBlack},
        {136, kBlack, kWhite},   {142, kFifth, kBlack}, {133, kBlack, kWhite},
        {137, kFifth, kBlack},   {143, kBlack, kWhite}, {131, kSeventh, kWhite},
        {132, kSeventh, kWhite}, {138, kBlack, kWhite}, {128, kSeventh, kWhite},
    };
    for (const Marker& m : markers) {
        SCOPED_TRACE(m.id);
        const Bitmap bmp(markerPath(m.id));
        ASSERT_TRUE(bmp.is24BitUncompressed(44, 44));
        // The disc spans pixels 1..41; everything outside its box is white.
        for (int i = 0; i < 44; ++i) {
            for (int edge : {0, 42, 43}) {
                EXPECT_EQ(bmp.at(i, edge), kWhite) << "x " << i << " row " << edge;
                EXPECT_EQ(bmp.at(edge, i), kWhite) << "y " << i << " column " << edge;
            }
        }
        // Along each axis the rim is 4 to 5 pixels wide, the fill starts at the sixth.
        for (int d = 1; d <= 4; ++d) {
            for (auto [x, y] : {std::pair{d, 21}, {42 - d, 21}, {21, d}, {21, 42 - d}}) {
                EXPECT_EQ(bmp.at(x, y), kBlack) << "rim at " << x << "," << y;
            }
        }
        for (auto [x, y] : {std::pair{6, 21}, {36, 21}, {21, 6}, {21, 36}, {11, 11}, {31, 31}}) {
            EXPECT_EQ(bmp.at(x, y), m.disc) << "fill at " << x << "," << y;
        }
        int captionPixels = 0;
        for (int y = 7; y <= 35; ++y) {
            for (int x = 7; x <= 35; ++x) {
                captionPixels += (x - 21) * (x - 21) + (y - 21) * (y - 21) <= 14 * 14 &&
                                 bmp.at(x, y) == m.caption;
            }
        }
        EXPECT_GT(captionPixels, 20);
    }
}

TEST(ResourceImages, InlayMarkersAreBlackRingsOnWhite) {
    struct Box {
        int top, bottom;
    };
    const std::pair<int, std::vector<Box>> inlays[] = {{129, {{16, 27}}},
                                                       {130, {{6, 17}, {24, 35}}}};
    const int left = 14, right = 25;
    for (const auto& [id, boxes] : inlays) {
        SCOPED_TRACE(id);
        const Bitmap bmp(markerPath(id));
        ASSERT_TRUE(bmp.is24BitUncompressed(44, 44));
        for (int y = 0; y < 44; ++y) {
            for (int x = 0; x < 44; ++x) {
                bool inBox = false;
                for (const Box& b : boxes) {
                    inBox |= x >= left && x <= right && y >= b.top && y <= b.bottom;
                }
                const Rgb c = bmp.at(x, y);
                EXPECT_TRUE(c == kWhite || (inBox && c == kBlack)) << x << "," << y << " " << c;
            }
        }
        for (const Box& b : boxes) {
            int top = 0, bottom = 0, leftEdge = 0, rightEdge = 0;
            for (int i = 0; i < 12; ++i) {
                top += bmp.at(left + i, b.top) == kBlack;
                bottom += bmp.at(left + i, b.bottom) == kBlack;
                leftEdge += bmp.at(left, b.top + i) == kBlack;
                rightEdge += bmp.at(right, b.top + i) == kBlack;
            }
            EXPECT_TRUE(top && bottom && leftEdge && rightEdge) << "ring fills rows " << b.top;
            EXPECT_EQ(bmp.at((left + right) / 2, (b.top + b.bottom) / 2), kWhite);
        }
    }
}

TEST(ResourceImages, AboutPicturesHaveTheirSizes) {
    const struct {
        int id, width, height;
    } pictures[] = {{145, 298, 65}, {146, 80, 80}, {147, 80, 80}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.id);
        const Bitmap bmp("about/" + std::to_string(p.id) + ".bmp");
        ASSERT_TRUE(bmp.is24BitUncompressed(p.width, p.height));
    }
}

TEST(ResourceImages, IconIsOneMaskedSixteenColourImage) {
    const Bytes ico = readFile("modalscope.ico");
    ASSERT_EQ(ico.size(), 22u + 40 + 16 * 4 + 32 * 16 + 32 * 4);
    // (offset, width in bytes, value): ICONDIR, its one entry, then the BITMAPINFOHEADER.
    const std::uint32_t fields[][3] = {
        {2, 2, 1},   {4, 2, 1},   {6, 1, 32},  {7, 1, 32},  {8, 1, 16}, {12, 2, 4}, {14, 4, 744},
        {18, 4, 22}, {22, 4, 40}, {26, 4, 32}, {30, 4, 64}, {36, 2, 4}, {38, 4, 0}};
    for (const auto& f : fields) {
        EXPECT_EQ(le(ico, f[0], static_cast<int>(f[1])), f[2]) << "at " << f[0];
    }
    const std::size_t andBits = 22 + 40 + 16 * 4 + 32 * 16; // after palette and colour bits
    auto transparent = [&](int x, int y) {
        return (ico.at(andBits + (31 - y) * 4 + x / 8) >> (7 - x % 8)) & 1;
    };
    for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) {
        EXPECT_TRUE(transparent(x, y)) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{15, 2}, {15, 10}, {16, 16}, {8, 24}, {24, 24}}) {
        EXPECT_FALSE(transparent(x, y)) << x << "," << y;
    }
}

} // namespace
} // namespace modalscope
