#include "spots/AgwFrameRules.h"

namespace cubwave {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool beginsWithDx(const QString& text) { return text.startsWith(QLatin1String("DX"), Qt::CaseInsensitive); }

bool sameCall(const QString& a, const QString& b) { return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0; }

// A connection report ('c' for a connect, 'd' for a disconnect or a failed connect) is one line
// of news, not a monitored frame with a header line.
bool isConnectionEvent(char kind) { return kind == 'c' || kind == 'd'; }

// Spaces only: a line break left at the front keeps a "DX" after it from reading as a spot.
QString trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

}  // namespace

QString AgwFrameRules::frameText(const AgwPacketEngine::Received& frame, bool stationConnected)
{
    QString text;
    text.reserve(frame.data.size() * 2);
    for (const QChar c : frame.data) {
        if (c == u'\r' || c == u'\n')
            text += kCrLf;
        else
            text += c;
    }
    if (!stationConnected && !isConnectionEvent(frame.kind)) {
        const qsizetype lf = text.indexOf(u'\n');
        text = trimSpaces(lf < 0 ? text : text.sliced(lf + 1));
    }
    if (text == kCrLf)
        text.clear();
    else if (text.size() > 4 && text.endsWith(QLatin1String("\r\n\r\n")))
        text.chop(2);
    return text;
}

AgwFrameOutcome AgwFrameRules::apply(const AgwPacketEngine::Received& frame, const QString& connectedStation,
                                     bool listDxOnly, const IsDuplicate& isDuplicate)
{
    AgwFrameOutcome out;
    const bool connected = !connectedStation.isEmpty();
    const QString text = frameText(frame, connected);
    const qsizetype dxAt = text.indexOf(QLatin1String("DX"), 0, Qt::CaseInsensitive);

    if ((dxAt == 0 || dxAt == 1) && !isDuplicate(text)) {
        out.show = text;
        // Columns count from the "DX": a line one character in would lose a frequency digit.
        out.spotLine = text.mid(dxAt);
    } else if (!text.isEmpty() && !beginsWithDx(text)) {
        if (isConnectionEvent(frame.kind)) {
            // A connect or disconnect report is shown whatever the box says: a failed connect
            // ("*** DISCONNECTED RETRYOUT ...") must not pass in silence.
            out.show = text;
        } else if (connected) {
            if (sameCall(frame.call, connectedStation) && !listDxOnly)
                out.show = text;
        } else if (!listDxOnly && !text.contains(QLatin1String("DX "), Qt::CaseInsensitive)) {
            out.show = text;
        }
    }

    if (frame.kind == 'd' && connected && sameCall(frame.call, connectedStation)) {
        out.event = AgwFrameOutcome::Event::Disconnected;
        out.station = connectedStation;
    } else if (frame.kind == 'c' && !connected && !frame.call.trimmed().isEmpty()) {
        out.event = AgwFrameOutcome::Event::Connected;
        out.station = frame.call.trimmed();
    }
    return out;
}

}  // namespace cubwave
