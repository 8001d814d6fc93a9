// The privileges window drawn from band plan files: labels found by name, their places, colours
// and fonts, a class switch, and files it cannot use.
#include "bandplan/BandPlanFile.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"
#include "ui/bandplan/PrivilegesWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;

namespace {

const QString kShipped = QStringLiteral(CUBWAVE_SOURCE_DIR "/data");

int countNamed(const QWidget& window, const QString& prefix)
{
    int n = 0;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->objectName().startsWith(prefix))
            ++n;
    }
    return n;
}

QColor background(const QLabel* label) { return label->palette().color(QPalette::Window); }
QColor text(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

TEST(PrivilegesWindow, FillsTheWorkAreaAndDrawsTheExtraClass)
{
    FakeDialogs dialogs;
    PrivilegesWindow window(kShipped, dialogs);
    window.show();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window.objectName(), "frmBandPlan");
    EXPECT_EQ(window.windowTitle(), "Frequency Privileges");
    // The work area's size, its frame at the work area's top left corner.
    EXPECT_EQ(window.pos(), window.screen()->availableGeometry().topLeft());
    EXPECT_EQ(window.size(), window.screen()->availableGeometry().size());

    EXPECT_EQ(window.findChild<QLabel*>("Label1")->text(), "Frequencies Effective: October 2017");
    EXPECT_EQ(window.findChild<QLabel*>("Label2")->text(), "Extra Frequency Privileges");
    EXPECT_EQ(background(window.findChild<QLabel*>("Label3")), QColor(0, 0, 255));
    EXPECT_EQ(background(window.findChild<QLabel*>("Label4")), QColor(0, 255, 0));

    EXPECT_EQ(countNamed(window, "blbl"), 18);
    EXPECT_EQ(countNamed(window, "bnlb"), 18);
    EXPECT_EQ(countNamed(window, "priv"), int(window.drawing().segments.size()));

    const QLabel* bar = window.findChild<QLabel*>("blbl6");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->text(), "40");
    EXPECT_EQ(bar->toolTip(), "40  7.000 - 7.300");
    EXPECT_EQ(bar->geometry(), window.drawing().bars[5].rect.toRect());
    EXPECT_EQ(background(bar), QColor(0, 0, 0));
    EXPECT_EQ(text(bar), QColor(0, 0, 0));
    // Bars start below the guide line and run across most of the window.
    EXPECT_GT(bar->y(), window.findChild<QWidget*>("Line1")->y());
    EXPECT_NEAR(bar->x(), window.width() * 0.1, 1);
    EXPECT_NEAR(bar->width(), window.width() * 0.85, 1);

    const QLabel* tag = window.findChild<QLabel*>("bnlb6");
    EXPECT_EQ(tag->text(), "40");
    EXPECT_EQ(tag->y(), bar->y());
    EXPECT_EQ(background(tag), QColor(255, 255, 0));
    EXPECT_EQ(tag->font().family(), "Liberation Sans");
    EXPECT_TRUE(tag->font().bold());

    // The Extra class's 40 m CW segment: 7.000 to 7.125 on the 7.000 to 7.300 bar.
    const auto cw = std::find_if(window.drawing().segments.begin(), window.drawing().segments.end(),
                                 [](const PrivilegeLabel& s) { return s.toolTip == "CW  7.000 - 7.125"; });
    ASSERT_NE(cw, window.drawing().segments.end());
    const QLabel* segment = window.findChild<QLabel*>(cw->name);
    ASSERT_NE(segment, nullptr);
    EXPECT_EQ(segment->text(), "7.000 - 7.125");
    EXPECT_EQ(segment->x(), bar->x());
    EXPECT_NEAR(segment->width(), bar->width() * 0.125 / 0.3, 1);
    EXPECT_EQ(background(segment), QColor(0, 0, 255));
    EXPECT_EQ(text(segment), QColor(255, 255, 255));
    EXPECT_EQ(segment->font().family(), "Liberation Sans Narrow");
}

