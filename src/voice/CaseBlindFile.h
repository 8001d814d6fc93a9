#pragma once

#include <QString>

namespace cubwave {

// Message and cue files are named as the operator or the program spells them, and found as
// they always were: without regard to the case of the file name.
class CaseBlindFile {
public:
    // path when it exists; else the entry of its folder whose name equals the file name in any
    // case (the newest when several do); else path unchanged, for the caller's "not found".
    static QString find(const QString& path);
};

}  // namespace cubwave
