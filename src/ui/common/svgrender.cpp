#include "common/svgrender.h"

#include <QPainter>
#include <QResource>
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
    return QStringLiteral("%1-%2x%3.argb").arg(name).arg(pixelSize.width()).arg(pixelSize.height());
}

QByteArray bakedPictureBytes(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const qsizetype row = qsizetype(argb.width()) * 4;
    QByteArray bytes;
    bytes.reserve(row * argb.height());
    for (int y = 0; y < argb.height(); ++y)
        bytes.append(reinterpret_cast<const char *>(argb.constScanLine(y)), row);
    return bytes;
}

QImage bakedPicture(const QString &name, QSize pixelSize)
{
    const QResource baked(QStringLiteral(":/baked/") + bakedPictureName(name, pixelSize));
    const qint64 bytes = qint64(pixelSize.width()) * pixelSize.height() * 4;
    if (!baked.isValid() || pixelSize.isEmpty() || baked.uncompressedSize() != bytes)
        return {};
    if (baked.compressionAlgorithm() == QResource::NoCompression)
        // Read where the program holds it; the pixmap made of it copies it.
        return QImage(baked.data(), pixelSize.width(), pixelSize.height(), pixelSize.width() * 4,
                      QImage::Format_ARGB32_Premultiplied);
    const QByteArray data = baked.uncompressedData();
    return QImage(reinterpret_cast<const uchar *>(data.constData()), pixelSize.width(), pixelSize.height(),
                  pixelSize.width() * 4, QImage::Format_ARGB32_Premultiplied)
        .copy();
}

} // namespace vorlac
