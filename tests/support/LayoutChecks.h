#pragma once

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QWidget>

#include <string>
#include <vector>

namespace cubwave::test {

// What goes wrong when a window is laid out for a screen it does not fit: controls land on each
// other, or are given less room than their text. Each check returns one line a fault.

inline std::string nameOf(const QWidget* w)
{
    const QString name = w->objectName();
    if (!name.isEmpty())
        return name.toStdString();
    const QString text = w->property("text").toString();
    return std::string(w->metaObject()->className()) + (text.isEmpty() ? "" : " \"" + text.toStdString() + "\"");
}

// Any two of these (siblings) that overlap.
inline std::vector<std::string> overlaps(const std::vector<QWidget*>& siblings)
{
    std::vector<std::string> faults;
    for (size_t i = 0; i < siblings.size(); ++i) {
        for (size_t j = i + 1; j < siblings.size(); ++j) {
            if (siblings[i]->geometry().intersects(siblings[j]->geometry()))
                faults.push_back(nameOf(siblings[i]) + " overlaps " + nameOf(siblings[j]));
        }
    }
    return faults;
}

// A caption wider than its control, on a window placed on the design grid (a button keeps a few
// pixels for its bevel).
inline std::vector<std::string> captionsCut(const std::vector<QWidget*>& controls)
{
    std::vector<std::string> faults;
    for (const QWidget* w : controls) {
        const QString caption = w->property("text").toString();
        if (caption.isEmpty())
            continue;
        const int room = w->inherits("QPushButton") ? w->width() - 4 : w->width();
        if (w->fontMetrics().horizontalAdvance(QString(caption).remove(QLatin1Char('&'))) > room)
            faults.push_back(nameOf(w) + " is narrower than its caption");
    }
    return faults;
}

// On a window arranged by Qt's layouts: overlapping siblings, and any control (lists and text
// boxes aside) given less than the least its text and frame need (which a layout only does when the window is too small for
// it). Looks into every container that has a layout of its own.
inline std::vector<std::string> layoutFaults(const QWidget* window)
{
    std::vector<std::string> faults;
    std::vector<const QWidget*> containers{window};
    while (!containers.empty()) {
        const QWidget* container = containers.back();
        containers.pop_back();
        std::vector<QWidget*> shown;
        for (QWidget* w : container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->isWindow() || !w->isVisible())
                continue;
            shown.push_back(w);
            // A list or text box scrolls what it cannot show: its hint is no text's need.
            const QSize least = w->inherits("QAbstractScrollArea") ? QSize() : w->minimumSizeHint();
            const auto* label = qobject_cast<const QLabel*>(w);
            const bool wraps = label && label->wordWrap();
            const int leastHeight = wraps ? label->heightForWidth(w->width()) : least.height();
            if (least.isValid() && (w->width() < least.width() || w->height() < leastHeight))
                faults.push_back(nameOf(w) + " is " + std::to_string(w->width()) + "x" + std::to_string(w->height()) +
                                 ", less than the " + std::to_string(least.width()) + "x" +
                                 std::to_string(leastHeight) + " it needs");
            if (!container->rect().contains(w->geometry()))
                faults.push_back(nameOf(w) + " reaches outside " + nameOf(container));
            if (w->layout())
                containers.push_back(w);
        }
        const std::vector<std::string> more = overlaps(shown);
        faults.insert(faults.end(), more.begin(), more.end());
    }
    return faults;
}

}  // namespace cubwave::test
