#pragma once

#include <QByteArray>
#include <QString>

namespace cubwave {

struct WriteResult {
    bool ok = true;
    QString error;  // the system's reason when !ok
};

// Replaces a file safely: a temporary file in the same folder, synced, then renamed over the
// old one, so a crash leaves either the old or the new file whole.
WriteResult replaceFileAtomically(const QString& path, const QByteArray& contents);

// Appends bytes and syncs them to the device before returning; on failure the file is cut back
// to its old length, so no half line is left behind.
WriteResult appendAndSync(const QString& path, const QByteArray& bytes);

}  // namespace cubwave
