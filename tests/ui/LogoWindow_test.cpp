// The start-up logo: which picture it shows, when its second picture appears and when it closes,
// all on timers the test fires by hand.
#include "support/FakeClock.h"
#include "support/FakeOneShotTimer.h"
#include "ui/appearance/LogoWindow.h"
#include "ui/appearance/SplashPicture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace cubwave;
using namespace cubwave::test;

namespace {

constexpr QRgb kSplashColour = qRgb(200, 30, 40);

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void writeSplash(const QString& path, QSize size, const char* format = "JPG")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kSplashColour);
    ASSERT_TRUE(image.save(path, format));
}

class LogoWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::unique_ptr<LogoWindow> open()
    {
        auto logo = std::make_unique<LogoWindow>(dir.path(), closeTimer, badgeTimer);
        logo->show();
        return logo;
    }
    QLabel* image(LogoWindow& logo, const char* name) { return logo.findChild<QLabel*>(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    FakeClock clock;
    FakeOneShotTimer closeTimer;
    FakeOneShotTimer badgeTimer;
};

TEST_F(LogoWindowTest, DesignedPictureShowsItsSecondPictureAt1100msAndClosesAt1900ms)
{
    auto logo = open();
    EXPECT_EQ(logo->objectName(), "frmBrantelLogo");
    EXPECT_FALSE(logo->showsSplash());
    QLabel* image1 = image(*logo, "Image1");
    QLabel* image2 = image(*logo, "Image2");
    ASSERT_NE(image1, nullptr);
    ASSERT_NE(image2, nullptr);
    EXPECT_FALSE(image1->pixmap().isNull());
    EXPECT_FALSE(image2->isVisible());
    EXPECT_EQ(badgeTimer.intervalMs, 1100);
    EXPECT_EQ(closeTimer.intervalMs, 1900);

    badgeTimer.fire(clock);
    EXPECT_TRUE(image2->isVisible());
    EXPECT_FALSE(image2->pixmap().isNull());
    EXPECT_TRUE(logo->isVisible());

    closeTimer.fire(clock);
    EXPECT_FALSE(logo->isVisible());
    EXPECT_EQ(logo->result(), QDialog::Accepted);
}

TEST_F(LogoWindowTest, OperatorsSplashPictureShowsScaledToThePictureAndClosesAt2700ms)
{
    writeSplash(QDir(dir.path()).filePath("splash.jpg"), {1600, 1200});
    auto logo = open();
    ASSERT_TRUE(logo->showsSplash());
    QLabel* image1 = image(*logo, "Image1");
    const QPixmap shown = image1->pixmap();
    ASSERT_FALSE(shown.isNull());
    // Read to fit the control, proportions kept, never at the file's own size.
    const QSize logical = shown.deviceIndependentSize().toSize();
    EXPECT_LE(logical.width(), image1->width());
    EXPECT_LE(logical.height(), image1->height());
    EXPECT_TRUE(logical.width() == image1->width() || logical.height() == image1->height()) << logical.width();
    EXPECT_NEAR(double(logical.width()) / logical.height(), 4.0 / 3.0, 0.02);
    const QColor centre = shown.toImage().pixelColor(shown.width() / 2, shown.height() / 2);
    EXPECT_NEAR(centre.red(), 200, 8);
    EXPECT_NEAR(centre.green(), 30, 8);

    EXPECT_EQ(closeTimer.intervalMs, 2700);
    EXPECT_FALSE(badgeTimer.isActive());
    closeTimer.fire(clock);
    EXPECT_FALSE(logo->isVisible());
    EXPECT_FALSE(image(*logo, "Image2")->isVisible());
}

// Whatever is wrong with the file, start-up goes on with the designed picture.
TEST_F(LogoWindowTest, AnUnreadableSplashCountsAsAbsent)
{
    const QString path = QDir(dir.path()).filePath("splash.jpg");
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"empty file", [&] { writeBytes(path, {}); }},
        {"not a picture", [&] { writeBytes(path, "this is no picture at all\n"); }},
        {"cut off after its header", [&] {
             writeSplash(path, {800, 600});
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             ASSERT_TRUE(f.resize(200));
         }},
        {"a folder", [&] { ASSERT_TRUE(QDir(dir.path()).mkdir("splash.jpg")); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        QFile::remove(path);
        QDir(dir.path()).rmdir("splash.jpg");
        make();
        auto logo = open();
        EXPECT_FALSE(logo->showsSplash());
        EXPECT_FALSE(image(*logo, "Image1")->pixmap().isNull());
        EXPECT_EQ(closeTimer.intervalMs, 1900);
        EXPECT_TRUE(badgeTimer.isActive());
        closeTimer.fire(clock);
        EXPECT_FALSE(logo->isVisible());
    }
}

TEST_F(LogoWindowTest, AClickOnThePictureClosesAtOnceAndStopsBothTimers)
{
    auto logo = open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(logo.get()));
    QTest::mouseClick(image(*logo, "Image1"), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(logo->isVisible());
    EXPECT_EQ(logo->result(), QDialog::Accepted);
    // A timer left running would call into a window that start-up has already destroyed.
    EXPECT_FALSE(closeTimer.isActive());
    EXPECT_FALSE(badgeTimer.isActive());
}

// The modal loop the program runs ends when the close timer fires (a splash-screen window type
// would hide but leave the loop running, and start-up with it).
TEST_F(LogoWindowTest, StartUpWaitsInTheLogoUntilItCloses)
{
    LogoWindow logo(dir.path(), closeTimer, badgeTimer);
    bool fired = false;
    QTimer::singleShot(0, [&] {
        fired = closeTimer.isActive();
        closeTimer.fire(clock);
    });
    EXPECT_EQ(logo.exec(), QDialog::Accepted);
    EXPECT_TRUE(fired);
}

TEST_F(LogoWindowTest, SitsCentredOnTheScreen)
{
    auto logo = open();
    const QRect screen = logo->screen()->geometry();
    const QRect frame = logo->frameGeometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_NEAR(frame.center().x(), screen.center().x(), 2);
    // Raised by 170 twips (11 pixels) from the middle.
    EXPECT_NEAR(frame.center().y(), screen.center().y() - 11, 2);
}

// A picture is capped by its pixel count before it is decoded; the cap is a limit on the file's
// own size, whatever the size it would be shown at.
TEST(SplashPicture, ReadsUpToTheSizeCapAndRefusesAbove)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("splash.jpg");
    writeSplash(path, {400, 300});
    EXPECT_TRUE(SplashPicture::read(path, {200, 200}, 400 * 300).has_value());
    EXPECT_FALSE(SplashPicture::read(path, {200, 200}, 400 * 300 - 1).has_value());
    const std::optional<QImage> fitted = SplashPicture::read(path, {200, 200});
    ASSERT_TRUE(fitted.has_value());
    EXPECT_EQ(fitted->size(), QSize(200, 150));

    // 56 megapixels, but small on disk: a one-bit picture of one colour.
    const QString huge = QDir(dir.path()).filePath("huge.png");
    QImage mono(8000, 7000, QImage::Format_Mono);
    mono.fill(0);
    ASSERT_TRUE(mono.save(huge, "PNG"));
    EXPECT_LT(QFileInfo(huge).size(), 2 * 1024 * 1024);
    EXPECT_FALSE(SplashPicture::read(huge, {400, 300}).has_value());

    // A PNG under a .jpg name still reads: the bytes decide.
    writeSplash(path, {40, 30}, "PNG");
    EXPECT_TRUE(SplashPicture::read(path, {40, 30}).has_value());
    EXPECT_FALSE(SplashPicture::read(QDir(dir.path()).filePath("missing.jpg"), {40, 30}).has_value());
}

}  // namespace
