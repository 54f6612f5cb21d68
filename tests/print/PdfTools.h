#pragma once

#include <optional>
#include <vector>

#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace parvane::print::test {

// Runs `commandLine` (its program looked up in PATH, then /usr/sbin); its standard output, or
// std::nullopt when it fails.
inline std::optional<QString> runTool(const QString& commandLine)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    const QString name = arguments.takeFirst();
    QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin")});
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The words of each page of a PDF as pdftotext finds them, with their boxes in points from the
// sheet's top left corner.
struct PdfPages
{
    QSizeF sheet;
    std::vector<QStringList> words;
    std::vector<std::vector<QRectF>> boxes;
};

inline PdfPages readPdf(const QString& pdf)
{
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|)re"
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    PdfPages result;
    const QString html =
        runTool(QStringLiteral(PARVANE_PDFTOTEXT " -bbox ") + pdf + QStringLiteral(" -")).value_or(QString());
    for (const QRegularExpressionMatch& m : tag.globalMatch(html)) {
        const auto number = [&m](int i) { return m.captured(i).toDouble(); };
        if (!m.captured(1).isEmpty()) {
            result.sheet = QSizeF(number(1), number(2));
            result.words.emplace_back();
            result.boxes.emplace_back();
        } else if (!result.words.empty()) {
            result.words.back().append(m.captured(7));
            result.boxes.back().push_back(
                QRectF(QPointF(number(3), number(4)), QPointF(number(5), number(6))));
        }
    }
    return result;
}

} // namespace parvane::print::test
