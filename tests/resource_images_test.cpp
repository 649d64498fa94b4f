#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "render/picture.h"

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

// Distances from (cx, cy) to the nearest and farthest points of pixel (x, y), the square
// from x - 0.5 to x + 0.5, squared.
struct Reach {
    double nearest, farthest;
};

Reach reach(int x, int y, double cx, double cy) {
    const double dx = std::abs(x - cx);
    const double dy = std::abs(y - cy);
    const double nx = std::max(dx - 0.5, 0.0);
    const double ny = std::max(dy - 0.5, 0.0);
    return {nx * nx + ny * ny, (dx + 0.5) * (dx + 0.5) + (dy + 0.5) * (dy + 0.5)};
}

// True if c lies on the way from a to b: one share of b for all three channels, give or
// take the rounding to whole levels.
bool isBlend(const Rgb& c, const Rgb& a, const Rgb& b) {
    const int cs[] = {c.r, c.g, c.b}, as[] = {a.r, a.g, a.b}, bs[] = {b.r, b.g, b.b};
    double low = 0, high = 1;
    for (int k = 0; k < 3; ++k) {
        const int span = bs[k] - as[k];
        if (span == 0) {
            if (std::abs(cs[k] - as[k]) > 1) {
                return false;
            }
            continue;
        }
        const double t1 = (cs[k] - 1.0 - as[k]) / span;
        const double t2 = (cs[k] + 1.0 - as[k]) / span;
        low = std::max(low, std::min(t1, t2));
        high = std::min(high, std::max(t1, t2));
    }
    return low <= high;
}

bool isGrey(const Rgb& c) {
    return c.r == c.g && c.g == c.b;
}

Rgb colourAt(const Picture& picture, int x, int y) {
    const std::uint32_t p = picture.at(x, y);
    return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
            static_cast<std::uint8_t>(p)};
}

// A marker as shipped, at 44 pixels (24 bits, uncompressed) and at 176 (8 bits, run-length
// encoded), each with its scale: every measure below is given for 44 pixels.
struct Scaled {
    Picture picture;
    int scale;
};

std::vector<Scaled> bothSizes(int id) {
    std::vector<Scaled> sizes;
    const Bitmap small(markerPath(id));
    const Bitmap large("markers/large/" + std::to_string(id + 25) + ".bmp");
    EXPECT_TRUE(small.is24BitUncompressed(44, 44)) << id;
    EXPECT_TRUE(large.width == 176 && large.height == 176 && large.bpp == 8 &&
                large.compression == 1)
        << id + 25 << " is 8-bit RLE, 176 pixels";
    for (const Bitmap* bmp : {&small, &large}) {
        Picture picture;
        if (bmp->file.size() > 14 &&
            decodeDib(bmp->file.data() + 14, bmp->file.size() - 14, picture)) {
            sizes.push_back({picture, picture.width / 44});
        }
    }
    EXPECT_EQ(sizes.size(), 2u) << id;
    return sizes;
}

