#include "ui/spots/SpectrumMapWindow.h"

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "rig/RigControlPort.h"
#include "spots/SpotMapLayout.h"
#include "spots/SpotStore.h"
#include "ui/common/WaitCursor.h"
#include "ui/spots/SpectrumMapView.h"

#include <QEvent>
#include <QShowEvent>
#include <QTimer>

#include <cmath>

namespace cubwave {

namespace {

// Laid out on the full-screen design surface (640 x 480, 15 twips to the pixel): the panel takes
// all of it but a small margin.
constexpr QSize kDesignSize(640, 480);
constexpr QRect kPanelDesign(8, 8, 624, 464);
constexpr double kDesignPointSize = 8;

}  // namespace

const QString SpectrumMapWindow::kCaption = QStringLiteral(" HF Spectrum Map");

SpectrumMapWindow::SpectrumMapWindow(Services services, QWidget* parent)
    : QDialog(parent), services_(std::move(services)), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("SpectrumMap"));
    setWindowTitle(kCaption);
    view_ = new SpectrumMapView(this);
    layout_.place(view_, kPanelDesign, kDesignPointSize);

    // Stretched from the design to the screen (fonts with it), then to the whole work area from
    // its top left corner, the fonts staying as the screen made them.
    if (const Desktop* desktop = this->desktop())
        layout_.scaleDialogToScreen(this, *desktop);
    else
        layout_.scaleDialogToScreen(this);
    fitToWorkArea();

    view_->onSpotPressed([this](int slot, Qt::MouseButton button) { lblDXSpot_MouseDown(slot, button); });
    // A move of the rows moves every spot with it; the ages are as they were a moment ago.
    connect(view_, &SpectrumMapView::resized, this, &SpectrumMapWindow::display);
    // Spots that arrive while the map is open show at once; a burst of them costs one layout.
    connect(&services_.store, &SpotStore::changed, this, [this] {
        if (isVisible())
            scheduleDisplay();
    });
    display();
}

const Desktop* SpectrumMapWindow::desktop() const
{
    return services_.desktop ? services_.desktop : DesignLayout::desktop();
}

void SpectrumMapWindow::fitToWorkArea()
{
    const Desktop* desktop = this->desktop();
    if (!desktop)
        return;
    const DesktopArea area = desktop->areaFor(this);
    DesignLayout::setFrame(this, area.workArea.isEmpty() ? area.screen : area.workArea);
    placeView();
}

void SpectrumMapWindow::placeView()
{
    const double sx = width() / double(kDesignSize.width());
    const double sy = height() / double(kDesignSize.height());
    const int left = int(std::lround(kPanelDesign.x() * sx));
    const int top = int(std::lround(kPanelDesign.y() * sy));
    const int right = int(std::lround((kPanelDesign.x() + kPanelDesign.width()) * sx));
    const int bottom = int(std::lround((kPanelDesign.y() + kPanelDesign.height()) * sy));
    view_->setGeometry(left, top, std::max(1, right - left), std::max(1, bottom - top));
}

void SpectrumMapWindow::BandMapLabelDisplay()
{
    displayPending_ = false;
    const WaitCursor hourglass;
    display();
}

void SpectrumMapWindow::display()
{
    view_->showLayout(SpotMapRules::spectrum(services_.store, services_.clock.ticksMs(), services_.utcOffsetHours,
                                             view_->lines()));
}

void SpectrumMapWindow::scheduleDisplay()
{
    if (displayPending_)
        return;
    displayPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (displayPending_)
                BandMapLabelDisplay();
        },
        Qt::QueuedConnection);
}

void SpectrumMapWindow::lblDXSpot_MouseDown(int slot, Qt::MouseButton button)
{
    if (slot < 0 || slot >= SpotStore::kSlots)
        return;
    if (button != Qt::RightButton) {
        services_.store.removeFromMaps(slot);
        BandMapLabelDisplay();
        return;
    }
    const SpotSlot spot = services_.store.slot(slot);
    // The call goes into the entry line even when no rig is polled to tune.
    services_.rig.tuneTo(spot.frequencyMHz);
    if (services_.takeCall)
        services_.takeCall(spot.call);
    // Ends the modal display; the main window, active again, has the call field focused.
    accept();
}

bool SpectrumMapWindow::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        BandMapLabelDisplay();
    return handled;
}

void SpectrumMapWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    BandMapLabelDisplay();
    if (framed_)
        return;
    framed_ = true;
    // The frame, title bar included, fits the work area as far as the decoration is known now,
    // and again once the window is mapped and it is known for certain.
    fitToWorkArea();
    QTimer::singleShot(0, this, [this] { fitToWorkArea(); });
}

void SpectrumMapWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeView();
}

}  // namespace cubwave
