#include "core/NameFromCall.h"
#include "core/Preferences.h"
#include "core/SharedPrefsDocument.h"
#include "support/TestFiles.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

using namespace cubwave;
using test::readAll;
using test::writeFile;

TEST(PrefFile, WritesTwentyOneCrLfLinesQuotedTextAndBareNumbers)
{
    Preferences p;
    p.ownCall = "W1AW";
    p.utcOffsetHours = -4.5f;
    p.workedColour = 255;
    const QList<QByteArray> lines = PrefFile::serialize(p).split('\n');
    ASSERT_EQ(lines.size(), 22);  // 21 lines and the empty rest after the last break
    EXPECT_EQ(lines[0], "\"W1AW\"\r");
    EXPECT_EQ(lines[2], "-4.5\r");
    EXPECT_EQ(lines[3], "\"CW\"\r");
    EXPECT_EQ(lines[9], "255\r");
    EXPECT_EQ(lines[15], "\"None\"\r");
}

TEST(PrefFile, RoundTripsEveryField)
{
    Preferences p;
    p.ownCall = "VE3XYZ";
    p.ownSpc = "ON";
    p.utcOffsetHours = 5.75f;
    p.mode = "PH";
    p.operatingSeconds = 3601.5f;
    p.ownCountry = "Canada";
    p.ownLongitude = 79.38f;
    p.ownLatitude = -43.65f;
    p.windowSizePct = 90;
    p.workedColour = 16711680;
    p.notWorkedColour = -2147483633;
    p.band = "160";
    p.ownContinent = "NA";
    p.ownAge = "14";
    p.voiceNavLevel = 2;
    p.rigModel = "";
    p.ownName = "Ann";
    p.defaultRst = "599";
    p.ownColour = "Green";
    p.taskbar = 1;
    p.listPrevious = 1;
    const auto back = PrefFile::parse(PrefFile::serialize(p));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, p);
}

TEST(PrefFile, RefusesMalformedFiles)
{
    const QByteArray good = PrefFile::serialize(Preferences{});
    QByteArray shortFile = good;
    shortFile.truncate(good.lastIndexOf("\r\n", good.size() - 3));
    QByteArray badNumber = good;
    badNumber.replace("\r\n0\r\n\"CW\"", "\r\nabc\r\n\"CW\"");
    QByteArray byteTooBig = good;
    byteTooBig.replace("\r\n100\r\n", "\r\n300\r\n");
    QByteArray strayQuote = good;
    strayQuote.replace("\"None\"", "\"No\"ne\"");

    EXPECT_TRUE(PrefFile::parse(good));
    EXPECT_FALSE(PrefFile::parse(shortFile));
    EXPECT_FALSE(PrefFile::parse(badNumber));
    EXPECT_FALSE(PrefFile::parse(byteTooBig));
    EXPECT_FALSE(PrefFile::parse(strayQuote));
    EXPECT_FALSE(PrefFile::parse(QByteArray("\x00\x01\x02", 3)));
}

TEST(SharedPrefsDocument, StartsWithTheDeclarationReplacesValuesAndKeepsForeignElements)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SharedPrefsDocument::kFileName);
    SharedPrefsDocument doc;
    doc.load(path);
    EXPECT_EQ(doc.text(), R"(<?xml version="1.0" encoding="UTF-8" ?>)");

    ASSERT_TRUE(doc.setValue("UserEMail", "a@b.c", false).ok);
    ASSERT_TRUE(doc.setValue("OTHERPROGRAM", "keep me", true).ok);
    ASSERT_TRUE(doc.setValue("useremail", "x@y.z", true).ok);

    SharedPrefsDocument again;
    again.load(path);
    EXPECT_EQ(again.text(), doc.text());
    EXPECT_EQ(again.value("USEREMAIL"), "x@y.z");
    EXPECT_EQ(again.value("OTHERPROGRAM"), "keep me");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().endsWith("</OTHERPROGRAM>\r\n"));
}

TEST(NameFromCall, TakesTheLeadingRunOfDigitsAndCapitals)
{
    const std::pair<const char*, const char*> cases[] = {
        {"W1AW", "W1AW"}, {"VE3XYZ/P", "VE3XYZ"}, {"W1aw", "W1"}, {"", "YourCall"}, {"/W1AW", "YourCall"},
    };
    for (const auto& [call, stem] : cases)
        EXPECT_EQ(nameFromCall(call), stem) << call;
}

namespace {

// Line n (from 0) of a serialized preference file, without its break.
QByteArray prefLine(const Preferences& p, int n) { return PrefFile::serialize(p).split('\n').at(n).chopped(1); }

}  // namespace

TEST(PrefFile, WritesNumbersAsPlainDecimals)
{
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {70.0f, "70"},       {-72.73f, "-72.73"}, {3600.0f, "3600"},   {0.0f, "0"},
        {-4.5f, "-4.5"},     {0.1f, "0.1"},       {41.7f, "41.7"},     {1e-5f, "0.00001"},
        {360000.0f, "360000"}, {12345678.0f, "12345678"},
    };
    for (const auto& c : cases) {
        Preferences p;
        p.ownLongitude = c.value;
        EXPECT_EQ(prefLine(p, 6), c.text) << c.value;
    }
}

