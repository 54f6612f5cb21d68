#include "core/scan/RunCommand.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;

ScanOptions options(bool proximity, bool daily, bool weekly, bool crossing, double maxGap = 1)
{
    ScanOptions result;
    result.proximity = proximity;
    result.daily = daily;
    result.weekly = weekly;
    result.crossing = crossing;
    result.maxGap = maxGap;
    return result;
}

TEST(RunCommand, BaseCheckNeedsTheBaseFolder)
{
    test::TempDir dir;
    const fs::path base = dir.path() / "base";
    const std::string root = dir.path().string();

    const auto refusal = checkBaseFolder(root, base);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->title, "Parvane - Erreur Chemin(s)");
    EXPECT_EQ(refusal->text, "Repertoire base: " + root + " Incorrect.\n"
                                 + "Veuillez modifier le chemin de votre (vos) base(s)");

    test::writeFile(base, "a file, not a folder");
    EXPECT_TRUE(checkBaseFolder(root, base));
    fs::remove(base);
    fs::create_directory(base);
    EXPECT_FALSE(checkBaseFolder(root, base));
    // An empty active base never passes, whatever the current folder holds.
    EXPECT_EQ(checkBaseFolder("", base)->text,
              "Repertoire base:  Incorrect.\nVeuillez modifier le chemin de votre (vos) base(s)");
}

TEST(RunCommand, ProximityNeedsAPositivePercentageWhateverCrossingSays)
{
    for (const double gap : {0.0, -1.0}) {
        for (const bool crossing : {false, true}) {
            const auto refusal = checkThresholds(options(true, true, false, crossing, gap));
            ASSERT_TRUE(refusal);
            EXPECT_EQ(refusal->title, "Parvane");
            EXPECT_EQ(refusal->text, "ECART COURS/DROITES NON VALIDE");
        }
    }
    // Without proximity the percentage is not looked at.
    EXPECT_FALSE(checkThresholds(options(false, false, false, true, 0)));
}

TEST(RunCommand, VolumeFilterOfCrossingsNeedsAPositiveThreshold)
{
    ScanOptions checked = options(false, false, false, true, 0);
    checked.volumeFilter = true;
    checked.volumeThreshold = 0;
    const auto refusal = checkThresholds(checked);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->title, "Parvane");
    EXPECT_EQ(refusal->text, "ECART DETECTION CROISEMENT\nAVEC VOLUME NON VALIDE");

    checked.volumeThreshold = 0.5;
    EXPECT_FALSE(checkThresholds(checked));
    // The filter belongs to crossings: without them its threshold is not looked at.
    checked.crossing = false;
    checked.volumeThreshold = 0;
    EXPECT_FALSE(checkThresholds(checked));
    // The percentage is checked first.
    checked = options(true, true, false, true, 0);
    checked.volumeFilter = true;
    EXPECT_EQ(checkThresholds(checked)->text, "ECART COURS/DROITES NON VALIDE");
}

TEST(RunCommand, RunConditionNeedsCrossingsOrProximityWithAUnit)
{
    // proximity, daily, weekly, crossing, max gap: runCondition, proximityWithoutUnit
    const struct
    {
        bool p, d, w, c;
        double gap;
        bool runs, withoutUnit;
    } cases[] = {
        {false, false, false, true, 0, true, false}, {true, true, false, false, 1, true, false},
        {true, false, true, false, 1, true, false},  {true, false, false, false, 1, false, true},
        {false, true, true, false, 1, false, false}, {true, true, true, false, 0, false, false},
        {true, false, false, true, 1, true, true},   {true, false, true, true, 1, true, false},
    };

    for (const auto& c : cases) {
        EXPECT_EQ(runCondition(options(c.p, c.d, c.w, c.c, c.gap)), c.runs) << c.p << c.d << c.w << c.c;
        EXPECT_EQ(proximityWithoutUnit(options(c.p, c.d, c.w, c.c, c.gap)), c.withoutUnit)
            << c.p << c.d << c.w;
    }
}

TEST(RunCommand, StatusTextShowsTheCountWithItsSignPlace)
{
    EXPECT_EQ(finStatusText(0), "FIN: 0 erreur(s)");
    EXPECT_EQ(finStatusText(2), "FIN: 2 erreur(s)\nvoir errorlog.txt");
    EXPECT_EQ(finStatusText(40000), "FIN: 40000 erreur(s)\nvoir errorlog.txt");
    EXPECT_EQ(finStatusTooltip(0), "nothing to declare");
    EXPECT_EQ(finStatusTooltip(2), "Double-Cliquez pour voir le fichier log");
}

} // namespace
} // namespace parvane::scan
