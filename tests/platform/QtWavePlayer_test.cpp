// The wave player on Qt Multimedia's GStreamer backend, playing real files in real time. Without
// a sound card GStreamer plays into a silent sink at the speed of the sound.
#include "platform/QtWavePlayer.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

namespace cubwave {
namespace {

QByteArray wav(int ms)
{
    const quint32 rate = 8000;
    const quint32 data = rate * 2 * static_cast<quint32>(ms) / 1000;
    QByteArray b = "RIFF" + QByteArray(4, '\0') + "WAVEfmt " + QByteArray(20, '\0') + "data" + QByteArray(4, '\0');
    qToLittleEndian<quint32>(36 + data, b.data() + 4);
    qToLittleEndian<quint32>(16, b.data() + 16);
    qToLittleEndian<quint16>(1, b.data() + 20);     // PCM
    qToLittleEndian<quint16>(1, b.data() + 22);     // mono
    qToLittleEndian<quint32>(rate, b.data() + 24);
    qToLittleEndian<quint32>(rate * 2, b.data() + 28);
    qToLittleEndian<quint16>(2, b.data() + 32);
    qToLittleEndian<quint16>(16, b.data() + 34);
    qToLittleEndian<quint32>(data, b.data() + 40);
    // A quiet tone rather than silence, so nothing could take the file for empty.
    QByteArray samples(static_cast<qsizetype>(data), '\0');
    for (qsizetype i = 0; i + 1 < samples.size(); i += 2)
        qToLittleEndian<qint16>((i / 2) % 16 < 8 ? 800 : -800, samples.data() + i);
    return b + samples;
}

// Lets the player's events run until the condition holds or the time is up; the elapsed ms.
qint64 waitFor(const std::function<bool()>& condition, int limitMs)
{
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return t.elapsed();
}

class QtWavePlayerTest : public ::testing::Test {
protected:
    QString file(const QString& name, int ms)
    {
        const QString path = dir.filePath(name);
        test::writeFile(path, wav(ms));
        return path;
    }

