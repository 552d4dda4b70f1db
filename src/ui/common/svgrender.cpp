#include "common/svgrender.h"

#include <QPainter>
#include <QSvgRenderer>

namespace vorlac
{

QImage renderSvgImage(const QString &svgPath, QSize pixelSize, bool *readable)
{
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(svgPath);
    if (readable)
        *readable = renderer.isValid();
    if (renderer.isValid()) {
        QPainter p(&image);
        renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(image.size())));
    }
    return image;
}

QString bakedPictureName(const QString &name, QSize pixelSize)
{
    return QStringLiteral("%1-%2x%3.png").arg(name).arg(pixelSize.width()).arg(pixelSize.height());
}

} // namespace vorlac
