#include "voice/VoiceFixture.h"

namespace cubwave {
namespace {

using test::FakeWavePlayer;
using VoiceKeyerTest = test::VoiceKeyerFixture;

constexpr int F1 = VoiceKeyer::kF1;
constexpr int F2 = F1 + 1;
constexpr int F4 = F1 + 3;
constexpr int F9 = VoiceKeyer::kF9;

TEST_F(VoiceKeyerTest, KeysTheChosenLinesWhileTheMessagePlays)
{
    struct Case {
        const char* port;
        PttLine line;
        bool rts, dtr, parallel;
    };
    const Case cases[] = {
        {"3", PttLine::Rts, true, false, false},
        {"3", PttLine::Dtr, false, true, false},
        // "Parallel" with a serial port keys RTS of that port too.
        {"3", PttLine::Parallel, true, false, true},
        {"0", PttLine::Parallel, false, false, true},
        {"0", PttLine::Rts, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + std::to_string(int(c.line)));
        const QString cq = wave("cq.wav", 1000);
        use([&](VoiceSettings& s) {
            s.paths[0] = cq;
            s.port = c.port;
            s.pttLine = c.line;
        });
        keyer.fKeyPhone(F1);
        EXPECT_EQ(player.nowPlaying(), cq);
        EXPECT_TRUE(keyer.playing());
        EXPECT_EQ(up(ModemLine::Rts), c.rts);
        EXPECT_EQ(up(ModemLine::Dtr), c.dtr);
        const auto printer = parallelLine(0x378);
        EXPECT_EQ(printer && printer->keyed(), c.parallel);
        EXPECT_EQ(keyer.pttUp(), c.rts || c.dtr || c.parallel);
        if (c.port == QString("3")) {
            EXPECT_EQ(serial.devicePath(), "/dev/ttyPTT3");
        }

        run(1040);
        EXPECT_FALSE(keyer.playing());
        EXPECT_FALSE(up(ModemLine::Rts));
        EXPECT_FALSE(up(ModemLine::Dtr));
        EXPECT_FALSE(printer && printer->keyed());
        EXPECT_FALSE(keyer.pttUp());
        EXPECT_FALSE(keyer.pollActive());
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
        keyer.releaseAll();
    }
}

TEST_F(VoiceKeyerTest, PttDropsOnThePollAfterTheEnd)
{
    const QString cq = wave("cq.wav", 1000);
    use([&](VoiceSettings& s) {
        s.paths[0] = cq;
        s.port = "3";
    });
    keyer.fKeyPhone(F1);
    ASSERT_TRUE(up(ModemLine::Rts));
    run(960);
    EXPECT_TRUE(up(ModemLine::Rts));
    run(40);
    EXPECT_FALSE(up(ModemLine::Rts));
    const auto rts = serial.edges(ModemLine::Rts);
    ASSERT_GE(rts.size(), 2u);
    // Up for the file's length, down within one poll of its end.
    EXPECT_EQ(rts.back().ns - rts[rts.size() - 2].ns, 1000 * 1'000'000LL);
    EXPECT_EQ(pttEvents, (std::vector<bool>{true, false}));
}

TEST_F(VoiceKeyerTest, OtherKeysDoNothing)
{
    use([&](VoiceSettings& s) {
        for (QString& p : s.paths)
            p = wave("m.wav", 500);
        s.port = "3";
    });
    for (int code : {0, 27, F1 - 1, F9 + 1, 123, 124})
        keyer.fKeyPhone(code);
    EXPECT_TRUE(player.opened.isEmpty());
    EXPECT_TRUE(serial.opens.empty());
    keyer.fKeyPhone(F9);
    EXPECT_EQ(player.played.size(), 1);
}

TEST_F(VoiceKeyerTest, F2WhileF1PlaysSwitchesAtOnceWithPttUpThroughout)
{
    const QString cq = wave("cq.wav", 3000);
    const QString tu = wave("tu.wav", 800);
    use([&](VoiceSettings& s) {
        s.paths[0] = cq;
        s.paths[1] = tu;
        s.port = "3";
        s.pttLine = PttLine::Parallel;
    });
    keyer.fKeyPhone(F1);
    run(400);
    keyer.fKeyPhone(F2);
    EXPECT_EQ(player.nowPlaying(), tu);
    EXPECT_EQ(raises(ModemLine::Rts), 1);
    EXPECT_EQ(parallelLine(0x378)->edges().size(), 1u);
    run(760);
    EXPECT_TRUE(up(ModemLine::Rts));
    run(40);
    EXPECT_FALSE(up(ModemLine::Rts));
    EXPECT_FALSE(parallelLine(0x378)->keyed());
    EXPECT_EQ(pttEvents, (std::vector<bool>{true, false}));
}

TEST_F(VoiceKeyerTest, AKeyWithoutAFileStopsTheMessageAndThePollDropsPtt)
{
    use([&](VoiceSettings& s) {
        s.paths[0] = wave("cq.wav", 3000);
        s.paths[3] = "   ";
        s.port = "3";
    });
    keyer.fKeyPhone(F1);
    run(200);
    keyer.fKeyPhone(F4);
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(player.opened.size(), 1);
    run(40);
    EXPECT_FALSE(up(ModemLine::Rts));
    EXPECT_FALSE(keyer.playing());
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(VoiceKeyerTest, F1RepeatsAfterTheIntervalUntilCancelled)
{
    const QString cq = wave("cq.wav", 1000);
    use([&](VoiceSettings& s) {
        s.paths[0] = cq;
        s.port = "3";
        s.loopSeconds = "10";
    });
    QList<bool> repeating;
    QObject::connect(&keyer, &VoiceKeyer::repeatingChanged, [&](bool on) { repeating << on; });
    keyer.fKeyPhone(F1);
    EXPECT_TRUE(keyer.repeating());
    EXPECT_FALSE(keyer.repeatTimerActive());
    run(1000);
    EXPECT_FALSE(up(ModemLine::Rts));
    // The gap runs from the end of one playing to the start of the next.
    EXPECT_TRUE(keyer.repeatTimerActive());
    EXPECT_EQ(repeatTimer.intervalMs, 10000);
    repeatTimer.run(clock);
    EXPECT_EQ(player.played.size(), 2);
    EXPECT_TRUE(up(ModemLine::Rts));
    keyer.cancelRepeat();
    EXPECT_FALSE(keyer.repeating());
    run(1000);
    EXPECT_FALSE(keyer.repeatTimerActive());
    EXPECT_EQ(repeating, (QList<bool>{true, false}));
    // A late timer after the cancel sends nothing.
    keyer.repeatDue();
    EXPECT_EQ(player.played.size(), 2);
}

TEST_F(VoiceKeyerTest, RepeatNeedsAnIntervalAboveZero)
{
    struct Case {
        const char* loop;
        bool repeats;
        bool timer;
    };
    for (const Case c : {Case{"0", false, false}, Case{"", false, false}, Case{"x", false, false},
                         Case{"0.0001", true, false},  // rounds to 0 ms: never fires
                         Case{"75", true, false}, Case{"0.5", true, true}}) {
        use([&](VoiceSettings& s) {
            s.paths[0] = wave("cq.wav", 100);
            s.loopSeconds = c.loop;
        });
        keyer.fKeyPhone(F1);
        EXPECT_EQ(keyer.repeating(), c.repeats) << c.loop;
        run(200);
        EXPECT_EQ(keyer.repeatTimerActive(), c.timer) << c.loop;
        keyer.cancelRepeat();
    }
    // Only F1 repeats.
    use([&](VoiceSettings& s) {
        s.paths[1] = wave("tu.wav", 100);
        s.loopSeconds = "5";
    });
    keyer.fKeyPhone(F2);
    EXPECT_FALSE(keyer.repeating());
}

TEST_F(VoiceKeyerTest, EscStopsTheMessageAndDropsPtt)
{
    use([&](VoiceSettings& s) {
        s.paths[0] = wave("cq.wav", 3000);
        s.port = "3";
        s.pttLine = PttLine::Dtr;
    });
    keyer.fKeyPhone(F1);
    run(500);
    EXPECT_TRUE(keyer.playing());
    keyer.stop();
    EXPECT_FALSE(keyer.playing());
    EXPECT_FALSE(player.playing());
    EXPECT_FALSE(up(ModemLine::Dtr));
    EXPECT_FALSE(keyer.pollActive());
    keyer.stop();  // nothing playing: nothing happens
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(VoiceKeyerTest, AFileThatCannotBeOpenedNeverKeysTheTransmitter)
{
    use([&](VoiceSettings& s) {
        s.paths[0] = dir.filePath("missing.wav");
        s.port = "3";
        s.pttLine = PttLine::Parallel;
    });
    keyer.fKeyPhone(F1);
    EXPECT_TRUE(serial.changes().empty());
    EXPECT_EQ(parallel.opens, 0);
    EXPECT_FALSE(keyer.playing());
    EXPECT_FALSE(keyer.pollActive());
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0], "Voice message not sent: " + dir.filePath("missing.wav") + ": No such file or directory");
}

TEST_F(VoiceKeyerTest, AFailureAfterKeyingDropsPttAtOnceWithFileAndReason)
{
    const QString cq = wave("cq.wav", 1000);
    struct Case {
        const char* what;
        std::function<void()> arrange;
        QString reason;
    };
    const Case cases[] = {
        {"play fails", [&] { player.scripts[cq].playError = "Resource busy"; }, "Resource busy"},
        {"parallel refused", [&] { parallel.refused[0x378] = "Permission denied"; }, "/dev/parport0: Permission denied"},
        {"parallel address", [&] { use([](VoiceSettings& s) { s.address = "&HXYZ"; }); },
         "Parallel port address \"&HXYZ\" is not a port address"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        player.scripts[cq] = FakeWavePlayer::Script{};
        parallel.refused.clear();
        problems.clear();
        use([&](VoiceSettings& s) {
            s.paths[0] = cq;
            s.port = "3";
            s.pttLine = PttLine::Parallel;
            s.address = "&H378";
            s.loopSeconds = "10";
        });
        c.arrange();
        keyer.fKeyPhone(F1);
        EXPECT_FALSE(up(ModemLine::Rts));
        EXPECT_FALSE(keyer.pttUp());
        EXPECT_FALSE(keyer.playing());
        EXPECT_FALSE(keyer.repeating());
        EXPECT_FALSE(keyer.pollActive());
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].contains(cq)) << problems[0].toStdString();
        EXPECT_TRUE(problems[0].endsWith(c.reason)) << problems[0].toStdString();
        keyer.releaseAll();
    }
}

TEST_F(VoiceKeyerTest, ANextMessageThatFailsDropsThePttOfTheOneBefore)
{
    use([&](VoiceSettings& s) {
        s.paths[0] = wave("cq.wav", 3000);
        s.paths[1] = dir.filePath("gone.wav");
        s.port = "3";
    });
    keyer.fKeyPhone(F1);
    run(300);
    keyer.fKeyPhone(F2);
    EXPECT_FALSE(up(ModemLine::Rts));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].startsWith("Voice message not sent, PTT dropped: ")) << problems[0].toStdString();
}

