#include "app/settings/screen_width.h"

#include <windows.h>

namespace modalscope {

bool queryScreenWidth(int& width) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
        return false;
    }
    width = static_cast<int>(mode.dmPelsWidth);
    return true;
}

} // namespace modalscope
