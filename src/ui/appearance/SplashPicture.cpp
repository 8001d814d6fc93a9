#include "ui/appearance/SplashPicture.h"

#include <QImageReader>

namespace cubwave {

std::optional<QImage> SplashPicture::read(const QString& path, QSize fitInto, qint64 maxPixels)
{
    if (fitInto.isEmpty())
        return std::nullopt;
    QImageReader reader(path);
    // Decide by the bytes, not by the name: a renamed PNG still shows.
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || qint64(size.width()) * size.height() > maxPixels)
        return std::nullopt;
    // Scaled while decoding where the format allows it (JPEG does), so the full picture is
    // never held at once.
    reader.setScaledSize(size.scaled(fitInto, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

}  // namespace cubwave
