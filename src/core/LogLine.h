#pragma once

#include "core/QsoRecord.h"

#include <QStringView>

#include <optional>

namespace cubwave {

// One line of "log.txt": the eleven fields, each between double quotes, joined by commas.
// Nothing is escaped, so a field may never hold a double quote.
class LogLine {
public:
    // The longest line, in bytes without its break, that the reader takes: far above any
    // contact typed by hand, small enough that a damaged file is not read into memory whole.
    static constexpr qint64 kMaxBytes = 64 * 1024;

    // Without the line break.
    static QString format(const QsoRecord& record);
    // Quoted fields end at the next quote; unquoted ones run to the next comma, trimmed.
    // Nothing for a line that does not hold exactly eleven well-formed fields.
    static std::optional<QsoRecord> parse(QStringView line);

    // The one rule the reader and the writer share: why the record cannot be a line that reads
    // back as the same record (a double quote, a control character, half of a surrogate pair, a
    // line over kMaxBytes); empty when it can.
    static QString refusal(const QsoRecord& record);
    // A control character other than the tab: it could break the line or the file.
    static bool isRefusedCharacter(QChar c) { return c.unicode() < 0x20 && c != QLatin1Char('\t'); }
    // Bytes of format(record) in UTF-8.
    static qint64 formattedBytes(const QsoRecord& record);
};

}  // namespace cubwave