TEST_F(VoiceKeyerTest, AFailureWhilePlayingDropsPttOnTheNextPoll)
{
    const QString cq = wave("cq.wav", 3000);
    player.scripts[cq].failAfterMs = 100;
    use([&](VoiceSettings& s) {
        s.paths[0] = cq;
        s.port = "3";
        s.loopSeconds = "5";
    });
    keyer.fKeyPhone(F1);
    run(80);
    EXPECT_TRUE(up(ModemLine::Rts));
    run(40);
    EXPECT_FALSE(up(ModemLine::Rts));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0], "Voice message stopped, PTT dropped: " + cq + ": Internal data stream error.");
    // A failing message is not repeated.
    EXPECT_FALSE(keyer.repeating());
    EXPECT_FALSE(keyer.repeatTimerActive());
}

TEST_F(VoiceKeyerTest, APlayerThatNeverEndsIsStoppedTwoSecondsAfterTheFileLength)
{
    struct Case {
        const char* what;
        qint64 fileMs;
        bool reportsDuration;
        bool waveHeader;
        qint64 limitMs;
    };
    const Case cases[] = {
        {"player's length", 1000, true, true, 3000},
        {"header's length", 1500, false, true, 3500},
        {"no length at all", 1500, false, false, 300'000},
        {"capped", 400'000, true, true, 300'000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        problems.clear();
        const QString path = wave("stuck.wav", c.fileMs);
        if (!c.waveHeader)
            test::writeFile(path, "not a wave file");
        player.scripts[path].neverEnds = true;
        player.scripts[path].reportsDuration = c.reportsDuration;
        use([&](VoiceSettings& s) {
            s.paths[0] = path;
            s.port = "3";
        });
        keyer.fKeyPhone(F1);
        run(c.limitMs - 40);
        EXPECT_TRUE(up(ModemLine::Rts));
        EXPECT_TRUE(problems.isEmpty());
        run(40);
        EXPECT_FALSE(up(ModemLine::Rts));
        EXPECT_FALSE(player.playing());
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].startsWith("Voice message stopped, PTT dropped: " + path)) << problems[0].toStdString();
    }
}

