// Feeds arbitrary bytes to the settings reader as the contents of the settings file and
// checks the result against a second, independent reading of the same bytes in memory,
// plus the properties that hold for every size: normalised values, unchanged values when
// the keyword is missing, the fallback to the screen and the save/load round trip.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/settings/window_settings.h"
#include "tests/fake_screen_width.h"

namespace {

using modalscope::WindowSettings;

// One file per process, so parallel fuzzing workers never share it. Removed at exit and
// before a failed check aborts; only a sanitizer report leaves it behind.
std::string inputPath;

void removeInputFile() {
    std::remove(inputPath.c_str());
}

[[noreturn]] void fail(const char* what, std::int64_t got, std::int64_t want) {
    std::fprintf(stderr, "settings_fuzzer: %s: got %" PRId64 ", want %" PRId64 "\n", what, got,
                 want);
    removeInputFile();
    std::abort(); // libFuzzer reports the abort and keeps the input
}

void expectEq(const char* what, std::int64_t got, std::int64_t want) {
    if (got != want) {
        fail(what, got, want);
    }
}

struct Size {
    std::int64_t width;
    std::int64_t height;
};

// Computed in 64 bits so that the reference itself cannot overflow.
Size normalised(std::int64_t width) {
    const std::int64_t a = (width - 6) / 24;
    return {24 * a + 7, 7 * a + 44};
}

void expectSize(const char* what, const WindowSettings& settings, Size want) {
    expectEq(what, settings.width(), want.width);
    expectEq(what, settings.height(), want.height);
}

// Whatever the path taken, a loaded size is 24 whole cells plus the window frame.
void expectNormalisedForm(const WindowSettings& settings) {
    const std::int64_t w = settings.width();
    expectEq("width is 24a + 7", (w - 7) % 24, 0);
    expectEq("height is 7a + 44", settings.height(), 7 * ((w - 7) / 24) + 44);
}

bool isBlank(std::uint32_t c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

// What the file says, read straight from its bytes; host text mode translates nothing.
struct Reading {
    bool matched;  // first word is exactly the keyword
    bool hasValue; // a complete number in the 32-bit range follows
    std::int64_t value;
};

// The file's characters: after a UTF-8 byte-order mark its bytes; after a UTF-16 one
// (FF FE little endian, FE FF big endian) its whole code units; otherwise all its bytes.
std::vector<std::uint32_t> charactersOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint32_t> text;
    const bool little = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
    const bool big = size >= 2 && data[0] == 0xFE && data[1] == 0xFF;
    if (little || big) {
        for (std::size_t i = 2; i + 1 < size; i += 2) {
            text.push_back(little ? data[i] + 256u * data[i + 1] : 256u * data[i] + data[i + 1]);
        }
        return text;
    }
    const bool utf8Mark = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
    text.assign(data + (utf8Mark ? 3 : 0), data + size);
    return text;
}

Reading readReference(const std::uint8_t* bytes, std::size_t byteCount) {
    const std::vector<std::uint32_t> text = charactersOf(bytes, byteCount);
    const std::uint32_t* data = text.data();
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size && isBlank(data[i])) {
        ++i;
    }
    const std::size_t wordStart = i;
    while (i < size && !isBlank(data[i])) {
        ++i;
    }
    Reading reading{};
    reading.matched = std::u32string(data + wordStart, data + i) == U"Width";
    if (!reading.matched) {
        return reading;
    }
    while (i < size && isBlank(data[i])) {
        ++i;
    }
    bool negative = false;
    if (i < size && (data[i] == '+' || data[i] == '-')) {
        negative = data[i] == '-';
        ++i;
    }
    // Digits go on to the first non-digit; past 2^31 only the fact of overflow matters.
    std::int64_t magnitude = 0;
    bool anyDigit = false;
    bool overflow = false;
    for (; i < size && data[i] >= '0' && data[i] <= '9'; ++i) {
        anyDigit = true;
        if (!overflow) {
            magnitude = magnitude * 10 + (data[i] - '0');
            overflow = magnitude > (std::int64_t{1} << 31);
        }
    }
    reading.value = negative ? -magnitude : magnitude;
    reading.hasValue =
        anyDigit && !overflow && reading.value >= INT32_MIN && reading.value <= INT32_MAX;
    return reading;
}

void writeInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(inputPath.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror(inputPath.c_str());
        std::abort(); // without the file nothing below would test anything
    }
}

std::string readInput() {
    std::ifstream in(inputPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A display width that varies with the input, so the fallback and the unchanged-values
// checks do not always see the same prior size.
int screenFor(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * 16777619u;
    }
    return static_cast<int>(hash % 16384);
}

// The display rows of the size table: screen width, whether the query succeeds, result.
struct DisplayCase {
    bool succeeds;
    int screen;
    Size size;
};
const DisplayCase displayCases[] = {
    {true, 800, {775, 268}},
    {true, 1024, {1015, 338}},
    {true, 1280, {1255, 408}},
    {false, 0, {799, 275}},
};

void checkFallback(const Reading& reading, const WindowSettings& loaded, int screen) {
    if (reading.matched) {
        modalscope::testing::setFakeScreenWidth(true, screen);
        WindowSettings settings;
        settings.loadOrDefault(inputPath);
        expectSize("loadOrDefault keeps the file's size", settings,
                   {loaded.width(), loaded.height()});
        return;
    }
    for (const DisplayCase& c : displayCases) {
        modalscope::testing::setFakeScreenWidth(c.succeeds, c.screen);
        WindowSettings settings;
        settings.loadOrDefault(inputPath);
        expectSize("loadOrDefault falls back to the display", settings, c.size);
    }
    modalscope::testing::setFakeScreenWidth(true, screen);
    WindowSettings settings;
    settings.loadOrDefault(inputPath);
    expectSize("loadOrDefault falls back to the display", settings, normalised(screen - 6));
}

// Runs last: it overwrites the input file.
void checkRoundTrip(const WindowSettings& loaded) {
    loaded.save(inputPath);
    const std::string want = "Width " + std::to_string(loaded.width()) + "\n";
    const std::string got = readInput();
    if (got != want) {
        std::fprintf(stderr, "settings_fuzzer: save wrote \"%s\", want \"%s\"\n", got.c_str(),
                     want.c_str());
        removeInputFile();
        std::abort();
    }
    WindowSettings back;
    if (!back.load(inputPath)) {
        fail("a saved file loads", 0, 1);
    }
    const std::int64_t a = (std::int64_t{loaded.width()} - 7) / 24;
    const std::int64_t backA = (std::int64_t{back.width()} - 7) / 24;
    // Stable for whole cells; a negative cell count creeps one step toward zero per load.
    expectEq("cell size after save and load", backA, a >= 0 ? a : a + 1);
    expectNormalisedForm(back);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    inputPath = (std::filesystem::temp_directory_path() /
                 ("modalscope-settings-fuzz-" + std::to_string(getpid()) + ".txt"))
                    .string();
    std::atexit(removeInputFile);
    // A file that is not there: false, and nothing changes.
    removeInputFile();
    WindowSettings settings;
    if (settings.load(inputPath)) {
        fail("a missing file loads", 1, 0);
    }
    expectSize("a missing file changes nothing", settings, {0, 0});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Reading reading = readReference(data, size);
    const int screen = screenFor(data, size);
    writeInput(data, size);

    // A fresh instance, as at start-up: a number that cannot be read leaves the 0.
    WindowSettings fresh;
    expectEq("load on a fresh instance", fresh.load(inputPath), reading.matched);
    if (reading.matched) {
        expectSize("loaded size", fresh, normalised(reading.hasValue ? reading.value : 0));
        expectNormalisedForm(fresh);
    } else {
        expectSize("no keyword changes nothing", fresh, {0, 0});
    }

    // An instance that already holds a size keeps it unless a number is read.
    modalscope::testing::setFakeScreenWidth(true, screen);
    WindowSettings primed;
    primed.sizeFromScreen();
    const Size prior{primed.width(), primed.height()};
    expectSize("size from the display", primed, normalised(screen - 6));
    expectEq("load on a sized instance", primed.load(inputPath), reading.matched);
    if (reading.matched) {
        expectSize("loaded size", primed,
                   normalised(reading.hasValue ? reading.value : prior.width));
    } else {
        expectSize("no keyword changes nothing", primed, prior);
    }

    checkFallback(reading, fresh, screen);
    if (reading.matched) {
        checkRoundTrip(fresh);
    }
    return 0;
}
