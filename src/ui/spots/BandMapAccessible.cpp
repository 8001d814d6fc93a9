#include "ui/spots/BandMapAccessible.h"

#include "ui/spots/BandMapView.h"
#include "ui/spots/PaintedMapLabel.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

namespace cubwave {

namespace {

// The shown spots, newest first: the order a reader goes through them.
std::vector<const PaintedMapLabel*> shownLabels(BandMapView* view)
{
    std::vector<const PaintedMapLabel*> out;
    view->layOutIfDue();
    for (int slot = SpotStore::kSlots - 1; slot >= 0; --slot) {
        if (view->spotLabel(slot).isVisible())
            out.push_back(&view->spotLabel(slot));
    }
    return out;
}

class SpotLabelAccessible final : public QAccessibleInterface {
public:
    explicit SpotLabelAccessible(PaintedMapLabel* label)
        : label_(label), view_(qobject_cast<BandMapView*>(label->parent()))
    {
    }

    bool isValid() const override { return label_ && view_; }
    QObject* object() const override { return label_; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name: return label_->text();
        case QAccessible::Description: return label_->toolTip();
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        return QRect(view_->mapToGlobal(label_->geometry().topLeft()), label_->geometry().size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !isValid() || !label_->isVisible();
        return s;
    }

private:
    QPointer<PaintedMapLabel> label_;
    QPointer<BandMapView> view_;
};

class BandMapViewAccessible final : public QAccessibleWidget {
public:
    explicit BandMapViewAccessible(BandMapView* view) : QAccessibleWidget(view, QAccessible::Graphic) {}

    int childCount() const override { return int(shownLabels(view()).size()); }
    QAccessibleInterface* child(int index) const override
    {
        const auto labels = shownLabels(view());
        if (index < 0 || size_t(index) >= labels.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(const_cast<PaintedMapLabel*>(labels[size_t(index)]));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto labels = shownLabels(view());
        for (size_t i = 0; i < labels.size(); ++i) {
            if (child && child->object() == labels[i])
                return int(i);
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint at = view()->mapFromGlobal(QPoint(x, y));
        for (const PaintedMapLabel* label : shownLabels(view())) {
            if (label->geometry().contains(at))
                return QAccessible::queryAccessibleInterface(const_cast<PaintedMapLabel*>(label));
        }
        return nullptr;
    }

private:
    BandMapView* view() const { return static_cast<BandMapView*>(widget()); }
};

QAccessibleInterface* bandMapFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("cubwave::BandMapView"))
        return new BandMapViewAccessible(static_cast<BandMapView*>(object));
    if (className == QLatin1String("cubwave::PaintedMapLabel") && qobject_cast<BandMapView*>(object->parent()))
        return new SpotLabelAccessible(static_cast<PaintedMapLabel*>(object));
    return nullptr;
}

}  // namespace

void installBandMapAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(bandMapFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace cubwave
