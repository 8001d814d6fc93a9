#include "support/Form1Fixture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class WindowKeys : public Form1Fixture {
protected:
    void useMode(const char* mode, int cwInterface)
    {
        form->prefs().mode = mode;
        form->keying().cwInterface = cwInterface;
    }
    QColor statusBack() const { return label("lblDialog")->palette().color(QPalette::Window); }
};

}  // namespace

TEST_F(WindowKeys, CtrlShortcutsOpenTheirWindowsAndSwallowTheNextCharacter)
{
    start();
    using W = Satellites::Window;
    const std::tuple<Qt::Key, W, bool> cases[] = {
        {Qt::Key_B, W::SpectrumMap, true}, {Qt::Key_C, W::CwSetup, false},    {Qt::Key_D, W::DxSpotting, false},
        {Qt::Key_F, W::BandPlan, true},    {Qt::Key_G, W::RigTune, true},     {Qt::Key_P, W::VoiceSetup, false},
        {Qt::Key_R, W::RigInterface, false}, {Qt::Key_S, W::CwSetup, false}, {Qt::Key_W, W::CwStrings, false},
    };
    for (const auto& [k, window, modal] : cases) {
        satellites.shown.clear();
        key(k, Qt::ControlModifier);
        ASSERT_EQ(satellites.shown.size(), 1u) << k;
        EXPECT_EQ(satellites.shown[0].window, window);
        EXPECT_EQ(satellites.shown[0].modal, modal);
    }
    EXPECT_TRUE(field("txtCall")->text().isEmpty());

    // Ctrl pressed alone, or with a key that types nothing, eats the next character typed.
    key(Qt::Key_Control, Qt::ControlModifier);
    type("w1aw");
    EXPECT_EQ(field("txtCall")->text(), "1AW");
    field("txtCall")->clear();
    key(Qt::Key_V, Qt::ControlModifier);  // no paste either
    EXPECT_TRUE(field("txtCall")->text().isEmpty());
    key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);  // not Ctrl alone: no window
    EXPECT_EQ(satellites.shown.size(), 1u);
}

