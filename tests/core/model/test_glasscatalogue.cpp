#include "analysis/sweeps.h"
#include "common/codepage1252.h"
#include "common/numbertext.h"
#include "exercises/measuresinsert.h"
#include "model/glasscatalogue.h"
#include "model/linelamps.h"
#include "output/scenereport.h"
#include "recovery/recoveryfile.h"
#include "render/scenefigure.h"
#include "render/scenerenderer.h"
#include "rowname.h"
#include "situations/situation.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <iostream>
#include <ostream>

using namespace vorlac;

namespace
{

// n_d (587.56 nm) and V_d as the catalogues quote them (V 0: not quoted).
struct GlassRow {
    const char *name;
    double nd, vd;
};
std::ostream &operator<<(std::ostream &o, const GlassRow &r)
{
    return o << r.name;
}

using Glasses = ::testing::TestWithParam<GlassRow>;

TEST_P(Glasses, IndexAbbeNumberAndFit)
{
    const GlassRow g = GetParam();
    const int row = glassRow(QString::fromUtf8(g.name));
    ASSERT_GE(row, 0);
    auto published = [row](double l) { return glassFormulaIndex(row, l); }; // as the catalogues quote it
    EXPECT_NEAR(published(587.5618), g.nd, 1e-4);
    if (g.vd > 0) {
        EXPECT_NEAR((published(587.5618) - 1) / (published(486.1327) - published(656.2725)), g.vd, 0.05);
    }
    auto n = [row](double l) { return glassIndex(row, l); };
    // Another road to the fit: the normal equations on the raw sums, in long double.
    long double k = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int l = 400; l <= 800; ++l) {
        const long double x = 1.0L / (static_cast<long double>(l) * l);
        k += 1, sx += x, sy += n(l), sxx += x * x, sxy += x * n(l);
    }
    const long double b = (k * sxy - sx * sy) / (k * sxx - sx * sx), a = (sy - b * sx) / k;
    double worst = 0;
    for (int l = 400; l <= 800; ++l)
        worst = std::max(worst, std::abs(double(a + b / (static_cast<long double>(l) * l)) - n(l)));
    const GlassFit fit = glassFit(row);
    EXPECT_NEAR(fit.cauchyA, double(a), 1e-9);
    EXPECT_NEAR(fit.cauchyB, double(b), 1e-4); // nm^2
    EXPECT_NEAR(fit.maxDifference, worst, 1e-9);
    EXPECT_LT(fit.maxDifference, 0.005);
}

INSTANTIATE_TEST_SUITE_P(Rows, Glasses,
                         ::testing::Values(GlassRow{"N-BK7", 1.5168, 64.17}, GlassRow{"N-BAK1", 1.5725, 57.55},
                                           GlassRow{"F2", 1.6200, 36.37}, GlassRow{"SF10", 1.7283, 28.41},
                                           GlassRow{"N-SF11", 1.7847, 25.68}, GlassRow{"N-LASF9", 1.8503, 32.17},
                                           GlassRow{"silice fondue", 1.4585, 67.8}, GlassRow{"PMMA", 1.4906, 0},
                                           // Daimon's formula at 20 °C, as the database gives it.
                                           GlassRow{"eau à 20 °C", 1.3334, 0}, GlassRow{"diamant", 2.4175, 0}),
                         RowName());

// D_min of every glass for every lamp line, against the published formulas written here from
// their sources (SCHOTT data sheets; the refractiveindex.info pages the catalogue cites), not
// through the program: n^2 - 1 = sum B_k l^2 / (l^2 - C_k), l in micrometres.
struct PublishedGlass {
    const char *name;
    bool relativeToAir; // else absolute, and the prism in air has n / n_air
    int apex;           // one that every line crosses
    double b[4], c[4];
};
std::ostream &operator<<(std::ostream &o, const PublishedGlass &g)
{
    return o << g.name;
}

double publishedGlassIndex(const PublishedGlass &g, double nm)
{
    const double l2 = nm * nm * 1e-6;
    double n2 = 1;
    for (int k = 0; k < 4; ++k)
        n2 += g.b[k] * l2 / (l2 - g.c[k]);
    return std::sqrt(n2);
}

