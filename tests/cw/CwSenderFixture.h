#pragma once

#include "cw/CwKeyingLines.h"
#include "cw/CwSender.h"
#include "support/FakeKeying.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>

#include <gtest/gtest.h>

#include <cmath>

// A CW sender keying the DTR line of a recording serial port on a virtual clock.
namespace cubwave::test {

inline bool waitFor(const std::function<bool()>& condition, int ms = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return condition();
}

// Run lengths in ms between edges, down first, the last key-up measured to the end.
struct LineRun {
    bool down;
    double ms;
    bool operator==(const LineRun&) const = default;
};
inline std::vector<LineRun> runsOf(const std::vector<KeyEdge>& edges, qint64 endNs)
{
    std::vector<LineRun> out;
    for (size_t i = 0; i < edges.size(); ++i) {
        const qint64 next = i + 1 < edges.size() ? edges[i + 1].ns : endNs;
        out.push_back({edges[i].down, std::round((next - edges[i].ns) / 1e3) / 1e3});
    }
    return out;
}

// Reads the keyed text back from edge lengths, independent of the encoder's table: a mark of
// 2 units or more is a dash, a gap of 2 or more ends a character and one of 6 or more a word.
inline QString decode(const std::vector<KeyEdge>& edges, double unitMs)
{
    static const QMap<QString, QChar> patterns = {
        {".-", 'A'}, {"-...", 'B'}, {"-.-.", 'C'}, {"-..", 'D'}, {".", 'E'}, {"..-.", 'F'}, {"--.", 'G'},
        {"....", 'H'}, {"..", 'I'}, {".---", 'J'}, {"-.-", 'K'}, {".-..", 'L'}, {"--", 'M'}, {"-.", 'N'},
        {"---", 'O'}, {".--.", 'P'}, {"--.-", 'Q'}, {".-.", 'R'}, {"...", 'S'}, {"-", 'T'}, {"..-", 'U'},
        {"...-", 'V'}, {".--", 'W'}, {"-..-", 'X'}, {"-.--", 'Y'}, {"--..", 'Z'}, {".----", '1'}, {"-----", '0'},
        {".....", '5'}};
    QString text, symbol;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const double units = (edges[i + 1].ns - edges[i].ns) / 1e6 / unitMs;
        if (edges[i].down) {
            symbol += units < 2 ? '.' : '-';
        } else if (units >= 2) {
            text += patterns.value(symbol, '?');
            symbol.clear();
            if (units >= 6)
                text += ' ';
        }
    }
    if (!symbol.isEmpty())
        text += patterns.value(symbol, '?');
    return text;
}

class CwSenderTest : public ::testing::Test {
protected:
    CwSenderTest()
    {
        CwSettings s;
        s.cwInterface = kCwDtr;
        s.port = "1";
        s.speedWpm = "20";
        s.displayText = true;
        sender.setSettings(s);
        QObject::connect(&sender, &CwSender::sendingEnded, [this] { ++ended; });
        QObject::connect(&sender, &CwSender::problem, [this](const QString& p) { problems << p; });
        QObject::connect(&sender, &CwSender::dialogTextChanged, [this](const QString& t) { dialog << t; });
    }

    void configure(const std::function<void(CwSettings&)>& change)
    {
        CwSettings s = sender.settings();
        change(s);
        sender.setSettings(s);
    }

    void send(const QString& text)
    {
        sender.setBuffer(text);
        const int before = ended;
        sender.loopThroughCwBuffer();
        ASSERT_TRUE(waitFor([&] { return ended > before; })) << "the sending never ended";
    }

    std::vector<LineRun> dtrRuns() { return runsOf(serial.edges(ModemLine::Dtr), timer.nowNs()); }
    // Edges after the drops made when the port opened.
    std::vector<KeyEdge> keyedDtr()
    {
        auto e = serial.edges(ModemLine::Dtr);
        if (!e.empty() && !e.front().down)
            e.erase(e.begin());
        return e;
    }

    VirtualKeyingTimer timer;
    std::function<qint64()> now = [this] { return timer.nowNs(); };
    FakeSerialLine serial{now};
    FakeParallelPorts ports{now};
    CwKeyingLines lines{serial, ports, [] { return SerialPortMap(); }};
    CharacterKeyer keyer{timer};
    CwSender sender{keyer, lines};
    int ended = 0;
    QStringList problems;
    QStringList dialog;
};

}  // namespace cubwave::test
