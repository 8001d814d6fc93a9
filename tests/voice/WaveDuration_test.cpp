#include "support/TestFiles.h"
#include "voice/CaseBlindFile.h"
#include "voice/WaveDuration.h"
#include "voice/WaveFixtures.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave {
namespace {

using test::wavBytes;

TEST(WaveDuration, LengthFromTheDataSizeAndByteRate)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        qint64 expectedMs;
    };
    QByteArray withList = wavBytes(8000, 1, 16, 16000);  // 1 s
    // A LIST chunk of odd length (padded) before the data, as some editors write.
    withList.insert(36, QByteArray("LIST\x05\x00\x00\x00INFOx\x00", 14));
    QByteArray unsized = wavBytes(22050, 1, 16, 22050);  // 0.5 s, size never filled in
    unsized.replace(40, 4, QByteArray("\x00\x00\x00\x00", 4));
    QByteArray streamed = wavBytes(22050, 1, 16, 44100);
    streamed.replace(40, 4, QByteArray("\xff\xff\xff\xff", 4));
    QByteArray truncated = wavBytes(8000, 1, 16, 16000);
    truncated.chop(8000);  // half the promised data: counts what is there
    const Case cases[] = {
        {"pcm mono", wavBytes(8000, 1, 16, 16000), 1000},
        {"pcm stereo", wavBytes(44100, 2, 16, 44100 * 4 / 2), 500},
        {"list chunk", withList, 1000},
        {"unsized data", unsized, 500},
        {"streamed size", streamed, 1000},
        {"truncated", truncated, 500},
        {"not riff", QByteArray("RIFX....WAVEfmt "), -1},
        {"not wave", QByteArray("RIFF\x04\x00\x00\x00" "AVI ", 12), -1},
        {"empty", QByteArray(), -1},
        {"no data chunk", wavBytes(8000, 1, 16, 0).left(36), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WaveDuration::fromHeader(c.bytes, c.bytes.size()), c.expectedMs) << c.what;

    // A fmt chunk that ends before its byte rate, and a zero byte rate, give no length.
    QByteArray shortFmt = wavBytes(8000, 1, 16, 16000).left(24);
    EXPECT_EQ(WaveDuration::fromHeader(shortFmt, shortFmt.size()), -1);
    QByteArray zeroRate = wavBytes(8000, 1, 16, 16000);
    zeroRate.replace(28, 4, QByteArray(4, '\0'));
    EXPECT_EQ(WaveDuration::fromHeader(zeroRate, zeroRate.size()), -1);
}

TEST(WaveDuration, OfAFileOnDisk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cq.wav");
    test::writeFile(path, wavBytes(11025, 1, 16, 11025 * 2 * 3));
    EXPECT_EQ(WaveDuration::ofFile(path), 3000);
    EXPECT_EQ(WaveDuration::ofFile(dir.filePath("missing.wav")), -1);
    EXPECT_EQ(WaveDuration::ofFile(dir.path()), -1);
}

TEST(WaveDuration, PlayLimitIsTheLengthAndTwoSecondsAtMostFiveMinutes)
{
    EXPECT_EQ(WaveDuration::playLimitMs(1000), 3000);
    EXPECT_EQ(WaveDuration::playLimitMs(0), 2000);
    EXPECT_EQ(WaveDuration::playLimitMs(298'000), 300'000);
    EXPECT_EQ(WaveDuration::playLimitMs(299'000), 300'000);
    EXPECT_EQ(WaveDuration::playLimitMs(3'600'000), 300'000);
    EXPECT_EQ(WaveDuration::playLimitMs(-1), 300'000);
}

TEST(CaseBlindFile, FindsAFileWhateverTheCaseOfItsName)
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath("CQ Contest.WAV"), "x");
    test::writeFile(dir.filePath("exact.wav"), "x");
    EXPECT_EQ(CaseBlindFile::find(dir.filePath("exact.wav")), dir.filePath("exact.wav"));
    EXPECT_EQ(CaseBlindFile::find(dir.filePath("cq contest.wav")), dir.filePath("CQ Contest.WAV"));
    EXPECT_EQ(CaseBlindFile::find(dir.filePath("Cq CONTEST.Wav")), dir.filePath("CQ Contest.WAV"));
    // Not there in any case: the name as given, for the caller's "not found".
    EXPECT_EQ(CaseBlindFile::find(dir.filePath("tu.wav")), dir.filePath("tu.wav"));
    EXPECT_EQ(CaseBlindFile::find(dir.filePath("nofolder/tu.wav")), dir.filePath("nofolder/tu.wav"));
    EXPECT_EQ(CaseBlindFile::find(QString()), QString());
}

}  // namespace
}  // namespace cubwave
