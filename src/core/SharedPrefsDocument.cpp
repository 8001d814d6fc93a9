#include "core/SharedPrefsDocument.h"

#include "core/FileRead.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace cubwave {

namespace {

const QString kDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");

QString unescaped(QString text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));  // last, so "&amp;lt;" stays "&lt;"
}

}  // namespace

const QString SharedPrefsDocument::kFileName = QStringLiteral("SharedUserPreferences.xml");

void SharedPrefsDocument::load(const QString& path)
{
    path_ = path;
    text_ = kDeclaration;
    saveRefusal_.clear();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;  // a new document

    const auto refuse = [&](const QString& why) {
        saveRefusal_ = QStringLiteral("%1 was not saved, so that nothing in it is lost: %2.")
                           .arg(QDir::toNativeSeparators(path), why);
    };
    const FileBytes in = readFileBytes(path, kMaxBytes);
    if (!in.ok) {
        refuse(QStringLiteral("it could not be read (%1)").arg(in.error));
        return;
    }
    if (in.bytes.size() > kMaxBytes) {
        refuse(QStringLiteral("it is larger than %1 bytes").arg(kMaxBytes));
        return;
    }
    // A byte-order mark is kept as a character, so the save writes it back.
    QStringDecoder decode(QStringDecoder::Utf8,
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    text_ = decode(in.bytes);
    if (decode.hasError())
        refuse(QStringLiteral("it is not UTF-8 text"));
    // The line break the writer adds; a file written without one keeps its last characters.
    if (text_.endsWith(QLatin1String("\r\n")))
        text_.chop(2);
    else if (text_.endsWith(QLatin1Char('\n')) || text_.endsWith(QLatin1Char('\r')))
        text_.chop(1);
}

WriteResult SharedPrefsDocument::save(const QString& path)
{
    if (!saveRefusal_.isEmpty() && path == path_)
        return {false, saveRefusal_};
    path_ = path;
    return replaceFileAtomically(path, (text_ + QStringLiteral("\r\n")).toUtf8());
}

WriteResult SharedPrefsDocument::setValue(const QString& name, const QString& value, bool saveNow)
{
    const QString upper = name.toUpper();
    const QString open = QLatin1Char('<') + upper + QLatin1Char('>');
    const QString close = QStringLiteral("</") + upper + QLatin1Char('>');
    // An "&" or "<" in a value would end the element early or make the document no XML.
    const QString escaped = value.toHtmlEscaped();
    const qsizetype at = text_.indexOf(open);
    const qsizetype closeAt = at >= 0 ? text_.indexOf(close, at + open.size()) : -1;
    if (at >= 0 && closeAt >= 0) {
        const qsizetype from = at + open.size();
        text_.replace(from, closeAt - from, escaped);
    } else {
        text_ += QStringLiteral("\r\n") + open + escaped + close;
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
    return closeAt < 0 ? QString() : unescaped(text_.mid(from, closeAt - from));
}

}  // namespace cubwave
