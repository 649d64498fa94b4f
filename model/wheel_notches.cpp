#include "model/wheel_notches.h"

namespace modalscope {

int WheelNotches::add(int delta) {
    // Half a notch one way then half the other is a hesitation, not a notch.
    if ((delta > 0 && pending_ < 0) || (delta < 0 && pending_ > 0)) {
        pending_ = 0;
    }
    // Wide enough for any int delta plus a remainder.
    const std::int64_t total = std::int64_t{pending_} + delta;
    const std::int64_t notches = total / kWheelNotch; // truncates toward zero: same sign
    pending_ = static_cast<std::int32_t>(total - notches * kWheelNotch);
    return static_cast<int>(notches);
}

} // namespace modalscope
