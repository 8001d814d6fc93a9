#include "support/FakeDesktop.h"
#include "support/LayoutChecks.h"
#include "support/MainWindowFixture.h"
#include "ui/common/ScreenLayout.h"

#include <QFrame>
#include <QHeaderView>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gmock/gmock.h>

#include <map>
#include <algorithm>

using namespace cubwave;
using namespace cubwave::test;
using ::testing::IsEmpty;

namespace {

// A font's height in pixels: what the layout depends on, whatever dots an inch the display reports.
double pixels(const QWidget* w) { return w->font().pointSizeF() * w->logicalDpiY() / 72.0; }
constexpr double kPixelsPerPoint = 96.0 / 72.0;

class MainWindowLayout : public MainWindowFixture {
protected:
    void startAt(QSize screen, quint8 percent = 100, quint8 taskbar = 0)
    {
        Preferences p = savedPrefs();
        p.windowSizePct = percent;
        p.taskbar = taskbar;
        writePrefs(p);
        fake.setScreen(screen);
        desktop = &fake;
        start();
        settle();
    }

    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(1);
        }
    }

    QWidget* screenWidget() const { return form->centralWidget(); }
    QWidget* bandMap() const { return form->findChild<QWidget*>(QStringLiteral("lblDX")); }
    QWidget* spotList() const { return form->findChild<QWidget*>(QStringLiteral("txtDX")); }
    // The spot display that shows, the band map or the list; none when neither does.
    QWidget* spotDisplay() const
    {
        return bandMap()->isVisible() ? bandMap() : spotList()->isVisible() ? spotList() : nullptr;
    }

    // Every control of the main window with its rectangle, by objectName.
    std::map<QString, QRect> controls() const
    {
        std::map<QString, QRect> out;
        for (QWidget* w : screenWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!w->objectName().isEmpty() && w != bandMap() && w != spotList())
                out[w->objectName()] = w->geometry();
        }
        return out;
    }

    std::vector<QString> messageTitles() const
    {
        std::vector<QString> out;
        for (const auto& m : dialogs.messages)
            out.push_back(m.title);
        return out;
    }

    FakeDesktop fake;
};

}  // namespace

TEST_F(MainWindowLayout, AtOneHundredPercentTheFrameCoversTheScreenAtEverySize)
{
    for (const QSize size : kScreenSizes) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        startAt(size);
        EXPECT_EQ(form->frameGeometry(), QRect(QPoint(0, 0), size));
        // The window font, and with it the menu bar and the message boxes, follows the width.
        EXPECT_NEAR(pixels(form->menuBar()), 8.0 * size.width() / 640 * kPixelsPerPoint, 1e-9);
        // The controls' fonts by the smaller of the client area's ratios.
        const QSize client = screenWidget()->size();
        EXPECT_NEAR(pixels(field("txtCall")),
                    10 * std::min(client.width() / 640.0, client.height() / 480.0) * kPixelsPerPoint, 1e-9);
        // The controls fill the client area under the menu bar.
        const QRect call = field("txtCall")->geometry();
        EXPECT_EQ(call.x(), qRound(8.0 * screenWidget()->width() / 640));
        // The DX list reaches the hidden Line3, the bottom of the recent list.
        const auto* line3 = form->findChild<QFrame*>(QStringLiteral("Line3"));
        ASSERT_NE(line3, nullptr);
        EXPECT_FALSE(line3->isVisible());
        const auto* list1 = form->findChild<QListWidget*>(QStringLiteral("List1"));
        const auto* listView = form->findChild<QTableView*>(QStringLiteral("ListView1"));
        EXPECT_EQ(list1->geometry().bottom() + 1, line3->y());
        EXPECT_LE(std::abs(listView->geometry().bottom() + 1 - line3->y()), 1);
        // Its rows stretch with the window too, and are never lower than their text.
        const int rowHeight = listView->verticalHeader()->defaultSectionSize();
        EXPECT_GE(rowHeight, listView->fontMetrics().height());
        EXPECT_NEAR(rowHeight, 18.0 * screenWidget()->height() / 480, 1.0);
        form.reset();
    }
}

TEST_F(MainWindowLayout, BelowOneHundredTheWindowIsThatShareCentredAndFontsFollow)
{
    startAt({1024, 768}, 90);
    EXPECT_EQ(form->frameGeometry(), QRect(51, 38, 922, 691));
    EXPECT_NEAR(pixels(form->menuBar()), 8.0 * 1.6 * 0.9 * kPixelsPerPoint, 1e-9);
    // The controls shrink once, with the window: never by the percentage a second time.
    EXPECT_EQ(field("txtCall")->x(), qRound(8.0 * screenWidget()->width() / 640));
    EXPECT_GT(screenWidget()->width(), 922 - 10);
    EXPECT_EQ(savedPrefs().windowSizePct, 90);
}