TEST(PrefFile, EveryNumberReadsBackAsWritten)
{
    std::vector<float> values{std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::min(), std::numeric_limits<float>::denorm_min(),
                              -0.0f, 1.0f / 3.0f, 16777217.0f, 5.75f, -12.25f, 8.5e37f};
    for (int i = 0; i < 2000; ++i)
        values.push_back(std::ldexp(static_cast<float>(i * 7919 % 10007) / 10007.0f, i % 120 - 60) * (i % 2 ? -1 : 1));
    for (const float v : values) {
        Preferences p;
        p.utcOffsetHours = v;
        p.operatingSeconds = v;
        p.ownLatitude = v;
        const QByteArray line = prefLine(p, 2);
        EXPECT_FALSE(line.contains('e') || line.contains('E')) << line.toStdString();
        const auto back = PrefFile::parse(PrefFile::serialize(p));
        ASSERT_TRUE(back) << line.toStdString();
        EXPECT_EQ(back->utcOffsetHours, v) << line.toStdString();
        EXPECT_EQ(*back, p) << line.toStdString();
    }
}

TEST(PrefFile, ANumberThatIsNoNumberIsWrittenAsZeroSoTheFileStillLoads)
{
    Preferences p;
    p.utcOffsetHours = std::numeric_limits<float>::quiet_NaN();
    p.operatingSeconds = std::numeric_limits<float>::infinity();
    EXPECT_EQ(prefLine(p, 2), "0");
    EXPECT_EQ(prefLine(p, 4), "0");
    EXPECT_TRUE(PrefFile::parse(PrefFile::serialize(p)));
}

TEST(PrefFile, ATextValueNeverBreaksItsLine)
{
    Preferences p;
    p.ownName = "To\"m\r\nAnn";
    p.ownCall = QStringLiteral("W1AW\x01");
    p.ownColour = "  Blue\t";  // spaces and tabs inside the quotes are kept
    const auto back = PrefFile::parse(PrefFile::serialize(p));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->ownName, "TomAnn");
    EXPECT_EQ(back->ownCall, "W1AW");
    EXPECT_EQ(back->ownColour, "  Blue\t");
    EXPECT_EQ(back->rigModel, p.rigModel);
}

TEST(PrefFile, ALineThatIsNoUtf8IsReadAsLatin1)
{
    Preferences p;
    p.ownName = "Jose";
    p.ownCountry = QString::fromUtf8("Espa\xc3\xb1" "a");
    QByteArray bytes = PrefFile::serialize(p);
    bytes.replace("\"Jose\"", "\"Jos\xe9\"");  // as a single-byte Windows editor saves it
    const auto back = PrefFile::parse(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->ownName, QString::fromUtf8("Jos\xc3\xa9"));
    EXPECT_EQ(back->ownCountry, QString::fromUtf8("Espa\xc3\xb1" "a"));  // other lines stay UTF-8

    // Written back, it is UTF-8 and reads the same.
    const auto again = PrefFile::parse(PrefFile::serialize(*back));
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, *back);
}

TEST(SharedPrefsDocument, DropsOnlyATrailingLineBreak)
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OTHER>x</OTHER>";
    const struct {
        QByteArray file, text;
    } cases[] = {
        {body + "\r\n", body},
        {body + "\n", body},
        {body, body},  // written by another program without a final break
        {body + "\r\n\r\n", body + "\r\n"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(SharedPrefsDocument::kFileName);
        writeFile(path, c.file);
        SharedPrefsDocument doc;
        doc.load(path);
        EXPECT_EQ(doc.text().toUtf8(), c.text) << c.file.toStdString();
        EXPECT_TRUE(doc.saveRefusal().isEmpty());
        ASSERT_TRUE(doc.save(path).ok);
        EXPECT_EQ(readAll(path), c.text + "\r\n");
        EXPECT_EQ(doc.value("OTHER"), "x");
    }
}

TEST(SharedPrefsDocument, ChangesOnlyTheValueItSetsAndKeepsEveryOtherByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SharedPrefsDocument::kFileName);
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<!-- kept -->\n  <NAME>Jos\xc3\xa9</NAME>\t\n<OWN_EMAIL>";
    const QByteArray tail = "</OWN_EMAIL><LIST a=\"1\"><ITEM/></LIST>\r\n";
    writeFile(path, head + "old@x.y" + tail);
    SharedPrefsDocument doc;
    doc.load(path);
    ASSERT_TRUE(doc.setValue("own_email", "new@x.y", true).ok);
    EXPECT_EQ(readAll(path), head + "new@x.y" + tail);
}

