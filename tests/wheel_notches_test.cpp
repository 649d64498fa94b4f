#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "model/wheel_notches.h"
#include "tests/wheel_expectations.h"

namespace modalscope {
namespace {

struct WheelCase {
    const char* name;
    std::vector<int> deltas;
    std::vector<int> notches; // one per delta
    int pending;              // after the last delta
};

TEST(WheelNotches, WholeNotchesOfTravelInOneDirection) {
    const WheelCase cases[] = {
        {"ordinary wheel away", {120, 120}, {1, 1}, 0},
        {"ordinary wheel toward", {-120, -120}, {-1, -1}, 0},
        {"touchpad quarters", {30, 30, 30, 30}, {0, 0, 0, 1}, 0},
        {"touchpad quarters toward", {-30, -30, -30, -30, -30}, {0, 0, 0, -1, 0}, -30},
        {"coalesced notches", {240, -360}, {2, -3}, 0},
        {"remainder carried", {100, 100, 100}, {0, 1, 1}, 60},
        {"just short, then one more", {119, 1, -119, -1}, {0, 1, 0, -1}, 0},
        {"change of direction drops the remainder", {-90, 90}, {0, 0}, 90},
        {"and again", {90, -90, 90, 30}, {0, 0, 0, 1}, 0},
        {"a notch then a small turn back", {150, -40}, {1, 0}, -40},
        {"zero is no travel and keeps the remainder", {0, 60, 0, 60, 0}, {0, 0, 0, 1, 0}, 0},
        {"largest wheel words", {32767, 32767}, {273, 273}, 14},
        {"smallest wheel words", {-32768, -32768}, {-273, -273}, -16},
        {"extremes alternate", {32767, -32768, 32767}, {273, -273, 273}, 7},
        {"whole int range", {INT_MAX, INT_MAX}, {INT_MAX / 120, INT_MAX / 120}, 14},
        {"whole int range toward", {INT_MIN, INT_MIN}, {INT_MIN / 120, INT_MIN / 120}, -16},
    };
    for (const WheelCase& c : cases) {
        WheelNotches wheel;
        ASSERT_EQ(c.deltas.size(), c.notches.size()) << c.name;
        for (size_t i = 0; i < c.deltas.size(); ++i) {
            EXPECT_EQ(wheel.add(c.deltas[i]), c.notches[i]) << c.name << ", message " << i;
        }
        EXPECT_EQ(wheel.pending(), c.pending) << c.name;
    }
}

// Long mixed sequences against the rule stated directly: every message gives what the
// reference gives, and what is held back stays below a notch on the side last turned.
TEST(WheelNotches, LongSequencesFollowTheRule) {
    std::mt19937 random(20261208u);
    auto below = [&random](int n) { return static_cast<int>(random() % unsigned(n)); };
    for (int run = 0; run < 20; ++run) {
        WheelNotches wheel;
        testing::WheelReference reference;
        int away = 0;
        int toward = 0;
        int lastDirection = 0;
        for (int i = 0; i < 50000; ++i) {
            int delta = 0;
            switch (below(5)) {
            case 0:
                delta = below(61) - 30; // touchpad-sized, zero included
                break;
            case 1:
                delta = (below(2) ? 120 : -120) * (1 + below(3)); // ordinary and coalesced
                break;
            case 2:
                delta = below(65536) - 32768; // any wheel word
                break;
            case 3:
                delta = below(2) ? 32767 : -32768;
                break;
            default:
                delta = (below(2) ? 1 : -1) * (1 + below(119)); // just short of a notch
                break;
            }
            const int notches = wheel.add(delta);
            ASSERT_EQ(notches, reference.add(delta)) << "run " << run << ", message " << i;
            away += notches > 0 ? 1 : 0;
            toward += notches < 0 ? 1 : 0;
            if (delta != 0) {
                lastDirection = delta > 0 ? 1 : -1;
            }
            ASSERT_LT(wheel.pending() * lastDirection, kWheelNotch);
            ASSERT_GE(wheel.pending() * lastDirection, 0) << "held back on the side last turned";
        }
        EXPECT_GT(away, 1000) << "run " << run;
        EXPECT_GT(toward, 1000) << "run " << run;
    }
}

} // namespace
} // namespace modalscope
