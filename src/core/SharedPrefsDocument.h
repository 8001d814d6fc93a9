#pragma once

#include "core/FileWrite.h"

#include <QString>

namespace cubwave {

// "SharedUserPreferences.xml": a small document of <NAME>value</NAME> elements shared with other
// programs. It is kept as text so elements this program never reads survive a save byte for byte.
class SharedPrefsDocument {
public:
    static const QString kFileName;
    // Far above any preference document; a larger file is someone else's and is left alone.
    static constexpr qint64 kMaxBytes = 1024 * 1024;

    void load(const QString& path);
    // As load, for bytes already read from path.
    void loadBytes(const QString& path, const QByteArray& bytes);
    // What save writes: the text and the line break after it, as UTF-8.
    QByteArray fileBytes() const;
    // Refused, with saveRefusal() as the reason, when the document on disk was not read whole
    // and without loss: saving would cut off or change what other programs wrote.
    WriteResult save(const QString& path);
    WriteResult setValue(const QString& name, const QString& value, bool saveNow);
    // The first element of that name that closes before the name opens again; an opening tag
    // left without its closing tag is no element and is kept as it is.
    QString value(const QString& name) const;

    // Why a save would harm the file on disk; empty when saving is safe. The caller tells the
    // operator once.
    const QString& saveRefusal() const { return saveRefusal_; }
    const QString& text() const { return text_; }
    const QString& path() const { return path_; }

private:
    QString path_;
    QString text_;
    QString saveRefusal_;
};

}  // namespace cubwave
