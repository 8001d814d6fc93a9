// Text that reaches an entry field other than key by key: the clipboard, insert(), drag and drop,
// composed input and the context menu. Whatever the way, the field keeps what its keys would.
#include "core/FieldText.h"
#include "core/LogFile.h"
#include "core/LogLine.h"
#include "support/MainWindowFixture.h"
#include "ui/main/EditContactDialog.h"
#include "ui/main/StationDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <functional>

using namespace cubwave;
using namespace cubwave::test;

namespace {

struct Way {
    const char* name;
    std::function<void(QLineEdit*, const QString&)> deliver;
};

void pasteWithKeys(QLineEdit* field, const QString& text, Qt::Key key, Qt::KeyboardModifiers mods)
{
    QApplication::clipboard()->setText(text);
    field->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(field, key, mods);
}

void drop(QLineEdit* field, const QString& text)
{
    QMimeData data;
    data.setText(text);
    const QPoint at(2, field->height() / 2);
    // A drop goes to the widget that accepted the drag's entry.
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(field, &enter);
    QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(field, &event);
}

void compose(QLineEdit* field, const QString& text)
{
    field->setFocus(Qt::OtherFocusReason);
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(field, &event);
}

void pasteFromContextMenu(QLineEdit* field, const QString& text)
{
    QApplication::clipboard()->setText(text);
    field->setFocus(Qt::OtherFocusReason);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2), field->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(field, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* paste = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->text().startsWith(QLatin1String("&Paste")))
            paste = a;
    }
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
}

// Every way except the Ctrl+V chord, which the main window keeps for its own keys.
const Way kWays[] = {
    {"Shift+Insert", [](QLineEdit* f, const QString& t) { pasteWithKeys(f, t, Qt::Key_Insert, Qt::ShiftModifier); }},
    {"insert()", [](QLineEdit* f, const QString& t) { f->insert(t); }},
    {"drop", drop},
    {"input method", compose},
    {"context menu", pasteFromContextMenu},
};

const Way kCtrlV = {"Ctrl+V", [](QLineEdit* f, const QString& t) { pasteWithKeys(f, t, Qt::Key_V, Qt::ControlModifier); }};

struct FieldCase {
    const char* field;
    const char16_t* incoming;
    const char16_t* kept;
    // insert() cuts the text to the field's length before the rule takes anything out.
    const char16_t* keptByInsert = nullptr;
};

template <typename FindField>
void checkEveryWay(FindField find, const std::vector<FieldCase>& cases, const std::vector<Way>& ways)
{
    for (const Way& way : ways) {
        for (const FieldCase& c : cases) {
            QLineEdit* field = find(c.field);
            ASSERT_NE(field, nullptr) << c.field;
            field->clear();
            way.deliver(field, QString::fromUtf16(c.incoming));
            const bool byInsert = std::string(way.name) == "insert()";
            const char16_t* expected = byInsert && c.keptByInsert ? c.keptByInsert : c.kept;
            EXPECT_EQ(field->text(), QString::fromUtf16(expected)) << way.name << " into " << c.field;
        }
    }
}

std::vector<Way> allWays(bool withCtrlV)
{
    std::vector<Way> ways(std::begin(kWays), std::end(kWays));
    if (withCtrlV)
        ways.push_back(kCtrlV);
    return ways;
}

class PastedText : public MainWindowFixture {};

}  // namespace

TEST_F(PastedText, EntryLineKeepsWhatItsKeysWouldWhateverTheWay)
{
    start();
    action("mnuPostContest")->trigger();
    const std::vector<FieldCase> cases = {
        {"txtCall", u"w1\"a w\t\r\nxyz1234567890", u"W1AWXYZ12345", u"W1AWXYZ"},
        {"txtName", u"mary \"ann\" 12\n", u"MARYANN"},
        {"txtRSTR", u"1\"2a\t3 4", u"123", u"12"},
        {"txtCntry", u"ct\" ok\r\n", u"CT ok"},
        {"txtSec", u"dark \"blue\"\tsky", u"Dark bluesky"},
        {"txtPostConTime", u"18:\"15\n", u"18:15", u"18:1"},
        {"txtPostConDate", u"2026/\"06/13\t", u"2026/06/13", u"2026/06/1"},
    };
    checkEveryWay([this](const char* name) { return field(name); }, cases, allWays(false));

    // Ctrl+V is the window's own chord there: it pastes nothing.
    field("txtCall")->clear();
    kCtrlV.deliver(field("txtCall"), QStringLiteral("W1AW"));
    EXPECT_EQ(field("txtCall")->text(), "");
}

