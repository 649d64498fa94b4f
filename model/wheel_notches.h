// Mouse-wheel travel turned into whole notches. A notch is 120 units; precision touchpads
// and free-spinning wheels send fractions of a notch per message, and a fast spin can
// arrive as several notches in one message, so messages are not notches.
// Free of <windows.h> so it is tested natively.
#pragma once

#include <cstdint>

namespace modalscope {

constexpr int kWheelNotch = 120;

class WheelNotches {
  public:
    // Adds one message's signed travel (positive away from the user) and returns the whole
    // notches now complete: positive away, negative toward, 0 while within one notch. The
    // remainder is kept for the next message; travel in the other direction drops it.
    int add(int delta);

    // Travel not yet worth a notch; always strictly between -120 and 120.
    int pending() const { return pending_; }

  private:
    std::int32_t pending_ = 0;
};

} // namespace modalscope
