// Palette defaults and the two palette presses: show/hide and respell.
#include "model/fretboard.h"

namespace modalscope {

namespace {

// Per slot: the usual spelling and its enharmonic partner (0 where there is none).
constexpr MarkerId kDefaults[kIntervalCount][2] = {
    {1, 0},   // 1
    {2, 3},   // b2 / #1
    {4, 0},   // 2
    {5, 6},   // b3 / #2
    {7, 0},   // 3
    {8, 0},   // 4
    {9, 10},  // b5 / #4
    {11, 0},  // 5
    {12, 13}, // b6 / #5
    {14, 15}, // 6 / bb7
    {16, 17}, // b7 / #6
    {18, 0},  // 7
};

bool isSlot(int slot) {
    return slot >= 0 && slot < kIntervalCount;
}

} // namespace

MarkerId IntervalPalette::defaultMarker(int slot) {
    return isSlot(slot) ? kDefaults[slot][0] : 0;
}

MarkerId IntervalPalette::defaultAlternate(int slot) {
    return isSlot(slot) ? kDefaults[slot][1] : 0;
}

void Fretboard::resetPalette() {
    for (int k = 0; k < kIntervalCount; ++k) {
        palette_.current[k] = {IntervalPalette::defaultMarker(k), true};
        palette_.alternate[k] = {IntervalPalette::defaultAlternate(k), true};
    }
}

void Fretboard::toggle(int slot) {
    if (isSlot(slot)) {
        palette_.current[slot].visible = !palette_.current[slot].visible;
    }
}

void Fretboard::respell(int slot) {
    if (!isSlot(slot)) {
        return;
    }
    MarkerSlot& shown = palette_.current[slot];
    MarkerSlot& other = palette_.alternate[slot];
    if (other.marker != 0 && shown.visible) {
        const MarkerId swapped = shown.marker;
        shown.marker = other.marker;
        other.marker = swapped;
    }
}

} // namespace modalscope
