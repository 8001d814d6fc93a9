// A randomised operator on the real main window: keys, pastes of any text, Enter and Esc, band
// and mode changes, edits and deletes through the list, new logs, and type-ahead while a commit
// syncs. After every step log.txt must read back, equal the store, and hold every contact the
// window wrote, edited as the edit window left it.
//
// The suite runs a short fixed-seed walk. A longer one:
//   CUBWAVE_MONKEY_STEPS=20000 [CUBWAVE_MONKEY_SEED=n] build/tests/cubwave_ui_tests --gtest_filter='RandomOperator*'
#include "core/FieldText.h"
#include "core/LogFile.h"
#include "support/ContactLines.h"
#include "support/MainWindowFixture.h"
#include "ui/main/EditContactDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QTest>

#include <deque>
#include <iostream>
#include <sstream>
#include <string>

using namespace cubwave;
using namespace cubwave::test;

namespace {

int fromEnvironment(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

class RandomOperator : public MainWindowFixture {
protected:
    QRandomGenerator rng;
    std::vector<QsoRecord> expected;  // the log as the window's own writes and edits made it
    std::deque<std::string> recent;   // the last steps, for a failure report
    int typeAheadBudget = 0;
    int written = 0, edited = 0, deleted = 0, erased = 0, typedAhead = 0;
    QStringList writtenCalls;     // every call the window has written
    QStringList typedAheadCalls;  // contacts typed while a commit synced, not yet seen written

    int below(int n) { return static_cast<int>(rng.bounded(static_cast<quint32>(n))); }
    bool chance(int percent) { return below(100) < percent; }

    void note(const std::string& step)
    {
        recent.push_back(step);
        if (recent.size() > 25)
            recent.pop_front();
    }
    std::string history() const
    {
        std::ostringstream out;
        for (const std::string& s : recent)
            out << "\n  " << s;
        return out.str();
    }

    // Any text an operator could paste: letters, quotes, commas, control characters, line
    // breaks, non-Latin letters, halves of surrogate pairs; now and then 40,000 characters.
    QString anyText()
    {
        static const char16_t kAlphabet[] = u"aZ09 \",;'\t\r\n\x01\x1b\x7f\u00e9\u20ac\u2028\xd83d\xde00-/:.";
        const int length = chance(5) ? 40000 : below(40);
        QString text;
        text.reserve(length);
        for (int i = 0; i < length; ++i)
            text += QChar(kAlphabet[below(static_cast<int>(std::size(kAlphabet)) - 1)]);
        return text;
    }

    QString anyContact()
    {
        static const char* const kCalls[] = {"w1aw", "k2abc", "ve3xyz", "ja1abc", "n0cub", "g4xyz", "w1"};
        static const char* const kNames[] = {"tom", "ann", "bob", "sue", "kim"};
        static const char* const kPlaces[] = {"ct", "ny", "on", "japan", "xx", "ma", "england", "hi"};
        static const char* const kColours[] = {"blue", "red", "", "green \"dark\""};
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(QLatin1String(kCalls[below(std::size(kCalls))]), QLatin1String(kNames[below(std::size(kNames))]))
            .arg(below(20))
            .arg(QLatin1String(kPlaces[below(std::size(kPlaces))]), QLatin1String(kColours[below(std::size(kColours))]));
    }

    // A contact the window always takes: its own call, a known location.
    QString validContact()
    {
        static const char* const kPlaces[] = {"ct", "ny", "on", "japan", "england"};
        return QStringLiteral("w%1ta ann %2 %3 red")
            .arg(++typedAhead)
            .arg(below(20))
            .arg(QLatin1String(kPlaces[below(std::size(kPlaces))]));
    }

    void typeAnyKey()
    {
        static const char kKeys[] = "abcxyz0129 \",;.-/'";
        QWidget* target = focus() ? focus() : form.get();
        switch (below(10)) {
        case 0: QTest::keyClick(target, Qt::Key_Backspace); break;
        case 1: QTest::keyClick(target, below(2) ? Qt::Key_Left : Qt::Key_Home); break;
        case 2: QTest::keyClick(target, Qt::Key_End, Qt::ShiftModifier); break;
        default: {
            const char c = kKeys[below(sizeof(kKeys) - 1)];
            if (c == ' ')
                QTest::keyClick(target, Qt::Key_Space);
            else
                QTest::keyClick(target, c);
        }
        }
    }

    QLineEdit* anyVisibleField()
    {
        std::vector<QLineEdit*> shown;
        for (const char* name :
             {"txtCall", "txtName", "txtRSTR", "txtCntry", "txtSec", "txtPostConTime", "txtPostConDate"}) {
            if (field(name)->isVisible())
                shown.push_back(field(name));
        }
        return shown[static_cast<size_t>(below(static_cast<int>(shown.size())))];
    }

    void deliverOtherwise(QLineEdit* target, const QString& text)
    {
        switch (below(3)) {
        case 0:
            target->insert(text);
            break;
        case 1: {
            QMimeData data;
            data.setText(text);
            QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &enter);
            QDropEvent drop(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &drop);
            break;
        }
        default: {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(target, &commit);
        }
        }
    }

    QTableView* list() const { return form->findChild<QTableView*>("ListView1"); }

    bool clickAnyRow()
    {
        const int rows = list()->model()->rowCount();
        if (rows == 0)
            return false;
        const QModelIndex at = list()->model()->index(below(rows), 1);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualRect(at).center());
        return form->selectedRecord() != 0;
    }

