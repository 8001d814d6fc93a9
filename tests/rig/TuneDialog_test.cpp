// The tune window driven as an operator would, key by key and click by click.
#include "rig/TuneTables.h"
#include "support/FakeRigTuning.h"
#include "ui/rig/TuneDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace cubwave;
using namespace cubwave::test;
using Call = FakeRigTuning::Call;

namespace {

class TuneDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = std::make_unique<TuneDialog>(rig);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        txtFreq = child<QLineEdit>("txtFreq");
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    void typeFrequency(const QString& text)
    {
        txtFreq->clear();
        QTest::keyClicks(txtFreq, text);
    }
    bool stepsEnabled()
    {
        int enabled = 0;
        for (int i = 0; i < 10; ++i)
            enabled += child<QPushButton>(qPrintable(QStringLiteral("cmdTune_%1").arg(i)))->isEnabled();
        EXPECT_TRUE(enabled == 0 || enabled == 10) << enabled;
        return enabled == 10;
    }

    FakeRigTuning rig;
    std::unique_ptr<TuneDialog> dialog;
    QLineEdit* txtFreq = nullptr;
};

TEST_F(TuneDialogTest, OpensWithItsCaptionAndScanDefaults)
{
    EXPECT_EQ(dialog->objectName(), "frmRigTune");
    EXPECT_EQ(dialog->windowTitle(), " Change Frequency and Mode (Ctrl G (Go))");
    EXPECT_EQ(child<QLineEdit>("txtFrom")->text(), "1.8");
    EXPECT_EQ(child<QLineEdit>("txtTo")->text(), "54");
    EXPECT_TRUE(child<QRadioButton>("Option4")->isChecked());
    EXPECT_EQ(child<QRadioButton>("Option5")->text(), "2.5 KHz");
    EXPECT_EQ(child<QPushButton>("Command1")->text(), "&Go");
    EXPECT_EQ(child<QPushButton>("cmdBand_15")->text(), "23");
    QTimer* timer1 = child<QTimer>("Timer1");
    EXPECT_EQ(timer1->interval(), 299);
    EXPECT_TRUE(timer1->isActive());
    EXPECT_FALSE(stepsEnabled());
}

TEST_F(TuneDialogTest, FrequencyBoxesTakeOnlyDigitsPointsAndSlashes)
{
    for (const char* name : {"txtFreq", "txtFrom", "txtTo"}) {
        QLineEdit* box = child<QLineEdit>(name);
        box->clear();
        QTest::keyClicks(box, "7a,.0-2/5 x");
        EXPECT_EQ(box->text(), "7.02/5") << name;
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), "7.02/") << name;
    }
}

