// Any bytes from the keyer's port decode the same however they are cut into reads, every byte is
// accounted for once, and a driver fed them between its own operations never breaks its rules:
// the status stays in its range, no more than four characters wait beyond the last echo, and
// nothing is written to a line the driver has closed.
#include "cw/WinKeyDriver.h"
#include "cw/WinKeyStreamDecoder.h"
#include "platform/Clock.h"
#include "platform/OneShotTimer.h"
#include "platform/SerialLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace cubwave;

namespace {

struct Log final : WinKeyStreamDecoder::Sink {
    void status(quint8 b) override { text += 'S', text += char(b); }
    void speedPot(quint8 v) override { text += 'P', text += char(v); }
    void reply(quint8 v) override { text += 'R', text += char(v); }
    void echo(char c) override { text += 'E', text += c; }
    std::string text;
};

class Line final : public SerialLine {
public:
    bool open(const QString&) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    QString devicePath() const override { return QStringLiteral("/dev/fuzz"); }
    QString errorText() const override { return QStringLiteral("gone"); }
    bool setSettings(const QString&) override { return true; }
    bool setHandshaking(int) override { return true; }
    bool setModemLine(ModemLine, bool) override { return open_; }
    bool write(const QByteArray& bytes) override
    {
        if (!open_)
            std::abort();  // the driver wrote to a closed line
        written += bytes.size();
        return true;
    }
    QByteArray readAll() override { return std::exchange(incoming, {}); }
    qint64 outputCount() override { return 0; }
    void discardOutput() override {}
    bool failed() const override { return false; }
    std::shared_ptr<KeyingLine> modemKeyingLine(ModemLine) override { return nullptr; }
    QByteArray incoming;
    qint64 written = 0;

private:
    bool open_ = false;
};

class TestClock final : public Clock {
public:
    QDateTime localNow() const override { return {}; }
    QDateTime utcNow() const override { return {}; }
    qint64 ticksMs() const override { return now; }
    void sleepMs(int ms) override { now += ms; }
    qint64 now = 0;
};

class Timer final : public OneShotTimer {
public:
    void start(int ms, std::function<void()> call) override
    {
        interval = ms;
        call_ = std::move(call);
    }
    void stop() override { call_ = nullptr; }
    bool isActive() const override { return bool(call_); }
    void fire(TestClock& clock)
    {
        if (auto call = std::exchange(call_, nullptr)) {
            clock.now += interval;
            call();
        }
    }
    int interval = 0;

private:
    std::function<void()> call_;
};

void checkDecoder(const QByteArray& bytes, bool echoBack, bool reply, size_t cut)
{
    WinKeyStreamDecoder whole;
    WinKeyStreamDecoder pieces;
    for (WinKeyStreamDecoder* d : {&whole, &pieces}) {
        d->setEchoBack(echoBack);
        if (reply)
            d->expectReply();
    }
    Log a, b;
    whole.feed(bytes, a);
    const qsizetype step = qsizetype(cut % 7) + 1;
    for (qsizetype at = 0; at < bytes.size(); at += step)
        pieces.feed(QByteArrayView(bytes).sliced(at, std::min(step, bytes.size() - at)), b);
    if (a.text != b.text || whole.dropped() != pieces.dropped())
        std::abort();
    if (a.text.size() / 2 + whole.dropped() != size_t(bytes.size()))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1),
                                                     static_cast<qsizetype>(size - 1));
    checkDecoder(bytes, data[0] & 1, data[0] & 2, data[0] >> 2);

    // The driver: each input byte is either keyer output or, with the top bits 0b111, an
    // operation of the host.
    Line line;
    TestClock clock;
    Timer timer;
    WinKeyTimings timings;
    timings.settleMs = 0;
    WinKeyDriver driver(line, clock, timer, timings);
    driver.open(QStringLiteral("/dev/fuzz"), [](int, quint8) {});
    timer.fire(clock);
    line.incoming = QByteArray(1, char(WinKeyDriver::kEchoProbe));
    timer.fire(clock);
    line.incoming = QByteArray(1, char(23));
    timer.fire(clock);
    for (size_t i = 1; i < size; ++i) {
        const uint8_t b = data[i];
        if ((b & 0xE0) == 0x60 && i + 1 < size) {
            const uint8_t arg = data[++i];
            switch (b & 0x07) {
            case 0: driver.sendCharacter(arg); break;
            case 1: driver.clearBuffer(); break;
            case 2: driver.backspace(); break;
            case 3: driver.setSpeed(arg); break;
            case 4: clock.now += arg * 40; break;
            case 5: driver.setMode(arg); break;
            case 6: driver.close(); break;
            case 7:
                driver.open(QStringLiteral("/dev/fuzz"), [](int, quint8) {});
                break;
            }
        } else {
            line.incoming.append(char(b));
        }
        timer.fire(clock);
        const int status = driver.status();
        if (status != WinKeyDriver::kNotOpen && (status < 0 || status > WinKeyDriver::kStatusWait))
            std::abort();
        if (driver.unsent() > WinKeyDriver::kMaxAhead + WinKeyDriver::kMaxQueued || driver.echoed().size() > 1024)
            std::abort();
    }
    return 0;
}
