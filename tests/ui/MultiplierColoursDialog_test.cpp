// The multiplier colour window: its samples follow the picked colours and a cancelled picker
// changes nothing.
#include "support/FakeDialogs.h"
#include "ui/appearance/MultiplierColoursDialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

using namespace cubwave;
using namespace cubwave::test;

namespace {

constexpr qint32 kWorked = 0x0000FF;     // red
constexpr qint32 kRemaining = 0xFF0000;  // blue
constexpr qint32 kGreen = 0x00FF00;
constexpr qint32 kPurple = 0x800080;

QColor textColour(const MultiplierColoursDialog& d, const char* label)
{
    return d.findChild<QLabel*>(QString::fromLatin1(label))->palette().color(QPalette::WindowText);
}

void click(MultiplierColoursDialog& d, const char* button)
{
    d.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

TEST(MultiplierColoursDialog, ShowsItsCaptionsAndBothSamplesInTheCurrentColours)
{
    FakeDialogs dialogs;
    MultiplierColoursDialog d(kWorked, kRemaining, dialogs);
    EXPECT_EQ(d.objectName(), "Form6");
    EXPECT_EQ(d.windowTitle(), " Modify Multiplier Color Selections");
    EXPECT_EQ(d.findChild<QLabel*>("Label1")->text(), "Appearance of multiplier worked");
    EXPECT_EQ(d.findChild<QLabel*>("Label2")->text(), "Appearance of multiplier remaining");
    EXPECT_EQ(d.findChild<QPushButton*>("Command3")->text(), "Change \"Worked\" Color");
    EXPECT_EQ(d.findChild<QPushButton*>("Command1")->text(), "Change \"Remaining\" Color");
    EXPECT_EQ(d.findChild<QPushButton*>("Command6")->text(), "Done");
    EXPECT_EQ(textColour(d, "Label1"), QColor(255, 0, 0));
    EXPECT_EQ(textColour(d, "Label2"), QColor(0, 0, 255));
}

// Each button changes its own colour only, opens the picker on that colour, and a cancelled
// picker keeps what was there.
TEST(MultiplierColoursDialog, EachButtonPicksItsOwnColourAndCancelKeepsIt)
{
    struct Case {
        const char* button;
        std::optional<qint32> answer;
        qint32 pickerOpensOn;
        qint32 worked;
        qint32 remaining;
    };
    const Case cases[] = {
        {"Command3", kGreen, kWorked, kGreen, kRemaining},
        {"Command3", std::nullopt, kWorked, kWorked, kRemaining},
        {"Command1", kPurple, kRemaining, kWorked, kPurple},
        {"Command1", std::nullopt, kRemaining, kWorked, kRemaining},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + (c.answer ? " picked" : " cancelled"));
        FakeDialogs dialogs;
        dialogs.colourAnswers.push_back(c.answer);
        MultiplierColoursDialog d(kWorked, kRemaining, dialogs);
        click(d, c.button);
        EXPECT_EQ(dialogs.colourRequests, std::vector<qint32>{c.pickerOpensOn});
        EXPECT_EQ(d.workedColour(), c.worked);
        EXPECT_EQ(d.remainingColour(), c.remaining);
        EXPECT_EQ(textColour(d, "Label1").rgb() & 0xFFFFFF, QColor(c.worked & 0xFF, (c.worked >> 8) & 0xFF, c.worked >> 16).rgb() & 0xFFFFFF);
        EXPECT_EQ(textColour(d, "Label2").rgb() & 0xFFFFFF,
                  QColor(c.remaining & 0xFF, (c.remaining >> 8) & 0xFF, c.remaining >> 16).rgb() & 0xFFFFFF);
    }
}

TEST(MultiplierColoursDialog, SecondPickStartsFromTheFirstAndDoneCloses)
{
    FakeDialogs dialogs;
    dialogs.colourAnswers = {kGreen, kPurple};
    MultiplierColoursDialog d(kWorked, kRemaining, dialogs);
    d.show();
    click(d, "Command3");
    click(d, "Command3");
    EXPECT_EQ(dialogs.colourRequests, (std::vector<qint32>{kWorked, kGreen}));
    EXPECT_EQ(d.workedColour(), kPurple);
    click(d, "Command6");
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

}  // namespace
