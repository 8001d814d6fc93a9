#include "export/CabrilloSummary.h"
#include "export/ExportTime.h"
#include "ExportFixtures.h"

#include <gtest/gtest.h>

namespace cubwave::test {
namespace {

Contact example()
{
    Contact c;
    c.band = QStringLiteral("40");
    c.mode = QStringLiteral("CW");
    c.call = QStringLiteral("K1ABC");
    c.name = QStringLiteral("Sam");
    c.age = QStringLiteral("12");
    c.spc = QStringLiteral("CT");
    c.other = QStringLiteral("blue");
    c.date = QStringLiteral("2012/06/09");
    c.time = QStringLiteral("18:34:56");
    return c;
}

// The text of each column's field as the line holds it: from its column up to the next one.
QByteArray columnText(const QByteArray& line, int column, int nextColumn)
{
    return line.mid(column - 1, nextColumn - column);
}

TEST(CabrilloSummary, ThePartsExampleLineByteForByte)
{
    EXPECT_EQ(CabrilloSummary::qsoLine(example().record()),
              QByteArray("QSO:  7000 CW 2012-06-09 1834 K1ABC       Sam       12 CT blue"));
}

TEST(CabrilloSummary, BandsGiveTheirFrequencyTextsExactly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"160", " 1800"}, {"80", " 3500"}, {"40", " 7000"}, {"20", "14000"}, {"15", "21000"},
        {"10", "28000"},  {"6", "50"},     {"2", "144"},    {"17", ""},      {"20 ", ""}, {"", ""},
    };
    for (const auto& [band, text] : cases) {
        EXPECT_EQ(CabrilloSummary::bandFrequency(QString::fromLatin1(band)), QString::fromLatin1(text)) << band;
        Contact c = example();
        c.band = QString::fromLatin1(band);
        const QByteArray line = CabrilloSummary::qsoLine(c.record());
        EXPECT_EQ(columnText(line, CabrilloSummary::Frequency, CabrilloSummary::Mode).trimmed(),
                  QByteArray(text).trimmed())
            << band;
        EXPECT_EQ(columnText(line, CabrilloSummary::Mode, CabrilloSummary::Date), "CW ") << band;
    }
}

TEST(CabrilloSummary, FieldsKeepTheirColumnsAndCallAndNameAreCut)
{
    Contact c = example();
    c.call = QStringLiteral("VE3ABCDEFGHIJ");
    c.name = QStringLiteral("Maximilianus");
    c.spc = QStringLiteral("Germany");
    c.age = QStringLiteral("123");
    c.mode = QStringLiteral("PH");
    const QByteArray line = CabrilloSummary::qsoLine(c.record());
    EXPECT_EQ(columnText(line, CabrilloSummary::Call, CabrilloSummary::Name), "VE3ABCDEFG  ");
    EXPECT_EQ(columnText(line, CabrilloSummary::Name, CabrilloSummary::Age), "Maximilian");
    EXPECT_EQ(columnText(line, CabrilloSummary::Age, CabrilloSummary::Location), "123");
    EXPECT_EQ(columnText(line, CabrilloSummary::Location, CabrilloSummary::Other), "DX ");
    EXPECT_EQ(line.mid(CabrilloSummary::Other - 1), "blue");
    EXPECT_EQ(columnText(line, CabrilloSummary::Mode, CabrilloSummary::Date), "PH ");
}

TEST(CabrilloSummary, AnOverrunningFieldIsFollowedByOneBlankAndTheLineGoesOn)
{
    Contact c = example();
    c.age = QStringLiteral("12345");
    c.mode = QStringLiteral("CWXYZ");
    const QByteArray line = CabrilloSummary::qsoLine(c.record());
    EXPECT_FALSE(line.contains('\r'));
    EXPECT_FALSE(line.contains('\n'));
    EXPECT_TRUE(line.startsWith("QSO:  7000 CWXYZ 2012-06-09 1834 K1ABC")) << line.toStdString();
    EXPECT_TRUE(line.endsWith("Sam       12345 CT blue")) << line.toStdString();
}

TEST(CabrilloSummary, TimesThatReadAreFourDigits)
{
    const std::pair<const char*, const char*> cases[] = {
        {"18:34:56", "1834"}, {"18:34", "1834"}, {"9:05", "0905"}, {"9:5", "0905"},
        {"", ""},             {"abcdefg", "abde"},  // what does not read keeps the character rule
    };
    for (const auto& [stored, expected] : cases)
        EXPECT_EQ(summaryTime(QString::fromLatin1(stored)), QString::fromLatin1(expected)) << stored;
    Contact c = example();
    c.time = QStringLiteral("9:05");
    EXPECT_EQ(columnText(CabrilloSummary::qsoLine(c.record()), CabrilloSummary::Time, CabrilloSummary::Call), "0905 ");
}

TEST(CabrilloSummary, DatesThatDoNotReadStayAsStored)
{
    EXPECT_EQ(summaryDate(u"2012/06/09"), QStringLiteral("2012-06-09"));
    EXPECT_EQ(summaryDate(u"6/9/2012"), QStringLiteral("2012-06-09"));
    EXPECT_EQ(summaryDate(u"2012/02/30"), QStringLiteral("2012/02/30"));
}

