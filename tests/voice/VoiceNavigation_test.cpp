#include "voice/VoiceFixture.h"
#include "voice/VoiceNavigation.h"

#include <memory>

namespace cubwave {
namespace {

using Field = VoiceNavigation::Field;
using test::FakeWavePlayer;

const QStringList kAllCues = {"Call", "Name", "RstRcvd", "SPC", "Power", "Dupe", "NavEn", "NavDis"};

// Cues of 600 ms each in the working directory, except those a test leaves out.
class VoiceNavigationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QString& cue : kAllCues)
            addCue(cue, 600);
    }

    void addCue(const QString& cue, qint64 ms, const QString& fileName = {})
    {
        const QString path = dir.filePath(fileName.isEmpty() ? cue + ".wav" : fileName);
        test::writeFile(path, test::wavBytes(8000, 1, 16, static_cast<quint32>(ms * 16)));
        FakeWavePlayer::Script s;
        s.durationMs = ms;
        player.scripts[path] = s;
    }
    FakeWavePlayer::Script& script(const QString& cue) { return player.scripts[dir.filePath(cue + ".wav")]; }

    VoiceNavigation& make(int level)
    {
        nav = std::make_unique<VoiceNavigation>(player, clock, dir.path(), level);
        QObject::connect(nav.get(), &VoiceNavigation::cueStarted, [this](const QString& cue) { started << cue; });
        return *nav;
    }
    // Level in use with its announcement over, so a test sees only its own cues.
    VoiceNavigation& announced(int level)
    {
        make(level).announceLevel();
        run(3000);
        started.clear();
        return *nav;
    }

    void run(qint64 ms)
    {
        while (ms > 0) {
            const qint64 step = std::min<qint64>(ms, VoiceNavigation::kPollMs);
            clock.advanceMs(step);
            ms -= step;
            if (nav->pollActive())
                nav->poll();
        }
    }
    QString playing() const { return QFileInfo(player.nowPlaying()).completeBaseName(); }

    QTemporaryDir dir;
    test::FakeClock clock;
    FakeWavePlayer player{[this] { return clock.ticksMs(); }};
    std::unique_ptr<VoiceNavigation> nav;
    QStringList started;
};

TEST_F(VoiceNavigationTest, FocusCuesFollowTheLevel)
{
    struct Case {
        Field field;
        const char* cue;
        int fromLevel;
    };
    const Case cases[] = {{Field::Call, "Call", 1},   {Field::Name, "Name", 2}, {Field::Age, "RstRcvd", 2},
                          {Field::Spc, "SPC", 2},     {Field::Other, "Power", 2}};
    for (int level : {0, 1, 2, 3}) {
        announced(level);
        for (const Case& c : cases) {
            started.clear();
            nav->fieldFocused(c.field);
            const QStringList expected = level >= c.fromLevel ? QStringList{c.cue} : QStringList{};
            EXPECT_EQ(started, expected) << "level " << level << " " << c.cue;
            run(1000);
        }
    }
}

TEST_F(VoiceNavigationTest, DupePlaysAtAnyLevelWhenItsFileIsThere)
{
    for (int level : {0, 1, 2}) {
        announced(level).duplicateFound();
        EXPECT_EQ(started, QStringList{"Dupe"}) << level;
        EXPECT_EQ(playing(), "Dupe");
        run(1000);
    }
    QFile::remove(dir.filePath("Dupe.wav"));
    announced(0).duplicateFound();
    EXPECT_TRUE(started.isEmpty());
    EXPECT_FALSE(nav->cuePlaying());
}

TEST_F(VoiceNavigationTest, TheSecondOfTwoQuickFocusCuesCutsTheFirst)
{
    announced(2).fieldFocused(Field::Call);
    run(200);
    nav->fieldFocused(Field::Name);
    EXPECT_EQ(started, (QStringList{"Call", "Name"}));
    EXPECT_EQ(playing(), "Name");
    EXPECT_TRUE(nav->pendingCue().isEmpty());
}

