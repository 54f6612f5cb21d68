#include <filesystem>
#include <optional>
#include <system_error>

#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QTimer>

#include "core/Version.h"
#include "core/scan/ProgramFolder.h"
#include "dialogs/MessageBoxes.h"
#include "mainwindow/ParvaneProgram.h"
#include "mainwindow/StartOptions.h"
#include "mainwindow/tendancesForm1.h"
#include "qt/QtTranslations.h"
#include "qt/TextConversion.h"

namespace {

std::filesystem::path toPath(const QString& text)
{
    return parvane::qt::toDiskPath(text);
}

} // namespace

int main(int argc, char* argv[])
{
    // Korvix's windows are X11 windows (Wine): in a Wayland session only XWayland lets the program
    // find them and keep the comments strip on top. Without XWayland Qt falls back to Wayland.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parvane"));
    QApplication::setApplicationVersion(QString::fromLatin1(parvane::kVersion));
    parvane::qt::installQtTranslations(application);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Parvane: repere les actions proches de leurs droites de tendance Korvix."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption homeOption(
        QStringLiteral("home"),
        QStringLiteral("Dossier du programme (zarbel.ini, errorlog.txt, help-parvane.htm)."),
        QStringLiteral("DIR"));
    parser.addOption(homeOption);
    parvane::mainwindow::addStartOptions(parser);
    parser.process(application);

    std::optional<std::filesystem::path> home;
    if (parser.isSet(homeOption)) {
        home = std::filesystem::absolute(toPath(parser.value(homeOption)));
        // A new program folder is made on first use, as the settings are written there.
        std::error_code ignored;
        std::filesystem::create_directories(*home, ignored);
    }
    const std::filesystem::path programFolder =
        parvane::scan::programFolder(home, parvane::scan::executableFolder());

    parvane::dialogs::QtMessageBoxes messageBoxes;
    parvane::mainwindow::ParvaneProgram program(programFolder, messageBoxes);

    if (!program.startUp())
        return 1;
    program.window().show();
    // The click on a notification of parvane-scan: its base, its options and its new rows.
    if (const auto start = parvane::mainwindow::readStartOptions(parser)) {
        QTimer::singleShot(0, &program.window(),
                           [&program, start = *start] { program.window().applyStartOptions(start); });
    }
    return QApplication::exec();
}
