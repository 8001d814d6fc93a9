#include "platform/gui/QtDialogs.h"
#include "station/PrefixTable.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "ui/main/EditContactDialog.h"

#include "support/Keyboard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace cubwave;
using namespace cubwave::test;

namespace {

QsoRecord sampleRecord()
{
    QsoRecord r;
    r[QsoRecord::Call] = "W1AW";
    r[QsoRecord::Age] = "12";
    r[QsoRecord::Other] = "Blue";
    r[QsoRecord::Spare] = "S1";
    r[QsoRecord::Spc] = "CT";
    r[QsoRecord::Date] = "2026/06/13";
    r[QsoRecord::Time] = "18:05:33";
    r[QsoRecord::Mode] = "CW";
    r[QsoRecord::Band] = "20";
    r[QsoRecord::Name] = "TOM";
    r[QsoRecord::Frequency] = "14.025";
    return r;
}

// Unsorted names on purpose: completion looks from the last entry backwards, so "Chi" must
// find China (later) rather than Chile.
// Lets the event loop run until done() holds or five seconds pass.
bool waitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 500 && !done(); ++i)
        QTest::qWait(10);
    return done();
}

const char* const kTable =
    "\"CE\",\"Chile\",\"SA\",71,-30,\"12\",\"14\",\"4.0\"\n"
    "\"BY\",\"China\",\"AS\",-116.4,39.9,\"24\",\"44\",\"-8.0\"\n"
    "\"JA\",\"Japan\",\"AS\",-139.7,35.7,\"25\",\"45\",\"-9.0\"\n"
    "\"VE\",\"Canada\",\"NA\",78.75,44.35,\"05\",\"09\",\"5.0\"\n"
    "\"ZF\",\"Cayman Islands\",\"NA\",81.38,19.32,\"08\",\"11\",\"5.0\"\n";

class EditContact : public ::testing::Test {
protected:
    void open(const QsoRecord& record = sampleRecord(), const PrefixTable* prefixes = nullptr)
    {
        form = std::make_unique<EditContactDialog>(record, dialogs, beeper, prefixes);
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        settle();
    }