    void editThroughTheList()
    {
        if (!clickAnyRow() || !form->findChild<QPushButton*>("cmdEdit")->isVisible())
            return;
        const int recNo = form->selectedRecord();
        runModal = [this, recNo](QDialog& dialog) {
            auto& window = static_cast<EditContactDialog&>(dialog);
            const QList<QLineEdit*> fields = window.findChildren<QLineEdit*>();
            for (int i = below(4); i >= 0; --i) {
                QLineEdit* f = fields[below(static_cast<int>(fields.size()))];
                if (chance(50))
                    f->clear();
                deliverOtherwise(f, chance(50) ? anyText() : QStringLiteral("40"));
            }
            window.cmdDone_Click();
            if (!window.stored())
                window.reject();
            else
                expected[static_cast<size_t>(recNo - 1)] = window.record(), ++edited;
            return window.result();
        };
        note("edit record " + std::to_string(recNo));
        QTest::mouseClick(form->findChild<QPushButton*>("cmdEdit"), Qt::LeftButton);
    }

    void deleteThroughTheList()
    {
        if (!clickAnyRow() || !form->findChild<QPushButton*>("cmdDelete")->isVisible())
            return;
        const int recNo = form->selectedRecord();
        const bool yes = chance(60);
        dialogs.messageAnswers.push_back(yes ? MsgAnswer::Yes : MsgAnswer::No);
        note("delete record " + std::to_string(recNo) + (yes ? " yes" : " no"));
        QTest::mouseClick(form->findChild<QPushButton*>("cmdDelete"), Qt::LeftButton);
        dialogs.messageAnswers.clear();
        if (yes)
            expected.erase(expected.begin() + (recNo - 1)), ++deleted;
    }