TEST_F(VoiceKeyerTest, DropsExactlyWhatItRaisedWhateverTheSettingsSayByThen)
{
    struct Case {
        const char* what;
        PttLine line;
        std::function<void(VoiceSettings&)> change;
    };
    const Case cases[] = {
        {"RTS to DTR", PttLine::Rts, [](VoiceSettings& s) { s.pttLine = PttLine::Dtr; }},
        {"DTR to RTS", PttLine::Dtr, [](VoiceSettings& s) { s.pttLine = PttLine::Rts; }},
        {"Parallel to RTS", PttLine::Parallel, [](VoiceSettings& s) { s.pttLine = PttLine::Rts; }},
        {"another address", PttLine::Parallel, [](VoiceSettings& s) { s.address = "&H278"; }},
        {"port 0", PttLine::Parallel, [](VoiceSettings& s) { s.port = "0"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        use([&](VoiceSettings& s) {
            s.paths[0] = wave("cq.wav", 1000);
            s.port = "3";
            s.pttLine = c.line;
            s.address = "&H378";
        });
        keyer.fKeyPhone(F1);
        const bool rtsRaised = up(ModemLine::Rts);
        const bool dtrRaised = up(ModemLine::Dtr);
        const int rtsRaises = raises(ModemLine::Rts), dtrRaises = raises(ModemLine::Dtr);
        use(c.change);  // the modeless window changed while the message plays
        run(1040);
        EXPECT_FALSE(up(ModemLine::Rts));
        EXPECT_FALSE(up(ModemLine::Dtr));
        EXPECT_EQ(raises(ModemLine::Rts), rtsRaises);
        EXPECT_EQ(raises(ModemLine::Dtr), dtrRaises);
        EXPECT_TRUE(rtsRaised || dtrRaised);
        if (c.line == PttLine::Parallel) {
            ASSERT_TRUE(parallelLine(0x378));
            EXPECT_FALSE(parallelLine(0x378)->keyed());
            EXPECT_FALSE(parallel.lines.contains(0x278));
        }
        EXPECT_FALSE(keyer.pttUp());
        keyer.releaseAll();
    }
}

TEST_F(VoiceKeyerTest, ANewPttPortTakesItsLineDownWithTheOldPort)
{
    use([&](VoiceSettings& s) {
        s.paths[0] = wave("cq.wav", 2000);
        s.port = "3";
    });
    keyer.fKeyPhone(F1);
    ASSERT_TRUE(keyer.pttUp());
    use([](VoiceSettings& s) { s.port = "4"; });
    EXPECT_TRUE(keyer.openPttLine());
    EXPECT_EQ(serial.devicePath(), "/dev/ttyPTT4");
    EXPECT_EQ(serial.closes, 1);
    EXPECT_FALSE(keyer.pttUp());
    // The message goes on, without PTT; nothing is raised on the new port.
    EXPECT_TRUE(keyer.playing());
    EXPECT_FALSE(up(ModemLine::Rts));
}

TEST_F(VoiceKeyerTest, AnInvalidPortIsReportedAndTheMessagePlaysWithoutSerialPtt)
{
    const QString cq = wave("cq.wav", 1000);
    for (const char* port : {"3", "300"}) {
        SCOPED_TRACE(port);
        invalidPort.clear();
        problems.clear();
        serial.failOpen = true;
        use([&](VoiceSettings& s) {
            s.paths[0] = cq;
            s.port = port;
            s.pttLine = PttLine::Parallel;
        });
        keyer.fKeyPhone(F1);
        EXPECT_EQ(invalidPort, QStringList{"Invalid port.|The port you have selected for Phone keying is invalid.  "
                                           "Please select another or enter 0 for none."});
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].contains(port)) << problems[0].toStdString();
        EXPECT_EQ(player.nowPlaying(), cq);
        EXPECT_FALSE(up(ModemLine::Rts));
        EXPECT_TRUE(parallelLine(0x378)->keyed());
        run(1040);
        EXPECT_FALSE(parallelLine(0x378)->keyed());
        keyer.releaseAll();
    }
}