TEST(CabrilloSummary, HeaderLinesAndAnEmptyLog)
{
    CabrilloSummary::Header h;
    h.productName = QStringLiteral("Brantel's Cubwave Log 1.8");
    h.ownLocation = QStringLiteral("CT");
    h.ownCall = QStringLiteral("K1ABC");
    h.name = QStringLiteral("Sam Smith");
    h.address1 = QStringLiteral("1 Main St");
    h.address2 = QStringLiteral("Hartford CT");
    h.email = QStringLiteral("sam@example.org");
    h.soapbox = QStringLiteral("Great fun!");
    EXPECT_EQ(CabrilloSummary::document(h, {}),
              QByteArray("START-OF-LOG: 2.0\r\n"
                         "CREATED-BY: Brantel's Cubwave Log 1.8\r\n"
                         "CONTEST: CUBWAVE\r\n"
                         "STATE-PROVINCE-COUNTRY: CT\r\n"
                         "CALLSIGN: K1ABC\r\n"
                         "NAME: Sam Smith\r\n"
                         "ADDRESS: 1 Main St\r\n"
                         "ADDRESS: Hartford CT\r\n"
                         "ADDRESS: (e-mail) sam@example.org\r\n"
                         "SOAPBOX: Great fun!\r\n"
                         "END-OF-LOG:\r\n"));
}

TEST(CabrilloSummary, EachSoapboxLineGetsItsKeywordAndOtherLineBreaksBecomeBlanks)
{
    CabrilloSummary::Header h;
    h.name = QStringLiteral("Sam\r\nSmith");
    h.address1 = QStringLiteral("1 Main St\nApt 2");
    h.soapbox = QStringLiteral("Line one\r\nLine two\nLine three\rLine four");
    const QByteArray doc = CabrilloSummary::document(h, {});
    EXPECT_TRUE(doc.contains("\r\nNAME: Sam Smith\r\n"));
    EXPECT_TRUE(doc.contains("\r\nADDRESS: 1 Main St Apt 2\r\n"));
    EXPECT_TRUE(doc.contains("\r\nSOAPBOX: Line one\r\nSOAPBOX: Line two\r\nSOAPBOX: Line three\r\n"
                             "SOAPBOX: Line four\r\nEND-OF-LOG:\r\n"))
        << doc.toStdString();
    // Every line starts with a keyword.
    for (const QByteArray& line : doc.split('\n')) {
        if (!line.isEmpty()) {
            EXPECT_TRUE(line.contains(':')) << line.toStdString();
        }
    }
}

TEST(CabrilloSummary, EveryLineIsAsciiAndEveryQsoLineHoldsItsColumns)
{
    std::vector<QsoRecord> log;
    const char* names[] = {"José", "Zoë", "Li", "Ann-Marie", ""};
    const char* spcs[] = {"CT", "ON", "Germany", "", "Japan"};
    for (int i = 0; i < 40; ++i) {
        Contact c = example();
        c.name = QString::fromUtf8(names[i % 5]);
        c.spc = QString::fromLatin1(spcs[i % 5]);
        c.call = QStringLiteral("W%1XYZ").arg(i);
        c.band = QStringList{"160", "80", "40", "20", "15", "10", "6", "2"}[i % 8];
        c.age = QString::number(5 + i % 15);
        log.push_back(c.record());
    }
    CabrilloSummary::Header h;
    h.name = QStringLiteral("Zoë");
    const QByteArray doc = CabrilloSummary::document(h, log);
    for (const char byte : doc)
        ASSERT_LT(static_cast<unsigned char>(byte), 0x80);
    int qsoLines = 0;
    for (const QByteArray& raw : doc.split('\n')) {
        if (!raw.startsWith("QSO:"))
            continue;
        const QByteArray line = raw.chopped(1);  // the CR
        const QsoRecord& r = log[static_cast<size_t>(qsoLines++)];
        const QByteArray cols[] = {columnText(line, CabrilloSummary::Time, CabrilloSummary::Call),
                                   columnText(line, CabrilloSummary::Call, CabrilloSummary::Name),
                                   columnText(line, CabrilloSummary::Location, CabrilloSummary::Other)};
        EXPECT_EQ(cols[0], "1834 ");
        EXPECT_EQ(cols[1].trimmed(), r.call().toLatin1());
        EXPECT_EQ(cols[2].trimmed(), r.spc().size() > 2 ? "DX" : r.spc().toLatin1());
        EXPECT_EQ(line[CabrilloSummary::Frequency - 2], ' ');
        EXPECT_EQ(line[CabrilloSummary::Age - 2], ' ');
    }
    EXPECT_EQ(qsoLines, 40);
    EXPECT_TRUE(doc.contains("NAME: Zoe\r\n"));
    EXPECT_TRUE(doc.contains(" Jose ")) << doc.toStdString();
}

}  // namespace
}  // namespace cubwave::test
