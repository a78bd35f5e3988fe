// Twips (1/1440 inch) to logical pixels: 15 twips per pixel everywhere, so
// windows keep their designed size and stay sharp on high-density screens.
// A window shown larger (the player's size, as a zoom: 1 is the designed
// size) maps the same twips to `zoom` times as many logical pixels; the
// desktop's own scale factor comes on top of that, as for any window.
#pragma once

#include <QPointF>
#include <QRectF>
#include <cmath>

namespace capzel::ui {

constexpr double kTwipsPerPixel = 15.0;

// The field as every window draws it at the designed size: 10950 by 9390 twips.
constexpr int kFieldWidthPx = 730;
constexpr int kFieldHeightPx = 626;

inline double px(double twips) { return twips / kTwipsPerPixel; }
inline int ipx(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }
inline double twips(double pixels) { return pixels * kTwipsPerPixel; }
inline QRectF pxRect(double l, double t, double w, double h) { return {px(l), px(t), px(w), px(h)}; }

inline int ipx(double twips, double zoom) { return int(std::lround(twips * zoom / kTwipsPerPixel)); }
// The zoom of a size in percent (100 is the designed size).
inline double zoomOf(int sizePercent) { return sizePercent / 100.0; }

}  // namespace capzel::ui
