// Debian's direwolf as a packet engine for trying the spot window by hand and for end-to-end
// runs: headless, on loopback only, its engine port printed on the first line. Every PERIOD
// seconds (default 10) it "hears" a few cluster spots and a chat line over the air; a line typed
// on standard input ("W3LPL>DX:DX de W3LPL: ...") is put on the air at once. Ends at end of
// input or on SIGTERM.
#include "support/DirewolfPeer.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

using cubwave::test::DirewolfPeer;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString why;
    if (!DirewolfPeer::available(&why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 2;
    }
    const int periodS = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;
    DirewolfPeer direwolf;
    if (!direwolf.start()) {
        std::fprintf(stderr, "direwolf did not start:\n%s\n", direwolf.log().constData());
        return 1;
    }
    std::printf("%d\n", direwolf.port());
    std::fflush(stdout);

    int round = 0;
    QTimer spots;
    QObject::connect(&spots, &QTimer::timeout, [&] {
        const QString khz = QString::number(14000 + (round * 7) % 300) + QStringLiteral(".0");
        // The frequency right-aligned to column 24, the call from column 27.
        const QString spot = QStringLiteral("DX de W3LPL:%1  K%2ABC        cq                1200Z")
                                 .arg(khz, 12)
                                 .arg(round % 10);
        direwolf.play(direwolf.audioFor({QStringLiteral("W3LPL>DX:") + spot,
                                         QStringLiteral("N0CALL>ID:round %1 from the channel").arg(round)}));
        ++round;
    });
    spots.start(periodS * 1000);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[512];
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (n <= 0) {
            app.quit();
            return;
        }
        const QString text = QString::fromLatin1(line, n).trimmed();
        if (!text.isEmpty())
            direwolf.play(direwolf.audioFor(text.split(QLatin1Char('\n'))));
    });
    return app.exec();
}
