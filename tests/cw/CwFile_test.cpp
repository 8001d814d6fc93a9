#include "cw/CwFile.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>


namespace cubwave {
namespace {

QByteArray lines(std::initializer_list<const char*> values)
{
    QByteArray out;
    for (const char* v : values)
        out += QByteArray(v) + "\r\n";
    return out;
}

const QByteArray kFull = lines({"\"CQ TEST $\"", "\"* *\"", "\"TU\"", "\"4\"", "\"5\"", "\"6\"", "\"7\"",
                                "\"8\"", "\"9 DE W1AW\"", "\"2\"", "\"20\"", "\"F10 MSG\"", "\"F11, WITH COMMA\"",
                                "\"-4\"", "2", "\"&H278\"", "0", "\"2.5\""});

TEST(CwFile, ReadsEveryValueInItsPlace)
{
    const CwSettings s = CwFile::parse(kFull);
    EXPECT_EQ(s.messages[0], "CQ TEST $");
    EXPECT_EQ(s.messages[1], "* *");
    EXPECT_EQ(s.messages[8], "9 DE W1AW");
    EXPECT_EQ(s.port, "2");
    EXPECT_EQ(s.speedWpm, "20");
    EXPECT_EQ(s.messages[CwSettings::kF10], "F10 MSG");
    EXPECT_EQ(s.messages[CwSettings::kF11], "F11, WITH COMMA");
    EXPECT_EQ(s.wordSpace, "-4");
    EXPECT_EQ(s.cwInterface, kCwDtr);
    EXPECT_EQ(s.address, "&H278");
    EXPECT_FALSE(s.displayText);
    EXPECT_EQ(s.repeatSeconds, "2.5");
    EXPECT_EQ(s.repeatIntervalMs(), 2500);
}

TEST(CwFile, WritesEighteenCrLfLinesThatReadBack)
{
    CwSettings s = CwFile::parse(kFull);
    const QByteArray bytes = CwFile::serialize(s);
    EXPECT_EQ(bytes, kFull);
    EXPECT_EQ(bytes.count("\r\n"), 18);
    EXPECT_EQ(CwFile::parse(bytes), s);
}

TEST(CwFile, DefaultsWithoutAFile)
{
    const CwSettings s = CwFile::parse({});
    EXPECT_EQ(s, CwSettings());
    EXPECT_EQ(s.messages[8], "");  // design-time value: only a read empty line 9 becomes "VVV DE "
    EXPECT_EQ(s.port, "0");
    EXPECT_EQ(s.speedWpm, "13");
    EXPECT_EQ(s.wordSpace, "0");
    EXPECT_EQ(s.address, "&H378");
    EXPECT_EQ(s.repeatSeconds, "0");
    EXPECT_TRUE(s.displayText);
    EXPECT_EQ(s.cwInterface, kCwNone);
    EXPECT_EQ(s.method, TimingMethod::Timer);
}

TEST(CwFile, EmptyF9ReadsAsVvvDe)
{
    const CwSettings s = CwFile::parse(lines({"\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\""}));
    EXPECT_EQ(s.messages[8], "VVV DE ");
    EXPECT_EQ(s.port, "0");  // not reached: default
}

TEST(CwFile, ShortFileKeepsDefaultsForWhatIsMissing)
{
    QByteArray head;
    const QList<QByteArray> all = kFull.split('\n');
    for (int n = 0; n <= 18; ++n) {
        head.clear();
        for (int i = 0; i < n; ++i)
            head += all[i] + '\n';
        const CwSettings s = CwFile::parse(head);
        EXPECT_EQ(s.speedWpm, n >= 11 ? "20" : "13") << n;
        EXPECT_EQ(s.cwInterface, n >= 15 ? kCwDtr : kCwNone) << n;
        EXPECT_EQ(s.repeatSeconds, n >= 18 ? "2.5" : "0") << n;
        EXPECT_EQ(s.displayText, n < 17) << n;
    }
}

TEST(CwFile, InterfaceOtherThanKnownValuesReadsAsNone)
{
    struct {
        const char* text;
        int iface;
    } cases[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"5", 5}, {"4", 0},
                 {"6", 0}, {"-1", 0}, {"255", 0}, {"2.5", 0}, {"99999999999", 0}};
    for (const auto& c : cases) {
        QByteArray bytes = kFull;
        bytes.replace("\r\n2\r\n", QByteArray("\r\n") + c.text + "\r\n");
        const CwSettings s = CwFile::parse(bytes);
        EXPECT_EQ(s.cwInterface, c.iface) << c.text;
        EXPECT_EQ(s.address, "&H278") << c.text;  // reading goes on
    }
}

TEST(CwFile, NonsenseEndsTheReadingWhereItStands)
{
    QByteArray bytes = kFull;
    bytes.replace("\r\n2\r\n", "\r\nRTS\r\n");
    const CwSettings s = CwFile::parse(bytes);
    EXPECT_EQ(s.cwInterface, kCwNone);
    EXPECT_EQ(s.wordSpace, "-4");      // before it: read
    EXPECT_EQ(s.address, "&H378");     // after it: defaults
    EXPECT_EQ(s.repeatSeconds, "0");
}

TEST(CwFile, BinaryAndHugeFilesNeverCrash)
{
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131) & 0xff);
    (void)CwFile::parse(binary);
    const QByteArray huge(CwFile::kMaxBytes + 1, '"');
    EXPECT_EQ(CwFile::parse(huge), CwSettings());
    const QByteArray unterminated = "\"CQ CQ\r\n\"TU";
    EXPECT_NO_FATAL_FAILURE((void)CwFile::parse(unterminated));
}

