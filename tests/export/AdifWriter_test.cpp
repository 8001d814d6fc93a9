#include "export/AdifWriter.h"
#include "export/AsciiText.h"
#include "export/ExportTime.h"
#include "ExportFixtures.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <cstdlib>

namespace cubwave::test {
namespace {

AdifCountryTable countries()
{
    const QByteArray rows = "\"USA\",291\r\n\"Canada\",1\r\n\"Hawaii\",110\r\n\"Alaska\",6\r\n"
                            "\"Germany\",230\r\n\"Japan\",339\r\n";
    AdifCountryTableLoad load = AdifCountryTable::parse(rows, QStringLiteral("ADIFCnt.txt"));
    EXPECT_TRUE(load.ok) << load.error.toStdString();
    return load.table;
}

QByteArray recordText(const Contact& c, const QString& power = QString(), const QString& ownCall = QString())
{
    const AdifCountryTable table = countries();
    QByteArray out;
    AdifWriter(table, AdifPower::fromTyped(power), ownCall).appendRecord(out, c.record());
    return out;
}

TEST(AdifWriter, WritesTheLogsFourLinesThenTheStationAndAgeLineByteForByte)
{
    Contact c;
    c.call = QStringLiteral("W1AW");
    c.freq = QStringLiteral("14.025");
    const QByteArray logLines = "<Call:4>W1AW <Qso_Date:8:d>20120609 <Band:3>20M <Mode:2>CW\r\n"
                                "<Tx_Pwr:3>100 <Freq:6>14.025 <Time_On:4>1834 <DXCC:3>291 <State:2>CT <Name:3>Sam "
                                "<Comment:26>Cubwave  Sam Age: 12  Blue\r\n";
    EXPECT_EQ(recordText(c, QStringLiteral("100"), QStringLiteral(" n0cub ")),
              logLines + "<Station_Callsign:5>N0CUB <Operator:5>N0CUB <Age:2>12\r\n<eor>\r\n\r\n");
    // Without an own call and an age the record is the log's four lines alone.
    c.age = QStringLiteral("twelve");
    EXPECT_EQ(recordText(c, QStringLiteral("100")),
              QByteArray(logLines).replace("Age: 12", "Age: twelve").replace("<Comment:26>", "<Comment:30>")
                  + "<eor>\r\n\r\n");
    c.age.clear();
    EXPECT_TRUE(recordText(c, {}, QStringLiteral("K1ABC")).endsWith(
        "Blue\r\n<Station_Callsign:5>K1ABC <Operator:5>K1ABC\r\n<eor>\r\n\r\n"));
}

TEST(AdifWriter, AgeIsAWholeNumberFromZeroTo120WithoutLeadingZeros)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12", "12"}, {"007", "7"}, {"0", "0"}, {"000", "0"}, {" 9 ", "9"}, {"120", "120"}, {"0120", "120"},
        {"121", ""},  {"", ""},     {"-1", ""}, {"12.5", ""}, {"1 2", ""},  {"twelve", ""}, {"99999999999", ""},
        {"\u0661\u0662", ""},  // digits, but not ADIF's
    };
    const AdifCountryTable table = countries();
    const AdifWriter writer(table, {});
    for (const auto& [stored, age] : cases) {
        Contact c;
        c.age = QString::fromUtf8(stored);
        EXPECT_EQ(writer.values(c.record()).age, *age ? std::atoi(age) : -1) << stored;
        const QByteArray text = recordText(c);
        if (*age)
            EXPECT_TRUE(text.contains("<Age:" + QByteArray::number(qstrlen(age)) + '>' + age + "\r\n")) << stored;
        else
            EXPECT_FALSE(text.contains("<Age:")) << stored;
        // The comment keeps the age as typed.
        EXPECT_TRUE(text.contains(c.age.isEmpty() ? "Cubwave  Sam  Blue" : "Age: " + toAscii(c.age))) << stored;
    }
}

TEST(AdifWriter, LeavesOutEveryOptionalTagWhoseValueIsEmpty)
{
    Contact c;
    c.call.clear();
    c.date = QStringLiteral("not a date");
    c.band.clear();
    c.spc.clear();
    c.name.clear();
    c.age.clear();
    c.other.clear();
    c.mode = QStringLiteral("ph");
    EXPECT_EQ(recordText(c), QByteArray("<Mode:3>SSB\r\n<Time_On:4>1834 <Comment:9>Cubwave  \r\n<eor>\r\n\r\n"));
}

