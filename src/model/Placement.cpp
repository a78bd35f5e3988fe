#include "model/Placement.h"

#include "model/Numbers.h"

namespace capzel {

bool strictlyInside(const Box& piece, const Box& region) {
    return piece.left > region.left && fsum(region.left, region.width) > fsum(piece.left, piece.width) &&
           piece.top > region.top && fsum(region.top, region.height) > fsum(piece.top, piece.height);
}

void centrePieceOn(Box& piece, const Box& region) {
    piece.left = float(double(region.left) + double(region.width) / 2 - double(piece.width) / 2);
    piece.top = float(double(region.top) + double(region.height) / 2 - double(piece.height) / 2);
}

}  // namespace capzel