TEST_F(TuneDialogTest, EnterTunesAndKeepsTheCaretAtTheEnd)
{
    typeFrequency("7.025");
    QTest::keyClick(txtFreq, Qt::Key_Return);
    EXPECT_EQ(rig.calls, (std::vector<Call>{{Call::Frequency, 7'025'000, {}}}));
    EXPECT_TRUE(txtFreq->hasFocus());
    EXPECT_EQ(txtFreq->cursorPosition(), 5);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(TuneDialogTest, GoNeedsANumberAndARig)
{
    typeFrequency("7.0/2");
    click("Command1");
    EXPECT_TRUE(rig.calls.empty());
    rig.name = QStringLiteral("None");
    typeFrequency("7.025");
    click("Command1");
    EXPECT_TRUE(rig.calls.empty());
    rig.name = QStringLiteral("none");  // rig names compare exactly
    click("Command1");
    EXPECT_EQ(rig.calls.size(), 1u);
}

TEST_F(TuneDialogTest, GoWithoutAPolledRigSaysHowToStartPolling)
{
    auto* status = child<QLabel>("lblStatus");
    rig.isPolling = false;
    typeFrequency("7.025");
    click("Command1");
    EXPECT_EQ(status->text(), "No rig is being polled: start polling in Rig Interface (Ctrl+R).");
    EXPECT_TRUE(status->isVisible());
    rig.isPolling = true;
    click("Command1");
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_EQ(rig.calls.size(), 2u);
    rig.name = QStringLiteral("None");
    click("cmdBand_0");
    EXPECT_EQ(status->text(), TuneDialog::kNotPolledText);
}

TEST_F(TuneDialogTest, StepButtonsWorkOnlyOnANumber)
{
    typeFrequency("7.025");
    EXPECT_TRUE(stepsEnabled());
    txtFreq->setText(QStringLiteral("7.0x"));  // pasted
    EXPECT_FALSE(stepsEnabled());
    txtFreq->setText(QString());
    EXPECT_FALSE(stepsEnabled());
}

TEST_F(TuneDialogTest, StepButtonsCountInWholeHertz)
{
    struct Case {
        const char* start;
        int button;
        const char* text;
        qint64 hz;
    };
    for (const Case& c : {Case{"7.025", 0, "7.02501", 7'025'010}, Case{"7.025", 1, "7.02499", 7'024'990},
                          Case{"7.025", 2, "8.025", 8'025'000}, Case{"7.025", 5, "7.02", 7'020'000},
                          Case{"7.025", 6, "7.026", 7'026'000}, Case{"7.025", 9, "7.0249", 7'024'900},
                          Case{"1270", 0, "1270.00001", 1'270'000'010}, Case{"435", 1, "434.99999", 434'999'990},
                          Case{"0.5", 3, "-0.5", -500'000}}) {
        typeFrequency(QString::fromLatin1(c.start));
        rig.calls.clear();
        click(qPrintable(QStringLiteral("cmdTune_%1").arg(c.button)));
        EXPECT_EQ(txtFreq->text(), c.text) << c.start << " " << c.button;
        EXPECT_EQ(rig.calls, (std::vector<Call>{{Call::Frequency, c.hz, {}}})) << c.start << " " << c.button;
        EXPECT_TRUE(child<QPushButton>("cmdDone")->hasFocus());
    }
}

TEST_F(TuneDialogTest, BandButtonsFillTheBoxAndTune)
{
    click("cmdBand_3");
    EXPECT_EQ(txtFreq->text(), "7.15");
    click("cmdBand_15");
    EXPECT_EQ(txtFreq->text(), "1270");
    // 60 m: the 5358.5 kHz channel's dial frequency, on its sideband.
    click("cmdBand_2");
    EXPECT_EQ(txtFreq->text(), "5.357");
    EXPECT_EQ(rig.calls, (std::vector<Call>{{Call::Frequency, 7'150'000, {}},
                                            {Call::Frequency, 1'270'000'000, {}},
                                            {Call::Frequency, 5'357'000, "USB"}}));
}

TEST_F(TuneDialogTest, ABandButtonWithoutARigOnlyFillsTheBox)
{
    rig.name = QStringLiteral("None");
    click("cmdBand_0");
    EXPECT_EQ(txtFreq->text(), "1.9");
    EXPECT_TRUE(rig.calls.empty());
}

TEST_F(TuneDialogTest, ModeButtonsSendTheirModeWhetherOrNotPolling)
{
    rig.isPolling = false;
    const std::vector<std::pair<const char*, const char*>> buttons{
        {"cmdCW", "CW"}, {"cmdLSB", "LSB"}, {"cmdUSB", "USB"}, {"cmdAM", "AM"}, {"cmdFM", "FM"}, {"cmdRTTY", "RTTY"}};
    std::vector<Call> expected;
    for (const auto& [name, mode] : buttons) {
        click(name);
        expected.push_back({Call::Mode, 0, QString::fromLatin1(mode)});
        EXPECT_TRUE(child<QPushButton>("cmdDone")->hasFocus()) << name;
    }
    EXPECT_EQ(rig.calls, expected);
}

TEST_F(TuneDialogTest, TickingScanStartsFromFromAndTheTimerWrapsToIt)
{
    QCheckBox* scan = child<QCheckBox>("chkScan");
    QTest::mouseClick(scan, Qt::LeftButton);
    ASSERT_TRUE(scan->isChecked());
    EXPECT_EQ(txtFreq->text(), "1.8");
    EXPECT_TRUE(child<QPushButton>("Command1")->hasFocus());

    dialog->Timer1_Timer();
    EXPECT_EQ(txtFreq->text(), "1.80001");
    ASSERT_EQ(rig.calls.size(), 1u);
    EXPECT_EQ(rig.calls.back(), (Call{Call::Frequency, 1'800'010, {}}));

    child<QRadioButton>("Option5")->setChecked(true);
    txtFreq->setText(QStringLiteral("53.995"));
    dialog->Timer1_Timer();
    EXPECT_EQ(txtFreq->text(), "53.9975");
    dialog->Timer1_Timer();
    EXPECT_EQ(txtFreq->text(), "54.");  // not beyond To yet
    dialog->Timer1_Timer();
    EXPECT_EQ(txtFreq->text(), "1.8");
    EXPECT_EQ(rig.calls.back(), (Call{Call::Frequency, 1'800'000, {}}));
}

TEST_F(TuneDialogTest, TheScanStepsInHertzAboveWhereSinglePrecisionStalls)
{
    child<QLineEdit>("txtTo")->setText(QStringLiteral("1300"));
    txtFreq->setText(QStringLiteral("1270"));
    child<QCheckBox>("chkScan")->setChecked(true);
    for (int i = 0; i < 3; ++i)
        dialog->Timer1_Timer();
    EXPECT_EQ(txtFreq->text(), "1270.00003");
    EXPECT_EQ(rig.calls.back().hz, 1'270'000'030);
}

TEST_F(TuneDialogTest, TheScanWaitsForNumbersAndForTheTick)
{
    dialog->Timer1_Timer();
    EXPECT_TRUE(rig.calls.empty());  // not ticked
    child<QCheckBox>("chkScan")->setChecked(true);
    child<QLineEdit>("txtTo")->setText(QStringLiteral("5/4"));
    txtFreq->setText(QStringLiteral("7"));
    dialog->Timer1_Timer();
    EXPECT_EQ(txtFreq->text(), "7");
    EXPECT_TRUE(rig.calls.empty());
}

TEST_F(TuneDialogTest, AnyKeyOnTheWindowUnticksScan)
{
    QCheckBox* scan = child<QCheckBox>("chkScan");
    for (QWidget* target : std::initializer_list<QWidget*>{txtFreq, child<QLineEdit>("txtFrom"),
                                                           child<QRadioButton>("Option1"), child<QPushButton>("cmdBand_4")}) {
        scan->setChecked(true);
        QTest::keyClick(target, Qt::Key_X);
        EXPECT_FALSE(scan->isChecked()) << target->objectName().toStdString();
    }
}

TEST_F(TuneDialogTest, DoneHidesTheWindow)
{
    click("cmdDone");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

}  // namespace