TEST(AdifWriter, BandLengthCountsTheM)
{
    for (const auto& [band, tag] : {std::pair{"2", "<Band:2>2M "}, {"6", "<Band:2>6M "}, {"20", "<Band:3>20M "},
                                    {"160", "<Band:4>160M "}}) {
        Contact c;
        c.band = QString::fromLatin1(band);
        EXPECT_TRUE(recordText(c).contains(tag)) << band;
    }
}

struct LocationCase {
    const char* call;
    const char* spc;
    const char* state;
    const char* country;
    int dxcc;
};

TEST(AdifWriter, DerivesStateCountryAndDxccFromCallAndLocation)
{
    const AdifCountryTable table = countries();
    const AdifWriter writer(table, {});
    const LocationCase cases[] = {
        {"w1aw", "CT", "CT", "USA", 291},      {"VE3XYZ", "ON", "ON", "Canada", 1},
        {"KH6ABC", "HI", "HI", "Hawaii", 110}, {"KL7ABC", "AK", "AK", "Alaska", 6},
        {"AA1A", "ak", "ak", "Alaska", 6},     {"NP4A", "PR", "PR", "USA", 291},
        {"DL1ABC", "Germany", "", "Germany", 230},
        {"DL1ABC", " germany ", "", " germany ", 230},  // compared trimmed, without regard to case
        {"F5ABC", "France", "", "France", 0},  // no row: no DXCC tag
        {"K1ABC", "", "", "", 0},              {"K1ABC", "C", "", "", 0},
        {"5B4AB", "CT", "", "Canada", 1},      // a two-letter location after any other prefix
        // Canada's provinces are ADIF's codes, in upper case; the log's Yukon "YK" is ADIF's "YT".
        {"VE1AA", "ns", "NS", "Canada", 1},    {"VY1AA", "YK", "YT", "Canada", 1},
        {"VY1AA", "yt", "YT", "Canada", 1},    {"VE2AA", "Qc", "QC", "Canada", 1},
        {"VE8AA", "NT", "NT", "Canada", 1},    {"VY0AA", "NU", "NU", "Canada", 1},
        {"VE3XYZ", "XX", "", "Canada", 1},     {"VE3XYZ", "PQ", "", "Canada", 1},  // not ADIF's
    };
    for (const LocationCase& lc : cases) {
        Contact c;
        c.call = QString::fromLatin1(lc.call);
        c.spc = QString::fromLatin1(lc.spc);
        const AdifValues v = writer.values(c.record());
        EXPECT_EQ(v.state, QString::fromLatin1(lc.state)) << lc.call << " " << lc.spc;
        EXPECT_EQ(v.country, QString::fromLatin1(lc.country)) << lc.call << " " << lc.spc;
        EXPECT_EQ(v.dxcc, lc.dxcc) << lc.call << " " << lc.spc;
    }
}

TEST(AdifWriter, AProvinceIsWrittenOnlyBesideCanadasDxcc)
{
    // A country table that numbers Canada otherwise would pair a province with another entity.
    AdifCountryTableLoad load = AdifCountryTable::parse("\"Canada\",2\r\n", QStringLiteral("ADIFCnt.txt"));
    ASSERT_TRUE(load.ok);
    Contact c;
    c.call = QStringLiteral("VE3XYZ");
    c.spc = QStringLiteral("ON");
    const AdifValues v = AdifWriter(load.table, {}).values(c.record());
    EXPECT_EQ(v.dxcc, 2);
    EXPECT_EQ(v.state, QString());
    EXPECT_TRUE(recordText(c).contains("<DXCC:1>1 <State:2>ON <Name:3>Sam "));
}

