#include <gtest/gtest.h>

#include <QApplication>

// GoogleTest's main for the host tests, with the QApplication the windows need. The platform is
// fixed per program (PARVANE_TEST_QPA): the offscreen one for the tests over the recording desktop,
// xcb for those that run against a real X server.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    qputenv("QT_QPA_PLATFORM", PARVANE_TEST_QPA);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
