#include "station/PrefixTable.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace cubwave;

namespace {

using Outcome = CallLocation::Outcome;

// Sorted by prefix as the shipped file is; digits before letters.
const char* const kTable =
    "\"1A\",\"Sov Mil Order of Malta\",\"EU\",-12.43,41.9,\"15\",\"28\",\"-1.0\"\n"
    "\"3D2\",\"Fiji\",\"OC\",-177.92,-17.78,\"32\",\"56\",\"-12.0\"\n"
    "\"4X\",\"Israel\",\"AS\",-34.8,31.3,\"20\",\"39\",\"-2.0\"\n"
    "\"CE\",\"Chile\",\"SA\",71,-30,\"12\",\"14\",\"4.0\"\n"
    "\"CY9\",\"St. Paul Island\",\"NA\",60.17,47.02,\"05\",\"09\",\"4.0\"\n"
    "\"G\",\"England\",\"EU\",1.47,52.77,\"14\",\"27\",\"0.0\"\n"
    "\"GM\",\"Scotland\",\"EU\",4.18,56.82,\"14\",\"27\",\"0.0\"\n"
    "\"K\",\"USA\",\"NA\",91.87,37.6,\"05\",\"08\",\"5.0\"\n"
    "\"KG4\",\"Guantanamo Bay\",\"NA\",75,20,\"08\",\"11\",\"5.0\"\n"
    "\"KH6\",\"Hawaii\",\"OC\",157.48,21.12,\"31\",\"61\",\"10.0\"\n"
    "\"KL\",\"Alaska\",\"NA\",148.87,61.4,\"01\",\"01\",\"8.0\"\n"
    "\"VE\",\"Canada\",\"NA\",78.75,44.35,\"05\",\"09\",\"5.0\"\n"
    "\"VK\",\"Australia\",\"OC\",-132.33,-23.7,\"30\",\"59\",\"-10.0\"\n"
    "\"W\",\"USA\",\"NA\",91.87,37.6,\"05\",\"08\",\"5.0\"\n"
    "\"ZF\",\"Cayman Islands\",\"NA\",81.38,19.32,\"08\",\"11\",\"5.0\"\n"
    "\"ZS\",\"South Africa\",\"AF\",-24,-29,\"38\",\"57\",\"-2.0\"\n";

PrefixTable parsed(QByteArrayView bytes)
{
    PrefixTableLoad load = PrefixTable::parse(bytes);
    EXPECT_TRUE(load.ok) << load.reason.toStdString();
    return std::move(load.table);
}

const PrefixTable& sample()
{
    static const PrefixTable table = parsed(kTable);
    return table;
}

QByteArray line(const QString& prefix, const QString& country = QStringLiteral("Somewhere"))
{
    return QStringLiteral("\"%1\",\"%2\",\"EU\",1,2,\"\",\"\",\"\"\n").arg(prefix, country).toUtf8();
}

}  // namespace

TEST(PrefixTable, LocatesCallsForTheCallField)
{
    struct Case {
        const char* call;
        Outcome outcome;
        const char* location;
        const char* continent;
        const char* matchedPrefix;  // "" when nothing matches
    };
    const Case cases[] = {
        {"G4ABC", Outcome::Found, "England", "EU", "G"},
        {"GM3ABC", Outcome::Found, "Scotland", "EU", "GM"},      // longest prefix wins
        {"g4abc", Outcome::Found, "England", "EU", "G"},         // case does not matter
        {"4X1AB", Outcome::Found, "Israel", "AS", "4X"},         // digit block
        {"1A0KM", Outcome::Found, "Sov Mil Order of Malta", "EU", "1A"},  // first entry
        {"ZS6ABC", Outcome::Found, "South Africa", "AF", "ZS"},  // last entry
        {"KH6ABC", Outcome::Found, "Hawaii", "OC", "KH6"},
        {"KH7ABC", Outcome::UsaOrCanada, "", "NA", "K"},
        {"W1AW", Outcome::UsaOrCanada, "", "NA", "W"},
        {"VE3XYZ", Outcome::UsaOrCanada, "", "NA", "VE"},
        {"W1AW/KH6", Outcome::Found, "Hawaii", "OC", "KH6"},     // designator after the "/"
        {"G4ABC/VE3", Outcome::UsaOrCanada, "", "NA", "VE"},
        {"W1AW/P", Outcome::UsaOrCanada, "", "NA", "W"},         // one character: whole call
        {"K/GM", Outcome::UsaOrCanada, "", "NA", "K"},           // 2 is not under half of 4
        {"KL/GM", Outcome::Found, "Scotland", "EU", "GM"},       // 2 is under half of 5
        {"KL7/GM/P", Outcome::Found, "Alaska", "NA", "KL"},      // "GM/P" is too long
        {"KG4AB", Outcome::Found, "Guantanamo Bay", "NA", "KG4"},
        {"KG4", Outcome::Found, "Guantanamo Bay", "NA", "KG4"},
        {"KG4A", Outcome::Found, "", "NA", "KG4"},               // a US call: US position
        {"KG4ABC", Outcome::Found, "", "NA", "KG4"},
        {"QQ1ABC", Outcome::NotFound, "Not Found", "", ""},
        {"9Z1AA", Outcome::NotFound, "Not Found", "", ""},
        {"/", Outcome::NotFound, "Not Found", "", ""},
        {"", Outcome::NoCall, "", "", ""},
        {"\u00c4B1", Outcome::NotFound, "Not Found", "", ""},    // beyond Z: estimate clamped
        {"~AB", Outcome::NotFound, "Not Found", "", ""},
    };
    const PrefixTable& table = sample();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const CallLocation r = table.locate(QString::fromUtf8(c.call));
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.location, QString::fromUtf8(c.location));
        EXPECT_EQ(r.continent, QString::fromUtf8(c.continent));
        EXPECT_EQ(r.entry == 0 ? QString() : table.entry(r.entry).prefix, QString::fromUtf8(c.matchedPrefix));
        EXPECT_EQ(r.selectSpcText(), c.outcome != Outcome::NoCall);
    }
}

