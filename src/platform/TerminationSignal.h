#pragma once

#include <QObject>

class QSocketNotifier;

namespace cubwave {

// Turns SIGTERM and SIGHUP (a desktop logging out, a service manager stopping the program) into
// a Qt signal on the event loop, so the program closes through its normal close sequence and
// backs the log up instead of dying mid-way.
class TerminationSignal : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

signals:
    void requested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace cubwave
