#pragma once

#include "core/QsoRecord.h"
#include "export/AdifCountryTable.h"
#include "export/AdifPower.h"

#include <QByteArray>
#include <QString>

#include <span>

namespace cubwave {

// What one record's ADIF fields are made of, before they are written.
struct AdifValues {
    QString date8;     // YYYYMMDD, empty when the date does not read
    QString time4;     // HHMM
    QString state;     // a US state, empty otherwise
    QString country;   // "USA", "Hawaii", "Alaska", "Canada", a DX location, or empty
    int dxcc = 0;      // 0 when there is no country or the table has no row for it
    QString modeText;  // "SSB" or "CW"
    QString comment;
    QString freq;      // the frequency to write; empty when there is none or it lies outside the band
};

// The ADIF (ADI) text of the whole log: a header and four lines per contact, every line ended
// by CR LF, every value in ASCII so that a tag's length counts bytes and characters alike.
class AdifWriter {
public:
    // Header lines 2 and 3: the maker, and where to reach the maker.
    static QString authorLine();
    static QString contactLine();

    AdifWriter(const AdifCountryTable& countries, AdifPower power);

    // productName: the first 60 characters of the main window's caption, trimmed; exportedAt:
    // the local date and time in the platform's default text.
    QByteArray document(const QString& productName, const QString& exportedAt,
                        std::span<const QsoRecord> records) const;
    void appendHeader(QByteArray& out, const QString& productName, const QString& exportedAt) const;
    void appendRecord(QByteArray& out, const QsoRecord& record) const;

    AdifValues values(const QsoRecord& record) const;

private:
    const AdifCountryTable& countries_;
    AdifPower power_;
    // The numbers of the four countries the export names itself, looked up once.
    int usaDxcc_ = 0;
    int canadaDxcc_ = 0;
    int hawaiiDxcc_ = 0;
    int alaskaDxcc_ = 0;
};

}  // namespace cubwave