TEST(PrivilegesWindow, NarrowSegmentsShowTheirEdgesOnlyWhereTheyFitAndAlwaysAsTooltip)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("BandPlan.txt"), "\"test\"\r\n"
                                            "\"6\",\"O\",\"ALL\",50,54\r\n"
                                            "\"6\",\"E\",\"CW\",50,50.1\r\n"
                                            "\"6\",\"E\",\"PH\",50.1,54\r\n"
                                            "\"60\",\"O\",\"ALL\",5.3306,5.4064\r\n"
                                            "\"60\",\"E\",\"PH\",5.3306,5.3334\r\n"
                                            "\"60\",\"E\",\"PH\",5.3466,5.3494\r\n");
    FakeDialogs dialogs;
    PrivilegesWindow window(dir.path(), dialogs);
    window.show();
    const std::vector<PrivilegeLabel>& segments = window.drawing().segments;
    ASSERT_EQ(segments.size(), 4u);
    const char* const tips[] = {"CW  50.000 - 50.100", "PH  50.100 - 54.000", "PH  5.331 - 5.333", "PH  5.347 - 5.349"};
    for (size_t i = 0; i < segments.size(); ++i) {
        const QLabel* box = window.findChild<QLabel*>(segments[i].name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->toolTip(), tips[i]);
        // Whatever the box shows fits in it whole: the edges on one line, on two, or nothing.
        const QString shown = box->text();
        EXPECT_TRUE(shown == segments[i].caption || shown == segments[i].narrowCaption || shown.isEmpty())
            << shown.toStdString();
        const QRect needed = box->fontMetrics().boundingRect(box->contentsRect(), Qt::AlignCenter, shown);
        EXPECT_LE(needed.width(), box->contentsRect().width()) << tips[i] << " shows " << shown.toStdString();
        EXPECT_LE(needed.height(), box->contentsRect().height()) << tips[i] << " shows " << shown.toStdString();
    }
    // A wide segment keeps its caption on one line.
    EXPECT_EQ(window.findChild<QLabel*>(segments[1].name)->text(), "50.100 - 54.000");
    EXPECT_EQ(segments[0].narrowCaption, "50.000\n50.100");
}

TEST(PrivilegesWindow, ASwitchOfClassRemovesTheOldDrawingFirst)
{
    FakeDialogs dialogs;
    PrivilegesWindow window(kShipped, dialogs);
    QTest::mouseClick(window.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(window.findChild<QLabel*>("Label2")->text(), "Novice Frequency Privileges");
    EXPECT_EQ(countNamed(window, "blbl"), 6);
    EXPECT_EQ(countNamed(window, "bnlb"), 6);
    EXPECT_EQ(countNamed(window, "priv"), 7);
    EXPECT_EQ(window.findChild<QLabel*>("blbl7"), nullptr);
    EXPECT_EQ(window.findChild<QLabel*>("blbl6")->text(), "23cm");

    QTest::mouseClick(window.findChild<QPushButton*>("Command3"), Qt::LeftButton);
    EXPECT_EQ(window.findChild<QLabel*>("Label2")->text(), "Technician Plus Frequency Privileges");
    EXPECT_EQ(countNamed(window, "blbl"), 10);
    QTest::mouseClick(window.findChild<QPushButton*>("Command6"), Qt::LeftButton);
    EXPECT_EQ(countNamed(window, "blbl"), 18);
}

TEST(PrivilegesWindow, DoneHidesTheWindow)
{
    FakeDialogs dialogs;
    PrivilegesWindow window(kShipped, dialogs);
    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>("Command7"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST(PrivilegesWindow, SaysSoWhenTheBandDataCannotBeUsedAndDrawsNothing)
{
    QTemporaryDir missing;
    QTemporaryDir overLong;
    QByteArray records = "\"2026\"\r\n";
    for (int i = 0; i <= BandPlanFile::kMaxRecords; ++i)
        records += "\"40\",\"E\",\"CW\",7,7.125\r\n";
    writeFile(overLong.filePath(BandPlanFile::kFileName), records);
    QTemporaryDir unreadable;
    writeFile(unreadable.filePath(BandPlanFile::kFileName), "\"2026\"\r\n\"40\",\"E\",\"CW\",7,seven\r\n");

    for (const QTemporaryDir* dir : {&missing, &overLong, &unreadable}) {
        FakeDialogs dialogs;
        PrivilegesWindow window(dir->path(), dialogs);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].title, "Band Data Not Available.");
        EXPECT_EQ(dialogs.messages[0].text, "Band data not available.");
        EXPECT_FALSE(window.bandDataLoaded());
        EXPECT_EQ(countNamed(window, "blbl") + countNamed(window, "bnlb") + countNamed(window, "priv"), 0);
        QTest::mouseClick(window.findChild<QPushButton*>("Command4"), Qt::LeftButton);
        EXPECT_EQ(countNamed(window, "blbl"), 0);
    }
}

}  // namespace