// The disc with its rim covers rows and columns 1..41: its edge is the circle of radius
// 20.5 around the middle of pixel 21, the rim 4 to 5 pixels wide inside it. Edges are
// anti-aliased; a pixel wholly inside a region has that region's exact colour. The same
// at 176 pixels, four times each measure.
TEST(ResourceImages, IntervalMarkersAreSmoothRimmedDiscsInTheirColours) {
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
        for (const Scaled& shown : bothSizes(m.id)) {
            SCOPED_TRACE(testing::Message() << m.id << " at scale " << shown.scale);
            const int s = shown.scale, side = 44 * s;
            const double centre = 21.5 * s - 0.5, outer = 20.5 * s * 20.5 * s,
                         rimInside = 15.5 * s * 15.5 * s,
                         rimOutside = (15.5 * s + 1) * (15.5 * s + 1);
            int interior = 0, exactFill = 0, captionPixels = 0, softEdge = 0;
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    const Rgb c = colourAt(shown.picture, x, y);
                    const Reach r = reach(x, y, centre, centre);
                    const bool inBox = x >= s && x < 42 * s && y >= s && y < 42 * s;
                    if (!inBox || r.nearest >= outer) {
                        EXPECT_EQ(c, kWhite) << "outside the disc at " << x << "," << y;
                    } else if (r.farthest <= rimInside) {
                        ++interior;
                        exactFill += c == m.disc;
                        captionPixels += c == m.caption && !(c == m.disc);
                        EXPECT_TRUE(isBlend(c, m.disc, m.caption))
                            << "fill at " << x << "," << y << " " << c;
                    } else if (r.nearest >= rimOutside && r.farthest <= outer) {
                        EXPECT_EQ(c, kBlack) << "rim at " << x << "," << y;
                    } else if (r.farthest > outer) {
                        EXPECT_TRUE(isGrey(c)) << "outer edge at " << x << "," << y << " " << c;
                        softEdge += !(c == kWhite) && !(c == kBlack);
                    } else {
                        EXPECT_TRUE(isBlend(c, kBlack, m.disc))
                            << "inner edge at " << x << "," << y << " " << c;
                    }
                }
            }
            // Most of the inside shows the table's colour exactly; the caption takes the rest.
            EXPECT_GT(exactFill, interior / 2) << "of " << interior;
            EXPECT_GT(captionPixels, 20 * s * s);
            EXPECT_GT(softEdge, 40 * s) << "the outer edge is anti-aliased";
            // Along each axis the rim is 4 to 5 pixels wide and the fill starts at the sixth.
            // (Pixels of the 44-pixel picture, taken at their middle in the large one.)
            auto at = [&](int x, int y) {
                return colourAt(shown.picture, x * s + s / 2, y * s + s / 2);
            };
            for (int d = 1; d <= 5; ++d) {
                for (auto [x, y] : {std::pair{d, 21}, {42 - d, 21}, {21, d}, {21, 42 - d}}) {
                    const Rgb c = at(x, y);
                    EXPECT_TRUE(d == 1 ? isGrey(c) && c.r < 32 : c == kBlack)
                        << "rim at " << x << "," << y;
                }
            }
            for (auto [x, y] :
                 {std::pair{6, 21}, {36, 21}, {21, 6}, {21, 36}, {11, 11}, {31, 31}}) {
                EXPECT_EQ(at(x, y), m.disc) << "fill at " << x << "," << y;
            }
        }
    }
}

// Each ring is 12 pixels across with a 2- to 3-pixel outline, in columns 14..25 and the
// table's rows: black where a pixel lies wholly in the outline, white in the hole and
// around it, grey only along its anti-aliased edges. The same at 176 pixels.
TEST(ResourceImages, InlayMarkersAreSmoothBlackRingsOnWhite) {
    struct Box {
        int top, bottom;
    };
    const std::pair<int, std::vector<Box>> inlays[] = {{129, {{16, 27}}},
                                                       {130, {{6, 17}, {24, 35}}}};
    for (const auto& [id, boxes] : inlays) {
        for (const Scaled& shown : bothSizes(id)) {
            SCOPED_TRACE(testing::Message() << id << " at scale " << shown.scale);
            const int s = shown.scale, side = 44 * s;
            const int left = 14 * s, right = 26 * s - 1;
            const double outside = 6.0 * s * 6.0 * s, outlineInside = 4.0 * s * 4.0 * s,
                         hole = 3.0 * s * 3.0 * s;
            int black = 0, softEdge = 0;
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    const Rgb c = colourAt(shown.picture, x, y);
                    const Box* in = nullptr;
                    for (const Box& b : boxes) {
                        in =
                            x >= left && x <= right && y >= b.top * s && y <= (b.bottom + 1) * s - 1
                                ? &b
                                : in;
                    }
                    if (in == nullptr) {
                        EXPECT_EQ(c, kWhite) << "outside the rings at " << x << "," << y;
                        continue;
                    }
                    const Reach r = reach(x, y, (left + right) / 2.0,
                                          (in->top * s + (in->bottom + 1) * s - 1) / 2.0);
                    if (r.nearest >= outside || r.farthest <= hole) {
                        EXPECT_EQ(c, kWhite) << x << "," << y;
                    } else if (r.nearest >= outlineInside && r.farthest <= outside) {
                        EXPECT_EQ(c, kBlack) << x << "," << y;
                    } else {
                        EXPECT_TRUE(isGrey(c)) << x << "," << y << " " << c;
                    }
                    black += c == kBlack;
                    softEdge += !(c == kWhite) && !(c == kBlack);
                }
            }
            const int rings = static_cast<int>(boxes.size());
            EXPECT_GT(black, 30 * s * s * rings);
            EXPECT_GT(softEdge, 20 * s * rings) << "edges are anti-aliased";
            // The ring reaches all four sides of its box.
            for (const Box& b : boxes) {
                const int top = b.top * s, bottom = (b.bottom + 1) * s - 1;
                int darkest[4] = {255, 255, 255, 255};
                for (int i = 0; i < 12 * s; ++i) {
                    darkest[0] =
                        std::min<int>(darkest[0], colourAt(shown.picture, left + i, top).r);
                    darkest[1] =
                        std::min<int>(darkest[1], colourAt(shown.picture, left + i, bottom).r);
                    darkest[2] =
                        std::min<int>(darkest[2], colourAt(shown.picture, left, top + i).r);
                    darkest[3] =
                        std::min<int>(darkest[3], colourAt(shown.picture, right, top + i).r);
                }
                EXPECT_LT(*std::max_element(darkest, darkest + 4), 128) << "ring in rows " << top;
            }
        }
    }
}