TEST(AdifWriter, AnEmptyLocationAfterADxRecordHasNoDxcc)
{
    Contact dx;
    dx.call = QStringLiteral("JA1ABC");
    dx.spc = QStringLiteral("Japan");
    Contact blank;
    blank.spc.clear();
    const AdifCountryTable table = countries();
    QByteArray out;
    const AdifWriter writer(table, {});
    writer.appendRecord(out, dx.record());
    writer.appendRecord(out, blank.record());
    const AdiRead read = readAdi(out);
    ASSERT_EQ(read.records.size(), 2);
    EXPECT_EQ(field(read.records[0], "dxcc"), "339");
    EXPECT_FALSE(hasField(read.records[1], "dxcc"));
    EXPECT_FALSE(hasField(read.records[1], "state"));
}

TEST(AdifWriter, TimeOnIsHhmmForEveryReadableTime)
{
    const std::pair<const char*, const char*> cases[] = {
        {"18:34:56", "1834"}, {"18:34", "1834"}, {"9:05", "0905"}, {"7:5", "0705"}, {" 7:05:09 ", "0705"},
        {"00:00:00", "0000"}, {"", "0000"},       // the Part's character rules for what does not read
        {"25:61", "2561"},    {"12 34", "1234"},   {"ab:cdef", "abcd"}, {"1", "0001"}, {"12345", "1234"},
    };
    for (const auto& [stored, expected] : cases)
        EXPECT_EQ(adifTimeOn(QString::fromLatin1(stored)), QString::fromLatin1(expected)) << stored;
}

TEST(AdifWriter, QsoDateIsWrittenOnlyForARealDate)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2012/06/09", "20120609"}, {"6/9/2012", "20120609"}, {"2024/02/29", "20240229"},
        {"2023/02/29", ""},         {"2012/13/01", ""},       {"", ""}, {"yesterday", ""},
    };
    for (const auto& [stored, expected] : cases)
        EXPECT_EQ(adifDate(QString::fromLatin1(stored)), QString::fromLatin1(expected)) << stored;
}

TEST(AdifWriter, PowerIsANumberOfWattsOrNothing)
{
    struct Case {
        const char* typed;
        const char* tag;  // empty: no Tx_Pwr tag
        bool refused;
    };
    const Case cases[] = {
        {"100", "<Tx_Pwr:3>100 ", false}, {"100 ", "<Tx_Pwr:3>100 ", false}, {"100W", "<Tx_Pwr:3>100 ", false},
        {" 5 w ", "<Tx_Pwr:1>5 ", false}, {"0.5", "<Tx_Pwr:3>0.5 ", false}, {"", "", false},
        {"5 Watts", "<Tx_Pwr:1>5 ", false}, {"5 watts", "<Tx_Pwr:1>5 ", false}, {"5watts", "<Tx_Pwr:1>5 ", false},
        {" 100 WATT ", "<Tx_Pwr:3>100 ", false}, {"0.5 Watts", "<Tx_Pwr:3>0.5 ", false},
        {"lots", "", true},                {"W", "", true},                    {"-5", "", true},
        {"1.2.3", "", true},               {"watts", "", true},                {"5 wattss", "", true},
        {"5 kW", "", true},                {"5 W W", "", true},                {"5 Watts 100", "", true},
    };
    for (const Case& pc : cases) {
        const AdifPower power = AdifPower::fromTyped(QString::fromLatin1(pc.typed));
        EXPECT_EQ(power.refused, pc.refused) << pc.typed;
        const QByteArray text = recordText(Contact{}, QString::fromLatin1(pc.typed));
        if (*pc.tag)
            EXPECT_TRUE(text.contains(pc.tag)) << pc.typed << "\n" << text.toStdString();
        else
            EXPECT_FALSE(text.contains("<Tx_Pwr:")) << pc.typed;
    }
}

TEST(AdifWriter, FrequencyIsWrittenOnlyInsideTheRecordsBand)
{
    struct Case {
        const char* band;
        const char* freq;
        const char* tag;  // empty: no Freq tag
    };
    const Case cases[] = {
        {"20", "14.025", "<Freq:6>14.025 "}, {"20", " 14.000 ", "<Freq:6>14.000 "}, {"20", "14.350", "<Freq:6>14.350 "},
        {"20", "7.020", ""},                 {"40", "7.020", "<Freq:5>7.020 "},     {"20", "14.351", ""},
        {"160", "1.830", "<Freq:5>1.830 "},  {"2", "146.520", "<Freq:7>146.520 "},  {"6", "50.125", "<Freq:6>50.125 "},
        {"20", "", ""},                      {"20", "abc", ""},                     {"17", "18.100", ""},
    };
    for (const Case& fc : cases) {
        Contact c;
        c.band = QString::fromLatin1(fc.band);
        c.freq = QString::fromLatin1(fc.freq);
        const QByteArray text = recordText(c);
        if (*fc.tag)
            EXPECT_TRUE(text.contains(fc.tag)) << fc.band << " " << fc.freq << "\n" << text.toStdString();
        else
            EXPECT_FALSE(text.contains("<Freq:")) << fc.band << " " << fc.freq;
    }
}

