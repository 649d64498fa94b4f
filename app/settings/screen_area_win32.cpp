#include "app/settings/screen_area.h"

#include <windows.h>

namespace modalscope {

bool queryWorkArea(WorkArea& area) {
    RECT work = {};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        return false;
    }
    area = {{work.left, work.top}, {work.right - work.left, work.bottom - work.top}};
    return true;
}

} // namespace modalscope
