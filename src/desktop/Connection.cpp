#include "desktop/Connection.h"

#include <QNetworkInformation>

namespace capzel::ui {

namespace {

bool systemReportsConnection() {
    // Loaded once; later calls reuse the backend (or its absence).
    static const bool loaded = QNetworkInformation::loadDefaultBackend();
    QNetworkInformation* info = QNetworkInformation::instance();
    if (!loaded || info == nullptr) return true;
    switch (info->reachability()) {
    case QNetworkInformation::Reachability::Online:
    case QNetworkInformation::Reachability::Unknown:
        return true;
    case QNetworkInformation::Reachability::Disconnected:
    case QNetworkInformation::Reachability::Local:
    case QNetworkInformation::Reachability::Site:
        return false;
    }
    return true;
}

}  // namespace

bool isConnected() { return systemReportsConnection(); }

}  // namespace capzel::ui
