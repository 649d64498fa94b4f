#include "tests/fake_screen_width.h"
#include "app/screen_width.h"

namespace modalscope {

namespace {
bool fakeSucceeds = true;
int fakeWidth = 1024;
} // namespace

void testing::setFakeScreenWidth(bool succeeds, int width) {
    fakeSucceeds = succeeds;
    fakeWidth = width;
}

bool queryScreenWidth(int& width) {
    if (fakeSucceeds) {
        width = fakeWidth;
    }
    return fakeSucceeds;
}

} // namespace modalscope
