#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include "KeyLog.h"
#include "StandinWindow.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Wine names a program's windows after its executable; Parvane tells Korvix apart by that class.
    QApplication::setApplicationName(QStringLiteral("korvix.exe"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in for Korvix: opens the groups of the base in its current directory."));
    parser.addHelpOption();
    const QCommandLineOption group(QStringLiteral("group"), QStringLiteral("Open group <name> at start."),
                                   QStringLiteral("name"));
    const QCommandLineOption stock(QStringLiteral("stock"),
                                   QStringLiteral("Show stock <n> of the group (from 1)."),
                                   QStringLiteral("n"), QStringLiteral("1"));
    parser.addOption(group);
    parser.addOption(stock);
    parser.process(app);

    // Logs every key received; the variable names the file.
    KeyLog keyLog(qEnvironmentVariable("KORVIX_STANDIN_KEYLOG"));
    app.installEventFilter(&keyLog);

    StandinWindow window(QDir::currentPath());
    if (parser.isSet(group))
        window.openGroup(parser.value(group), parser.value(stock).toInt() - 1);
    window.show();
    // Like a program started with a normal, focused window; on a bare X server nothing else
    // gives it the focus.
    window.raise();
    window.activateWindow();
    return app.exec();
}
