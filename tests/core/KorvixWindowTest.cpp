#include "core/scan/KorvixWindow.h"

#include <gtest/gtest.h>

#include "core/scan/KorvixExecutable.h"
#include "support/TestFiles.h"

namespace {

using parvane::scan::findKorvixExecutable;
using parvane::scan::isKorvixWindow;

TEST(KorvixWindow, IdleOrShowingAStockAndNeverAnotherProgramsWindow)
{
    struct Case
    {
        const char* caption;
        const char* instance;
        const char* klass;
        bool korvix;
    };

    const Case cases[] = {
        {"Korvix", "korvix.exe", "korvix.exe", true},
        {"Korvix - BASE1 - ALPHA", "korvix.exe", "korvix.exe", true},
        {"Korvix - BASE1 - ALPHA", "Korvix.exe", "Wine", true},
        {"Korvix", "", "", true}, // no class hint: the caption decides
        {"Korvix - notes", "", "", true},
        {"Korvix - notes", "Navigator", "firefox", false},
        {"Korvix 2.0", "nautilus", "org.gnome.Nautilus", false},
        {"Korvix 2.0", "korvix.exe", "korvix.exe", false},
        {"korvix", "korvix.exe", "korvix.exe", false},
        {"Korvix ", "korvix.exe", "korvix.exe", false},
        {"", "korvix.exe", "korvix.exe", false},
        {"Parvane - Commentaires", "parvane", "Parvane", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isKorvixWindow({c.caption, c.instance, c.klass}), c.korvix)
            << c.caption << " / " << c.instance << " / " << c.klass;
}

TEST(KorvixExecutable, FoundWithoutRegardToCaseAndNeverAFolder)
{
    parvane::test::TempDir temp;
    EXPECT_FALSE(findKorvixExecutable(temp.path()));
    EXPECT_FALSE(findKorvixExecutable(temp.path() / "missing"));
    std::filesystem::create_directories(temp.path() / "korvix.EXE");
    EXPECT_FALSE(findKorvixExecutable(temp.path()));
    parvane::test::writeFile(temp.path() / "Korvix.exe", "MZ");
    EXPECT_EQ(findKorvixExecutable(temp.path()), temp.path() / "Korvix.exe");
    parvane::test::writeFile(temp.path() / "korvix.exe", "MZ");
    EXPECT_EQ(findKorvixExecutable(temp.path()), temp.path() / "korvix.exe");
}

} // namespace
