// Renders the scalable program icon to a square PNG of the given size; run at
// build time for each size of the hicolor icon theme, so the bitmaps can never
// drift from the drawing they come from.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fputs("usage: ponderix_render_icon ICON.svg SIZE OUT.png\n", stderr);
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    bool sizeOk = false;
    const int size = QByteArray(argv[2]).toInt(&sizeOk);
    const QString target = QString::fromLocal8Bit(argv[3]);
    if (!sizeOk || size <= 0) {
        std::fprintf(stderr, "ponderix_render_icon: bad size %s\n", argv[2]);
        return 2;
    }

    QSvgRenderer renderer(source);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "ponderix_render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
    }
    if (!image.convertToFormat(QImage::Format_ARGB32).save(target, "PNG")) {
        std::fprintf(stderr, "ponderix_render_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
