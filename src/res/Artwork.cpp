#include "res/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {

QPixmap render(const QString& resource, const QSize& size, const QColor& background)
{
    QPixmap pixmap(size);
    pixmap.fill(background);
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return {};
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return pixmap;
}

} // namespace

namespace Artwork {

QPixmap ProgramPixmap(int size)
{
    return render(QStringLiteral(":/parafrix/parafrix.svg"), QSize(size, size), Qt::transparent);
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
    // An opaque picture, as a 24-bit bitmap is.
    return render(QStringLiteral(":/parafrix/allclear.svg"), kAllClearSize, Qt::white);
}

} // namespace Artwork
