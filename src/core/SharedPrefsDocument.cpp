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

struct Element {
    qsizetype valueStart = -1;  // -1: none
    qsizetype valueEnd = -1;
};

// The first <NAME>...</NAME> whose closing tag comes before the next <NAME>. Taking the first
// opening tag alone would pair one left open with the closing tag of a later element, and a
// replaced value would then swallow everything between them. That element opens with the last
// <NAME> before the first </NAME> that follows an opening tag: each is found once, so a document
// of many stray tags costs one pass, not one pass per tag.
Element findElement(const QString& text, const QString& open, const QString& close)
{
    const qsizetype first = text.indexOf(open);
    if (first < 0)
        return {};
    const qsizetype closeAt = text.indexOf(close, first + open.size());
    if (closeAt < 0)
        return {};
    const qsizetype at = text.lastIndexOf(open, closeAt - open.size());
    return {at + open.size(), closeAt};
}

QString refusal(const QString& path, const QString& why)
{
    return QStringLiteral("%1 was not saved, so that nothing in it is lost: %2.").arg(QDir::toNativeSeparators(path), why);
}

QString openTag(const QString& upperName) { return QLatin1Char('<') + upperName + QLatin1Char('>'); }

QString closeTag(const QString& upperName) { return QStringLiteral("</") + upperName + QLatin1Char('>'); }

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

    const FileBytes in = readFileBytes(path, kMaxBytes);
    if (!in.ok) {
        saveRefusal_ = refusal(path, QStringLiteral("it could not be read (%1)").arg(in.error));
        return;
    }
    loadBytes(path, in.bytes);
}

void SharedPrefsDocument::loadBytes(const QString& path, const QByteArray& bytes)
{
    path_ = path;
    text_ = kDeclaration;
    saveRefusal_.clear();
    const auto refuse = [&](const QString& why) { saveRefusal_ = refusal(path, why); };
    if (bytes.size() > kMaxBytes) {
        refuse(QStringLiteral("it is larger than %1 bytes").arg(kMaxBytes));
        return;
    }
    // A byte-order mark is kept as a character, so the save writes it back.
    QStringDecoder decode(QStringDecoder::Utf8,
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    text_ = decode(bytes);
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
    return replaceFileAtomically(path, fileBytes());
}

QByteArray SharedPrefsDocument::fileBytes() const { return (text_ + QStringLiteral("\r\n")).toUtf8(); }

WriteResult SharedPrefsDocument::setValue(const QString& name, const QString& value, bool saveNow)
{
    const QString upper = name.toUpper();
    // An "&" or "<" in a value would end the element early or make the document no XML.
    const QString escaped = value.toHtmlEscaped();
    const Element element = findElement(text_, openTag(upper), closeTag(upper));
    if (element.valueStart >= 0)
        text_.replace(element.valueStart, element.valueEnd - element.valueStart, escaped);
    else
        text_ += QStringLiteral("\r\n") + openTag(upper) + escaped + closeTag(upper);
    if (saveNow)
        return save(path_);
    return {};
}

QString SharedPrefsDocument::value(const QString& name) const
{
    const QString upper = name.toUpper();
    const Element element = findElement(text_, openTag(upper), closeTag(upper));
    if (element.valueStart < 0)
        return {};
    return unescaped(text_.mid(element.valueStart, element.valueEnd - element.valueStart));
}

}  // namespace cubwave
