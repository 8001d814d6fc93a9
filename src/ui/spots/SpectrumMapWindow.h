#pragma once

#include "ui/common/DesignLayout.h"

#include <QDialog>

#include <functional>

namespace cubwave {

class Clock;
class Desktop;
class RigControlPort;
class SpectrumMapView;
class SpotStore;

// " HF Spectrum Map": the recent spots of every band at once, one row a band from 160 m to 2 m,
// drawn from the main window's spot store. Opened modally and deleted when it closes; it fills
// the work area of its monitor.
class SpectrumMapWindow : public QDialog {
    Q_OBJECT

public:
    static const QString kCaption;

    struct Services {
        SpotStore& store;           // the main window's; outlives this window
        RigControlPort& rig;        // tunes the radio to a spot
        Clock& clock;               // "now" for the spots' ages
        const Desktop* desktop;     // the monitor it fills; none: the program's desktop
        float utcOffsetHours;       // the station's, for the tooltips' times
        // Puts a spotted call into the main window's call field and focuses it; false when the
        // field refused it.
        std::function<bool(const QString& call)> takeCall;
    };

    explicit SpectrumMapWindow(Services services, QWidget* parent = nullptr);

    // Lays the spots out anew from the store at the current time, with the hourglass up while it
    // works, and repaints once.
    void BandMapLabelDisplay();
    // A mouse button pressed on the label of a store slot: the right button takes the spot (tunes,
    // puts the call, closes the map), any other takes the spot off both maps.
    void lblDXSpot_MouseDown(int slot, Qt::MouseButton button);

    SpectrumMapView* view() const { return view_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const Desktop* desktop() const;
    void fitToWorkArea();
    void placeView();
    void display();
    void scheduleDisplay();

    Services services_;
    DesignLayout layout_;
    SpectrumMapView* view_ = nullptr;
    bool framed_ = false;
    bool displayPending_ = false;
};

}  // namespace cubwave
