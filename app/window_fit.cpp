#include "app/window_fit.h"

#include <algorithm>

namespace modalscope {

namespace {

constexpr std::int64_t kColumns = 24;
constexpr std::int64_t kRows = 7;

// Rounds toward minus infinity, so a frame wider than the area gives a negative count.
std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

} // namespace

PixelSize boardClientSize(std::int32_t cellSize) {
    return {static_cast<std::int32_t>(kColumns * cellSize + 1),
            static_cast<std::int32_t>(kRows * cellSize)};
}

std::int32_t fittingCellSize(std::int32_t cellSize, PixelSize frame, PixelSize area) {
    if (cellSize <= 0) {
        return cellSize;
    }
    const std::int64_t byWidth = floorDivide(std::int64_t{area.width} - frame.width - 1, kColumns);
    const std::int64_t byHeight = floorDivide(std::int64_t{area.height} - frame.height, kRows);
    const std::int64_t fits = std::min(byWidth, byHeight);
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(std::min<std::int64_t>(cellSize, fits), 0));
}

} // namespace modalscope