// The PTT line and the CW keying line pass a port between them by its device: the CW line is
// asked to give up only the port the PTT line wants, and the CW line taking it stops the message.
TEST_F(VoiceKeyerTest, ThePttLineAndTheCwLineTakeOnlyTheSharedPortFromEachOther)
{
    using User = SerialLineSharing::User;
    portMap = SerialPortMap::parse("3=/dev/null\n4=/dev/zero\n");
    serial.sharing = &sharing;
    serial.user = User::VoicePtt;
    const auto device = [](const char* path) { return *SerialLineSharing::deviceIdOf(QString::fromLatin1(path)); };
    sharing.setCloser(User::CwKeying, [&] {
        ++cwClosed;
        sharing.release(device("/dev/null"), User::CwKeying);
        sharing.release(device("/dev/zero"), User::CwKeying);
    });
    use([&](VoiceSettings& s) {
        s.paths[0] = wave("cq.wav", 1000);
        s.port = "0";
        s.loopSeconds = "5";
    });
    // Port "0" opens nothing and closes nothing.
    EXPECT_TRUE(keyer.openPttLine());
    EXPECT_EQ(cwClosed, 0);
    // The CW line on another device is left alone.
    ASSERT_TRUE(sharing.claim(device("/dev/zero"), User::CwKeying));
    use([](VoiceSettings& s) { s.port = "3"; });
    EXPECT_TRUE(keyer.openPttLine());
    EXPECT_EQ(cwClosed, 0);
    EXPECT_EQ(winKeyClosed, 0);
    EXPECT_TRUE(serial.isOpen());
    // The port stays open: F1 does not open it again.
    keyer.fKeyPhone(F1);
    EXPECT_EQ(serial.opens.size(), 1u);
    ASSERT_TRUE(keyer.pttUp());
    ASSERT_TRUE(keyer.repeating());
    // The CW line taking the port stops the message: player stopped, PTT down, repeat ended.
    EXPECT_EQ(sharing.take(User::CwKeying, "/dev/null", {}).outcome, SerialLineSharing::Outcome::Free);
    EXPECT_FALSE(serial.isOpen());
    EXPECT_FALSE(keyer.pttUp());
    EXPECT_FALSE(up(ModemLine::Rts));
    EXPECT_FALSE(keyer.messageOn());
    EXPECT_TRUE(player.nowPlaying().isEmpty());
    EXPECT_FALSE(keyer.repeating());
    // The next message takes it back from the CW line.
    ASSERT_TRUE(sharing.claim(device("/dev/null"), User::CwKeying));
    keyer.fKeyPhone(F1);
    EXPECT_EQ(cwClosed, 1);
    EXPECT_TRUE(serial.isOpen());
    EXPECT_TRUE(up(ModemLine::Rts));
    keyer.releaseAll();
}