    const PrefixTable* tableFromFile()
    {
        EXPECT_TRUE(dir.isValid());
        QFile f(dir.filePath("arrlpre2.txt"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kTable);
        f.close();
        PrefixTableLoad load = PrefixTable::read(f.fileName());
        EXPECT_TRUE(load.ok) << load.reason.toStdString();
        table = std::move(load.table);
        return &table;
    }

    // Lets queued work (the checks run when a field is left) happen, and gives any focus
    // ping-pong the chance to show itself.
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    QWidget* focus() const { return QApplication::focusWidget(); }

    void type(const QString& text) { keyboard.type(text); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { keyboard.key(k, mods); }
    Keyboard keyboard{[this] { return form.get(); }, &settle};

    // Tabs into the field, as the operator would reach it, so its text is selected.
    void enter(const char* name)
    {
        field(name)->setFocus(Qt::TabFocusReason);
        settle();
        ASSERT_EQ(focus(), field(name));
    }

    // Replaces a field's text by typing.
    void retype(const char* name, const QString& text)
    {
        enter(name);
        key(Qt::Key_End);
        key(Qt::Key_Home, Qt::ShiftModifier);
        if (text.isEmpty())
            key(Qt::Key_Delete);
        else
            type(text);
    }

    QLineEdit* field(const char* name) const { return form->findChild<QLineEdit*>(QLatin1String(name)); }
    QLabel* label(const char* name) const { return form->findChild<QLabel*>(QLatin1String(name)); }
    QPushButton* done() const { return form->findChild<QPushButton*>(QStringLiteral("cmdDone")); }
    bool warningShown(const char* name) const { return label(name)->isVisibleTo(form.get()); }

    QTemporaryDir dir;
    PrefixTable table;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    std::unique_ptr<EditContactDialog> form;
};

}  // namespace

TEST_F(EditContact, ShowsEachFieldOfTheRecordUnderItsLabel)
{
    open();
    EXPECT_EQ(form->objectName(), "frmEditCon");
    EXPECT_EQ(form->windowTitle(), "Edit Contact Entry");
    const struct {
        const char* field;
        const char* caption;
        const char* text;
    } rows[] = {
        {"txtEditCall", "Callsign", "W1AW"}, {"Text2", "Name", "TOM"},         {"txtEditCk", "Age", "12"},
        {"txtEditSec", "Other", "Blue"},     {"txtEditPre", "QTH", "CT"},      {"txtEditDate", "Date", "2026/06/13"},
        {"txtEditTime", "Time", "18:05:33"}, {"Text1", "Band", "20"},          {"txtEditBnd", "Mode", "CW"},
    };
    QWidget* above = nullptr;
    for (const auto& row : rows) {
        QLineEdit* f = field(row.field);
        ASSERT_NE(f, nullptr) << row.field;
        EXPECT_EQ(f->text(), row.text) << row.field;
        EXPECT_TRUE(f->isVisible()) << row.field;
        // The caption sits level with its field, to the left of it.
        const auto captions = form->findChildren<QLabel*>();
        const auto it = std::find_if(captions.begin(), captions.end(), [&](QLabel* l) { return l->text() == row.caption; });
        ASSERT_NE(it, captions.end()) << row.caption;
        EXPECT_LT((*it)->geometry().right(), f->geometry().left()) << row.caption;
        EXPECT_TRUE(f->geometry().contains(f->geometry().left() + 1, (*it)->geometry().center().y())) << row.caption;
        if (above) {
            EXPECT_GE(f->geometry().top(), above->geometry().bottom()) << row.field;
        }
        above = f;
    }
    EXPECT_EQ(field("txtEditNum")->text(), "S1");
    EXPECT_FALSE(field("txtEditNum")->isVisible());
    EXPECT_EQ(done()->text(), "Done");
    EXPECT_EQ(label("lblBandInvalid")->text(), "   Invalid!");
    EXPECT_EQ(label("lblModeInvalid")->text(), "CW or PH!");
    EXPECT_FALSE(warningShown("lblBandInvalid"));
    EXPECT_FALSE(warningShown("lblModeInvalid"));
}

TEST_F(EditContact, FitsOnTheScreenWithEveryControlInside)
{
    open();
    const QRect screen = form->screen()->geometry();
    EXPECT_TRUE(screen.contains(form->geometry())) << form->width() << "x" << form->height();
    // Stretched from the 640-pixel design surface, not left at a fixed size.
    EXPECT_GT(form->width(), screen.width() / 3);
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(form->rect().contains(w->geometry())) << w->objectName().toStdString();
}

TEST_F(EditContact, KeystrokeRulesOfEachField)
{
    open();
    const struct {
        const char* field;
        const char* keys;
        const char* text;
    } cases[] = {
        // Letters become capitals, quotes never get in.
        {"txtEditCall", "k1\"abc", "K1ABC"},
        {"Text2", "an\"n", "ANN"},
        {"txtEditCk", "1a2", "1A2"},
        {"txtEditSec", "gr\"een sky", "GREEN SKY"},
        {"Text1", "4\"0", "40"},
        {"txtEditBnd", "ph", "PH"},
        // Date and time take digits and their own separator only.
        {"txtEditDate", "2026/0a6-/1\"3 ", "2026/06/13"},
        {"txtEditTime", "1a8:0\"5/:3-3", "18:05:33"},
    };
    for (const auto& c : cases) {
        retype(c.field, QString::fromLatin1(c.keys));
        EXPECT_EQ(field(c.field)->text(), c.text) << c.field;
    }
    // Backspace still edits the filtered fields.
    retype("txtEditDate", "2026/06/144");
    key(Qt::Key_Backspace);
    EXPECT_EQ(field("txtEditDate")->text(), "2026/06/14");
}

TEST_F(EditContact, PastedQuotesAndLineBreaksAreDropped)
{
    open();
    enter("txtEditSec");
    QApplication::clipboard()->setText("Dark \"Red\"\r\nX");
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field("txtEditSec")->text(), "DARK REDX");  // upper case, as typed letters are
    EXPECT_EQ(field("txtEditSec")->cursorPosition(), 9);
}