TEST_F(MainWindowLayout, AStoredPercentageOutOfRangeIsOneHundredAndSaved)
{
    for (quint8 stored : {quint8(0), quint8(29), quint8(101), quint8(255)}) {
        SCOPED_TRACE(int(stored));
        startAt({1024, 768}, stored);
        EXPECT_EQ(form->frameGeometry(), QRect(0, 0, 1024, 768));
        EXPECT_EQ(form->prefs().windowSizePct, 100);
        EXPECT_EQ(savedPrefs().windowSizePct, 100);
        form.reset();
    }
}

// A headless or disconnected display reports no monitor: the window says so once, keeps its
// size and the operator's percentage, and a refit changes nothing.
TEST_F(MainWindowLayout, AMonitorOfNoSizeIsReportedOnceAndTheWindowKeepsItsSize)
{
    for (const quint8 percent : {quint8(90), quint8(100)}) {
        SCOPED_TRACE(int(percent));
        Preferences p = savedPrefs();
        p.windowSizePct = percent;
        writePrefs(p);
        fake.area = {};
        desktop = &fake;
        start();
        settle();
        const std::vector<QString> titles = messageTitles();
        EXPECT_EQ(std::count(titles.begin(), titles.end(), QStringLiteral("Form Resize Error")), 1);
        const QRect before = form->frameGeometry();
        EXPECT_GE(before.width(), 200);
        EXPECT_GE(before.height(), 200);
        EXPECT_EQ(savedPrefs().windowSizePct, percent);
        if (percent == 100) {
            action("mnuTaskbar")->trigger();
            settle();
            EXPECT_EQ(form->frameGeometry(), before);
        }
        form.reset();
        dialogs.messages.clear();
    }
}

TEST_F(MainWindowLayout, TaskbarAtOneHundredFlipsSavesRefitsAndMarks)
{
    startAt({1024, 768});
    QAction* taskbar = action("mnuTaskbar");
    EXPECT_FALSE(taskbar->isChecked());
    QWidget* focused = focus();

    taskbar->trigger();
    settle();
    EXPECT_TRUE(taskbar->isChecked());
    EXPECT_EQ(form->frameGeometry(), QRect(0, 0, 1024, 736));
    EXPECT_EQ(savedPrefs().taskbar, 1);
    EXPECT_EQ(focus(), focused);  // the re-layout leaves the keyboard where it was
    const int callX = field("txtCall")->x();

    taskbar->trigger();
    settle();
    EXPECT_FALSE(taskbar->isChecked());
    EXPECT_EQ(form->frameGeometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(savedPrefs().taskbar, 0);
    EXPECT_EQ(field("txtCall")->x(), callX);
    EXPECT_TRUE(dialogs.messages.size() == 1);  // only "Open existing log?"
}

TEST_F(MainWindowLayout, TaskbarOptionStoredOnFitsTheWorkAreaAtStart)
{
    startAt({1280, 1024}, 100, 1);
    EXPECT_TRUE(action("mnuTaskbar")->isChecked());
    EXPECT_EQ(form->frameGeometry(), QRect(0, 0, 1280, 992));
}

TEST_F(MainWindowLayout, TaskbarBelowOneHundredIsRefused)
{
    startAt({1024, 768}, 90);
    const QRect before = form->frameGeometry();
    action("mnuTaskbar")->trigger();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages.back().title, "Please set your form size to 100% to use this option.");
    EXPECT_EQ(dialogs.messages.back().text, "The form size must be set to 100% to use the taskbar display option.");
    EXPECT_FALSE(action("mnuTaskbar")->isChecked());
    EXPECT_EQ(savedPrefs().taskbar, 0);
    EXPECT_EQ(form->frameGeometry(), before);
}

TEST_F(MainWindowLayout, FormSizeStoresTheHeldAnswerAndAsksForARestart)
{
    startAt({1024, 768});
    const QRect before = form->frameGeometry();
    const std::pair<const char*, int> answers[] = {{"150", 100}, {"10", 30}, {"89.5", 90}, {"75", 75}};
    QString current = QStringLiteral("100");
    for (const auto& [answer, stored] : answers) {
        SCOPED_TRACE(answer);
        dialogs.messages.clear();
        dialogs.inputs.clear();
        dialogs.inputAnswers.push_back(QString::fromLatin1(answer));
        action("mnuFormSize")->trigger();
        ASSERT_EQ(dialogs.inputs.size(), 1u);
        EXPECT_EQ(dialogs.inputs[0].title, "Please enter screen percentage.");
        EXPECT_EQ(dialogs.inputs[0].prompt,
                  "Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best "
                  "results.  Values below 75 do not display well.");
        EXPECT_EQ(dialogs.inputs[0].defaultText, current);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].title, "For this setting to take effect please restart this program.");
        EXPECT_EQ(dialogs.messages[0].text, "This program must be closed and restarted for this setting to take effect.");
        EXPECT_EQ(savedPrefs().windowSizePct, stored);
        EXPECT_EQ(form->frameGeometry(), before);  // nothing resized until the next start
        current = QString::number(stored);
    }
}

