#include "render/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace vorlac
{

// Coordinates this far out are cut down first; the picture is a few hundred pixels wide, so
// the pixels inside cannot change noticeably and the 64-bit arithmetic cannot overflow.
constexpr double kCoordLimit = 1.0e7;

std::int64_t roundCoord(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<std::int64_t>(std::nearbyint(std::clamp(v, -kCoordLimit, kCoordLimit)));
}

namespace
{

// Smallest step i >= 0 with minorOffset(i) >= target, where minorOffset(i) =
// floor((2 i dMinor + dMajor) / (2 dMajor)), non-decreasing in i.
std::int64_t firstStepReaching(std::int64_t target, std::int64_t dMajor, std::int64_t dMinor)
{
    if (target <= 0)
        return 0;
    if (dMinor == 0)
        return std::numeric_limits<std::int64_t>::max();
    // minorOffset(i) >= target  <=>  2 i dMinor + dMajor >= 2 dMajor target
    const std::int64_t num = 2 * dMajor * target - dMajor;
    const std::int64_t den = 2 * dMinor;
    return (num + den - 1) / den;
}

} // namespace

LineRasteriser::LineRasteriser(QImage &image, double scale)
    : m_bits(reinterpret_cast<QRgb *>(image.bits())), m_stride(image.bytesPerLine() / 4), m_width(image.width()),
      m_height(image.height()), m_scale(std::isfinite(scale) && scale >= 1.0 ? scale : 1.0),
      m_lineWidth(std::max(1, static_cast<int>(std::lround(m_scale)))),
      m_dashOn(std::max<std::int64_t>(1, std::llround(kDashOn * m_scale))),
      m_dashPeriod(std::max<std::int64_t>(2, std::llround(kDashPeriod * m_scale)))
{
}

void LineRasteriser::drawLine(double x1, double y1, double x2, double y2, QRgb colour, bool dashed)
{
    if (m_scale == 1.0) {
        drawLine(roundCoord(x1), roundCoord(y1), roundCoord(x2), roundCoord(y2), colour, dashed);
        return;
    }
    const std::int64_t ax = roundCoord(x1 * m_scale), ay = roundCoord(y1 * m_scale);
    const std::int64_t bx = roundCoord(x2 * m_scale), by = roundCoord(y2 * m_scale);
    drawWideLine(ax, ay, bx, by, colour, dashed, m_lineWidth);
}

void LineRasteriser::drawLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, QRgb colour,
                              bool dashed)
{
    drawWideLine(x1, y1, x2, y2, colour, dashed, 1);
}

LineRasteriser::LineRasteriser(QSize size)
    : m_bits(nullptr), m_stride(std::max(1, size.width())), m_width(size.width()), m_height(size.height()),
      m_scale(1.0), m_lineWidth(1), m_dashOn(kDashOn), m_dashPeriod(kDashPeriod)
{
}

// One instance per pen mode, dash and width kind, so that the one-pixel line (every picture at
// ratio 1) runs the plain loop.
template <PenMode Mode> void LineRasteriser::paint(const Walk &w, QRgb colour, bool dashed, int width)
{
    QRgb *const bits = m_bits;
    const auto lit = [bits, colour](std::int64_t, std::int64_t index) {
        if constexpr (Mode == PenMode::Blackness)
            bits[index] = 0xff000000u;
        else if constexpr (Mode == PenMode::Copy)
            bits[index] = colour;
        else
            bits[index] |= colour;
    };
    if (width > 1)
        dashed ? walk<true, true>(w, width, lit) : walk<false, true>(w, width, lit);
    else
        dashed ? walk<true, false>(w, 1, lit) : walk<false, false>(w, 1, lit);
}

void LineRasteriser::drawWideLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, QRgb colour,
                                  bool dashed, int width)
{
    Walk w;
    if (!m_bits || !plan(x1, y1, x2, y2, width, w))
        return;
    switch (m_mode) {
    case PenMode::Blackness:
        paint<PenMode::Blackness>(w, colour, dashed, width);
        break;
    case PenMode::Copy:
        paint<PenMode::Copy>(w, colour, dashed, width);
        break;
    case PenMode::Merge:
        paint<PenMode::Merge>(w, colour, dashed, width);
        break;
    }
}

bool LineRasteriser::plan(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, int width, Walk &w) const
{
    const std::int64_t dx = std::abs(x2 - x1);
    const std::int64_t dy = std::abs(y2 - y1);
    const bool xMajor = dx >= dy;
    const std::int64_t dMajor = xMajor ? dx : dy;
    const std::int64_t dMinor = xMajor ? dy : dx;
    const std::int64_t major0 = xMajor ? x1 : y1;
    const std::int64_t minor0 = xMajor ? y1 : x1;
    const std::int64_t sMajor = (xMajor ? x2 >= x1 : y2 >= y1) ? 1 : -1;
    const std::int64_t sMinor = (xMajor ? y2 >= y1 : x2 >= x1) ? 1 : -1;
    const std::int64_t majorLimit = xMajor ? m_width : m_height;
    const std::int64_t minorLimit = xMajor ? m_height : m_width;

    // Steps i in [0, dMajor] whose major coordinate lies inside the picture.
    std::int64_t lo = 0, hi = dMajor;
    if (sMajor > 0) {
        lo = std::max(lo, -major0);
        hi = std::min(hi, majorLimit - 1 - major0);
    } else {
        lo = std::max(lo, major0 - (majorLimit - 1));
        hi = std::min(hi, major0);
    }
    if (lo > hi)
        return false;
    // ... and whose minor coordinate does too.
    // A wide line's side pixels lie up to width - 1 above its own minor coordinate: the steps
    // kept are those where any of them is inside.
    const std::int64_t minorLow = -(width - 1);
    if (dMajor > 0) {
        const std::int64_t needMin = sMinor > 0 ? minorLow - minor0 : minor0 - (minorLimit - 1);
        const std::int64_t needMax = sMinor > 0 ? minorLimit - 1 - minor0 : minor0 - minorLow;
        if (needMax < 0)
            return false;
        lo = std::max(lo, firstStepReaching(needMin, dMajor, dMinor));
        const std::int64_t beyond = firstStepReaching(needMax + 1, dMajor, dMinor);
        if (beyond != std::numeric_limits<std::int64_t>::max())
            hi = std::min(hi, beyond - 1);
    } else if (minor0 < minorLow || minor0 >= minorLimit) {
        return false;
    }
    if (lo > hi)
        return false;

    // Midpoint stepping from step lo: offset = floor((2 i dMinor + dMajor) / (2 dMajor)).
    const std::int64_t twoMajor = 2 * std::max<std::int64_t>(dMajor, 1);
    std::int64_t acc = 2 * lo * dMinor + dMajor;
    std::int64_t offset = acc / twoMajor;
    acc -= offset * twoMajor;
    const std::int64_t major = major0 + sMajor * lo;
    const std::int64_t minor = minor0 + sMinor * offset;
    const std::int64_t pxMajor = xMajor ? 1 : m_stride;
    const std::int64_t pxMinor = xMajor ? m_stride : 1;
    std::int64_t index = xMajor ? minor * m_stride + major : major * m_stride + minor;
    w = {lo,       hi,         index, sMajor * pxMajor, sMinor * pxMinor, pxMinor, acc,
         twoMajor, 2 * dMinor, minor, sMinor,           minorLimit};
    return true;
}

} // namespace vorlac
