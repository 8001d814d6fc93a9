#pragma once

#include "core/QsoRecord.h"

#include <QStringView>

#include <optional>

namespace cubwave {

// One line of "log.txt": the eleven fields, each between double quotes, joined by commas.
// Nothing is escaped, so a field may never hold a double quote.
class LogLine {
public:
    // Without the line break.
    static QString format(const QsoRecord& record);
    // Quoted fields end at the next quote; unquoted ones run to the next comma, trimmed.
    // Nothing for a line that does not hold exactly eleven well-formed fields.
    static std::optional<QsoRecord> parse(QStringView line);
};

}  // namespace cubwave
