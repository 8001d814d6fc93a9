#pragma once

#include <QString>
#include <QStringView>

namespace cubwave {

// The spot window's received-text box as text: appends, the tidy rule that keeps the box short,
// and the duplicate test over its newest characters. The window shows text() once per chunk or
// tick, never once per line, and puts the caret where caretPosition() says.
class ReceivedText {
public:
    // The tidy rule: a box over kTidyAbove characters keeps its last kTidyKeep.
    static constexpr qsizetype kTidyAbove = 10000;
    static constexpr qsizetype kTidyKeep = 9000;
    // A line repeated within this many of the newest characters is a duplicate.
    static constexpr qsizetype kDuplicateWindow = 800;
    // Between tidies the box never holds more than this; older text gives way to kDroppedMark.
    static constexpr qsizetype kHardLimit = 64 * 1024;
    static constexpr const char* kDroppedMark = "[... earlier text dropped ...]\r\n";

    const QString& text() const { return text_; }
    // Replaces the whole box.
    void replace(QStringView text);
    void append(QStringView text);
    // The tidy rule; the caret then stands one character before the end.
    void tidy();
    void appendAndTidy(QStringView text) { append(text); tidy(); }
    void clear();

    // The caret after the last tidy: one character before the end once the box holds at least
    // three characters, else -1 (left where it was).
    qsizetype caretPosition() const { return caret_; }
    // True when the text changed since the last takeChanged(): the widget repaints only then.
    bool takeChanged();

    // True when candidate occurs, ignoring case, among the newest characters of the box (or
    // anywhere in a short box). An empty candidate counts as a duplicate: there is nothing to show.
    bool isDuplicate(QStringView candidate) const;

private:
    QString text_;
    qsizetype caret_ = -1;
    bool changed_ = false;
};

}  // namespace cubwave
