// A whole voice message from the setup window's "Test" through the real keyer, GStreamer and a
// serial port: the PTT port is a pseudo-terminal named in "serialports.txt", and the modem-line
// requests the program makes are recorded by a preloaded library (ptys refuse them). The sound
// goes to a private PulseAudio server with a null sink, or to no server at all.
#include "support/TestFiles.h"
#include "voice/VoiceMessageFile.h"
#include "voice/WaveDuration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

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

// A PulseAudio server of the test's own with one null sink, ended by its PID.
class PrivateSoundServer {
public:
    PrivateSoundServer()
    {
        const QString exe = QStandardPaths::findExecutable("pulseaudio");
        if (exe.isEmpty())
            return;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir_.path());
        env.insert("HOME", dir_.path());
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_.setStandardOutputFile(QProcess::nullDevice());
        server_.setStandardErrorFile(dir_.filePath("pulseaudio.log"));
        server_.start(exe, {"-n", "-F", "/dev/null", "--daemonize=no", "--exit-idle-time=-1",
                            "--load=module-null-sink", "--load=module-native-protocol-unix auth-anonymous=1"});
        for (int i = 0; i < 100 && !QFileInfo::exists(socket()); ++i)
            QThread::msleep(50);
    }
    ~PrivateSoundServer()
    {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            if (!server_.waitForFinished(3000))
                server_.kill();
            server_.waitForFinished(3000);
        }
    }
    bool running() const { return QFileInfo::exists(socket()); }
    QString address() const { return "unix:" + socket(); }

private:
    QString socket() const { return dir_.filePath("pulse/native"); }
    QTemporaryDir dir_;
    QProcess server_;
};

struct PttRun {
    int exitCode = -1;
    QString errors;
    std::vector<Request> requests;
    qint64 lengthMs = 0;
};

// "Test" pressed once with the message on port 1's RTS, the sound going to pulseServer.
PttRun pressTest(const QString& pulseServer)
{
    PttRun out;
    int master = -1, slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return out;
    QTemporaryDir dir;
    const QString message = QStringLiteral(CUBWAVE_SOURCE_DIR "/data-extra/voice-cues/NavEn.wav");
    out.lengthMs = WaveDuration::ofFile(message);
    test::writeFile(dir.filePath("serialports.txt"), QByteArray("1=") + name + "\n");
    VoiceSettings s;
    s.paths[0] = message;
    s.port = "1";
    s.pttLine = PttLine::Rts;
    VoiceMessageFile::save(dir.path(), s);

    const QString log = dir.filePath("ioctl.log");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", CUBWAVE_IOCTL_RECORDER);
    env.insert("CUBWAVE_IOCTL_LOG", log);
    env.insert("ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PULSE_SERVER", pulseServer);
    p.setProcessEnvironment(env);
    p.start(CUBWAVE_VOICE_PTT_RUN, {dir.path()});
    p.waitForFinished(60000);
    ::close(master);
    ::close(slave);
    out.exitCode = p.exitCode();
    out.errors = QString::fromLocal8Bit(p.readAllStandardError());
    out.requests = requests(log);
    return out;
}

constexpr unsigned kDtr = 0x002;  // TIOCM_DTR
constexpr unsigned kRts = 0x004;  // TIOCM_RTS

TEST(VoicePttPeer, TestKeysRtsForTheFilesLengthOnARealPort)
{
    PrivateSoundServer sound;
    if (!sound.running())
        GTEST_SKIP() << "no pulseaudio to give the test a sound output (tools/install-deps.sh installs it)";
    const PttRun run = pressTest(sound.address());
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    ASSERT_GT(run.lengthMs, 1000);
    const auto& r = run.requests;
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
                static_cast<long long>(run.lengthMs));
    EXPECT_GE(holdMs, run.lengthMs - 30);
    EXPECT_LT(holdMs, WaveDuration::playLimitMs(run.lengthMs));
}

TEST(VoicePttPeer, WithoutASoundServerNothingIsKeyed)
{
    // No desktop's server is reached: the player would play into GStreamer's silent sink.
    const PttRun run = pressTest("unix:/nonexistent");
    EXPECT_EQ(run.exitCode, 5) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("problem: No sound output: PTT not keyed.")) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("message: No sound output: No sound output: PTT not keyed.")) << run.errors.toStdString();
    EXPECT_EQ(std::count_if(run.requests.begin(), run.requests.end(), [](const Request& q) { return q.name == "TIOCMBIS"; }),
              0);
}

}  // namespace
}  // namespace cubwave