TEST_F(WindowKeys, FunctionKeysFollowTheModeAndTheCwInterface)
{
    start();
    useMode("CW", 0);
    key(Qt::Key_F1);
    key(Qt::Key_Up);
    EXPECT_TRUE(satellites.cwKeys.empty());
    EXPECT_EQ(satellites.speedUps, 0);

    useMode("CW", 1);
    key(Qt::Key_F1);
    key(Qt::Key_F10);
    key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(satellites.cwKeys, (std::vector<int>{112, 124, 114}));
    key(Qt::Key_Down);
    EXPECT_EQ(satellites.speedDowns, 1);
    EXPECT_EQ(status(), "13 WPM");

    // Ctrl+F1 sends F1 and still eats the next character.
    satellites.cwKeys.clear();
    key(Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(satellites.cwKeys, std::vector<int>{112});
    type("ab");
    EXPECT_EQ(field("txtCall")->text(), "B");

    useMode("PH", 1);
    satellites.cwKeys.clear();
    key(Qt::Key_F2);
    key(Qt::Key_F10);
    key(Qt::Key_F11);
    key(Qt::Key_F12);
    EXPECT_EQ(satellites.phoneKeys, std::vector<int>{113});
    EXPECT_TRUE(satellites.cwKeys.empty());
}

TEST_F(WindowKeys, F12TogglesKeyboardCwWhoseKeysGoToTheSendBuffer)
{
    start();
    useMode("CW", 1);
    key(Qt::Key_F12);
    EXPECT_TRUE(form->keying().keyboardCwMode);
    EXPECT_EQ(status(), "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");
    EXPECT_EQ(statusBack(), QColor(255, 255, 192));

    type("cq");
    EXPECT_EQ(form->keying().cwBuffer, "CQ");
    EXPECT_TRUE(field("txtCall")->text().isEmpty());
    EXPECT_EQ(satellites.cwPumpStarts, 2);

    form->keying().cwSending = true;
    key(Qt::Key_Backspace);
    EXPECT_EQ(form->keying().cwBuffer, "C");
    // Esc while sending empties the buffer and leaves the entry line alone.
    field("txtCall")->setText("W1AW");
    key(Qt::Key_Escape);
    EXPECT_TRUE(form->keying().cwBuffer.isEmpty());
    EXPECT_EQ(field("txtCall")->text(), "W1AW");

    form->keying().cwSending = false;
    key(Qt::Key_F12);
    EXPECT_FALSE(form->keying().keyboardCwMode);
    EXPECT_EQ(status(), "");
    EXPECT_EQ(statusBack(), QColor(0, 192, 192));
}

TEST_F(WindowKeys, EscStopsVoiceFirstThenClearsTheEntryLine)
{
    start();
    useMode("PH", 0);
    field("txtCall")->setText("W1AW");
    satellites.playing = true;
    key(Qt::Key_Escape);
    EXPECT_EQ(satellites.phoneStops, 1);
    EXPECT_EQ(field("txtCall")->text(), "W1AW");
    key(Qt::Key_Escape);
    EXPECT_TRUE(field("txtCall")->text().isEmpty());
}

TEST_F(WindowKeys, EscWithABusyWinKeyClearsItsBuffer)
{
    start();
    useMode("CW", 5);
    form->keying().winKeyOpen = true;
    form->keying().cwBuffer = "TEST";
    satellites.winKeyStatusValue = 1;
    field("txtCall")->setText("W1AW");
    key(Qt::Key_Escape);
    EXPECT_EQ(satellites.winKeyClears, 1);
    EXPECT_TRUE(form->keying().cwBuffer.isEmpty());
    EXPECT_EQ(field("txtCall")->text(), "W1AW");

    // In keyboard CW, Backspace deletes the keyer's last buffered character instead.
    form->keying().keyboardCwMode = true;
    key(Qt::Key_Backspace);
    EXPECT_EQ(satellites.winKeyBackspaces, 1);
}

TEST_F(WindowKeys, AnyKeyCancelsARunningRepeat)
{
    start();
    form->keying().cwRepeat = true;
    form->keying().phoneRepeat = true;
    form->keying().winKeyOpen = true;
    form->keying().cwBuffer = "CQ TEST";
    type("k");
    EXPECT_FALSE(form->keying().cwRepeat);
    EXPECT_FALSE(form->keying().phoneRepeat);
    EXPECT_TRUE(form->keying().cwBuffer.isEmpty());
    EXPECT_EQ(satellites.cwRepeatStops, 1);
    EXPECT_EQ(satellites.phoneRepeatStops, 1);
    EXPECT_EQ(satellites.winKeyClears, 1);
    EXPECT_EQ(field("txtCall")->text(), "K");
}

TEST_F(WindowKeys, ClosingIsRefusedWhileCwIsSentAndBacksUpOtherwise)
{
    start();
    form->keying().cwSending = true;
    form->keying().cwBuffer = "73";
    QCloseEvent refused;
    QApplication::sendEvent(form.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_TRUE(form->keying().cwBuffer.isEmpty());
    EXPECT_EQ(satellites.unloads, 0);

    form->keying().cwSending = false;
    QCloseEvent accepted;
    QApplication::sendEvent(form.get(), &accepted);
    EXPECT_TRUE(accepted.isAccepted());
    EXPECT_EQ(satellites.unloads, 1);
}

TEST_F(WindowKeys, FocusCuesFollowTheVoiceNavigationLevel)
{
    start();
    form->prefs().voiceNavLevel = 1;
    type("w1aw a");
    field("txtCall")->setFocus();
    EXPECT_EQ(satellites.cues, QStringList{"Call"});
    form->prefs().voiceNavLevel = 2;
    satellites.cues.clear();
    type(" x 1 ");
    EXPECT_EQ(satellites.cues, (QStringList{"Name", "RstRcvd", "SPC"}));
}
