#include <gtest/gtest.h>

#include <QApplication>

// Qt and fontconfig keep caches until the process ends; leak reports of them say nothing about
// this code. An ASAN_OPTIONS in the environment still takes precedence.
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}

// The printing classes need a QApplication (fonts, printers, widgets). The test list is also read
// while building, where no display may exist, hence the offscreen platform by default.
int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
