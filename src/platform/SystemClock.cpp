#include "platform/SystemClock.h"

#include <QThread>

namespace cubwave {

SystemClock::SystemClock() { started_.start(); }

QDateTime SystemClock::localNow() const
{
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date(), now.time(), Qt::UTC);
}

QDateTime SystemClock::utcNow() const { return QDateTime::currentDateTimeUtc(); }

qint64 SystemClock::ticksMs() const { return started_.elapsed(); }

void SystemClock::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

}  // namespace cubwave
