#pragma once

#include "core/QsoRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace cubwave::test {

// One contact, every field named; the defaults are a plain 20 m CW contact.
struct Contact {
    QString call = QStringLiteral("K1ABC");
    QString age = QStringLiteral("12");
    QString other = QStringLiteral("Blue");
    QString spc = QStringLiteral("CT");
    QString date = QStringLiteral("2012/06/09");
    QString time = QStringLiteral("18:34:56");
    QString mode = QStringLiteral("CW");
    QString band = QStringLiteral("20");
    QString name = QStringLiteral("Sam");
    QString freq;

    QsoRecord record() const
    {
        QsoRecord r;
        r[QsoRecord::Call] = call;
        r[QsoRecord::Age] = age;
        r[QsoRecord::Other] = other;
        r[QsoRecord::Spc] = spc;
        r[QsoRecord::Date] = date;
        r[QsoRecord::Time] = time;
        r[QsoRecord::Mode] = mode;
        r[QsoRecord::Band] = band;
        r[QsoRecord::Name] = name;
        r[QsoRecord::Frequency] = freq;
        return r;
    }
};

// An ADI reader written for the tests: it takes each tag's length as a count of bytes, as the
// ADIF standard says, and returns the records as (lower-case name, value) pairs in file
// order. Anything that does not fit the format ends the reading with ok = false.
struct AdiRead {
    bool ok = true;
    QByteArray headerText;  // everything before <eoh>
    QList<std::pair<QByteArray, QByteArray>> headerFields;
    QList<QList<std::pair<QByteArray, QByteArray>>> records;
};

inline AdiRead readAdi(const QByteArray& bytes)
{
    AdiRead out;
    qsizetype pos = 0;
    const qsizetype eoh = bytes.toLower().indexOf("<eoh>");
    if (eoh >= 0) {
        out.headerText = bytes.left(eoh);
        // The header's fields follow its free text.
        pos = bytes.indexOf('<');
    }
    QList<std::pair<QByteArray, QByteArray>> current;
    bool inHeader = eoh >= 0;
    while (true) {
        const qsizetype open = bytes.indexOf('<', pos);
        if (open < 0)
            break;
        if (inHeader && open == eoh) {
            out.headerFields = current;
            current.clear();
            inHeader = false;
            pos = eoh + 5;
            continue;
        }
        const qsizetype close = bytes.indexOf('>', open);
        if (close < 0) {
            out.ok = false;
            break;
        }
        const QList<QByteArray> spec = bytes.mid(open + 1, close - open - 1).split(':');
        const QByteArray name = spec[0].toLower();
        if (name == "eor") {
            out.records.append(current);
            current.clear();
            pos = close + 1;
            continue;
        }
        bool numeric = false;
        const qsizetype length = spec.size() >= 2 ? spec[1].toLongLong(&numeric) : -1;
        if (!numeric || length < 0 || close + 1 + length > bytes.size()) {
            out.ok = false;
            break;
        }
        current.append({name, bytes.mid(close + 1, length)});
        pos = close + 1 + length;
    }
    if (!current.isEmpty())
        out.ok = false;  // fields after the last <eor>
    return out;
}

inline QByteArray field(const QList<std::pair<QByteArray, QByteArray>>& record, const QByteArray& name)
{
    for (const auto& [n, v] : record) {
        if (n == name)
            return v;
    }
    return {};
}

inline bool hasField(const QList<std::pair<QByteArray, QByteArray>>& record, const QByteArray& name)
{
    for (const auto& [n, v] : record) {
        if (n == name)
            return true;
    }
    return false;
}

}  // namespace cubwave::test
