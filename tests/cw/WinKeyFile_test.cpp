#include "cw/WinKeyFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave {
namespace {

TEST(WinKeyFile, ReadsEightLinesAndWritesThemBack)
{
    const QByteArray file = "3\r\n\"22\"\r\n\"45\"\r\n\"10\"\r\n\"5\"\r\n\"60\"\r\n8\r\n32\r\n";
    const WinKeySettings s = WinKeyFile::parse(file);
    EXPECT_EQ(s.port, 3);
    EXPECT_EQ(s.speed, "22");
    EXPECT_EQ(s.weight, "45");
    EXPECT_EQ(s.leadIn, "10");
    EXPECT_EQ(s.tail, "5");
    EXPECT_EQ(s.ratio, "60");
    EXPECT_EQ(s.pins, 8);
    EXPECT_EQ(s.mode, 32);
    EXPECT_EQ(WinKeyFile::serialize(s), file);
}

TEST(WinKeyFile, MissingOrUnusableValuesKeepTheirDefaults)
{
    const struct {
        const char* what;
        QByteArray bytes;
        int port, pins, mode;
        const char* ratio;
    } cases[] = {
        {"six lines: Tone and Iambic B", "1\r\n\"18\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"55\"\r\n", 1, 6, 0, "55"},
        {"seven lines", "1\r\n\"18\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"55\"\r\n5\r\n", 1, 5, 0, "55"},
        {"no option bytes", "1\r\n\"18\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"55\"\r\n7\r\n17\r\n", 1, 6, 0, "55"},
        {"port beyond a byte", "256\r\n\"18\"\r\n", 0, 6, 0, "50"},
        {"port no number", "COM3\r\n\"18\"\r\n", 0, 6, 0, "50"},
        {"empty file", "", 0, 6, 0, "50"},
        {"LF only", "4\n\"18\"\n\"50\"\n\"0\"\n\"0\"\n\"40\"\n4\n48\n", 4, 4, 48, "40"},
    };
    for (const auto& c : cases) {
        const WinKeySettings s = WinKeyFile::parse(c.bytes);
        EXPECT_EQ(s.port, c.port) << c.what;
        EXPECT_EQ(s.pins, c.pins) << c.what;
        EXPECT_EQ(s.mode, c.mode) << c.what;
        EXPECT_EQ(s.ratio, c.ratio) << c.what;
    }
    EXPECT_EQ(WinKeyFile::parse(QByteArray(WinKeyFile::kMaxBytes + 1, '7')).port, 0) << "too large to be the file";
}

// A quote typed into a field would end the value early and shift every later line.
TEST(WinKeyFile, AStoredTextCannotShiftTheLinesAfterIt)
{
    WinKeySettings s;
    s.speed = QStringLiteral("2\"0\r\n");
    s.mode = 16;
    const WinKeySettings back = WinKeyFile::parse(WinKeyFile::serialize(s));
    EXPECT_EQ(back.speed, "20");
    EXPECT_EQ(back.mode, 16);
}

TEST(WinKeyFile, SavesInPlaceAndReportsAFailure)
{
    QTemporaryDir dir;
    WinKeySettings s;
    s.port = 9;
    s.pins = 4;
    ASSERT_TRUE(WinKeyFile::save(dir.path(), s).ok);
    EXPECT_EQ(test::readAll(QDir(dir.path()).filePath("WK.txt")), WinKeyFile::serialize(s));
    EXPECT_EQ(WinKeyFile::load(dir.path()).pins, 4);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";

    const WriteResult failed = WinKeyFile::save(dir.filePath("no/such/folder"), s);
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
    EXPECT_EQ(WinKeyFile::load(dir.filePath("no/such/folder")).port, 0);
}

}  // namespace
}  // namespace cubwave
