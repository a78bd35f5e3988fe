// Twips (1/1440 inch) to logical pixels: 15 twips per pixel everywhere, so
// windows keep their designed size and stay sharp on high-density screens.
#pragma once

#include <QPointF>
#include <QRectF>
#include <cmath>

namespace capzel::ui {

constexpr double kTwipsPerPixel = 15.0;

inline double px(double twips) { return twips / kTwipsPerPixel; }
inline int ipx(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }
inline double twips(double pixels) { return pixels * kTwipsPerPixel; }
inline QRectF pxRect(double l, double t, double w, double h) { return {px(l), px(t), px(w), px(h)}; }

}  // namespace capzel::ui
