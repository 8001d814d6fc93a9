#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace cubwave {

// The operator's own start-up picture ("splash.jpg" in the shared folder).
class SplashPicture {
public:
    static constexpr const char* kFileName = "splash.jpg";
    // A picture is decoded whole before it is scaled, so its size is capped: a huge or hostile
    // file must not take the program's memory at start-up.
    static constexpr qint64 kMaxPixels = 50'000'000;

    // The picture read to fit inside fitInto (its proportions kept); nothing when the file is
    // missing, unreadable, not a picture or larger than maxPixels.
    static std::optional<QImage> read(const QString& path, QSize fitInto, qint64 maxPixels = kMaxPixels);
};

}  // namespace cubwave
