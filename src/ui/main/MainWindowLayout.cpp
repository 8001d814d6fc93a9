#include "ui/main/MainWindow.h"

#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/ScreenLayout.h"
#include "ui/main/MainScreen.h"

#include <QAction>
#include <QEvent>
#include <QShowEvent>
#include <QTimer>

#include <functional>

namespace cubwave {

namespace {

// Repaints once when the re-layout is over, instead of hiding the window: the keyboard focus
// stays where it was.
class UpdatesSuspended {
public:
    explicit UpdatesSuspended(QWidget& window) : window_(window), wasEnabled_(window.updatesEnabled())
    {
        window_.setUpdatesEnabled(false);
    }
    ~UpdatesSuspended() { window_.setUpdatesEnabled(wasEnabled_); }
    UpdatesSuspended(const UpdatesSuspended&) = delete;
    UpdatesSuspended& operator=(const UpdatesSuspended&) = delete;

private:
    QWidget& window_;
    bool wasEnabled_;
};

// Runs a refit once the window system has the window out of the maximized state: only then may a
// size be asked for, and only then is the decoration of the normal frame known.
class RefitWhenNormal final : public QObject {
public:
    static constexpr const char* kName = "refitWhenNormal";

    RefitWhenNormal(QWidget& window, std::function<void()> refit) : QObject(&window), refit_(std::move(refit))
    {
        setObjectName(QString::fromLatin1(kName));
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The window system's resize to the normal frame is the sign: the compositor has it.
        if (event->type() == QEvent::Resize && event->spontaneous() && !static_cast<QWidget*>(watched)->isMaximized()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, parent(), refit_);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> refit_;
};

}  // namespace

bool MainWindow::taskbarOption() const { return session_.prefs().taskbar != 0; }

void MainWindow::ApplyFormSize()
{
    Preferences& p = session_.prefs();
    const int usable = ScreenLayout::usablePercent(p.windowSizePct);
    if (usable != p.windowSizePct) {
        // A hand edit or a damaged file must not shrink the window to nothing, now or next time.
        p.windowSizePct = static_cast<quint8>(usable);
        SavePref();
    }
    if (!services_.desktop)
        return;
    const DesktopArea area = services_.desktop->areaFor(this);
    // A headless or disconnected display: the window keeps its size, and the operator's
    // percentage stays stored for a monitor that has one.
    if (!DesignLayout::screenKnown(this, area, &services_.dialogs))
        return;
    UpdatesSuspended suspended(*this);
    QFont f = font();
    f.setPointSizeF(DesignLayout::designPoints(
        ScreenLayout::kDesignWindowPoints * ScreenLayout::windowFontFactor(area.screen.size(), usable), this));
    setFont(f);
    DesignLayout::setFrame(this, ScreenLayout::mainWindowFrame(usable, false, area));
    FitDXList();
}

void MainWindow::FitToScreen()
{
    if (QAction* mark = findChild<QAction*>(QStringLiteral("mnuTaskbar")))
        mark->setChecked(taskbarOption());
    if (!services_.desktop || ScreenLayout::usablePercent(session_.prefs().windowSizePct) != ScreenLayout::kMaxPercent)
        return;
    // No monitor with a size: the window keeps its own, silently, as a refit always has.
    if (ScreenLayout::areaProblem(services_.desktop->areaFor(this)))
        return;
    UpdatesSuspended suspended(*this);
    const DesktopArea area = services_.desktop->areaFor(this);
    if (!services_.desktop->placesWindows()) {
        // The compositor alone knows its panels: maximized is the work area there. A size asked
        // for while the window is maximized breaks the protocol and the compositor ends the
        // connection, so the screen's size is asked for only while it is not: leaving maximized,
        // once the compositor has the window back in its normal state.
        if (!isMaximized())
            DesignLayout::setFrame(this, ScreenLayout::mainWindowFrame(ScreenLayout::kMaxPercent, false, area));
        else if (!taskbarOption() && !findChild<QObject*>(QString::fromLatin1(RefitWhenNormal::kName)))
            new RefitWhenNormal(*this, [this] { FitToScreen(); });
        setWindowState(taskbarOption() ? (windowState() | Qt::WindowMaximized) : (windowState() & ~Qt::WindowMaximized));
        FitDXList();
        return;
    }
    DesignLayout::setFrame(this, ScreenLayout::mainWindowFrame(ScreenLayout::kMaxPercent, taskbarOption(), area));
    FitDXList();
}

void MainWindow::FitDXList() { screen_->fitDxList(); }

void MainWindow::packetResize(const QString& connectionType, const QString& display)
{
    // The list or the band map: both take the same room; the choice is kept for the display.
    spotConnectionType_ = connectionType;
    spotDisplay_ = display;
    const bool spotsWanted = connectionType.compare(QLatin1String("None"), Qt::CaseInsensitive) != 0;
    UpdatesSuspended suspended(*this);
    // With the room already made, "&Done" still moves between the list and the band map.
    screen_->chooseSpotDisplay(display.compare(QLatin1String("List"), Qt::CaseInsensitive) != 0);
    if (spotsWanted != screen_->spotDisplayShown())
        screen_->applySpotRoom(spotsWanted);
}

void MainWindow::mnuFormSize_Click()
{
    Preferences& p = session_.prefs();
    const std::optional<QString> answer = services_.dialogs.input(
        QStringLiteral("Please enter screen percentage."),
        QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best "
                       "results.  Values below 75 do not display well."),
        QString::number(p.windowSizePct));
    const std::optional<int> percent = ScreenLayout::formSizeAnswer(answer.value_or(QString()));
    if (!percent) {
        services_.dialogs.message(QStringLiteral("Numeric Values Required"),
                                  QStringLiteral("Please enter only numeric values."));
        return;
    }
    p.windowSizePct = static_cast<quint8>(*percent);
    services_.dialogs.message(QStringLiteral("For this setting to take effect please restart this program."),
                              QStringLiteral("This program must be closed and restarted for this setting to take effect."));
    SavePref();
}

void MainWindow::mnuTaskbar_Click()
{
    Preferences& p = session_.prefs();
    if (ScreenLayout::usablePercent(p.windowSizePct) != ScreenLayout::kMaxPercent) {
        services_.dialogs.message(QStringLiteral("Please set your form size to 100% to use this option."),
                                  QStringLiteral("The form size must be set to 100% to use the taskbar display option."));
        return;
    }
    p.taskbar = taskbarOption() ? 0 : 1;
    SavePref();
    FitToScreen();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (framed_ || !services_.desktop || event->spontaneous())
        return;
    framed_ = true;
    QTimer::singleShot(0, this, [this] { refitAfterFraming(); });
}

void MainWindow::refitAfterFraming()
{
    // Once mapped, the frame's decoration is known: fit the frame, title bar included, again. A
    // monitor of no size was reported when the window loaded.
    if (ScreenLayout::areaProblem(services_.desktop->areaFor(this)))
        return;
    if (ScreenLayout::usablePercent(session_.prefs().windowSizePct) == ScreenLayout::kMaxPercent)
        FitToScreen();
    else
        ApplyFormSize();
}

}  // namespace cubwave
