#include "core/LogLine.h"
#include "support/MainWindowFixture.h"

#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;

namespace {

QByteArray line(const char* call, const char* band, const char* mode, const char* spc = "CT",
                const char* name = "ANN", const char* age = "12", const char* time = "18:00:00",
                const char* date = "2026/06/13")
{
    QsoRecord r;
    r[QsoRecord::Call] = call;
    r[QsoRecord::Age] = age;
    r[QsoRecord::Spc] = spc;
    r[QsoRecord::Date] = date;
    r[QsoRecord::Time] = time;
    r[QsoRecord::Mode] = mode;
    r[QsoRecord::Band] = band;
    r[QsoRecord::Name] = name;
    return LogLine::format(r).toUtf8() + "\r\n";
}

class Dupes : public MainWindowFixture {
protected:
    QColor back(const char* name) const { return label(name)->palette().color(QPalette::Window); }
    QStringList listedCalls() const
    {
        auto* view = form->findChild<QTableView*>("ListView1");
        QStringList calls;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            calls << view->model()->index(row, 1).data().toString();
        return calls;
    }
};

}  // namespace

TEST_F(Dupes, PartialMatchesListNewestFirstOnThisBandAndModeOnly)
{
    writeLog(line("W1AW", "20", "CW") + line("W1AB", "20", "PH") + line("W1AC", "40", "CW") + line("W1AD", "20", "CW"));
    start();
    type("w1a");
    EXPECT_EQ(label("lblDupe")->text(), "W1AD W1AW ");
    EXPECT_EQ(back("lblDupe"), QColor(0, 192, 192));
    EXPECT_EQ(status(), " ");  // the third character is a letter after a digit: fine
    type("w");
    EXPECT_EQ(label("lblDupe")->text(), "W1AW ");
    EXPECT_EQ(status(), "Possible Duplicate!");

    // Switched off: nothing listed, but the three-character check still runs.
    QTest::mouseClick(form->findChild<QPushButton*>("cmdDup"), Qt::LeftButton);
    EXPECT_EQ(form->findChild<QPushButton*>("cmdDup")->text(), "Off");
    form->cmdClear_Click();
    type("wab");
    EXPECT_EQ(label("lblDupe")->text(), "");
    EXPECT_EQ(status(), "The second or third character is not numeric!");
    EXPECT_GE(beeper.beeps, 1);
}

TEST_F(Dupes, DuplicateIsReportedInRedAndStillStored)
{
    writeLog(line("W1AW", "20", "PH") + line("W1AW", "20", "CW", "CT", "TOM", "12", "18:05:33") +
             line("W1AW", "20", "CW"));
    start();
    type("w1aw ");  // leaving the call field runs the scan
    EXPECT_EQ(status(), "Duplicate on 20 W1AW 2026/06/13 18:05:33  Rec#  2");
    EXPECT_EQ(back("lblDialog"), QColor(255, 0, 0));
    key(Qt::Key_Return);
    EXPECT_EQ(form->store().count(), 4);
    EXPECT_EQ(status(), "");  // the stored contact clears the report
    EXPECT_EQ(back("lblDialog"), QColor(0, 192, 192));
    EXPECT_TRUE(logBytes().endsWith(",\"CT\",\"2026/06/13\",\"18:05:33\",\"CW\",\"20\",\"ANN\",\"\"\r\n"));
    EXPECT_EQ(ports.voice.cues, (QStringList{"Dupe", "Dupe"}));
}

TEST_F(Dupes, LeavingTheCallFillsEmptyFieldsFromTheFirstContactButNeverTypedOnes)
{
    writeLog(line("K1ABC", "40", "PH", "MA", "BOB", "11") + line("K1ABC", "20", "PH", "CT", "ANN", "12"));
    start();
    type("k1abc ");
    EXPECT_EQ(field("txtName")->text(), "BOB");
    EXPECT_EQ(field("txtRSTR")->text(), "11");
    EXPECT_EQ(field("txtCntry")->text(), "MA");
    EXPECT_EQ(field("txtName")->selectedText(), "BOB");  // typing replaces it
    type("tim");
    EXPECT_EQ(field("txtName")->text(), "TIM");

    form->cmdClear_Click();
    field("txtName")->setText("SUE");
    type("k1abc ");
    EXPECT_EQ(field("txtName")->text(), "SUE");
    EXPECT_EQ(field("txtRSTR")->text(), "11");
}

