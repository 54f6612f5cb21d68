#pragma once

#include <cstddef>
#include <string>

#include "core/scan/ErrorLog.h"
#include "core/scan/PathMapping.h"
#include "core/scan/ScanObserver.h"

namespace parvane::scan {

// majgroupecomm: rebuilds the comments group "Quennel.txt" of the base: one line (code, Tab,
// name, CR LF) per comment file of the comment folder, in walk order. No comment file is opened.
// A comment file name without "_" is passed over with one error-log line; a group file that
// cannot be written is one error-log line. Shows its progress and end message through
// `observer`. Returns the end message ("FIN: 0 Erreur(s)" ...), `errors` being the run's count.
std::string majgroupecomm(const BaseLayout& layout, ScanObserver& observer, ErrorLog& errorLog);

} // namespace parvane::scan
