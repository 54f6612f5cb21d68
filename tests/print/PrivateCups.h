#pragma once

#include <utility>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "PdfTools.h"

namespace parvane::print::test {

// A cupsd of the test's own, configured from tests/print/cups/: its spool, logs and socket in a
// temporary folder, one cups-pdf queue "PDF" as the default destination, writing into a folder of
// its own. CUPS_SERVER points libcups, Qt and the command-line tools at it, so no other server sees
// these printers. cups-pdf runs only as root and reads its configuration from /etc/cups: a file
// named after this process is written there and removed at the end. skipReason() is empty when
// the server runs.
class PrivateCups
{
public:
    PrivateCups()
    {
        const QString root = m_root.path();
        const QString instance = QStringLiteral("parvane-test-%1").arg(QCoreApplication::applicationPid());
        m_pdfConfig = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(instance);
        QFile(root).setPermissions(QFile::permissions(root) | QFile::ReadOther | QFile::ExeOther);
        for (const char* folder : {"spool/tmp", "cache", "state", "out"})
            QDir(root).mkpath(QLatin1String(folder));
        QFile(root + QStringLiteral("/spool/tmp")).setPermissions(QFileDevice::Permissions(0x7777));
        for (const auto& [name, target] :
             {std::pair{"/cupsd.conf", root + QStringLiteral("/cupsd.conf")},
              std::pair{"/cups-files.conf", root + QStringLiteral("/cups-files.conf")},
              std::pair{"/cups-pdf.conf", m_pdfConfig}}) {
            QFile in(QStringLiteral(PARVANE_CUPS_CONFIG) + QLatin1String(name));
            QFile out(target);
            const QString text = in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
            if (text.isEmpty() || !out.open(QIODevice::WriteOnly)
                || out.write(QString(text)
                                 .replace(QStringLiteral("@ROOT@"), root)
                                 .replace(QStringLiteral("@SOCKET@"), m_socket)
                                 .toUtf8())
                       < 0) {
                m_skip = QStringLiteral("cannot write ") + target + QStringLiteral(" (cups-pdf needs root)");
                return;
            }
        }
        qputenv("CUPS_SERVER", QFile::encodeName(m_socket));
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        m_cupsd.start(
            QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")}),
            QProcess::splitCommand(QStringLiteral("-f -c %1/cupsd.conf -s %1/cups-files.conf").arg(root)));
        // Ghostscript, cups-pdf's default renderer, loses the text of embedded fonts; cairo keeps it.
        const QString queue =
            QStringLiteral("lpadmin -p PDF -E -v cups-pdf:/%1 -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd "
                           "-o pdftops-renderer-default=pdftocairo")
                .arg(instance);
        for (int attempt = 0; m_cupsd.waitForStarted() && attempt < 100; ++attempt, QThread::msleep(100)) {
            if (runTool(queue) && runTool(QStringLiteral("lpadmin -d PDF")))
                return;
        }
        m_skip = QStringLiteral("the private cupsd did not start or took no cups-pdf queue");
    }

    ~PrivateCups()
    {
        m_cupsd.terminate();
        m_cupsd.waitForFinished(10000);
        QFile::remove(m_pdfConfig);
    }

    Q_DISABLE_COPY_MOVE(PrivateCups)

    const QString& skipReason() const { return m_skip; }

    // Every job the server knows of, done or not, as lpstat lists them.
    QString jobs() const { return runTool(QStringLiteral("lpstat -W all -o")).value_or(QStringLiteral("?")); }

    // The PDFs cups-pdf has written, once no job is pending (waiting up to 60 s).
    QStringList printed() const
    {
        for (int attempt = 0; attempt < 600 && runTool(QStringLiteral("lpstat -o")) != QString(); ++attempt)
            QThread::msleep(100);
        QStringList files;
        for (const QFileInfo& file :
             QDir(m_root.filePath(QStringLiteral("out"))).entryInfoList({QStringLiteral("*.pdf")}))
            files.append(file.filePath());
        return files;
    }

private:
    QTemporaryDir m_root;
    // libcups keeps the first server it is given for the life of the process: one socket per process.
    QString m_socket =
        QDir::temp().filePath(QStringLiteral("parvane-cups-%1.sock").arg(QCoreApplication::applicationPid()));
    QString m_pdfConfig;
    QProcess m_cupsd;
    QString m_skip;
};

} // namespace parvane::print::test
