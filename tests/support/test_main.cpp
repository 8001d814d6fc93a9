#include <gtest/gtest.h>

#include <QApplication>

// Test discovery runs this binary without a display, so the offscreen platform is forced here.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
