#include "cli/Notifier.h"

#include <algorithm>
#include <ostream>
#include <set>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>

#include "core/text/DiskName.h"

namespace parvane::cli {

namespace {

constexpr int kReplyTimeoutMs = 5000;

std::string escapedMarkup(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else
            escaped += c;
    }
    return escaped;
}

std::string counted(std::size_t count, std::string_view singular, std::string_view plural)
{
    return std::to_string(count) + " " + std::string(count == 1 ? singular : plural);
}

// The distinct stock names of one kind of hit, in the order of the rows.
std::vector<std::string> namesOf(const std::vector<PrintedRow>& rows, bool crossings)
{
    std::vector<std::string> names;
    std::set<std::string, std::less<>> seen;
    for (const PrintedRow& row : rows) {
        const std::string_view file = row.identity.fileName;
        std::string name = text::diskNameToUtf8(file.substr(0, file.find('_')));
        if (row.identity.crossing == crossings && seen.insert(name).second)
            names.push_back(std::move(name));
    }
    return names;
}

// "Croisements: A, B et 3 autres" (or "Croisements: 3 autres actions" once the budget is spent), naming at
// most `budget` stocks and taking them from it.
std::string nameLine(std::string_view title, const std::vector<std::string>& names, std::size_t& budget)
{
    std::string line = std::string(title) + ": ";
    const std::size_t shown = std::min(budget, names.size());
    for (std::size_t i = 0; i < shown; ++i)
        line += (i == 0 ? "" : ", ") + escapedMarkup(names[i]);
    budget -= shown;
    if (const std::size_t others = names.size() - shown; others > 0 && shown > 0)
        line += " et " + counted(others, "autre", "autres");
    else if (others > 0)
        line += counted(others, "autre action", "autres actions");
    return line;
}

} // namespace

std::optional<Notification> newRowsNotification(const std::vector<PrintedRow>& fresh, std::size_t errors)
{
    if (fresh.empty() && errors == 0)
        return std::nullopt;
    if (fresh.empty()) {
        return Notification{"Parvane: " + std::to_string(errors) + " erreur(s)",
                            "Rien de nouveau depuis la recherche precedente.\n" + std::to_string(errors)
                                + " erreur(s): voir errorlog.txt"};
    }
    const std::vector<std::string> crossings = namesOf(fresh, true);
    const std::vector<std::string> proximities = namesOf(fresh, false);
    Notification notification;
    notification.summary = "Parvane: ";
    std::size_t budget = kNotifiedNames;
    if (!crossings.empty()) {
        notification.summary += counted(crossings.size(), "nouveau croisement", "nouveaux croisements");
        notification.body += nameLine("Croisements", crossings, budget) + "\n";
    }
    if (!proximities.empty()) {
        notification.summary += crossings.empty() ? "" : ", ";
        notification.summary += counted(proximities.size(), "nouvelle proximite", "nouvelles proximites");
        notification.body += nameLine("Proximites", proximities, budget) + "\n";
    }
    notification.body += std::to_string(errors) + " erreur(s)";
    if (errors > 0)
        notification.body += ": voir errorlog.txt";
    notification.opensNewRows = true;
    return notification;
}

Notification refusedRunNotification(std::string_view reason)
{
    return Notification{"Parvane: recherche refusee", escapedMarkup(reason)};
}

Notification basePresenceNotification(const std::filesystem::path& root, bool present)
{
    Notification notification;
    const std::string name = escapedMarkup(text::diskNameToUtf8(root.string()));
    if (present) {
        notification.summary = "Parvane: base de retour";
        notification.body = name + "\nLa surveillance reprend.";
    } else {
        notification.summary = "Parvane: base introuvable";
        notification.body = name + "\nLa surveillance reprendra a son retour.";
    }
    return notification;
}

std::optional<std::string> sendNotification(const Notification& notification, SentNotification* sent)
{
    // Qt D-Bus expects an application object; parvane-scan has none of its own.
    std::optional<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "parvane-scan";
        static char* argv[] = {name, nullptr};
        application.emplace(argc, argv);
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return "pas de bus de session D-Bus (" + bus.lastError().message().toStdString() + ")";

    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QStringList actions;
    QString body = QString::fromStdString(notification.body);
    if (notification.opensNewRows) {
        // A server without actions would show the action as nothing: the body says it instead.
        const QDBusReply<QStringList> capabilities =
            bus.call(QDBusMessage::createMethodCall(call.service(), call.path(), call.interface(),
                                                    QStringLiteral("GetCapabilities")),
                     QDBus::Block, kReplyTimeoutMs);
        if (capabilities.isValid() && capabilities.value().contains(QStringLiteral("actions")))
            actions << QString::fromLatin1(kOpenNewRowsAction) << QString::fromLatin1(kOpenNewRowsLabel);
        else
            body += QStringLiteral("\n") + QString::fromLatin1(kOpenNewRowsHint);
    }
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("parvane"));
    call << QStringLiteral("Parvane") << 0U << QStringLiteral("parvane")
         << QString::fromStdString(notification.summary) << body << actions << hints << -1;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kReplyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return "pas de service de notification (" + reply.errorMessage().toStdString() + ")";
    if (sent != nullptr) {
        sent->id = reply.arguments().value(0).toUInt();
        sent->withAction = !actions.isEmpty();
    }
    return std::nullopt;
}

std::optional<std::uint32_t> notifyNewRows(const std::vector<PrintedRow>& fresh, std::size_t errors,
                                           std::ostream& err)
{
    const std::optional<Notification> notification = newRowsNotification(fresh, errors);
    if (!notification) {
        err << "Rien de nouveau depuis la recherche precedente: pas de notification.\n";
        return std::nullopt;
    }
    SentNotification sent;
    if (const auto failure = sendNotification(*notification, &sent)) {
        err << "parvane-scan: notification impossible, " << *failure << ".\n";
        return std::nullopt;
    }
    if (!sent.withAction)
        return std::nullopt;
    return sent.id;
}

void notifyRefusedRun(std::string_view reason, std::ostream& err)
{
    if (const auto failure = sendNotification(refusedRunNotification(reason)))
        err << "parvane-scan: notification impossible, " << *failure << ".\n";
}

} // namespace parvane::cli
