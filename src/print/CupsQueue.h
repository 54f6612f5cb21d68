#pragma once

#include <QString>

#include "print/PrintStatus.h"

namespace parvane::print {

// A CUPS print queue, reached through libcups: the server named by CUPS_SERVER or the client
// configuration, else the local scheduler. Every call asks the server anew; nothing is cached.
//
// Submits the PDF file `pdfFile` of `pages` pages to `queue` as the job "Parvane" and confirms it.
// Before anything is sent, the queue must exist, be running and accept jobs: a stopped queue
// would hold the job without a word and print it later. After sending, the server must have
// given a job number and must not have cancelled or aborted the job. A failure is error 482 (484
// when the queue cannot be found) with a French description naming the queue. On success
// `jobId` holds the server's job number.
PrintStatus sendToQueue(const QString& queue, const QString& pdfFile, int& jobId);

} // namespace parvane::print
