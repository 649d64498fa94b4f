// Load and abuse through the real window procedure: a seeded storm of random input, more
// frames than a leaking frame could survive, and start-up/shut-down in a loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <random>

#include "resource.h"
#include "tests/object_ledger.h"
#include "tests/shell_fixture.h"
#include "tests/wheel_expectations.h"

namespace modalscope::testing {
namespace {

unsigned stormSeed() {
    // MODALSCOPE_STORM_SEED reproduces a reported failure.
    const char* text = std::getenv("MODALSCOPE_STORM_SEED");
    return text != nullptr ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : 20261208u;
}

// Lines where they belong and the root's marker on the cursor cell, read off the window.
void expectBoardShown(const ShellSession& session) {
    const int x = board.cursorFret() * 42;
    const int y = board.cursorString() * 32;
    EXPECT_GT(session.countShown(x + 7, y + 7, x + 34, y + 34, kOrange), 100);
    EXPECT_EQ(session.shown(3, 21), kGrey);
    EXPECT_EQ(session.shown(42 * 12, 100), kGrey);
}

TEST(InputStorm, RandomMessagesKeepTheModelWhole) {
    const unsigned seed = stormSeed();
    SCOPED_TRACE(::testing::Message() << "MODALSCOPE_STORM_SEED=" << seed);
    ShellSession session;
    ASSERT_TRUE(session.started());
    std::mt19937 random(seed);
    WheelReference wheel; // what the window should make of the wheel messages
    auto below = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
    auto word = [&below]() { return static_cast<WORD>(below(0x10000)); };

    constexpr int kMessages = 40000;
    for (int i = 0; i < kMessages; ++i) {
        const unsigned long before = app.framesPresented;
        unsigned long presents = 1;
        switch (below(6)) {
        case 0: {
            WPARAM key = below(256);
            if (key == VK_ESCAPE) {
                key = VK_SPACE; // Escape closes; the closing paths are tested on their own
            }
            SendMessageA(app.window, WM_KEYDOWN, key, 0);
            const bool acts = key == VK_SPACE || key == VK_LEFT || key == VK_RIGHT ||
                              key == VK_UP || key == VK_DOWN;
            presents = acts ? 1 : 0;
            break;
        }
        case 1:
        case 2:
            SendMessageA(app.window, below(2) ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0,
                         MAKELPARAM(word(), word()));
            break;
        case 3: {
            // Half touchpad-sized turns of either sign, half any word at all.
            const int delta =
                below(2) ? static_cast<int>(below(301)) - 150 : static_cast<short>(word());
            const int notches = wheel.add(delta);
            const int fret = fretAfter(board.cursorFret(), notches);
            SendMessageA(app.window, WM_MOUSEWHEEL, MAKEWPARAM(word(), static_cast<WORD>(delta)),
                         0);
            presents = notches != 0 ? 1 : 0;
            ASSERT_EQ(board.cursorFret(), fret) << "message " << i;
            break;
        }
        case 4: {
            // Mostly the real size, sometimes minimised, sometimes anything at all.
            const unsigned pick = below(4);
            const LPARAM size = pick == 0   ? MAKELPARAM(0, 0)
                                : pick == 1 ? MAKELPARAM(word(), word())
                                            : MAKELPARAM(1009, 294);
            SendMessageA(app.window, WM_SIZE, SIZE_RESTORED, size);
            presents = 0;
            break;
        }
        default: {
            WORD command = word();
            if (command == ID_ABOUT || command == ID_EXIT) {
                command = 0;
            }
            SendMessageA(app.window, WM_COMMAND, MAKEWPARAM(command, word()), 0);
            presents = 0;
            break;
        }
        }
        ASSERT_EQ(app.framesPresented - before, presents) << "message " << i;
        if (i % 1000 == 0) {
            ASSERT_TRUE(labelsFollowCursor(board)) << "message " << i;
        }
    }
    ASSERT_TRUE(IsWindow(app.window));
    EXPECT_TRUE(labelsFollowCursor(board));

    SendMessageA(app.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(1009, 294));
    for (int k = 0; k < kIntervalCount; ++k) {
        if (!board.palette().current[k].visible) {
            board.toggle(k); // the root's box may have been hidden by the storm
        }
    }
    presentFrame();
    expectBoardShown(session);
    EXPECT_EQ(session.close(), 0);
}

TEST(InputStorm, SeventyThousandFramesLeakNothing) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    const ObjectCounts before = heldObjects();
    // More frames than the process's GDI handle table holds: one object leaked per
    // frame would exhaust it and the pen, and with it every line, would fail. Some come
    // through the window's paint notification.
    for (int i = 0; i < 70000; ++i) {
        if (i % 1000 == 0) {
            RedrawWindow(app.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        } else {
            presentFrame();
        }
    }
    EXPECT_EQ(heldObjects(), before);
    SendMessageA(app.window, WM_KEYDOWN, VK_RIGHT, 0);
    expectBoardShown(session);
}

TEST(InputStorm, RepeatedStartAndShutdownReleaseWhatTheyCreate) {
    const ObjectCounts before = heldObjects();
    HICON firstIcon = nullptr;
    HICON firstSmallIcon = nullptr;
    for (int cycle = 0; cycle < 300; ++cycle) {
        HDC back = nullptr;
        HBITMAP bitmap = nullptr;
        HBITMAP marker = nullptr;
        HDC markerSurface = nullptr;
        {
            ShellSession session;
            ASSERT_TRUE(session.started()) << "cycle " << cycle;
            back = app.back.surface();
            bitmap = app.back.bitmap();
            marker = painter.marker(kDoubleInlayMarker).bitmap();
            markerSurface = painter.marker(kDoubleInlayMarker).surface();
            ASSERT_NE(marker, nullptr);
            // One icon of each size for every registration, not one more each time; the small
            // one an image of its own size, not the large one.
            const HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(app.window, GCLP_HICON));
            const HICON small =
                reinterpret_cast<HICON>(GetClassLongPtrA(app.window, GCLP_HICONSM));
            ASSERT_NE(icon, nullptr);
            if (cycle == 0) {
                firstIcon = icon;
                firstSmallIcon = small;
            }
            ASSERT_EQ(icon, firstIcon) << "cycle " << cycle;
            ASSERT_EQ(small, firstSmallIcon) << "cycle " << cycle;
            ASSERT_NE(small, icon);
            SendMessageA(app.window, WM_KEYDOWN, VK_SPACE, 0);
            if (cycle == 0 || cycle == 299) {
                expectBoardShown(session);
            }
            ASSERT_EQ(session.close(), 0) << "cycle " << cycle;
        }
        // Handle values may be reused by the next cycle, so check before it starts.
        ASSERT_EQ(GetObjectType(back), 0u) << "cycle " << cycle;
        ASSERT_EQ(GetObjectType(bitmap), 0u) << "cycle " << cycle;
        ASSERT_EQ(GetObjectType(marker), 0u) << "cycle " << cycle;
        ASSERT_EQ(GetObjectType(markerSurface), 0u) << "cycle " << cycle;
        ASSERT_EQ(heldObjects(), before) << "cycle " << cycle;
    }
}

} // namespace
} // namespace modalscope::testing
