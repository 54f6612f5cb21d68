#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "core/evaluation/LogMessages.h"
#include "core/scan/RunEnvironment.h"

namespace parvane::scan {

inline constexpr const char* kErrorLogFileName = "errorlog.txt";

using evaluation::failureMessage;
using evaluation::withSignPlace;

// The error log of the program folder. Each line is appended to the file, which is opened and
// closed for that line alone, so that nothing is lost when the program ends in the middle of a
// run. Every line adds 1 to the count, also when the file cannot be written (the line is then
// lost and the run goes on).
class ErrorLog
{
public:
    ErrorLog(std::filesystem::path file, const RunEnvironment& environment);

    // Appends: date text, " ", time text, " | ", `subject`, `message`, CR LF. A CR or LF within
    // `subject` or `message` (a file name may hold one) is written as "?".
    void write(std::string_view subject, std::string_view message);

    std::size_t count() const { return m_count; }

    // Lines that could not be written: the file could not be opened (or is not a regular file:
    // a FIFO in its place is never waited on) or the write failed.
    std::size_t lost() const { return m_lost; }

    void resetCount() { m_count = 0; }

    const std::filesystem::path& file() const { return m_file; }

private:
    std::filesystem::path m_file;
    const RunEnvironment& m_environment;
    std::size_t m_count = 0;
    std::size_t m_lost = 0;
};

// Deletes the program folder's error log, as the program does at each start. Returns false when
// an existing log could not be deleted (the program then goes on with it).
bool deleteErrorLog(const std::filesystem::path& programFolder);

} // namespace parvane::scan