// The CW line taking the port while the message's file loads ends the message: nothing is keyed
// once the file has loaded, and the keyer no longer says it loads.
TEST_F(VoiceKeyerTest, TheCwLineTakingThePortWhileTheFileLoadsEndsTheMessage)
{
    using User = SerialLineSharing::User;
    portMap = SerialPortMap::parse("3=/dev/null\n");
    serial.sharing = &sharing;
    serial.user = User::VoicePtt;
    const QString cq = wave("cq.wav", 1000);
    player.scripts[cq].loadMs = 100;
    use([&](VoiceSettings& s) {
        s.paths[0] = cq;
        s.port = "3";
    });
    ASSERT_TRUE(keyer.openPttLine());
    keyer.fKeyPhone(F1);
    ASSERT_TRUE(keyer.loading());
    EXPECT_EQ(sharing.take(User::CwKeying, "/dev/null", {}).outcome, SerialLineSharing::Outcome::Free);
    EXPECT_FALSE(keyer.messageOn());
    EXPECT_FALSE(keyer.loading());
    run(1000);
    EXPECT_EQ(raises(ModemLine::Rts), 0);
    EXPECT_TRUE(player.played.empty());
}

TEST_F(VoiceKeyerTest, ReleaseAllDropsEverythingAndEndsTheRepeat)
{
    use([&](VoiceSettings& s) {
        s.paths[0] = wave("cq.wav", 5000);
        s.port = "3";
        s.pttLine = PttLine::Parallel;
        s.loopSeconds = "3";
    });
    keyer.fKeyPhone(F1);
    ASSERT_TRUE(up(ModemLine::Rts));
    keyer.releaseAll();
    EXPECT_FALSE(up(ModemLine::Rts));
    EXPECT_FALSE(parallelLine(0x378));  // released, key up first
    EXPECT_FALSE(serial.isOpen());
    EXPECT_FALSE(player.playing());
    EXPECT_FALSE(keyer.repeating());
    EXPECT_FALSE(keyer.pollActive());
    EXPECT_FALSE(keyer.repeatTimerActive());
}

