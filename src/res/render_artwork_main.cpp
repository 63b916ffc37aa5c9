// Renders the SVG artwork to the PNG files and the Windows icon that builds
// without Qt Svg use. Runs on the build host:
//   parafrix-render-artwork OUTPUT_DIR
#include "res/Artwork.h"
#include "res/ArtworkSizes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace {

QImage Render(const QString& svg, const QSize& size, const QColor& background)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return image;
}

QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void Put16(QByteArray& out, quint16 v)
{
    const quint16 le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void Put32(QByteArray& out, quint32 v)
{
    const quint32 le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

// An .ico file whose images are stored as PNG, as Windows reads them since Vista.
QByteArray IconFile(const QList<QByteArray>& pngs, const QList<int>& sizes)
{
    QByteArray out;
    Put16(out, 0); // reserved
    Put16(out, 1); // icon
    Put16(out, quint16(pngs.size()));
    quint32 offset = quint32(6 + 16 * pngs.size());
    for (qsizetype i = 0; i < pngs.size(); ++i) {
        const int size = sizes.at(i);
        out.append(char(size >= 256 ? 0 : size)); // 0 means 256
        out.append(char(size >= 256 ? 0 : size));
        out.append(char(0)); // no palette
        out.append(char(0));
        Put16(out, 1);  // planes
        Put16(out, 32); // bits per pixel
        Put32(out, quint32(pngs.at(i).size()));
        Put32(out, offset);
        offset += quint32(pngs.at(i).size());
    }
    for (const QByteArray& png : pngs)
        out += png;
    return out;
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "parafrix-render-artwork: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // A build tool: no display needed.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: parafrix-render-artwork OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;
    const QString source = QStringLiteral(PARAFRIX_ARTWORK_SOURCE_DIR);

    QList<QByteArray> pngs;
    QList<int> sizes;
    for (int size : Artwork::kPrerenderedIconSizes) {
        const QImage image = Render(source + QStringLiteral("/parafrix.svg"), QSize(size, size), Qt::transparent);
        if (image.isNull())
            return 1;
        pngs << Png(image);
        sizes << size;
        if (!Write(out.filePath(QStringLiteral("parafrix-%1.png").arg(size)), pngs.last()))
            return 1;
    }
    if (!Write(out.filePath(QStringLiteral("parafrix.ico")), IconFile(pngs, sizes)))
        return 1;

    // Opaque, as the 24-bit bitmap it stands for.
    const QImage allClear = Render(source + QStringLiteral("/allclear.svg"), Artwork::kAllClearSize, Qt::white);
    if (allClear.isNull() || !Write(out.filePath(QStringLiteral("allclear.png")), Png(allClear)))
        return 1;
    return 0;
}
