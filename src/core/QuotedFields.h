#pragma once

#include <QStringView>

#include <span>

namespace cubwave {

// Splits one line of the program's data files into its comma-separated items: a quoted item
// ends at the next quote (commas inside are kept), a bare one runs to the next comma and is
// trimmed. Nothing is escaped, so an item can never hold a quote. The views point into line.
// False unless the line holds exactly items.size() well-formed items.
bool splitQuotedFields(QStringView line, std::span<QStringView> items);

}  // namespace cubwave
