#include "support/FakeDesktop.h"
#include "support/FakeDialogs.h"
#include "ui/common/DesignLayout.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>

#include <memory>

using namespace cubwave;
using namespace cubwave::test;

namespace {

// A font's height in pixels: what the layout depends on, whatever dots an inch the display reports.
double pixels(const QWidget* w) { return w->font().pointSizeF() * w->logicalDpiY() / 72.0; }
constexpr double kPixelsPerPoint = 96.0 / 72.0;

// A small dialog designed on the 640 x 480 grid: two labels and a line.
struct DesignedDialog {
    explicit DesignedDialog(QSize design) : layout(design)
    {
        top = new QLabel(QStringLiteral("Top"), &dialog);
        bottom = new QLabel(QStringLiteral("Bottom"), &dialog);
        line = new QLabel(&dialog);
        layout.place(top, {10, 7, 103, 17}, 8);
        layout.place(bottom, {10, design.height() - 30, 97, 23}, 10);
        layout.placeLine(line, {0, design.height() - 3, design.width(), 1});
    }
    QDialog dialog;
    DesignLayout layout;
    QLabel* top;
    QLabel* bottom;
    QLabel* line;
};

}  // namespace

TEST(DesignLayout, PressedAndReleasedAnyNumberOfTimesLandsOnTheSamePixels)
{
    // Odd sizes, where 0.9 and back again rounds differently from the design.
    for (const QSize area : {QSize(1366, 745), QSize(1021, 713), QSize(3840, 2137), QSize(1279, 997)}) {
        DesignedDialog d({640, 480});
        d.layout.apply(area);
        const QRect top = d.top->geometry();
        const QRect bottom = d.bottom->geometry();
        const QRect line = d.line->geometry();
        int lowest = 0;
        for (int i = 0; i < 40; ++i) {
            lowest = d.layout.applyPressed(area, 0.9);
            d.layout.apply(area);
        }
        EXPECT_EQ(d.top->geometry(), top);
        EXPECT_EQ(d.bottom->geometry(), bottom);
        EXPECT_EQ(d.line->geometry(), line);
        // Pressed: the lowest control's bottom, lines not counted, about 90 % down.
        d.layout.applyPressed(area, 0.9);
        EXPECT_EQ(lowest, d.bottom->geometry().bottom() + 1);
        EXPECT_NEAR(lowest, 0.9 * 473 * area.height() / 480.0, 2.0);
        EXPECT_EQ(d.bottom->x(), bottom.x());
        // Fonts follow the window, not the press.
        EXPECT_NEAR(pixels(d.bottom), 10 * kPixelsPerPoint * std::min(area.width() / 640.0, area.height() / 480.0),
                    1e-9);
    }
}

TEST(DesignLayout, DialogsAreStretchedByTheScreenAndKeptInsideTheWorkArea)
{
    FakeDesktop desktop({1024, 768}, 0);
    {
        DesignedDialog d({300, 200});
        d.layout.scaleDialogToScreen(&d.dialog, desktop);
        EXPECT_EQ(d.dialog.frameGeometry(), QRect(272, 213, 480, 320));
        EXPECT_EQ(d.top->geometry(), QRect(16, 11, 165, 27));
        EXPECT_NEAR(pixels(d.top), 8 * 1.6 * kPixelsPerPoint, 1e-9);
        EXPECT_NEAR(pixels(d.bottom), 10 * 1.6 * kPixelsPerPoint, 1e-9);
    }
    // A dialog as large as the design screen, on a screen with a panel at the top.
    desktop.area.workArea = QRect(0, 30, 1024, 738);
    DesignedDialog full({640, 480});
    full.layout.scaleDialogToScreen(&full.dialog, desktop);
    EXPECT_EQ(full.dialog.frameGeometry(), QRect(0, 30, 1024, 738));
    EXPECT_EQ(full.bottom->geometry().bottom() + 1, qRound(473 * 738 / 480.0));
}

TEST(DesignLayout, TheProgramsDesktopFitsEveryDialog)
{
    FakeDesktop desktop({1920, 1080});
    DesignLayout::useDesktop(&desktop);
    DesignedDialog d({400, 300});
    d.layout.scaleDialogToScreen(&d.dialog);
    DesignLayout::useDesktop(nullptr);
    EXPECT_EQ(d.dialog.size(), QSize(1200, 675));
    EXPECT_TRUE(desktop.area.workArea.contains(d.dialog.frameGeometry()));
}

TEST(DesignLayout, ScaleToTakesTheGivenSurfacesFontFactorAndName)
{
    FakeDesktop desktop({1280, 1024}, 0);
    DesignedDialog d({320, 240});
    d.layout.scaleTo(&d.dialog, {1280, 1024}, {640, 480}, false, 1.0, QStringLiteral("Arial"), desktop);
    EXPECT_EQ(d.dialog.size(), QSize(640, 512));
    EXPECT_EQ(d.top->font().family(), "Arial");
    EXPECT_NEAR(pixels(d.top), 8 * 2.0 * kPixelsPerPoint, 1e-9);
    // Full screen: the window takes the new size itself; fonts also by the factor, once.
    d.layout.scaleTo(&d.dialog, {1280, 1024}, {640, 480}, true, 0.5, QString(), desktop);
    EXPECT_EQ(d.dialog.frameGeometry(), QRect(0, 0, 1280, 1024));
    EXPECT_NEAR(pixels(d.top), 8 * 4.0 * 0.5 * kPixelsPerPoint, 1e-9);
    d.layout.scaleTo(&d.dialog, {1280, 1024}, {640, 480}, true, 0.5, QString(), desktop);
    EXPECT_NEAR(pixels(d.top), 8 * 4.0 * 0.5 * kPixelsPerPoint, 1e-9);
}

TEST(DesignLayout, AMonitorOfNoSizeIsReportedAndTheDialogKeepsItsSize)
{
    FakeDialogs dialogs;
    FakeDesktop desktop;
    DesignLayout::useDesktop(&desktop, &dialogs);
    struct Case {
        const char* what;
        DesktopArea area;
        QRect keptIn;  // where the dialog ends up: its own place, or inside the known work area
    };
    const Case cases[] = {
        {"no monitor", {}, QRect(700, 600, 400, 300)},
        {"a monitor of no size", {QRect(0, 0, 0, 0), QRect(0, 0, 0, 0)}, QRect(700, 600, 400, 300)},
        {"only the work area known", {QRect(), QRect(0, 0, 1024, 736)}, QRect(624, 436, 400, 300)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.messages.clear();
        desktop.area = c.area;
        DesignedDialog d({300, 200});
        d.dialog.setGeometry(700, 600, 400, 300);
        EXPECT_FALSE(d.layout.scaleDialogToScreen(&d.dialog));
        EXPECT_FALSE(d.layout.scaleTo(&d.dialog, {1280, 1024}, {640, 480}, false, 1.0, QString(), desktop));
        EXPECT_EQ(d.dialog.geometry(), c.keptIn);
        // The controls still fill the dialog it has.
        EXPECT_EQ(d.line->width(), 400);
        ASSERT_EQ(dialogs.messages.size(), 2u);
        EXPECT_EQ(dialogs.messages[0].title, "Form Resize Error");
    }
    DesignLayout::useDesktop(nullptr);
}