TEST(PrefixTable, GivesCoordinatesOnlyWhereABearingIsShown)
{
    const PrefixTable& table = sample();
    const CallLocation england = table.locate(u"G4ABC");
    ASSERT_TRUE(england.hasCoordinates);
    EXPECT_FLOAT_EQ(england.latitude, 52.77f);
    EXPECT_FLOAT_EQ(england.longitude, 1.47f);

    // A US call under KG4 takes the first USA entry's position, not Guantanamo's.
    const CallLocation kg4 = table.locate(u"KG4ABC");
    ASSERT_TRUE(kg4.hasCoordinates);
    EXPECT_FLOAT_EQ(kg4.latitude, 37.6f);
    EXPECT_FLOAT_EQ(kg4.longitude, 91.87f);

    EXPECT_FALSE(table.locate(u"W1AW").hasCoordinates);
    EXPECT_FALSE(table.locate(u"QQ1ABC").hasCoordinates);
}

TEST(PrefixTable, UsKg4CallWithoutAUsaEntryShowsNothingStale)
{
    const PrefixTable table = parsed(line("K", "Mainland") + line("KG4", "Guantanamo Bay"));
    const CallLocation r = table.locate(u"KG4ABC");
    EXPECT_EQ(r.outcome, Outcome::Found);
    EXPECT_TRUE(r.location.isEmpty());
    EXPECT_TRUE(r.continent.isEmpty());
    EXPECT_FALSE(r.hasCoordinates);
}

