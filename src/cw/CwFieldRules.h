#pragma once

#include "cw/CwSettings.h"

#include <QChar>
#include <QString>

namespace cubwave {

// The keystroke and leave rules of the CW setup fields, as plain decisions the window applies.
class CwFieldRules {
public:
    // Port and speed: backspace and the codes 48..58 ("0".."9" and ":").
    static bool portOrSpeedKeyAccepted(QChar key);
    // Word space: backspace and the codes 45..58 ("-", ".", "/", the digits and ":").
    static bool wordSpaceKeyAccepted(QChar key);
    // Repeat interval: backspace, "." and the digits.
    static bool repeatKeyAccepted(QChar key);
    // Messages: "a".."z" become capitals; the double quote is refused (nothing returned), as
    // the file could not hold it.
    static QChar messageKey(QChar key);
    // Pasted message text loses its double quotes and line breaks.
    static QString pastedMessage(const QString& text);

    // Leaving the port or speed field: text that is not a number becomes "0".
    static QString leftNumberField(const QString& text);
    // The word space never shows a number below -8; on leaving, text that is not a number is "0".
    static QString changedWordSpace(const QString& text);
    static QString leftWordSpace(const QString& text);
    // "Less" and "More": one step down or up; text that is not a number counts as 0.
    static QString steppedWordSpace(const QString& text, int step);
    // Speed up and down: one step, no bounds; text that is not a number counts as 0.
    static QString steppedSpeed(const QString& text, int step);

    // Leaving "Loop (Sec)": a number from 0 up to but not including 60 is kept and gives the
    // interval in whole milliseconds; anything else shows "0" and gives 0, with a beep when
    // the text was not a number at all.
    struct RepeatField {
        QString text;
        int intervalMs = 0;
        bool beep = false;
    };
    static RepeatField leftRepeat(const QString& text);

    // "&Test" refuses a serial keying line without a port number above 0.
    static inline const QString kTestNeedsPortTitle = QStringLiteral("A com port is required.");
    static inline const QString kTestNeedsPortText = QStringLiteral("Please enter a com port for CW rig interface.");
    static bool testNeedsPort(const CwSettings& settings);

    // A number as the fields show it: shortest form, no exponent.
    static QString numberText(double value);
};

}  // namespace cubwave
