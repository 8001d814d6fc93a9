#pragma once

#include <QString>

class QLabel;

namespace cubwave {

// Makes a one-line label show a text too long for it cut with an ellipsis, so the cut is seen,
// and offer the whole text as its tooltip. The label's text stays whole: whoever sets it needs
// to know nothing of this.
void elideWithWholeTextTip(QLabel* label);

// What an eliding label paints now for its text.
QString shownText(const QLabel* label);

}  // namespace cubwave
