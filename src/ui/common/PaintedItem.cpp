#include "ui/common/PaintedItem.h"

namespace cubwave {

PaintedItem::PaintedItem(const QString& name, QObject* parent) : QObject(parent) { setObjectName(name); }

}  // namespace cubwave
