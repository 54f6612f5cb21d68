#include "core/scan/KorvixExecutable.h"

#include <system_error>

#include "core/scan/AsciiCase.h"

namespace parvane::scan {

bool isKorvixExecutableName(std::string_view name) noexcept
{
    return equalsIgnoringCase(name, kKorvixExecutable);
}

std::optional<std::filesystem::path> findKorvixExecutable(const std::filesystem::path& folder)
{
    std::error_code error;
    const std::filesystem::path exact = folder / kKorvixExecutable;
    if (std::filesystem::is_regular_file(exact, error))
        return exact;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return std::nullopt;
    for (const std::filesystem::directory_entry& entry : entries) {
        if (isKorvixExecutableName(entry.path().filename().native()) && entry.is_regular_file(error))
            return entry.path();
    }
    return std::nullopt;
}

} // namespace parvane::scan
