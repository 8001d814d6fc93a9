#include "support/FakeDesktop.h"
#include "ui/common/WorkAreaGuard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMenu>

using namespace cubwave;
using namespace cubwave::test;

TEST(WorkAreaGuard, ShownWindowsAreMovedAndShrunkIntoTheWorkArea)
{
    FakeDesktop desktop({1024, 768});  // work area 1024 x 736
    WorkAreaGuard guard(desktop);
    qApp->installEventFilter(&guard);

    QDialog tooLarge;  // a fixed-layout window larger than the screen
    tooLarge.setGeometry(-20, 100, 1300, 900);
    tooLarge.show();
    EXPECT_EQ(tooLarge.frameGeometry(), QRect(0, 0, 1024, 736));

    QDialog offside;  // above and right of the work area: moved in whole, frame included
    offside.setGeometry(900, -40, 300, 200);
    offside.show();
    const QRect frame = offside.frameGeometry();
    EXPECT_EQ(frame.topLeft(), QPoint(1024 - frame.width(), 0));
    EXPECT_EQ(offside.size(), QSize(300, 200));

    QDialog inside;
    inside.setGeometry(100, 100, 300, 200);
    inside.show();
    EXPECT_EQ(inside.geometry(), QRect(100, 100, 300, 200));

    QDialog placesItself;  // as the main window, which may cover the panel: left as it is
    placesItself.setProperty(WorkAreaGuard::kPlacesItself, true);
    placesItself.setGeometry(-20, 100, 1300, 900);
    placesItself.show();
    EXPECT_EQ(placesItself.geometry(), QRect(-20, 100, 1300, 900));

    qApp->removeEventFilter(&guard);
    QDialog unguarded;
    unguarded.setGeometry(-20, 100, 1300, 900);
    unguarded.show();
    EXPECT_EQ(unguarded.geometry(), QRect(-20, 100, 1300, 900));
}
