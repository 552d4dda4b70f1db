// Renders an SVG picture into a square PNG of the given side, for the hicolor icon sizes:
//   vorlac_render_icon IN.svg OUT.png SIDE
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s IN.svg OUT.png SIDE\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const int side = QByteArray(argv[3]).toInt();
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid() || side <= 0 || side > 1024) {
        std::fprintf(stderr, "%s: cannot render %s at %s\n", argv[0], argv[1], argv[3]);
        return 1;
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        renderer.render(&p, QRectF(0, 0, side, side));
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
