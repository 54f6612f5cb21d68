#pragma once

#include "core/scan/RunEnvironment.h"

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace parvane::scan {

inline constexpr const char* kErrorLogFileName = "errorlog.txt";

// Messages of the error log; each follows the file it names.
inline constexpr std::string_view kMessageMissing = ": fichier introuvable, verifiez sa presence ou son integrite ";
inline constexpr std::string_view kMessageUndetermined = ": erreur indeterminee no: ";
inline constexpr std::string_view kMessageZeroClose = ": dernier cours ou avant dernier cours de cloture a zero!";
inline constexpr std::string_view kMessageTooManyLines = ": plus de 100 lignes, fichier ignore";
inline constexpr std::string_view kMessageNoUnderscore = ": nom sans \"_\" (nom_code.txt attendu), fichier ignore";
inline constexpr std::string_view kMessageBadTrendLine = ": ligne de tendance illisible, lignes suivantes ignorees, ligne ";
inline constexpr std::string_view kMessageBadWeekVolumes = ": volumes hebdomadaires illisibles, action ignoree";
inline constexpr std::string_view kMessageNotWritten = ": ecriture impossible, erreur no: ";

// The message for a file that could not be opened or read: kMessageMissing when it does not exist,
// else kMessageUndetermined followed by the error number with its sign place (two blanks before a
// number of zero or more).
std::string failureMessage(int errorNumber, bool missing);

// A number as the error log and the status label write it: a blank (the sign place) before a
// value of zero or more.
std::string withSignPlace(long long value);

// The error log of the program folder. Each line is appended to the file, which is opened and
// closed for that line alone, so that nothing is lost when the program ends in the middle of a
// run. Every line adds 1 to the count, also when the file cannot be written (the line is then
// lost and the run goes on).
class ErrorLog
{
public:
    ErrorLog(std::filesystem::path file, const RunEnvironment& environment);

    // Appends: date text, " ", time text, " | ", `subject`, `message`, CR LF.
    void write(std::string_view subject, std::string_view message);

    std::size_t count() const { return m_count; }
    void resetCount() { m_count = 0; }
    const std::filesystem::path& file() const { return m_file; }

private:
    std::filesystem::path m_file;
    const RunEnvironment& m_environment;
    std::size_t m_count = 0;
};

// Deletes the program folder's error log, as the program does at each start. Returns false when
// an existing log could not be deleted (the program then goes on with it).
bool deleteErrorLog(const std::filesystem::path& programFolder);

} // namespace parvane::scan
