// The main window over the real voice keyer and voice navigation, with a scripted wave player
// and recording keying lines: what the operator's keys do to PTT and to the sound.
#include "core/LogLine.h"
#include "platform/SerialLineSharing.h"
#include "support/FakeKeying.h"
#include "support/FakeWavePlayer.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"
#include "voice/VoiceKeyer.h"
#include "voice/VoiceMessageFile.h"
#include "voice/VoiceNavigation.h"
#include "voice/VoiceSubsystem.h"
#include "voice/WaveFixtures.h"

#include <QFile>

namespace cubwave::test {
namespace {

class VoiceMainWindow : public MainWindowFixture {
protected:
    static constexpr qint64 kMessageMs = 1200;
    static constexpr qint64 kCueMs = 600;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        message = wave("cq.wav", kMessageMs, messagePlayer);
        for (const char* cue : {"Call", "Name", "RstRcvd", "SPC", "Power", "Dupe", "NavEn", "NavDis"})
            wave(QString::fromLatin1(cue) + ".wav", kCueMs, cuePlayer);
        VoiceSettings s;
        s.paths[0] = message;
        s.paths[1] = dir.filePath("missing.wav");
        s.port = "3";
        s.pttLine = PttLine::Rts;
        ASSERT_TRUE(VoiceMessageFile::save(dir.path(), s).ok);
        voice.setLevelSource([this] { return form ? static_cast<int>(form->prefs().voiceNavLevel) : 0; });
        voicePort = &voice;
    }

    // Starts the window in phone mode at a navigation level.
    void startPhone(int level)
    {
        Preferences prefs = savedPrefs();
        prefs.mode = "PH";
        prefs.voiceNavLevel = static_cast<quint8>(level);
        writePrefs(prefs);
        start();
    }

    QString wave(const QString& name, qint64 ms, FakeWavePlayer& player)
    {
        const QString path = dir.filePath(name);
        writeFile(path, wavBytes(8000, 1, 16, static_cast<quint32>(ms * 16)));
        FakeWavePlayer::Script script;
        script.durationMs = ms;
        player.scripts[path] = script;
        return path;
    }

    // Virtual time passes; the keyer's and the cues' 40 ms polls run as their timers would.
    void run(qint64 ms)
    {
        while (ms > 0) {
            const qint64 step = std::min<qint64>(ms, VoiceKeyer::kPollMs);
            clock.advanceMs(step);
            ms -= step;
            if (keyer.pollActive())
                keyer.poll();
            if (navigation.pollActive())
                navigation.poll();
        }
    }

    bool rtsUp() const
    {
        bool up = false;
        for (const auto& c : serial.changes())
            if (c.line == ModemLine::Rts)
                up = c.raised;
        return up;
    }
    QStringList cueNames() const
    {
        QStringList names;
        for (const QString& path : cuePlayer.played)
            names << QFileInfo(path).completeBaseName();
        return names;
    }

    QString message;
    FakeWavePlayer messagePlayer{[this] { return clock.ticksMs(); }};
    FakeWavePlayer cuePlayer{[this] { return clock.ticksMs(); }};
    FakeSerialLine serial{[this] { return clock.ticksMs() * 1'000'000; }};
    FakeParallelPorts parallel{[this] { return clock.ticksMs() * 1'000'000; }};
    SerialLineSharing sharing;
    VoiceKeyer keyer{{messagePlayer, serial, parallel, [] { return SerialPortMap::parse("3=/dev/ttyPTT3\n"); },
                      clock, &sharing}};
    VoiceNavigation navigation{cuePlayer, clock, dir.path()};
    VoiceSubsystem voice{keyer, navigation, dir.path()};
};

}  // namespace

TEST_F(VoiceMainWindow, StartUpReadsTheMessageListWithoutOpeningThePort)
{
    startPhone(0);
    EXPECT_EQ(keyer.settings().paths[0], message);
    EXPECT_EQ(keyer.settings().port, "3");
    EXPECT_TRUE(serial.opens.empty());
}

