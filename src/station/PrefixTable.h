#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <vector>

namespace cubwave {

struct PrefixEntry {
    QString prefix;
    QString country;
    QString continent;      // two letters, e.g. "NA"
    float longitude = 0.f;  // degrees, west positive
    float latitude = 0.f;   // degrees, north positive
};

// What the call-field lookup found and what the main window does with it.
struct CallLocation {
    enum class Outcome {
        // Nothing to look up: leave the fields alone, but if the SPC field reads "Not Found"
        // empty the continent, bearing and distance labels.
        NoCall,
        // A US or Canadian call: the operator types the state or province, so leave the SPC
        // field as it is, show continent "NA" and no bearing or distance.
        UsaOrCanada,
        // Put location into the SPC field and continent into its label; show bearing and
        // distance to (latitude, longitude) when hasCoordinates, else empty them.
        Found,
        // location is "Not Found"; empty the continent, bearing and distance labels.
        NotFound,
    };

    Outcome outcome = Outcome::NoCall;
    QString location;
    QString continent;
    bool hasCoordinates = false;
    float latitude = 0.f;
    float longitude = 0.f;  // west positive
    int entry = 0;          // 1-based table entry that matched; 0 when none
    // For every outcome but NoCall the SPC field's whole text is selected afterwards, so that
    // typing replaces it.
    bool selectSpcText() const { return outcome != Outcome::NoCall; }
};

struct PrefixTableLoad;

// "arrlpre2.txt": call-sign prefixes with country, continent and coordinates, one entry per line
// as eight comma-separated items (prefix, country, continent, longitude, latitude and three
// that are ignored), sorted by prefix. The lookups jump to an estimate from the call's first
// character and scan only that character's block, so they rely on the sort. An empty table
// (no file) finds nothing.
class PrefixTable {
public:
    static constexpr int kMaxEntries = 10000;
    static constexpr qsizetype kMaxLineBytes = 1024;
    static constexpr qint64 kMaxFileBytes = 16LL * 1024 * 1024;
    static constexpr int kItemsPerLine = 8;

    // Reads and validates a whole file; a failure says why and holds an empty table.
    static PrefixTableLoad read(const QString& path);
    static PrefixTableLoad parse(QByteArrayView bytes);
    // The first of sharedFolder, programDataFolder, workingFolder that holds "arrlpre2.txt";
    // empty when none does (the table then stays empty).
    static QString findFile(const QString& sharedFolder, const QString& programDataFolder,
                            const QString& workingFolder);

    int size() const { return static_cast<int>(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    // i in 1..size().
    const PrefixEntry& entry(int i) const { return entries_.at(static_cast<size_t>(i - 1)); }

    // The call field's lookup: case-insensitive; a call with a short country designator after
    // its first "/" is looked up by the designator.
    CallLocation locate(QStringView call) const;
    // The spot list's lookup: exact comparisons, no US/Canada exception; the country name, or
    // empty text when nothing matches.
    QString spotCountry(QStringView call) const;
    // Completion of a typed country name: the entry nearest the end of the table whose country
    // name starts with typed; nullptr when none does.
    const PrefixEntry* completeCountry(QStringView typed, Qt::CaseSensitivity cs) const;

    static QString notFoundText() { return QStringLiteral("Not Found"); }

private:
    // The text a call is looked up by: the designator after "/" when it is short enough.
    static QStringView lookupText(QStringView call);
    // 1-based index of the longest matching prefix, 0 when none.
    int bestMatch(QStringView text, bool exact) const;
    void index();

    std::vector<PrefixEntry> entries_;
    // Upper-cased prefixes for the case-insensitive scan.
    std::vector<QString> foldedPrefixes_;
    // Entry indexes (0-based) of each distinct country name, latest last occurrence first.
    std::vector<int> countriesFromEnd_;
    int firstUsa_ = 0;  // 1-based, 0 when the table has no "USA" entry
};

struct PrefixTableLoad {
    bool ok = false;
    QString reason;  // why the file was refused; the status line shows it beside the start-up's fixed text
    PrefixTable table;
};

}  // namespace cubwave
