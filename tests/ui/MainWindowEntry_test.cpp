#include "core/LogLine.h"
#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;

namespace {

QByteArray logLine(const char* call, const char* age, const char* other, const char* spc, const char* name,
                   const char* mode = "CW", const char* band = "20")
{
    QsoRecord r;
    r[QsoRecord::Call] = call;
    r[QsoRecord::Age] = age;
    r[QsoRecord::Other] = other;
    r[QsoRecord::Spc] = spc;
    r[QsoRecord::Date] = "2026/06/13";
    r[QsoRecord::Time] = "18:00:00";
    r[QsoRecord::Mode] = mode;
    r[QsoRecord::Band] = band;
    r[QsoRecord::Name] = name;
    return LogLine::format(r).toUtf8() + "\r\n";
}

class EntryLineTest : public MainWindowFixture {};

}  // namespace

TEST_F(EntryLineTest, TypedContactIsAppendedAsOneLineAndTheEntryLineClears)
{
    start();
    type("w1aw tom 12 ct blue");
    key(Qt::Key_Return);
    EXPECT_EQ(logBytes(), "\"W1AW\",\"12\",\"Blue\",\"\",\"CT\",\"2026/06/13\",\"18:05:33\",\"CW\",\"20\",\"TOM\",\"\"\r\n");
    for (const char* name : {"txtCall", "txtName", "txtRSTR", "txtCntry", "txtSec"})
        EXPECT_TRUE(field(name)->text().isEmpty()) << name;
    EXPECT_EQ(focus(), field("txtCall"));
    EXPECT_EQ(form->store().count(), 1);
    EXPECT_EQ(label("lblTotCon")->text(), "1");
    EXPECT_EQ(label("Label15")->text(), "States / Provinces Worked: 1");
}

TEST_F(EntryLineTest, KeystrokeRulesOfEachField)
{
    start();
    struct Case {
        const char* keys;
        const char* call;
        const char* name;
        const char* age;
        const char* spc;
        const char* other;
        const char* focus;
    };
    const Case cases[] = {
        // Every letter of the name is upper case; a digit in the name field starts the age.
        {"k1abc ann7", "K1ABC", "ANN", "7", "", "", "txtRSTR"},
        // A letter in the age field starts the location, upper-cased.
        {"k1abc ann 12c", "K1ABC", "ANN", "12", "C", "", "txtCntry"},
        // A location typed in capitals reads capitalised from its third letter.
        {"k1abc ann 12 QQq", "K1ABC", "ANN", "12", "Qqq", "", "txtCntry"},
        // The other field upper-cases only its first letter; quotes never get in.
        {"k1\"abc a\"nn 1\"2 c\"t gr\"EEn", "K1ABC", "ANN", "12", "CT", "GrEEn", "txtSec"},
        // One letter and a space in the location field is typed, not a move.
        {"k1abc ann 12 n ", "K1ABC", "ANN", "12", "N ", "", "txtCntry"},
        // The age field takes digits only.
        {"k1abc ann 1-", "K1ABC", "ANN", "1", "", "", "txtRSTR"},
    };
    for (const Case& c : cases) {
        form->cmdClear_Click();
        type(QString::fromLatin1(c.keys));
        EXPECT_EQ(field("txtCall")->text(), c.call) << c.keys;
        EXPECT_EQ(field("txtName")->text(), c.name) << c.keys;
        EXPECT_EQ(field("txtRSTR")->text(), c.age) << c.keys;
        EXPECT_EQ(field("txtCntry")->text(), c.spc) << c.keys;
        EXPECT_EQ(field("txtSec")->text(), c.other) << c.keys;
        EXPECT_EQ(focus()->objectName(), c.focus) << c.keys;
    }
}

TEST_F(EntryLineTest, DigitInNameReplacesEarlierAgeAndTypingAtTheStartOfTheLocationReplacesIt)
{
    start();
    type("k1abc ann 12 japan");
    field("txtName")->setFocus();
    type("5");
    EXPECT_EQ(field("txtRSTR")->text(), "5");
    field("txtCntry")->setFocus();
    field("txtCntry")->setCursorPosition(0);
    type("o");
    EXPECT_EQ(field("txtCntry")->text(), "O");
}

TEST_F(EntryLineTest, CommitChecksReportAndKeepTheFields)
{
    start();
    type("w1 ann 12 ct");
    key(Qt::Key_Return);
    EXPECT_EQ(status(), "Need Call Sign!");
    EXPECT_EQ(focus(), field("txtCall"));
    EXPECT_EQ(beeper.beeps, 1);

    form->cmdClear_Click();
    type("w1aw ann 12 hi");
    key(Qt::Key_Return);
    EXPECT_EQ(status(), "Invald Section!");
    EXPECT_EQ(field("txtCntry")->text(), "HI");
    EXPECT_EQ(focus(), field("txtCntry"));

    // Both checks fail: the later message stands and the focus ends in the location field.
    form->cmdClear_Click();
    type("w1 ann 12 xx");
    key(Qt::Key_Return);
    EXPECT_EQ(status(), "Invald Section!");
    EXPECT_EQ(focus(), field("txtCntry"));
    EXPECT_TRUE(logBytes().isEmpty());

    // Correcting the location to a name stores the contact.
    form->cmdClear_Click();
    type("w1aw ann 12 hi");
    key(Qt::Key_Return);
    field("txtCntry")->selectAll();
    type("Hawaii");
    key(Qt::Key_Return);
    EXPECT_TRUE(logBytes().startsWith("\"W1AW\",\"12\",\"\",\"\",\"Hawaii\","));
}

