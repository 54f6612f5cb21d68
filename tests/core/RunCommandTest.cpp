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

TEST(RunCommand, ThresholdsAndTheRunCondition)
{
    // proximity, daily, weekly, crossing, max gap, volume filter, its threshold; the refusal
    // ("" for none), runCondition, proximityWithoutUnit
    const std::string gap = "ECART COURS/DROITES NON VALIDE";
    const std::string volume = "ECART DETECTION CROISEMENT\nAVEC VOLUME NON VALIDE";

    const struct
    {
        bool p, d, w, c;
        double gap;
        bool filter;
        double threshold;
        std::string refusal;
        bool runs, withoutUnit;
    } cases[] = {
        {true, true, false, false, 0, false, 0, gap, false, false},
        {true, true, false, true, -1, false, 0, gap, true, false},
        {true, true, false, true, 0, true, 0, gap, true, false},
        {false, false, false, true, 0, false, 0, "", true, false},
        {false, false, false, true, 0, true, 0, volume, true, false},
        {false, false, false, true, 0, true, 0.5, "", true, false},
        {false, false, false, false, 0, true, 0, "", false, false},
        {true, true, false, false, 1, false, 0, "", true, false},
        {true, false, true, false, 1, false, 0, "", true, false},
        {true, false, false, false, 1, false, 0, "", false, true},
        {false, true, true, false, 1, false, 0, "", false, false},
        {true, false, false, true, 1, false, 0, "", true, true},
        {true, false, true, true, 1, false, 0, "", true, false},
    };

    for (const auto& c : cases) {
        ScanOptions checked = options(c.p, c.d, c.w, c.c, c.gap);
        checked.volumeFilter = c.filter;
        checked.volumeThreshold = c.threshold;
        const auto refusal = checkThresholds(checked);
        EXPECT_EQ(refusal ? refusal->title + "|" + refusal->text : "",
                  c.refusal.empty() ? "" : "Parvane|" + c.refusal)
            << c.p << c.d << c.w << c.c << " " << c.gap << " " << c.filter << " " << c.threshold;
        EXPECT_EQ(runCondition(checked), c.runs) << c.p << c.d << c.w << c.c << " " << c.gap;
        EXPECT_EQ(proximityWithoutUnit(checked), c.withoutUnit) << c.p << c.d << c.w << c.c;
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
