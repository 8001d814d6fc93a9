#pragma once

#include <QString>

#include <functional>

namespace cubwave {

// Random groups for on-air code practice.
class CodePractice {
public:
    // Letters first, so "Letters Only" draws from the first 26; "-" is sent as the double dash.
    static inline const QString kCharacterSet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-");
    static constexpr int kLetterCount = 26;
    // "1000000" groups would exhaust memory; this is hours of practice at any speed.
    static constexpr int kMaxCharacters = 10'000;
    static inline const QString kDefaultGroups = QStringLiteral("10");
    static inline const QString kDefaultGroupLength = QStringLiteral("5");

    struct Result {
        QString text;            // groups each followed by one blank
        QString groupsText;      // the count fields, "10" and "5" where they were not numbers
        QString groupLengthText;
        bool capped = false;     // stopped at kMaxCharacters
    };

    // The characters groupCount groups of groupLength take, blanks included, up to
    // kMaxCharacters; any counts, however large, without overflow.
    static qint64 plannedLength(qint64 groupCount, qint64 groupLength);

    // uniform gives reals in [0, 1); each character is number int(N x r) + 1 of the set.
    static Result generate(const QString& groupsText, const QString& groupLengthText,
                           bool lettersOnly, const std::function<double()>& uniform);
};

}  // namespace cubwave
