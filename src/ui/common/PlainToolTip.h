#pragma once

#include <QString>
#include <QTextDocument>

namespace cubwave {

// A tooltip shows text that looks like markup as markup. Text from outside (a spotted call, a
// cluster's comment) is shown as it was sent: escaped, with its runs of blanks kept. Text that
// cannot be taken for markup is left as it is.
inline QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace cubwave
