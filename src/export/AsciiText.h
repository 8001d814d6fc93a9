#pragma once

#include <QByteArray>
#include <QStringView>

namespace cubwave {

// Export files are plain ASCII: ADIF counts a value's length in bytes, and a reader that counts
// characters instead would lose its place after the first accented letter. Letters lose their
// accents (Unicode compatibility decomposition, marks dropped); letters that do not decompose but
// have a plain spelling take it (ß gives ss, Ł gives L, Œ gives OE, Þ gives TH), and so do
// typographic quotes and dashes; any other character outside printable ASCII, control
// characters included, becomes "?".
QByteArray toAscii(QStringView text);
// The same, appended to out; with maxBytes >= 0 at most that many bytes.
void appendAscii(QByteArray& out, QStringView text, qsizetype maxBytes = -1);
// True when every character is printable ASCII, so the text is its own ASCII form.
bool isPrintableAscii(QStringView text);

}  // namespace cubwave
