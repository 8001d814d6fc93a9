#pragma once

#include <vector>

namespace cubwave {

class PaintedItem;

// A widget that paints named items instead of holding child widgets; what it paints now, topmost
// first, is what a screen reader walks through.
class PaintsItems {
public:
    virtual ~PaintsItems() = default;
    virtual std::vector<PaintedItem*> shownItems() const = 0;
};

// Lets assistive tools (and tests) see each shown painted item as a child of its widget: its
// text as the name, its tooltip as the description, its place on the screen. Installed once.
void installPaintedItemAccessibility();

}  // namespace cubwave
