#include "rig/PegasusOutFile.h"

#include "core/FileRead.h"
#include "rig/ReplyNumbers.h"

#include <QDir>

#include <charconv>
#include <cmath>

namespace cubwave {

namespace {

bool isBreak(char c) { return c == '\r' || c == '\n'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One value of a sequential text file from pos: a quoted text runs to its closing quote, a bare
// one to the next comma or line break. Moves pos past the value and its separator.
std::optional<QByteArrayView> nextValue(QByteArrayView bytes, qsizetype& pos)
{
    while (pos < bytes.size() && isBlank(bytes[pos]))
        ++pos;
    if (pos >= bytes.size())
        return std::nullopt;  // past the end of the file
    QByteArrayView value;
    if (bytes[pos] == '"') {
        const qsizetype close = bytes.indexOf('"', pos + 1);
        if (close < 0)
            return std::nullopt;
        value = bytes.sliced(pos + 1, close - pos - 1);
        pos = close + 1;
        while (pos < bytes.size() && isBlank(bytes[pos]))
            ++pos;
    } else {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != ',' && !isBreak(bytes[end]))
            ++end;
        value = bytes.sliced(pos, end - pos).trimmed();
        pos = end;
    }
    if (pos < bytes.size() && bytes[pos] == ',')
        ++pos;
    else if (pos < bytes.size() && bytes[pos] == '\r')
        pos += pos + 1 < bytes.size() && bytes[pos + 1] == '\n' ? 2 : 1;
    else if (pos < bytes.size() && bytes[pos] == '\n')
        ++pos;
    else if (pos < bytes.size())
        return std::nullopt;  // text after a closing quote
    return value;
}

std::optional<float> frequencyValue(QByteArrayView text)
{
    if (text.isEmpty() || !(ReplyNumbers::isDigit(text[0]) || text[0] == '.'))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::fixed);
    // A number beyond single precision is no frequency either.
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || !std::isfinite(float(value)))
        return std::nullopt;
    return float(value);
}

}  // namespace

RigReading PegasusOutFile::parse(const QByteArray& bytes)
{
    const QByteArrayView all = QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), kMaxBytes));
    qsizetype pos = 0;
    const auto number = nextValue(all, pos);
    if (!number)
        return {};
    const auto mode = nextValue(all, pos);
    if (!mode)
        return {};
    const auto mhz = frequencyValue(*number);
    if (!mhz)
        return {};
    RigReading reading;
    reading.frequencyMHz = *mhz;
    if (!mode->isEmpty())
        reading.mode = mode->compare(QByteArrayView("CW"), Qt::CaseInsensitive) == 0 ? "CW" : "PH";
    return reading;
}

RigReading PegasusOutFile::read(const QString& folder)
{
    const FileBytes file = readFileBytes(QDir(folder).filePath(QString::fromLatin1(kFileName)), kMaxBytes);
    if (!file.ok)
        return {};
    return parse(file.bytes);
}

}  // namespace cubwave
