#include "res/Artwork.h"
#include "res/ArtworkSizes.h"

// The artwork from PNGs rendered at build time, for builds without Qt Svg.

namespace {

QPixmap load(const QString& resource, const QSize& size)
{
    QPixmap pixmap(resource);
    if (pixmap.isNull() || pixmap.size() == size)
        return pixmap;
    return pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

namespace Artwork {

QPixmap ProgramPixmap(int size)
{
    // The smallest rendering at least as large, so that scaling only ever shrinks.
    int source = kPrerenderedIconSizes.back();
    for (int candidate : kPrerenderedIconSizes) {
        if (candidate >= size) {
            source = candidate;
            break;
        }
    }
    return load(QStringLiteral(u":/parafrix/parafrix-%1.png").arg(source), QSize(size, size));
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(ProgramPixmap(size));
    return icon;
}

QPixmap AllClearPicture()
{
    return load(QStringLiteral(u":/parafrix/allclear.png"), kAllClearSize);
}

} // namespace Artwork
