#include "ui/Connection.h"

#include <QNetworkInformation>

namespace capzel::ui {

namespace {

std::function<bool()>& probeOverride() {
    static std::function<bool()> probe;
    return probe;
}

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

bool IsConnected() {
    if (probeOverride()) return probeOverride()();
    return systemReportsConnection();
}

void setConnectionProbe(std::function<bool()> probe) { probeOverride() = std::move(probe); }

}  // namespace capzel::ui