    void step()
    {
        const int roll = below(100);
        if (roll < 35) {
            note("key");
            typeAnyKey();
        } else if (roll < 45) {
            const QString contact = anyContact();
            note("type '" + contact.toStdString() + "' Enter");
            type(contact);
            key(Qt::Key_Return);
        } else if (roll < 53) {
            note("Enter");
            key(Qt::Key_Return);
        } else if (roll < 56) {
            note("Esc");
            key(Qt::Key_Escape);
        } else if (roll < 64) {
            const QString text = anyText();
            note("Shift+Insert of " + std::to_string(text.size()) + " characters");
            QApplication::clipboard()->setText(text);
            key(Qt::Key_Insert, Qt::ShiftModifier);
        } else if (roll < 70) {
            QLineEdit* target = anyVisibleField();
            note("insert, drop or compose into " + target->objectName().toStdString());
            deliverOtherwise(target, anyText());
        } else if (roll < 76) {
            QLineEdit* target = anyVisibleField();
            note("focus " + target->objectName().toStdString());
            target->setFocus(Qt::OtherFocusReason);
        } else if (roll < 80) {
            static const char* const kBands[] = {"160", "80", "40", "20", "15", "10", "6", "2"};
            const char* band = kBands[below(std::size(kBands))];
            note(std::string("band ") + band);
            form->bandCommand(QString::fromLatin1(band));
        } else if (roll < 83) {
            const bool cw = chance(50);
            note(cw ? "mode CW" : "mode PH");
            form->modeCommand(cw ? QStringLiteral("CW") : QStringLiteral("PH"));
        } else if (roll < 88) {
            editThroughTheList();
        } else if (roll < 92) {
            deleteThroughTheList();
        } else if (roll < 93) {
            const bool yes = chance(50);
            note(yes ? "new log YES" : "new log no");
            dialogs.inputAnswers.push_back(yes ? QStringLiteral("YES") : QStringLiteral("no"));
            action("mnuNew")->trigger();
            if (yes)
                expected.clear(), ++erased;
        } else if (roll < 94) {
            note("post-contest mode");
            action("mnuPostContest")->trigger();
        } else {
            // The next sync is slow: the operator types the next contact meanwhile.
            note("slow sync with type-ahead");
            typeAheadBudget = 1 + below(3);
        }
    }

    void checkTheLog(int stepNo)
    {
        const LogReadResult read = LogFile(dir.filePath("log.txt")).read();
        ASSERT_TRUE(read.ok) << "step " << stepNo << ": log.txt does not read back: " << read.reason.toStdString()
                             << history();
        ASSERT_EQ(read.records, form->store().records()) << "step " << stepNo << ": log.txt and the store differ"
                                                         << history();
        ASSERT_EQ(read.records, expected) << "step " << stepNo
                                          << ": a contact the window wrote is missing, doubled or changed" << history();
        ASSERT_TRUE(endedWith.empty()) << "step " << stepNo << ": the program ended" << history();
        // Type-ahead during a slow sync is never lost: each such contact has been written by
        // the end of the step, unless post-contest mode wanted a date and time for it.
        if (!action("mnuPostContest")->isChecked()) {
            for (const QString& call : typedAheadCalls)
                ASSERT_TRUE(writtenCalls.contains(call))
                    << "step " << stepNo << ": " << call.toStdString() << " typed during a slow sync was lost" << history();
        }
        typedAheadCalls.clear();
        for (const char* name : {"txtCall", "txtName", "txtRSTR", "txtCntry", "txtSec"}) {
            const QString text = field(name)->text();
            ASSERT_TRUE(std::none_of(text.begin(), text.end(), FieldText::breaksLine))
                << "step " << stepNo << ": " << name << " holds a line breaker" << history();
        }
    }
};

}  // namespace

TEST_F(RandomOperator, NeverLosesDoublesOrCorruptsAContact)
{
    const int steps = fromEnvironment("CUBWAVE_MONKEY_STEPS", 400);
    const auto seed = static_cast<quint32>(fromEnvironment("CUBWAVE_MONKEY_SEED", 20260613));
    rng.seed(seed);
    std::cout << "[   SEED   ] " << seed << ", " << steps << " steps\n";

    writeLog(contactLines(4));
    appendToLog = [this](const QString& path, const QsoRecord& record) {
        const WriteResult written = LogFile(path).append(record);
        if (written.ok) {
            expected.push_back(record);  // the window has written it: it must stay
            ++this->written;
            writtenCalls << record.call();
        }
        if (typeAheadBudget > 0) {
            --typeAheadBudget;
            clock.advanceMs(60);
            const QString contact = validContact();
            typedAheadCalls << contact.section(QLatin1Char(' '), 0, 0).toUpper();
            type(contact);
            key(Qt::Key_Return);
        }
        return written;
    };
    start();
    expected = form->store().records();
    for (int i = 1; i <= steps; ++i) {
        step();
        checkTheLog(i);
        if (HasFatalFailure())
            return;
    }
    std::cout << "[  WALKED  ] " << written << " contacts written (" << typedAhead << " during a slow sync), "
              << edited << " edited, " << deleted << " deleted, " << erased << " new logs\n";
    // A walk that stores nothing proves nothing.
    EXPECT_GT(written, 0);
}
