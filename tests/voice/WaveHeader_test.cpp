#include "support/TestFiles.h"
#include "voice/WaveFixtures.h"
#include "voice/WaveHeader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave {
namespace {

using test::wavBytes;

TEST(WaveHeader, RefusesADamagedWaveFileAndLeavesOtherFormatsToThePlayer)
{
    const QString damaged = "The wave file's header is damaged";
    const QByteArray good = wavBytes(8000, 1, 16, 16000);
    QByteArray withList = good;
    withList.insert(36, QByteArray("LIST\x05\x00\x00\x00INFOx\x00", 14));
    QByteArray zeroRate = good;
    zeroRate.replace(24, 4, QByteArray(4, '\0'));
    QByteArray dataFirst = good.left(12) + good.mid(36);  // no fmt chunk before the data
    QByteArray shortFmt = good;
    shortFmt.replace(16, 4, QByteArray("\x0c\x00\x00\x00", 4));  // fmt of 12 bytes
    struct Case {
        const char* what;
        QByteArray bytes;
        QString problem;
    };
    const Case cases[] = {
        {"whole", good, {}},
        {"list chunk before data", withList, {}},
        {"data cut short", good.left(1000), {}},
        {"empty", QByteArray(), "The file is empty"},
        {"cut inside RIFF", good.left(3), damaged},
        {"cut before WAVE", good.left(10), damaged},
        {"cut inside fmt", good.left(20), damaged},
        {"cut after fmt", good.left(36), damaged},
        {"no sound after the header", good.left(44), "The wave file holds no sound"},
        {"not WAVE", QByteArray("RIFF\x04\x00\x00\x00" "AVI ", 12), damaged},
        {"zero sample rate", zeroRate, damaged},
        {"data before fmt", dataFirst, damaged},
        {"short fmt", shortFmt, damaged},
        // Not RIFF: an MP3, an OGG or text; the player decides once it has tried to load it.
        {"mp3", QByteArray("ID3\x04\x00\x00\x00\x00\x00\x00", 10) + QByteArray(100, 'x'), {}},
        {"ogg", QByteArray("OggS") + QByteArray(100, 'x'), {}},
        {"23 bytes of text", QByteArray("this is not a wave file"), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WaveHeader::problem(c.bytes, c.bytes.size()), c.problem) << c.what;

    QTemporaryDir dir;
    test::writeFile(dir.filePath("cut.wav"), good.left(20));
    EXPECT_EQ(WaveHeader::problemOfFile(dir.filePath("cut.wav")), damaged);
    EXPECT_FALSE(WaveHeader::problemOfFile(dir.filePath("missing.wav")).isEmpty());
}

}  // namespace
}  // namespace cubwave
