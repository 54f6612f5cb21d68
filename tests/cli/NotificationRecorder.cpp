// A notification server for the tests: owns org.freedesktop.Notifications on the session bus,
// appends each Notify call to RECORD ("Notify APP ICON desktop-entry=ENTRY", the summary, the body,
// a line "."), answers it, and creates READY once it serves. usage: RECORD READY
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QVariantMap>

namespace {

class Recorder final : public QDBusVirtualObject
{
public:
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QList<QVariant> in = message.arguments();
        if (message.member() != QStringLiteral("Notify") || in.size() != 8)
            return false;
        const QString entry =
            qdbus_cast<QVariantMap>(in[6]).value(QStringLiteral("desktop-entry")).toString();
        QFile file(QCoreApplication::arguments().at(1));
        if (file.open(QIODevice::Append))
            file.write(QStringLiteral("Notify %1 %2 desktop-entry=%3\n%4\n%5\n.\n")
                           .arg(in[0].toString(), in[2].toString(), entry, in[3].toString(), in[4].toString())
                           .toUtf8());
        file.close();
        return connection.send(message.createReply(QVariant::fromValue(1U)));
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    Recorder recorder;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QFile ready(QCoreApplication::arguments().value(2));
    if (argc != 3 || !bus.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder)
        || !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))
        || !ready.open(QIODevice::WriteOnly))
        return 1;
    ready.close();
    return application.exec();
}