TEST(SharedPrefsDocument, AnOpeningTagLeftOpenNeverPairsWithALaterElement)
{
    // Another program's stray tag, then its own element: setting the value twice used to take
    // the stray tag and the closing tag appended by the first set as one element, and the
    // second set wrote over everything between them.
    QTemporaryDir dir;
    const QString path = dir.filePath(SharedPrefsDocument::kFileName);
    const QByteArray foreign = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OWN_EMAIL>\r\n<OTHER>kept</OTHER>";
    writeFile(path, foreign + "\r\n");
    SharedPrefsDocument doc;
    doc.load(path);
    ASSERT_TRUE(doc.setValue("OWN_EMAIL", "a@x.y", true).ok);
    EXPECT_EQ(doc.value("OWN_EMAIL"), "a@x.y");
    ASSERT_TRUE(doc.setValue("OWN_EMAIL", "b@x.y", true).ok);
    EXPECT_EQ(doc.value("OWN_EMAIL"), "b@x.y");
    EXPECT_EQ(doc.value("OTHER"), "kept");
    EXPECT_EQ(readAll(path), foreign + "\r\n<OWN_EMAIL>b@x.y</OWN_EMAIL>\r\n");
}

TEST(SharedPrefsDocument, AFileOfStrayOpeningTagsIsReadAndWrittenInOnePass)
{
    // Nearly a megabyte of opening tags left open, then the element: the pairing once searched
    // for the closing tag anew after each stray tag, and each lookup in this file took seconds.
    QTemporaryDir dir;
    const QString path = dir.filePath(SharedPrefsDocument::kFileName);
    const QByteArray strays = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n" + QByteArray("<OWN_EMAIL>").repeated(90000);
    ASSERT_LT(strays.size(), SharedPrefsDocument::kMaxBytes);
    writeFile(path, strays + "a@x.y</OWN_EMAIL>\r\n");
    SharedPrefsDocument doc;
    doc.load(path);
    ASSERT_TRUE(doc.saveRefusal().isEmpty());
    EXPECT_EQ(doc.value("OWN_EMAIL"), "a@x.y");
    ASSERT_TRUE(doc.setValue("OWN_EMAIL", "b@x.y", true).ok);
    EXPECT_EQ(readAll(path), strays + "b@x.y</OWN_EMAIL>\r\n");
}

TEST(SharedPrefsDocument, EscapesMarkupInValuesAndReadsThemBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(SharedPrefsDocument::kFileName);
    SharedPrefsDocument doc;
    doc.load(path);
    ASSERT_TRUE(doc.setValue("OWN_ADDRESS_NAME", "Tom & Jerry <Club>", true).ok);
    ASSERT_TRUE(doc.setValue("OWN_ADDRESS_NAME", "Tom & Jerry <Club>", true).ok);  // the second replaces
    EXPECT_TRUE(readAll(path).contains("<OWN_ADDRESS_NAME>Tom &amp; Jerry &lt;Club&gt;</OWN_ADDRESS_NAME>"));

    SharedPrefsDocument again;
    again.load(path);
    EXPECT_EQ(again.value("OWN_ADDRESS_NAME"), "Tom & Jerry <Club>");
    EXPECT_EQ(again.text(), doc.text());
}

TEST(SharedPrefsDocument, NeverSavesOverADocumentItCouldNotReadWhole)
{
    QByteArray large = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<BIG>";
    large += QByteArray(2 * 1024 * 1024, 'x');
    large += "</BIG>\r\n";
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"larger than the reader takes", large},
        {"not UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<NAME>Jos\xe9</NAME>\r\n"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(SharedPrefsDocument::kFileName);
        writeFile(path, c.bytes);
        SharedPrefsDocument doc;
        doc.load(path);
        EXPECT_FALSE(doc.saveRefusal().isEmpty()) << c.what;
        const WriteResult set = doc.setValue("OWN_EMAIL", "a@b.c", true);
        EXPECT_FALSE(set.ok) << c.what;
        EXPECT_EQ(set.error, doc.saveRefusal()) << c.what;
        EXPECT_FALSE(doc.save(path).ok) << c.what;
        EXPECT_EQ(readAll(path), c.bytes) << c.what;
    }

    // A document path that cannot be read as a file.
    QTemporaryDir dir;
    const QString path = dir.filePath(SharedPrefsDocument::kFileName);
    ASSERT_TRUE(QDir().mkdir(path));
    SharedPrefsDocument doc;
    doc.load(path);
    EXPECT_FALSE(doc.saveRefusal().isEmpty());
    EXPECT_FALSE(doc.save(path).ok);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(PrefFile, SaveOnAFullDiskLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cubwavepref.txt");
    Preferences p;
    p.ownCall = "W1AW";
    const QByteArray old = PrefFile::serialize(p);
    writeFile(path, old);
    p.ownCall = "VE3XYZ";
    WriteResult result;
    {
        const test::FileSizeLimit limit(static_cast<rlim_t>(old.size() / 2));
        result = replaceFileAtomically(path, PrefFile::serialize(p));
    }
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readAll(path), old);
}