TEST_F(PastedText, APastedContactIsStoredAsOneLineThatReloads)
{
    start();
    QApplication::clipboard()->setText(QStringLiteral("w1aw\",\"x\r\n\"K2ABC"));
    key(Qt::Key_Insert, Qt::ShiftModifier);
    type(" tom 12 ct");
    key(Qt::Key_Return);
    const QByteArray log = logBytes();
    EXPECT_EQ(log.count('\n'), 1);
    const LogReadResult back = LogFile::parse(log);
    ASSERT_TRUE(back.ok) << back.reason.toStdString();
    EXPECT_EQ(back.records.at(0).call(), "W1AW,XK2ABC");
}

TEST_F(PastedText, EditWindowKeepsWhatItsKeysWouldWhateverTheWay)
{
    start();
    QsoRecord r;
    r[QsoRecord::Call] = "W1AW";
    EditContactDialog window(r, dialogs, beeper, nullptr, form.get());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::vector<FieldCase> cases = {
        {"txtEditCall", u"w1\"aw\r\n", u"W1AW"},
        {"Text2", u"mary \"ann\"\t", u"MARY ANN"},
        {"txtEditCk", u"1\"2\n", u"12"},
        {"txtEditSec", u"dark \"blue\"", u"DARK BLUE"},
        {"txtEditPre", u"ja\"pan\n", u"Japan"},
        {"txtEditDate", u"2026/\"06/13x", u"2026/06/13"},
        {"txtEditTime", u"18:\"05:33\t", u"18:05:33"},
        {"Text1", u"4\"0\n", u"40"},
        {"txtEditBnd", u"p\"h", u"PH"},
    };
    checkEveryWay([&window](const char* name) { return window.findChild<QLineEdit*>(QLatin1String(name)); }, cases,
                  allWays(true));
}

TEST_F(PastedText, StationWindowKeepsWhatItsKeysWouldWhateverTheWay)
{
    start();
    StationDialog window(Preferences{}, beeper, nullptr, form.get());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::vector<FieldCase> cases = {
        {"Text1", u"n0\"cub\r\n", u"N0CUB"},
        {"Text5", u"c\"t", u"CT"},
        {"Text6", u"-4.\"5x\t", u"-4.5"},
        {"Text2", u"ja\"pan", u"Japan"},
        {"Text3", u"7\"2.5\n", u"72.5"},
        {"Text4", u"4\"1.7", u"41.7"},
        {"Text7", u"n\"a", u"NA"},
        {"Text9", u"jo\"e\r\n", u"JOE"},
        {"Text8", u"1\"2", u"12"},
        {"Text10", u"b\"lue", u"BLUE"},
    };
    checkEveryWay([&window](const char* name) { return window.findChild<QLineEdit*>(QLatin1String(name)); }, cases,
                  allWays(true));
}

TEST_F(PastedText, SetTextLosesWhatWouldBreakTheLineToo)
{
    start();
    field("txtName")->setText(QStringLiteral("Tom\"\r\nX"));
    EXPECT_EQ(field("txtName")->text(), "TomX");
}

