// A notification server for the tests: owns org.freedesktop.Notifications on the session bus,
// appends each Notify call to RECORD ("Notify APP ICON desktop-entry=ENTRY[ actions=KEY,LABEL]",
// the summary, the body, a line "."), answers it with ids 1, 2, 3..., and creates READY once it
// serves. With "actions" it has the capability "actions", and a call of its method Invoke(id)
// emits ActionInvoked(id, "default") as a click would. usage: RECORD READY [actions]
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QVariantMap>

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

class Recorder final : public QDBusVirtualObject
{
public:
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QList<QVariant> in = message.arguments();
        const bool actions = QCoreApplication::arguments().value(3) == QStringLiteral("actions");
        if (message.member() == QStringLiteral("GetCapabilities")) {
            QStringList capabilities = {QStringLiteral("body")};
            if (actions)
                capabilities << QStringLiteral("actions");
            return connection.send(message.createReply(QVariant::fromValue(capabilities)));
        }
        if (message.member() == QStringLiteral("Invoke") && in.size() == 1) {
            QDBusMessage signal =
                QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ActionInvoked"));
            signal << in[0].toUInt() << QStringLiteral("default");
            return connection.send(signal) && connection.send(message.createReply());
        }
        if (message.member() != QStringLiteral("Notify") || in.size() != 8)
            return false;
        const QString entry =
            qdbus_cast<QVariantMap>(in[6]).value(QStringLiteral("desktop-entry")).toString();
        const QStringList offered = in[5].toStringList();
        QFile file(QCoreApplication::arguments().at(1));
        if (file.open(QIODevice::Append))
            file.write(
                QStringLiteral("Notify %1 %2 desktop-entry=%3%4\n%5\n%6\n.\n")
                    .arg(in[0].toString(), in[2].toString(), entry,
                         offered.isEmpty() ? QString() : QStringLiteral(" actions=") + offered.join(u','),
                         in[3].toString(), in[4].toString())
                    .toUtf8());
        file.close();
        return connection.send(message.createReply(QVariant::fromValue(++m_lastId)));
    }

private:
    uint m_lastId = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    Recorder recorder;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QFile ready(QCoreApplication::arguments().value(2));
    if (argc < 3 || !bus.registerVirtualObject(kPath, &recorder) || !bus.registerService(kInterface)
        || !ready.open(QIODevice::WriteOnly))
        return 1;
    ready.close();
    return application.exec();
}
