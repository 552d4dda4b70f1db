#include "render/viewtrail.h"

#include "common/segmentclip.h"
#include "render/platefill.h"
#include "render/rasteriser.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

// A stroke is cleared as boxes along it, each a few pixels on a side: a diagonal line's own
// box would be most of the window.
constexpr double kPiece = 16;
// A pixel of a line walked costs about as much as six filled in a row (measured): past the
// picture's own area, clearing the whole of it is quicker (401 rays of white light).
constexpr double kWalkedPixel = 6;

// The steps of a line's walk that lie inside a picture of `size` grown by `margin`: the part of the
// line inside, along its main direction.
double stepsInside(double x1, double y1, double x2, double y2, QSize size, double margin)
{
    const auto inside = clipSegment({x1, y1}, {x2, y2},
                                    QRectF(-margin, -margin, size.width() + 2 * margin, size.height() + 2 * margin));
    return inside ? (inside->second - inside->first) * std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1 : 0;
}

void fillRect(QImage &target, const QRect &r, quint32 pixel)
{
    const QRect in = r & target.rect();
    if (in.isEmpty())
        return;
    uchar *bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    for (int y = in.top(); y <= in.bottom(); ++y)
        fillPixels(reinterpret_cast<quint32 *>(bits + y * stride) + in.left(), in.width(), pixel);
}

} // namespace

void ViewTrail::clear(QImage &target, quint32 background, double rasterScale)
{
    if (target.format() == QImage::Format_RGB32)
        background |= 0xff000000u;
    // Past the picture's own area, clearing the whole of it is quicker.
    const bool same =
        m_known && !m_everything && m_cost < double(target.width()) * target.height() && m_bits == target.constBits() &&
        m_size == target.size() && m_bytesPerLine == target.bytesPerLine() && m_background == background &&
        (target.format() == QImage::Format_RGB32 || target.format() == QImage::Format_ARGB32_Premultiplied);
    if (same) {
        LineRasteriser raster(target, rasterScale);
        raster.setMode(PenMode::Copy);
        for (const RasterLine &l : m_lines)
            raster.drawWideLine(l.x1, l.y1, l.x2, l.y2, background, false, l.width);
        for (const QRect &r : m_rects)
            fillRect(target, r, background);
    } else {
        fillImage(target, background);
    }
    m_lines.clear();
    m_rects.clear();
    m_cost = 0;
    m_everything = false;
    m_known = true;
    m_bits = target.constBits();
    m_size = target.size();
    m_bytesPerLine = target.bytesPerLine();
    m_background = background;
}

void ViewTrail::addRasterLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, int width)
{
    m_lines.push_back({x1, y1, x2, y2, width});
    // The walk visits only the steps inside the picture.
    m_cost += kWalkedPixel * width * stepsInside(double(x1), double(y1), double(x2), double(y2), m_size, width);
}

void ViewTrail::addRect(const QRectF &r)
{
    // Two pixels round it: antialiased edges, and rounding.
    m_rects.push_back(m_toDevice.mapRect(r).toAlignedRect().adjusted(-2, -2, 2, 2));
    m_cost += double(m_rects.back().width()) * m_rects.back().height();
}

void ViewTrail::addDeviceStroke(QPointF a, QPointF b, double margin)
{
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    if (!std::isfinite(length)) {
        m_everything = true;
        return;
    }
    const int pieces = std::max(1, int(std::ceil(length / kPiece)));
    if (pieces > 100000) {
        m_everything = true;
        return;
    }
    QPointF from = a;
    for (int k = 1; k <= pieces; ++k) {
        const QPointF to = a + (b - a) * (double(k) / pieces);
        const QRect box = QRectF(from, to).normalized().adjusted(-margin, -margin, margin, margin).toAlignedRect();
        m_rects.push_back(box);
        m_cost += double(box.width()) * box.height();
        from = to;
    }
}

void ViewTrail::addStroke(const QLineF &line, double penWidth)
{
    // Half the pen scaled, its square cap, and two pixels of antialiasing.
    const double scale = std::sqrt(std::abs(m_toDevice.determinant()));
    addDeviceStroke(m_toDevice.map(line.p1()), m_toDevice.map(line.p2()), penWidth * scale / 2 + 2);
}

} // namespace vorlac
