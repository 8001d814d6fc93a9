#include "core/SharedPrefsDocument.h"

#include <QFile>

namespace cubwave {

namespace {
const QString kDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
constexpr qint64 kMaxBytes = 1024 * 1024;
}  // namespace

const QString SharedPrefsDocument::kFileName = QStringLiteral("SharedUserPreferences.xml");

void SharedPrefsDocument::load(const QString& path)
{
    path_ = path;
    QFile file(path);
    if (file.exists() && file.open(QIODevice::ReadOnly)) {
        text_ = QString::fromUtf8(file.read(kMaxBytes));
        text_.chop(2);  // the line break the writer added
    } else {
        text_ = kDeclaration;
    }
}

WriteResult SharedPrefsDocument::save(const QString& path)
{
    path_ = path;
    return replaceFileAtomically(path, (text_ + QStringLiteral("\r\n")).toUtf8());
}

WriteResult SharedPrefsDocument::setValue(const QString& name, const QString& value, bool saveNow)
{
    const QString upper = name.toUpper();
    const QString open = QLatin1Char('<') + upper + QLatin1Char('>');
    const QString close = QStringLiteral("</") + upper + QLatin1Char('>');
    const qsizetype at = text_.indexOf(open);
    const qsizetype closeAt = at >= 0 ? text_.indexOf(close, at + open.size()) : -1;
    if (at >= 0 && closeAt >= 0) {
        const qsizetype from = at + open.size();
        text_.replace(from, closeAt - from, value);
    } else {
        text_ += QStringLiteral("\r\n") + open + value + close;
    }
    if (saveNow)
        return save(path_);
    return {};
}

QString SharedPrefsDocument::value(const QString& name) const
{
    const QString upper = name.toUpper();
    const QString open = QLatin1Char('<') + upper + QLatin1Char('>');
    const qsizetype at = text_.indexOf(open);
    if (at < 0)
        return {};
    const qsizetype from = at + open.size();
    const qsizetype closeAt = text_.indexOf(QStringLiteral("</") + upper + QLatin1Char('>'), from);
    return closeAt < 0 ? QString() : text_.mid(from, closeAt - from);
}

}  // namespace cubwave