    QTemporaryDir dir;
    QtWavePlayer player;
};

TEST_F(QtWavePlayerTest, PlaysAFileToItsEndAndAgain)
{
    const QString path = file("cq.wav", 400);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(player.open(path)) << player.errorText().toStdString();
        ASSERT_TRUE(player.play()) << player.errorText().toStdString();
        EXPECT_TRUE(player.playing()) << round;
        const qint64 ms = waitFor([&] { return !player.playing(); }, 10000);
        EXPECT_FALSE(player.playing()) << round;
        EXPECT_GE(ms, 350) << round;  // played, not cut short
        EXPECT_TRUE(player.errorText().isEmpty()) << player.errorText().toStdString();
        EXPECT_NEAR(player.durationMs(), 400, 20) << round;
    }
    EXPECT_EQ(player.pipelineCount(), 1);
}

TEST_F(QtWavePlayerTest, StopAndANewFileChangeTheStateAtOnce)
{
    const QString longer = file("long.wav", 3000);
    const QString other = file("other.wav", 3000);
    ASSERT_TRUE(player.open(longer));
    ASSERT_TRUE(player.play());
    waitFor([] { return false; }, 200);
    ASSERT_TRUE(player.playing());
    player.stop();
    EXPECT_FALSE(player.playing());

    ASSERT_TRUE(player.play());
    waitFor([] { return false; }, 100);
    ASSERT_TRUE(player.open(other));
    EXPECT_FALSE(player.playing());
    ASSERT_TRUE(player.play());
    EXPECT_TRUE(player.playing());
    waitFor([] { return false; }, 200);
    EXPECT_TRUE(player.playing());
    player.close();
    EXPECT_FALSE(player.playing());
    EXPECT_FALSE(player.play());
}

TEST_F(QtWavePlayerTest, FilesThatCannotBePlayedFailWithAReason)
{
    QByteArray noise;
    for (int i = 0; i < 20000; ++i)
        noise += static_cast<char>((i * 7919) >> 3);
    test::writeFile(dir.filePath("noise.wav"), noise);
    test::writeFile(dir.filePath("empty.wav"), QByteArray());
    test::writeFile(dir.filePath("text.wav"), "this is not sound\r\n");
    QByteArray header = wav(1000).left(44);  // a header promising data that is not there
    test::writeFile(dir.filePath("cut.wav"), header);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.wav"));

    EXPECT_FALSE(player.open(dir.filePath("missing.wav")));
    EXPECT_EQ(player.errorText(), "No such file or directory");
    EXPECT_FALSE(player.open(dir.filePath("folder.wav")));
    EXPECT_EQ(player.errorText(), "Is a directory");

    for (const char* name : {"noise.wav", "empty.wav", "text.wav", "cut.wav"}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(name);
        if (player.open(path) && player.play())
            waitFor([&] { return !player.playing(); }, 10000);
        // However it fails, it ends, and for a file that is no sound it says why.
        EXPECT_FALSE(player.playing());
        if (QByteArray(name) != "cut.wav") {
            EXPECT_FALSE(player.errorText().isEmpty());
        }
    }
}

TEST_F(QtWavePlayerTest, AFileDeletedWhilePlayingStillEnds)
{
    const QString path = file("gone.wav", 600);
    ASSERT_TRUE(player.open(path));
    ASSERT_TRUE(player.play());
    waitFor([] { return false; }, 100);
    ASSERT_TRUE(QFile::remove(path));
    waitFor([&] { return !player.playing(); }, 10000);
    EXPECT_FALSE(player.playing());
    EXPECT_FALSE(player.open(path));
}

TEST_F(QtWavePlayerTest, PipelinesAreBuiltAheadKeptAndBounded)
{
    QtWavePlayer small(2);
    const QString a = file("a.wav", 200), b = file("b.wav", 200), c = file("c.wav", 200);
    small.prepare(a);
    small.prepare(a);
    EXPECT_EQ(small.pipelineCount(), 1);
    small.prepare(dir.filePath("missing.wav"));
    EXPECT_EQ(small.pipelineCount(), 1);
    small.prepare(b);
    ASSERT_TRUE(small.open(a));
    small.prepare(c);  // the least recently used (b) goes; the open one stays
    EXPECT_EQ(small.pipelineCount(), 2);
    ASSERT_TRUE(small.play());
    EXPECT_TRUE(small.playing());
    waitFor([&] { return !small.playing(); }, 10000);
    ASSERT_TRUE(small.open(b));
    ASSERT_TRUE(small.play());
    EXPECT_GE(waitFor([&] { return !small.playing(); }, 10000), 150);
}

TEST_F(QtWavePlayerTest, AFileChangedOnDiskIsLoadedAgain)
{
    const QString path = file("cq.wav", 200);
    player.prepare(path);
    waitFor([] { return false; }, 300);
    test::writeFile(path, wav(900));
    ASSERT_TRUE(player.open(path));
    ASSERT_TRUE(player.play());
    EXPECT_GE(waitFor([&] { return !player.playing(); }, 10000), 800);
}

TEST_F(QtWavePlayerTest, AFileIsReadyOnlyOnceLoadedAndABadOneFails)
{
    const QString good = file("cq.wav", 300);
    test::writeFile(dir.filePath("text.wav"), "this is not a wave file");  // 23 bytes
    ASSERT_TRUE(player.open(good));
    waitFor([&] { return player.readiness() != WavePlayer::Readiness::Loading; }, 5000);
    EXPECT_EQ(player.readiness(), WavePlayer::Readiness::Ready);

    ASSERT_TRUE(player.open(dir.filePath("text.wav")));
    waitFor([&] { return player.readiness() != WavePlayer::Readiness::Loading; }, 5000);
    EXPECT_EQ(player.readiness(), WavePlayer::Readiness::Failed);
    EXPECT_FALSE(player.errorText().isEmpty());
    EXPECT_FALSE(player.play());
}

TEST_F(QtWavePlayerTest, APipelineThatFailedNeverHoldsTheCallerUp)
{
    // GStreamer blocks stop() and a new source of a failed pipeline for about a second each;
    // such a pipeline must only be paused and deleted. A loose bound well under that second.
    const QString good = file("cq.wav", 300);
    const QString bad = dir.filePath("bad.wav");
    test::writeFile(bad, "this is not a wave file");
    int changes = 0;
    player.setChangeListener([&] { ++changes; });
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(player.open(bad));
        ASSERT_TRUE(player.play() || player.readiness() == WavePlayer::Readiness::Failed);
        waitFor([&] { return player.readiness() == WavePlayer::Readiness::Failed; }, 5000);
        ASSERT_EQ(player.readiness(), WavePlayer::Readiness::Failed);
        QElapsedTimer t;
        t.start();
        player.stop();
        player.close();
        ASSERT_TRUE(player.open(bad));  // the failed file again: built anew, not reloaded
        ASSERT_TRUE(player.open(good));
        player.prepare(bad);
        EXPECT_LT(t.elapsed(), 400);
    }
    EXPECT_GT(changes, 0);
}

}  // namespace
}  // namespace cubwave
