#include "model/Placement.h"

#include "model/Numbers.h"

namespace capzel {

bool StrictlyInside(const Box& piece, const Box& region) {
    return piece.Left > region.Left && fsum(region.Left, region.Width) > fsum(piece.Left, piece.Width) &&
           piece.Top > region.Top && fsum(region.Top, region.Height) > fsum(piece.Top, piece.Height);
}

void centrePieceOn(Box& piece, const Box& region) {
    piece.Left = float(double(region.Left) + double(region.Width) / 2 - double(piece.Width) / 2);
    piece.Top = float(double(region.Top) + double(region.Height) / 2 - double(piece.Height) / 2);
}

}  // namespace capzel
