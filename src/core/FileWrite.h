#pragma once

#include <QByteArray>
#include <QString>

namespace cubwave {

struct WriteResult {
    bool ok = true;
    QString error;  // the system's reason when !ok
    // Refused because the file has no write bit set (or this user may not write it): the
    // operator's own choice to keep it as it is, not a failure of the disk.
    bool readOnly = false;
};

// The reason a read-only file gives.
QString readOnlyReason();

// Replaces a file safely: a temporary file in the same folder, every write checked, synced, then
// renamed over the old one, so a crash or a full disk leaves either the old or the new file
// whole, never a short one. On failure the old file is untouched and the temporary file gone.
// A symbolic link is followed: its target is replaced and the link kept. A file with no write bit
// set is refused, even for root, whom the system would let replace it.
WriteResult replaceFileAtomically(const QString& path, const QByteArray& contents);

// As replaceFileAtomically, but fails when path already exists instead of replacing it.
WriteResult writeNewFileAtomically(const QString& path, const QByteArray& contents);

enum class ExistingFile { Replace, Keep };
// Copies source to path as the two above write, a piece at a time, so a file of any size takes
// little memory. Fails unless the synced copy holds exactly the bytes the source holds.
WriteResult copyFileAtomically(const QString& source, const QString& path, ExistingFile existing);

// The name of a temporary file for path: hidden, beside it, with a marker and a random tail that
// no operator's file carries, so one left by a killed rewrite can be recognised and removed.
QString temporaryNameFor(const QString& path);
bool isLeftoverTemporaryFile(const QString& fileName);
// Removes such leftovers from folder (not its subfolders); returns how many were removed.
int removeLeftoverTemporaryFiles(const QString& folder);

// Appends bytes and syncs them to the device before returning; on failure the file is cut back
// to its old length, so no half line is left behind. A file with no write bit set is refused, as
// replacing refuses it.
WriteResult appendAndSync(const QString& path, const QByteArray& bytes);
// As appendAndSync for a line that ends in its own break; when the file's last line has no
// break (a file saved by an editor), the missing break is written first, in the same append.
WriteResult appendLineAndSync(const QString& path, const QByteArray& line);

}  // namespace cubwave