TEST_F(VoiceNavigationTest, CueFilesJoinTheWorkingDirectoryAndAreFoundInAnyCase)
{
    EXPECT_EQ(VoiceNavigation::cuePath("/home/op/Cubwave", "Call"), "/home/op/Cubwave/Call.wav");
    QFile::remove(dir.filePath("Name.wav"));
    addCue("Name", 500, "NAME.WAV");
    announced(2).fieldFocused(Field::Name);
    EXPECT_EQ(player.nowPlaying(), dir.filePath("NAME.WAV"));
}

TEST_F(VoiceNavigationTest, CallOnlyPlaysCallWhenNavEnEndsWithoutWaiting)
{
    announced(2).chooseOption(VoiceNavigation::kCallOnly);
    // Nothing waits: the call returns with "NavEn" playing and "Call" to follow.
    EXPECT_EQ(started, QStringList{"NavEn"});
    EXPECT_EQ(nav->pendingCue(), "Call");
    run(560);
    EXPECT_EQ(started, QStringList{"NavEn"});
    run(40);
    EXPECT_EQ(started, (QStringList{"NavEn", "Call"}));
    EXPECT_FALSE(nav->pollActive());
    // The level itself is chosen by "Done", not by the option.
    EXPECT_EQ(nav->level(), 2);
}

TEST_F(VoiceNavigationTest, OptionsPlayTheirCues)
{
    announced(0).chooseOption(VoiceNavigation::kOff);
    EXPECT_EQ(started, QStringList{"NavDis"});
    nav->chooseOption(VoiceNavigation::kAllFields);
    EXPECT_EQ(started, (QStringList{"NavDis", "NavEn"}));
    run(2000);
    EXPECT_EQ(started.size(), 2);
}

TEST_F(VoiceNavigationTest, CallAfterNavEnWaitsNoLongerThanItsLengthAndTwoSeconds)
{
    script("NavEn").neverEnds = true;
    announced(1).chooseOption(VoiceNavigation::kCallOnly);
    run(2560);
    EXPECT_EQ(started, QStringList{"NavEn"});
    run(40);
    EXPECT_EQ(started, (QStringList{"NavEn", "Call"}));
}

TEST_F(VoiceNavigationTest, CallIsPlayedAtOnceWhenNavEnIsMissing)
{
    QFile::remove(dir.filePath("NavEn.wav"));
    announced(1).chooseOption(VoiceNavigation::kCallOnly);
    EXPECT_EQ(started, QStringList{"Call"});
}

TEST_F(VoiceNavigationTest, APendingCallIsDroppedWhenAnotherCueStarts)
{
    announced(2).chooseOption(VoiceNavigation::kCallOnly);
    nav->fieldFocused(Field::Name);
    EXPECT_EQ(started, (QStringList{"NavEn", "Name"}));
    run(3000);
    EXPECT_EQ(started, (QStringList{"NavEn", "Name"}));

    started.clear();
    nav->chooseOption(VoiceNavigation::kCallOnly);
    nav->blindKeyPhone("SPC");
    nav->duplicateFound();
    run(3000);
    EXPECT_EQ(started, (QStringList{"NavEn", "SPC", "Dupe"}));
}

TEST_F(VoiceNavigationTest, DupeHoldsNothingAndTheNextFocusCueWaitsForIt)
{
    announced(2).fieldFocused(Field::Other);
    // The duplicate cuts off a focus cue and returns at once.
    nav->duplicateFound();
    EXPECT_EQ(playing(), "Dupe");
    // The commit moves the focus: its cue waits for "Dupe" to end.
    nav->fieldFocused(Field::Call);
    EXPECT_EQ(playing(), "Dupe");
    EXPECT_EQ(nav->pendingCue(), "Call");
    // A later focus change replaces the waiting cue.
    nav->fieldFocused(Field::Name);
    EXPECT_EQ(nav->pendingCue(), "Name");
    run(560);
    EXPECT_EQ(playing(), "Dupe");
    run(40);
    EXPECT_EQ(playing(), "Name");
    EXPECT_EQ(started, (QStringList{"Power", "Dupe", "Name"}));
}

