#include "rig/RigctldReplies.h"

#include <array>
#include <cmath>

namespace cubwave {

void RigctldReplyReader::expect(int valueLines)
{
    held_.clear();
    reply_ = {};
    reason_.clear();
    valueLines_ = valueLines;
    expecting_ = true;
}

void RigctldReplyReader::reset()
{
    held_.clear();
    reply_ = {};
    reason_.clear();
    expecting_ = false;
}

RigctldReplyReader::Status RigctldReplyReader::malformed(const QString& reason)
{
    reason_ = reason;
    expecting_ = false;
    held_.clear();
    return Status::Malformed;
}

RigctldReplyReader::Status RigctldReplyReader::feed(QByteArrayView bytes)
{
    if (!expecting_) {
        if (!bytes.isEmpty())
            return malformed(QStringLiteral("rigctld sent data nobody asked for"));
        return Status::NeedMore;
    }
    held_.append(bytes);
    while (true) {
        const qsizetype end = held_.indexOf('\n');
        if (end < 0) {
            if (held_.size() > kMaxLineBytes)
                return malformed(QStringLiteral("rigctld sent a line longer than %1 bytes").arg(kMaxLineBytes));
            return Status::NeedMore;
        }
        if (end > kMaxLineBytes)
            return malformed(QStringLiteral("rigctld sent a line longer than %1 bytes").arg(kMaxLineBytes));
        QByteArray line = held_.left(end);
        held_.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith("RPRT ")) {
            bool ok = false;
            const int code = line.mid(5).toInt(&ok);
            if (!ok)
                return malformed(QStringLiteral("rigctld sent an unreadable report: %1").arg(QString::fromLatin1(line)));
            // A get command's value lines come before no report; a report among them is no answer.
            if (!reply_.lines.isEmpty())
                return malformed(QStringLiteral("rigctld's answer broke off with RPRT %1").arg(code));
            reply_.rprt = code;
            break;
        }
        if (valueLines_ == 0)
            return malformed(QStringLiteral("rigctld answered a setting with \"%1\"")
                                 .arg(QString::fromLatin1(line.left(kMaxLineBytes))));
        reply_.lines.append(line);
        if (reply_.lines.size() == valueLines_)
            break;
    }
    expecting_ = false;
    // Anything after the answer belongs to no request.
    if (!held_.isEmpty())
        return malformed(QStringLiteral("rigctld sent more than the answer"));
    return Status::Done;
}

std::optional<qint64> RigctldValues::frequencyHz(QByteArrayView line)
{
    if (line.isEmpty() || line.size() > 20)
        return std::nullopt;
    qsizetype digits = 0;
    qsizetype i = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        ++i;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < line.size()) {
        if (line[i] != '.')
            return std::nullopt;
        for (++i; i < line.size(); ++i) {
            if (line[i] < '0' || line[i] > '9')
                return std::nullopt;
        }
    }
    bool ok = false;
    const double hz = line.toByteArray().toDouble(&ok);
    if (!ok || !(hz >= 0.5) || hz >= 1e12)
        return std::nullopt;
    return qint64(std::llround(hz));
}

bool RigctldValues::isModeName(QByteArrayView line)
{
    if (line.isEmpty() || line.size() > 16)
        return false;
    for (const char c : line) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

bool RigctldValues::isPassband(QByteArrayView line)
{
    if (line.isEmpty() || line.size() > 12)
        return false;
    const qsizetype start = line[0] == '-' ? 1 : 0;
    if (start == line.size())
        return false;
    for (qsizetype i = start; i < line.size(); ++i) {
        if (line[i] < '0' || line[i] > '9')
            return false;
    }
    return true;
}

const char* RigctldValues::loggingMode(QByteArrayView modeName)
{
    return modeName == "CW" || modeName == "CWR" ? "CW" : "PH";
}

QByteArray RigctldValues::hamlibMode(QStringView mode)
{
    struct Name {
        const char16_t* ours;
        const char* hamlib;
    };
    // The tune window's and the band plan's mode texts; reversed sidebands and the data modes
    // by Hamlib's names.
    static constexpr std::array<Name, 11> kNames{{{u"CW", "CW"},
                                                  {u"CW-R", "CWR"},
                                                  {u"LSB", "LSB"},
                                                  {u"USB", "USB"},
                                                  {u"AM", "AM"},
                                                  {u"FM", "FM"},
                                                  {u"RTTY", "RTTY"},
                                                  {u"RTTY-R", "RTTYR"},
                                                  {u"FSK", "RTTY"},
                                                  {u"DIG", "PKTUSB"},
                                                  {u"PKT", "PKTUSB"}}};
    for (const Name& name : kNames) {
        if (mode.compare(QStringView(name.ours), Qt::CaseInsensitive) == 0)
            return QByteArray(name.hamlib);
    }
    return {};
}

QString RigctldValues::errorText(int rprt)
{
    static constexpr std::array<const char*, 21> kTexts{
        "Command completed successfully",
        "Invalid parameter",
        "Invalid configuration",
        "Memory shortage",
        "Feature not implemented",
        "Communication timed out",
        "IO error",
        "Internal Hamlib error",
        "Protocol error",
        "Command rejected by the rig",
        "Command performed, but arg truncated, result not guaranteed",
        "Feature not available",
        "Target VFO unaccessible",
        "Communication bus error",
        "Communication bus collision",
        "NULL RIG handle or invalid pointer parameter",
        "Invalid VFO",
        "Argument out of domain of func",
        "Function deprecated",
        "Security error password not provided or crypto failure",
        "Rig is not powered on",
    };
    const qint64 index = -qint64(rprt);
    if (index >= 0 && index < qint64(kTexts.size()))
        return QString::fromLatin1(kTexts[size_t(index)]);
    return QStringLiteral("Hamlib error %1").arg(rprt);
}

}  // namespace cubwave
