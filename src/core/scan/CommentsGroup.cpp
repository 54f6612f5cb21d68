#include "core/scan/CommentsGroup.h"

#include <algorithm>
#include <vector>

#include "core/evaluation/LogMessages.h"
#include "core/scan/FolderIndex.h"
#include "core/scan/GroupFile.h"
#include "core/scan/ResultFile.h"

namespace parvane::scan {

std::string majgroupecomm(const BaseLayout& layout, ScanObserver& observer, ErrorLog& errorLog)
{
    observer.progressShown(true);
    observer.csvLabelHidden();
    observer.progressValue(0.1);

    const std::vector<std::string> names = listTextFiles(layout.comment);
    const double maximum = static_cast<double>(names.size()) + 1;
    observer.statusText("EXECUTION");
    observer.progressRange(maximum);

    FolderIndex groups(layout.groupe);
    ResultFile group;
    if (const int error = group.open(groups.resolve("Quennel.txt")); error != 0) {
        errorLog.write(group.path().string(),
                       std::string(evaluation::kMessageNotWritten) + evaluation::withSignPlace(error));
    } else {
        double progress = 0.1;
        for (const std::string& name : names) {
            const auto stock = splitStockFileName(name);
            if (!stock) {
                errorLog.write((layout.comment / name).string(), evaluation::kMessageNoUnderscore);
                continue;
            }
            std::string line(stock->code);
            line += '\t';
            line += stock->name;
            if (const int writeError = group.writeLine(line); writeError != 0) {
                errorLog.write(group.path().string(), std::string(evaluation::kMessageNotWritten)
                                                          + evaluation::withSignPlace(writeError));
                break;
            }
            progress = std::min(progress + 1, maximum);
            observer.progressValue(progress);
        }
        if (const int closeError = group.close(); closeError != 0)
            errorLog.write(group.path().string(), std::string(evaluation::kMessageNotWritten)
                                                      + evaluation::withSignPlace(closeError));
    }

    observer.progressValue(0.1);
    std::string message =
        "FIN:" + evaluation::withSignPlace(static_cast<long long>(errorLog.count())) + " Erreur(s)";
    if (errorLog.count() != 0)
        message += "\r\nvoir errorlog.txt";
    observer.statusText(message);
    return message;
}

} // namespace parvane::scan
