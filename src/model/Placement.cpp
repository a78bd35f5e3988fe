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

namespace {

// The farthest edge a piece of `pieceSize` may have within the region.
float farthestEdge(float start, float size, float pieceSize) {
    return float(double(start) + double(size) - double(pieceSize));
}

bool placeableAlong(float edge, float start, float size, float pieceSize) {
    const float last = farthestEdge(start, size, pieceSize);
    return edge == last || edge == start || (edge >= start && edge <= last);
}

}  // namespace

float holdWithin(float wanted, float start, float size, float pieceSize) {
    const float last = farthestEdge(start, size, pieceSize);
    if (wanted > last) return last;
    if (wanted < start) return start;
    return wanted;
}

bool placeableWithin(const Box& region, const Box& piece, float left, float top) {
    return placeableAlong(left, region.left, region.width, piece.width) &&
           placeableAlong(top, region.top, region.height, piece.height);
}

}  // namespace capzel
