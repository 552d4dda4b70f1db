#pragma once

#include <QPointF>
#include <QRectF>
#include <algorithm>
#include <optional>
#include <utility>

namespace vorlac
{

// The part of the segment a + t (b - a), t from 0 to 1, that lies in rect (Liang-Barsky): its
// first and last t, or nothing when no part of it does.
inline std::optional<std::pair<double, double>> clipSegment(QPointF a, QPointF b, const QRectF &rect)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(), rect.bottom() - a.y()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return std::nullopt;
    }
    return std::pair{t0, t1};
}

} // namespace vorlac
