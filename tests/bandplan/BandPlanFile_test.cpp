#include "bandplan/BandPlanFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace cubwave;
using Problem = BandPlanFile::Problem;

namespace {

QByteArray recordsOf(int count, const char* licenceClass = "E")
{
    QByteArray out = "\"2026\"\r\n";
    for (int i = 0; i < count; ++i)
        out += QByteArray("\"40\",\"") + licenceClass + "\",\"CW\",7,7.125\r\n";
    return out;
}

struct ParseCase {
    const char* name;
    QByteArray bytes;
    Problem problem;
    size_t records;
};

class BandPlanParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(BandPlanParse, ReadsWholeFilesAndRefusesTheRest)
{
    const BandPlanFile::Contents contents = BandPlanFile::parse(GetParam().bytes);
    EXPECT_EQ(contents.problem, GetParam().problem);
    EXPECT_EQ(contents.records.size(), GetParam().records);
    if (contents.problem != Problem::None) {
        EXPECT_TRUE(contents.effective.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BandPlanParse,
    ::testing::Values(
        ParseCase{"DateOnly", "\"Jan 1\"\r\n", Problem::None, 0},
        ParseCase{"OneRecordOnALine", "\"x\"\n\"40\",\"E\",\"CW\",7,7.125\n", Problem::None, 1},
        ParseCase{"ValuesOnTheirOwnLines", "\"x\"\n\"40\"\n\"E\"\n\"CW\"\n7\n7.125\n", Problem::None, 1},
        ParseCase{"BlankLinesAndNoFinalBreak", "\"x\"\r\n\r\n\"40\",\"E\",\"CW\",7,7.125", Problem::None, 1},
        ParseCase{"QuotedNumbers", "\"x\"\n\"40\",\"E\",\"CW\",\"7\",\"7.125\"\n", Problem::None, 1},
        ParseCase{"TwoHundredRecords", recordsOf(200), Problem::None, 200},
        ParseCase{"Empty", "", Problem::Unreadable, 0},
        ParseCase{"RecordCutShort", "\"x\"\n\"40\",\"E\",\"CW\",7\n", Problem::Unreadable, 0},
        ParseCase{"LetterForAnEdge", "\"x\"\n\"40\",\"E\",\"CW\",7,abc\n", Problem::Unreadable, 0},
        ParseCase{"EdgeBeyondSinglePrecision", "\"x\"\n\"40\",\"E\",\"CW\",7,1e39\n", Problem::Unreadable, 0},
        ParseCase{"TwoHundredAndOneRecords", recordsOf(201), Problem::TooLong, 0},
        ParseCase{"HugeFile", QByteArray(BandPlanFile::kMaxBytes + 1, ' '), Problem::TooLong, 0}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(BandPlanFile, KeepsTextsAsWrittenCommasInsideQuotesIncluded)
{
    const BandPlanFile::Contents contents =
        BandPlanFile::parse("\"Effective March 5, 2012\"\r\n\"70cm\" , \"E\",\"Phone, data\", 420 , 450\r\n");
    ASSERT_EQ(contents.problem, Problem::None);
    EXPECT_EQ(contents.effective, "Effective March 5, 2012");
    ASSERT_EQ(contents.records.size(), 1u);
    EXPECT_EQ(contents.records[0], (BandPlanRecord{"70cm", "E", "Phone, data", 420, 450}));
}

TEST(BandPlanFile, ReadsAStrayQuoteToTheEndOfItsLineOnly)
{
    const BandPlanFile::Contents contents = BandPlanFile::parse("\"x\n\"40\",\"E\",\"CW\",7,7.125\n");
    ASSERT_EQ(contents.problem, Problem::None);
    EXPECT_EQ(contents.effective, "x");
    EXPECT_EQ(contents.records.size(), 1u);
}

TEST(BandPlanFile, TellsAMissingFileFromAnUnreadableOne)
{
    QTemporaryDir dir;
    EXPECT_EQ(BandPlanFile::read(dir.path()).problem, Problem::Missing);
    ASSERT_TRUE(QDir(dir.path()).mkdir(BandPlanFile::kFileName));  // a folder by that name
    EXPECT_EQ(BandPlanFile::read(dir.path()).problem, Problem::Unreadable);
}

TEST(BandPlanFile, ReadsTheFileInTheFolder)
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath(BandPlanFile::kFileName), recordsOf(3));
    const BandPlanFile::Contents contents = BandPlanFile::read(dir.path());
    EXPECT_EQ(contents.problem, Problem::None);
    EXPECT_EQ(contents.records.size(), 3u);
}

TEST(BandPlanFile, ExtraRecordsKeepOnlyTheExtraClassPassingOverWhatCannotBeRead)
{
    const QByteArray bytes = "\"x\"\n"
                             "\"40\",\"O\",\"\",7,7.3\n"
                             "\"40\",\"E\",\"CW\",7,7.125\n"
                             "\"40\",\"e\",\"CW\",7,7.125\n"  // classes compare exactly
                             "\"40\",\"E\",\"PH\",7.125,oops\n"
                             "\"40\",\"G\",\"PH\",7.175,7.3\n"
                             "\"20\",\"E\",\"PH\",14.15,14.35\n"
                             "\"20\",\"E\"\n";  // cut short
    const std::vector<BandPlanRecord> extra = BandPlanFile::extraRecords(bytes);
    ASSERT_EQ(extra.size(), 2u);
    EXPECT_EQ(extra[0], (BandPlanRecord{"40", "E", "CW", 7, 7.125f}));
    EXPECT_EQ(extra[1], (BandPlanRecord{"20", "E", "PH", 14.15f, 14.35f}));
}

// What the rig says when mode commands go missing: the line of the first record it could not
// read, and why.
TEST(BandPlanFile, ExtraReadingNamesTheFirstDamagedLine)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::optional<BandPlanFile::Damage> damage;
        int records;  // -1: not counted
    };
    const QByteArray head = "\"2026\"\r\n\"40\",\"O\",\"ALL\",7,7.3\r\n";
    const QByteArray tail = "\"20\",\"E\",\"CW\",14,14.15\r\n\"20\",\"E\",\"PH\",14.15,14.35\r\n";
    for (const Case& c : {
             Case{"intact", head + "\"40\",\"E\",\"CW\",7,7.125\r\n" + tail, std::nullopt, 3},
             Case{"edge not a number", head + "\"40\",\"E\",\"CW\",7,7.12x\r\n" + tail,
                  BandPlanFile::Damage{3, "\"7.12x\" is not a frequency in MHz"}, 2},
             // One value lost shifts every record after it: nothing of 20 m is read.
             Case{"value missing", head + "\"40\",\"E\",7,7.125\r\n" + tail,
                  BandPlanFile::Damage{3, "\"7\" is not a mode"}, 0},
             Case{"class missing", head + "\"40\",\"CW\",7,7.125\r\n" + tail,
                  BandPlanFile::Damage{3, "\"CW\" is not a licence class"}, 0},
             Case{"ends inside a record", head + tail + "\"15\",\"E\",\"CW\"\r\n",
                  BandPlanFile::Damage{5, "the file ends inside a record"}, 2},
             Case{"shipped", test::readAll(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/BandPlan.txt")), std::nullopt, -1},
         }) {
        const BandPlanFile::ExtraReading reading = BandPlanFile::readExtra(c.bytes);
        EXPECT_EQ(reading.damage, c.damage) << c.name << ": "
                                            << (reading.damage ? reading.damage->reason.toStdString() : "none");
        if (c.records >= 0)
            EXPECT_EQ(reading.records.size(), size_t(c.records)) << c.name;
    }
}

TEST(BandPlanFile, ExtraRecordsStopAtTwoHundred)
{
    EXPECT_EQ(BandPlanFile::extraRecords(recordsOf(250)).size(), size_t(BandPlanFile::kMaxRecords));
    EXPECT_TRUE(BandPlanFile::extraRecords(recordsOf(5, "G")).empty());
}

}  // namespace
