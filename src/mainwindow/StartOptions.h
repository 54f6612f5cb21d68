#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace parvane::mainwindow {

// What the command line asks the window to do once it shows: select a base, set the boxes to
// options of parvane-scan, run the scan, and show only the rows that a run of parvane-scan found
// new (the command line of the click on its notification).
struct StartOptions
{
    QString base; // a base folder on this machine
    bool proximity = false;
    bool daily = false;
    bool weekly = false;
    bool crossing = false;
    QString maxGap;                // Text2; empty leaves it as it is
    std::optional<QString> volume; // Check8 ticked and Text4, when given
    QStringList groups;
    // "Nouveaux seulement" ticked, showing the rows of newRows: each a hit as the kept rows name it
    // (scan::hitText: "X" or "P", the unit, the stock's file name in UTF-8, joined by tabs).
    bool showNew = false;
    QStringList newRows;
};

// Adds the options read by readStartOptions() to `parser`.
void addStartOptions(QCommandLineParser& parser);

// The start options of a command line that `parser` has read; std::nullopt without "--base".
std::optional<StartOptions> readStartOptions(const QCommandLineParser& parser);

} // namespace parvane::mainwindow
