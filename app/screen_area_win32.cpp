#include "app/screen_area.h"

#include "app/main_window_style.h"

namespace modalscope {

bool queryWorkArea(WorkArea& area) {
    RECT work = {};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        return false;
    }
    area = {{work.left, work.top}, {work.right - work.left, work.bottom - work.top}};
    return true;
}

bool queryWindowFrame(PixelSize& frame) {
    RECT rect = {0, 0, 0, 0};
    if (!outerFromClient(rect, kMainWindowStyle)) {
        return false;
    }
    frame = {rect.right - rect.left, rect.bottom - rect.top};
    return true;
}

} // namespace modalscope
