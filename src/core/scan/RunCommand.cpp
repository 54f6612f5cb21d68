#include "core/scan/RunCommand.h"

#include <system_error>

#include "core/evaluation/LogMessages.h"

namespace parvane::scan {

std::optional<Refusal> checkBaseFolder(std::string_view baseactive, const std::filesystem::path& baseFolder)
{
    std::error_code error;
    if (!baseactive.empty() && std::filesystem::is_directory(baseFolder, error))
        return std::nullopt;
    Refusal refusal;
    refusal.title = "Parvane - Erreur Chemin(s)";
    refusal.text = "Repertoire base: " + std::string(baseactive) + " Incorrect.\n"
                   + "Veuillez modifier le chemin de votre (vos) base(s)";
    return refusal;
}

std::optional<Refusal> checkThresholds(const ScanOptions& options)
{
    if (options.proximity && !(options.maxGap > 0))
        return Refusal{"Parvane", "ECART COURS/DROITES NON VALIDE"};
    if (options.volumeFilter && options.crossing && !(options.volumeThreshold > 0))
        return Refusal{"Parvane", "ECART DETECTION CROISEMENT\nAVEC VOLUME NON VALIDE"};
    return std::nullopt;
}

bool runCondition(const ScanOptions& options) noexcept
{
    return options.crossing || (options.proximity && (options.daily || options.weekly) && options.maxGap > 0);
}

bool proximityWithoutUnit(const ScanOptions& options) noexcept
{
    return options.proximity && !options.daily && !options.weekly;
}

std::string finStatusText(std::size_t errors)
{
    std::string text = "FIN:" + evaluation::withSignPlace(static_cast<long long>(errors)) + " erreur(s)";
    if (errors != 0)
        text += "\nvoir errorlog.txt";
    return text;
}

std::string finStatusTooltip(std::size_t errors)
{
    return errors != 0 ? "Double-Cliquez pour voir le fichier log" : "nothing to declare";
}

} // namespace parvane::scan
