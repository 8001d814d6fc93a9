#pragma once

#include "core/QsoRecord.h"
#include "export/AdifCountryTable.h"
#include "export/AdifPower.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <span>
#include <vector>

namespace cubwave {

// What one record's ADIF fields are made of, before they are written.
struct AdifValues {
    QString date8;     // YYYYMMDD, empty when the date does not read
    QString time4;     // HHMM
    QString state;     // a US state as typed, a Canadian province's ADIF code, or empty
    QString country;   // "USA", "Hawaii", "Alaska", "Canada", a DX location, or empty
    int dxcc = 0;      // 0 when there is no country or the table has no row for it
    QString modeText;  // "SSB" or "CW"
    QString comment;
    QString freq;      // the frequency to write; empty when there is none or it lies outside the band
    int age = -1;      // AGE in whole years, 0 to 120; -1 when the stored age is not one
    // A date, a time of day and a call: without any of them logbooks refuse the contact.
    bool logbookReady = true;
};

// The header of an export: the free text the importing program shows and the fields it reads.
struct AdifHeader {
    QString productName;  // the first 60 characters of the main window's caption, trimmed
    QString exportedAt;   // the local date and time in the platform's default text
    QDateTime createdUtc;  // CREATED_TIMESTAMP; left out when not valid
};

struct AdifDocument {
    QByteArray text;
    // The log line numbers (1 for the first contact) of the contacts that are not logbookReady.
    std::vector<qsizetype> refusedLines;
};

// The ADIF (ADI) text of the whole log: a header and one record per contact, every line ended
// by CR LF, every value in ASCII so that a tag's length counts bytes and characters alike.
// A record is the log's four lines; the station's call and the contact's age, when there are
// any, stand on a line of their own before <eor>.
class AdifWriter {
public:
    static constexpr char kAdifVersion[] = "3.1.4";

    // Header lines 2 and 3: the maker, and where to reach the maker.
    static QString authorLine();
    static QString contactLine();

    // ownCall: the station's own call, written as STATION_CALLSIGN and OPERATOR in upper case;
    // empty leaves both out.
    AdifWriter(const AdifCountryTable& countries, AdifPower power, const QString& ownCall = {});

    AdifDocument document(const AdifHeader& header, std::span<const QsoRecord> records) const;
    void appendHeader(QByteArray& out, const AdifHeader& header) const;
    void appendRecord(QByteArray& out, const QsoRecord& record) const;

    AdifValues values(const QsoRecord& record) const;

private:
    void appendRecord(QByteArray& out, const QsoRecord& record, const AdifValues& v) const;

    const AdifCountryTable& countries_;
    AdifPower power_;
    // "<Station_Callsign:L>CALL <Operator:L>CALL", written once here; empty without an own call.
    QByteArray stationTags_;
    // The numbers of the four countries the export names itself, looked up once.
    int usaDxcc_ = 0;
    int canadaDxcc_ = 0;
    int hawaiiDxcc_ = 0;
    int alaskaDxcc_ = 0;
};

}  // namespace cubwave
