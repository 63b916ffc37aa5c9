// Renders the program icon to PNG files at build time, for the icon theme folders of
// an installed program:  parafrix-render-icon SVG SIZE OUTPUT [SIZE OUTPUT]...
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

namespace {

constexpr int kMaxSize = 1024;

int fail(const char* message, const char* what)
{
    std::fprintf(stderr, "parafrix-render-icon: %s: %s\n", message, what);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4 || (argc - 2) % 2 != 0) {
        std::fputs("usage: parafrix-render-icon SVG SIZE OUTPUT [SIZE OUTPUT]...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid())
        return fail("not a readable SVG picture", argv[1]);
    for (int i = 2; i + 1 < argc; i += 2) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > kMaxSize)
            return fail("size out of range 1-1024", argv[i]);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter);
        }
        if (!image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG"))
            return fail("cannot write", argv[i + 1]);
    }
    return 0;
}
