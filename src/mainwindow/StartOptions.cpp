#include "mainwindow/StartOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace parvane::mainwindow {

namespace {

struct Flag
{
    const char* name;
    const char* description;
    bool StartOptions::*field;
};

const Flag kFlags[] = {
    {"proximity", "Cocher la proximite cours/droites.", &StartOptions::proximity},
    {"daily", "Proximite: unite journaliere.", &StartOptions::daily},
    {"weekly", "Proximite: unite hebdomadaire.", &StartOptions::weekly},
    {"crossing", "Cocher le croisement cours/droites.", &StartOptions::crossing},
    {"show-new", "Apres la recherche, cocher \"Nouveaux seulement\" (lignes de --new-row).",
     &StartOptions::showNew},
};

QCommandLineOption valueOption(const char* name, const char* description, const char* valueName)
{
    return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                              QString::fromLatin1(valueName));
}

const char* const kBase = "base";
const char* const kMaxGap = "max-gap";
const char* const kVolume = "volume";
const char* const kGroups = "groups";
const char* const kNewRow = "new-row";

} // namespace

void addStartOptions(QCommandLineParser& parser)
{
    parser.addOption(
        valueOption(kBase, "Base a scanner des l'ouverture (avec les options ci-dessous).", "DIR"));
    for (const Flag& flag : kFlags)
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(flag.name), QString::fromLatin1(flag.description)));
    parser.addOption(valueOption(kMaxGap, "Pourcentage max. de detection.", "TEXTE"));
    parser.addOption(
        valueOption(kVolume, "Croisement avec une hausse du volume superieure a TEXTE %.", "TEXTE"));
    parser.addOption(valueOption(kGroups, "Ne scanner que les actions de ces groupes.", "A,B"));
    parser.addOption(
        valueOption(kNewRow,
                    "Une ligne nouvelle: X (croisement) ou P (proximite), UT et fichier de l'action, "
                    "separes par des tabulations.",
                    "LIGNE"));
}

std::optional<StartOptions> readStartOptions(const QCommandLineParser& parser)
{
    const QString base = QString::fromLatin1(kBase);
    if (!parser.isSet(base))
        return std::nullopt;
    StartOptions start;
    start.base = parser.value(base);
    for (const Flag& flag : kFlags)
        start.*flag.field = parser.isSet(QString::fromLatin1(flag.name));
    start.maxGap = parser.value(QString::fromLatin1(kMaxGap));
    if (parser.isSet(QString::fromLatin1(kVolume)))
        start.volume = parser.value(QString::fromLatin1(kVolume));
    const QString groups = parser.value(QString::fromLatin1(kGroups));
    if (!groups.isEmpty())
        start.groups = groups.split(QLatin1Char(','));
    start.newRows = parser.values(QString::fromLatin1(kNewRow));
    return start;
}

} // namespace parvane::mainwindow
