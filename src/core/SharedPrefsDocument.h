#pragma once

#include "core/FileWrite.h"

#include <QString>

namespace cubwave {

// "SharedUserPreferences.xml": a small document of <NAME>value</NAME> elements shared with other
// programs. It is kept as text so elements this program never reads survive a save untouched.
class SharedPrefsDocument {
public:
    static const QString kFileName;

    void load(const QString& path);
    WriteResult save(const QString& path);
    WriteResult setValue(const QString& name, const QString& value, bool saveNow);
    QString value(const QString& name) const;

    const QString& text() const { return text_; }
    const QString& path() const { return path_; }

private:
    QString path_;
    QString text_;
};

}  // namespace cubwave
