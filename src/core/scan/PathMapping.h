#pragma once

#include <filesystem>
#include <string_view>

namespace parvane::scan {

// Where Windows paths of Korvix's settings lead on this machine.
struct PathEnvironment
{
    std::filesystem::path winePrefix; // $WINEPREFIX, else ~/.wine
};

// Reads $WINEPREFIX and $HOME.
PathEnvironment pathEnvironmentFromSystem();

// Maps a path text of zarbel.ini to a local path. "\" is a separator; a drive letter ("C:",
// "d:\bourse") maps to <prefix>/dosdevices/<letter>: (or <prefix>/drive_c for C: when that link is
// missing); the components of a drive path are then matched without regard to case against what
// exists. Texts in Linux form ("/home/...") stay as they are. A trailing separator is dropped.
std::filesystem::path mapSettingsPath(std::string_view text, const PathEnvironment& environment);

// Appends the relative base path `relative` ("\base\droite\", "\Base\comment\", ...) to `root`,
// matching each component against the folder's entries without regard to ASCII case; a component
// that matches nothing keeps the spelling given (and everything after it too).
std::filesystem::path resolveUnderBase(const std::filesystem::path& root, std::string_view relative);

// The folders of one base, resolved once per run.
struct BaseLayout
{
    std::filesystem::path root;    // baseactive
    std::filesystem::path base;    // root + "\base"
    std::filesystem::path droite;  // root + droite folder
    std::filesystem::path histo;   // root + histo folder
    std::filesystem::path groupe;  // root + "\base\groupe\"
    std::filesystem::path comment; // root + "\Base\comment\"

    // Empty droite or histo texts default to "\base\droite\" and "\base\histo\".
    static BaseLayout resolve(const std::filesystem::path& root, std::string_view droiteText,
                              std::string_view histoText);
};

} // namespace parvane::scan
