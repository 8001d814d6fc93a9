#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class WindowKeysTest : public MainWindowFixture {
protected:
    void useMode(const char* mode, bool configured)
    {
        form->prefs().mode = mode;
        ports.cw.isConfigured = configured;
    }
    QColor statusBack() const { return label("lblDialog")->palette().color(QPalette::Window); }
};

}  // namespace

TEST_F(WindowKeysTest, CtrlShortcutsOpenTheirWindowsAndSwallowTheNextCharacter)
{
    start();
    using W = WindowLauncher::Window;
    const std::tuple<Qt::Key, W, bool> cases[] = {
        {Qt::Key_B, W::SpectrumMap, true}, {Qt::Key_C, W::CwSetup, false},    {Qt::Key_D, W::DxSpotting, false},
        {Qt::Key_F, W::BandPlan, true},    {Qt::Key_G, W::RigTune, true},     {Qt::Key_P, W::VoiceSetup, false},
        {Qt::Key_R, W::RigInterface, false}, {Qt::Key_S, W::CwSetup, false}, {Qt::Key_W, W::CwStrings, false},
    };
    for (const auto& [k, window, modal] : cases) {
        ports.windows.shown.clear();
        key(k, Qt::ControlModifier);
        ASSERT_EQ(ports.windows.shown.size(), 1u) << k;
        EXPECT_EQ(ports.windows.shown[0].window, window);
        EXPECT_EQ(ports.windows.shown[0].modal, modal);
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
    EXPECT_EQ(ports.windows.shown.size(), 1u);
}

TEST_F(WindowKeysTest, AnAltChordTypesNothingIntoTheEntryLine)
{
    start();
    type("w1a");
    key(Qt::Key_D, Qt::AltModifier);
    key(Qt::Key_7, Qt::AltModifier | Qt::ShiftModifier);
    type("w");
    EXPECT_EQ(field("txtCall")->text(), "W1AW");
}

TEST_F(WindowKeysTest, FunctionKeysFollowTheModeAndTheCwInterface)
{
    start();
    useMode("CW", false);
    key(Qt::Key_F1);
    key(Qt::Key_Up);
    EXPECT_TRUE(ports.cw.keys.empty());
    EXPECT_EQ(ports.cw.speedUps, 0);

    useMode("CW", true);
    key(Qt::Key_F1);
    key(Qt::Key_F10);
    key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(ports.cw.keys, (std::vector<int>{112, 124, 114}));
    key(Qt::Key_Down);
    EXPECT_EQ(ports.cw.speedDowns, 1);
    EXPECT_EQ(status(), "13 WPM");

    // Ctrl+F1 sends F1 and still eats the next character.
    ports.cw.keys.clear();
    key(Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(ports.cw.keys, std::vector<int>{112});
    type("ab");
    EXPECT_EQ(field("txtCall")->text(), "B");

    useMode("PH", true);
    ports.cw.keys.clear();
    key(Qt::Key_F2);
    key(Qt::Key_F10);
    key(Qt::Key_F11);
    key(Qt::Key_F12);
    EXPECT_EQ(ports.voice.keys, std::vector<int>{113});
    EXPECT_TRUE(ports.cw.keys.empty());
}

TEST_F(WindowKeysTest, F12TogglesKeyboardCwWhoseKeysGoToTheSendBuffer)
{
    start();
    useMode("CW", true);
    key(Qt::Key_F12);
    EXPECT_TRUE(ports.cw.kbdMode);
    EXPECT_EQ(status(), "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");
    EXPECT_EQ(statusBack(), QColor(255, 255, 192));

    type("cq");
    EXPECT_EQ(ports.cw.buffer, "CQ");
    EXPECT_TRUE(field("txtCall")->text().isEmpty());
    EXPECT_EQ(ports.cw.pumpStarts, 2);

    ports.cw.sending = true;
    key(Qt::Key_Backspace);
    EXPECT_EQ(ports.cw.buffer, "C");
    // Esc while sending empties the buffer and leaves the entry line alone.
    field("txtCall")->setText("W1AW");
    key(Qt::Key_Escape);
    EXPECT_TRUE(ports.cw.buffer.isEmpty());
    EXPECT_EQ(field("txtCall")->text(), "W1AW");

    ports.cw.sending = false;
    key(Qt::Key_F12);
    EXPECT_FALSE(ports.cw.kbdMode);
    EXPECT_EQ(status(), "");
    EXPECT_EQ(statusBack(), QColor(0, 192, 192));
}

TEST_F(WindowKeysTest, EscStopsVoiceFirstThenClearsTheEntryLine)
{
    start();
    useMode("PH", false);
    field("txtCall")->setText("W1AW");
    ports.voice.isPlaying = true;
    key(Qt::Key_Escape);
    EXPECT_EQ(ports.voice.stops, 1);
    EXPECT_EQ(field("txtCall")->text(), "W1AW");
    key(Qt::Key_Escape);
    EXPECT_TRUE(field("txtCall")->text().isEmpty());
}

TEST_F(WindowKeysTest, EscWithABusyWinKeyClearsItsBuffer)
{
    start();
    useMode("CW", true);
    ports.cw.buffer = "TEST";
    ports.cw.keyerBusy = true;
    field("txtCall")->setText("W1AW");
    key(Qt::Key_Escape);
    EXPECT_EQ(ports.cw.clears, 1);
    EXPECT_TRUE(ports.cw.buffer.isEmpty());
    EXPECT_EQ(field("txtCall")->text(), "W1AW");

    // In keyboard CW, Backspace deletes the keyer's last buffered character instead.
    ports.cw.kbdMode = true;
    ports.cw.keyerBusy = true;
    key(Qt::Key_Backspace);
    EXPECT_EQ(ports.cw.keyerBackspaces, 1);
}

TEST_F(WindowKeysTest, AnyKeyCancelsARunningRepeat)
{
    start();
    ports.cw.repeat = true;
    ports.voice.repeat = true;
    ports.cw.buffer = "CQ TEST";
    type("k");
    EXPECT_FALSE(ports.cw.repeat);
    EXPECT_FALSE(ports.voice.repeat);
    EXPECT_TRUE(ports.cw.buffer.isEmpty());
    EXPECT_EQ(ports.cw.repeatStops, 1);
    EXPECT_EQ(ports.voice.repeatStops, 1);
    EXPECT_EQ(field("txtCall")->text(), "K");
}

TEST_F(WindowKeysTest, ClosingIsRefusedWhileCwIsSentAndBacksUpOtherwise)
{
    start();
    ports.cw.sending = true;
    ports.cw.buffer = "73";
    QCloseEvent refused;
    QApplication::sendEvent(form.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_TRUE(ports.cw.buffer.isEmpty());
    EXPECT_TRUE(ports.unloads.isEmpty());

    ports.cw.sending = false;
    QCloseEvent accepted;
    QApplication::sendEvent(form.get(), &accepted);
    EXPECT_TRUE(accepted.isAccepted());
    // The keyers first, the WinKey keyer last; then every keying line is dropped.
    EXPECT_EQ(ports.unloads, (QStringList{"voice", "cw", "cues", "rig", "spots", "map", "cwstrings", "winkey"}));
    EXPECT_EQ(ports.cw.releases, 1);
    EXPECT_EQ(ports.voice.releases, 1);
}

TEST_F(WindowKeysTest, FocusCuesFollowTheVoiceNavigationLevel)
{
    start();
    form->prefs().voiceNavLevel = 1;
    type("w1aw a");
    field("txtCall")->setFocus();
    EXPECT_EQ(ports.voice.cues, QStringList{"Call"});
    form->prefs().voiceNavLevel = 2;
    ports.voice.cues.clear();
    type(" x 1 ");
    EXPECT_EQ(ports.voice.cues, (QStringList{"Name", "RstRcvd", "SPC"}));
}
