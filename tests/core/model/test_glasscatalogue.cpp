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

// n_d (587.56 nm) and V_d as the catalogues quote them; V 0 when not quoted.
struct GlassRow {
    const char *name;
    double nd, vd;
};
std::ostream &operator<<(std::ostream &o, const GlassRow &r)
{
    return o << r.name;
}

using Glasses = ::testing::TestWithParam<GlassRow>;

// The Cauchy fit by the normal equations on the raw sums, in long double: another road than the
// catalogue's centred sums.
GlassFit independentFit(int row)
{
    long double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int l = 400; l <= 800; ++l) {
        const long double x = 1.0L / (static_cast<long double>(l) * l), y = glassIndex(row, l);
        n += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const long double b = (n * sxy - sx * sy) / (n * sxx - sx * sx), a = (sy - b * sx) / n;
    double worst = 0;
    for (int l = 400; l <= 800; ++l)
        worst = std::max(worst, std::abs(double(a + b / (static_cast<long double>(l) * l)) - glassIndex(row, l)));
    return {double(a), double(b), worst};
}

TEST_P(Glasses, IndexAbbeNumberAndFit)
{
    const GlassRow g = GetParam();
    const int row = glassRow(QString::fromUtf8(g.name));
    ASSERT_GE(row, 0);
    EXPECT_NEAR(glassIndex(row, 587.5618), g.nd, 1e-4);
    if (g.vd > 0) {
        const double v = (glassIndex(row, 587.5618) - 1) / (glassIndex(row, 486.1327) - glassIndex(row, 656.2725));
        EXPECT_NEAR(v, g.vd, 0.05);
    }
    const GlassFit fit = glassFit(row), other = independentFit(row);
    EXPECT_NEAR(fit.cauchyA, other.cauchyA, 1e-9);
    EXPECT_NEAR(fit.cauchyB, other.cauchyB, 1e-4); // nm^2
    EXPECT_NEAR(fit.maxDifference, other.maxDifference, 1e-9);
    EXPECT_GT(fit.maxDifference, 0.0);
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

// --- The unknown glass, for every glass of the list ------------------------------------------

struct HiddenRow {
    int glass;
};
std::ostream &operator<<(std::ostream &o, const HiddenRow &r)
{
    return o << glassName(r.glass).toStdString();
}

using UnknownGlass = ::testing::TestWithParam<HiddenRow>;

TEST_P(UnknownGlass, LeaksNowhereAndComesBack)
{
    const int row = GetParam().glass;
    const QLocale fr(QLocale::French, QLocale::France), c = QLocale::c();
    Situation s;
    s.scene.source = SourceType::Monochromatic;
    s.scene.prismMaterial = kCustomMaterial;
    s.scene.prismCauchyA = glassLaw(row).cauchyA;
    s.scene.prismCauchyB = glassLaw(row).cauchyB;
    s.scene.glass = row;
    s.scene.glassHidden = true;
    const SceneState &st = s.scene;
    const double n = CauchyIndex(st.prismCauchyA, st.prismCauchyB, st.wavelength);
    // Whatever the form, none of these may be read anywhere.
    const QStringList secrets = {glassName(row), writeDotNumber(st.prismCauchyA, 7), writeDotNumber(st.prismCauchyB, 7),
                                 fr.toString(n, 'f', 3), c.toString(n, 'f', 3)};

    ScenePicture picture;
    RedrawScene(st, picture);
    const ReportTexts report = sceneReportTexts(st);
    const QStringList texts = {measuresAsText(st, picture, fr), report.prismMaterial, report.prismIndex,
                               prismMaterialText(st)};
    const QByteArray bytes = serialiseSituation(s).value_or(QByteArray());
    ASSERT_FALSE(bytes.isEmpty());
    RecoveryWork work;
    work.situation = s;
    const QByteArray recovery = serialiseRecovery(work).value_or(QByteArray());
    ASSERT_FALSE(recovery.isEmpty());
    for (const QString &secret : secrets) {
        for (const QString &t : texts)
            EXPECT_FALSE(t.contains(secret, Qt::CaseInsensitive)) << t.toStdString();
        const QByteArray inFile = toCp1252(secret);
        EXPECT_FALSE(bytes.contains(inFile)) << secret.toStdString();
        EXPECT_FALSE(recovery.contains(inFile)) << secret.toStdString();
    }
    EXPECT_EQ(report.prismIndex, QStringLiteral("n = ?"));
    SceneState lamp = st;
    lamp.source = SourceType::LineLamp;
    EXPECT_EQ(lampSweep(lamp).titles.size(), 2); // lambda and Dmin, no n

    // Read back: still the same hidden glass, with the catalogue's pair; the recovery too.
    const SituationResult back = parseSituation(bytes);
    ASSERT_TRUE(back.situation);
    EXPECT_EQ(back.situation->scene, st);
    const RecoveryResult restored = parseRecovery(recovery);
    ASSERT_TRUE(restored.work);
    EXPECT_EQ(restored.work->situation.scene, st);

    // Revealed, the file names it.
    s.scene.glassHidden = false;
    const QByteArray shown = serialiseSituation(s).value_or(QByteArray());
    EXPECT_TRUE(shown.contains(toCp1252(QStringLiteral("VERRE=") + glassName(row))));
    EXPECT_EQ(parseSituation(shown).situation->scene, s.scene);
}

INSTANTIATE_TEST_SUITE_P(Rows, UnknownGlass,
                         ::testing::Values(HiddenRow{0}, HiddenRow{1}, HiddenRow{2}, HiddenRow{3}, HiddenRow{4},
                                           HiddenRow{5}, HiddenRow{6}, HiddenRow{7}, HiddenRow{8}, HiddenRow{9}),
                         RowName());

// --- Files: the added record, what a reader refuses ------------------------------------------

struct RecordRow {
    const char *name;
    const char *added; // the records after the formulas, "|" apart
    bool read;
};
std::ostream &operator<<(std::ostream &o, const RecordRow &r)
{
    return o << r.name;
}

using GlassRecords = ::testing::TestWithParam<RecordRow>;

TEST_P(GlassRecords, ReadOrRefused)
{
    const RecordRow r = GetParam();
    Situation s;
    s.scene.glass = 0;
    s.scene.prismMaterial = kCustomMaterial;
    s.scene.prismCauchyA = glassLaw(0).cauchyA;
    s.scene.prismCauchyB = glassLaw(0).cauchyB;
    QByteArray bytes = serialiseSituation(s).value_or(QByteArray());
    ASSERT_EQ(bytes.size(), qsizetype(situationRecordCount(s.rowCount()) + 2) * 128);
    bytes.chop(2 * 128);
    for (const QString &t : QString::fromLatin1(r.added).split(QLatin1Char('|'))) {
        QByteArray record(128, ' ');
        const QByteArray text = toCp1252(t);
        record[0] = char(text.size());
        record[1] = 0;
        record.replace(2, text.size(), text);
        bytes += record;
    }
    EXPECT_EQ(parseSituation(bytes).situation.has_value(), r.read);
}

INSTANTIATE_TEST_SUITE_P(Rows, GlassRecords,
                         ::testing::Values(RecordRow{"named", "VERRE=N-BK7|FIN", true},
                                           RecordRow{"bad_code", "VERRE?=12345678|FIN", false},
                                           RecordRow{"unknown_name", "VERRE=BK7|FIN", false},
                                           RecordRow{"twice", "VERRE=F2|VERRE=F2|FIN", false},
                                           RecordRow{"no_end", "VERRE=F2", false},
                                           RecordRow{"lamp_not_lit", "VERRE=F2|LAMPE=mercure|FIN", false},
                                           RecordRow{"unknown_key", "VERRES=F2|FIN", false}),
                         RowName());

} // namespace