TEST_F(PastedText, EveryEntryLineFieldFullOfWideCharactersStillFitsOneKibibyte)
{
    // Three UTF-8 bytes per character, 40,000 of them pasted into every field.
    start();
    action("mnuPostContest")->trigger();
    form->frequencyText() = "144.000";
    const QString wide(40000, QChar(0x20ac));
    for (const char* name : {"txtCall", "txtName", "txtCntry", "txtSec"}) {
        field(name)->clear();
        field(name)->setFocus();
        QApplication::clipboard()->setText(wide);
        key(Qt::Key_Insert, Qt::ShiftModifier);
    }
    QApplication::clipboard()->setText(QString(40000, QLatin1Char('9')));
    field("txtRSTR")->setFocus();
    key(Qt::Key_Insert, Qt::ShiftModifier);
    field("txtPostConTime")->setText("1815");
    field("txtPostConDate")->setText("2026/06/13");
    form->commitContact();
    const QByteArray log = logBytes();
    ASSERT_EQ(log.count('\n'), 1);
    EXPECT_LE(log.size(), FieldText::kMaxRecordLineBytes);
    EXPECT_TRUE(LogFile::parse(log).ok);
}

TEST_F(PastedText, EditWindowDoneStoresAFieldFullOfPastedLettersWithinOneKibibyte)
{
    start();
    QsoRecord r;
    r[QsoRecord::Call] = "W1AW";
    r[QsoRecord::Date] = "2026/06/13";
    r[QsoRecord::Time] = "18:05";
    r[QsoRecord::Mode] = "CW";
    r[QsoRecord::Band] = "20";
    EditContactDialog window(r, dialogs, beeper, nullptr, form.get());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // Two 33,000-letter pastes once made a 65,600-byte line that ended the program at every start.
    QApplication::clipboard()->setText(QString(33000, QChar(0x20ac)));
    for (const char* name : {"txtEditCall", "Text2", "txtEditCk", "txtEditSec", "txtEditPre"}) {
        QLineEdit* f = window.findChild<QLineEdit*>(QLatin1String(name));
        f->clear();
        f->setFocus();
        QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
    }
    window.cmdDone_Click();
    ASSERT_TRUE(window.stored());
    const QByteArray line = LogLine::format(window.record()).toUtf8() + "\r\n";
    EXPECT_LE(line.size(), FieldText::kMaxRecordLineBytes);
    EXPECT_TRUE(LogFile::parse(line).ok);
}

TEST_F(PastedText, EditWindowDoneRefusesARecordTheLogCouldNotTakeBack)
{
    start();
    struct Case {
        const char* what;
        int nameLength;        // the Name as read from the log
        const char* pasteOther; // then pasted into Other
        bool stored;
    };
    const Case cases[] = {
        // Over the reader's 64 KiB line: the log would not load again.
        {"line the reader refuses", 70000, "", false},
        // Within the reader's line, but grown past its share of the log.
        {"grown past 1 KiB", 400, "more", false},
        // Read from the log at that size and left as it was: stored, never cut.
        {"long but unchanged", 400, "", true},
        {"ordinary", 3, "blue", true},
    };
    for (const Case& c : cases) {
        QsoRecord r;
        r[QsoRecord::Call] = "W1AW";
        r[QsoRecord::Name] = QString(c.nameLength, QChar(0x20ac));
        r[QsoRecord::Date] = "2026/06/13";
        r[QsoRecord::Time] = "18:05";
        r[QsoRecord::Mode] = "CW";
        r[QsoRecord::Band] = "20";
        dialogs.messages.clear();
        EditContactDialog window(r, dialogs, beeper, nullptr, form.get());
        window.show();
        QLineEdit* other = window.findChild<QLineEdit*>("txtEditSec");
        other->setFocus();
        other->insert(QString::fromLatin1(c.pasteOther));
        window.cmdDone_Click();
        EXPECT_EQ(window.stored(), c.stored) << c.what;
        EXPECT_EQ(window.findChild<QLineEdit*>("Text2")->text().size(), c.nameLength) << c.what;
        if (!c.stored) {
            ASSERT_EQ(dialogs.messages.size(), 1u) << c.what;
            EXPECT_EQ(dialogs.messages[0].title, "Contact Not Stored") << c.what;
            EXPECT_TRUE(window.isVisible()) << c.what;
        }
    }
}
