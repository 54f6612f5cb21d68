#include "host/KorvixCommand.h"

#include <fstream>
#include <system_error>

#include <unistd.h>

#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include "core/scan/KorvixExecutable.h"
#include "core/scan/PathMapping.h"
#include "host/KeySequence.h"
#include "qt/TextConversion.h"

namespace parvane::host {

namespace {

QString title()
{
    return QStringLiteral("Parvane");
}

// A path as QProcess hands it back to the system, byte for byte.
QString localPath(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

QString cannotStart(const QString& reason)
{
    return QStringLiteral("Korvix ne peut pas etre lance :\n") + reason;
}

// Windows executables start with the "MZ" signature.
bool isWindowsExecutable(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    char signature[2] = {};
    return in.read(signature, sizeof signature) && signature[0] == 'M' && signature[1] == 'Z';
}

bool isNativeExecutable(const std::filesystem::path& file)
{
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

} // namespace

ProcessStarter detachedProcessStarter()
{
    return [](const DetachedStart& start) {
        QProcess process;
        process.setProgram(start.program);
        process.setArguments(start.arguments);
        process.setWorkingDirectory(start.workingDirectory);
        if (!start.environment.isEmpty())
            process.setProcessEnvironment(start.environment);
        StartOutcome outcome;
        outcome.started = process.startDetached(&outcome.pid);
        if (!outcome.started)
            outcome.error = process.errorString();
        return outcome;
    };
}

MessageReporter messageBoxReporter(QWidget* parent)
{
    return [parent](const QString& boxTitle, const QString& text) {
        QMessageBox::warning(parent, boxTitle, text);
    };
}

KorvixCommand::KorvixCommand(HostWindows& host, ProcessStarter starter, std::chrono::milliseconds windowWait)
    : m_host(host)
    , m_starter(std::move(starter))
    , m_windowWait(windowWait)
{}

void KorvixCommand::click(const KorvixCommandInputs& inputs, const KorvixCommandHooks& hooks)
{
    if (inputs.encours || m_awaitingStart)
        return;
    const MessageReporter report = hooks.report ? hooks.report : [](const QString&, const QString&) {};
    if (!m_host.isReachable()) {
        report(title(), QStringLiteral("Les fenetres de Korvix ne sont pas accessibles :\n"
                                       "aucun affichage X11 n'est disponible (DISPLAY)."));
        return;
    }
    if (hooks.minimiseMainWindow)
        hooks.minimiseMainWindow();
    if (const WindowId korvix = findKorvixWindow(m_host); korvix != 0) {
        m_host.activateWindow(korvix);
        if (inputs.Check1)
            typeGroupPreselection(korvix, report);
    } else if (!lancekorvix(inputs, report)) {
        return;
    }
    if (inputs.Option1 && hooks.commentaires)
        hooks.commentaires();
}

bool KorvixCommand::lancekorvix(const KorvixCommandInputs& inputs, const MessageReporter& report)
{
    const MessageReporter reportOrIgnore = report ? report : [](const QString&, const QString&) {};
    const std::filesystem::path base =
        scan::mapSettingsPath(inputs.baseactive, scan::pathEnvironmentFromSystem());
    std::error_code error;
    std::filesystem::current_path(base, error);
    bool started = false;
    if (error) {
        reportOrIgnore(title(),
                       cannotStart(QStringLiteral("le dossier de la base ") + qt::fromDiskPath(base)
                                   + QStringLiteral(" est inaccessible (")
                                   + QString::fromStdString(error.message()) + QStringLiteral(").")));
    } else {
        started = startKorvix(inputs, base, reportOrIgnore);
    }
    // Korvix has inherited the base as its current directory; the program's own is restored before
    // the wait below, during which the rest of the program runs.
    std::filesystem::current_path(inputs.programFolder, error);
    if (!started)
        return false;

    // Wine takes seconds to show a program's window, and a second click meanwhile must not start
    // Korvix again.
    m_awaitingStart = true;
    const KorvixWait wait = waitForKorvixWindow(m_host, m_windowWait);
    m_awaitingStart = false;
    if (wait.window == 0) {
        if (wait.timedOut) {
            QString text = QStringLiteral("Korvix a ete lance mais n'a pas ouvert sa fenetre en %1 s.")
                               .arg(static_cast<qlonglong>(m_windowWait.count() / 1000));
            if (inputs.Check1)
                text += QStringLiteral("\nLa preselection des groupes (Alt+F, G) n'a pas ete envoyee.");
            reportOrIgnore(title(), text);
        }
        return false;
    }
    if (inputs.Check1)
        typeGroupPreselection(wait.window, reportOrIgnore);
    return true;
}

bool KorvixCommand::startKorvix(const KorvixCommandInputs& inputs, const std::filesystem::path& base,
                                const MessageReporter& report)
{
    const scan::PathEnvironment environment = scan::pathEnvironmentFromSystem();
    const std::filesystem::path folder = scan::mapSettingsPath(inputs.pathkvx, environment);
    const std::optional<std::filesystem::path> executable = scan::findKorvixExecutable(folder);
    DetachedStart start;
    start.workingDirectory = localPath(base);
    if (!executable) {
        report(title(),
               QStringLiteral("Korvix n'est pas a la position indiquee\ndans le fichier Zarbel.ini\n(")
                   + qt::fromDiskPath(folder / scan::kKorvixExecutable) + QStringLiteral(")"));
        return false;
    }
    if (isWindowsExecutable(*executable)) {
        start.program = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (start.program.isEmpty()) {
            report(title(), cannotStart(QStringLiteral("korvix.exe est un programme Windows et wine est "
                                                       "introuvable.\nInstallez wine pour lancer Korvix.")));
            return false;
        }
        start.arguments = QStringList{localPath(*executable)};
        // The prefix whose dosdevices map the drive letters of zarbel.ini.
        start.environment = QProcessEnvironment::systemEnvironment();
        start.environment.insert(QStringLiteral("WINEPREFIX"), localPath(environment.winePrefix));
    } else if (isNativeExecutable(*executable)) {
        start.program = localPath(*executable);
    } else {
        report(title(), cannotStart(qt::fromDiskPath(*executable)
                                    + QStringLiteral(" n'est pas un programme executable.")));
        return false;
    }
    const StartOutcome outcome = m_starter(start);
    if (!outcome.started) {
        report(title(), cannotStart(outcome.error));
        return false;
    }
    return true;
}

void KorvixCommand::typeGroupPreselection(WindowId korvix, const MessageReporter& report)
{
    // Keys typed while another window holds the focus would land in it (a terminal, an editor).
    if (!m_host.activateWindow(korvix) || !m_host.hasFocus(korvix)) {
        report(title(), QStringLiteral("Korvix n'a pas pris le focus :\n"
                                       "la preselection des groupes (Alt+F, G) n'a pas ete envoyee."));
        return;
    }
    const auto keys = parseKeySequence(kGroupPreselectionKeys);
    if (!keys || !m_host.sendKeys(*keys))
        report(title(), QStringLiteral("La preselection des groupes (Alt+F, G) n'a pas pu etre tapee "
                                       "sur ce clavier."));
}

} // namespace parvane::host
