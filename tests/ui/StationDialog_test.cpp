#include "station/PrefixTable.h"
#include "support/Fakes.h"
#include "ui/main/StationDialog.h"

#include "support/Keyboard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace cubwave;
using namespace cubwave::test;

namespace {

// Sorted by prefix, so the C countries appear as Chile, Canada, Cayman Islands: completion
// looks from the last entry backwards.
const char* const kTable =
    "\"CE\",\"Chile\",\"SA\",71,-30,\"12\",\"14\",\"4.0\"\n"
    "\"G\",\"England\",\"EU\",1.47,52.77,\"14\",\"27\",\"0.0\"\n"
    "\"GM\",\"Scotland\",\"EU\",4.18,56.82,\"14\",\"27\",\"0.0\"\n"
    "\"VE\",\"Canada\",\"NA\",78.75,44.35,\"05\",\"09\",\"5.0\"\n"
    "\"ZF\",\"Cayman Islands\",\"NA\",81.38,19.32,\"08\",\"11\",\"5.0\"\n";

const char* const kFieldsTopDown[] = {"Text1", "Text5", "Text6", "Text2", "Text3",
                                      "Text4", "Text7", "Text9", "Text8", "Text10"};

Preferences storedValues()
{
    Preferences p;
    p.ownCall = "K1ABC";
    p.ownSpc = "CT";
    p.utcOffsetHours = 5.5f;
    p.ownCountry = "USA";
    p.ownLongitude = 72.73f;
    p.ownLatitude = 41.71f;
    p.ownContinent = "NA";
    p.ownName = "ANN";
    p.ownAge = "12";
    p.ownColour = "BLUE";
    // Fields the window does not own, which must come back as they went in.
    p.mode = "PH";
    p.band = "40";
    p.rigModel = "Some Rig";
    p.operatingSeconds = 99.5f;
    p.windowSizePct = 90;
    return p;
}

class StationWindow : public ::testing::Test {
protected:
    void open(bool withTable = true)
    {
        if (withTable) {
            PrefixTableLoad load = PrefixTable::parse(kTable);
            ASSERT_TRUE(load.ok) << load.reason.toStdString();
            table = std::make_unique<PrefixTable>(std::move(load.table));
        }
        form = std::make_unique<StationDialog>(stored, beeper, table.get());
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        settle();
    }

    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(5);
        }
    }

    QLineEdit* field(const char* name) const { return form->findChild<QLineEdit*>(QLatin1String(name)); }
    QWidget* focus() const { return QApplication::focusWidget(); }

    void type(const QString& text) { keyboard.type(text); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { keyboard.key(k, mods); }
    Keyboard keyboard{[this] { return form.get(); }, &settle, Keyboard::Settle::AfterText};
    // Puts the caret in a field and empties it.
    void clearInto(const char* name)
    {
        field(name)->setFocus(Qt::MouseFocusReason);
        settle();
        ASSERT_EQ(focus(), field(name));
        field(name)->selectAll();
        key(Qt::Key_Backspace);
        ASSERT_TRUE(field(name)->text().isEmpty());
    }
    void clickDone()
    {
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        settle();
    }

    Preferences stored = storedValues();
    FakeBeeper beeper;
    std::unique_ptr<PrefixTable> table;
    std::unique_ptr<StationDialog> form;
};

}  // namespace

TEST_F(StationWindow, ShowsTheStoredValuesUnderTheirLabelsInTabOrder)
{
    open();
    EXPECT_EQ(form->objectName(), "frmStationID");
    EXPECT_EQ(form->windowTitle(), " Amateur Station I.D.");
    const char* const labels[] = {"Please Enter your Call Sign:", "State / Province / Country:", "Hours added for UTC:",
                                  "Your Country:", "Your Longitude:", "Your Latitude:", "Your Continent:",
                                  "Your Name:", "Your Age:", "Your Favorite Color:"};
    const char* const texts[] = {"K1ABC", "CT", "5.5", "USA", "72.73", "41.71", "NA", "ANN", "12", "BLUE"};
    const QList<QLabel*> allLabels = form->findChildren<QLabel*>();
    int lastTop = -1;
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(kFieldsTopDown[i]);
        QLineEdit* f = field(kFieldsTopDown[i]);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->text(), texts[i]);
        EXPECT_GT(f->y(), lastTop);
        lastTop = f->y();
        const auto label = std::find_if(allLabels.begin(), allLabels.end(), [f](QLabel* l) { return l->buddy() == f; });
        ASSERT_NE(label, allLabels.end());
        EXPECT_EQ((*label)->text(), labels[i]);
    }
    auto* done = form->findChild<QPushButton*>(QStringLiteral("Command1"));
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->text(), "Done");

    // Tab walks the fields top to bottom, then reaches Done.
    EXPECT_EQ(focus(), field("Text1"));
    for (int i = 1; i < 10; ++i) {
        key(Qt::Key_Tab);
        EXPECT_EQ(focus(), field(kFieldsTopDown[i])) << kFieldsTopDown[i];
    }
    key(Qt::Key_Tab);
    EXPECT_EQ(focus(), done);
    EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(StationWindow, TextFieldsCapitaliseAndRefuseTheDoubleQuote)
{
    open();
    for (const char* name : {"Text1", "Text5", "Text7", "Text9", "Text8", "Text10"}) {
        SCOPED_TRACE(name);
        clearInto(name);
        type(QStringLiteral("w1\"aw-z/"));
        EXPECT_EQ(field(name)->text(), "W1AW-Z/");
    }
    // The coordinates are free text.
    for (const char* name : {"Text3", "Text4"}) {
        clearInto(name);
        type(QStringLiteral("ab"));
        EXPECT_EQ(field(name)->text(), "ab") << name;
    }
}