TEST_F(VoiceKeyerTest, ACueIsToldToStopBeforeThePttGoesUp)
{
    use([&](VoiceSettings& s) {
        s.paths[0] = wave("cq.wav", 1000);
        s.port = "3";
    });
    QStringList order;
    QObject::connect(&keyer, &VoiceKeyer::aboutToTransmit, [&] { order << "stop cue"; });
    QObject::connect(&keyer, &VoiceKeyer::pttChanged, [&](bool up) { order << (up ? "ptt up" : "ptt down"); });
    QObject::connect(&keyer, &VoiceKeyer::transmittingChanged,
                     [&](bool on) { order << (on ? "transmitting" : "quiet"); });
    keyer.fKeyPhone(F1);
    run(1040);
    EXPECT_EQ(order, (QStringList{"stop cue", "transmitting", "ptt up", "ptt down", "quiet"}));
}

TEST_F(VoiceKeyerTest, MessageFilesAreFoundWithoutRegardToCaseAndBuiltAhead)
{
    const QString onDisk = wave("CQ Contest.WAV", 700);
    use([&](VoiceSettings& s) {
        s.paths[0] = dir.filePath("cq contest.wav");
        s.paths[1] = dir.filePath("not there.wav");
        s.paths[2] = "  " + onDisk + "  ";
    });
    EXPECT_TRUE(player.prepared.isEmpty());  // built on later turns of the event loop
    keyer.prepareWaitingNow();
    EXPECT_EQ(player.prepared, (QStringList{onDisk, onDisk}));
    // An unchanged list builds nothing again.
    use([](VoiceSettings& s) { s.port = "2"; });
    keyer.prepareWaitingNow();
    EXPECT_EQ(player.prepared.size(), 2);

    keyer.fKeyPhone(F1);
    EXPECT_EQ(player.nowPlaying(), onDisk);
}

TEST_F(VoiceKeyerTest, TheRepeatGapIsNeverShorterThanTheSettingWhenTheTimerFiresEarly)
{
    const QString cq = wave("cq.wav", 1000);
    struct Case {
        const char* loop;
        qint64 loadMs;  // the player loads the file again for each play
    };
    for (const Case c : {Case{"3", 0}, Case{"10", 0}, Case{"3", 120}, Case{"10", 200}}) {
        SCOPED_TRACE(std::string(c.loop) + " s, load " + std::to_string(c.loadMs));
        keyer.releaseAll();
        player.scripts[cq].loadMs = c.loadMs;
        use([&](VoiceSettings& s) {
            s.paths[0] = cq;
            s.port = "3";
            s.loopSeconds = c.loop;
        });
        const qint64 settingMs = QByteArray(c.loop).toLongLong() * 1000;
        keyer.fKeyPhone(F1);
        run(c.loadMs);
        for (int round = 0; round < 3; ++round) {
            run(1040);
            ASSERT_FALSE(up(ModemLine::Rts));
            const qint64 droppedNs = serial.edges(ModemLine::Rts).back().ns;
            // A coarse system timer fires up to 5 % early.
            repeatTimer.earlyByMs = static_cast<int>(settingMs / 20);
            repeatTimer.fire(clock);
            repeatTimer.earlyByMs = 0;
            // Then the timers as armed, and the load on the 40 ms poll.
            for (int steps = 0; !up(ModemLine::Rts); ++steps) {
                ASSERT_LT(steps, 100);
                ASSERT_TRUE(keyer.messageOn() || repeatTimer.isActive());
                if (repeatTimer.isActive())
                    repeatTimer.fire(clock);
                else
                    run(10);
            }
            const qint64 gapMs = (serial.edges(ModemLine::Rts).back().ns - droppedNs) / 1'000'000;
            EXPECT_GE(gapMs, settingMs);
            EXPECT_LE(gapMs, settingMs + 50);
        }
        keyer.cancelRepeat();
    }
}

