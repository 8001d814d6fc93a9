#include "ui/main/MainWindow.h"

#include "core/FieldText.h"
#include "platform/Clock.h"
#include "ui/common/FieldTextGuard.h"
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace cubwave {

void MainWindow::bandMapSpots(const QString& call, const QString& frequency, const QString& record)
{
    handedSpots_.push_back({call, frequency, record});
    while (handedSpots_.size() > size_t(kSpotHookRecords))
        handedSpots_.pop_front();
    spotStore_.add(call, frequency, record, session_.prefs().ownCall, services_.clock.localNow(),
                   services_.clock.ticksMs());
}

void MainWindow::displayBandMapLabels() { ++bandMapRepaints_; }

bool MainWindow::takeSpottedCall(const QString& call, bool thenTab)
{
    auto* field = findChild<QLineEdit*>(QStringLiteral("txtCall"));
    if (!field)
        return false;
    const FieldTextGuard* guard = field->findChild<FieldTextGuard*>();
    const FieldRule rule = guard ? guard->rule() : FieldRule{};
    // Spot text comes off the network: it goes in whole as the keys would have typed it, or not at all.
    const QString upper = call.toUpper();
    const int limit = std::min(rule.maxLength, field->maxLength());
    if (upper.isEmpty() || upper.size() > limit || FieldText::accept(rule, upper, 0) != upper) {
        setStatus(QStringLiteral("Spotted call not taken: \"%1\" is not a call the call field takes.")
                      .arg(FieldText::withoutLineBreakers(call)));
        return false;
    }
    field->setFocus(Qt::OtherFocusReason);
    field->setText(upper);
    if (thenTab) {
        // As the Tab key would: the focus moves on and the call is looked up and checked.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &tab);
    }
    return true;
}

}  // namespace cubwave
