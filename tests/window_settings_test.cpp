#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>

#include "app/settings/screen_area.h"
#include "app/settings/window_fit.h"
#include "app/settings/window_settings.h"
#include "tests/file_faults.h"
#ifdef _WIN32
#include <windows.h>
#else
#include "tests/fake_screen_width.h"
#endif

// Bytes asked of the heap so far, to show what reading a file costs.
static std::size_t gHeapBytes = 0;

void* operator new(std::size_t size) {
    gHeapBytes += size;
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}
// The library also asks without exceptions (newer libstdc++'s stable_sort does); that comes
// from the same heap, since the deletes below return every block to it.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    gHeapBytes += size;
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace modalscope {
namespace {

// CTest runs cases in parallel, so each case has a file of its own.
std::string testFile() {
    return std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".txt";
}

#ifdef _WIN32
const std::string kLineBreak = "\r\n";
#else
const std::string kLineBreak = "\n";
#endif

// The case's file, the new file a save makes beside it, and where a fault moves that.
void removeFiles() {
    for (const char* suffix : {"", ".tmp", ".tmp.moved"}) {
        std::remove((testFile() + suffix).c_str());
    }
}

// Removes the case's files when the case ends, also when a failed assertion ends it early.
class ScratchFile {
  public:
    ScratchFile() = default;
    ~ScratchFile() { removeFiles(); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
};

void writeFile(const std::string& bytes, const char* suffix = "") {
    std::ofstream out(testFile() + suffix, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readFile(const char* suffix = "") {
    std::ifstream in(testFile() + suffix, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text as Notepad saves it as "Unicode": a byte-order mark, then UTF-16 code units.
std::string utf16(bool littleEndian, const std::u16string& text) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

struct LoadCase {
    std::string bytes;
    bool matched;
    int width, height;
    const char* fresh = nullptr; // a save's new file beside it
    bool missing = false;        // the file itself is not there
    bool held = false;           // the file itself held, unshared, by another program
};

TEST(WindowSettings, LoadTable) {
    const ScratchFile scratch;
    const LoadCase cases[] = {
        {"Width 1015\n", true, 1015, 338},
        {"Width 1015 and more words", true, 1015, 338},
        {"Width\n    790\n", true, 775, 268},
        {" \t\n\v\f\rWidth \t\n\v\f\r790", true, 775, 268},
        {"Width +790", true, 775, 268},
        {"Width 5", true, 7, 44},
        {"Width -100", true, -89, 16},
        {"Width -89", true, -65, 23},
        {"Width", true, 7, 44},
        {"Width abc", true, 7, 44},
        {"Width 2147483648", true, 7, 44},
        {"Width -2147483649", true, 7, 44},
        {"Width 2147483647", true, 2147483647, 626349439},
        {"Width -2147483648", true, -2147483633, -626349351},
        {"Width 1015x", true, 1015, 338},
        {"Width=1015", false, 0, 0},
        {"width 1015", false, 0, 0},
        {"Widths 1015", false, 0, 0},
        {"\xEF\xBB\xBFWidth 1015", true, 1015, 338},
        {"\xEF\xBB\xBF\xEF\xBB\xBFWidth 1015", false, 0, 0}, // one mark only
        {" \xEF\xBB\xBFWidth 1015", false, 0, 0},            // at the start only
        {"\xEF\xBB", false, 0, 0},
        {utf16(true, u"Width 1015\r\n"), true, 1015, 338},
        {utf16(false, u"\r\n Width\t-100"), true, -89, 16},
        {utf16(true, u"Width 10\u0135"), true, 7, 44},      // U+0135 is no digit 5
        {utf16(true, u"Width\u0A0D 1015"), false, 0, 0},    // bytes 0D 0A, not CR LF
        {utf16(true, u"Width\u011A 1015"), false, 0, 0},    // byte 1A, not the end mark
        {utf16(false, u"Width 790") + "7", true, 775, 268}, // a lone last byte
        {utf16(true, u""), false, 0, 0},
        {"", false, 0, 0},
        {"   \n", false, 0, 0},
        {"", true, 1015, 338, "Width 1015\r\n", true}, // a replace cut between its two steps
        {"", false, 0, 0, "Width 10", true},           // a new file cut off while written
        {"", false, 0, 0, "Width 1015\n"},             // never read beside the file itself
#ifdef _WIN32
        {"Width 42", false, 0, 0, "Width 1015\r\n", false, true}, // there, if not readable
#endif
    };
    for (const LoadCase& c : cases) {
        removeFiles();
        if (!c.missing) {
            writeFile(c.bytes);
        }
        if (c.fresh) {
            writeFile(c.fresh, ".tmp");
        }
#ifdef _WIN32
        const HANDLE holder = c.held ? CreateFileA(testFile().c_str(), GENERIC_READ, 0, nullptr,
                                                   OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE;
#endif
        WindowSettings settings;
        EXPECT_EQ(settings.load(testFile()), c.matched) << ::testing::PrintToString(c.bytes);
#ifdef _WIN32
        if (holder != INVALID_HANDLE_VALUE) {
            CloseHandle(holder);
        }
#endif
        EXPECT_EQ(settings.width(), c.width) << ::testing::PrintToString(c.bytes);
        EXPECT_EQ(settings.height(), c.height) << ::testing::PrintToString(c.bytes);
    }
    // A NUL byte is just another non-space byte of the first word.
    writeFile(std::string("Wid\0th 1015", 11));
    WindowSettings withNul;
    EXPECT_FALSE(withNul.load(testFile()));
}

TEST(WindowSettings, HugeFilesReadWithoutFailing) {
    const ScratchFile scratch;
    // One 32 MiB word: read in memory that does not grow with it (the stream's own buffer).
    writeFile("Width" + std::string(32 << 20, 'W'));
    WindowSettings word;
    const std::size_t heapBefore = gHeapBytes;
    EXPECT_FALSE(word.load(testFile()));
    EXPECT_LT(gHeapBytes - heapBefore, std::size_t{1} << 16);
    writeFile("Width " + std::string(4 << 20, '9'));
    WindowSettings number;
    EXPECT_TRUE(number.load(testFile()));
    EXPECT_EQ(number.width(), 7); // out of range: the previous 0
}

TEST(WindowSettings, FailedNumberKeepsThePreviousWidth) {
    const ScratchFile scratch;
    WindowSettings settings;
    writeFile("Width 1015");
    ASSERT_TRUE(settings.load(testFile()));
    writeFile("Width nothing");
    ASSERT_TRUE(settings.load(testFile()));
    EXPECT_EQ(settings.width(), 1015);
    EXPECT_EQ(settings.height(), 338);
}

// Saves over a width 5 pixels past whole cells, with faults in the file calls: the old
// width only in a new file a cut replace left; a failed write (the old file stays, the new
// one goes); another writer's new file (left alone); a file another program holds twice,
// then for longer (given up after five tries).
TEST(WindowSettings, SaveWritesOneLineAndIsStableForNonNegativeCells) {
    const ScratchFile scratch;
    // clang-format off
    const struct {
        int a;
        bool inFresh = false;
        const char* faults = "";   // due in the file calls, in order (tests/file_faults.h)
        const char* calls = "wfr"; // made, in order: the flush before the replace
        bool saved = true;
    } cases[] = {{0}, {1}, {14}, {32}, {52}, {1000}, {42, true}, {42, false, "w", "w", false},
                 {42, false, "o", "wfr", false},
#ifdef _WIN32
                 {42, false, "bb", "wfrrr"}, {42, false, "bbbbbb", "wfrrrrr", false},
#endif
    };
    // clang-format on
    for (const auto& c : cases) {
        if (!testing::kInjectsFileFaults && *c.faults) {
            continue;
        }
        const std::string old = "Width " + std::to_string(24 * c.a + 7 + 5) + "\n";
        removeFiles();
        writeFile(old, c.inFresh ? ".tmp" : "");
        WindowSettings settings;
        ASSERT_TRUE(settings.load(testFile()));
        testing::injectFileFaults(c.faults);
        settings.save(testFile());
        if (testing::kInjectsFileFaults) {
            EXPECT_EQ(testing::fileCalls(), c.calls) << c.faults;
        }
        const std::string saved = "Width " + std::to_string(24 * c.a + 7) + kLineBreak;
        EXPECT_EQ(readFile(), c.saved ? saved : old) << c.faults;
        const bool other = std::string(c.faults) == "o";
        EXPECT_EQ(std::filesystem::exists(testFile() + ".tmp"), other) << c.faults;
        EXPECT_EQ(readFile(".tmp"), other ? testing::kOtherWritersFile : "") << c.faults;
        if (!c.saved) {
            continue;
        }
        WindowSettings again;
        ASSERT_TRUE(again.load(testFile()));
        EXPECT_EQ(again.width(), 24 * c.a + 7);
        EXPECT_EQ(again.height(), 7 * c.a + 44);
    }
}

TEST(WindowSettings, MissingOrUnwritableFilesFailNothing) {
    const ScratchFile scratch;
    WindowSettings settings;
    EXPECT_FALSE(settings.load("no/such/folder/default.txt"));
    EXPECT_FALSE(settings.load("."));
    writeFile("Width 1015");
    ASSERT_TRUE(settings.load(testFile()));
    settings.save("no/such/folder/default.txt");
    settings.save("."); // the new file is made, then cannot take the folder's place
    EXPECT_FALSE(std::filesystem::exists("..tmp")) << "the new file is removed";
    // The new file cannot be made: the old one stays as it was.
    const std::string fresh = testFile() + ".tmp";
    ASSERT_TRUE(std::filesystem::create_directory(fresh));
    WindowSettings other;
    other.save(testFile());
    std::filesystem::remove(fresh);
    EXPECT_EQ(settings.width(), 1015);
    EXPECT_EQ(readFile(), "Width 1015");
}

TEST(WindowFit, BoardClientSize) {
    const struct {
        std::int32_t cells, width, height;
    } cases[] = {{42, 1009, 294},
                 {50, 1201, 350},
                 {52, 1249, 364},
                 {0, 1, 0},
                 {-4, -95, -28},
                 {89478485, 2147483641, 626349395},
                 {-89478485, -2147483639, -626349395}};
    for (const auto& c : cases) {
        const PixelSize size = boardClientSize(c.cells);
        EXPECT_EQ(size.width, c.width) << c.cells;
        EXPECT_EQ(size.height, c.height) << c.cells;
    }
}

TEST(WindowFit, LargestCellSizeWhoseWindowFits) {
    constexpr std::int32_t kMax = INT32_MAX;
    constexpr std::int32_t kMin = INT32_MIN;
    const struct {
        const char* what;
        std::int32_t cells;
        PixelSize frame, area;
        std::int32_t fits;
    } cases[] = {
        {"1024 wide, classic frame", 42, {6, 44}, {1024, 768}, 42},
        {"stored 100000 on 1024x768", 4166, {6, 44}, {1024, 768}, 42},
        {"stored 100000 on 1024x768 at 144 dpi", 4166, {6, 62}, {1024, 768}, 42},
        {"1600x400: the height decides", 66, {6, 44}, {1600, 400}, 50},
        {"1280x1024 at 120 dpi", 52, {6, 54}, {1280, 1024}, 52},
        {"a wide frame and a task bar", 42, {16, 59}, {1024, 728}, 41},
        {"exactly as wide as the window", 42, {6, 44}, {1015, 768}, 42},
        {"one pixel narrower", 42, {6, 44}, {1014, 768}, 41},
        {"exactly as tall as the window", 42, {6, 44}, {1024, 338}, 42},
        {"one pixel shorter", 42, {6, 44}, {1024, 337}, 41},
        {"fits: never raised", 32, {6, 44}, {1920, 1080}, 32},
        {"nothing fits: the empty board", 5, {6, 44}, {4, 40}, 0},
        {"empty board left as it is", 0, {6, 44}, {4, 40}, 0},
        {"negative cells left as they are", -4, {6, 44}, {1024, 768}, -4},
        {"largest stored, largest area", 89478485, {6, 44}, {kMax, kMax}, 89478485},
        {"largest stored, most negative area", 89478485, {6, 44}, {kMin, kMin}, 0},
        {"largest stored, most negative frame", 89478485, {kMin, kMin}, {1024, 768}, 89478485},
        {"largest stored, largest frame", 89478485, {kMax, kMax}, {1024, 768}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fittingCellSize(c.cells, c.frame, c.area), c.fits) << c.what;
    }
}

// The window around the board: the client area exactly the board, the outer size the board
// plus each side of the frame, the cell size lowered only as far as the whole window must be
// to fit. The frames are lopsided, so that no side can stand in for another.
TEST(WindowFit, GeometryIsTheBoardInsideEachSideOfTheFrame) {
    const FrameEdges wine8 = {3, 41, 3, 3};    // the classic frame: 1015 x 338 at cell 42
    const FrameEdges lopsided = {2, 61, 9, 5}; // 150 %'s caption and menu bar, odd borders
    const PixelSize exact = {24 * 42 + 1 + 11, 7 * 42 + 66}; // 42 just fits lopsided
    const struct {
        const char* what;
        std::int32_t cell;
        FrameEdges frame;
        const PixelSize* area;
        std::int32_t fits, outerWidth, outerHeight;
    } cases[] = {
        {"classic frame, no area", 42, wine8, nullptr, 42, 1015, 338},
        {"lopsided frame, no area", 42, lopsided, nullptr, 42, 1020, 360},
        {"exactly fits", 42, lopsided, &exact, 42, 1020, 360},
        {"a pixel too narrow", 43, lopsided, &exact, 42, 1020, 360},
        {"negative cells: the empty board", -4, lopsided, nullptr, 0, 12, 66},
    };
    for (const auto& c : cases) {
        const WindowGeometry g = fitWindow(c.cell, 96, 96, c.frame, c.area);
        EXPECT_EQ(g.cellSize, c.fits) << c.what;
        EXPECT_EQ(g.client.width, boardClientSize(c.fits).width) << c.what;
        EXPECT_EQ(g.client.height, boardClientSize(c.fits).height) << c.what;
        EXPECT_EQ(g.outer.width, c.outerWidth) << c.what;
        EXPECT_EQ(g.outer.height, c.outerHeight) << c.what;
    }
    PixelSize narrower = exact;
    narrower.width -= 1;
    EXPECT_EQ(fitWindow(42, 96, 96, lopsided, &narrower).cellSize, 41) << "the frame counts";
    narrower = {exact.width, exact.height - 1};
    EXPECT_EQ(fitWindow(42, 96, 96, lopsided, &narrower).cellSize, 41) << "the frame counts";
}

TEST(WindowFit, CellSizeAtAnotherScale) {
    const struct {
        std::int32_t cell;
        std::uint32_t from, to;
        std::int32_t scaled;
    } cases[] = {{42, 96, 144, 63},
                 {42, 96, 192, 84},
                 {63, 144, 96, 42},
                 {20, 96, 120, 25},
                 {41, 96, 120, 51},
                 {42, 0, 144, 42},
                 {42, 96, 0, 42},
                 {INT32_MAX, 96, 384, INT32_MAX},
                 {INT32_MIN, 96, 384, INT32_MIN}};
    for (const auto& c : cases) {
        EXPECT_EQ(scaledCellSize(c.cell, c.from, c.to), c.scaled) << c.cell << " " << c.to;
    }
}

// A change of scale between two monitors, a 2560-wide one at 100 % and a 1920-wide one at
// 125 %, the window started on the first at its whole width: the size answered before the
// change is fitted to where the window goes (the pointer's monitor while dragged, else its
// own), and the change keeps it only where it fits the monitor the window lands on.
TEST(WindowFit, ScaleChangeFitsTheMonitorTheWindowLandsOn) {
    const PixelSize wide = {2560, 1400};
    const PixelSize narrow = {1920, 1040};
    const PixelSize docked = {1800, 1400}; // the wide one less a bar docked at its side
    const FrameEdges frame125 = {4, 50, 4, 4};
    const StartScale start = {106, 96};
    const struct {
        const char* what;
        std::uint32_t dpi;
        bool dragged;
        const PixelSize *pointer, *own, *landing;
        bool asked, suggestedAsAnswered;
        std::int32_t answered, taken;
    } cases[] = {
        {"moved by keys onto the narrow one: answered for its own, fitted anew where it lands", 120,
         false, &narrow, &wide, &narrow, true, true, 106, 79},
        {"dragged onto the narrow one: answered for the pointer's, kept", 120, true, &narrow, &wide,
         &narrow, true, true, 79, 79},
        {"dragged, its larger part across before the pointer", 120, true, &wide, &narrow, &narrow,
         true, true, 106, 79},
        {"dragged back onto the wide one", 96, true, &wide, &narrow, &wide, true, true, 106, 106},
        {"answered while a bar was docked: the answer still fits, kept", 120, false, &narrow,
         &docked, &wide, true, true, 74, 74},
        {"suggested at another size: fitted anew", 120, false, &narrow, &docked, &wide, true, false,
         74, 106},
        {"not asked: fitted to where it lands", 120, false, &wide, &wide, &narrow, false, false,
         106, 79},
        {"nothing known of the monitor: the start's board scaled", 120, false, nullptr, nullptr,
         nullptr, false, false, 132, 132},
    };
    for (const auto& c : cases) {
        const FrameEdges frame = c.dpi == 120 ? frame125 : kClassicFrame;
        const WindowGeometry answer =
            answerScaleChange(start, c.dpi, frame, c.dragged, c.pointer, c.own);
        EXPECT_EQ(answer.cellSize, c.answered) << c.what;
        const PixelSize suggested = c.suggestedAsAnswered
                                        ? answer.outer
                                        : PixelSize{answer.outer.width + 1, answer.outer.height};
        const WindowGeometry taken =
            takeScaleChange(c.asked ? &answer : nullptr, suggested, start, c.dpi, frame, c.landing);
        EXPECT_EQ(taken.cellSize, c.taken) << c.what;
        EXPECT_EQ(taken.outer.width, boardClientSize(c.taken).width + frame.left + frame.right)
            << c.what;
        if (c.landing != nullptr) {
            EXPECT_LE(taken.outer.width, c.landing->width) << c.what << ": the whole board";
        }
    }
}

// A minimised or maximised window's restored place after a change of scale, on a work area
// from (40, 30) (task bars at the top and the left), on one at the screen's corner, and on a
// second monitor right of the first.
TEST(WindowFit, RestoredPlaceIsFromTheWorkAreasCorner) {
    const struct {
        PixelPoint screen, work, monitor, restored;
    } cases[] = {{{60, 50}, {40, 30}, {0, 0}, {20, 20}},
                 {{60, 50}, {0, 0}, {0, 0}, {60, 50}},
                 {{2000, 50}, {1960, 30}, {1920, 0}, {1960, 20}}};
    for (const auto& c : cases) {
        const PixelPoint restored = workspacePoint(c.screen, c.work, c.monitor);
        EXPECT_EQ(restored.x, c.restored.x) << c.work.x;
        EXPECT_EQ(restored.y, c.restored.y) << c.work.y;
    }
}

#ifdef _WIN32
TEST(WindowSettings, TextModeReadsCrLfAndStopsAtControlZ) {
    const ScratchFile scratch;
    writeFile("Width\r\n1015\r\n");
    WindowSettings settings;
    ASSERT_TRUE(settings.load(testFile()));
    EXPECT_EQ(settings.width(), 1015);
    writeFile("Width \x1A"
              "1015");
    WindowSettings cut;
    ASSERT_TRUE(cut.load(testFile()));
    EXPECT_EQ(cut.width(), 7);
    // UTF-16 by the same rules, applied to characters.
    writeFile(utf16(false, u"Width\u001A1015"));
    WindowSettings cutUnicode;
    ASSERT_TRUE(cutUnicode.load(testFile()));
    EXPECT_EQ(cutUnicode.width(), 7);
}

TEST(WindowSettings, ScreenSizeIsNormalised) {
    WindowSettings settings;
    settings.sizeFromScreen();
    const int a = (settings.width() - 7) / 24;
    EXPECT_GT(a, 0);
    EXPECT_EQ(settings.width(), 24 * a + 7);
    EXPECT_EQ(settings.height(), 7 * a + 44);
}
#else
// Puts the fake screen back as every other case expects it: work area unknown.
class FakeScreen {
  public:
    FakeScreen() = default;
    ~FakeScreen() {
        testing::setFakeScreenWidth(true, 1024);
        testing::setFakeWorkArea(false, 0, 0);
    }
    FakeScreen(const FakeScreen&) = delete;
    FakeScreen& operator=(const FakeScreen&) = delete;
};

TEST(WindowSettings, ScreenTableAndFallback) {
    const ScratchFile scratch;
    const struct {
        bool succeeds;
        int screen, width, height;
    } cases[] = {{true, 800, 775, 268},
                 {true, 1024, 1015, 338},
                 {true, 1280, 1255, 408},
                 {false, 0, 799, 275}};
    for (const auto& c : cases) {
        testing::setFakeScreenWidth(c.succeeds, c.screen);
        WindowSettings settings;
        settings.loadOrDefault("no/such/folder/default.txt");
        EXPECT_EQ(settings.width(), c.width) << c.screen;
        EXPECT_EQ(settings.height(), c.height) << c.screen;
    }
    testing::setFakeScreenWidth(true, 1280);
    writeFile("Width 1015");
    WindowSettings fromFile;
    fromFile.loadOrDefault(testFile());
    EXPECT_EQ(fromFile.width(), 1015);
}

// Start-up without a file: the original rule, then the one fit lowers the cell size only as
// far as the whole window needs to fit the work area, and the size shown is what is stored.
// The sizes earlier versions gave on a single monitor at 96 dpi.
TEST(WindowSettings, ScreenSizeFitsTheWorkArea) {
    const ScratchFile scratch;
    const FakeScreen fake;
    const struct {
        const char* what;
        bool screenKnown;
        int screen;
        bool areaKnown;
        PixelSize area;
        FrameEdges frame;
        int width, height, saved;
    } cases[] = {
        {"800 wide", true, 800, true, {800, 600}, kClassicFrame, 775, 268, 775},
        {"1024 wide", true, 1024, true, {1024, 768}, kClassicFrame, 1015, 338, 1015},
        {"1280 wide", true, 1280, true, {1280, 1024}, kClassicFrame, 1255, 408, 1255},
        {"1280x1024 at 120 dpi", true, 1280, true, {1280, 1024}, {3, 51, 3, 3}, 1255, 408, 1255},
        {"1600x400", true, 1600, true, {1600, 400}, kClassicFrame, 1207, 394, 1207},
        {"wide frame, task bar", true, 1024, true, {1024, 728}, {8, 51, 8, 8}, 991, 331, 991},
        {"display query fails", false, 0, true, {1024, 768}, kClassicFrame, 799, 275, 799},
        {"display query fails, small area",
         false,
         0,
         true,
         {640, 480},
         kClassicFrame,
         631,
         226,
         631},
        {"work area unknown", true, 1600, false, {}, kClassicFrame, 1591, 506, 1591},
    };
    for (const auto& c : cases) {
        testing::setFakeScreenWidth(c.screenKnown, c.screen);
        WindowSettings settings;
        settings.loadOrDefault("no/such/folder/default.txt");
        const WindowGeometry shown =
            fitWindow(settings.cellSize(), 96, 96, c.frame, c.areaKnown ? &c.area : nullptr);
        settings.keepShown(shown.cellSize);
        EXPECT_EQ(settings.width(), c.width) << c.what;
        EXPECT_EQ(settings.height(), c.height) << c.what;
        EXPECT_EQ(settings.cellSize(), shown.cellSize) << c.what << ": stored as shown";
        settings.save(testFile());
        EXPECT_EQ(readFile(), "Width " + std::to_string(c.saved) + "\n") << c.what;
    }
}

// A stored width is shown at the largest cell size that fits (the empty board for a
// negative one) and saved as read, so the file brings its size back on a larger screen.
TEST(WindowSettings, StoredWidthShownAtTheSizeThatFits) {
    const ScratchFile scratch;
    const FakeScreen fake;
    const struct {
        const char* file;
        PixelSize area;
        int cells, shown;
        const char* saved;
    } cases[] = {
        {"Width 100000", {1024, 768}, 4166, 42, "Width 99991\n"},
        {"Width 2147483647", {1024, 768}, 89478485, 42, "Width 2147483647\n"},
        {"Width 1015", {1024, 768}, 42, 42, "Width 1015\n"},
        {"Width 1591", {1600, 400}, 66, 50, "Width 1591\n"},
        {"Width 1591", {1920, 1080}, 66, 66, "Width 1591\n"},
        {"Width 775", {640, 480}, 32, 26, "Width 775\n"},
        {"Width 5", {1024, 768}, 0, 0, "Width 7\n"},
        {"Width -100", {1024, 768}, -4, 0, "Width -89\n"},
        {"Width -2147483648", {1024, 768}, -89478485, 0, "Width -2147483633\n"},
    };
    testing::setFakeScreenWidth(true, 1920); // never asked: the file has a size
    for (const auto& c : cases) {
        writeFile(c.file);
        WindowSettings settings;
        settings.loadOrDefault(testFile());
        EXPECT_EQ(settings.cellSize(), c.cells) << c.file;
        const WindowGeometry shown = fitWindow(settings.cellSize(), 96, 96, kClassicFrame, &c.area);
        EXPECT_EQ(shown.cellSize, c.shown) << c.file;
        settings.keepShown(shown.cellSize);
        settings.save(testFile());
        EXPECT_EQ(readFile(), c.saved) << c.file;
    }
    writeFile("Width 100000");
    WindowSettings unknownArea;
    unknownArea.loadOrDefault(testFile());
    EXPECT_EQ(fitWindow(unknownArea.cellSize(), 96, 96, kClassicFrame, nullptr).cellSize, 4166)
        << "nothing known to fit";
}
// The window opens at the work area's top-left corner, clear of a task bar at the top or
// the left (the screen's corner when the area is unknown), and fits the area's size.
TEST(WindowSettings, WindowOpensAtTheWorkAreasCorner) {
    const ScratchFile scratch;
    const FakeScreen fake;
    writeFile("Width 1015");
    const struct {
        bool known;
        int left, top, width, height, x, y, shown;
    } cases[] = {{true, 0, 40, 1024, 728, 0, 40, 42},
                 {true, 62, 0, 962, 768, 62, 0, 39},
                 {false, 62, 40, 962, 728, 0, 0, 42}};
    for (const auto& c : cases) {
        testing::setFakeWorkArea(c.known, c.width, c.height, c.left, c.top);
        EXPECT_EQ(openingCorner().x, c.x) << c.left;
        EXPECT_EQ(openingCorner().y, c.y) << c.top;
        WindowSettings settings;
        ASSERT_TRUE(settings.load(testFile()));
        WorkArea area;
        const bool known = queryWorkArea(area);
        EXPECT_EQ(
            fitWindow(settings.cellSize(), 96, 96, kClassicFrame, known ? &area.size : nullptr)
                .cellSize,
            c.shown)
            << c.width;
    }
}
#endif

} // namespace
} // namespace modalscope