TEST(PrefixTable, NamesSpotCountriesWithExactComparisons)
{
    struct Case {
        const char* call;
        const char* country;
    };
    const Case cases[] = {
        {"G4ABC", "England"},
        {"W1AW", "USA"},       // no US/Canada exception here
        {"VE3XYZ", "Canada"},
        {"KH6ABC", "Hawaii"},
        {"W1AW/KH6", "Hawaii"},
        {"KG4ABC", "USA"},
        {"KG4AB", "Guantanamo Bay"},
        {"KG4A", "Guantanamo Bay"},  // only longer KG4 calls are US calls here
        {"g4abc", ""},               // exact: lower case matches nothing
        {"QQ1ABC", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sample().spotCountry(QString::fromUtf8(c.call)), QString::fromUtf8(c.country)) << c.call;
}

TEST(PrefixTable, CompletesCountryNamesFromTheEndOfTheTable)
{
    struct Case {
        const char* typed;
        Qt::CaseSensitivity cs;
        const char* entryPrefix;  // "" for no completion
    };
    const Case cases[] = {
        {"Ca", Qt::CaseInsensitive, "ZF"},   // Cayman Islands lies after Canada
        {"Can", Qt::CaseInsensitive, "VE"},
        {"CAN", Qt::CaseInsensitive, "VE"},
        {"CAN", Qt::CaseSensitive, ""},
        {"US", Qt::CaseSensitive, "W"},      // the later of the two USA entries
        {"S", Qt::CaseSensitive, "ZS"},      // South Africa, not Scotland or St. Paul Island
        {"Sc", Qt::CaseSensitive, "GM"},
        {"Canadaa", Qt::CaseInsensitive, ""},
        {"X", Qt::CaseInsensitive, ""},
    };
    const PrefixTable& table = sample();
    for (const Case& c : cases) {
        const PrefixEntry* e = table.completeCountry(QString::fromUtf8(c.typed), c.cs);
        EXPECT_EQ(e ? e->prefix : QString(), QString::fromUtf8(c.entryPrefix)) << c.typed;
    }
    EXPECT_EQ(PrefixTable().completeCountry(u"Ca", Qt::CaseInsensitive), nullptr);
}

TEST(PrefixTable, EmptyTableFindsNothing)
{
    for (const PrefixTable& table : {PrefixTable(), parsed(""), parsed("\r\n\r\n")}) {
        EXPECT_TRUE(table.isEmpty());
        const CallLocation r = table.locate(u"W1AW");
        EXPECT_EQ(r.outcome, Outcome::NotFound);
        EXPECT_EQ(r.location, "Not Found");
        EXPECT_EQ(table.spotCountry(u"W1AW"), QString());
        EXPECT_EQ(table.locate(u"KG4ABC").outcome, Outcome::NotFound);
    }
}

TEST(PrefixTable, TinyTablesKeepTheEstimateInRange)
{
    // With fewer than 26 entries the estimate for "A" is 0, and for "Z" the last entry.
    const PrefixTable one = parsed(line("A", "Alpha"));
    EXPECT_EQ(one.locate(u"A1").location, "Alpha");
    EXPECT_EQ(one.locate(u"Z1").outcome, Outcome::NotFound);
    EXPECT_EQ(one.locate(u"11").outcome, Outcome::NotFound);
    const PrefixTable two = parsed(line("1", "One") + line("Z", "Zulu"));
    EXPECT_EQ(two.locate(u"1AB").location, "One");
    EXPECT_EQ(two.locate(u"ZZ").location, "Zulu");
    EXPECT_EQ(two.locate(u"M").outcome, Outcome::NotFound);
}

TEST(PrefixTable, ScansLongBlocksWhereverTheEstimateLands)
{
    // 64 entries, 60 of them in the "B" block: the estimate for A lands after its block (a
    // backward scan), for B inside its block (stepping back out of it first), for C and D
    // before theirs (a forward scan through the B block).
    QByteArray bytes = line("A1", "A-land");
    for (int i = 0; i < 60; ++i)
        bytes += line(QStringLiteral("B%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("B%1").arg(i));
    bytes += line("C", "C-land") + line("CX", "CX-land") + line("D", "D-land");
    const PrefixTable table = parsed(bytes);
    EXPECT_EQ(table.locate(u"B00Z").location, "B0");
    EXPECT_EQ(table.locate(u"B31Z").location, "B31");
    EXPECT_EQ(table.locate(u"B59Z").location, "B59");
    EXPECT_EQ(table.locate(u"CX1").location, "CX-land");
    EXPECT_EQ(table.locate(u"C1").location, "C-land");
    EXPECT_EQ(table.locate(u"D1").location, "D-land");
    EXPECT_EQ(table.locate(u"A1B").location, "A-land");
    EXPECT_EQ(table.locate(u"A2").outcome, Outcome::NotFound);
    EXPECT_EQ(table.spotCountry(u"B17"), "B17");
}

TEST(PrefixTable, AcceptsTheLineVariantsOfTheFileSyntax)
{
    const QByteArray bytes =
        "\xEF\xBB\xBF"                                                  // byte-order mark
        "\"A\",\"Alpha, the first\",\"EU\",1.5,2.5,\"\",\"\",\"\"\r\n"  // comma inside quotes, CR LF
        "\r\n"
        "  B , Bravo land , AF , -3 , \"-4.25\" , x , y , z \n"         // bare and quoted items
        "\"C\",\"Cura\xE7" "ao\",\"SA\",69,12.2,1,2,3\n"                 // Latin-1 byte
        "\"D\",\"D\xC3\xBC" "sseldorf\",\"EU\",-6.8,51.2,1,2,3";         // UTF-8, no final break
    const PrefixTable table = parsed(bytes);
    ASSERT_EQ(table.size(), 4);
    EXPECT_EQ(table.entry(1).country, "Alpha, the first");
    EXPECT_EQ(table.entry(2).prefix, "B");
    EXPECT_EQ(table.entry(2).country, "Bravo land");
    EXPECT_FLOAT_EQ(table.entry(2).longitude, -3.f);
    EXPECT_FLOAT_EQ(table.entry(2).latitude, -4.25f);
    EXPECT_EQ(table.entry(3).country, QString::fromUtf8("Cura\u00e7ao"));
    EXPECT_EQ(table.entry(4).country, QString::fromUtf8("D\u00fcsseldorf"));
}

TEST(PrefixTable, RefusesMalformedTables)
{
    const QByteArray good = line("G", "England");
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"seven items", "\"G\",\"England\",\"EU\",1,2,\"\",\"\"\n"},
        {"nine items", "\"G\",\"England\",\"EU\",1,2,\"\",\"\",\"\",\"\"\n"},
        {"unterminated quote", "\"G\",\"England,\"EU\",1,2,\"\",\"\",\"\"\n"},
        {"stray quote", "\"G\",\"Eng\"land\",\"EU\",1,2,\"\",\"\",\"\"\n"},
        {"longitude not a number", "\"G\",\"England\",\"EU\",west,2,\"\",\"\",\"\"\n"},
        {"empty latitude", "\"G\",\"England\",\"EU\",1,,\"\",\"\",\"\"\n"},
        {"latitude past the pole", "\"G\",\"England\",\"EU\",1,90.5,\"\",\"\",\"\"\n"},
        {"longitude past 180", "\"G\",\"England\",\"EU\",181,2,\"\",\"\",\"\"\n"},
        {"not a number", "\"G\",\"England\",\"EU\",nan,2,\"\",\"\",\"\"\n"},
        {"infinite", "\"G\",\"England\",\"EU\",1,inf,\"\",\"\",\"\"\n"},
        {"NUL byte", good + "\"K\",\"U" + QByteArray(1, '\0') + "SA\",\"NA\",1,2,3,4,5\n"},
        {"control byte", good + "\"K\",\"U\x01SA\",\"NA\",1,2,3,4,5\n"},
        {"over-long line", good + "\"K\",\"" + QByteArray(2000, 'x') + "\",\"NA\",1,2,3,4,5\n"},
        {"malformed later line", good + good + "garbage\n" + good},
    };
    for (const Case& c : cases) {
        const PrefixTableLoad load = PrefixTable::parse(c.bytes);
        EXPECT_FALSE(load.ok) << c.what;
        EXPECT_FALSE(load.reason.isEmpty()) << c.what;
        EXPECT_TRUE(load.table.isEmpty()) << c.what;
    }
}

TEST(PrefixTable, HoldsAtMostTenThousandEntries)
{
    QByteArray bytes;
    for (int i = 0; i < PrefixTable::kMaxEntries; ++i)
        bytes += line(QStringLiteral("A%1").arg(i, 5, 10, QLatin1Char('0')));
    const PrefixTableLoad full = PrefixTable::parse(bytes);
    ASSERT_TRUE(full.ok) << full.reason.toStdString();
    EXPECT_EQ(full.table.size(), PrefixTable::kMaxEntries);
    EXPECT_EQ(full.table.locate(u"A09999X").entry, PrefixTable::kMaxEntries);

    const PrefixTableLoad over = PrefixTable::parse(bytes + line("Z"));
    EXPECT_FALSE(over.ok);
    EXPECT_TRUE(over.reason.contains("10000"));
}

TEST(PrefixTable, ReadsTheFileAndFindsItInTheFirstFolderThatHasIt)
{
    QTemporaryDir shared, programData, working;
    ASSERT_TRUE(shared.isValid() && programData.isValid() && working.isValid());
    const auto put = [](const QTemporaryDir& dir, const QByteArray& bytes) {
        QFile f(dir.filePath("arrlpre2.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };

    EXPECT_EQ(PrefixTable::findFile(shared.path(), programData.path(), working.path()), QString());
    put(working, line("W", "Working"));
    EXPECT_EQ(PrefixTable::findFile(shared.path(), programData.path(), working.path()),
              working.filePath("arrlpre2.txt"));
    put(programData, line("W", "Program data"));
    const QString found = PrefixTable::findFile(shared.path() + "/", programData.path() + "/", working.path());
    EXPECT_EQ(QDir::cleanPath(found), programData.filePath("arrlpre2.txt"));
    put(shared, line("W", "Shared"));
    const QString first = PrefixTable::findFile(shared.path(), programData.path(), working.path());
    EXPECT_EQ(first, shared.filePath("arrlpre2.txt"));

    const PrefixTableLoad load = PrefixTable::read(first);
    ASSERT_TRUE(load.ok) << load.reason.toStdString();
    EXPECT_EQ(load.table.locate(u"W1").location, "Shared");

    EXPECT_FALSE(PrefixTable::read(shared.filePath("missing.txt")).ok);
    // A folder named like the file is not the file.
    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkdir("arrlpre2.txt"));
    EXPECT_EQ(PrefixTable::findFile(other.path(), QString(), QString()), QString());
}
