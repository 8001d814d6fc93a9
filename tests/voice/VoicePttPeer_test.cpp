// A whole voice message from the setup window's "Test" through the real keyer, GStreamer and a
// serial port: the PTT port is a pseudo-terminal named in "serialports.txt", and the modem-line
// requests the program makes are recorded by a preloaded library (ptys refuse them).
#include "support/TestFiles.h"
#include "voice/VoiceMessageFile.h"
#include "voice/WaveDuration.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

namespace cubwave {
namespace {

struct Request {
    qint64 ns;
    QString name;
    unsigned value;
};

std::vector<Request> requests(const QString& log)
{
    std::vector<Request> out;
    for (const QByteArray& line : test::readAll(log).split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3)
            out.push_back({parts[0].toLongLong(), QString::fromLatin1(parts[1]), parts[2].toUInt()});
    }
    return out;
}

TEST(VoicePttPeer, TestKeysRtsForTheFilesLengthOnARealPort)
{
    constexpr unsigned kDtr = 0x002;  // TIOCM_DTR
    constexpr unsigned kRts = 0x004;  // TIOCM_RTS
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    QTemporaryDir dir;
    const QString message = QStringLiteral(CUBWAVE_SOURCE_DIR "/data-extra/voice-cues/NavEn.wav");
    const qint64 lengthMs = WaveDuration::ofFile(message);
    ASSERT_GT(lengthMs, 1000);
    test::writeFile(dir.filePath("serialports.txt"), QByteArray("1=") + name + "\n");
    VoiceSettings s;
    s.paths[0] = message;
    s.port = "1";
    s.pttLine = PttLine::Rts;
    ASSERT_TRUE(VoiceMessageFile::save(dir.path(), s).ok);

    const QString log = dir.filePath("ioctl.log");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", CUBWAVE_IOCTL_RECORDER);
    env.insert("CUBWAVE_IOCTL_LOG", log);
    env.insert("ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(CUBWAVE_VOICE_PTT_RUN, {dir.path()});
    ASSERT_TRUE(p.waitForFinished(60000));
    ::close(master);
    ::close(slave);
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    const auto r = requests(log);
    ASSERT_GE(r.size(), 3u);
    // Both lines dropped on opening, before anything else.
    EXPECT_EQ(r.front().name, "TIOCMBIC");
    EXPECT_EQ(r.front().value, kDtr | kRts);
    auto keyed = std::find_if(r.begin(), r.end(), [](const Request& q) { return q.name == "TIOCMBIS"; });
    ASSERT_NE(keyed, r.end());
    EXPECT_EQ(keyed->value, kRts);
    auto dropped = std::find_if(keyed, r.end(), [](const Request& q) { return q.name == "TIOCMBIC" && (q.value & kRts); });
    ASSERT_NE(dropped, r.end());
    // Nothing else was keyed in between.
    EXPECT_EQ(std::count_if(r.begin(), r.end(), [](const Request& q) { return q.name == "TIOCMBIS"; }), 1);
    // Up for the whole of the sound and dropped after it, well before the stuck-player limit.
    const qint64 holdMs = (dropped->ns - keyed->ns) / 1'000'000;
    std::printf("PTT held %lld ms for a %lld ms file\n", static_cast<long long>(holdMs),
                static_cast<long long>(lengthMs));
    EXPECT_GE(holdMs, lengthMs - 30);
    EXPECT_LT(holdMs, WaveDuration::playLimitMs(lengthMs));
}

}  // namespace
}  // namespace cubwave
