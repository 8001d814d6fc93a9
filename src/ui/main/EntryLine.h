#pragma once

#include "core/ContestSession.h"

#include <QObject>

#include <functional>
#include <optional>

class QLineEdit;

namespace cubwave {

class Beeper;
class Clock;
class CwKeyerPort;
class MainScreen;
class OperatingClock;
class PrefixTable;
class VoiceKeyerPort;

// The main window's entry line: what each field does with a key, where the focus goes, what a
// typed call or location is looked up as, and the checks a contact passes before it is stored.
// It works on the screen's fields and the labels beside them; the commit itself is the window's.
class EntryLine : public QObject {
    Q_OBJECT

public:
    enum class Field { Call, Name, Age, Spc, Other, PostTime, PostDate };

    struct Context {
        MainScreen& screen;
        ContestSession& session;
        const PrefixTable& prefixes;
        const OperatingClock& operatingClock;
        Beeper& beeper;
        Clock& clock;
        VoiceKeyerPort& voice;
        CwKeyerPort& cw;
        std::function<void()> commit;  // Enter in any field
    };

    explicit EntryLine(Context context, QObject* parent = nullptr);

    // The field's keystroke rules, then the key at the caret; false when the widget is no field.
    bool keyPress(QWidget* widget, int& key);

    ContactEntry values() const;
    // Post-contest mode: the typed date and time read as a date and a time, and are shown in
    // the form they are stored in. False, with the reason on the status line, when not.
    bool postContestTimeValid();
    // The call and location checks, then the duplicate check; true when the contact may be
    // stored.
    bool checkComplete();
    // The duplicate check: previous contacts listed, fields filled, a duplicate reported.
    void checkDuplicates();
    // After a stored contact: empty fields, the call field focused.
    void clearAfterStore();
    // The Clear button: empty fields and displays, the call field focused.
    void clear();
    void clearDupeDisplay();
    void focusCall();
    // A Tab to the focused widget, as if pressed: the focus moves on and the field it leaves
    // does what it does when the operator tabs away.
    static void sendTab();
    void setLocation(const QString& text);
    void showPostContestFields(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Voice navigation's cue for a field taking the focus, at the level that asks for it.
    void playFocusCue(Field field);

private:
    QLineEdit* edit(Field field) const;
    std::optional<Field> fieldOf(QWidget* widget) const;
    bool enterCommits(int& key);
    // Space moves the focus on to the next field and goes no further.
    bool spaceMovesTo(Field next, int& key);
    void callKey(int& key);
    void nameKey(int& key);
    void ageKey(int& key);
    void locationKey(int& key);
    void otherKey(int& key);
    void postContestKey(Field field, int& key);
    void handOver(Field to, int key);
    static void insertKey(QLineEdit* field, int key);
    void gotFocus(Field field);
    void callLostFocus();
    void callChanged();
    bool callGiven();
    bool locationValid();
    void partialDupSearch(int key);
    void lookupCall(const QString& call);
    void showBearing(float latitude, float longitude);
    void clearLocationLabels();
    void setStatus(const QString& text);
    void beep();

    Context c_;
    bool focusSeen_ = false;  // a field has had the focus since the start
};

}  // namespace cubwave
