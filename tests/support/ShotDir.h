// Pictures of the online windows for a person to look at: with
// CAPZEL_UI_SHOTS=DIR set, saveShot() keeps the widget's offscreen picture
// there as NAME.png; without it, nothing.
#pragma once

#include <QDir>
#include <QWidget>

namespace capzel::test {

inline void saveShot(QWidget& w, const QString& name) {
    const QString dir = qEnvironmentVariable("CAPZEL_UI_SHOTS");
    if (!dir.isEmpty() && QDir().mkpath(dir)) w.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

}  // namespace capzel::test
