// Renders an SVG picture into a square PNG of the given side, for the hicolor icon sizes:
//   vorlac_render_icon IN.svg OUT.png SIDE
#include "common/svgrender.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s IN.svg OUT.png SIDE\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const int side = QByteArray(argv[3]).toInt();
    const QString in = QString::fromLocal8Bit(argv[1]);
    bool readable = false;
    const QImage image = vorlac::renderSvgImage(in, QSize(side, side), &readable);
    if (!readable || side <= 0 || side > 1024) {
        std::fprintf(stderr, "%s: cannot render %s at %s\n", argv[0], argv[1], argv[3]);
        return 1;
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