TEST_F(VoiceMainWindow, F1KeysPttForTheFileAndDropsItAfter)
{
    startPhone(0);
    key(Qt::Key_F1);
    EXPECT_EQ(serial.opens, std::vector<QString>{"/dev/ttyPTT3"});
    EXPECT_TRUE(rtsUp());
    EXPECT_EQ(messagePlayer.played, QStringList{message});
    EXPECT_TRUE(form->findChild<QLineEdit*>("txtCall")->text().isEmpty());

    run(kMessageMs - VoiceKeyer::kPollMs);
    EXPECT_TRUE(rtsUp()) << "dropped before the file ended";
    run(2 * VoiceKeyer::kPollMs);
    EXPECT_FALSE(rtsUp());
    EXPECT_FALSE(keyer.pttUp());
}

TEST_F(VoiceMainWindow, EscStopsTheMessageThenClearsTheEntryLine)
{
    startPhone(0);
    field("txtCall")->setText("W1AW");
    key(Qt::Key_F1);
    run(200);
    ASSERT_TRUE(rtsUp());
    key(Qt::Key_Escape);
    EXPECT_FALSE(messagePlayer.playing());
    EXPECT_FALSE(rtsUp());
    EXPECT_EQ(field("txtCall")->text(), "W1AW");
    key(Qt::Key_Escape);
    EXPECT_TRUE(field("txtCall")->text().isEmpty());
}

TEST_F(VoiceMainWindow, AMessageThatCannotPlayNeverKeysAndSaysWhyOnTheStatusLine)
{
    startPhone(0);
    key(Qt::Key_F2);
    EXPECT_FALSE(keyer.pttUp());
    for (const auto& c : serial.changes())
        EXPECT_FALSE(c.raised);
    EXPECT_TRUE(status().startsWith("Voice message not sent: ")) << status().toStdString();
    EXPECT_TRUE(status().contains("missing.wav"));
}

TEST_F(VoiceMainWindow, FocusCuesPlayAtLevelTwoAfterTheLevelIsAnnounced)
{
    startPhone(2);
    key(Qt::Key_Tab);
    // The first cue of the run announces the level; the field's own cue follows it.
    ASSERT_FALSE(cueNames().isEmpty());
    EXPECT_EQ(cueNames().first(), "NavEn");
    EXPECT_NE(cueNames().last(), "Name");
    run(kCueMs + 2 * VoiceNavigation::kPollMs);
    EXPECT_EQ(cueNames().last(), "Name");
    key(Qt::Key_Tab);
    EXPECT_EQ(cueNames().last(), "RstRcvd");
    // A quick second focus cuts the first off.
    key(Qt::Key_Tab);
    EXPECT_EQ(cueNames().last(), "SPC");
    EXPECT_EQ(cuePlayer.nowPlaying(), dir.filePath("SPC.wav"));
    EXPECT_FALSE(keyer.pttUp());
}

TEST_F(VoiceMainWindow, NoCueSoundsWhilePttIsUpAndAMessageCutsACueOff)
{
    startPhone(2);
    key(Qt::Key_Tab);
    run(kCueMs + 2 * VoiceNavigation::kPollMs);
    ASSERT_EQ(cuePlayer.nowPlaying(), dir.filePath("Name.wav"));
    key(Qt::Key_F1);
    EXPECT_FALSE(cuePlayer.playing()) << "a cue went on the air with the message";
    ASSERT_TRUE(rtsUp());
    const qsizetype cuesBefore = cuePlayer.played.size();
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    EXPECT_EQ(cuePlayer.played.size(), cuesBefore);
    EXPECT_FALSE(cuePlayer.playing());

    run(kMessageMs + VoiceKeyer::kPollMs);
    ASSERT_FALSE(rtsUp());
    key(Qt::Key_Tab);
    EXPECT_EQ(cuePlayer.played.size(), cuesBefore + 1);
    EXPECT_TRUE(cuePlayer.playing());
}

