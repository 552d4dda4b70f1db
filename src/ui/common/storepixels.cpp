#include "common/storepixels.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>
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

} // namespace vorlac
