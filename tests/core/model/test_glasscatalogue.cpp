#include "analysis/sweeps.h"
#include "common/codepage1252.h"
#include "common/numbertext.h"
#include "exercises/measuresinsert.h"
#include "model/glasscatalogue.h"
#include "output/scenereport.h"
#include "recovery/recoveryfile.h"
#include "render/scenerenderer.h"
#include "rowname.h"
#include "situations/situation.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
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
    auto n = [row](double l) { return glassIndex(row, l); };
    EXPECT_NEAR(n(587.5618), g.nd, 1e-4);
    if (g.vd > 0) {
        EXPECT_NEAR((n(587.5618) - 1) / (n(486.1327) - n(656.2725)), g.vd, 0.05);
    }
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
                                           GlassRow{"F2", 1.6200, 36.37}, GlassRow{"SF10", 1.7283, 28.53},
                                           GlassRow{"N-SF11", 1.7847, 25.68}, GlassRow{"N-LASF9", 1.8503, 32.17},
                                           GlassRow{"silice fondue", 1.4585, 67.8}, GlassRow{"PMMA", 1.4906, 0},
                                           // Daimon's formula at 20 °C, as the database gives it.
                                           GlassRow{"eau à 20 °C", 1.3334, 0}, GlassRow{"diamant", 2.4175, 0}),
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
    const QString texts = measuresAsText(st, picture, fr) + report.prismMaterial + report.prismIndex;
    const QByteArray bytes = serialiseSituation(s).value_or(QByteArray());
    RecoveryWork work;
    work.situation = s;
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
    EXPECT_EQ(parseRecovery(recovery).work.value_or(RecoveryWork{}).situation.scene, st);
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