TEST(AdifWriter, NonAsciiValuesAreWrittenInAsciiSoLengthsCountBytes)
{
    Contact c;
    c.name = QStringLiteral("José");
    c.other = QStringLiteral("Grün ☀");
    c.call = QStringLiteral("K1ÄBC");
    const QByteArray text = recordText(c);
    EXPECT_TRUE(text.contains("<Name:4>Jose ")) << text.toStdString();
    EXPECT_TRUE(text.contains("<Call:5>K1ABC ")) << text.toStdString();
    EXPECT_TRUE(text.contains("<Comment:29>Cubwave  Jose Age: 12  Grun ?\r\n")) << text.toStdString();
    for (const char byte : text)
        EXPECT_LT(static_cast<unsigned char>(byte), 0x80);
}

TEST(AdifWriter, HeaderIsTheLogsLinesThenTheAdifFieldsAndAnEmptyLogIsTheHeaderAlone)
{
    const AdifCountryTable table = countries();
    // The clock's UTC reading may come in any zone: the timestamp is UTC.
    const QDateTime created = QDateTime(QDate(2026, 6, 14), QTime(1, 2, 3), Qt::UTC).toOffsetFromUtc(-5 * 3600);
    const AdifDocument doc = AdifWriter(table, {}).document(
        {QStringLiteral("Brantel's Cubwave Log 1.8"), QStringLiteral("6/9/12 6:34:56 PM"), created}, {});
    EXPECT_TRUE(doc.refusedLines.empty());
    const QList<QByteArray> lines = doc.text.split('\n');
    ASSERT_EQ(lines.size(), 12);  // eleven lines, each ended by CR LF
    EXPECT_EQ(lines[0], "ADIF Export from Brantel's Cubwave Log 1.8\r");
    EXPECT_EQ(lines[1], AdifWriter::authorLine().toLatin1() + '\r');
    EXPECT_EQ(lines[2], AdifWriter::contactLine().toLatin1() + '\r');
    EXPECT_EQ(lines[3], "Log exported on: 6/9/12 6:34:56 PM\r");
    EXPECT_EQ(lines[4], "\r");
    EXPECT_EQ(lines[5], "<ADIF_VER:5>3.1.4\r");
    EXPECT_EQ(lines[6], "<PROGRAMID:11>Cubwave Log\r");
    EXPECT_EQ(lines[7], "<PROGRAMVERSION:3>1.8\r");
    EXPECT_EQ(lines[8], "<CREATED_TIMESTAMP:15>20260614 010203\r");
    EXPECT_EQ(lines[9], "<EOH>\r");
    EXPECT_EQ(lines[10], "\r");
    EXPECT_EQ(lines[11], "");

    // Without a reading of the clock the timestamp is left out rather than made up.
    const AdifDocument undated = AdifWriter(table, {}).document({QStringLiteral("P"), QStringLiteral("now"), {}}, {});
    EXPECT_FALSE(undated.text.contains("CREATED_TIMESTAMP"));
    EXPECT_TRUE(undated.text.contains("<PROGRAMVERSION:3>1.8\r\n<EOH>\r\n"));
}

