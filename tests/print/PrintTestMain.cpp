#include <gtest/gtest.h>

#include <QApplication>

// Qt and fontconfig keep caches until the process ends; leak reports of them say nothing here.
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}

// The printing classes need a QApplication; the offscreen platform serves where no display exists.
int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
