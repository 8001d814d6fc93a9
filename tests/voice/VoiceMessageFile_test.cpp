#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "voice/VoiceMessageFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace cubwave {
namespace {

using test::readAll;
using test::writeFile;

QByteArray lines(std::initializer_list<const char*> values)
{
    QByteArray out;
    for (const char* v : values)
        out += QByteArray(v) + "\r\n";
    return out;
}

const QByteArray kFull = lines({"\"/home/op/cq.wav\"", "\"/home/op/tu, 73.wav\"", "\"\"", "\"\"", "\"\"", "\"\"",
                                "\"\"", "\"\"", "\"/home/op/F9.WAV\"", "\"3\"", "2", "\"12.5\"", "\"&H278\""});

TEST(VoiceMessageFile, ReadsEveryValueInItsPlace)
{
    const VoiceSettings s = VoiceMessageFile::parse(kFull);
    EXPECT_EQ(s.paths[0], "/home/op/cq.wav");
    EXPECT_EQ(s.paths[1], "/home/op/tu, 73.wav");
    EXPECT_EQ(s.paths[2], "");
    EXPECT_EQ(s.paths[8], "/home/op/F9.WAV");
    EXPECT_EQ(s.port, "3");
    EXPECT_EQ(s.portNumber(), 3);
    EXPECT_EQ(s.pttLine, PttLine::Parallel);
    EXPECT_EQ(s.loopSeconds, "12.5");
    EXPECT_TRUE(s.repeats());
    EXPECT_EQ(s.repeatIntervalMs(), 12500);
    EXPECT_EQ(s.address, "&H278");
}

TEST(VoiceMessageFile, WritesThirteenCrLfLinesThatReadBack)
{
    const VoiceSettings s = VoiceMessageFile::parse(kFull);
    const QByteArray bytes = VoiceMessageFile::serialize(s);
    EXPECT_EQ(bytes, kFull);
    EXPECT_EQ(bytes.count("\r\n"), VoiceMessageFile::kValueCount);
    EXPECT_EQ(VoiceMessageFile::parse(bytes), s);
}

TEST(VoiceMessageFile, ThePttLineIsWrittenAsItsNumber)
{
    for (auto [line, text] : {std::pair{PttLine::Rts, "0"}, {PttLine::Dtr, "1"}, {PttLine::Parallel, "2"}}) {
        VoiceSettings s;
        s.pttLine = line;
        const QList<QByteArray> written = VoiceMessageFile::serialize(s).split('\n');
        EXPECT_EQ(written[10], QByteArray(text) + "\r") << text;
    }
}

TEST(VoiceMessageFile, PathsAreWrittenWithoutSurroundingBlanks)
{
    VoiceSettings s;
    s.paths[0] = "  /home/op/cq.wav \t";
    EXPECT_TRUE(VoiceMessageFile::serialize(s).startsWith("\"/home/op/cq.wav\"\r\n"));
}

TEST(VoiceMessageFile, TheShippedFileReadsAsTheDefaults)
{
    const QByteArray shipped = readAll(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/wave2.txt"));
    ASSERT_FALSE(shipped.isEmpty());
    EXPECT_EQ(VoiceMessageFile::parse(shipped), VoiceSettings());
    // It is what "Done" writes for untouched fields.
    EXPECT_EQ(VoiceMessageFile::serialize(VoiceSettings()), shipped);
}

TEST(VoiceMessageFile, LineElevenSelectsALineOnlyForZeroOneOrTwo)
{
    struct Case {
        const char* line11;
        std::optional<PttLine> selects;  // nothing: the default stays
    };
    const Case cases[] = {
        {"0", PttLine::Rts}, {"1", PttLine::Dtr}, {"2", PttLine::Parallel}, {" 1 ", PttLine::Dtr},
        {"\"2\"", PttLine::Parallel},
        {"", std::nullopt},  {"3", std::nullopt}, {"-1", std::nullopt},     {"1.0", std::nullopt},
        {"DTR", std::nullopt}, {"01", std::nullopt},
    };
    for (const PttLine fallback : {PttLine::Rts, PttLine::Dtr, PttLine::Parallel}) {
        VoiceSettings defaults;
        defaults.pttLine = fallback;
        for (const Case& c : cases) {
            QByteArray bytes = lines({"\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"0\""});
            bytes += QByteArray(c.line11) + "\r\n\"5\"\r\n\"&H3BC\"\r\n";
            const VoiceSettings s = VoiceMessageFile::parse(bytes, defaults);
            EXPECT_EQ(s.pttLine, c.selects.value_or(fallback)) << c.line11;
            // A line that selects nothing shifts nothing after it.
            EXPECT_EQ(s.loopSeconds, "5") << c.line11;
            EXPECT_EQ(s.address, "&H3BC") << c.line11;
        }
    }
}

TEST(VoiceMessageFile, ShortFileKeepsDefaultsForWhatIsMissing)
{
    VoiceSettings defaults;
    defaults.port = "7";
    defaults.address = "&H3BC";
    const VoiceSettings s = VoiceMessageFile::parse(lines({"\"a.wav\"", "\"b.wav\""}), defaults);
    EXPECT_EQ(s.paths[0], "a.wav");
    EXPECT_EQ(s.paths[1], "b.wav");
    EXPECT_EQ(s.paths[2], "");
    EXPECT_EQ(s.port, "7");
    EXPECT_EQ(s.address, "&H3BC");
    EXPECT_EQ(VoiceMessageFile::parse({}, defaults), defaults);
}

TEST(VoiceMessageFile, LineFeedsAndLatin1AreRead)
{
    QByteArray bytes = kFull;
    bytes.replace("\r\n", "\n");
    bytes.replace("cq.wav", "cq\xe9.wav");  // an editor's single-byte code page
    const VoiceSettings s = VoiceMessageFile::parse(bytes);
    EXPECT_EQ(s.paths[0], QString::fromUtf8("/home/op/cq\xc3\xa9.wav"));
    EXPECT_EQ(s.address, "&H278");
}

TEST(VoiceMessageFile, BinaryAndHugeFilesNeverCrash)
{
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 37) & 0xff);
    VoiceMessageFile::parse(binary);
    const QByteArray huge(VoiceMessageFile::kMaxBytes + 1, 'x');
    EXPECT_EQ(VoiceMessageFile::parse(huge), VoiceSettings());
}

