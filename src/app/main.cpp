#include <QApplication>

#include "app/App.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    capzel::ui::CapzelApp app;
    app.openMainWindow();
    app.offerResume();
    return QApplication::exec();
}
