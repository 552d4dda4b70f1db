// Every number of the course that the simulator can show is the simulator's own.
#include "coursevalues.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>

TEST(CourseNumbersTest, MatchTheTracerAndTheIndexLaw)
{
    const QDir dir(vorlac::course::sourceRoot() + QStringLiteral("/help/cours"));
    const QRegularExpression marked(QStringLiteral(R"re(data-v="([^"]+)">(-?\d+)(?:,(\d+))?<)re"));
    int checked = 0;
    for (const QString &name : dir.entryList({QStringLiteral("*.html")})) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        EXPECT_EQ(html.count(QStringLiteral("data-v=")), html.count(marked))
            << qPrintable(name) << ": a value is not a number";
        for (auto it = marked.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const std::optional<double> value = vorlac::course::value(m.captured(1));
            ASSERT_TRUE(value) << qPrintable(name) << ": " << qPrintable(m.captured(1));
            const int decimals = static_cast<int>(m.captured(3).size());
            const double shown = (m.captured(2) + u'.' + (decimals ? m.captured(3) : QStringLiteral("0"))).toDouble();
            // Rounded as shown, with room for the 0.01-degree steps of the scans.
            EXPECT_LE(std::abs(shown - *value), 0.5 * std::pow(10.0, -decimals) + 0.011)
                << qPrintable(name) << ": " << qPrintable(m.captured(1)) << " shows " << shown
                << ", the simulator gives " << *value;
            ++checked;
        }
    }
    EXPECT_GE(checked, 30);
}

// The course's laws, applied to the tracer: at the minimum the path is symmetric and the
// minimum formula gives back the index; below the emergence limit the ray is reflected.
TEST(CourseNumbersTest, TracerObeysTheLawsTheCourseTeaches)
{
    using namespace vorlac::course;
    const struct {
        int material, apex, lambda;
    } rows[] = {{2, 60, 589}, {3, 60, 589}, {2, 45, 400}, {1, 60, 800}};
    for (const auto &r : rows) {
        const Minimum m = scan(r.material, r.apex, r.lambda);
        const double relative = index(r.material, r.lambda) / index(0, r.lambda);
        EXPECT_NEAR(m.incidence, (r.apex + m.deviation) / 2.0, 0.02);
        EXPECT_NEAR(*value(QStringLiteral("nDm:%1:%2:%3").arg(r.material).arg(r.apex).arg(r.lambda)), relative, 2e-4);
        const double lim = std::asin(1.0 / relative) * vorlac::kRadToDeg;
        const double i0 = std::asin(relative * std::sin((r.apex - lim) * vorlac::kDegToRad)) * vorlac::kRadToDeg;
        EXPECT_NEAR(m.firstEmergence, i0, 0.02);
        EXPECT_FALSE(deviation(r.material, r.apex, i0 - 0.5, r.lambda));
    }
}
