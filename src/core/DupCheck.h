#pragma once

#include "core/LogStore.h"
#include "core/RecentRow.h"

#include <QString>

#include <optional>
#include <vector>

namespace cubwave {

// The exact duplicate scan run when the call field is left or a contact is committed. A duplicate
// is the same call on the current band in the current mode; it is reported, never refused.
// The scan also fills empty exchange fields from earlier contacts of the call and can list them.
class DupCheck {
public:
    // The exchange fields as they stand in the entry line.
    struct Fields {
        QString other;
        QString spc;
        QString name;
        QString age;
    };

    struct Input {
        QString call;
        QString band;
        QString mode;
        Fields fields;
        bool listPrevious = false;
    };

    struct Duplicate {
        int recNo = 0;
        // "Duplicate on <band> <call> <date> <time>  Rec#  <n>", from the record as stored.
        QString report;
    };

    struct Result {
        // Text to put (and select, so typing replaces it) into each field that was empty: the
        // first non-empty value among the earlier contacts of the call up to where the scan
        // stopped. Nothing for a field that already held text or that no contact could fill.
        std::optional<QString> fillOther;
        std::optional<QString> fillSpc;
        std::optional<QString> fillName;
        std::optional<QString> fillAge;
        // With list-previous on, the recent-contacts list is replaced by these rows (oldest
        // first, ending with the duplicate if there is one), even when there are none.
        bool replaceList = false;
        std::vector<RecentRow> rows;
        // The earliest contact of the call on this band and mode; the status line shows its
        // report in red and the "Dupe" cue is announced.
        std::optional<Duplicate> duplicate;
    };

    static Result run(const LogStore& store, const Input& input);

    // The status-line report for record recNo.
    static QString report(int recNo, const QsoRecord& record);
};

}  // namespace cubwave
