#include "host/KorvixCommand.h"

#include <fstream>
#include <system_error>

#include <unistd.h>

#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include "core/scan/KorvixCaption.h"
#include "core/scan/PathMapping.h"
#include "host/KeySequence.h"

namespace parvane::host {

namespace {

QString title()
{
    return QStringLiteral("Parvane");
}

QString displayPath(const std::filesystem::path& path)
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

KorvixCommand::KorvixCommand(HostWindows& host, ProcessStarter starter)
    : m_host(host)
    , m_starter(std::move(starter))
{}

void KorvixCommand::click(const KorvixCommandInputs& inputs, const KorvixCommandHooks& hooks)
{
    if (inputs.encours)
        return;
    if (!m_host.isReachable()) {
        if (hooks.report)
            hooks.report(title(), QStringLiteral("Les fenetres de Korvix ne sont pas accessibles :\n"
                                                 "aucun affichage X11 n'est disponible (DISPLAY)."));
        return;
    }
    if (hooks.minimiseMainWindow)
        hooks.minimiseMainWindow();
    if (m_host.findWindow(scan::kKorvixIdleCaption) != 0) {
        m_host.activateWindow(scan::kKorvixIdleCaption);
        if (inputs.Check1)
            typeGroupPreselection();
    } else {
        lancekorvix(inputs, hooks.report);
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
                       cannotStart(QStringLiteral("le dossier de la base ") + displayPath(base)
                                   + QStringLiteral(" est inaccessible (")
                                   + QString::fromStdString(error.message()) + QStringLiteral(").")));
    } else {
        started = startKorvix(inputs, base, reportOrIgnore);
        // The keys go at once, without waiting for Korvix: like the user typing them, they reach
        // whatever window has the focus.
        if (started && inputs.Check1)
            typeGroupPreselection();
    }
    std::filesystem::current_path(inputs.programFolder, error);
    return started;
}

bool KorvixCommand::startKorvix(const KorvixCommandInputs& inputs, const std::filesystem::path& base,
                                const MessageReporter& report)
{
    const std::filesystem::path folder =
        scan::mapSettingsPath(inputs.pathkvx, scan::pathEnvironmentFromSystem());
    const std::filesystem::path executable = scan::resolveUnderBase(folder, "\\korvix.exe");
    DetachedStart start;
    start.workingDirectory = displayPath(base);
    std::error_code error;
    if (!std::filesystem::is_regular_file(executable, error)) {
        report(title(),
               QStringLiteral("Korvix n'est pas a la position indiquee\ndans le fichier Zarbel.ini\n(")
                   + displayPath(executable) + QStringLiteral(")"));
        return false;
    }
    if (isWindowsExecutable(executable)) {
        start.program = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (start.program.isEmpty()) {
            report(title(), cannotStart(QStringLiteral("korvix.exe est un programme Windows et wine est "
                                                       "introuvable.\nInstallez wine pour lancer Korvix.")));
            return false;
        }
        start.arguments = QStringList{displayPath(executable)};
    } else if (isNativeExecutable(executable)) {
        start.program = displayPath(executable);
    } else {
        report(title(),
               cannotStart(displayPath(executable) + QStringLiteral(" n'est pas un programme executable.")));
        return false;
    }
    const StartOutcome outcome = m_starter(start);
    if (!outcome.started) {
        report(title(), cannotStart(outcome.error));
        return false;
    }
    return true;
}

void KorvixCommand::typeGroupPreselection()
{
    if (const auto keys = parseKeySequence(kGroupPreselectionKeys))
        m_host.sendKeys(*keys);
}

} // namespace parvane::host
