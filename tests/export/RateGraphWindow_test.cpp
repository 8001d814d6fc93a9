#include "ui/export/RateGraphWindow.h"
#include "ExportFixtures.h"
#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cmath>

namespace cubwave::test {
namespace {

QsoRecord at(qint64 seconds, const QString& band)
{
    const QDateTime t = QDateTime(QDate(2012, 6, 9), QTime(12, 0, 0), Qt::UTC).addSecs(seconds);
    Contact c;
    c.date = t.toString(QStringLiteral("yyyy/MM/dd"));
    c.time = t.toString(QStringLiteral("hh:mm:ss"));
    c.band = band;
    return c.record();
}

// Three hours: a busy first hour on 20 m, a quiet one on 40 m, a busy last one on 15 m.
std::vector<QsoRecord> contestLog()
{
    std::vector<QsoRecord> log;
    for (int i = 0; i < 60; ++i)
        log.push_back(at(i * 60, QStringLiteral("20")));
    for (int i = 0; i < 12; ++i)
        log.push_back(at(3600 + i * 300, QStringLiteral("40")));
    for (int i = 0; i < 90; ++i)
        log.push_back(at(7200 + i * 40, QStringLiteral("15")));
    return log;
}

QRgb rgbOf(quint32 colour) { return 0xFF000000u | colour; }

QImage render(RateGraphWindow& w)
{
    QImage image(w.size(), QImage::Format_RGB32);
    w.render(&image);
    return image;
}

// True when a pixel within one of (x, y) has the colour: a line's end may round either way.
bool near(const QImage& image, double x, double y, QRgb colour)
{
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const QPoint p(static_cast<int>(std::lround(x)) + dx, static_cast<int>(std::lround(y)) + dy);
            if (image.rect().contains(p) && image.pixel(p) == colour)
                return true;
        }
    }
    return false;
}

class RateGraphWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<RateGraphWindow> open(const std::vector<QsoRecord>& records)
    {
        log = records;
        auto w = std::make_unique<RateGraphWindow>(log, dialogs);
        w->resize(1600, 1000);
        return w;
    }

    // Checks the strip colour and the curve at positions spread over the plot.
    void checkPixels(RateGraphWindow& w)
    {
        const QImage image = render(w);
        const RateSeries& s = w.series();
        const RateGeometry g = w.geometry();
        EXPECT_EQ(image.pixel(3, 3), rgbOf(w.backgroundColour()));
        int stripChecked = 0;
        int curveChecked = 0;
        for (int i = 20; i <= 1480; i += 37) {
            if (s.drawnRate[i] > 0 && s.stripColour[i - 2] == s.stripColour[i] && s.stripColour[i + 2] == s.stripColour[i]) {
                const double x = (g.x(i - 1) + g.x(i)) / 2;
                const double y = (g.stripTopY + g.stripBottomY) / 2;
                EXPECT_EQ(image.pixel(static_cast<int>(x), static_cast<int>(y)), rgbOf(s.stripColour[i])) << i;
                ++stripChecked;
            }
            EXPECT_TRUE(near(image, g.x(i), g.y(s.drawnRate[i], s), rgbOf(0x0000FF))) << "curve at position " << i;
            ++curveChecked;
        }
        EXPECT_GT(stripChecked, 20);
        EXPECT_GT(curveChecked, 30);
    }

    std::vector<QsoRecord> log;
    FakeDialogs dialogs;
};

TEST_F(RateGraphWindowTest, SixContactsShowTheMessageAndDrawNothingSevenDraw)
{
    std::vector<QsoRecord> six;
    for (int i = 0; i < 6; ++i)
        six.push_back(at(i * 60, QStringLiteral("20")));
    auto w = open(six);
    EXPECT_EQ(w->objectName(), QStringLiteral("GraphQSO"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Not Enough Contacts to Graph."));
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("The graph will not display with less than 7 contacts.  The graph becomes more meaningful "
                             "as several hours of contest logging are accumulated."));
    EXPECT_FALSE(w->graphDrawn());
    const QImage empty = render(*w);
    const RateGeometry g = w->geometry();
    EXPECT_FALSE(near(empty, g.x(750), (g.stripTopY + g.stripBottomY) / 2, rgbOf(0x00FF00)));

    six.push_back(at(400, QStringLiteral("20")));
    dialogs.messages.clear();
    auto seven = open(six);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(seven->graphDrawn());
}

TEST_F(RateGraphWindowTest, PaintsStripAndCurveOnBothBackgrounds)
{
    auto w = open(contestLog());
    ASSERT_TRUE(w->graphDrawn());
    EXPECT_TRUE(w->blackBackground());
    auto* button = w->findChild<QPushButton*>(QStringLiteral("Command1"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Black Background"));
    checkPixels(*w);

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(button->text(), QStringLiteral("White Background"));
    EXPECT_FALSE(w->blackBackground());
    checkPixels(*w);
    auto* label = w->findChild<QLabel*>(QStringLiteral("lblY_16"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(button->text(), QStringLiteral("Black Background"));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
}

TEST_F(RateGraphWindowTest, LabelsShowTheSeries)
{
    auto w = open(contestLog());
    const RateSeries& s = w->series();
    for (int k = 0; k < RateSeries::kValueLabels; ++k)
        EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblY_%1").arg(k))->text(), s.valueLabels[k]);
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblTime_0"))->text(), QStringLiteral("12:00"));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblDate_14"))->text(), QStringLiteral("06/09"));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblTime_14"))->text(), s.timeLabels[14]);
    EXPECT_FALSE(w->findChild<QLabel*>(QStringLiteral("lblBnd_0"))->isVisibleTo(w.get()));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblBnd_6"))->text(), QStringLiteral("Other"));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblBnd_6"))->palette().color(QPalette::WindowText),
              QColor(255, 255, 0));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Band "));
}

TEST_F(RateGraphWindowTest, ASteadyLogDrawsItsCurveAlongTheBottom)
{
    std::vector<QsoRecord> steady;
    for (int i = 0; i < 200; ++i)
        steady.push_back(at(i * 12 * 60, QStringLiteral("80")));
    auto w = open(steady);
    ASSERT_TRUE(w->series().flat());
    const QImage image = render(*w);
    const RateGeometry g = w->geometry();
    const double bottom = g.bottomY - (g.bottomY - g.topY) * 0.0025;
    for (int i = 10; i <= 1490; i += 120)
        EXPECT_TRUE(near(image, g.x(i), bottom, rgbOf(0x0000FF))) << i;
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblY_8"))->text(), QStringLiteral("6.0"));
}

}  // namespace
}  // namespace cubwave::test
