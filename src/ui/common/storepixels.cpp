#include "common/storepixels.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace vorlac
{

QImage storePixels(QWidget &window, QPainter &p, QSize size)
{
    if (!window.isWindow())
        return {};
    QBackingStore *store = window.backingStore();
    auto *pixels = store ? dynamic_cast<QImage *>(store->paintDevice()) : nullptr;
    if (!pixels || !p.paintEngine() || p.paintEngine()->paintDevice() != pixels || pixels->width() < size.width() ||
        pixels->height() < size.height() ||
        (pixels->format() != QImage::Format_RGB32 && pixels->format() != QImage::Format_ARGB32_Premultiplied))
        return {};
    // constBits keeps the store's image from detaching: the pixels written are the store's own.
    return QImage(const_cast<uchar *>(std::as_const(*pixels).constBits()), size.width(), size.height(),
                  pixels->bytesPerLine(), pixels->format());
}

QSize devicePixels(QSize logical, qreal ratio)
{
    return {std::max(1, qRound(logical.width() * ratio)), std::max(1, qRound(logical.height() * ratio))};
}

const QImage &LazyPicture::get(QSize pixels, qreal ratio, const std::function<void(QImage &)> &draw)
{
    if (m_stale) {
        if (m_image.size() != pixels)
            m_image = QImage(pixels, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(1.0);
        draw(m_image);
        m_image.setDevicePixelRatio(ratio);
        m_stale = false;
    }
    return m_image;
}

} // namespace vorlac
