#include "ui/QtPlatform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QSaveFile>
#include <QTime>
#include <QUrl>

#include "ui/App.h"
#include "ui/Connection.h"
#include "ui/FieldView.h"
#include "ui/MessageBoxes.h"
#include "ui/frmMain.h"

namespace capzel::ui {

namespace {

QString qstr(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

QString displayText(std::string_view text) {
    QString s = qstr(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

QString fileDialogFilter(std::string_view filter, std::string_view pattern) {
    const QString description = qstr(filter);
    const QString pat = qstr(pattern);
    QString patterns = pat;
    const QString lower = pat.toLower();
    const QString upper = pat.toUpper();
    if (lower != pat) patterns += QLatin1Char(' ') + lower;
    if (upper != pat && upper != lower) patterns += QLatin1Char(' ') + upper;
    if (description.contains(QLatin1Char('(')))
        return description.left(description.indexOf(QLatin1Char('('))) + QLatin1Char('(') + patterns +
               QLatin1Char(')');
    return description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

QtPlatform::QtPlatform(frmMain& window, CapzelApp& app)
    : sound([] { QApplication::beep(); }), connected(IsConnected), window_(&window), app_(app) {}

void QtPlatform::showCurrentState() {
    if (window_) window_->refreshField();
    app_.notifyStateChanged();
}

void QtPlatform::message(std::string_view text) {
    showCurrentState();
    showMessage(window_, displayText(text));
}

bool QtPlatform::askYesNo(std::string_view text) {
    showCurrentState();
    return ui::askYesNo(window_, displayText(text));
}

std::string QtPlatform::inputBox(std::string_view prompt) {
    showCurrentState();
    return askInput(window_, displayText(prompt)).toStdString();
}

double QtPlatform::clock() {
    constexpr double kSecondsPerDay = 86400;
    const auto now = std::chrono::steady_clock::now();
    if (clockBaseSeconds_ < 0 || now - clockBaseSteady_ > std::chrono::seconds(1)) {
        clockBaseSeconds_ = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
        clockBaseSteady_ = now;
    }
    const double s = clockBaseSeconds_ + std::chrono::duration<double>(now - clockBaseSteady_).count();
    return s < kSecondsPerDay ? s : s - kSecondsPerDay;
}

void QtPlatform::beep() {
    if (sound) sound();
}

void QtPlatform::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

std::string QtPlatform::chooseFileToOpen(std::string_view filter, std::string_view pattern,
                                         std::string_view startFolder) {
    const QString path = QFileDialog::getOpenFileName(window_, QStringLiteral("Load Game"), qstr(startFolder),
                                                      fileDialogFilter(filter, pattern));
    return path.toStdString();
}

std::string QtPlatform::chooseFileToSave(std::string_view filter, std::string_view pattern) {
    QFileDialog dialog(window_, QStringLiteral("Save Game"), QString(), fileDialogFilter(filter, pattern));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The name is taken as typed (no extension added) and an existing file
    // is replaced without a question: the save command writes it safely.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<std::string> QtPlatform::readFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

std::string QtPlatform::writeFile(const std::string& path, std::string_view content) {
    const QString name = QString::fromStdString(path);
    QSaveFile file(name);
    auto failure = [&](const QString& what) {
        return (QStringLiteral("The file \"") + name + QStringLiteral("\" could not be ") + what +
                QStringLiteral(": ") + file.errorString() + QLatin1Char('.'))
            .toStdString();
    };
    if (!file.open(QIODevice::WriteOnly)) return failure(QStringLiteral("created"));
    if (file.write(content.data(), qint64(content.size())) != qint64(content.size())) {
        const std::string why = failure(QStringLiteral("written"));
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) return failure(QStringLiteral("saved"));
    return {};
}

void QtPlatform::openUrl(std::string_view url) { QDesktopServices::openUrl(QUrl(qstr(url))); }

}  // namespace capzel::ui
