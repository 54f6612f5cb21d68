#include "core/scan/ErrorLog.h"

#include <algorithm>
#include <cstddef>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "core/scan/ResultFile.h"

namespace parvane::scan {

ErrorLog::ErrorLog(std::filesystem::path file, const RunEnvironment& environment)
    : m_file(std::move(file))
    , m_environment(environment)
{}

void ErrorLog::write(std::string_view subject, std::string_view message)
{
    ++m_count;
    const DateTime moment = m_environment.now();
    std::string line = m_environment.dateText(moment);
    line += ' ';
    line += m_environment.timeText(moment);
    line += " | ";
    const std::size_t textStart = line.size();
    line += subject;
    line += message;
    // A file name may hold a line end; the log keeps one line for each failure.
    std::replace_if(
        line.begin() + static_cast<std::ptrdiff_t>(textStart), line.end(),
        [](char c) { return c == '\r' || c == '\n'; }, '?');
    line += "\r\n";
    const int fd = openRegularForWriting(m_file, O_APPEND);
    if (fd < 0) {
        ++m_lost;
        return;
    }
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        ++m_lost;
    ::close(fd);
}

bool deleteErrorLog(const std::filesystem::path& programFolder)
{
    std::error_code error;
    std::filesystem::remove(programFolder / kErrorLogFileName, error);
    return !error;
}

} // namespace parvane::scan