TEST_F(EditContact, EnterInAnyFieldRunsDone)
{
    for (const char* name : {"txtEditCall", "Text2", "txtEditCk", "txtEditSec", "txtEditPre", "txtEditDate",
                             "txtEditTime", "Text1", "txtEditBnd"}) {
        open();
        enter(name);
        key(Qt::Key_Return);
        EXPECT_TRUE(form->stored()) << name;
        EXPECT_EQ(form->result(), QDialog::Accepted) << name;
        EXPECT_FALSE(form->isVisible()) << name;
        EXPECT_EQ(form->record(), sampleRecord()) << name;
    }
    EXPECT_EQ(beeper.beeps, 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EditContact, DoneStoresTheFieldsExactlyAsTyped)
{
    open(sampleRecord(), tableFromFile());
    retype("txtEditCall", "k1abc");
    retype("Text2", "ann");
    retype("txtEditCk", "9");
    retype("txtEditSec", "red");
    retype("txtEditPre", "jap");  // completes to Japan
    retype("txtEditDate", "6/3/2026");
    retype("txtEditTime", "7:5");
    retype("Text1", "40");
    retype("txtEditBnd", "ph");
    QTest::mouseClick(done(), Qt::LeftButton);
    settle();

    ASSERT_TRUE(form->stored());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    QsoRecord expected = sampleRecord();
    expected[QsoRecord::Call] = "K1ABC";
    expected[QsoRecord::Name] = "ANN";
    expected[QsoRecord::Age] = "9";
    expected[QsoRecord::Other] = "RED";
    expected[QsoRecord::Spc] = "Japan";
    expected[QsoRecord::Date] = "6/3/2026";  // not reformatted
    expected[QsoRecord::Time] = "7:5";
    expected[QsoRecord::Band] = "40";
    expected[QsoRecord::Mode] = "PH";
    EXPECT_EQ(form->record(), expected);  // Spare and Frequency as they were
    EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(EditContact, ClosingWithoutDoneLeavesTheRecordUnchanged)
{
    for (bool closeBox : {true, false}) {
        open();
        retype("txtEditCall", "k1abc");
        retype("Text1", "40");
        enter("txtEditCall");
        if (closeBox)
            form->close();
        else
            key(Qt::Key_Escape);
        settle();
        EXPECT_FALSE(form->isVisible()) << closeBox;
        EXPECT_EQ(form->result(), QDialog::Rejected) << closeBox;
        EXPECT_FALSE(form->stored()) << closeBox;
        EXPECT_EQ(form->record(), sampleRecord()) << closeBox;
    }
}

TEST_F(EditContact, BandAndModeAreCheckedWhenLeft)
{
    const struct {
        const char* field;
        const char* keys;
        const char* warning;
        bool valid;
    } cases[] = {
        {"Text1", "40", "lblBandInvalid", true},   {"Text1", "160", "lblBandInvalid", true},
        {"Text1", "2", "lblBandInvalid", true},    {"Text1", "17", "lblBandInvalid", false},
        {"Text1", "", "lblBandInvalid", false},    {"Text1", "020", "lblBandInvalid", false},
        {"txtEditBnd", "cw", "lblModeInvalid", true}, {"txtEditBnd", "PH", "lblModeInvalid", true},
        {"txtEditBnd", "ssb", "lblModeInvalid", false}, {"txtEditBnd", "C", "lblModeInvalid", false},
    };
    for (const auto& c : cases) {
        open();
        retype(c.field, QString::fromLatin1(c.keys));
        const int beeps = beeper.beeps;
        key(Qt::Key_Tab);
        EXPECT_EQ(warningShown(c.warning), !c.valid) << c.field << " " << c.keys;
        EXPECT_EQ(beeper.beeps - beeps, c.valid ? 0 : 1) << c.field << " " << c.keys;
        EXPECT_EQ(focus() == field(c.field), !c.valid) << c.field << " " << c.keys;
        if (!c.valid) {
            // The refused text is selected: typing a good code replaces it and the warning goes.
            EXPECT_EQ(field(c.field)->selectedText(), field(c.field)->text());
            type(c.field == std::string("Text1") ? "80" : "CW");
            key(Qt::Key_Tab);
            EXPECT_FALSE(warningShown(c.warning)) << c.field << " " << c.keys;
            EXPECT_NE(focus(), field(c.field)) << c.field << " " << c.keys;
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EditContact, DateAndTimeAreCheckedWhenLeft)
{
    const struct {
        const char* field;
        const char* text;
        bool valid;
    } cases[] = {
        {"txtEditDate", "2026/06/13", true},  {"txtEditDate", "2026/6/3", true},   {"txtEditDate", "6/13/2026", true},
        {"txtEditDate", "2024/02/29", true},  {"txtEditDate", "2026/02/29", false}, {"txtEditDate", "2026/13/01", false},
        {"txtEditDate", "2026//13", false},   {"txtEditDate", "20260613", false},  {"txtEditDate", "", false},
        {"txtEditTime", "18:05:33", true},    {"txtEditTime", "18:05", true},      {"txtEditTime", "7:5", true},
        {"txtEditTime", "24:00", false},      {"txtEditTime", "18:60", false},     {"txtEditTime", "1805", false},
        {"txtEditTime", "18:05:33:00", false}, {"txtEditTime", "", false},
    };
    for (const auto& c : cases) {
        open();
        dialogs.messages.clear();
        retype(c.field, QString::fromLatin1(c.text));
        const int beeps = beeper.beeps;
        key(Qt::Key_Tab);
        const bool isDate = c.field == std::string("txtEditDate");
        EXPECT_EQ(focus() == field(c.field), !c.valid) << c.field << " " << c.text;
        EXPECT_EQ(beeper.beeps - beeps, c.valid ? 0 : 1) << c.field << " " << c.text;
        if (c.valid) {
            EXPECT_TRUE(dialogs.messages.empty()) << c.text;
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.text;
        EXPECT_EQ(dialogs.messages[0].title, isDate ? "Invalid Date Format!" : "Invalid Time Format!");
        EXPECT_EQ(dialogs.messages[0].text,
                  isDate ? "You have entered an invalid date format!" : "You have entered an invalid time format!");
        EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::Ok);
    }
}

TEST_F(EditContact, TwoInvalidFieldsDoNotPullTheFocusFromEachOther)
{
    QsoRecord bad = sampleRecord();
    bad[QsoRecord::Band] = "17";
    bad[QsoRecord::Mode] = "SSB";
    bad[QsoRecord::Time] = "99";
    open(bad);

    // Band -> Mode by Tab: only the band complains, and the focus stays with it.
    enter("Text1");
    key(Qt::Key_Tab);
    QTest::qWait(50);
    EXPECT_EQ(focus(), field("Text1"));
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_TRUE(warningShown("lblBandInvalid"));
    EXPECT_FALSE(warningShown("lblModeInvalid"));

    // Mode -> Band by a mouse click, both invalid: only the mode complains.
    retype("Text1", "40");
    enter("txtEditBnd");
    field("Text1")->setText("17");
    beeper.beeps = 0;
    QTest::mouseClick(field("Text1"), Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_EQ(focus(), field("txtEditBnd"));
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_TRUE(warningShown("lblModeInvalid"));
    field("Text1")->setText("40");
    field("txtEditBnd")->setText("CW");

    // Date (invalid) -> Time (invalid): one message box, for the date, and the date keeps the
    // focus although the message box took it for a moment.
    dialogs.messages.clear();
    retype("txtEditDate", "2026/99/99");
    key(Qt::Key_Tab);
    QTest::qWait(50);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Invalid Date Format!");
    EXPECT_EQ(focus(), field("txtEditDate"));
}

TEST_F(EditContact, DoneRefusesAnInvalidTimeThenAnInvalidDate)
{
    QsoRecord bad = sampleRecord();
    bad[QsoRecord::Date] = "2026/02/30";
    bad[QsoRecord::Time] = "25:00";
    open(bad);
    enter("txtEditCall");

    key(Qt::Key_Return);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages.back().title, "Invalid Time Format!");
    EXPECT_EQ(focus(), field("txtEditTime"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->stored());

    type("23:00");  // the refused time is selected, so this replaces it
    QTest::mouseClick(done(), Qt::LeftButton);
    settle();
    ASSERT_EQ(dialogs.messages.size(), 2u);  // the time, now valid, adds nothing on the way
    EXPECT_EQ(dialogs.messages.back().title, "Invalid Date Format!");
    EXPECT_EQ(focus(), field("txtEditDate"));
    EXPECT_FALSE(form->stored());
    EXPECT_EQ(beeper.beeps, 2);

    type("2026/02/28");
    key(Qt::Key_Return);
    EXPECT_TRUE(form->stored());
    EXPECT_EQ(form->record()[QsoRecord::Time], "23:00");
    EXPECT_EQ(form->record()[QsoRecord::Date], "2026/02/28");
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(EditContact, DoneRefusesABandOrModeThatWasNeverLeft)
{
    for (const char* name : {"Text1", "txtEditBnd"}) {
        open();
        const bool band = name == std::string("Text1");
        retype(name, band ? "17" : "ssb");
        const int beeps = beeper.beeps;
        key(Qt::Key_Return);  // Enter runs Done without leaving the field
        EXPECT_FALSE(form->stored()) << name;
        EXPECT_TRUE(form->isVisible()) << name;
        EXPECT_TRUE(warningShown(band ? "lblBandInvalid" : "lblModeInvalid")) << name;
        EXPECT_EQ(focus(), field(name)) << name;
        EXPECT_EQ(beeper.beeps - beeps, 1) << name;
    }
}

TEST_F(EditContact, ClickingDoneWhileInAnInvalidFieldComplainsOnce)
{
    // A real click: the window gets events between the press and the release.
    const auto click = [this] {
        QTest::mousePress(done(), Qt::LeftButton);
        QTest::qWait(50);
        QTest::mouseRelease(done(), Qt::LeftButton);
        QTest::qWait(50);
    };
    open();
    retype("Text1", "17");
    click();
    EXPECT_FALSE(form->stored());
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_EQ(focus(), field("Text1"));

    dialogs.messages.clear();
    retype("Text1", "40");
    retype("txtEditDate", "2026/02/30");
    click();
    EXPECT_FALSE(form->stored());
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(focus(), field("txtEditDate"));
}

TEST_F(EditContact, LocationFieldCompletesCountryNamesWithExactCase)
{
    const PrefixTable* prefixes = tableFromFile();
    const struct {
        const char* keys;
        const char* text;
        const char* selected;  // the completed rest
    } cases[] = {
        {"can", "Canada", "ada"},   // the first letter becomes a capital, the rest is typed
        {"Cana", "Canada", "da"},   // typing on follows the completion
        {"CAN", "CAN", ""},         // case matters
        {"Chi", "China", "na"},     // the last entry of the table wins
        {"Cay", "Cayman Islands", "man Islands"},
        {"Cax", "Cax", ""},
        {"ny", "Ny", ""},           // two letters: nothing to complete yet
    };
    for (const auto& c : cases) {
        open(sampleRecord(), prefixes);
        retype("txtEditPre", QString::fromLatin1(c.keys));
        EXPECT_EQ(field("txtEditPre")->text(), c.text) << c.keys;
        EXPECT_EQ(field("txtEditPre")->selectedText(), c.selected) << c.keys;
    }

    // Without a table nothing is completed.
    open(sampleRecord(), nullptr);
    retype("txtEditPre", "Can");
    EXPECT_EQ(field("txtEditPre")->text(), "Can");
}

TEST_F(EditContact, LocationFieldStartsAfreshAtItsStartAndCapitalisesShortCodesWhenLeft)
{
    open(sampleRecord(), tableFromFile());
    retype("txtEditPre", "Canada");
    // The whole entry goes when typing at the start, even with the caret not on a selection.
    key(Qt::Key_Home);
    type("jap");
    EXPECT_EQ(field("txtEditPre")->text(), "Japan");

    retype("txtEditPre", "Canada");
    key(Qt::Key_Home);
    key(Qt::Key_Right);
    type("x");
    EXPECT_EQ(field("txtEditPre")->text(), "Cxanada");  // past the start, typing inserts

    // Fewer than three letters are a state or province code: capitals once the field is left.
    retype("txtEditPre", "ct");
    EXPECT_EQ(field("txtEditPre")->text(), "Ct");
    key(Qt::Key_Tab);
    EXPECT_EQ(field("txtEditPre")->text(), "CT");
    retype("txtEditPre", "abc");
    key(Qt::Key_Tab);
    EXPECT_EQ(field("txtEditPre")->text(), "Abc");

    // Done straight from the field stores the code in capitals too.
    retype("txtEditPre", "ny");
    key(Qt::Key_Return);
    ASSERT_TRUE(form->stored());
    EXPECT_EQ(form->record()[QsoRecord::Spc], "NY");
}

// A real message box takes the activation and the focus while it is open and hands them back
// when it closes; the refused field must still end up with the focus, after one box.
TEST_F(EditContact, RealMessageBoxesHandTheFocusBackToTheRefusedField)
{
    QtDialogs real;
    QsoRecord bad = sampleRecord();
    bad[QsoRecord::Date] = "2026/99/99";
    bad[QsoRecord::Time] = "99";
    form = std::make_unique<EditContactDialog>(bad, real, beeper, nullptr);
    real.setParent(form.get());
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    enter("txtEditDate");

    QStringList boxes;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes << box->windowTitle();
            box->accept();
        }
    });
    answer.start(10);

    // Left towards the (also invalid) time: one box, for the date.
    QTest::keyClick(field("txtEditDate"), Qt::Key_Tab);
    EXPECT_TRUE(waitFor([&] { return !boxes.isEmpty() && focus() == field("txtEditDate"); }));
    QTest::qWait(100);
    EXPECT_EQ(boxes, QStringList{"Invalid Date Format!"});
    EXPECT_EQ(focus(), field("txtEditDate"));

    // Done from the date field: the time is refused and gets the focus.
    field("txtEditDate")->setText("2026/06/13");
    QTest::keyClick(field("txtEditDate"), Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] { return boxes.size() == 2 && focus() == field("txtEditTime"); }));
    QTest::qWait(100);
    EXPECT_EQ(boxes, (QStringList{"Invalid Date Format!", "Invalid Time Format!"}));
    EXPECT_EQ(focus(), field("txtEditTime"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->stored());
}
