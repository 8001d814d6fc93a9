#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

namespace cubwave {

// The start-up comparison of the stored UTC offset with the one the computer's own clocks imply,
// and the question put to the operator when they differ. Plain logic: the caller reads the
// clocks, shows the input box and saves the preferences.
//
//   UtcOffsetCheck check(clock.utcNow(), clock.localNow(), prefs.utcOffsetHours);
//   if (check.shouldAsk())
//       if (auto offset = check.answeredOffset(dialogs.input(UtcOffsetCheck::title(),
//                                                            check.prompt(), check.defaultAnswer())))
//           { prefs.utcOffsetHours = *offset; SavePref(); }
class UtcOffsetCheck {
public:
    // An offset further than a day from zero is no clock offset but a typing slip, and would push
    // every logged time days away.
    static constexpr double kMaxOffsetHours = 24;

    // Both clocks are read as wall-clock date-times; their time specs are ignored.
    UtcOffsetCheck(const QDateTime& systemUtc, const QDateTime& systemLocal, float storedOffsetHours);

    // UTC - local in whole minutes (to the nearest one, so clocks read a moment apart agree),
    // divided by 60 and rounded to 2 decimals.
    float recommendedHours() const { return recommended_; }
    float storedHours() const { return stored_; }
    bool shouldAsk() const { return stored_ != recommended_; }

    static QString title();
    QString prompt() const;
    // The recommended offset, as the input box offers it.
    QString defaultAnswer() const;

    // The offset to store and save for the input box's answer; nothing (keep the stored one)
    // when the box was cancelled or the answer is empty or not a usable offset.
    std::optional<float> answeredOffset(const std::optional<QString>& answer) const;

    // A number, as NumericText reads it, within kMaxOffsetHours of zero.
    static std::optional<float> parseOffset(QStringView text);

private:
    QDateTime utc_;
    QDateTime local_;
    float stored_;
    float recommended_;
};

}  // namespace cubwave