TEST_F(MainWindowLayout, FormSizeWithoutANumberChangesNothing)
{
    startAt({1024, 768}, 80);
    for (const std::optional<QString>& answer : {std::optional<QString>(QStringLiteral("abc")),
                                                 std::optional<QString>(), std::optional<QString>(QString())}) {
        dialogs.messages.clear();
        dialogs.inputAnswers.push_back(answer);
        action("mnuFormSize")->trigger();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].title, "Numeric Values Required");
        EXPECT_EQ(dialogs.messages[0].text, "Please enter only numeric values.");
        EXPECT_EQ(savedPrefs().windowSizePct, 80);
        EXPECT_EQ(form->prefs().windowSizePct, 80);
    }
}

TEST_F(MainWindowLayout, SpotRoomIsMadeAndGivenBackToTheSamePixels)
{
    startAt({1366, 768});
    const std::map<QString, QRect> before = controls();
    EXPECT_FALSE(spotDisplay());

    form->packetResize(QStringLiteral("Telnet"), QStringLiteral("List"));
    settle();
    const std::map<QString, QRect> pressed = controls();
    ASSERT_EQ(spotDisplay(), spotList());
    const QRect room = spotList()->geometry();
    const QSize client = screenWidget()->size();
    // From the lowest control's bottom to the window's, 1 % in, 97 % wide.
    int lowest = 0;
    for (const auto& [name, r] : pressed) {
        if (name != QLatin1String("Line3"))
            lowest = std::max(lowest, r.y() + r.height());
    }
    EXPECT_EQ(room, QRect(qRound(0.01 * client.width()), lowest, qRound(0.97 * client.width()), client.height() - lowest));
    EXPECT_GT(room.height(), client.height() / 20);
    // The controls are pressed into 90 % of the height: none reaches into the room.
    for (const auto& [name, r] : pressed)
        EXPECT_FALSE(r.intersects(room)) << name.toStdString();
    EXPECT_LT(field("txtCall")->y(), before.at(QStringLiteral("txtCall")).y() + 1);
    EXPECT_EQ(field("txtCall")->x(), before.at(QStringLiteral("txtCall")).x());

    // Pressing "&Done" again with the same connection type moves nothing; the band map takes
    // the list's place.
    form->packetResize(QStringLiteral("AGW"), QStringLiteral("Band Map"));
    EXPECT_EQ(controls(), pressed);
    ASSERT_EQ(spotDisplay(), bandMap());
    EXPECT_EQ(bandMap()->geometry(), room);

    // Back to "None", and round and round: exactly the first positions every time.
    for (int round = 0; round < 25; ++round) {
        form->packetResize(QStringLiteral("None"), QString());
        ASSERT_EQ(controls(), before) << round;
        ASSERT_FALSE(spotDisplay());
        form->packetResize(QStringLiteral("TNC"), QString());
        ASSERT_EQ(controls(), pressed) << round;
    }
    form->packetResize(QStringLiteral("none"), QString());
    EXPECT_EQ(controls(), before);
    // "None" with no spot display showing changes nothing.
    form->packetResize(QStringLiteral("None"), QString());
    EXPECT_EQ(controls(), before);
}

TEST_F(MainWindowLayout, SpotRoomSurvivesARefit)
{
    startAt({1024, 768});
    form->packetResize(QStringLiteral("Telnet"), QString());
    action("mnuTaskbar")->trigger();
    settle();
    ASSERT_TRUE(spotDisplay());
    EXPECT_EQ(spotDisplay()->geometry().bottom() + 1, screenWidget()->height());
}

TEST_F(MainWindowLayout, NoControlOverlapsAnotherOrOutgrowsItsTextAtAnySize)
{
    for (const QSize size : kScreenSizes) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        startAt(size);
        // The widest the clocks get.
        label("lblutctime")->setText(QStringLiteral("23:44:53"));
        label("lblCurTime")->setText(QStringLiteral("11:44:45"));
        label("Label16")->setText(QStringLiteral("PM"));
        std::vector<QWidget*> shown;
        std::vector<QWidget*> captioned;
        for (QWidget* w : screenWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!w->isVisible())
                continue;
            shown.push_back(w);
            if (w->objectName() != QLatin1String("lblDialog"))
                captioned.push_back(w);
        }
        EXPECT_THAT(overlaps(shown), IsEmpty());
        EXPECT_THAT(captionsCut(captioned), IsEmpty());
        form.reset();
    }
}

TEST_F(MainWindowLayout, WhereTheCompositorPlacesWindowsTheTaskbarOptionAsksForMaximized)
{
    fake.places = false;
    startAt({1920, 1080}, 100, 1);
    EXPECT_TRUE(form->isMaximized());
    action("mnuTaskbar")->trigger();
    settle();
    EXPECT_FALSE(form->isMaximized());
    EXPECT_EQ(form->frameGeometry(), QRect(0, 0, 1920, 1080));
    EXPECT_FALSE(action("mnuTaskbar")->isChecked());
}
