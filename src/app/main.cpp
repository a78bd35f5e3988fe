#include <QApplication>

#include "ui/App.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    capzel::ui::CapzelApp app;
    app.openMainWindow();
    return QApplication::exec();
}
