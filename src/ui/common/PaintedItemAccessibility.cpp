#include "ui/common/PaintedItemAccessibility.h"

#include "ui/common/PaintedItem.h"

#include <QAccessibleWidget>
#include <QWidget>

#include <algorithm>

namespace cubwave {

namespace {

class PaintedItemInterface final : public QAccessibleInterface {
public:
    explicit PaintedItemInterface(PaintedItem* item) : item_(item) {}

    bool isValid() const override { return item_ != nullptr; }
    QObject* object() const override { return item_; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(item_->parent()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return item_->text();
        case QAccessible::Description:
        case QAccessible::Help: return item_->toolTip();
        default: return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        const auto* widget = qobject_cast<const QWidget*>(item_->parent());
        const QRect g = item_->geometry();
        return widget ? QRect(widget->mapToGlobal(g.topLeft()), g.size()) : g;
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !item_->isVisible();
        s.readOnly = true;
        return s;
    }

private:
    PaintedItem* item_;
};

class PaintingWidgetInterface final : public QAccessibleWidget {
public:
    PaintingWidgetInterface(QWidget* widget, const PaintsItems& painter)
        : QAccessibleWidget(widget, QAccessible::Pane), painter_(painter)
    {
    }

    int childCount() const override { return int(painter_.shownItems().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const std::vector<PaintedItem*> items = painter_.shownItems();
        if (index < 0 || index >= int(items.size()))
            return nullptr;
        return QAccessible::queryAccessibleInterface(items[size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        const std::vector<PaintedItem*> items = painter_.shownItems();
        const auto it = std::find(items.begin(), items.end(), child->object());
        return it == items.end() ? -1 : int(it - items.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (PaintedItem* item : painter_.shownItems()) {
            QAccessibleInterface* child = QAccessible::queryAccessibleInterface(item);
            if (child && child->rect().contains(x, y))
                return child;
        }
        return nullptr;
    }

private:
    const PaintsItems& painter_;
};

QAccessibleInterface* paintedItemFactory(const QString&, QObject* object)
{
    if (auto* item = qobject_cast<PaintedItem*>(object))
        return new PaintedItemInterface(item);
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (const auto* painter = dynamic_cast<const PaintsItems*>(widget))
            return new PaintingWidgetInterface(widget, *painter);
    }
    return nullptr;
}

}  // namespace

void installPaintedItemAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(paintedItemFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace cubwave
