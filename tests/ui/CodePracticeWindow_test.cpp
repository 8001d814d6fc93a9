#include "CwWindowsFixture.h"

#include "ui/cw/CodePracticeWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace cubwave::test {
namespace {

class CodePracticeWindowTest : public CwWindowsTest {
protected:
    CodePracticeWindowTest()
    {
        draws = {0.0, 0.999, 0.5};
        practice.show();
    }

    CwWindowServices practiceServices()
    {
        CwWindowServices s = services();
        s.uniform = [this] { return draws[next++ % draws.size()]; };
        return s;
    }
    QPlainTextEdit* text(const char* name) { return child<QPlainTextEdit>(&practice, name); }
    QLineEdit* line(const char* name) { return child<QLineEdit>(&practice, name); }
    void click(const char* name) { child<QAbstractButton>(&practice, name)->click(); }

    std::vector<double> draws;
    size_t next = 0;
    CodePracticeWindow practice{sender, practiceServices()};
};

TEST_F(CodePracticeWindowTest, GeneratesGroupsFromTheInjectedSource)
{
    EXPECT_EQ(practice.windowTitle(), "On the Air Code Practice");
    retype(line("Text3"), "2");
    retype(line("Text4"), "3");
    click("Option1");
    click("Command2");
    // 0 -> "A", 0.999 of 26 -> "Z", 0.5 of 26 -> "N".
    EXPECT_EQ(text("Text1")->toPlainText(), "AZN AZN ");

    click("Option2");
    retype(line("Text3"), "1");
    retype(line("Text4"), "x");
    click("Command2");
    // Of all 41: 0.999 -> "-", 0.5 -> "U"; a count that is no number becomes the default.
    EXPECT_EQ(line("Text4")->text(), "5");
    EXPECT_EQ(text("Text1")->toPlainText(), "A-UA- ");
}

TEST_F(CodePracticeWindowTest, AHugeRequestIsCappedWithAMessage)
{
    retype(line("Text3"), "1000000");
    click("Command2");
    EXPECT_EQ(text("Text1")->toPlainText().size(), 10000);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, CodePracticeWindow::kCappedText);

    QGuiApplication::clipboard()->setText(QString(20000, QLatin1Char('E')));
    click("Command1");
    EXPECT_EQ(text("Text1")->toPlainText().size(), 10000);
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(CodePracticeWindowTest, SendKeysEveryCharacterInOrderAndEchoesIt)
{
    QGuiApplication::clipboard()->setText("PARIS TEST");
    click("Command1");
    click("Command3");
    ASSERT_TRUE(waitFor([&] { return !practice.practising(); }));
    EXPECT_EQ(text("Text2")->toPlainText(), "PARIS TEST");
    // Each character keyed whole, none overwritten by the next.
    EXPECT_EQ(sentText(), "PARIS TEST");
    EXPECT_FALSE(serial.edges(ModemLine::Dtr).back().down);

    click("Command5");
    EXPECT_TRUE(text("Text2")->toPlainText().isEmpty());
    click("Command6");
    EXPECT_TRUE(text("Text1")->toPlainText().isEmpty());
}

TEST_F(CodePracticeWindowTest, StopEndsTheSendingAndSendStartsAgainFromTheFirst)
{
    timer.realDelayPerWait = std::chrono::milliseconds(3);
    text("Text1")->setPlainText("EEEEEEEEEEEEEEEEEEEE");
    click("Command3");
    ASSERT_TRUE(waitFor([&] { return text("Text2")->toPlainText().size() >= 2; }));
    click("Command4");
    ASSERT_TRUE(waitFor([&] { return !sender.isSending(); }));
    QTest::qWait(30);
    const int echoed = static_cast<int>(text("Text2")->toPlainText().size());
    EXPECT_LT(echoed, 20);
    EXPECT_FALSE(practice.practising());
    // Each echoed character went out, but for one taken back before it could start.
    const int sent = static_cast<int>(sentText().size());
    EXPECT_LE(sent, echoed);
    EXPECT_GE(sent, echoed - 1);

    timer.realDelayPerWait = {};
    text("Text1")->setPlainText("T");
    click("Command3");
    ASSERT_TRUE(waitFor([&] { return !practice.practising() && !sender.isSending(); }));
    EXPECT_TRUE(text("Text2")->toPlainText().endsWith("T"));
}

TEST_F(CodePracticeWindowTest, ClosingDuringSendStopsItFirst)
{
    timer.realDelayPerWait = std::chrono::milliseconds(3);
    text("Text1")->setPlainText("EEEEEEEEEEEEEEEEEEEE");
    click("Command3");
    ASSERT_TRUE(waitFor([&] { return text("Text2")->toPlainText().size() >= 2; }));
    practice.close();
    EXPECT_FALSE(practice.practising());
    // The character on the air finishes; the operator closes again.
    ASSERT_TRUE(waitFor([&] { return !sender.isSending(); }));
    const auto edges = keyedDtr().size();
    QTest::qWait(50);
    EXPECT_EQ(keyedDtr().size(), edges);  // nothing more was sent
    practice.close();
    EXPECT_FALSE(practice.isVisible());
}

TEST_F(CodePracticeWindowTest, ClosingWithInterfaceNoneStopsTheLoop)
{
    CwSettings s = sender.settings();
    s.cwInterface = kCwNone;
    sender.setSettings(s);
    text("Text1")->setPlainText(QString(10000, QLatin1Char('E')));
    click("Command3");
    ASSERT_TRUE(waitFor([&] { return text("Text2")->toPlainText().size() >= 2; }));
    practice.close();
    ASSERT_TRUE(waitFor([&] { return !sender.isSending(); }));
    practice.close();
    EXPECT_FALSE(practice.isVisible());
    const auto echoed = text("Text2")->toPlainText().size();
    QTest::qWait(30);
    EXPECT_EQ(text("Text2")->toPlainText().size(), echoed);
    EXPECT_LT(echoed, 10000);
}

TEST_F(CodePracticeWindowTest, LiveKeyingSendsCapitalsAndBackspaceTakesTheWaitingOneBack)
{
    QLineEdit* live = line("Text5");
    QTest::keyClicks(live, "abc");
    EXPECT_TRUE(live->text().isEmpty());
    EXPECT_EQ(text("Text2")->toPlainText(), "ABC");
    ASSERT_TRUE(waitFor([&] { return !sender.isSending(); }));
    EXPECT_EQ(sentText(), "ABC");

    // A long space holds the line, so the next character is still waiting when Backspace comes.
    timer.holdLongerThanNs = 200'000'000;
    QTest::keyClicks(live, " e");
    ASSERT_TRUE(waitFor([&] { return timer.holding.load(); }));
    QTest::keyClick(live, Qt::Key_Backspace);
    EXPECT_EQ(text("Text2")->toPlainText(), "ABC ");
    sender.stopSending();
    ASSERT_TRUE(waitFor([&] { return !sender.isSending(); }));
    EXPECT_EQ(sentText(), "ABC");
}

TEST_F(CodePracticeWindowTest, FasterAndSlowerShowTheSpeed)
{
    EXPECT_EQ(child<QLabel>(&practice, "Label8")->text(), "20");
    click("Command7");
    EXPECT_EQ(child<QLabel>(&practice, "Label8")->text(), "21");
    click("Command8");
    click("Command8");
    EXPECT_EQ(child<QLabel>(&practice, "Label8")->text(), "19");
    EXPECT_EQ(sender.settings().speedWpm, "19");
}

}  // namespace
}  // namespace cubwave::test