using PublishedGlasses = ::testing::TestWithParam<PublishedGlass>;

TEST_P(PublishedGlasses, MinimumOfDeviationForEveryLampLine)
{
    const PublishedGlass g = GetParam();
    SceneState s;
    s.source = SourceType::LineLamp;
    s.apexAngle = g.apex;
    s.glass = glassRow(QString::fromUtf8(g.name));
    ASSERT_GE(s.glass, 0);
    s.prismMaterial = kCustomMaterial;
    s.prismCauchyA = glassLaw(s.glass).cauchyA;
    s.prismCauchyB = glassLaw(s.glass).cauchyB;
    double worst = 0;
    for (s.lamp = 0; s.lamp < lineLampCount(); ++s.lamp) {
        const std::span<const SpectralLine> lines = lineLamps()[std::size_t(s.lamp)].lines;
        const Sweep sweep = lampSweep(s);
        ASSERT_EQ(sweep.lines.size(), lines.size()) << lineLampName(s.lamp).toStdString();
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const double l = lines[k].wavelength, air = 1.0002747 + 0.74 / (l * l); // the list's "Air"
            const double n = publishedGlassIndex(g, l) / (g.relativeToAir ? 1.0 : air);
            const double half = g.apex * M_PI / 360.0;
            const double expected = (2 * std::asin(n * std::sin(half)) - 2 * half) * 180.0 / M_PI;
            worst = std::max(worst, std::abs(sweep.lines[k][1] - expected));
            EXPECT_NEAR(sweep.lines[k][1], expected, 0.002) << l << " nm";
        }
    }
    std::cout << "[ D_min   ] " << g.name << ": worst difference " << worst << " degree\n";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PublishedGlasses,
    ::testing::Values(
        PublishedGlass{
            "N-BK7", true, 60, {1.03961212, 0.231792344, 1.01046945, 0}, {0.00600069867, 0.0200179144, 103.560653, 0}},
        PublishedGlass{"N-BAK1",
                       true,
                       60,
                       {1.12365662, 0.309276848, 0.881511957, 0},
                       {0.00644742752, 0.0222284402, 107.297751, 0}},
        PublishedGlass{
            "F2", true, 60, {1.34533359, 0.209073176, 0.937357162, 0}, {0.00997743871, 0.0470450767, 111.886764, 0}},
        PublishedGlass{
            "SF10", true, 60, {1.61625977, 0.259229334, 1.07762317, 0}, {0.0127534559, 0.0581983954, 116.60768, 0}},
        PublishedGlass{
            "N-SF11", true, 60, {1.73759695, 0.313747346, 1.89878101, 0}, {0.013188707, 0.0623068142, 155.23629, 0}},
        PublishedGlass{
            "N-LASF9", true, 60, {2.00029547, 0.298926886, 1.80691843, 0}, {0.0121426017, 0.0538736236, 156.530829, 0}},
        PublishedGlass{"silice fondue",
                       true,
                       60,
                       {0.6961663, 0.4079426, 0.8974794, 0},
                       {0.0684043 * 0.0684043, 0.1162414 * 0.1162414, 9.896161 * 9.896161, 0}},
        PublishedGlass{"PMMA", true, 60, {0.99654, 0.18964, 0.00411, 0}, {0.00787, 0.02191, 3.85727, 0}},
        PublishedGlass{"eau à 20 °C",
                       false,
                       60,
                       {0.5684027565, 0.1726177391, 0.02086189578, 0.1130748688},
                       {0.005101829712, 0.01821153936, 0.02620722293, 10.69792721}},
        PublishedGlass{"diamant", true, 30, {0.3306, 4.3356, 0, 0}, {0.1750 * 0.1750, 0.1060 * 0.1060, 0, 0}}),
    RowName());

// The unknown glass, for every glass of the list: nothing shows it, and it comes back.
using UnknownGlass = ::testing::TestWithParam<int>;