TEST_F(Dupes, ListPreviousShowsTheEarlierContactsOfTheCall)
{
    writeLog(line("K1ABC", "40", "PH") + line("W1AW", "20", "CW") + line("K1ABC", "20", "PH"));
    start();
    EXPECT_EQ(listedCalls(), (QStringList{"K1ABC", "W1AW", "K1ABC"}));
    action("mnuListPrevious")->trigger();
    type("k1abc ");
    EXPECT_EQ(listedCalls(), (QStringList{"K1ABC", "K1ABC"}));
    form->cmdClear_Click();
    type("n0new ");
    EXPECT_TRUE(listedCalls().isEmpty());
}

TEST_F(Dupes, AnAnnouncementThatNeverEndsDoesNotHoldTheEntryLine)
{
    writeLog(line("W1AW", "20", "CW"));
    start();
    ports.voice.cueNeverEnds = true;
    form->prefs().voiceNavLevel = 1;
    type("w1aw");
    const qint64 before = clock.ticksMs();
    key(Qt::Key_Return);
    EXPECT_EQ(form->store().count(), 2);
    // The commit does not wait for the announcement at all.
    EXPECT_EQ(clock.ticksMs() - before, 0);
}

TEST_F(Dupes, MultipliersDxListAndNewIndicatorFollowTheLog)
{
    start();
    type("w1aw tom 12 ct");
    key(Qt::Key_Return);
    EXPECT_EQ(label("Label15")->text(), "States / Provinces Worked: 1");
    type("k1abc ann 12 ct");
    key(Qt::Key_Return);
    EXPECT_EQ(label("Label15")->text(), "States / Provinces Worked: 1");

    type("ja1abc ken 10 japan");
    EXPECT_TRUE(label("Label3")->isVisible());
    key(Qt::Key_Return);
    EXPECT_EQ(label("lblStation_5")->text(), "DX  -  1");
    type("ja2abc ken 10 japan");
    EXPECT_FALSE(label("Label3")->isVisible());
    key(Qt::Key_Return);
    type("w2abc ann 10 usa");
    EXPECT_FALSE(label("Label3")->isVisible());
    key(Qt::Key_Return);
    EXPECT_EQ(label("lblStation_5")->text(), "DX  -  1");
    // A reload counts every distinct long location, "USA" included.
    form->mnuOpen2();
    EXPECT_EQ(label("lblStation_5")->text(), "DX  -  2");
    EXPECT_EQ(label("lblTotCon")->text(), "5");
}

TEST_F(Dupes, RatesCountTheLastTwentyAndSixtyMinutes)
{
    // Now is 18:05:33 UTC (local 14:05:33 plus 4 hours).
    writeLog(line("A1A", "20", "CW", "CT", "A", "1", "16:50:00") + line("B1B", "20", "CW", "CT", "B", "1", "17:10:00") +
             line("C1C", "20", "CW", "CT", "C", "1", "17:50:00") + line("D1D", "20", "CW", "CT", "D", "1", "18:05:00"));
    start();
    EXPECT_EQ(label("lblAQSO20")->text(), "6");
    EXPECT_EQ(label("lblAQSO60")->text(), "3");
    clock.advanceMs(20 * 60 * 1000);
    form->showRates();  // 18:25:33: the newest is 20 min 33 s old
    EXPECT_EQ(label("lblAQSO20")->text(), "0");
    EXPECT_EQ(label("lblAQSO60")->text(), "2");
}

TEST_F(Dupes, RigReportsChangeBandAndModeThroughTheirCommands)
{
    start();
    form->BandFreqConversion(7.02f);
    EXPECT_EQ(form->currentBand(), "40");
    EXPECT_EQ(form->frequencyText(), "7.020");
    EXPECT_TRUE(action("mnuBand40Ch")->isChecked());
    form->BandFreqConversion(10.1f);
    EXPECT_EQ(form->currentBand(), "40");
    EXPECT_EQ(form->frequencyText(), "10.100");
    form->BandFreqConversion(1.9f);
    EXPECT_EQ(form->currentBand(), "160");
    EXPECT_EQ(label("Label24")->text(), "160");

    form->ModeSelection("USB");
    EXPECT_EQ(form->currentMode(), "CW");
    form->ModeSelection("PH");
    EXPECT_EQ(form->currentMode(), "PH");
    EXPECT_TRUE(action("mnuSSB")->isChecked());
}
