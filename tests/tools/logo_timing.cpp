// Times the start-up logo on the real timers, on whatever display it is given (run it under
// Xvfb): logo_timing SHARED_FOLDER [SHOTS_FOLDER]. Prints when the second picture showed and when
// the window closed, in ms after the window was shown, and saves a picture of the window at each
// step when a shots folder is given.
#include "platform/QtOneShotTimer.h"
#include "ui/appearance/LogoWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

using namespace cubwave;

namespace {

class ShowWatch : public QObject {
public:
    explicit ShowWatch(QElapsedTimer& clock) : clock_(clock) {}
    qint64 shownAtMs = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && shownAtMs < 0)
            shownAtMs = clock_.elapsed();
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SHARED_FOLDER [SHOTS_FOLDER]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString shots = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QtOneShotTimer closeTimer;
    QtOneShotTimer badgeTimer;
    LogoWindow logo(QString::fromLocal8Bit(argv[1]), closeTimer, badgeTimer);
    QElapsedTimer clock;
    ShowWatch logoWatch(clock);
    ShowWatch badgeWatch(clock);
    logo.installEventFilter(&logoWatch);
    logo.findChild<QLabel*>(QStringLiteral("Image2"))->installEventFilter(&badgeWatch);
    const auto shoot = [&](const char* name) {
        if (!shots.isEmpty())
            logo.screen()->grabWindow(0).save(QDir(shots).filePath(QString::fromLatin1(name)));
    };
    QObject::connect(&logo, &QDialog::finished, [&] { shoot("logo-closing.png"); });
    QTimer::singleShot(500, &logo, [&] { shoot("logo-shown.png"); });
    QTimer::singleShot(1500, &logo, [&] { shoot("logo-second-picture.png"); });
    clock.start();
    logo.exec();
    const qint64 closedAtMs = clock.elapsed();
    const qint64 shownAtMs = logoWatch.shownAtMs;
    std::printf("splash %s; shown %lld ms after exec; then second picture at %lld ms, closed at %lld ms; window %dx%d "
                "at %d,%d on a %dx%d screen\n",
                logo.showsSplash() ? "shown" : "absent", static_cast<long long>(shownAtMs),
                static_cast<long long>(badgeWatch.shownAtMs < 0 ? -1 : badgeWatch.shownAtMs - shownAtMs),
                static_cast<long long>(closedAtMs - shownAtMs), logo.width(), logo.height(), logo.x(), logo.y(),
                logo.screen()->geometry().width(), logo.screen()->geometry().height());
    return 0;
}
