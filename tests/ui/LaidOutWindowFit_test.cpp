#include "support/FakeDesktop.h"
#include "support/FakeDialogs.h"
#include "support/LayoutChecks.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/LaidOutWindowFit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <string>
#include <utility>

using namespace cubwave;
using namespace cubwave::test;
using ::testing::IsEmpty;

namespace {

std::string text(QRect r) { return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString(); }

// A font's height in pixels: what the layout depends on, whatever dots an inch the display reports.
double pixels(const QWidget* w) { return w->font().pointSizeF() * w->logicalDpiY() / 72.0; }
constexpr double kPixelsPerPoint = 96.0 / 72.0;

double ruleFactor(QSize screen) { return std::min(screen.width() / 640.0, screen.height() / 480.0); }

// A settings window as Qt's layouts arrange it: rows of a caption, a field and a button.
struct GridWindow {
    explicit GridWindow(int rows, int columns = 1)
    {
        auto* grid = new QGridLayout(&window);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                grid->addWidget(new QLabel(QStringLiteral("Setting number %1:").arg(r * columns + c), &window), r, 3 * c);
                grid->addWidget(new QLineEdit(&window), r, 3 * c + 1);
                grid->addWidget(new QPushButton(QStringLiteral("Browse..."), &window), r, 3 * c + 2);
            }
        }
    }
    QDialog window;
};

}  // namespace

TEST(LaidOutWindowFit, FontsByTheSmallerRatioSizesByBothInsideTheWorkArea)
{
    for (const QSize screen : kScreenSizes) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        FakeDesktop desktop(screen);
        GridWindow w(8);
        ASSERT_TRUE(LaidOutWindowFit::fit(&w.window, {400, 300}, desktop));
        EXPECT_NEAR(pixels(&w.window), 8 * ruleFactor(screen) * kPixelsPerPoint, 1e-9);
        // Every control inherits the window's font.
        EXPECT_EQ(w.window.findChild<QPushButton*>()->font().pointSizeF(), w.window.font().pointSizeF());
        EXPECT_EQ(w.window.size(), QSize(qRound(400 * screen.width() / 640.0), qRound(300 * screen.height() / 480.0)));
        EXPECT_TRUE(desktop.area.workArea.contains(w.window.frameGeometry()));
        // Centred across, raised above the middle as the design-grid dialogs are.
        EXPECT_NEAR(w.window.x() + w.window.width() / 2.0, screen.width() / 2.0, 5);
        EXPECT_LT(w.window.y(), (screen.height() - w.window.height()) / 2);
        w.window.show();
        EXPECT_THAT(layoutFaults(&w.window), IsEmpty());
    }
}

TEST(LaidOutWindowFit, ALayoutTooLargeForTheWorkAreaGetsTheLargestFontThatFits)
{
    // Rows of two settings: more than the design holds at the rule's font, not more than the
    // work area holds at a smaller one.
    for (const auto& [screen, rows] : {std::pair(QSize(1024, 768), 23), std::pair(QSize(3840, 2160), 40)}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        FakeDesktop desktop(screen);
        GridWindow w(rows, 2);
        ASSERT_TRUE(LaidOutWindowFit::fit(&w.window, {600, 440}, desktop));
        EXPECT_LT(pixels(&w.window), 8 * ruleFactor(screen) * kPixelsPerPoint);
        w.window.show();
        EXPECT_TRUE(desktop.area.workArea.contains(w.window.frameGeometry())) << text(w.window.frameGeometry());
        EXPECT_THAT(layoutFaults(&w.window), IsEmpty());
        // The largest that fits: a little larger would not.
        QFont larger = w.window.font();
        larger.setPointSizeF(larger.pointSizeF() * 1.1);
        w.window.setFont(larger);
        w.window.layout()->activate();
        const QSize needed = w.window.layout()->totalMinimumSize();
        EXPECT_TRUE(needed.width() > desktop.area.workArea.width() || needed.height() > desktop.area.workArea.height());
    }
}

TEST(LaidOutWindowFit, AMonitorOfNoSizeIsReportedAndTheWindowKeepsItsSize)
{
    FakeDialogs dialogs;
    FakeDesktop desktop;
    desktop.area = {};  // a headless or disconnected display
    DesignLayout::useDesktop(&desktop, &dialogs);
    GridWindow w(3);
    w.window.resize(500, 200);
    const double points = w.window.font().pointSizeF();
    EXPECT_FALSE(LaidOutWindowFit::fit(&w.window, {400, 300}));
    DesignLayout::useDesktop(nullptr);
    EXPECT_EQ(w.window.size(), QSize(500, 200));
    EXPECT_EQ(w.window.font().pointSizeF(), points);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Form Resize Error");
    EXPECT_FALSE(dialogs.messages[0].text.isEmpty());
}
