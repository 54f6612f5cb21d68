#pragma once

#include <string>
#include <string_view>

namespace parvane::evaluation {

// Messages of the error log; each follows the file or path it names.
inline constexpr std::string_view kMessageMissing =
    ": fichier introuvable, verifiez sa presence ou son integrite ";
inline constexpr std::string_view kMessageUndetermined = ": erreur indeterminee no: ";
inline constexpr std::string_view kMessageZeroClose =
    ": dernier cours ou avant dernier cours de cloture a zero!";
inline constexpr std::string_view kMessageTooManyLines = ": plus de 100 lignes, fichier ignore";
inline constexpr std::string_view kMessageNoUnderscore =
    ": nom sans \"_\" (nom_code.txt attendu), fichier ignore";
inline constexpr std::string_view kMessageBadTrendLine =
    ": ligne de tendance illisible, lignes suivantes ignorees, ligne ";
inline constexpr std::string_view kMessageBadWeekVolumes =
    ": volumes hebdomadaires illisibles, action ignoree";
inline constexpr std::string_view kMessageNotWritten = ": ecriture impossible, erreur no: ";
inline constexpr std::string_view kMessageNotRegularFile = ": n'est pas un fichier ordinaire, non ecrit";
inline constexpr std::string_view kMessageLossyName =
    ": nom hors du jeu Windows-1252, caractere(s) ecrit(s) \"?\"";

// A number as the error log and the status label write it: a blank (the sign place) before a
// value of zero or more.
std::string withSignPlace(long long value);

// The message for a file that could not be opened or read: kMessageMissing when it does not exist,
// else kMessageUndetermined followed by the error number with its sign place (two blanks before a
// number of zero or more).
std::string failureMessage(int errorNumber, bool missing);

} // namespace parvane::evaluation