TEST_P(UnknownGlass, LeaksNowhereAndComesBack)
{
    const int row = GetParam();
    const QLocale fr(QLocale::French, QLocale::France);
    Situation s;
    SceneState &st = s.scene;
    st.source = SourceType::Monochromatic;
    st.prismMaterial = kCustomMaterial;
    st.prismCauchyA = glassLaw(row).cauchyA;
    st.prismCauchyB = glassLaw(row).cauchyB;
    st.glass = row;
    st.glassHidden = true;
    const double n = CauchyIndex(st.prismCauchyA, st.prismCauchyB, st.wavelength);
    const QStringList secrets = {glassName(row), writeDotNumber(st.prismCauchyA, 7), writeDotNumber(st.prismCauchyB, 7),
                                 fr.toString(n, 'f', 3), QLocale::c().toString(n, 'f', 3)};
    ScenePicture picture;
    RedrawScene(st, picture);
    const ReportTexts report = sceneReportTexts(st);
    const QString texts = measuresAsText(traceFigure(st), fr) + report.prismMaterial + report.prismIndex;
    const QByteArray bytes = serialiseSituation(s).value_or(QByteArray());
    RecoveryWork work;
    work.work.scene = s.scene;
    const QByteArray recovery = serialiseRecovery(work).value_or(QByteArray());
    ASSERT_FALSE(bytes.isEmpty() || recovery.isEmpty());
    for (const QString &secret : secrets) {
        EXPECT_FALSE(texts.contains(secret, Qt::CaseInsensitive)) << texts.toStdString();
        EXPECT_FALSE(bytes.contains(toCp1252(secret)) || recovery.contains(toCp1252(secret))) << secret.toStdString();
    }
    EXPECT_EQ(report.prismIndex, QStringLiteral("n = ?"));
    SceneState lamp = st;
    lamp.source = SourceType::LineLamp;
    EXPECT_EQ(lampSweep(lamp).titles.size(), 2); // lambda and Dmin, no n

    EXPECT_EQ(parseSituation(bytes).situation.value_or(Situation{}).scene, st);
    EXPECT_EQ(parseRecovery(recovery).work.value_or(RecoveryWork{}).work.scene, st);
    st.glassHidden = false; // revealed, the file names it
    const QByteArray shown = serialiseSituation(s).value_or(QByteArray());
    EXPECT_TRUE(shown.contains(toCp1252(QStringLiteral("VERRE=") + glassName(row))));
    EXPECT_EQ(parseSituation(shown).situation.value_or(Situation{}).scene, st);
}

INSTANTIATE_TEST_SUITE_P(Rows, UnknownGlass, ::testing::Range(0, 10), RowName());

// The records after the formulas ("|" apart): read, or refused.
struct RecordRow {
    const char *added;
    bool read;
};
std::ostream &operator<<(std::ostream &o, const RecordRow &r)
{
    return o << r.added;
}

using GlassRecords = ::testing::TestWithParam<RecordRow>;

TEST_P(GlassRecords, ReadOrRefused)
{
    Situation s;
    s.scene.glass = 0;
    s.scene.prismMaterial = kCustomMaterial;
    s.scene.prismCauchyA = glassLaw(0).cauchyA;
    s.scene.prismCauchyB = glassLaw(0).cauchyB;
    QByteArray bytes = serialiseSituation(s).value_or(QByteArray());
    ASSERT_EQ(bytes.size(), qsizetype(situationRecordCount(s.rowCount()) + 2) * 128);
    bytes.chop(2 * 128);
    for (const QString &t : QString::fromLatin1(GetParam().added).split(QLatin1Char('|'))) {
        QByteArray record(128, '\0');
        record[0] = char(t.size());
        record.replace(2, t.size(), toCp1252(t));
        bytes += record;
    }
    EXPECT_EQ(parseSituation(bytes).situation.has_value(), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(Rows, GlassRecords,
                         ::testing::Values(RecordRow{"VERRE=N-BK7|FIN", true}, RecordRow{"VERRE?=12345678|FIN", false},
                                           RecordRow{"VERRE=BK7|FIN", false}, RecordRow{"VERRE=F2|VERRE=F2|FIN", false},
                                           RecordRow{"VERRE=F2", false}, RecordRow{"VERRE=F2|LAMPE=mercure|FIN", false},
                                           RecordRow{"VERRES=F2|FIN", false}),
                         RowName());

} // namespace
