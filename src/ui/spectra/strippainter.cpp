#include "spectra/strippainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vorlac
{

QImage stripImage(const ScreenSpectrum *spectrum, double fromMm, double toMm, int devicePixels)
{
    const int w = std::max(1, devicePixels);
    QImage image(w, 1, QImage::Format_RGB32);
    image.fill(Qt::black);
    if (spectrum) {
        const std::vector<Rgb> pixels = spectrum->strip(StripRange{fromMm, toMm, w});
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(0));
        for (int x = 0; x < w; ++x)
            line[x] = toQRgb(pixels[std::size_t(x)]);
    }
    return image;
}

int stripRulerHeight(const StripStyle &style)
{
    return int(std::ceil(7 * style.unit + QFontMetricsF(style.font).height() + style.unit));
}

void paintStripRuler(QPainter &p, const QRect &strip, const StripRange &range, const StripStyle &style,
                     const QRect &bounds)
{
    const double u = style.unit;
    const double base = strip.bottom() + 1 + (u - 1) / 2;
    p.save();
    p.setPen(QPen(style.ink, u));
    p.setFont(style.font);
    p.drawLine(QPointF(strip.left(), base), QPointF(strip.right() + 1 - (u > 1 ? 0 : 1), base));
    const QFontMetrics fm(style.font);
    const std::vector<RulerTick> ticks = rulerTicks(range, 8.0 * u);
    // Labels on every major tick when they fit, else on every 2nd, 5th, 10th... counted from 0
    // mm, so that the labelled values stay round.
    std::vector<const RulerTick *> majors;
    int widest = 0;
    for (const RulerTick &t : ticks)
        if (t.major) {
            majors.push_back(&t);
            widest = std::max(widest, fm.horizontalAdvance(t.label));
        }
    long long every = 1;
    double majorMm = 0;
    if (majors.size() >= 2) {
        majorMm = majors[1]->mm - majors[0]->mm;
        const double majorPx = majors[1]->x - majors[0]->x;
        for (const long long n : {1, 2, 5, 10, 20, 50, 100})
            if ((every = n) * majorPx >= widest + 8 * u)
                break;
    }
    for (const RulerTick &t : ticks) {
        const double x = strip.left() + t.x;
        p.drawLine(QPointF(x, base), QPointF(x, base + (t.major ? 7 : 3) * u));
        if (!t.major || (majorMm > 0 && std::llround(t.mm / majorMm) % every != 0))
            continue;
        const int w = fm.horizontalAdvance(t.label);
        const QRect box(int(std::lround(x)) - w / 2, int(std::lround(base + 7 * u)), w, fm.height());
        if (box.left() < bounds.left() || box.right() > bounds.right())
            continue;
        p.drawText(box, Qt::AlignCenter, t.label);
    }
    p.restore();
}

void paintStripCursor(QPainter &p, const QRect &strip, double x, double unit)
{
    const double quarter = strip.height() / 4.0;
    const std::pair<double, double> marks[] = {{strip.top() - 3.0 * unit, strip.top() + quarter},
                                               {strip.bottom() + 1 - quarter, strip.bottom() + 8.0 * unit}};
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const auto &[top, bottom] : marks) {
        p.setPen(QPen(QColor(0, 0, 0), 3 * unit));
        p.drawLine(QPointF(x, top), QPointF(x, bottom));
        p.setPen(QPen(QColor(255, 255, 255), unit));
        p.drawLine(QPointF(x, top + unit), QPointF(x, std::min(bottom - unit, strip.bottom() + 0.0)));
    }
    p.restore();
}

} // namespace vorlac
