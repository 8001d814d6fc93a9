#include "ui/appearance/HelpText.h"

#include "core/FileRead.h"

#include <vector>

namespace cubwave {

namespace {

bool isUtf8Continuation(char c) { return (static_cast<uchar>(c) & 0xC0) == 0x80; }

}  // namespace

HelpText::HelpText(QByteArray bytes, qsizetype pieceBytes) : bytes_(std::move(bytes)), pieceBytes_(std::max<qsizetype>(pieceBytes, 4))
{
    if (bytes_.startsWith("\xEF\xBB\xBF"))
        pos_ = 3;
}

HelpText HelpText::fromFile(const QString& path, qint64 maxBytes)
{
    FileBytes file = readFileBytes(path, maxBytes);
    if (!file.ok)
        return HelpText(QByteArray());
    if (file.bytes.size() > maxBytes) {
        // Cut at the last line end within the limit, so no line shows half decoded.
        file.bytes.truncate(maxBytes);
        const qsizetype lastEnd = file.bytes.lastIndexOf('\n');
        if (lastEnd >= 0)
            file.bytes.truncate(lastEnd + 1);
    }
    return HelpText(std::move(file.bytes));
}

QString HelpText::nextPiece()
{
    if (atEnd())
        return QString();
    const qsizetype limit = std::min(bytes_.size(), pos_ + pieceBytes_);
    qsizetype end = limit;
    if (limit < bytes_.size()) {
        const qsizetype lastEnd = bytes_.lastIndexOf('\n', limit - 1);
        if (lastEnd >= pos_) {
            end = lastEnd + 1;
        } else {
            // One line longer than a piece: cut it before a character's first byte.
            while (end > pos_ + 1 && isUtf8Continuation(bytes_[end]))
                --end;
            // Nor between the two bytes of a CR LF.
            if (end > pos_ + 1 && bytes_[end - 1] == '\r' && bytes_[end] == '\n')
                --end;
        }
    }

    QString piece;
    piece.reserve(end - pos_);
    std::vector<QChar> buffer;
    qsizetype lineStart = pos_;
    while (lineStart < end) {
        qsizetype newline = bytes_.indexOf('\n', lineStart);
        const bool hasEnd = newline >= 0 && newline < end;
        qsizetype lineEnd = hasEnd ? newline : end;
        qsizetype textEnd = lineEnd;
        if (hasEnd && textEnd > lineStart && bytes_[textEnd - 1] == '\r')
            --textEnd;
        piece.append(decodeTextLine(QByteArrayView(bytes_).sliced(lineStart, textEnd - lineStart), buffer));
        if (hasEnd)
            piece.append(QLatin1Char('\n'));
        lineStart = hasEnd ? newline + 1 : end;
    }
    pos_ = end;
    return piece;
}

QString HelpText::rest()
{
    QString all;
    while (!atEnd())
        all.append(nextPiece());
    return all;
}

}  // namespace cubwave
