#include "app/settings/window_fit.h"

#include <algorithm>
#include <cstdint>

namespace modalscope {

namespace {

constexpr std::int64_t kColumns = 24;
constexpr std::int64_t kRows = 7;

// Rounds toward minus infinity, so a frame wider than the area gives a negative count.
std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

std::int32_t clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
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

std::int32_t scaledCellSize(std::int32_t cellSize, std::uint32_t fromDpi, std::uint32_t toDpi) {
    if (fromDpi == 0 || toDpi == 0) {
        return cellSize;
    }
    return clamped(std::int64_t{cellSize} * toDpi / fromDpi);
}

WindowGeometry fitWindow(std::int32_t cellSize, std::uint32_t fromDpi, std::uint32_t toDpi,
                         const FrameEdges& frame, const PixelSize* area) {
    cellSize = scaledCellSize(cellSize, fromDpi, toDpi);
    // Each side of the frame counts once: the caption and menu bar only at the top.
    const std::int64_t frameWidth = std::int64_t{frame.left} + frame.right;
    const std::int64_t frameHeight = std::int64_t{frame.top} + frame.bottom;
    const PixelSize frameSize = {clamped(frameWidth), clamped(frameHeight)};
    if (area != nullptr) {
        cellSize = fittingCellSize(cellSize, frameSize, *area);
    }
    WindowGeometry geometry;
    geometry.cellSize = std::max<std::int32_t>(cellSize, 0);
    geometry.client = boardClientSize(geometry.cellSize);
    geometry.outer = {clamped(geometry.client.width + frameWidth),
                      clamped(geometry.client.height + frameHeight)};
    return geometry;
}

WindowGeometry answerScaleChange(StartScale start, std::uint32_t dpi, const FrameEdges& frame,
                                 bool dragged, const PixelSize* pointerArea,
                                 const PixelSize* ownArea) {
    return fitWindow(start.cellSize, start.dpi, dpi, frame, dragged ? pointerArea : ownArea);
}

WindowGeometry takeScaleChange(const WindowGeometry* answered, PixelSize suggested,
                               StartScale start, std::uint32_t dpi, const FrameEdges& frame,
                               const PixelSize* area) {
    // Windows places the suggested rectangle for the size answered, but on the monitor the
    // window really lands on, which the answer may not have been fitted to (a move without
    // the pointer, or a work area changed since).
    if (answered != nullptr && suggested.width == answered->outer.width &&
        suggested.height == answered->outer.height &&
        (area == nullptr ||
         (answered->outer.width <= area->width && answered->outer.height <= area->height))) {
        return *answered;
    }
    return fitWindow(start.cellSize, start.dpi, dpi, frame, area);
}

PixelPoint workspacePoint(PixelPoint screen, PixelPoint workCorner, PixelPoint monitorCorner) {
    return {screen.x - (workCorner.x - monitorCorner.x),
            screen.y - (workCorner.y - monitorCorner.y)};
}

} // namespace modalscope
