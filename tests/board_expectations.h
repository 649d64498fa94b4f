// Expected labels computed from pitches, independently of the walk under test.
#pragma once

namespace modalscope::testing {

// Open-string pitch in semitones relative to string 0 (standard tuning, high to low).
inline int openPitch(int string) {
    constexpr int kOffsets[6] = {0, -5, -9, -14, -19, -24};
    return kOffsets[string];
}

inline int pitch(int string, int fret) {
    return openPitch(string) + fret + 1;
}

inline int expectedLabel(int string, int fret, int rootString, int rootFret) {
    const int diff = pitch(string, fret) - pitch(rootString, rootFret);
    return ((diff % 12) + 12) % 12 + 1;
}

} // namespace modalscope::testing