TEST_F(EntryLineTest, TwoLetterLocationIsStoredUpperCase)
{
    start();
    field("txtCall")->setText("K1ABC");
    field("txtCntry")->setText("Ct");
    form->commitContact();
    EXPECT_TRUE(logBytes().contains("\"CT\""));
}

TEST_F(EntryLineTest, CanadianCallFillsAnEmptyLocationWhenTheCallFieldIsLeft)
{
    start();
    const std::pair<const char*, const char*> cases[] = {{"ve3xyz", "ON"}, {"ve3", "ON"}, {"vy2ab", "PE"},
                                                         {"ve", ""},        {"w1aw", ""}};
    for (const auto& [call, spc] : cases) {
        form->cmdClear_Click();
        type(QString::fromLatin1(call));
        field("txtName")->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(field("txtCntry")->text(), spc) << call;
    }
}

TEST_F(EntryLineTest, FrequencyGoesWithTheNextContactOnlyAndEvenARefusedCommitClearsIt)
{
    start();
    form->frequencyText() = "14.025";
    type("w1aw ann 12 ct");
    key(Qt::Key_Return);
    form->frequencyText() = "14.030";
    type("w1");
    key(Qt::Key_Return);  // refused
    form->cmdClear_Click();
    type("k2abc bob 13 ny");
    key(Qt::Key_Return);
    const QList<QByteArray> lines = logBytes().split('\n');
    EXPECT_TRUE(lines[0].endsWith(",\"14.025\"\r"));
    EXPECT_TRUE(lines[1].endsWith(",\"\"\r"));
}

TEST_F(EntryLineTest, PostContestModeTakesTheTypedDateAndTime)
{
    start();
    action("mnuPostContest")->trigger();
    ASSERT_TRUE(field("txtPostConTime")->isVisible());
    field("txtPostConDate")->setFocus();
    EXPECT_EQ(field("txtPostConDate")->text(), "2026/06/13");  // today's local date offered

    field("txtPostConDate")->setText("2026/6/1");
    field("txtPostConTime")->setText("1815");
    field("txtCall")->setFocus();
    type("w1aw ann 12 ct");
    key(Qt::Key_Return);
    EXPECT_TRUE(logBytes().contains("\"2026/06/01\",\"18:15\""));

    field("txtPostConTime")->setText("930");
    type("k1abc bob 12 ma");
    key(Qt::Key_Return);
    EXPECT_TRUE(logBytes().contains("\"K1ABC\",\"12\",\"\",\"\",\"MA\",\"2026/06/01\",\"09:30\""));

    const QByteArray before = logBytes();
    field("txtPostConTime")->setText("2575");
    type("k2abc bob 12 ny");
    key(Qt::Key_Return);
    EXPECT_EQ(status(), "Invalid time format!");
    field("txtPostConDate")->setText("2026/13/45");
    key(Qt::Key_Return);
    EXPECT_EQ(status(), "Invalid date format!");
    EXPECT_EQ(logBytes(), before);

    // The time field takes digits and ":" only.
    field("txtPostConTime")->clear();
    field("txtPostConTime")->setFocus();
    type("1a:2b");
    EXPECT_EQ(field("txtPostConTime")->text(), "1:2");
}

TEST_F(EntryLineTest, FailedAppendShowsTheReasonAndLosesNothing)
{
    start();
    type("w1aw ann 12 ct");
    key(Qt::Key_Return);
    // Every write to log.txt now fails with "no space left on device".
    QFile::remove(dir.filePath("log.txt"));
    ASSERT_TRUE(QFile::link("/dev/full", dir.filePath("log.txt")));
    type("k1abc bob 12 ma");
    key(Qt::Key_Return);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.messages.back().text.contains("log.txt"));
    EXPECT_EQ(form->store().count(), 1);
    EXPECT_EQ(field("txtCall")->text(), "K1ABC");
    EXPECT_EQ(field("txtCntry")->text(), "MA");
    EXPECT_EQ(label("lblTotCon")->text(), "1");
}

