#include "core/scan/AccountText.h"

#include <cmath>
#include <cstdio>

#include "core/evaluation/NumberRules.h"
#include "core/evaluation/TimeUnits.h"

namespace parvane::scan {

namespace {

using evaluation::Step;
using evaluation::TrendLineAccount;

// A number with up to ten significant digits, without a trailing zero.
std::string number(double value, char separator)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    std::string text = buffer;
    for (char& c : text) {
        if (c == '.')
            c = separator;
    }
    return text;
}

std::string percent(double value, char separator)
{
    return evaluation::formatFixed2(value, separator) + " %";
}

std::string yesNo(bool value)
{
    return value ? "oui" : "non";
}

std::string inQuotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string unitName(const TrendLineAccount& account)
{
    if (account.unit.empty())
        return "aucune";
    std::string name = account.unit;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

// "1 barre", "2 barres", "0,5 barre".
std::string bars(double count, char separator)
{
    return number(count, separator) + (std::fabs(count) >= 2 ? " barres" : " barre");
}

// What the type of a line (field 1) means for the scan.
std::string kindText(const std::string& kind)
{
    if (kind == "3")
        return "jamais examinee";
    if (kind == "1")
        return "sans limite d'age";
    return "avec limite d'age";
}

double volumeRise(const TrendLineAccount& account)
{
    return (account.laterVolume - account.earlierVolume) * 100 / account.earlierVolume;
}

} // namespace

std::string_view stepKey(Step step)
{
    switch (step) {
    case Step::Read:
        return "lecture";
    case Step::Fields89:
        return "champs8-9";
    case Step::Kind:
        return "genre";
    case Step::Monthly:
        return "mensuelle";
    case Step::NotSought:
        return "non-cherchee";
    case Step::NoUnit:
        return "sans-unite";
    case Step::History:
        return "historique";
    case Step::AgeLimit:
        return "age";
    case Step::Gaps:
        return "cours-zero";
    case Step::WeekVolumes:
        return "volumes-semaine";
    case Step::Report:
        return "seuil";
    case Step::Reported:
        return "retenue";
    case Step::NotReached:
        return "non-examinee";
    }
    return "";
}

std::string verdictText(const TrendLineAccount& a, char separator)
{
    switch (a.step) {
    case Step::Reported: {
        std::string kinds;
        if (a.proximityHit)
            kinds = "proximite";
        if (a.crossing)
            kinds += kinds.empty() ? "croisement" : " et croisement";
        return "retenue (" + kinds + ")";
    }
    case Step::Read:
        return "non retenue: ligne illisible dans le fichier des droites (moins de dix champs, pente "
               "ou niveau vide, ou ancrage hors limites)";
    case Step::Fields89:
        return "non retenue: droite non suivie (ses marques dans Korvix ne s'annulent pas)";
    case Step::Kind:
        return "non retenue: droite de type \"3\", jamais examinee";
    case Step::Monthly:
        return "non retenue: droite mensuelle, jamais examinee";
    case Step::NotSought:
        return "non retenue: ni la proximite en unite " + unitName(a) + " ni le croisement ne sont demandes";
    case Step::NoUnit:
        return "non retenue: aucune unite (code d'unite inconnu)";
    case Step::History:
        return "non retenue: historique introuvable ou illisible";
    case Step::AgeLimit:
        return "non retenue: droite trop ancienne de " + bars(a.age - a.ageLimit, separator) + " (age "
               + number(a.age, separator) + ", limite " + std::to_string(a.ageLimit) + ")";
    case Step::Gaps:
        return "non retenue: dernier cours ou avant dernier cours de cloture a zero, ou semaine "
               "precedente introuvable";
    case Step::WeekVolumes:
        return "non retenue: volumes des semaines illisibles";
    case Step::Report: {
        std::string why;
        if (a.proximitySought)
            why = "ecart " + percent(std::fabs(a.gapPercent), separator) + " pas sous le seuil de "
                  + percent(a.maxGap, separator);
        if (a.crossingSought) {
            if (!why.empty())
                why += ", ";
            why += a.signChanged ? "croisement sans hausse suffisante du volume" : "pas de croisement";
        }
        return "non retenue: " + why;
    }
    case Step::NotReached:
        return "non examinee: l'evaluation de l'action s'est arretee sur une droite precedente";
    }
    return "";
}

std::vector<std::string> trendLineAccountLines(const TrendLineAccount& a, char separator)
{
    const char s = separator;
    std::vector<std::string> lines;
    if (a.step == Step::NotReached) {
        lines.push_back("Droite " + std::to_string(a.lineNumber));
        lines.push_back("  => " + verdictText(a, s));
        return lines;
    }
    lines.push_back("Droite " + std::to_string(a.lineNumber) + ": unite " + unitName(a) + ", "
                    + kindText(a.kind) + " (code d'unite " + inQuotes(a.unitCode) + ", type "
                    + inQuotes(a.kind) + ")");
    if (a.step == Step::Read) {
        lines.push_back("  => " + verdictText(a, s));
        return lines;
    }
    const evaluation::TrendLine& f = a.fields;
    lines.push_back("  trace: pente " + number(f.slope, s) + " par barre, niveau " + number(f.intercept, s)
                    + " a la barre 0, ancrages aux barres " + number(f.firstAnchor, s) + " et "
                    + number(f.secondAnchor, s) + ", prolongee de " + bars(f.extension, s));
    lines.push_back("  marques dans Korvix: " + number(f.field8, s) + " et " + number(f.field9, s)
                    + (a.step == Step::Fields89 ? ", elles ne s'annulent pas" : ": droite suivie"));
    if (a.step > Step::Monthly)
        lines.push_back("  cherche: proximite " + yesNo(a.proximitySought) + ", croisement "
                        + yesNo(a.crossingSought));
    const std::string bar = a.unit == evaluation::kUnitWeek ? "semaine" : "seance";
    if (a.step > Step::History) {
        lines.push_back("  historique: " + std::to_string(a.lineCount) + " seances, "
                        + std::to_string(a.weekCount) + " semaines");
        if (a.ageChecked)
            lines.push_back("  ancrage le plus recent: barre " + number(a.laterAnchor, s) + ", prolongee de "
                            + bars(a.extension, s) + ", derniere " + bar + " a la position "
                            + number(a.laterAnchor + a.extension + a.age, s) + ": age " + number(a.age, s)
                            + ", limite " + std::to_string(a.ageLimit)
                            + (a.step == Step::AgeLimit
                                   ? ", droite trop ancienne de " + bars(a.age - a.ageLimit, s)
                                   : ": ok"));
        else if (a.kind == "1")
            lines.push_back("  age: droite de type \"1\", sans limite d'age");
    }
    if (a.gapsComputed) {
        lines.push_back("  derniere " + bar + " (position " + number(a.lastBar, s)
                        + " sur la droite): droite a " + number(a.lineValue(), s) + ", cloture "
                        + number(a.lastClose, s) + ", ecart " + number(a.lastGap, s) + " soit "
                        + percent(a.gapPercent, s));
        lines.push_back("  " + bar + " precedente (position " + number(a.previousBar, s) + "): droite a "
                        + number(a.previousLineValue(), s) + ", cloture " + number(a.previousClose, s)
                        + ", ecart " + number(a.previousGap, s));
        lines.push_back("  variation de la cloture: " + percent(a.variation, s));
        if (a.proximitySought)
            lines.push_back("  proximite: " + percent(std::fabs(a.gapPercent), s)
                            + (a.proximityHit ? " sous le seuil de " : " pas sous le seuil de ")
                            + percent(a.maxGap, s));
        if (a.crossingSought)
            lines.push_back(std::string("  croisement: ")
                            + (a.signChanged ? "oui, le cours est passe de l'autre cote de la droite"
                                             : "non, le cours reste du meme cote de la droite"));
        if (a.volumeChecked) {
            std::string line =
                "  volume: " + number(a.earlierVolume, s) + " puis " + number(a.laterVolume, s);
            if (a.earlierVolume == 0)
                line += ", volume precedent nul";
            else
                line += ", hausse " + percent(volumeRise(a), s)
                        + (a.crossing ? " au-dessus de " : " pas au-dessus de ")
                        + percent(a.volumeThreshold, s);
            lines.push_back(line);
        }
    }
    std::string verdict = "  => " + verdictText(a, s);
    if (!a.message.empty() && a.step != Step::History)
        verdict += " [" + a.message + "]";
    lines.push_back(verdict);
    return lines;
}

std::string stockAccountText(const StockAccount& account, char separator)
{
    std::string text = "Action " + account.fileName.substr(0, account.fileName.size() - 4) + "\n";
    text += "  droites: "
            + (account.trendLineFile.empty() ? std::string("aucun fichier") : account.trendLineFile.string())
            + "\n";
    text += "  historique: " + account.historyFile.string() + "\n";
    if (account.trendLineFile.empty())
        text += "Aucune droite de tendance: l'action n'est pas scannee.\n";
    else if (account.tooManyLines)
        text += "Plus de 100 droites: le fichier est ignore par le scan.\n";
    else if (account.lines.empty())
        text += "Aucune droite de tendance dans le fichier.\n";
    for (const evaluation::TrendLineAccount& line : account.lines) {
        text += "\n";
        for (const std::string& part : trendLineAccountLines(line, separator))
            text += part + "\n";
    }
    if (!account.messages.empty()) {
        text += "\nLe scan ecrirait dans errorlog.txt:\n";
        for (const std::string& message : account.messages)
            text += "  " + message + "\n";
    }
    return text;
}

std::string stockAccountTsv(const StockAccount& account, char separator)
{
    const char s = separator;
    std::string text = "Ligne\tUT\tGenre\tEtape\tResultat\tN\tW\tAge\tLimite\tBarre\tDroite\tCours\tEcart%"
                       "\tVar%\tCroisement\tVolPrec\tVolDernier\n";
    for (const evaluation::TrendLineAccount& a : account.lines) {
        const bool reached = a.step != Step::NotReached && a.step != Step::Read;
        text += std::to_string(a.lineNumber) + "\t" + a.unit + "\t" + a.kind + "\t"
                + std::string(stepKey(a.step)) + "\t" + (a.step == Step::Reported ? "oui" : "non") + "\t";
        text += (reached && a.step > Step::History
                     ? std::to_string(a.lineCount) + "\t" + std::to_string(a.weekCount)
                     : std::string("\t"))
                + "\t";
        text +=
            (a.ageChecked ? number(a.age, s) + "\t" + std::to_string(a.ageLimit) : std::string("\t")) + "\t";
        if (a.gapsComputed)
            text += number(a.lastBar, s) + "\t" + number(a.lineValue(), s) + "\t" + number(a.lastClose, s)
                    + "\t" + evaluation::formatFixed2(a.gapPercent, s) + "\t"
                    + evaluation::formatFixed2(a.variation, s) + "\t"
                    + (a.crossingSought ? yesNo(a.crossing) : std::string());
        else
            text += "\t\t\t\t\t";
        text += "\t";
        if (a.volumeChecked)
            text += number(a.earlierVolume, s) + "\t" + number(a.laterVolume, s);
        else
            text += "\t";
        text += "\n";
    }
    return text;
}

} // namespace parvane::scan
