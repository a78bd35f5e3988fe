#include "engine/WallGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/Bits.h"
#include "model/Numbers.h"

namespace capzel::engine {

namespace {

constexpr double kMinusInfinity = -std::numeric_limits<double>::infinity();

}  // namespace

const WallGrid& WallGrid::forBoard(const Board& board) {
    // One grid per thread: the computer players run shots on several.
    thread_local WallGrid grid;
    const Key key = keyOf(board);
    if (!grid.built_ || grid.key_ != key) {
        grid.build(board);
        grid.key_ = key;
        grid.built_ = true;
    }
    return grid;
}

WallGrid::Key WallGrid::keyOf(const Board& board) {
    Key key{};
    std::size_t k = 0;
    const auto add = [&](float v) { key[k++] = bitCopy<std::uint32_t>(v); };
    for (int j = 1; j <= kWallCount; ++j) {
        const Box& w = board.walls[j];
        add(w.left), add(w.top), add(w.width), add(w.height);
    }
    add(board.leftLine.x1), add(board.rightLine.x1), add(board.scaleHeight);
    for (int i = 1; i <= kMaxPlayers; ++i) add(board.pieces[i].width), add(board.pieces[i].height);
    return key;
}

// The cell a value falls in, by the same arithmetic as near(), held to the
// grid. The arithmetic only grows with the value, so every value from a to
// b falls in a cell from cellOf(a) to cellOf(b).
int WallGrid::cellOf(double value, double origin, double scale) {
    const double u = (value - origin) * scale;
    if (!(u >= 0)) return 0;
    if (u >= kCells) return kCells - 1;
    return int(u);
}

// The cells along one axis from which a piece of at most `pieceSize` can
// meet a wall's range [start, start + size]. Every test of the wall pass
// needs, on each axis, an edge of the piece strictly inside the wall's range
// or the piece reaching past both of its ends; either way the piece's near
// edge a lies below the range's upper end and its far edge float(a + piece)
// beyond the lower end, so a > lower - pieceSize. The bound is taken one
// step lower, to stay below the exact difference however it rounds.
WallGrid::CellRange WallGrid::reach(float start, float size, float pieceSize, double origin, double scale) {
    const float end = fsum(start, size);
    if (!std::isfinite(start) || !std::isfinite(end)) return {0, kCells - 1};
    const double lower = std::nextafter(double(std::min(start, end)) - double(pieceSize), kMinusInfinity);
    return {cellOf(lower, origin, scale), cellOf(double(std::max(start, end)), origin, scale)};
}

void WallGrid::mark(Mask bits, CellRange columns, CellRange rows) {
    for (int row = rows.first; row <= rows.last; ++row)
        for (int column = columns.first; column <= columns.last; ++column)
            cells_[std::size_t(row * kCells + column)] |= bits;
}

void WallGrid::build(const Board& board) {
    // Every cell lists everything until the grid is known to fit the board:
    // whatever cell a corner falls in then, every test runs.
    cells_.fill(kEverything);

    float pieceWidth = 0;
    float pieceHeight = 0;
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const Box& p = board.pieces[i];
        // A size that is negative or not finite has no bounds to go by.
        if (!(p.width >= 0 && p.height >= 0 && std::isfinite(p.width) && std::isfinite(p.height))) return;
        pieceWidth = std::max(pieceWidth, p.width);
        pieceHeight = std::max(pieceHeight, p.height);
    }
    const double left = board.leftLine.x1;
    const double right = board.rightLine.x1;
    const double bottom = board.scaleHeight;
    const double xScale = kCells / (right - left);
    const double yScale = kCells / bottom;
    if (!(std::isfinite(left) && xScale > 0 && std::isfinite(xScale) && yScale > 0 && std::isfinite(yScale)))
        return;
    x0_ = left;
    xScale_ = xScale;
    yScale_ = yScale;
    cells_.fill(0);

    // The edges: a piece reaching past the right or bottom edge (a > edge -
    // size), or with its corner before the left or top one.
    constexpr CellRange kAll{0, kCells - 1};
    const auto column = [&](double x) { return cellOf(x, x0_, xScale_); };
    const auto row = [&](double y) { return cellOf(y, 0, yScale_); };
    mark(kEdges, {column(std::nextafter(right - pieceWidth, kMinusInfinity)), kCells - 1}, kAll);
    mark(kEdges, {0, column(left)}, kAll);
    mark(kEdges, kAll, {row(std::nextafter(bottom - pieceHeight, kMinusInfinity)), kCells - 1});
    mark(kEdges, kAll, {0, row(0)});

    for (int j = 1; j <= kWallCount; ++j) {
        const Box& w = board.walls[j];
        mark(Mask(1u << j), reach(w.left, w.width, pieceWidth, x0_, xScale_), reach(w.top, w.height, pieceHeight, 0, yScale_));
    }
}

}  // namespace capzel::engine
