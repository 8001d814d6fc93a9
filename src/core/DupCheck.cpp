#include "core/DupCheck.h"

#include "core/TextMatch.h"

namespace cubwave {

namespace {

// Fills slot from value when the field was empty and nothing has filled it yet.
void fillFrom(std::optional<QString>& slot, bool fieldEmpty, const QString& value)
{
    if (fieldEmpty && !slot && !value.isEmpty())
        slot = value;
}

}  // namespace

DupCheck::Result DupCheck::run(const LogStore& store, const Input& in)
{
    Result result;
    result.replaceList = in.listPrevious;
    const bool otherEmpty = in.fields.other.isEmpty();
    const bool spcEmpty = in.fields.spc.isEmpty();
    const bool nameEmpty = in.fields.name.isEmpty();
    const bool ageEmpty = in.fields.age.isEmpty();

    const std::vector<QsoRecord>& records = store.records();
    for (size_t i = 0; i < records.size(); ++i) {
        const QsoRecord& r = records[i];
        if (!TextMatch::equalNoCase(r.call(), in.call))
            continue;
        const int recNo = static_cast<int>(i) + 1;
        if (in.listPrevious)
            result.rows.push_back(RecentRow::fromRecord(recNo, r));
        fillFrom(result.fillOther, otherEmpty, r[QsoRecord::Other]);
        fillFrom(result.fillSpc, spcEmpty, r[QsoRecord::Spc]);
        fillFrom(result.fillName, nameEmpty, r[QsoRecord::Name]);
        fillFrom(result.fillAge, ageEmpty, r[QsoRecord::Age]);
        if (TextMatch::equalNoCase(r.band(), in.band) && TextMatch::equalNoCase(r.mode(), in.mode)) {
            result.duplicate = Duplicate{recNo, report(recNo, r)};
            break;
        }
    }
    return result;
}

QString DupCheck::report(int recNo, const QsoRecord& r)
{
    // The number is written as a signed number with a blank for its sign, so two blanks follow
    // "Rec#".
    return QStringLiteral("Duplicate on ") + r.band() + u' ' + r.call() + u' ' + r[QsoRecord::Date] + u' '
         + r[QsoRecord::Time] + QStringLiteral("  Rec# ") + (recNo >= 0 ? QStringLiteral(" ") : QString())
         + QString::number(recNo);
}

}  // namespace cubwave
