// The voice-navigation cues shipped in data-extra/voice-cues: their format and length as sox
// reads them, GStreamer playing each to its end, and the generator writing them again alike.
#include "platform/QtWavePlayer.h"
#include "voice/VoiceNavigation.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave {
namespace {

const QString kCueDir = QStringLiteral(CUBWAVE_SOURCE_DIR "/data-extra/voice-cues");
const QStringList kCues = {VoiceNavigation::kCall,  VoiceNavigation::kName,  VoiceNavigation::kAge,
                           VoiceNavigation::kSpc,   VoiceNavigation::kOther, VoiceNavigation::kDupe,
                           VoiceNavigation::kNavEn, VoiceNavigation::kNavDis};

QString soxi(const QString& option, const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("soxi"), {option, path});
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString cueFile(const QString& dir, const QString& cue) { return VoiceNavigation::cuePath(dir, cue); }

TEST(ShippedVoiceCues, EachIsAShort16BitMonoWaveFile)
{
    qint64 total = 0;
    for (const QString& cue : kCues) {
        SCOPED_TRACE(cue.toStdString());
        const QString path = cueFile(kCueDir, cue);
        ASSERT_TRUE(QFileInfo(path).isFile());
        EXPECT_EQ(soxi("-t", path), "wav");
        EXPECT_EQ(soxi("-c", path), "1");
        EXPECT_EQ(soxi("-b", path), "16");
        EXPECT_EQ(soxi("-e", path), "Signed Integer PCM");
        const double seconds = soxi("-D", path).toDouble();
        EXPECT_GE(seconds, 0.6);
        EXPECT_LE(seconds, 1.7);
        total += QFileInfo(path).size();
    }
    EXPECT_GT(total, 300 * 1024);
    EXPECT_LT(total, 450 * 1024);
    EXPECT_TRUE(QFileInfo(kCueDir + "/LICENSE.txt").isFile());
}

TEST(ShippedVoiceCues, GStreamerPlaysEachToItsEnd)
{
    QtWavePlayer player;
    for (const QString& cue : kCues) {
        SCOPED_TRACE(cue.toStdString());
        const QString path = cueFile(kCueDir, cue);
        const double seconds = soxi("-D", path).toDouble();
        ASSERT_GT(seconds, 0);
        ASSERT_TRUE(player.open(path)) << player.errorText().toStdString();
        ASSERT_TRUE(player.play()) << player.errorText().toStdString();
        QElapsedTimer t;
        t.start();
        while (player.playing() && t.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        EXPECT_FALSE(player.playing());
        EXPECT_TRUE(player.errorText().isEmpty()) << player.errorText().toStdString();
        EXPECT_GE(t.elapsed(), seconds * 1000 - 100);
        EXPECT_NEAR(player.durationMs(), seconds * 1000, 50);
    }
}

TEST(ShippedVoiceCues, TheGeneratorWritesThemAgainAlike)
{
    QTemporaryDir out;
    QProcess p;
    p.start(QStringLiteral(CUBWAVE_SOURCE_DIR "/tools/make-voice-cues.sh"), {out.path()});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    for (const QString& cue : kCues) {
        SCOPED_TRACE(cue.toStdString());
        const QString samples = soxi("-s", cueFile(out.path(), cue));
        ASSERT_FALSE(samples.isEmpty());
        EXPECT_EQ(samples, soxi("-s", cueFile(kCueDir, cue)));
    }
}

}  // namespace
}  // namespace cubwave
