#include "tests/fake_screen_width.h"
#include "app/settings/screen_area.h"
#include "app/settings/screen_width.h"

namespace modalscope {

namespace {
bool fakeSucceeds = true;
int fakeWidth = 1024;
bool fakeAreaKnown = false;
WorkArea fakeArea;
} // namespace

void testing::setFakeScreenWidth(bool succeeds, int width) {
    fakeSucceeds = succeeds;
    fakeWidth = width;
}

void testing::setFakeWorkArea(bool succeeds, int width, int height, int left, int top) {
    fakeAreaKnown = succeeds;
    fakeArea = {{left, top}, {width, height}};
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

} // namespace modalscope
