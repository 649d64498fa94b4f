// The wheel rule stated directly, independently of the class under test: travel is summed
// since the last change of direction, and every whole 120 of that sum is one notch.
#pragma once

namespace modalscope::testing {

class WheelReference {
  public:
    // Notches the message completes: positive away from the user, negative toward.
    int add(int delta) {
        if (delta == 0) {
            return 0;
        }
        const int direction = delta > 0 ? 1 : -1;
        if (direction != direction_) {
            direction_ = direction;
            travel_ = 0;
            given_ = 0;
        }
        travel_ += delta;
        const long long due = travel_ / 120;
        const long long now = due - given_;
        given_ = due;
        return static_cast<int>(now);
    }

  private:
    int direction_ = 0;
    long long travel_ = 0; // since the last change of direction
    long long given_ = 0;  // notches of that travel already reported
};

// The fret cell the root reaches from `fret` after `notches` steps right, wrapping.
inline int fretAfter(int fret, long long notches) {
    return static_cast<int>(((fret + notches) % 24 + 24) % 24);
}

} // namespace modalscope::testing
