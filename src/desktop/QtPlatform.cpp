#include "desktop/QtPlatform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QTime>
#include <QUrl>

#include "platform/RegularFile.h"
#include "platform/SafeWrite.h"
#include "desktop/Connection.h"
#include "desktop/MessageBoxes.h"

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
    if (description.contains(QLatin1Char('(') + pat + QLatin1Char(')'))) return description;
    return description + QStringLiteral(" (") + pat + QLatin1Char(')');
}

QtPlatform::QtPlatform(QWidget* window)
    : sound([] { QApplication::beep(); }), connected(isConnected), window_(window) {}

void QtPlatform::showCurrentState() {
    if (beforeBox) beforeBox();
}

void QtPlatform::message(std::string_view text) { announce(text, unattended && unattended()); }

void QtPlatform::announce(std::string_view text, bool passing) {
    showCurrentState();
    if (passing)
        showPassingMessage(window_, displayText(text), passingMessageMs);
    else
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

void QtPlatform::playSound(SoundEffect e, int loudness) {
    if (effect) effect(e, loudness);
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
    return chooseFile(FileDialog::Open, QStringLiteral("Load Game"), filter, pattern, startFolder);
}

std::string QtPlatform::chooseFileToSave(std::string_view filter, std::string_view pattern) {
    return chooseFile(FileDialog::Save, QStringLiteral("Save Game"), filter, pattern, {});
}

std::string QtPlatform::chooseFile(FileDialog kind, const QString& title, std::string_view filter,
                                   std::string_view pattern, std::string_view startFolder) {
    QFileDialog dialog(window_, title, qstr(startFolder), fileDialogFilter(filter, pattern));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (kind == FileDialog::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The name is taken as typed (no extension added) and an existing
        // file is replaced without a question: the save writes it safely.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<std::string> QtPlatform::readFile(const std::string& path, std::size_t maxBytes) {
    return readRegularFile(path, maxBytes);
}

std::string QtPlatform::writeFile(const std::string& path, std::string_view content) {
    return writeFileSafely(path, content);
}

void QtPlatform::openUrl(std::string_view url) { QDesktopServices::openUrl(QUrl(qstr(url))); }

}  // namespace capzel::ui