TEST_F(VoiceKeyerTest, AKeyEndsARepeatThatIsLoadingBeforeItGoesOut)
{
    const QString cq = wave("cq.wav", 1000);
    player.scripts[cq].loadMs = 100;
    use([&](VoiceSettings& s) {
        s.paths[0] = cq;
        s.port = "3";
        s.loopSeconds = "3";
    });
    keyer.fKeyPhone(F1);
    run(1120);
    ASSERT_FALSE(up(ModemLine::Rts));
    repeatTimer.run(clock);  // the repeat starts loading ahead of its time
    ASSERT_TRUE(keyer.loading());
    keyer.cancelRepeat();
    EXPECT_FALSE(keyer.messageOn());
    run(3000);
    EXPECT_EQ(raises(ModemLine::Rts), 1);
    EXPECT_EQ(player.played.size(), 1);
}

TEST_F(VoiceKeyerTest, WithoutASoundOutputNothingIsKeyedAndTheOperatorIsTold)
{
    use([&](VoiceSettings& s) {
        s.paths[0] = wave("cq.wav", 1000);
        s.port = "3";
        s.pttLine = PttLine::Parallel;
        s.loopSeconds = "10";
    });
    std::vector<bool> boxes;
    QObject::connect(&keyer, &VoiceKeyer::soundOutputMissing,
                     [&](const QString&, const QString&, bool firstInRun) { boxes.push_back(firstInRun); });
    player.soundOutput = false;
    for (int press = 0; press < 2; ++press) {
        keyer.fKeyPhone(F1);
        run(1040);
        EXPECT_TRUE(serial.changes().empty());
        EXPECT_EQ(parallel.opens, 0);
        EXPECT_FALSE(keyer.pttUp());
        EXPECT_TRUE(player.played.isEmpty());
        EXPECT_FALSE(keyer.repeating());
        EXPECT_FALSE(keyer.repeatTimerActive());
        EXPECT_FALSE(keyer.messageOn());
    }
    EXPECT_EQ(problems, QStringList(2, "No sound output: PTT not keyed. Start PulseAudio or PipeWire for this user, "
                                       "then restart Cubwave Log."));
    // The status line each time, the message box once per run.
    EXPECT_EQ(boxes, (std::vector<bool>{true, false}));
}

TEST_F(VoiceKeyerTest, APlayerErrorWhilePttIsUpDropsItAtOnce)
{
    const QString cq = wave("cq.wav", 3000);
    use([&](VoiceSettings& s) {
        s.paths[0] = cq;
        s.port = "3";
    });
    keyer.fKeyPhone(F1);
    run(500);
    ASSERT_TRUE(up(ModemLine::Rts));
    const qint64 failedNs = nowNs();
    player.failNow("Connection terminated");
    EXPECT_FALSE(up(ModemLine::Rts));
    EXPECT_EQ(serial.edges(ModemLine::Rts).back().ns, failedNs);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0], "Voice message stopped, PTT dropped: " + cq + ": Connection terminated");
}