TEST_F(VoiceNavigationTest, NoCueWhileAMessageIsOnTheAir)
{
    announced(2).fieldFocused(Field::Call);
    run(100);
    nav->setTransmitting(true);
    EXPECT_FALSE(nav->cuePlaying());
    nav->fieldFocused(Field::Name);
    nav->duplicateFound();
    nav->blindKeyPhone("SPC");
    nav->chooseOption(VoiceNavigation::kAllFields);
    EXPECT_EQ(started, QStringList{"Call"});
    nav->setTransmitting(false);
    nav->fieldFocused(Field::Name);
    EXPECT_EQ(started, (QStringList{"Call", "Name"}));
}

TEST_F(VoiceNavigationTest, AWaitingCueIsDroppedWhenAMessageStarts)
{
    announced(2).duplicateFound();
    nav->fieldFocused(Field::Call);
    ASSERT_EQ(nav->pendingCue(), "Call");
    nav->setTransmitting(true);
    nav->setTransmitting(false);
    run(3000);
    EXPECT_EQ(started, QStringList{"Dupe"});
}

TEST_F(VoiceNavigationTest, TheKeyersMessagesSilenceCues)
{
    test::FakeSerialLine serial;
    test::FakeParallelPorts parallel;
    VoiceKeyer keyer({player, serial, parallel, [] { return SerialPortMap(); }, clock});
    announced(2).follow(keyer);
    const QString cq = dir.filePath("cq.wav");
    test::writeFile(cq, test::wavBytes(8000, 1, 16, 16000));
    VoiceSettings s;
    s.paths[0] = cq;
    s.pttLine = PttLine::Parallel;
    keyer.setSettings(s);

    // The cue and the message share the fake player here, as they share the sound card: the
    // message must be what plays.
    nav->fieldFocused(Field::Call);
    keyer.fKeyPhone(VoiceKeyer::kF1);
    EXPECT_EQ(player.nowPlaying(), cq);
    EXPECT_TRUE(keyer.pttUp());
    nav->fieldFocused(Field::Name);
    EXPECT_EQ(player.nowPlaying(), cq);
    EXPECT_EQ(started, QStringList{"Call"});
    for (int i = 0; i < 30; ++i) {
        clock.advanceMs(40);
        keyer.poll();
    }
    ASSERT_FALSE(keyer.pttUp());
    nav->fieldFocused(Field::Name);
    EXPECT_EQ(started, (QStringList{"Call", "Name"}));
}

TEST_F(VoiceNavigationTest, TheFirstCueOfTheRunFollowsTheLevelsAnnouncement)
{
    make(2).fieldFocused(Field::Call);
    EXPECT_EQ(started, QStringList{"NavEn"});
    EXPECT_EQ(nav->pendingCue(), "Call");
    run(600);
    EXPECT_EQ(started, (QStringList{"NavEn", "Call"}));
    // Once per run.
    run(1000);
    nav->fieldFocused(Field::Call);
    EXPECT_EQ(started, (QStringList{"NavEn", "Call", "Call"}));

    started.clear();
    make(1).fieldFocused(Field::Call);
    run(1000);
    EXPECT_EQ(started, (QStringList{"NavEn", "Call"}));

    // At level 0 the first cue is a duplicate's, which would cut the announcement off at once.
    started.clear();
    make(0).duplicateFound();
    EXPECT_EQ(started, QStringList{"Dupe"});
    EXPECT_TRUE(nav->announced());
}

TEST_F(VoiceNavigationTest, TheCuesOfTheLevelAreBuiltAhead)
{
    make(0).prepareWaitingNow();
    EXPECT_EQ(player.prepared, QStringList{dir.filePath("Dupe.wav")});
    player.prepared.clear();
    QFile::remove(dir.filePath("Power.wav"));
    nav->setLevel(2);
    nav->prepareWaitingNow();
    EXPECT_EQ(player.prepared.size(), 7);  // every cue present; "Dupe" again is cheap
    EXPECT_FALSE(player.prepared.contains(dir.filePath("Power.wav")));
}

}  // namespace
}  // namespace cubwave
