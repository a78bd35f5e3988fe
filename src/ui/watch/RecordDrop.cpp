#include "ui/watch/RecordDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace capzel::ui {

namespace {

// The one local ".json" file the drag carries, or the empty text.
QString recordPath(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) return {};
    return url.toLocalFile();
}

}  // namespace

RecordDrop::RecordDrop(QWidget* window, std::function<void(const std::string&)> dropped)
    : QObject(window), dropped_(std::move(dropped)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool RecordDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (recordPath(drag->mimeData()).isEmpty()) return QObject::eventFilter(watched, event);
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = recordPath(drop->mimeData());
        if (path.isEmpty()) return QObject::eventFilter(watched, event);
        drop->acceptProposedAction();
        // After the drop has returned to the dragging program.
        const std::string file = path.toStdString();
        QMetaObject::invokeMethod(this, [this, file] { dropped_(file); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

}  // namespace capzel::ui