TEST(AdifWriter, ContactsLogbooksRefuseAreWrittenAndTheirLinesListed)
{
    struct Case {
        const char* call;
        const char* date;
        const char* time;
        bool ready;
    };
    const Case cases[] = {
        {"K1ABC", "2012/06/09", "18:34:56", true},  {"K1ABC", "2012/06/09", "23:59", true},
        {"K1ABC", "2012/06/09", "0:00", true},      {"K1ABC", "2012/06/09", "12 34", true},  // written 1234
        {"K1ABC", "2012/13/09", "18:34:56", false}, {"K1ABC", "", "18:34:56", false},
        {"K1ABC", "2012/06/09", "24:00", false},    {"K1ABC", "2012/06/09", "25:61", false},
        {"K1ABC", "2012/06/09", "12:60", false},    {"K1ABC", "2012/06/09", "ab:cd", false},
        {"K1ABC", "2012/06/09", "", false},         {"K1ABC", "2012/06/09", "  ", false},
        {"", "2012/06/09", "18:34:56", false},      {"\u0301", "2012/06/09", "18:34:56", false},  // a lone accent
    };
    std::vector<QsoRecord> log;
    std::vector<qsizetype> refused;
    for (const Case& rc : cases) {
        Contact c;
        c.call = QString::fromUtf8(rc.call);
        c.date = QString::fromLatin1(rc.date);
        c.time = QString::fromLatin1(rc.time);
        log.push_back(c.record());
        if (!rc.ready)
            refused.push_back(static_cast<qsizetype>(log.size()));
    }
    const AdifCountryTable table = countries();
    const AdifDocument doc = AdifWriter(table, {}).document({QStringLiteral("P"), QStringLiteral("now"), {}}, log);
    EXPECT_EQ(doc.refusedLines, refused);
    // Each is still written as the log has it.
    const AdiRead read = readAdi(doc.text);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.records.size(), static_cast<qsizetype>(log.size()));
    EXPECT_EQ(field(read.records[7], "time_on"), "2561");
    EXPECT_FALSE(hasField(read.records[4], "qso_date"));
    EXPECT_FALSE(hasField(read.records[12], "call"));
}

TEST(AdifWriter, AByteCountingReaderGetsBackEveryValue)
{
    std::vector<QsoRecord> log;
    const char* names[] = {"José", "Zoë", "Ann-Marie", "Ólafur", "Li", ""};
    for (int i = 0; i < 60; ++i) {
        Contact c;
        c.call = QStringLiteral("K%1ABC").arg(i % 10);
        c.name = QString::fromUtf8(names[i % 6]);
        c.other = i % 3 ? QStringLiteral("Bleu ciel éclatant") : QString();
        c.age = i % 4 ? QString::number(8 + i % 10) : QString();
        c.band = QStringList{"160", "80", "40", "20", "15", "10", "6", "2"}[i % 8];
        c.mode = i % 2 ? QStringLiteral("PH") : QStringLiteral("CW");
        c.time = QStringLiteral("%1:%2:00").arg(10 + i / 60, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0'));
        log.push_back(c.record());
    }
    const AdifCountryTable table = countries();
    const AdifWriter writer(table, AdifPower::fromTyped(QStringLiteral("5")), QStringLiteral("n0cub"));
    const AdiRead read = readAdi(writer.document({QStringLiteral("P"), QStringLiteral("now"), {}}, log).text);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.records.size(), static_cast<qsizetype>(log.size()));
    for (size_t i = 0; i < log.size(); ++i) {
        const auto& rec = read.records[static_cast<qsizetype>(i)];
        const QsoRecord& r = log[i];
        EXPECT_EQ(field(rec, "call"), r.call().toLatin1());
        EXPECT_EQ(field(rec, "name"), QString(r[QsoRecord::Name]).normalized(QString::NormalizationForm_KD)
                                          .remove(QRegularExpression(QStringLiteral("\\p{Mn}")))
                                          .toLatin1());
        EXPECT_EQ(field(rec, "mode"), r.mode() == QLatin1String("PH") ? "SSB" : "CW");
        EXPECT_EQ(field(rec, "band"), r.band().toLatin1() + 'M');
        EXPECT_EQ(field(rec, "time_on"), r[QsoRecord::Time].left(5).remove(QLatin1Char(':')).toLatin1());
        EXPECT_EQ(field(rec, "tx_pwr"), "5");
        EXPECT_EQ(field(rec, "qso_date"), "20120609");
        EXPECT_EQ(field(rec, "station_callsign"), "N0CUB");
        EXPECT_EQ(field(rec, "operator"), "N0CUB");
        EXPECT_EQ(field(rec, "age"), r[QsoRecord::Age].toLatin1());
    }
}

}  // namespace
}  // namespace cubwave::test