TEST(CwFile, StoredValuesLoseQuotesAndLineBreaks)
{
    CwSettings s;
    s.messages[0] = "CQ \"TEST\"\r\nDE";
    const CwSettings back = CwFile::parse(CwFile::serialize(s));
    EXPECT_EQ(back.messages[0], "CQ TESTDE");
    EXPECT_EQ(back.messages[1], "");  // nothing shifted
    EXPECT_EQ(back.speedWpm, "13");
}

TEST(CwFile, FoundWithoutRegardToCaseAndWrittenOverTheSameFile)
{
    QTemporaryDir dir;
    QFile f(dir.filePath("Cw.TXT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kFull);
    f.close();
    EXPECT_EQ(CwFile::locate(dir.path()), QFileInfo(f).absoluteFilePath());
    EXPECT_EQ(CwFile::load(dir.path()).speedWpm, "20");

    CwSettings s = CwFile::load(dir.path());
    s.speedWpm = "25";
    ASSERT_TRUE(CwFile::save(dir.path(), s).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Cw.TXT"});
    EXPECT_EQ(CwFile::load(dir.path()).speedWpm, "25");
}

TEST(CwFile, NewFileIsNamedCwTxtInCapitals)
{
    QTemporaryDir dir;
    ASSERT_TRUE(CwFile::save(dir.path(), CwSettings()).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"CW.txt"});
}

TEST(CwFile, FailedWriteReportsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    CwSettings old;
    old.speedWpm = "17";
    ASSERT_TRUE(CwFile::save(dir.path(), old).ok);
    CwSettings changed = old;
    changed.speedWpm = "30";
    changed.messages[0] = QString(4000, QLatin1Char('E'));
    WriteResult r;
    {
        test::FileSizeLimit full(1000);
        r = CwFile::save(dir.path(), changed);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(CwFile::load(dir.path()).speedWpm, "17");
}

TEST(CwFile, FailedWriteToAMissingFolderReports)
{
    const WriteResult r = CwFile::save(QStringLiteral("/nonexistent-cubwave-folder"), CwSettings());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(CwFile, AStrayQuoteShiftsNoLaterLine)
{
    QByteArray bytes = kFull;
    bytes.replace("\"CQ TEST $\"", "\"CQ \"TEST\" $\"");
    bytes.replace("\"TU\"", "\"TU");
    const CwSettings s = CwFile::parse(bytes);
    EXPECT_EQ(s.messages[0], "CQ ");
    EXPECT_EQ(s.messages[2], "TU");
    EXPECT_EQ(s.speedWpm, "20");
    EXPECT_EQ(s.cwInterface, kCwDtr);
}

TEST(CwFile, ValuesSplitLikeTheReader)
{
    EXPECT_EQ(CwFile::values("\"a,b\",c\r\n d \r\n\"x\"junk,y\n\n"),
              (QStringList{"a,b", "c", "d", "x", "y", ""}));
}

}  // namespace
}  // namespace cubwave
