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

namespace
{

// The stepping loop, one instance per pen mode, dash and width kind, so that the one-pixel line
// (every picture at ratio 1) runs the plain loop. A wide line lights `width` pixels side by side
// across its main direction at each step, from the thin line's pixel towards +x or +y, each
// only where it lies inside the picture.
template <bool Black, bool Dashed, bool Wide> struct Walk {
    QRgb *bits;
    std::int64_t index, stepMajor, stepMinor, pxMinor;
    std::int64_t acc, twoMajor, twoMinor;
    std::int64_t minor, sMinor, minorLimit;
    std::int64_t dashOn, dashPeriod;
    int width;
    QRgb colour;

    void run(std::int64_t lo, std::int64_t hi)
    {
        for (std::int64_t i = lo; i <= hi; ++i) {
            if (!Dashed || (i % dashPeriod) < dashOn) {
                for (int k = 0; k < (Wide ? width : 1); ++k) {
                    if (Wide && static_cast<std::uint64_t>(minor + k) >= static_cast<std::uint64_t>(minorLimit))
                        continue;
                    QRgb &px = bits[index + k * pxMinor];
                    if (Black)
                        px = 0xff000000u;
                    else
                        px |= colour;
                }
            }
            index += stepMajor;
            acc += twoMinor;
            if (acc >= twoMajor) {
                acc -= twoMajor;
                index += stepMinor;
                if (Wide)
                    minor += sMinor;
            }
        }
    }
};

template <bool Black, bool Dashed> void walk(Walk<Black, Dashed, false> w, bool wide, std::int64_t lo, std::int64_t hi)
{
    if (wide)
        Walk<Black, Dashed, true>{w.bits,       w.index,    w.stepMajor,  w.stepMinor, w.pxMinor,
                                  w.acc,        w.twoMajor, w.twoMinor,   w.minor,     w.sMinor,
                                  w.minorLimit, w.dashOn,   w.dashPeriod, w.width,     w.colour}
            .run(lo, hi);
    else
        w.run(lo, hi);
}

} // namespace

void LineRasteriser::drawWideLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, QRgb colour,
                                  bool dashed, int width)
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
        return;
    // ... and whose minor coordinate does too.
    // A wide line's side pixels lie up to width - 1 above its own minor coordinate: the steps
    // kept are those where any of them is inside.
    const std::int64_t minorLow = -(width - 1);
    if (dMajor > 0) {
        const std::int64_t needMin = sMinor > 0 ? minorLow - minor0 : minor0 - (minorLimit - 1);
        const std::int64_t needMax = sMinor > 0 ? minorLimit - 1 - minor0 : minor0 - minorLow;
        if (needMax < 0)
            return;
        lo = std::max(lo, firstStepReaching(needMin, dMajor, dMinor));
        const std::int64_t beyond = firstStepReaching(needMax + 1, dMajor, dMinor);
        if (beyond != std::numeric_limits<std::int64_t>::max())
            hi = std::min(hi, beyond - 1);
    } else if (minor0 < minorLow || minor0 >= minorLimit) {
        return;
    }
    if (lo > hi)
        return;

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
    const std::int64_t stepMajor = sMajor * pxMajor;
    const std::int64_t stepMinor = sMinor * pxMinor;
    const bool wide = width > 1;
    const bool black = m_mode == PenMode::Blackness;
    auto go = [&](auto blackTag, auto dashTag) {
        constexpr bool B = decltype(blackTag)::value;
        constexpr bool D = decltype(dashTag)::value;
        walk<B, D>(Walk<B, D, false>{m_bits, index, stepMajor, stepMinor, pxMinor, acc, twoMajor, 2 * dMinor, minor,
                                     sMinor, minorLimit, m_dashOn, m_dashPeriod, width, colour},
                   wide, lo, hi);
    };
    if (black)
        dashed ? go(std::true_type{}, std::true_type{}) : go(std::true_type{}, std::false_type{});
    else
        dashed ? go(std::false_type{}, std::true_type{}) : go(std::false_type{}, std::false_type{});
}

} // namespace vorlac
