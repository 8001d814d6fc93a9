#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringView>

namespace cubwave {

struct AdifCountryTableLoad;

// "ADIFCnt.txt": country names and their ADIF DXCC entity numbers, one row per line as a quoted
// name and a number ("Canada",1). The first row of a name counts; names compare without regard
// to case. Lookups go through a hash, as the export asks once per contact.
class AdifCountryTable {
public:
    static const QString kFileName;
    static constexpr int kMaxRows = 1000;
    static constexpr qsizetype kMaxLineBytes = 1024;

    // The first of sharedFolder, programDataFolder, workingFolder that holds the table; empty
    // when none does.
    static QString findFile(const QString& sharedFolder, const QString& programDataFolder,
                            const QString& workingFolder);
    // Reads rows until the end of the file or the 1000th row. A missing file, a file without a
    // single row or a malformed row fails with a reason that names the file (and the line).
    static AdifCountryTableLoad read(const QString& path);
    static AdifCountryTableLoad parse(QByteArrayView bytes, const QString& fileName);

    int size() const { return rows_; }
    // The number of the first row named country (surrounding blanks ignored); 0 when none.
    int dxcc(QStringView country) const;

private:
    QHash<QString, int> numbers_;  // case-folded name -> number
    int rows_ = 0;
};

struct AdifCountryTableLoad {
    bool ok = false;
    QString error;  // for the operator: names the file, and the line when a row is malformed
    AdifCountryTable table;
};

}  // namespace cubwave
