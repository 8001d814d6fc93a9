// Presses "Test" of the voice setup window with the real keyer, wave player and serial line, and
// quits when PTT has dropped (exit 0) or the message was refused (exit 5), so a test can record
// the PTT line of a whole message. Run under the ioctl recorder, with the working directory's
// "serialports.txt" mapping the PTT port to a pty.
//   voice_ptt_run WORKDIR
#include "platform/Dialogs.h"
#include "platform/KeyingRelease.h"
#include "platform/PosixSerialLine.h"
#include "platform/PpdevParallelPorts.h"
#include "platform/QtWavePlayer.h"
#include "platform/SerialLineSharing.h"
#include "platform/SystemClock.h"
#include "platform/gui/QtBeeper.h"
#include "ui/voice/VoiceSetupWindow.h"
#include "voice/VoiceKeyer.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

// Message boxes go to stderr and are answered at once.
class PrintingDialogs final : public cubwave::Dialogs {
public:
    cubwave::MsgAnswer message(const QString& title, const QString& text, cubwave::MsgButtons,
                               cubwave::MsgIcon) override
    {
        std::fprintf(stderr, "message: %s: %s\n", qPrintable(title), qPrintable(text));
        return cubwave::MsgAnswer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const cubwave::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const cubwave::FileDialogRequest&) override { return std::nullopt; }
    std::optional<qint32> pickColour(qint32) override { return std::nullopt; }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    QApplication app(argc, argv);
    cubwave::KeyingRelease::installExitHandlers();
    const QString workDir = QString::fromLocal8Bit(argv[1]);

    cubwave::SystemClock clock;
    cubwave::QtWavePlayer player;
    cubwave::PosixSerialLine serial;
    cubwave::PpdevParallelPorts parallel;
    cubwave::SerialLineSharing sharing;
    cubwave::VoiceKeyer keyer({player, serial, parallel, [&] { return cubwave::SerialPortMap::load(workDir); },
                               clock, &sharing});
    PrintingDialogs dialogs;
    cubwave::QtBeeper beeper;
    cubwave::VoiceSetupWindow window(keyer, dialogs, beeper, workDir);
    const auto loaded = window.readMessageFile();
    if (!loaded.ok) {
        std::fprintf(stderr, "wave2.txt: %s\n", qPrintable(loaded.error));
        return 3;
    }
    QObject::connect(&keyer, &cubwave::VoiceKeyer::problem, &app, [&](const QString& text) {
        std::fprintf(stderr, "problem: %s\n", qPrintable(text));
        if (!keyer.pttUp())
            QTimer::singleShot(100, &app, [&] { app.exit(5); });
    });
    QObject::connect(&keyer, &cubwave::VoiceKeyer::pttChanged, &app, [&](bool up) {
        if (!up)
            QTimer::singleShot(100, &app, [&] { app.exit(0); });
    });
    // The operator presses "Test" once the start-up has built the message's pipeline.
    QTimer::singleShot(1500, &app, [&] { window.findChild<QPushButton*>(QStringLiteral("Command11"))->click(); });
    QTimer::singleShot(30000, &app, [&] { app.exit(4); });
    return app.exec();
}
