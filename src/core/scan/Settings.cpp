#include "core/scan/Settings.h"

#include "core/scan/IniFile.h"

namespace parvane::scan {

namespace {

BaseChooser chooserFor(const Settings& settings)
{
    BaseChooser chooser;
    chooser.baseactive = settings.base1;
    chooser.visible = !settings.base2.empty() || !settings.base3.empty();
    chooser.selectedIndex = 0;
    if (chooser.visible)
        chooser.tooltip = settings.base1;
    return chooser;
}

} // namespace

Settings loadSettings(const std::filesystem::path& iniFile)
{
    Settings settings;
    settings.pathkvx = lireini(kSettingsSection, "exe", iniFile);
    settings.droite = lireini(kSettingsSection, "droite", iniFile);
    settings.histo = lireini(kSettingsSection, "histo", iniFile);
    settings.base1 = lireini(kSettingsSection, "base1", iniFile);
    settings.base2 = lireini(kSettingsSection, "base2", iniFile);
    settings.base3 = lireini(kSettingsSection, "base3", iniFile);
    return settings;
}

BaseChooser setUpActiveBase(Settings& settings)
{
    if (!settings.base3.empty() && settings.base2.empty())
        settings.base2 = settings.base3;
    return chooserFor(settings);
}

BaseChooser chooserAfterBasesCommand(const Settings& settings)
{
    return chooserFor(settings);
}

std::optional<std::string> baseForChooserIndex(const Settings& settings, int index)
{
    switch (index) {
    case 0:
        return settings.base1;
    case 1:
        return settings.base2;
    case 2:
        return settings.base3;
    default:
        return std::nullopt;
    }
}

} // namespace parvane::scan