// The large pictures show the same markers as the shipped ones: reduced to 44 pixels each
// is within 10/255 a pixel on average of its 44-pixel picture (the captions differ a little,
// being set at another size; another marker's picture is 30 or more away).
TEST(ResourceImages, LargePicturesReduceToTheShippedOnes) {
    for (int id = 125; id <= 144; ++id) {
        const std::vector<Scaled> sizes = bothSizes(id);
        ASSERT_EQ(sizes.size(), 2u);
        const Picture reduced = resizeByArea(sizes[1].picture, 44, 44);
        double difference = 0;
        for (std::size_t i = 0; i < reduced.pixels.size(); ++i) {
            for (int shift : {0, 8, 16}) {
                difference +=
                    std::abs(static_cast<int>((reduced.pixels[i] >> shift) & 0xFF) -
                             static_cast<int>((sizes[0].picture.pixels[i] >> shift) & 0xFF));
            }
        }
        EXPECT_LT(difference / (3 * 44 * 44), 10.0) << id;
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

// The classic image comes first among the seven (the other sizes are read from the exe).
TEST(ResourceImages, IconStartsWithTheMaskedSixteenColourImage) {
    const Bytes ico = readFile("modalscope.ico");
    const std::size_t image = 6 + 16 * 7;
    ASSERT_GE(ico.size(), image + 40 + 16 * 4 + 32 * 16 + 32 * 4);
    // (offset, width in bytes, value): ICONDIR, its first entry, then the BITMAPINFOHEADER.
    const std::uint32_t fields[][3] = {{2, 2, 1},          {4, 2, 7},          {6, 1, 32},
                                       {7, 1, 32},         {8, 1, 16},         {12, 2, 4},
                                       {14, 4, 744},       {18, 4, image},     {image, 4, 40},
                                       {image + 4, 4, 32}, {image + 8, 4, 64}, {image + 14, 2, 4},
                                       {image + 16, 4, 0}};
    for (const auto& f : fields) {
        EXPECT_EQ(le(ico, f[0], static_cast<int>(f[1])), f[2]) << "at " << f[0];
    }
    const std::size_t andBits = image + 40 + 16 * 4 + 32 * 16; // after palette, colour bits
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

// The program reads the shipped pictures with its own decoder: every marker decodes to the
// pixels stored in its file, and damaged or unsupported data is refused.
TEST(ResourceImages, PicturesDecodeAsStored) {
    for (int id = 125; id <= 144; ++id) {
        const Bitmap bmp(markerPath(id));
        Picture picture;
        ASSERT_TRUE(decodeDib(bmp.file.data() + 14, bmp.file.size() - 14, picture)) << id;
        ASSERT_EQ(picture.width, 44);
        ASSERT_EQ(picture.height, 44);
        for (int y = 0; y < 44; ++y) {
            for (int x = 0; x < 44; ++x) {
                const Rgb c = bmp.at(x, y);
                ASSERT_EQ(picture.at(x, y), (std::uint32_t{c.r} << 16) | (c.g << 8) | c.b)
                    << id << " at " << x << "," << y;
            }
        }
        EXPECT_FALSE(decodeDib(bmp.file.data() + 14, bmp.file.size() - 15, picture));
    }
    // 8 bits per pixel, rows from the top (negative height), two colours, 3 by 2 pixels.
    Bytes dib(40 + 2 * 4 + 2 * 4, 0);
    const std::uint32_t header[][2] = {{0, 40}, {4, 3}, {8, 0xFFFFFFFE}, {32, 2}};
    for (const auto& [at, value] : header) {
        for (int k = 0; k < 4; ++k) {
            dib[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
        }
    }
    dib[12] = 1; // planes
    dib[14] = 8; // bits per pixel
    const std::uint8_t table[] = {0x40, 0x80, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0};
    std::copy(std::begin(table), std::end(table), dib.begin() + 40);
    const std::uint8_t rows[] = {1, 0, 1, 0, 0, 0, 1, 0};
    std::copy(std::begin(rows), std::end(rows), dib.begin() + 48);
    Picture small;
    ASSERT_TRUE(decodeDib(dib.data(), dib.size(), small));
    EXPECT_EQ(small.pixels, (std::vector<std::uint32_t>{0xFFFFFF, 0xFF8040, 0xFFFFFF, 0xFF8040,
                                                        0xFF8040, 0xFFFFFF}));
    dib[48] = 2; // past the two-entry colour table
    EXPECT_FALSE(decodeDib(dib.data(), dib.size(), small));

    // Run-length encoded (bottom-up): a run of three white below, a literal of three above;
    // a run past the row's end, or no end mark, is refused.
    dib.resize(48);
    dib[8] = 2, dib[9] = dib[10] = dib[11] = 0; // height 2: bottom-up
    dib[16] = 1;                                // BI_RLE8
    const std::uint8_t runs[] = {3, 1, 0, 0, 0, 3, 0, 1, 0, 0, 0, 0, 0, 1};
    dib.insert(dib.end(), std::begin(runs), std::end(runs));
    ASSERT_TRUE(decodeDib(dib.data(), dib.size(), small));
    EXPECT_EQ(small.pixels, (std::vector<std::uint32_t>{0xFF8040, 0xFFFFFF, 0xFF8040, 0xFFFFFF,
                                                        0xFFFFFF, 0xFFFFFF}));
    EXPECT_FALSE(decodeDib(dib.data(), dib.size() - 2, small));
    dib[48] = 4;
    EXPECT_FALSE(decodeDib(dib.data(), dib.size(), small));
    // A row that ends early leaves colour entry 0; reducing while decoding gives the same.
    dib[48] = 2;
    ASSERT_TRUE(decodeDib(dib.data(), dib.size(), small));
    EXPECT_EQ(small.pixels[5], 0xFF8040u);
    Picture reduced;
    ASSERT_TRUE(decodeDibResized(dib.data(), dib.size(), 2, 1, reduced));
    EXPECT_EQ(reduced.pixels, resizeByArea(small, 2, 1).pixels);
    // A run from the middle of a row past its end, and an index equal to the table's size.
    dib[50] = 2, dib[51] = 1;
    EXPECT_FALSE(decodeDib(dib.data(), dib.size(), small));
    dib[50] = 0, dib[51] = 0, dib[49] = 2;
    EXPECT_FALSE(decodeDib(dib.data(), dib.size(), small));
    // A move (0, 2, dx, dy) goes dx right and dy rows up: the white pixel lands top right.
    // A move past the top row is refused, in both decoders, before anything is written.
    dib.resize(48);
    dib.insert(dib.end(), {0, 2, 2, 1, 1, 1, 0, 1});
    ASSERT_TRUE(decodeDib(dib.data(), dib.size(), small));
    EXPECT_EQ(small.pixels, (std::vector<std::uint32_t>{0xFF8040, 0xFF8040, 0xFFFFFF, 0xFF8040,
                                                        0xFF8040, 0xFF8040}));
    dib[51] = 2; // two rows up from the bottom of two
    EXPECT_FALSE(decodeDib(dib.data(), dib.size(), small));
    EXPECT_FALSE(decodeDibResized(dib.data(), dib.size(), 2, 1, reduced));
    for (int id = 150; id <= 169; ++id) {
        const Bitmap large("markers/large/" + std::to_string(id) + ".bmp");
        const std::uint8_t* data = large.file.data() + 14;
        const std::size_t size = large.file.size() - 14;
        ASSERT_TRUE(decodeDib(data, size, small)) << id;
        EXPECT_FALSE(decodeDib(data, size - 2, small)) << id;
        EXPECT_FALSE(decodeDibResized(data, size - 2, 28, 28, reduced)) << id;
        for (int side : {1, 18, 28, 43, 52, 106, 176, 181}) {
            ASSERT_TRUE(decodeDibResized(data, size, side, side, reduced)) << id;
            EXPECT_EQ(reduced.pixels, resizeByArea(small, side, side).pixels) << id << " " << side;
        }
    }
}

// Area averaging, checked by what it must keep: one colour stays that colour, whole blocks
// average exactly, an equal size changes nothing, whole-number enlargement repeats pixels,
// and every reduction keeps the picture's total light to within rounding.
TEST(ResourceImages, ResizeByAreaAveragesExactShares) {
    const Bitmap bmp(markerPath(125));
    Picture marker;
    ASSERT_TRUE(decodeDib(bmp.file.data() + 14, bmp.file.size() - 14, marker));
    auto channel = [](std::uint32_t p, int c) {
        return static_cast<int>((p >> (16 - 8 * c)) & 0xFF);
    };
    EXPECT_EQ(resizeByArea(marker, 44, 44).pixels, marker.pixels);
    const Picture half = resizeByArea(marker, 22, 22);
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < 22; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int sum = channel(marker.at(2 * x, 2 * y), c) +
                                channel(marker.at(2 * x + 1, 2 * y), c) +
                                channel(marker.at(2 * x, 2 * y + 1), c) +
                                channel(marker.at(2 * x + 1, 2 * y + 1), c);
                ASSERT_EQ(channel(half.at(x, y), c), (sum + 2) / 4) << x << "," << y;
            }
        }
    }
    const Picture triple = resizeByArea(half, 66, 66);
    for (int y = 0; y < 66; ++y) {
        for (int x = 0; x < 66; ++x) {
            ASSERT_EQ(triple.at(x, y), half.at(x / 3, y / 3)) << x << "," << y;
        }
    }
    Picture flat{5, 3, std::vector<std::uint32_t>(15, 0x3399FF)};
    EXPECT_EQ(resizeByArea(flat, 2, 7).pixels, std::vector<std::uint32_t>(14, 0x3399FF));
    for (int side : {1, 14, 17, 29, 43}) {
        const Picture small = resizeByArea(marker, side, side);
        ASSERT_EQ(small.pixels.size(), static_cast<std::size_t>(side * side));
        for (int c = 0; c < 3; ++c) {
            double before = 0, after = 0;
            for (std::uint32_t p : marker.pixels) {
                before += channel(p, c);
            }
            for (std::uint32_t p : small.pixels) {
                after += channel(p, c);
            }
            EXPECT_NEAR(after / (side * side), before / (44 * 44), 0.5) << side;
        }
    }
    EXPECT_TRUE(resizeByArea(marker, 0, 5).pixels.empty());
}

} // namespace
} // namespace modalscope