TEST(VoiceMessageFile, AStrayQuoteShiftsNoLaterLine)
{
    QByteArray bytes = kFull;
    bytes.replace("\"/home/op/cq.wav\"", "\"/home/\"op\"/cq.wav\"");
    const VoiceSettings s = VoiceMessageFile::parse(bytes);
    EXPECT_EQ(s.paths[1], "/home/op/tu, 73.wav");
    EXPECT_EQ(s.address, "&H278");
}

TEST(VoiceMessageFile, PathsWithQuotesOrLineBreaksCannotBeStored)
{
    EXPECT_TRUE(VoiceMessageFile::storablePath("/home/op/cq, test.wav"));
    EXPECT_FALSE(VoiceMessageFile::storablePath("/home/op/\"cq\".wav"));
    EXPECT_FALSE(VoiceMessageFile::storablePath("/home/op/cq\n.wav"));
    EXPECT_FALSE(VoiceMessageFile::storablePath("/home/op/cq\r.wav"));
    // Written anyway, such a path could not shift the lines after it.
    VoiceSettings s;
    s.paths[0] = "/a\"b\r\nc.wav";
    s.port = "2";
    const VoiceSettings back = VoiceMessageFile::parse(VoiceMessageFile::serialize(s));
    EXPECT_EQ(back.paths[0], "/abc.wav");
    EXPECT_EQ(back.port, "2");
}

TEST(VoiceMessageFile, FoundWithoutRegardToCaseAndWrittenOverTheSameFile)
{
    QTemporaryDir dir;
    const QString upper = dir.filePath("WAVE2.TXT");
    writeFile(upper, kFull);
    const VoiceMessageFile::Loaded loaded = VoiceMessageFile::load(dir.path());
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_EQ(loaded.settings.port, "3");

    VoiceSettings changed = loaded.settings;
    changed.port = "4";
    ASSERT_TRUE(VoiceMessageFile::save(dir.path(), changed).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"WAVE2.TXT"});
    EXPECT_EQ(VoiceMessageFile::parse(readAll(upper)).port, "4");
}

TEST(VoiceMessageFile, ANewFileIsNamedWave2Txt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(VoiceMessageFile::save(dir.path(), VoiceSettings()).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"wave2.txt"});
}

TEST(VoiceMessageFile, AMissingOrOversizedFileIsReported)
{
    QTemporaryDir dir;
    VoiceSettings defaults;
    defaults.port = "9";
    VoiceMessageFile::Loaded missing = VoiceMessageFile::load(dir.path(), defaults);
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_EQ(missing.settings, defaults);

    writeFile(dir.filePath("wave2.txt"), QByteArray(VoiceMessageFile::kMaxBytes + 10, '"'));
    VoiceMessageFile::Loaded huge = VoiceMessageFile::load(dir.path(), defaults);
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(huge.settings, defaults);

    // A folder by that name is no file.
    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkdir("wave2.txt"));
    EXPECT_FALSE(VoiceMessageFile::load(other.path()).ok);
}

TEST(VoiceMessageFile, FailedWriteReportsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("wave2.txt");
    writeFile(path, kFull);
    VoiceSettings s;
    s.paths[0] = QString(4000, 'x');  // more than the file may grow to below
    {
        test::FileSizeLimit full(1000);
        const WriteResult r = VoiceMessageFile::save(dir.path(), s);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.isEmpty());
    }
    EXPECT_EQ(readAll(path), kFull);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"wave2.txt"});
}

}  // namespace
}  // namespace cubwave
