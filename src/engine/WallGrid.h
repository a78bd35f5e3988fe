// A broadphase for the wall pass and the board's edges.
//
// The field between the two side lines and from the top to the window's
// inner height is cut into 64 x 64 cells. Each cell lists the walls that a
// piece whose top-left corner lies in the cell could bounce off, and whether
// it could cross one of the board's edges. A wall is left out of a cell only
// when no piece of the board's sizes placed anywhere in the cell can meet
// its tests, so testing the listed walls in their order changes the piece
// exactly as testing all of them would.
#pragma once

#include <array>
#include <cstdint>

#include "model/Board.h"

namespace capzel::engine {

class WallGrid {
public:
    // Bit j for wall j (1 to 10); kEdges for the board's edges.
    using Mask = std::uint16_t;
    static constexpr int kCells = 64;  // per side
    static constexpr Mask kEdges = 0x8000;
    static constexpr Mask kEverything = 0xFFFF;

    // The grid for the board's walls, edges and piece sizes as they are now.
    // Each thread keeps the grid it built last and builds it again only when
    // one of these values changed since (compared bit for bit), so a wall
    // moved or resized, a resized window or another piece size is always
    // seen; whether walls are shown or in play is no part of the grid.
    static const WallGrid& forBoard(const Board& board);

    // Builds the grid for the board (for tests; the engine uses forBoard).
    explicit WallGrid(const Board& board) { build(board); }
    WallGrid() = default;

    // What a piece with its top-left corner at (left, top) can touch.
    // Outside the grid (or on a board the grid cannot cover) everything.
    Mask near(float left, float top) const {
        const double u = (double(left) - x0_) * xScale_;
        const double v = double(top) * yScale_;
        if (!(u >= 0 && u < kCells && v >= 0 && v < kCells)) return kEverything;
        return cells_[std::size_t(int(v) * kCells + int(u))];
    }

private:
    // Bit patterns of the walls' boxes, the edges and the pieces' sizes.
    using Key = std::array<std::uint32_t, 4 * kWallCount + 3 + 2 * kMaxPlayers>;
    static Key keyOf(const Board& board);

    struct CellRange {
        int first;
        int last;
    };
    static int cellOf(double value, double origin, double scale);
    static CellRange reach(float start, float size, float pieceSize, double origin, double scale);

    void build(const Board& board);
    void mark(Mask bits, CellRange columns, CellRange rows);

    Key key_{};
    bool built_ = false;
    // Cell of a corner: column (left - x0) * xScale, row top * yScale.
    double x0_ = 0;
    double xScale_ = 0;
    double yScale_ = 0;
    std::array<Mask, kCells * kCells> cells_{};
};

}  // namespace capzel::engine
