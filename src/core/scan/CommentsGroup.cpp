#include "core/scan/CommentsGroup.h"

#include <algorithm>
#include <vector>

#include "core/evaluation/LogMessages.h"
#include "core/scan/FolderIndex.h"
#include "core/scan/GroupFile.h"
#include "core/scan/ResultFile.h"
#include "core/text/DiskName.h"

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
        errorLog.write(group.path().string(), resultFileFailure(error));
    } else {
        double progress = 0.1;
        bool lossLogged = false;
        for (const std::string& name : names) {
            const text::Windows1252Name windowsName = text::diskNameToWindows1252(name);
            const auto stock = splitStockFileName(windowsName.bytes);
            if (!stock) {
                errorLog.write((layout.comment / name).string(), evaluation::kMessageNoUnderscore);
                continue;
            }
            std::string line(stock->code);
            line += '\t';
            line += stock->name;
            if (windowsName.lossy && !lossLogged) {
                lossLogged = true;
                errorLog.write(group.path().string(), evaluation::kMessageLossyName);
            }
            if (const int writeError = group.writeLine(line); writeError != 0) {
                errorLog.write(group.path().string(), resultFileFailure(writeError));
                break;
            }
            progress = std::min(progress + 1, maximum);
            observer.progressValue(progress);
        }
        if (const int closeError = group.close(); closeError != 0)
            errorLog.write(group.path().string(), resultFileFailure(closeError));
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
