#pragma once

#include <QString>
#include <QStringView>

namespace cubwave {

// The time of a contact as the export files write it. The edit window keeps a time as typed, so
// "7:5" or "9:05" can stand in the log; a time that reads as a time of day is written as its
// four digits HHMM (7:5 gives 0705, 18:34:56 gives 1834). Only a time that does not read falls
// back to the character rules below.

// ADIF TIME_ON, four characters. Fallback: blanks removed; with a ":", the part before the first
// ":" and the two characters after it; then the first four characters, padded on the left with
// "0" (an empty time gives 0000).
QString adifTimeOn(QStringView stored);

// The summary's time column. Fallback: the first two characters and the fourth and fifth.
QString summaryTime(QStringView stored);

// The ADIF QSO_DATE, "YYYYMMDD", or empty when the date does not read.
QString adifDate(QStringView stored);

// The summary's date column, "yyyy-mm-dd", or the stored text when the date does not read.
QString summaryDate(QStringView stored);

}  // namespace cubwave