TEST_F(VoiceMainWindow, ADupeNeverHoldsTheCommitAndTheNextFocusCueWaitsForIt)
{
    QsoRecord earlier;
    earlier[QsoRecord::Call] = "W1AW";
    earlier[QsoRecord::Age] = "12";
    earlier[QsoRecord::Spc] = "CT";
    earlier[QsoRecord::Date] = "2026/06/13";
    earlier[QsoRecord::Time] = "18:00:00";
    earlier[QsoRecord::Mode] = "PH";
    earlier[QsoRecord::Band] = "20";
    earlier[QsoRecord::Name] = "TOM";
    writeLog(LogLine::format(earlier).toUtf8() + "\r\n");
    startPhone(2);
    run(3 * kCueMs);  // the announcement and "Call" are over
    cuePlayer.played.clear();

    type("w1aw");
    const qint64 before = clock.ticksMs();
    key(Qt::Key_Return);
    EXPECT_EQ(clock.ticksMs(), before) << "the commit waited for the cue";
    EXPECT_EQ(form->store().count(), 2);
    EXPECT_EQ(cueNames(), QStringList{"Dupe"});
    key(Qt::Key_Tab);
    EXPECT_EQ(cueNames(), QStringList{"Dupe"}) << "a focus cue cut the duplicate's off";
    run(kCueMs + 2 * VoiceNavigation::kPollMs);
    EXPECT_EQ(cueNames(), (QStringList{"Dupe", "Name"}));
}

TEST_F(VoiceMainWindow, ExitingTheWindowDropsPtt)
{
    startPhone(0);
    key(Qt::Key_F1);
    ASSERT_TRUE(rtsUp());
    form->close();
    EXPECT_FALSE(rtsUp());
    EXPECT_FALSE(messagePlayer.playing());
}

TEST_F(VoiceMainWindow, AMissingMessageListStopsTheStartUpAndSaysWhy)
{
    ASSERT_TRUE(QFile::remove(dir.filePath("wave2.txt")));
    startPhone(0);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().title, "Error opeining file");
    EXPECT_TRUE(status().contains("wave2.txt")) << status().toStdString();
    // The box, which the operator reads, has the fixed text and then the way out.
    const QString box = dialogs.messages.back().text;
    EXPECT_TRUE(box.startsWith("Error opening file\n\nThe start-up stopped: ")) << box.toStdString();
    EXPECT_TRUE(box.contains("wave2.txt")) << box.toStdString();
    EXPECT_TRUE(box.endsWith("Copy the wave2.txt that comes with the program into " +
                             QDir::toNativeSeparators(dir.path()) + "."))
        << box.toStdString();
    // The log itself was loaded before this step and stays writable.
    EXPECT_TRUE(form->logLoaded());
}

TEST_F(VoiceMainWindow, TheTransmitIndicatorIsLitWhilePttIsUp)
{
    startPhone(0);
    auto* tx = form->findChild<QLabel*>("lblTX");
    ASSERT_NE(tx, nullptr);
    const auto lit = [tx] { return tx->palette().color(QPalette::Window) == QColor(255, 0, 0); };
    EXPECT_FALSE(lit());
    key(Qt::Key_F1);
    ASSERT_TRUE(rtsUp());
    EXPECT_TRUE(lit());
    run(kMessageMs + 2 * VoiceKeyer::kPollMs);
    ASSERT_FALSE(rtsUp());
    EXPECT_FALSE(lit());
}

// The start-up puts the focus in the call field before the window shows: its cue is heard as
// the window first takes the focus, and not again when the window is activated later.
TEST_F(VoiceMainWindow, TheCallCueSoundsAtStartUp)
{
    startPhone(1);
    run(3 * kCueMs);
    EXPECT_TRUE(cueNames().contains("Call")) << cueNames().join(' ').toStdString();
    const qsizetype cues = cuePlayer.played.size();
    auto other = std::make_unique<QWidget>();
    other->show();
    QApplication::setActiveWindow(other.get());
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(form.get());
    QCoreApplication::processEvents();
    run(3 * kCueMs);
    EXPECT_EQ(cuePlayer.played.size(), cues);
}

}  // namespace cubwave::test
