// The help page and the reading of its file: the whole text, in either encoding, filling in
// piece by piece.
#include "ui/appearance/HelpDialog.h"
#include "ui/appearance/HelpText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace cubwave;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString pieced(const QByteArray& bytes, qsizetype pieceBytes, int* pieces = nullptr)
{
    HelpText text(bytes, pieceBytes);
    QString all;
    int n = 0;
    while (!text.atEnd()) {
        const QString piece = text.nextPiece();
        EXPECT_FALSE(piece.isEmpty());
        all += piece;
        ++n;
    }
    if (pieces)
        *pieces = n;
    return all;
}

// The same text whatever the piece size: no character or line end is split or lost where a
// piece ends.
TEST(HelpText, DecodesEachLineAsUtf8OrLatin1AndPiecesJoinToTheWholeText)
{
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + "Keys\r\n" + "F1 sends \xC3\xA9t\xC3\xA9 \xE2\x86\x92 CQ\r\n" +
                             "caf\xE9 on a Latin-1 line\n" + "\r\n" + QByteArray(300, 'x') + "\xE2\x82\xAC" +
                             QByteArray(50, 'y') + "\r\n" + "no line end at the close";
    const QString expected = QStringLiteral("Keys\n") + QStringLiteral("F1 sends \u00e9t\u00e9 \u2192 CQ\n") +
                             QStringLiteral("caf\u00e9 on a Latin-1 line\n") + QStringLiteral("\n") + QString(300, 'x') +
                             QStringLiteral("\u20ac") + QString(50, 'y') + QStringLiteral("\n") +
                             QStringLiteral("no line end at the close");
    for (qsizetype size : {4, 5, 7, 16, 61, 301, 302, 303, 1 << 16}) {
        SCOPED_TRACE(size);
        int pieces = 0;
        EXPECT_EQ(pieced(bytes, size, &pieces), expected);
        if (size < 64)
            EXPECT_GT(pieces, 3);
    }
}

TEST(HelpText, MissingFileIsEmptyAndAnOversizeFileStopsAtALineEnd)
{
    QTemporaryDir dir;
    EXPECT_TRUE(HelpText::fromFile(dir.filePath("none.txt")).atEnd());

    const QString path = dir.filePath("big.txt");
    writeBytes(path, "first line\nsecond line\nthird line\n");
    EXPECT_EQ(HelpText::fromFile(path, 30).rest(), "first line\nsecond line\n");
    EXPECT_EQ(HelpText::fromFile(path, 1000).rest(), "first line\nsecond line\nthird line\n");
}

class HelpDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString shown(HelpDialog& d) { return d.findChild<QPlainTextEdit*>("Text1")->toPlainText(); }
    void waitLoaded(HelpDialog& d)
    {
        // Announced from the event loop, so the spy is in time.
        QSignalSpy loaded(&d, &HelpDialog::loaded);
        ASSERT_TRUE(loaded.wait(10000));
    }
    QTemporaryDir dir;
};

TEST_F(HelpDialogTest, ShowsTheWholeFileReadOnlyAndCloses)
{
    writeBytes(dir.filePath("readcubwave.txt"), "Cubwave Log help\r\nPress Enter to log.\r\n");
    HelpDialog d(dir.path());
    waitLoaded(d);
    EXPECT_EQ(d.objectName(), "Form5");
    EXPECT_EQ(d.windowTitle(), "Help Page");
    auto* text = d.findChild<QPlainTextEdit*>("Text1");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(shown(d), "Cubwave Log help\nPress Enter to log.\n");

    d.show();
    text->setFocus();
    QTest::keyClicks(text, "typed");
    EXPECT_EQ(shown(d), "Cubwave Log help\nPress Enter to log.\n");

    auto* close = d.findChild<QPushButton*>("Command1");
    EXPECT_EQ(close->text(), "Close");
    close->click();
    EXPECT_FALSE(d.isVisible());
}

TEST_F(HelpDialogTest, MissingFileGivesAnEmptyPage)
{
    HelpDialog d(dir.path());
    waitLoaded(d);
    EXPECT_FALSE(d.loading());
    EXPECT_EQ(shown(d), "");
}

// Four megabytes: the window shows the start at once and is back in the event loop long before
// the rest is in; in the end every line is there, and the reader's place stays at the top.
TEST_F(HelpDialogTest, AFileOfMegabytesFillsInOverSeveralTurnsOfTheEventLoop)
{
    QByteArray bytes;
    QString expected;
    for (int i = 0; bytes.size() < 4 * 1024 * 1024; ++i) {
        const QByteArray line = "Line " + QByteArray::number(i) + " of the help text, with some words to read.";
        bytes += line + "\r\n";
        expected += QString::fromLatin1(line) + QLatin1Char('\n');
    }
    writeBytes(dir.filePath("readcubwave.txt"), bytes);

    HelpDialog d(dir.path());
    EXPECT_TRUE(d.loading());
    const QString first = shown(d);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_LT(first.size(), expected.size() / 16);
    EXPECT_TRUE(expected.startsWith(first));

    int turns = 0;
    while (d.loading() && turns < 10000) {
        QCoreApplication::processEvents();
        ++turns;
    }
    EXPECT_FALSE(d.loading());
    EXPECT_GT(turns, 16);
    EXPECT_EQ(shown(d), expected);
    EXPECT_EQ(d.findChild<QPlainTextEdit*>("Text1")->textCursor().position(), 0);
}

}  // namespace
