#include "cli/NotificationClicks.h"

#include <algorithm>
#include <ostream>
#include <system_error>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include "cli/Notifier.h"
#include "cli/ScanCommand.h"
#include "cli/Watch.h"
#include "core/scan/KeptRows.h"

namespace parvane::cli {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

QString pathText(const std::filesystem::path& path)
{
    return QFile::decodeName(path.c_str());
}

// `parvane` beside this program (an install, a build folder), else on the PATH; empty when none.
QString windowProgram()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("parvane"));
    const QFileInfo info(beside);
    if (info.isFile() && info.isExecutable())
        return beside;
    return QStandardPaths::findExecutable(QStringLiteral("parvane"));
}

} // namespace

QStringList windowArguments(const ScanArguments& parsed, const RunReport& report)
{
    QStringList arguments = {QStringLiteral("--home"), pathText(report.programFolder),
                             QStringLiteral("--base"), pathText(report.layout.root)};
    const scan::ScanOptions& options = parsed.options;
    for (const auto& [on, name] : {std::pair{options.proximity, "--proximity"},
                                   {options.daily, "--daily"},
                                   {options.weekly, "--weekly"},
                                   {options.crossing, "--crossing"}}) {
        if (on)
            arguments << QString::fromLatin1(name);
    }
    arguments << QStringLiteral("--max-gap") << QString::fromStdString(parsed.maxGapText);
    if (options.volumeFilter)
        arguments << QStringLiteral("--volume") << QString::fromStdString(parsed.volumeText);
    if (parsed.groupsGiven) {
        QStringList groups;
        for (const std::string& group : parsed.groups)
            groups << QString::fromStdString(group);
        arguments << QStringLiteral("--groups") << groups.join(QLatin1Char(','));
    }
    // A first run on a large base finds every row new: past the limit the window shows them all.
    if (report.fresh.size() > kMaxNewRowArguments)
        return arguments;
    arguments << QStringLiteral("--show-new");
    for (const PrintedRow& row : report.fresh)
        arguments << QStringLiteral("--new-row") << QString::fromStdString(scan::hitText(row.identity));
    return arguments;
}

NotificationClicks::NotificationClicks(std::ostream& err)
    : m_err(err)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                SLOT(actionInvoked(uint, QString)));
    bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                SLOT(notificationClosed(uint, uint)));
}

NotificationClicks::~NotificationClicks() = default;

void NotificationClicks::add(const ScanArguments& parsed, const RunReport& report)
{
    if (!report.notification)
        return;
    m_pending.push_back({*report.notification, report.layout.base, windowArguments(parsed, report)});
    if (m_pending.size() > kRemembered)
        m_pending.pop_front();
}

void NotificationClicks::actionInvoked(uint id, const QString& action)
{
    const auto found = std::find_if(m_pending.begin(), m_pending.end(),
                                    [id](const Pending& pending) { return pending.id == id; });
    if (found == m_pending.end() || action != QString::fromLatin1(kOpenNewRowsAction))
        return;
    const Pending pending = *found;
    m_pending.erase(found);
    std::error_code error;
    if (!std::filesystem::is_directory(pending.baseFolder, error)) {
        m_err << "parvane-scan: la base n'est plus la (" << pending.baseFolder.string()
              << "): la fenetre n'est pas ouverte.\n";
    } else if (const QString program = windowProgram(); program.isEmpty()) {
        m_err << "parvane-scan: parvane introuvable, ni a cote de parvane-scan ni dans le PATH.\n";
    } else if (!QProcess::startDetached(program, pending.arguments)) {
        m_err << "parvane-scan: " << program.toStdString() << " ne peut etre lance.\n";
    } else {
        m_err << "parvane-scan: nouvelles lignes ouvertes dans " << program.toStdString() << '\n';
    }
    m_err.flush();
    Q_EMIT settled();
}

void NotificationClicks::notificationClosed(uint id, uint)
{
    const auto found = std::find_if(m_pending.begin(), m_pending.end(),
                                    [id](const Pending& pending) { return pending.id == id; });
    if (found == m_pending.end())
        return;
    m_pending.erase(found);
    Q_EMIT settled();
}

int runAndAwaitClick(const ScanArguments& parsed, std::ostream& out, std::ostream& err)
{
    ApplicationScope application;
    // Listening before the notification is sent: a click cannot come before it.
    NotificationClicks clicks(err);
    const RunReport report = runOnce(parsed, out, err);
    if (!report.notification)
        return report.exitStatus;
    clicks.add(parsed, report);
    out.flush();
    err << "En attente d'un clic sur la notification (" << kClickWaitSeconds / 60 << " minutes au plus).\n";
    err.flush();
    QEventLoop loop;
    QObject::connect(&clicks, &NotificationClicks::settled, &loop, &QEventLoop::quit);
    QTimer::singleShot(kClickWaitSeconds * 1000, &loop, &QEventLoop::quit);
    const StopSignals stop([&loop] { loop.quit(); });
    loop.exec();
    return report.exitStatus;
}

} // namespace parvane::cli
