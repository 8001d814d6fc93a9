#pragma once

#include <QString>

namespace cubwave {

// Element text of "SharedUserPreferences.xml". A raw "&" makes the document malformed for the
// programs that read it, and a raw "</OWN_EMAIL>" inside a value would end the element early at
// the next update, so values are escaped when set and unescaped when read.
QString escapeXmlText(const QString& value);
// Reverses escapeXmlText, and reads the other predefined entities (&quot; &apos;) and numeric
// character references another program may have written. An unknown reference stays as it is.
QString unescapeXmlText(const QString& text);

}  // namespace cubwave
