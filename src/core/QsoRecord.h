#pragma once

#include <QString>

#include <array>

namespace cubwave {

// One contact: eleven text fields, in the order every writer emits them.
struct QsoRecord {
    enum Field { Call, Age, Other, Spare, Spc, Date, Time, Mode, Band, Name, Frequency, FieldCount };

    std::array<QString, FieldCount> fields;

    QString& operator[](Field f) { return fields[f]; }
    const QString& operator[](Field f) const { return fields[f]; }

    const QString& call() const { return fields[Call]; }
    const QString& spc() const { return fields[Spc]; }
    const QString& mode() const { return fields[Mode]; }
    const QString& band() const { return fields[Band]; }

    bool operator==(const QsoRecord&) const = default;
};

}  // namespace cubwave
