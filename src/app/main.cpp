#include <QApplication>
#include <QCommandLineParser>

#include "app/App.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // "capzel game.json" or "capzel --watch game.json": the game record is
    // watched at once, and no unfinished game is offered meanwhile.
    QCommandLineParser options;
    options.addHelpOption();
    options.addOption({QStringLiteral("watch"), QStringLiteral("Watch the game record in <file>."),
                       QStringLiteral("file")});
    options.addPositionalArgument(QStringLiteral("record"), QStringLiteral("A game record (.json) to watch."));
    options.process(qapp);
    QString record = options.value(QStringLiteral("watch"));
    if (record.isEmpty() && !options.positionalArguments().isEmpty()) record = options.positionalArguments().front();

    capzel::ui::CapzelApp app;
    app.openMainWindow();
    if (record.isEmpty())
        app.offerResume();
    else
        app.watchRecordFile(record.toStdString());
    return QApplication::exec();
}
