#pragma once

#include <QByteArray>
#include <QString>

namespace cubwave {

// The help file's text, handed out in pieces so a window can show a file of many megabytes
// without holding up its thread. Each line is UTF-8, or Latin-1 when it is no valid UTF-8, as
// the log is read; line ends become "\n" and a leading UTF-8 byte-order mark is dropped.
class HelpText {
public:
    static constexpr const char* kFileName = "readcubwave.txt";
    // More than any help text needs; a larger file shows this much of its start rather than
    // filling the memory.
    static constexpr qint64 kMaxBytes = 32LL * 1024 * 1024;
    // Small enough that adding one to the text box takes a few milliseconds, so the window
    // answers while a large file fills in.
    static constexpr qsizetype kPieceBytes = 16 * 1024;

    explicit HelpText(QByteArray bytes, qsizetype pieceBytes = kPieceBytes);
    // An unreadable or missing file gives an empty text.
    static HelpText fromFile(const QString& path, qint64 maxBytes = kMaxBytes);

    bool atEnd() const { return pos_ >= bytes_.size(); }
    // The next whole lines of about pieceBytes (a longer line comes in several pieces, cut
    // between characters); empty once atEnd().
    QString nextPiece();
    // Everything not yet handed out.
    QString rest();

private:
    QByteArray bytes_;
    qsizetype pieceBytes_;
    qsizetype pos_ = 0;
};

}  // namespace cubwave
