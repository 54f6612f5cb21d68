#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace parvane::scan {

// The error a write-side open reports for a FIFO, a device or anything but a regular file; no
// error number has this value.
inline constexpr int kErrorNotRegularFile = 1 << 20;

// Opens `file` for writing, creating it (0644) when missing, never through a symbolic link and
// never waiting: a FIFO or a device in the file's place is refused with kErrorNotRegularFile.
// `extraFlags` may hold O_TRUNC and O_APPEND. Returns the descriptor, or minus the error number.
int openRegularForWriting(const std::filesystem::path& file, int extraFlags);

// The error-log message for a result file that could not be opened or written.
std::string resultFileFailure(int error);

// A result file of a run (a group file or the CSV file), created or emptied when the run opens
// it and written line by line with CR LF. It is never written through a symbolic link, so that a
// link planted in a base cannot make a run overwrite a history or a trend line.
class ResultFile
{
public:
    ResultFile() = default;
    ~ResultFile();
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    // Creates or empties `file`. Returns 0, the error number, or kErrorNotRegularFile.
    int open(const std::filesystem::path& file);

    bool isOpen() const { return m_file != nullptr; }

    const std::filesystem::path& path() const { return m_path; }

    // Appends `line` and CR LF. Returns 0 or the error number of a failed write.
    int writeLine(std::string_view line);
    // Flushes and closes. Returns 0 or the error number of a failed flush.
    int close();

private:
    std::FILE* m_file = nullptr;
    std::filesystem::path m_path;
};

} // namespace parvane::scan