TEST_F(StationWindow, PastedQuotesAndLineBreaksDoNotStay)
{
    open();
    clearInto("Text9");
    QApplication::clipboard()->setText(QStringLiteral("Jo\"e\r\nSmith"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field("Text9")->text(), "JOESMITH");  // upper case, as typed letters are
    EXPECT_EQ(field("Text9")->cursorPosition(), 8);
}

TEST_F(StationWindow, EnterIsDoneExceptInTheCountryAndCoordinateFields)
{
    const std::pair<const char*, bool> cases[] = {
        {"Text1", true}, {"Text5", true}, {"Text6", true},  {"Text2", false}, {"Text3", false},
        {"Text4", false}, {"Text7", true}, {"Text9", true}, {"Text8", true},  {"Text10", true},
    };
    for (const auto& [name, closes] : cases) {
        SCOPED_TRACE(name);
        open();
        field(name)->setFocus(Qt::MouseFocusReason);
        settle();
        const QString before = field(name)->text();
        key(Qt::Key_Return);
        EXPECT_EQ(form->donePressed(), closes);
        EXPECT_EQ(form->isVisible(), !closes);
        EXPECT_EQ(field(name)->text(), before);
        EXPECT_EQ(form->values(), stored);  // Done with the values unchanged keeps them
        form.reset();
    }

    // Enter on Done itself, reached with Tab.
    open();
    field("Text10")->setFocus(Qt::MouseFocusReason);
    key(Qt::Key_Tab);
    ASSERT_EQ(focus(), form->findChild<QPushButton*>(QStringLiteral("Command1")));
    key(Qt::Key_Return);
    EXPECT_TRUE(form->donePressed());
}

TEST_F(StationWindow, OffsetFieldRefusesEverythingButNumberKeys)
{
    open();
    clearInto("Text6");
    type(QStringLiteral("-a4Z.5 x\""));
    EXPECT_EQ(field("Text6")->text(), "-4.5");
    key(Qt::Key_Backspace);
    EXPECT_EQ(field("Text6")->text(), "-4.");
    // Seven characters at most, typed.
    type(QStringLiteral("12345"));
    EXPECT_EQ(field("Text6")->text(), "-4.1234");
    EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(StationWindow, OffsetFieldKeepsTheFocusUntilItHoldsANumber)
{
    open();
    clearInto("Text6");
    type(QStringLiteral("-"));
    key(Qt::Key_Tab);
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_EQ(focus(), field("Text6"));

    // A click elsewhere is refused the same way, once, and the focus stays put.
    field("Text9")->setFocus(Qt::MouseFocusReason);
    settle();
    QTest::qWait(50);
    EXPECT_EQ(beeper.beeps, 2);
    EXPECT_EQ(focus(), field("Text6"));

    for (const char* refused : {"/", ".", "-4-", "25"}) {
        field("Text6")->setText(QString::fromLatin1(refused));
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(focus(), field("Text6")) << refused;
    }
    EXPECT_EQ(beeper.beeps, 6);

    field("Text6")->setText(QStringLiteral("-4"));
    key(Qt::Key_Tab);
    EXPECT_EQ(focus(), field("Text2"));
    EXPECT_EQ(beeper.beeps, 6);
}

TEST_F(StationWindow, CloseBoxKeepsEveryStoredValueEvenWithABadOffset)
{
    open();
    for (const char* name : kFieldsTopDown) {
        clearInto(name);
        type(QStringLiteral("7"));
    }
    clearInto("Text6");
    type(QStringLiteral("-"));
    form->close();
    settle();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->donePressed());
    EXPECT_EQ(form->values(), stored);
    EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(StationWindow, EscapeIsDoneAndKeepsTheEditsWhileAnAltChordTypesNothing)
{
    open();
    clearInto("Text9");
    type(QStringLiteral("bob"));
    key(Qt::Key_D, Qt::AltModifier);
    key(Qt::Key_X, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(field("Text9")->text(), "BOB");
    key(Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->donePressed());
    EXPECT_EQ(form->values().ownName, "BOB");
}

TEST_F(StationWindow, EscapeOnTheDoneButtonIsDoneToo)
{
    // A button passes Esc on to the window, whose own handling would reject the edits.
    open();
    clearInto("Text9");
    type(QStringLiteral("bob"));
    form->findChild<QPushButton*>(QStringLiteral("Command1"))->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->donePressed());
    EXPECT_EQ(form->values().ownName, "BOB");
}

TEST_F(StationWindow, DoneCopiesTheFieldsAndPutsBadNumbersToZero)
{
    struct Case {
        const char* offset;
        const char* longitude;
        const char* latitude;
        float offsetHours, longitudeDegrees, latitudeDegrees;
        const char* shownOffset;
        const char* shownLongitude;
        const char* shownLatitude;
    };
    const Case cases[] = {
        {"-", "abc", "", 0.f, 0.f, 0.f, "0", "0", "0"},
        {"-4", "-0.5", "51.5", -4.f, -0.5f, 51.5f, "-4", "-0.5", "51.5"},
        {"5.5", " 3 ", ".25", 5.5f, 3.f, 0.25f, "5.5", " 3 ", ".25"},
        {"25", "1e3", "4,5", 0.f, 0.f, 0.f, "0", "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        open();
        field("Text1")->setText(QStringLiteral("G4XYZ"));
        field("Text5")->setText(QStringLiteral("England"));
        field("Text2")->setText(QStringLiteral("England"));
        field("Text7")->setText(QStringLiteral("EU"));
        field("Text9")->setText(QStringLiteral("SAM"));
        field("Text8")->setText(QStringLiteral("11"));
        field("Text10")->setText(QStringLiteral("RED"));
        field("Text6")->setText(QLatin1String(c.offset));
        field("Text3")->setText(QLatin1String(c.longitude));
        field("Text4")->setText(QLatin1String(c.latitude));
        // Clicked while the caret is in the offset field.
        field("Text6")->setFocus(Qt::MouseFocusReason);
        settle();
        clickDone();

        EXPECT_TRUE(form->donePressed());
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(field("Text6")->text(), c.shownOffset);
        EXPECT_EQ(field("Text3")->text(), c.shownLongitude);
        EXPECT_EQ(field("Text4")->text(), c.shownLatitude);
        Preferences expected = stored;
        expected.ownCall = "G4XYZ";
        expected.ownSpc = "England";
        expected.utcOffsetHours = c.offsetHours;
        expected.ownCountry = "England";
        expected.ownLongitude = c.longitudeDegrees;
        expected.ownLatitude = c.latitudeDegrees;
        expected.ownContinent = "EU";
        expected.ownName = "SAM";
        expected.ownAge = "11";
        expected.ownColour = "RED";
        EXPECT_EQ(form->values(), expected);
        // Done puts a bad offset right itself; the click does not also refuse leaving the field.
        EXPECT_EQ(beeper.beeps, 0);
        form.reset();
    }
}

TEST_F(StationWindow, CountryCompletesFromTheLatestTableEntryAndFillsItsCoordinates)
{
    open();
    clearInto("Text2");
    type(QStringLiteral("c"));  // capitalised at the start, then completed
    EXPECT_EQ(field("Text2")->text(), "Cayman Islands");
    EXPECT_EQ(field("Text2")->selectedText(), "ayman Islands");
    EXPECT_EQ(field("Text3")->text(), "81.38");
    EXPECT_EQ(field("Text4")->text(), "19.32");
    EXPECT_EQ(field("Text7")->text(), "NA");

    type(QStringLiteral("an"));
    EXPECT_EQ(field("Text2")->text(), "Canada");
    EXPECT_EQ(field("Text2")->selectedText(), "ada");
    EXPECT_EQ(field("Text3")->text(), "78.75");
    EXPECT_EQ(field("Text4")->text(), "44.35");

    clearInto("Text2");
    type(QStringLiteral("eng"));
    EXPECT_EQ(field("Text2")->text(), "England");
    EXPECT_EQ(field("Text3")->text(), "1.47");
    EXPECT_EQ(field("Text4")->text(), "52.77");
    EXPECT_EQ(field("Text7")->text(), "EU");

    // Case matters after the first letter: "SC" is no start of "Scotland".
    clearInto("Text2");
    type(QStringLiteral("sC"));
    EXPECT_EQ(field("Text2")->text(), "SC");
    EXPECT_EQ(field("Text4")->text(), "56.82");  // left from the "S" completion

    // Done keeps what completion filled in.
    clearInto("Text2");
    type(QStringLiteral("Ch"));
    clickDone();
    EXPECT_EQ(form->values().ownCountry, "Chile");
    EXPECT_EQ(form->values().ownLongitude, 71.f);
    EXPECT_EQ(form->values().ownLatitude, -30.f);
    EXPECT_EQ(form->values().ownContinent, "SA");
}

TEST_F(StationWindow, CountryWithoutATableCapitalisesOnlyItsFirstLetter)
{
    open(false);
    clearInto("Text2");
    type(QStringLiteral("new \"zealand\""));
    EXPECT_EQ(field("Text2")->text(), "New zealand");
    EXPECT_EQ(field("Text3")->text(), "72.73");
}
