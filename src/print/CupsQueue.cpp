#include "print/CupsQueue.h"

#include <cups/cups.h>

#include <QFile>

namespace parvane::print {

namespace {

constexpr int kStateStopped = 5; // IPP printer-state "stopped"

QString lastCupsError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

// The queue must be able to print now: it exists, is not stopped and accepts jobs.
PrintStatus checkReady(const QString& queue)
{
    const QByteArray name = queue.toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest) {
        return PrintStatus::failure(kErrorNoPrinter, QStringLiteral("Imprimante ") + queue
                                                         + QStringLiteral(" introuvable: ")
                                                         + lastCupsError());
    }
    const auto option = [dest](const char* key) {
        return QString::fromUtf8(cupsGetOption(key, dest->num_options, dest->options));
    };
    const bool stopped = option("printer-state").toInt() == kStateStopped;
    // An older server may not say; only an explicit "false" is a refusal.
    const bool refusing = option("printer-is-accepting-jobs") == QStringLiteral("false");
    QString reasons = option("printer-state-reasons");
    cupsFreeDests(1, dest);
    if (reasons == QStringLiteral("none"))
        reasons.clear();
    const QString detail = reasons.isEmpty() ? QString() : QStringLiteral(" (") + reasons + QLatin1Char(')');
    if (stopped) {
        return PrintStatus::failure(kErrorPrinter, QStringLiteral("L'imprimante ") + queue
                                                       + QStringLiteral(" est arretee") + detail
                                                       + QStringLiteral(": rien n'a ete envoye."));
    }
    if (refusing) {
        return PrintStatus::failure(kErrorPrinter, QStringLiteral("L'imprimante ") + queue
                                                       + QStringLiteral(" refuse les travaux") + detail
                                                       + QStringLiteral(": rien n'a ete envoye."));
    }
    return {};
}

// True when the server lists job `jobId` of `queue` as neither cancelled nor aborted. A server
// that keeps no history of finished jobs may have forgotten a job that printed at once; its job
// number is then confirmation enough.
bool jobStands(const QString& queue, int jobId)
{
    const QByteArray name = queue.toUtf8();
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, name.constData(), 0, CUPS_WHICHJOBS_ALL);
    bool stands = true;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id == jobId)
            stands = jobs[i].state != IPP_JSTATE_CANCELED && jobs[i].state != IPP_JSTATE_ABORTED;
    }
    cupsFreeJobs(count, jobs);
    return stands;
}

} // namespace

PrintStatus sendToQueue(const QString& queue, const QString& pdfFile, int& jobId)
{
    jobId = 0;
    if (PrintStatus status = checkReady(queue); !status.ok())
        return status;
    const QByteArray name = queue.toUtf8();
    const QByteArray file = QFile::encodeName(pdfFile);
    cups_option_t* options = nullptr;
    const int optionCount = cupsAddOption("document-format", "application/pdf", 0, &options);
    const int id = cupsPrintFile2(CUPS_HTTP_DEFAULT, name.constData(), file.constData(), "Parvane",
                                  optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (id <= 0) {
        return PrintStatus::failure(kErrorPrinter, QStringLiteral("L'imprimante ") + queue
                                                       + QStringLiteral(" n'a pas accepte le travail: ")
                                                       + lastCupsError());
    }
    if (!jobStands(queue, id)) {
        return PrintStatus::failure(kErrorPrinter, QStringLiteral("Le travail ") + QString::number(id)
                                                       + QStringLiteral(" a ete annule par l'imprimante ")
                                                       + queue + QLatin1Char('.'));
    }
    jobId = id;
    return {};
}

} // namespace parvane::print
