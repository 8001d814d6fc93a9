// The "Other" radio's two query strings as an operator may type or paste them, its "Convert to
// Hex" box, and whatever the radio answers. Input: a flags byte (bit 0 "Convert to Hex", bit 1
// "Convert from Hex"), then the frequency query, the mode query and the reply, split at 0xFF
// bytes (never part of UTF-8 text). Checked: a poll sends each query as typed, or with hex ticked
// exactly the bytes its digit pairs spell (nothing for a mistyped one); "RigCntrl.txt" gives back
// every character a line can hold; the unprocessed-reply label stays bounded.
#include "rig/HexText.h"
#include "rig/RigPoller.h"
#include "rig/RigSettingsFile.h"

#include <QList>

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

namespace {

class FuzzLink final : public RigLink {
public:
    std::optional<qint64> pendingOutputBytes() override { return 0; }
    bool send(const QByteArray& bytes) override
    {
        sent += bytes;
        return true;
    }
    std::optional<QByteArray> takeInput() override { return std::exchange(input, QByteArray()); }
    QString failureReason() const override { return {}; }
    QByteArray sent;
    QByteArray input;
};

// What a query sends with "Convert to Hex" ticked, checked pair by pair against its text.
void checkHex(const QString& query, const QByteArray& sent)
{
    const std::optional<QByteArray> bytes = HexText::spacedToBytes(query);
    if (!bytes)
        return;
    if (!sent.contains(*bytes))
        std::abort();
    for (qsizetype i = 0; i < bytes->size(); ++i) {
        const int high = HexText::digitValue(query[3 * i].unicode());
        const int low = HexText::digitValue(query[3 * i + 1].unicode());
        if (high < 0 || low < 0 || static_cast<unsigned char>(bytes->at(i)) != high * 16 + low)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool toHex = data[0] & 1;
    const bool fromHex = data[0] & 2;
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)).split('\xFF');
    const QString frequencyQuery = QString::fromUtf8(parts.value(0));
    const QString modeQuery = QString::fromUtf8(parts.value(1));
    const QByteArray reply = parts.value(2);

    RigSettings settings;
    settings.selectRig(*RigModels::find(u"Other"));
    settings.frequencyQuery = frequencyQuery;
    settings.modeQuery = modeQuery;
    settings.convertToHex = toHex;

    // The settings file keeps each query but for what would break its line or its quotes.
    const RigSettings back = RigSettingsFile::parse(RigSettingsFile::serialize(settings));
    const auto kept = [](QString query) {
        for (QChar c : {QChar(u'"'), QChar(u'\r'), QChar(u'\n'), QChar(u'\0')})
            query.remove(c);
        return query;
    };
    if (back.frequencyQuery != kept(frequencyQuery) || back.modeQuery != kept(modeQuery) || back.rigName != "Other"
        || back.convertToHex != toHex)
        std::abort();

    FuzzLink link;
    RigPoller poller(&link);
    poller.start(RigPollSettings::from(settings, fromHex, {}), 0);
    qint64 now = 0;
    for (int cycle = 0; cycle < 3; ++cycle) {
        link.sent.clear();
        poller.tick(now += 50);  // send
        if (toHex) {
            const auto length = [](const QString& q) {
                return HexText::spacedToBytes(q).value_or(QByteArray()).size();
            };
            if (link.sent.size() != length(frequencyQuery) + length(modeQuery))
                std::abort();
            checkHex(frequencyQuery, link.sent);
            checkHex(modeQuery, link.sent);
        } else if (link.sent.size() != frequencyQuery.size() + modeQuery.size()) {
            std::abort();
        }
        link.input = reply;
        const RigTickResult result = poller.tick(now += 50);  // read
        // "Other" has no decoder: the reply is only shown.
        if (result.bandReportMHz || result.modeReport)
            std::abort();
        if (result.unprocessedLabel && result.unprocessedLabel->size() > 3 * RigPoller::kUnprocessedBytes)
            std::abort();
    }
    return 0;
}
