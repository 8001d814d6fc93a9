#pragma once

#include <QString>

namespace cubwave {

// The main window's caption: the product name and version, 69 blanks, then the maker's web
// address. The export headers take the product name from its first characters.
struct ProductCaption {
    static const QString kProgramName;  // "Cubwave Log"
    static const QString kVersion;      // "1.8"
    static const QString kMaker;
    static const QString kWebAddress;
    static const QString kEmail;
    static const QString kMainWindowCaption;

    // The first `width` characters of the caption with surrounding blanks removed: the ADIF
    // header takes 60, the summary 50.
    static QString productName(const QString& caption, int width);
};

}  // namespace cubwave
