#pragma once
// The quantities the course quotes, computed by the simulator's own index law and tracer.
// Key "what:material:..." with the outside medium air: n:M:L, r:M:A:I:L, rp:M:A:I:L, ip:M:A:I:L,
// D:M:A:I:L, Dm:M:A:L, im:M:A:L, nDm:M:A:L, i0:M:A:L, lim:M:L (angles in degrees, L in nm).
#include "model/constants.h"
#include "model/materials.h"
#include "model/raytracer.h"

#include <QStringList>
#include <cmath>
#include <optional>

namespace vorlac::course
{

inline double index(int material, int lambda)
{
    const auto &m = kMaterials.at(static_cast<std::size_t>(material));
    return CauchyIndex(m.cauchyA, m.cauchyB, lambda);
}

// Deviation of a ray that enters and leaves by the two faces without any internal reflection.
inline std::optional<double> deviation(int material, int apex, double incidence, int lambda)
{
    TraceInput in;
    in.apexAngle = apex;
    in.incidenceAngle = incidence;
    in.prismIndex = index(material, lambda);
    in.outsideIndex = index(0, lambda);
    const TraceResult r = TraceRay(in);
    if (r.end != TraceEnd::Emerged || r.lastFace != TraceFace::Exit || r.reflections != 0)
        return std::nullopt;
    return r.emergentDirection - (apex / 2.0 - r.layout.incidenceAngle);
}

struct Minimum {
    double deviation = 1e9, incidence = 0, firstEmergence = 1e9;
};

inline Minimum scan(int material, int apex, int lambda)
{
    Minimum m;
    for (int k = -9000; k <= 9000; ++k) {
        const double i = k / 100.0;
        if (const std::optional<double> d = deviation(material, apex, i, lambda)) {
            if (m.firstEmergence > 1e8)
                m.firstEmergence = i;
            if (*d < m.deviation) {
                m.deviation = *d;
                m.incidence = i;
            }
        }
    }
    return m;
}

inline std::optional<double> value(const QString &key)
{
    const QStringList f = key.split(u':');
    QList<int> v;
    for (qsizetype k = 1; k < f.size(); ++k)
        v.append(f[k].toInt());
    const QString what = f.value(0);
    const auto asin = [](double s) { return std::asin(s) * kRadToDeg; };
    if (what == u"n" && v.size() == 2)
        return index(v[0], v[1]);
    if (what == u"lim" && v.size() == 2)
        return asin(index(0, v[1]) / index(v[0], v[1]));
    if (v.size() == 4) {
        const int m = v[0], a = v[1], i = v[2], l = v[3];
        const double r = asin(index(0, l) * std::sin(i * kDegToRad) / index(m, l));
        const std::optional<double> d = deviation(m, a, i, l);
        if (what == u"r")
            return r;
        if (what == u"rp")
            return a - r;
        if (what == u"D")
            return d;
        if (what == u"ip" && d)
            return *d + a - i;
    }
    if (v.size() == 3) {
        const Minimum mn = scan(v[0], v[1], v[2]);
        if (what == u"Dm")
            return mn.deviation;
        if (what == u"im")
            return mn.incidence;
        if (what == u"i0")
            return mn.firstEmergence;
        if (what == u"nDm")
            return std::sin((v[1] + mn.deviation) / 2.0 * kDegToRad) / std::sin(v[1] / 2.0 * kDegToRad);
    }
    return std::nullopt;
}

} // namespace vorlac::course

#include <QDir>
#include <QFileInfo>
#include <filesystem>

namespace vorlac::course
{

// The source tree: this file's path, which the compiler gives relative to the build directory.
inline QString sourceRoot()
{
    QString here = QStringLiteral(__FILE__);
    if (QFileInfo(here).isRelative()) {
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
        here = QString::fromStdString((exe.parent_path().parent_path() / here.toStdString()).string());
    }
    return QFileInfo(here).absoluteDir().absoluteFilePath(QStringLiteral("../../.."));
}

} // namespace vorlac::course
