#pragma once

#include <QObject>

class QSocketNotifier;

namespace cubwave {

// Turns SIGINT (Ctrl+C in the terminal), SIGTERM and SIGHUP (a desktop logging out, a service
// manager stopping the program) into a Qt signal on the event loop, so the program closes
// through its normal close sequence and backs the log up instead of dying mid-way. Each of them,
// and SIGQUIT, first halts the keying inside the handler: the keying thread keys nothing more
// and every keying line drops before anything else runs. SIGQUIT, or a second SIGINT or SIGTERM
// within kSecondRequestMs of the one before, then ends the program at once by the signal's
// default action: the operator who asks twice wants out now.
class TerminationSignal : public QObject {
    Q_OBJECT

public:
    static constexpr int kSecondRequestMs = 5000;

    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

signals:
    void requested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace cubwave
