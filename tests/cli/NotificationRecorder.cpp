// A notification server for the tests: owns org.freedesktop.Notifications on the session bus and
// appends every Notify call it gets to a file, then answers it as a desktop would.
// usage: parvane-notification-recorder RECORD_FILE READY_FILE
#include <cstdio>

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
    explicit Recorder(QString file)
        : m_file(std::move(file))
    {}

    QString introspect(const QString&) const override { return {}; }

    // Records "Notify APP ICON desktop-entry=ENTRY", the summary, the body, then a line ".".
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QList<QVariant> arguments = message.arguments();
        if (message.member() != QStringLiteral("Notify") || arguments.size() != 8)
            return false;
        const QVariantMap hints = qdbus_cast<QVariantMap>(arguments[6]);
        const QString record = QStringLiteral("Notify %1 %2 desktop-entry=%3\n%4\n%5\n.\n")
                                   .arg(arguments[0].toString(), arguments[2].toString(),
                                        hints.value(QStringLiteral("desktop-entry")).toString(),
                                        arguments[3].toString(), arguments[4].toString());
        QFile file(m_file);
        if (file.open(QIODevice::Append))
            file.write(record.toUtf8());
        file.close();
        connection.send(message.createReply(QVariant::fromValue(++m_id)));
        return true;
    }

private:
    QString m_file;
    uint m_id = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 64;
    Recorder recorder(QString::fromLocal8Bit(argv[1]));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder)
        || !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "cannot serve org.freedesktop.Notifications\n");
        return 1;
    }
    QFile ready(QString::fromLocal8Bit(argv[2]));
    if (!ready.open(QIODevice::WriteOnly))
        return 1;
    ready.close();
    return application.exec();
}
