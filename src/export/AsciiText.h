#pragma once

#include <QByteArray>
#include <QStringView>

namespace cubwave {

// Export files are plain ASCII: ADIF counts a value's length in bytes, and a reader that counts
// characters instead would lose its place after the first accented letter. Letters lose their
// accents (Unicode decomposition, marks dropped); any other character outside printable ASCII,
// control characters included, becomes "?".
QByteArray toAscii(QStringView text);
// The same, appended to out.
void appendAscii(QByteArray& out, QStringView text);

}  // namespace cubwave
