#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/window_settings.h"
#ifndef _WIN32
#include "tests/fake_screen_width.h"
#endif

namespace modalscope {
namespace {

// CTest runs cases in parallel, so each case has a file of its own.
std::string testFile() {
    return std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".txt";
}

// Removes the case's file when the case ends, also when a failed assertion ends it early.
class ScratchFile {
  public:
    ScratchFile() = default;
    ~ScratchFile() { std::remove(testFile().c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
};

void writeFile(const std::string& bytes) {
    std::ofstream out(testFile(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readFile() {
    std::ifstream in(testFile(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct LoadCase {
    const char* bytes;
    bool matched;
    int width, height;
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
        {"\xEF\xBB\xBFWidth 1015", false, 0, 0},
        {"", false, 0, 0},
        {"   \n", false, 0, 0},
    };
    for (const LoadCase& c : cases) {
        writeFile(c.bytes);
        WindowSettings settings;
        EXPECT_EQ(settings.load(testFile()), c.matched) << c.bytes;
        EXPECT_EQ(settings.width(), c.width) << c.bytes;
        EXPECT_EQ(settings.height(), c.height) << c.bytes;
    }
    // A NUL byte is just another non-space byte of the first word.
    writeFile(std::string("Wid\0th 1015", 11));
    WindowSettings withNul;
    EXPECT_FALSE(withNul.load(testFile()));
}

TEST(WindowSettings, HugeFilesReadWithoutFailing) {
    const ScratchFile scratch;
    writeFile(std::string(4 << 20, 'W'));
    WindowSettings word;
    EXPECT_FALSE(word.load(testFile()));
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

TEST(WindowSettings, SaveWritesOneLineAndIsStableForNonNegativeCells) {
    const ScratchFile scratch;
    for (int a : {0, 1, 14, 32, 42, 52, 1000}) {
        writeFile("Width " + std::to_string(24 * a + 7 + 5));
        WindowSettings settings;
        ASSERT_TRUE(settings.load(testFile()));
        settings.save(testFile());
#ifdef _WIN32
        EXPECT_EQ(readFile(), "Width " + std::to_string(24 * a + 7) + "\r\n");
#else
        EXPECT_EQ(readFile(), "Width " + std::to_string(24 * a + 7) + "\n");
#endif
        WindowSettings again;
        ASSERT_TRUE(again.load(testFile()));
        EXPECT_EQ(again.width(), 24 * a + 7);
        EXPECT_EQ(again.height(), 7 * a + 44);
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
    settings.save(".");
    EXPECT_EQ(settings.width(), 1015);
    EXPECT_EQ(readFile(), "Width 1015");
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
#endif

} // namespace
} // namespace modalscope
