#include <gtest/gtest.h>

#include <QApplication>

// Test discovery runs this binary without a display, so the offscreen platform is forced here;
// one already chosen with options of its own (a screen configuration file) is kept.
int main(int argc, char** argv)
{
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
