#include "support/FakeDesktop.h"
#include "ui/common/ScreenLayout.h"

#include <gtest/gtest.h>

using namespace cubwave;
using namespace cubwave::test;

namespace {

std::string text(QRect r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

}  // namespace

TEST(ScreenLayout, DialogsStretchByTheScreenRatiosCentredRaised)
{
    // 1024 x 768 is 15 360 x 11 520 twips: every dialog and its fonts by 1.6.
    const FakeDesktop desktop({1024, 768}, 0);
    EXPECT_EQ(ScreenLayout::scaled({300, 200}, ScreenLayout::kDesignScreen, {1024, 768}), QSize(480, 320));
    EXPECT_DOUBLE_EQ(ScreenLayout::fontFactor(ScreenLayout::kDesignScreen, {1024, 768}), 1.6);
    // Centred, 170 twips (11 pixels) above the middle.
    EXPECT_EQ(text(ScreenLayout::dialogFrame({300, 200}, desktop.area)), text({272, 213, 480, 320}));
    // Unequal ratios: each axis by its own, fonts by the smaller.
    EXPECT_EQ(ScreenLayout::scaled({300, 200}, ScreenLayout::kDesignScreen, {1366, 768}), QSize(640, 320));
    EXPECT_DOUBLE_EQ(ScreenLayout::fontFactor(ScreenLayout::kDesignScreen, {1366, 768}), 1.6);
    EXPECT_DOUBLE_EQ(ScreenLayout::fontFactor(ScreenLayout::kDesignScreen, {1280, 1024}), 2.0);
}

TEST(ScreenLayout, EveryDialogLandsInsideTheWorkAreaAtEverySize)
{
    // A dialog as tall as the design screen used to land 11 pixels above the screen, title bar
    // out of reach; one as wide as it past the left edge of a work area that starts at a panel.
    const QSize designs[] = {{640, 480}, {640, 200}, {200, 480}, {400, 300}, {700, 520}, {1, 1}};
    for (const QSize screen : kScreenSizes) {
        for (const QRect work : {QRect(0, 0, screen.width(), screen.height() - 32),   // bottom panel
                                 QRect(0, 28, screen.width(), screen.height() - 28),  // top panel
                                 QRect(48, 0, screen.width() - 48, screen.height())}) {  // left dock
            const DesktopArea area{QRect(QPoint(0, 0), screen), work};
            for (const QSize design : designs) {
                const QRect frame = ScreenLayout::dialogFrame(design, area);
                EXPECT_TRUE(work.contains(frame)) << text(frame) << " in " << text(work);
                const QSize wanted = ScreenLayout::scaled(design, ScreenLayout::kDesignScreen, screen);
                EXPECT_EQ(frame.width(), std::min(wanted.width(), work.width()));
                EXPECT_EQ(frame.height(), std::min(wanted.height(), work.height()));
            }
        }
    }
    // A monitor right of another: the frame stays on its own monitor.
    const DesktopArea second{QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 992)};
    const QRect frame = ScreenLayout::dialogFrame({640, 480}, second);
    EXPECT_EQ(text(frame), text(second.workArea));
}

TEST(ScreenLayout, KeepInsideMovesInAndShrinks)
{
    const QRect work(10, 20, 800, 600);
    const std::pair<QRect, QRect> cases[] = {
        {{100, 100, 200, 100}, {100, 100, 200, 100}},  // already inside: untouched
        {{-50, -30, 200, 100}, {10, 20, 200, 100}},    // above and left
        {{700, 580, 200, 100}, {610, 520, 200, 100}},  // below and right
        {{0, 0, 1000, 900}, {10, 20, 800, 600}},       // larger: the whole work area
        {{300, 50, 1000, 100}, {10, 50, 800, 100}},    // wider only
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(text(ScreenLayout::keepInside(in, work)), text(out)) << text(in);
}

TEST(ScreenLayout, MainWindowFrameFollowsPercentageAndTaskbar)
{
    const DesktopArea area{{0, 0, 1024, 768}, {0, 0, 1024, 736}};
    EXPECT_EQ(text(ScreenLayout::mainWindowFrame(100, false, area)), text(area.screen));
    EXPECT_EQ(text(ScreenLayout::mainWindowFrame(100, true, area)), text(area.workArea));
    // Below 100 the taskbar option has no say: that share of the screen, centred on it.
    EXPECT_EQ(text(ScreenLayout::mainWindowFrame(90, false, area)), text({51, 38, 922, 691}));
    EXPECT_EQ(text(ScreenLayout::mainWindowFrame(90, true, area)), text({51, 38, 922, 691}));
    EXPECT_EQ(text(ScreenLayout::mainWindowFrame(30, false, area)), text({358, 269, 307, 230}));
    // 99 % of the height reaches into the panel: moved up into the work area.
    EXPECT_EQ(text(ScreenLayout::mainWindowFrame(99, false, area)), text({5, 0, 1014, 736}));
    // A stored percentage out of range is the whole screen, never a window shrunk to nothing.
    for (int stored : {0, 29, 101, 255})
        EXPECT_EQ(text(ScreenLayout::mainWindowFrame(stored, false, area)), text(area.screen)) << stored;
}

TEST(ScreenLayout, UsablePercentKeepsTheRangeOnly)
{
    const std::pair<int, int> cases[] = {{0, 100}, {1, 100}, {29, 100}, {30, 30}, {75, 75},
                                         {100, 100}, {101, 100}, {255, 100}, {-4, 100}};
    for (const auto& [stored, used] : cases)
        EXPECT_EQ(ScreenLayout::usablePercent(stored), used) << stored;
}

TEST(ScreenLayout, FormSizeAnswers)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"150", 100}, {"10", 30},    {"90", 90},     {" 95 ", 95}, {"90.5", 91},  {"90.49", 90},
        {"29.5", 30}, {"99.5", 100}, {"-20", 30},    {"1e9", 100}, {"100", 100},  {"30", 30},
        {"abc", {}},  {"", {}},      {"9O", {}},     {"inf", {}},  {"nan", {}},   {"1e999", {}},
        {"90%", {}},  {"9,5", {}},
    };
    for (const auto& [answer, percent] : cases)
        EXPECT_EQ(ScreenLayout::formSizeAnswer(QString::fromLatin1(answer)), percent) << answer;
}

TEST(ScreenLayout, WindowFontFollowsScreenWidthAndPercentage)
{
    EXPECT_DOUBLE_EQ(ScreenLayout::windowFontFactor({1024, 768}, 100), 1.6);
    EXPECT_DOUBLE_EQ(ScreenLayout::windowFontFactor({1024, 768}, 50), 0.8);
    EXPECT_DOUBLE_EQ(ScreenLayout::windowFontFactor({3840, 2160}, 100), 6.0);
    EXPECT_DOUBLE_EQ(ScreenLayout::windowFontFactor({1024, 768}, 0), 1.6);  // stored 0 counts as 100
}

TEST(ScreenLayout, SpotRoomRunsFromTheLowestControlToTheBottom)
{
    EXPECT_EQ(text(ScreenLayout::spotRoom({1000, 700}, 600)), text({10, 600, 970, 100}));
    EXPECT_EQ(text(ScreenLayout::spotRoom({1024, 736}, 736)), text({10, 736, 993, 0}));
    // A bottom past the window leaves an empty room, never a negative height.
    EXPECT_EQ(text(ScreenLayout::spotRoom({1000, 700}, 750)), text({10, 700, 970, 0}));
}
