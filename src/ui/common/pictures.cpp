#include "common/pictures.h"

#include "common/rounding.h"
#include "common/svgrender.h"
#include "model/colour.h"
#include "model/linelamps.h"

#include <QFile>
#include <QRegularExpression>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

// The picture the build baked for this size in device pixels (src/ui/resources/baked.txt), or a
// null image when there is none or it would not be what drawing gives here: SVG text is laid out
// at the paint device's logical DPI, and a new image takes the screen's.
QImage bakedHere(const QString &name, QSize pixelSize)
{
    const QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    if (probe.logicalDpiX() != kBakedDpi || probe.logicalDpiY() != kBakedDpi)
        return {};
    return bakedPicture(name, pixelSize);
}

} // namespace

QPixmap svgPicture(const QString &name, QSize size, qreal devicePixelRatio)
{
    const QSize pixelSize = size * devicePixelRatio;
    QImage image = bakedHere(name, pixelSize);
    if (image.isNull())
        image = renderSvgImage(QStringLiteral(":/resources/%1.svg").arg(name), pixelSize);
    QPixmap pm = QPixmap::fromImage(image);
    pm.setDevicePixelRatio(devicePixelRatio);
    return pm;
}

QCursor svgCursor(const QString &name)
{
    int hx = 0, hy = 0;
    QFile f(QStringLiteral(":/resources/%1.svg").arg(name));
    if (f.open(QIODevice::ReadOnly)) {
        static const QRegularExpression re(QStringLiteral("hotspot:\\s*(\\d+)\\s+(\\d+)"));
        const auto m = re.match(QString::fromUtf8(f.read(256)));
        if (m.hasMatch()) {
            hx = m.captured(1).toInt();
            hy = m.captured(2).toInt();
        }
    }
    return QCursor(svgPicture(name, QSize(32, 32)), hx, hy);
}

QPixmap spectrumStrip(QSize size, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 1.0 ? devicePixelRatio : 1.0;
    QImage image(QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)), QImage::Format_RGB32);
    const int w = size.width();
    for (int x = 0; x < image.width(); ++x) {
        // The column's place in logical pixels: at ratio 1 exactly the old columns.
        const double at = x / ratio;
        const int lambda =
            std::clamp(kMinWavelength + toInt16(at * (kMaxWavelength - kMinWavelength) / std::max(1, w - 1)),
                       kMinWavelength, kMaxWavelength);
        Rgb c = 0;
        WavelengthColour(lambda, c);
        for (int y = 0; y < image.height(); ++y)
            image.setPixel(x, y, toQRgb(c));
    }
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

QPixmap lampSpectrumStrip(int lamp, QSize size, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 1.0 ? devicePixelRatio : 1.0;
    QImage image(QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)), QImage::Format_RGB32);
    image.fill(0xff000000u);
    if (lamp >= 0 && lamp < lineLampCount()) {
        const std::span<const SpectralLine> lines = lineLamps()[std::size_t(lamp)].lines;
        double strongest = 0;
        for (const SpectralLine &l : lines)
            strongest = std::max(strongest, l.intensity);
        const double span = kMaxWavelength - kMinWavelength;
        for (const SpectralLine &l : lines) {
            const int x = std::clamp(int(std::lround((l.wavelength - kMinWavelength) / span * (image.width() - 1))), 0,
                                     image.width() - 1);
            const QRgb c = toQRgb(lineColour(l.wavelength, l.intensity / strongest));
            // Lines closer than a pixel share it: the brighter one shows.
            for (int y = 0; y < image.height(); ++y)
                image.setPixel(x, y, image.pixel(x, y) | c);
        }
    }
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

QPixmap lampPicture(qreal devicePixelRatio)
{
    return svgPicture(QStringLiteral("lamp"), QSize(32, 32), devicePixelRatio > 1.0 ? devicePixelRatio : 1.0);
}

} // namespace vorlac