TEST_F(VoiceKeyerTest, PttWaitsUntilThePlayerHasLoadedTheFile)
{
    const QString cq = wave("cq.wav", 1000);
    player.scripts[cq].loadMs = 120;
    use([&](VoiceSettings& s) {
        s.paths[0] = cq;
        s.port = "3";
    });
    keyer.fKeyPhone(F1);
    EXPECT_TRUE(keyer.loading());
    EXPECT_FALSE(up(ModemLine::Rts));
    run(80);
    EXPECT_FALSE(up(ModemLine::Rts));
    EXPECT_TRUE(player.played.isEmpty());
    run(40);
    EXPECT_TRUE(up(ModemLine::Rts));
    EXPECT_EQ(player.played, QStringList{cq});
    EXPECT_EQ(player.playsBeforeReady, 0);
    // Up from the start of the sound to its end.
    run(1000);
    EXPECT_FALSE(up(ModemLine::Rts));
    const auto rts = serial.edges(ModemLine::Rts);
    EXPECT_EQ(rts.back().ns - rts[rts.size() - 2].ns, 1000 * 1'000'000LL);

    // Esc while it loads: nothing goes out, and nothing starts later.
    keyer.fKeyPhone(F1);
    run(40);
    keyer.stop();
    EXPECT_FALSE(keyer.messageOn());
    run(400);
    EXPECT_EQ(player.played.size(), 1);
    EXPECT_EQ(raises(ModemLine::Rts), 1);

    // A next message that must load first drops the PTT of the one before meanwhile.
    const QString tu = wave("tu.wav", 800);
    player.scripts[tu].loadMs = 200;
    use([&](VoiceSettings& s) { s.paths[1] = tu; });
    player.scripts[cq].loadMs = 0;
    keyer.fKeyPhone(F1);
    run(200);
    ASSERT_TRUE(up(ModemLine::Rts));
    keyer.fKeyPhone(F2);
    EXPECT_FALSE(up(ModemLine::Rts));
    run(200);
    EXPECT_TRUE(up(ModemLine::Rts));
    EXPECT_EQ(player.nowPlaying(), tu);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

TEST_F(VoiceKeyerTest, ABadFileNeverKeysPtt)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        QString loadError;  // what the player says once it has tried; empty: it loads
        QString reason;
    };
    const QByteArray good = test::wavBytes(8000, 1, 16, 16000);
    QByteArray noFormat = good;
    noFormat.replace(22, 2, QByteArray(2, '\0'));  // no channels
    const Case cases[] = {
        {"empty", QByteArray(), {}, "The file is empty"},
        {"header cut in RIFF", good.left(3), {}, "The wave file's header is damaged"},
        {"header cut in fmt", good.left(20), {}, "The wave file's header is damaged"},
        {"header without data", good.left(44), {}, "The wave file holds no sound"},
        {"no channels", noFormat, {}, "The wave file's header is damaged"},
        {"23 bytes of text", QByteArray("this is not a wave file"), "Could not determine type of stream.",
         "Could not determine type of stream."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        problems.clear();
        const QString path = dir.filePath("bad.wav");
        test::writeFile(path, c.bytes);
        player.scripts[path] = FakeWavePlayer::Script{};
        player.scripts[path].loadMs = 5;
        player.scripts[path].loadError = c.loadError;
        use([&](VoiceSettings& s) {
            s.paths[0] = path;
            s.port = "3";
            s.pttLine = PttLine::Parallel;
            s.loopSeconds = "5";
        });
        keyer.fKeyPhone(F1);
        run(200);
        EXPECT_TRUE(serial.changes().empty());
        EXPECT_EQ(parallel.opens, 0);
        EXPECT_TRUE(player.played.isEmpty());
        EXPECT_FALSE(keyer.messageOn());
        EXPECT_FALSE(keyer.repeating());
        ASSERT_EQ(problems.size(), 1);
        EXPECT_EQ(problems[0], "Voice message not sent: " + path + ": " + c.reason);
    }
    // Sound in another format under a .wav name plays once the player has loaded it.
    const QString mp3 = dir.filePath("mp3.wav");
    test::writeFile(mp3, QByteArray("ID3\x04\x00\x00\x00\x00\x00\x00", 10) + QByteArray(400, '\x55'));
    player.scripts[mp3].loadMs = 30;
    use([&](VoiceSettings& s) {
        s.paths[0] = mp3;
        s.loopSeconds = "0";
    });
    keyer.fKeyPhone(F1);
    EXPECT_FALSE(up(ModemLine::Rts));
    run(40);
    EXPECT_TRUE(up(ModemLine::Rts));
    EXPECT_EQ(player.played, QStringList{mp3});
}

TEST_F(VoiceKeyerTest, AFileThatNeverLoadsIsGivenUpWithoutKeying)
{
    const QString cq = wave("cq.wav", 1000);
    player.scripts[cq].loadMs = 60'000;
    use([&](VoiceSettings& s) {
        s.paths[0] = cq;
        s.port = "3";
    });
    keyer.fKeyPhone(F1);
    run(VoiceKeyer::kLoadLimitMs - 40);
    EXPECT_TRUE(keyer.loading());
    run(40);
    EXPECT_FALSE(keyer.messageOn());
    EXPECT_TRUE(serial.changes().empty());
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].startsWith("Voice message not sent: " + cq)) << problems[0].toStdString();
}

}  // namespace
}  // namespace cubwave
