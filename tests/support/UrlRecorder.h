// Records the addresses the desktop is asked to open, for the given schemes.
#pragma once

#include <QDesktopServices>
#include <QUrl>

namespace capzel::test {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
    explicit UrlRecorder(QStringList schemes) : schemes_(std::move(schemes)) {
        for (const QString& s : schemes_) QDesktopServices::setUrlHandler(s, this, "open");
    }
    ~UrlRecorder() override {
        for (const QString& s : schemes_) QDesktopServices::unsetUrlHandler(s);
    }

public slots:
    void open(const QUrl& url) { opened << url; }

private:
    QStringList schemes_;
};

}  // namespace capzel::test
