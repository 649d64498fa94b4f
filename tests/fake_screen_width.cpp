#include "tests/fake_screen_width.h"
#include "app/screen_area.h"
#include "app/screen_width.h"

namespace modalscope {

namespace {
bool fakeSucceeds = true;
int fakeWidth = 1024;
bool fakeAreaKnown = false;
WorkArea fakeArea;
bool fakeFrameKnown = true;
PixelSize fakeFrame{6, 44};
} // namespace

void testing::setFakeScreenWidth(bool succeeds, int width) {
    fakeSucceeds = succeeds;
    fakeWidth = width;
}

void testing::setFakeWorkArea(bool succeeds, int width, int height, int left, int top) {
    fakeAreaKnown = succeeds;
    fakeArea = {{left, top}, {width, height}};
}

void testing::setFakeWindowFrame(bool succeeds, int width, int height) {
    fakeFrameKnown = succeeds;
    fakeFrame = {width, height};
}

bool queryScreenWidth(int& width) {
    if (fakeSucceeds) {
        width = fakeWidth;
    }
    return fakeSucceeds;
}

bool queryWorkArea(WorkArea& area) {
    if (fakeAreaKnown) {
        area = fakeArea;
    }
    return fakeAreaKnown;
}

bool queryWindowFrame(PixelSize& frame) {
    if (fakeFrameKnown) {
        frame = fakeFrame;
    }
    return fakeFrameKnown;
}

} // namespace modalscope
