#include "core/NameFromCall.h"
#include "core/Preferences.h"
#include "core/SharedPrefsDocument.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace cubwave;

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
