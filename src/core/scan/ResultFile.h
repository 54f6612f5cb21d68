#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace parvane::scan {

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

    // Creates or empties `file`. Returns 0 or the error number.
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