TEST_F(EntryLineTest, AFullLogRefusesTheNextContactAndKeepsIt)
{
    QByteArray log;
    const QByteArray line = logLine("K1ABC", "12", "Red", "CT", "ANN");
    for (int i = 0; i < LogStore::kCapacity; ++i)
        log += line;
    writeLog(log);
    start();
    ASSERT_EQ(form->store().count(), LogStore::kCapacity);
    type("w1aw tom 12 ct");
    key(Qt::Key_Return);
    EXPECT_EQ(status(), "The log is full: no room for more contacts!");
    EXPECT_EQ(field("txtCall")->text(), "W1AW");
    EXPECT_EQ(logBytes().size(), log.size());
}

TEST_F(EntryLineTest, ReloadRebuildsCountersAndColours)
{
    writeLog(logLine("K1ABC", "12", "Red", "ct", "ANN", "PH") + logLine("JA1ABC", "10", "", "Japan", "KEN") +
             logLine("JA2ABC", "10", "", "JAPAN", "KEN") + logLine("W1AW", "12", "", "CT", "TOM"));
    Preferences p = *PrefFile::parse([&] {
        QFile f(dir.filePath("cubwavepref.txt"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }());
    p.workedColour = 255;
    p.notWorkedColour = 0x808080;
    writePrefs(p);
    start();
    EXPECT_EQ(form->store().count(), 4);
    EXPECT_EQ(label("lblTotSec")->text(), "1");
    EXPECT_EQ(label("lblsectogo")->text(), "3");
    EXPECT_EQ(label("lblStation_5")->text(), "DX  -  1");
    EXPECT_EQ(label("Label10_1")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(label("Label10_2")->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(form->store().countAtLoad(), 4.0f);
}

TEST_F(EntryLineTest, MalformedLogEndsTheProgramWithoutTouchingTheFile)
{
    const QByteArray bad = logLine("K1ABC", "12", "Red", "CT", "ANN") + "\"W1AW\",\"1\"2\"\r\n";
    writeLog(bad);
    start();
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().title, "File Error");
    // The fixed text unchanged, then where the reader stopped and why.
    EXPECT_EQ(dialogs.messages.back().text,
              "Error opening file.  This error is annoying but probably correctable.  In all likelihood, a "
              "character such as a quote got into your data or one of your entries has an invalid date/time "
              "format.  Close this program and open log.txt in the program's working directory with a text "
              "editor such as notepad.  Inspect the data and fix any errors you see (remove any extra quotes and "
              "make sure your date and time entries are valid).\n\nlog.txt line 2: the line is not eleven "
              "quoted fields separated by commas (a quote too many or too few, or a field missing)");
    EXPECT_EQ(endedWith, std::vector<int>{1});
    EXPECT_EQ(logBytes(), bad);
}

TEST_F(EntryLineTest, MultiplierLabelsShowTheirCountOnHoverAndFillTheLocationOnClick)
{
    writeLog(logLine("K1ABC", "12", "Red", "CT", "ANN") + logLine("W1AW", "12", "", "ct", "TOM"));
    start();
    QLabel* ct = label("Label10_1");
    QTest::mouseMove(ct);
    QCoreApplication::processEvents();
    EXPECT_EQ(label("lblDupe")->text(), "  Connecticut    Total = 2");
    QTest::mouseClick(ct, Qt::LeftButton);
    EXPECT_EQ(field("txtCntry")->text(), "CT");
    EXPECT_FALSE(label("Label10_27")->isVisible());
    EXPECT_FALSE(label("Label10_36")->isVisible());
}

TEST_F(EntryLineTest, TypedCallShowsWhereTheStationIs)
{
    Preferences p = *PrefFile::parse([&] {
        QFile f(dir.filePath("cubwavepref.txt"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }());
    p.ownLatitude = 41.7f;   // Connecticut
    p.ownLongitude = 72.7f;
    writePrefs(p);
    start();

    type("ja1abc");
    EXPECT_EQ(field("txtCntry")->text(), "Japan");
    EXPECT_EQ(field("txtCntry")->selectedText(), "Japan");  // typing replaces it
    EXPECT_EQ(label("Label19")->text(), "AS");
    EXPECT_FALSE(label("Label22")->text().isEmpty());
    EXPECT_TRUE(label("Label23")->text().contains(','));  // thousands of miles

    // US and Canadian calls leave the location to the operator, even after a shorter
    // prefix was not found on the way.
    for (const char* call : {"w1aw", "ve3xyz", "aa1aa"}) {
        form->cmdClear_Click();
        type(QString::fromLatin1(call));
        EXPECT_EQ(field("txtCntry")->text(), "") << call;
        EXPECT_EQ(label("Label19")->text(), "NA") << call;
        EXPECT_EQ(label("Label22")->text(), "") << call;
    }

    form->cmdClear_Click();
    type("q9q");
    EXPECT_EQ(field("txtCntry")->text(), "Not Found");
    EXPECT_EQ(label("Label19")->text(), "");

    // A country name completes from the table while it is typed.
    form->cmdClear_Click();
    type("k1abc ann 12 CAn");
    EXPECT_EQ(field("txtCntry")->text(), "Canada");
    EXPECT_EQ(field("txtCntry")->selectedText(), "ada");
}
