#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace parvane::print::test {

// Standard output of a poppler-utils tool run on `pdf`; empty when it fails.
inline QString runPdfTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfInfo(const QString& pdf)
{
    return runPdfTool(QStringLiteral(PARVANE_PDFINFO), {pdf});
}

// The text of `pdf` laid out as on the page.
inline QString pdfText(const QString& pdf, int page = 0)
{
    QStringList arguments{QStringLiteral("-layout")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    arguments << pdf << QStringLiteral("-");
    return runPdfTool(QStringLiteral(PARVANE_PDFTOTEXT), arguments);
}

// Page count from pdfinfo's "Pages:" line; 0 when missing.
inline int pdfPageCount(const QString& info)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(info);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// Width and height in points from pdfinfo's "Page size:" line.
inline QSizeF pdfPageSize(const QString& info)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                           QRegularExpression::MultilineOption)
            .match(info);
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

} // namespace parvane::print::test
