#pragma once

#include <QString>
#include <QStringView>

#include <limits>

namespace cubwave {

// What an entry field keeps of text that arrives other than key by key (a paste, a drop, a
// composed character): the same the field's keystroke rules would let through.
struct FieldRule {
    // Upper-case every letter, not only a leading run.
    static constexpr int kWholeField = std::numeric_limits<int>::max();

    int maxLength = 32767;
    // When not empty, the only characters the field takes ("0123456789" for an age).
    QString only;
    // Fields where Space or a digit moves on to the next field never hold one.
    bool dropSpaces = false;
    bool dropDigits = false;
    // Letters "a" to "z" that land at a position below this are upper-cased.
    int upperCaseBelow = 0;
};

class FieldText {
public:
    // A contact's line in log.txt, CR LF included, stays within this: 11,000 contacts then stay
    // within the log reader's file limit (1 KiB a contact). The entry fields' lengths keep a
    // typed contact well inside it, whatever characters it holds (three UTF-8 bytes at most
    // for each UTF-16 unit).
    static constexpr qsizetype kMaxRecordLineBytes = 1024;

    // Every field's value goes on one line of a file between double quotes: a double quote would
    // end the value early and a control character (TAB, a line break) split or spoil the line.
    static bool breaksLine(QChar c);

    // The characters of a whole text that may stay in any field, position for position; no case
    // change and no length limit. A lone half of a surrogate pair goes too.
    static QString withoutLineBreakers(QStringView text);

    // incoming as the field keeps it when it lands at position `at`; not cut to a length.
    static QString accept(const FieldRule& rule, QStringView incoming, qsizetype at);

    struct Edit {
        QString text;
        qsizetype caret = 0;
        QString inserted;  // what went in, after the rule and the length limit
    };
    // Replaces the selection [selectionStart, selectionStart + selectionLength) of current by
    // incoming under the rule, within the field's maximum length (never splitting a surrogate pair).
    static Edit insert(const FieldRule& rule, QStringView current, qsizetype selectionStart,
                       qsizetype selectionLength, QStringView incoming);
};

}  // namespace cubwave
