#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace parvane::scan {

inline constexpr const char* kSettingsFileName = "zarbel.ini";
inline constexpr const char* kSettingsSection = "path";

// The settings of section "path" of zarbel.ini, as texts (Windows or Linux forms).
struct Settings
{
    std::string pathkvx; // "exe": Korvix's folder, ending with a separator
    std::string droite;  // "droite": trend-line folder relative to a base, "\base\droite\"
    std::string histo;   // "histo": history folder relative to a base, "\base\histo\"
    std::string base1;
    std::string base2;
    std::string base3;
};

// Reads "exe", "droite", "histo", "base1", "base2", "base3" (in this order) from `iniFile`.
// Missing file or keys give empty texts.
Settings loadSettings(const std::filesystem::path& iniFile);

// What the base chooser (Combo1 with Label11) shows after a set-up.
struct BaseChooser
{
    std::string baseactive;
    bool visible = false;
    int selectedIndex = 0;
    std::string tooltip; // base 1's path when visible
};

// Active-base set-up at start-up: base 3 moves into an empty base 2 (base 3 keeps its value);
// the chooser shows when base 2 or base 3 is set; the active base is base 1.
BaseChooser setUpActiveBase(Settings& settings);

// After the "Base(s)" command: the same without moving base 3 into base 2.
BaseChooser chooserAfterBasesCommand(const Settings& settings);

// The base of chooser item `index` (0, 1, 2); std::nullopt for any other index (nothing changes).
std::optional<std::string> baseForChooserIndex(const Settings& settings, int index);

} // namespace parvane::scan
