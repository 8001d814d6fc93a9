#include "export/AdifCountryTable.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace cubwave::test {
namespace {

AdifCountryTableLoad parse(const QByteArray& bytes)
{
    return AdifCountryTable::parse(bytes, QStringLiteral("/data/ADIFCnt.txt"));
}

TEST(AdifCountryTable, LooksUpNamesWithoutRegardToCaseAndTheFirstRowWins)
{
    const AdifCountryTableLoad load =
        parse("\"USA\",291\r\n\"Japan\",339\n\n  \"Fed. Rep. of Germany\" , 230 \r\n\"japan\",999\r\n\"Juan de Nova, Europa\",124");
    ASSERT_TRUE(load.ok) << load.error.toStdString();
    EXPECT_EQ(load.table.size(), 5);
    EXPECT_EQ(load.table.dxcc(u"USA"), 291);
    EXPECT_EQ(load.table.dxcc(u"usa"), 291);
    EXPECT_EQ(load.table.dxcc(u"  Japan "), 339);
    EXPECT_EQ(load.table.dxcc(u"FED. REP. OF GERMANY"), 230);
    EXPECT_EQ(load.table.dxcc(u"Juan de Nova, Europa"), 124);
    EXPECT_EQ(load.table.dxcc(u"Germany"), 0);
    EXPECT_EQ(load.table.dxcc(u""), 0);
}

TEST(AdifCountryTable, AMalformedRowFailsNamingFileAndLine)
{
    const char* bad[] = {
        "\"USA\",291\r\n\"Canada\"\r\n",       // no number
        "\"USA\",291\r\nCanada,1\r\n",         // name not quoted
        "\"USA\",291\r\n\"Canada\",one\r\n",   // number not a number
        "\"USA\",291\r\n\"Canada\",-1\r\n",    // negative
        "\"USA\",291\r\n\"Can\"ada\",1\r\n",   // stray quote
        "\"USA\",291\r\n\"Canada\",1,2\r\n",   // three fields
        "\"USA\",291\r\n\"Canada,1\r\n",       // unterminated quote
    };
    for (const char* text : bad) {
        const AdifCountryTableLoad load = parse(text);
        EXPECT_FALSE(load.ok) << text;
        EXPECT_TRUE(load.error.contains(QStringLiteral("/data/ADIFCnt.txt"))) << load.error.toStdString();
        EXPECT_TRUE(load.error.contains(QStringLiteral("line 2"))) << load.error.toStdString();
    }
}

TEST(AdifCountryTable, RowsPastTheThousandthAreNotRead)
{
    QByteArray text;
    for (int i = 1; i <= AdifCountryTable::kMaxRows; ++i)
        text += "\"Country " + QByteArray::number(i) + "\"," + QByteArray::number(i) + "\r\n";
    text += "\"Late\",7\r\nthis line is not a row\r\n";
    const AdifCountryTableLoad load = parse(text);
    ASSERT_TRUE(load.ok) << load.error.toStdString();
    EXPECT_EQ(load.table.size(), AdifCountryTable::kMaxRows);
    EXPECT_EQ(load.table.dxcc(u"Country 1000"), 1000);
    EXPECT_EQ(load.table.dxcc(u"Late"), 0);
}

TEST(AdifCountryTable, AHugeFileOrLineIsRefusedNotReadWhole)
{
    EXPECT_FALSE(parse("\"" + QByteArray(5000, 'x') + "\",1\r\n").ok);
    const AdifCountryTableLoad blank = parse(QByteArray(4 * 1024 * 1024, '\n'));
    EXPECT_FALSE(blank.ok);
    EXPECT_TRUE(blank.error.contains(QStringLiteral("ADIFCnt.txt")));
}

TEST(AdifCountryTable, AMissingFileGivesTheSystemsReasonNamingIt)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(AdifCountryTable::kFileName);
    const AdifCountryTableLoad load = AdifCountryTable::read(path);
    EXPECT_FALSE(load.ok);
    EXPECT_TRUE(load.error.startsWith(path)) << load.error.toStdString();
    EXPECT_TRUE(load.error.contains(QStringLiteral("No such file"))) << load.error.toStdString();
}

TEST(AdifCountryTable, ATableWithoutRowsIsRefusedNamingTheFile)
{
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\r\n  \r\n\n"), QByteArray("\xEF\xBB\xBF")}) {
        const AdifCountryTableLoad load = parse(bytes);
        EXPECT_FALSE(load.ok) << bytes.toHex().toStdString();
        EXPECT_EQ(load.error, QStringLiteral("/data/ADIFCnt.txt: the file holds no country rows"));
    }
    EXPECT_TRUE(parse("\"USA\",291").ok);
}

TEST(AdifCountryTable, IsFoundInTheSharedThenTheDataThenTheWorkingFolder)
{
    QTemporaryDir root;
    QDir base(root.path());
    for (const char* d : {"shared", "data", "work"})
        base.mkdir(QString::fromLatin1(d));
    const auto place = [&](const char* d) {
        QFile f(base.filePath(QString::fromLatin1(d)) + QStringLiteral("/ADIFCnt.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    const QString shared = base.filePath(QStringLiteral("shared"));
    const QString data = base.filePath(QStringLiteral("data"));
    const QString work = base.filePath(QStringLiteral("work"));
    EXPECT_EQ(AdifCountryTable::findFile(shared, data, work), QString());
    place("work");
    EXPECT_EQ(AdifCountryTable::findFile(shared, data, work), work + QStringLiteral("/ADIFCnt.txt"));
    place("data");
    EXPECT_EQ(AdifCountryTable::findFile(shared, data, work), data + QStringLiteral("/ADIFCnt.txt"));
    place("shared");
    EXPECT_EQ(AdifCountryTable::findFile(shared, data, work), shared + QStringLiteral("/ADIFCnt.txt"));
}

}  // namespace
}  // namespace cubwave::test
