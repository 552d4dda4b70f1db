#include "analysis/measuretexts.h"
#include "analysis/minimumdeviation.h"
#include "analysis/sweeps.h"
#include "common/recordfile.h"
#include "model/linelamps.h"
#include "model/scenedescription.h"
#include "output/figurepage.h"
#include "output/scenereport.h"
#include "render/scenerenderer.h"
#include "rowname.h"
#include "situations/situation.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <ostream>
#include <span>

using namespace vorlac;

namespace
{

SceneState lampScene(const char *lamp, bool hidden = false)
{
    SceneState s;
    s.source = SourceType::LineLamp;
    s.lamp = lineLampRow(QString::fromUtf8(lamp));
    s.lampHidden = hidden;
    s.showPropagation = false;
    return s;
}

// The deviation at incidence i, with the exact constants (the tracer's differ by 5e-6).
double exactDeviation(int apex, double n, double i)
{
    const double k = M_PI / 180.0, a = apex * k, r = std::asin(std::sin(i * k) / n);
    return (i * k + std::asin(n * std::sin(a - r)) - a) / k;
}

// --- Line data against the check values ------------------------------------------------------

struct CheckLine {
    const char *lamp;
    double wavelength;
    double tolerance; // half the last digit of the check value
};
std::ostream &operator<<(std::ostream &o, const CheckLine &c)
{
    return o << c.lamp << ' ' << c.wavelength;
}

using LampLines = ::testing::TestWithParam<CheckLine>;

TEST_P(LampLines, HoldTheCheckValue)
{
    const CheckLine c = GetParam();
    const int row = lineLampRow(QString::fromUtf8(c.lamp));
    ASSERT_GE(row, 0);
    bool found = false;
    for (const SpectralLine &l : lineLamps()[std::size_t(row)].lines)
        found = found || std::abs(l.wavelength - c.wavelength) <= c.tolerance;
    EXPECT_TRUE(found);
}

INSTANTIATE_TEST_SUITE_P(Rows, LampLines,
                         ::testing::Values(CheckLine{"mercure", 404.656, 5e-4}, CheckLine{"mercure", 435.833, 5e-4},
                                           CheckLine{"mercure", 546.074, 5e-4}, CheckLine{"mercure", 576.960, 5e-4},
                                           CheckLine{"mercure", 579.066, 5e-4}, CheckLine{"sodium", 588.995, 5e-4},
                                           CheckLine{"sodium", 589.592, 5e-4}, CheckLine{"hydrogène", 656.28, 5e-3},
                                           CheckLine{"hydrogène", 486.13, 5e-3}, CheckLine{"hydrogène", 434.05, 5e-3},
                                           CheckLine{"hydrogène", 410.17, 5e-3}, CheckLine{"hélium", 471.315, 5e-4},
                                           CheckLine{"néon", 453.775, 5e-4}, CheckLine{"néon", 692.947, 5e-4},
                                           CheckLine{"néon", 794.318, 5e-4}, CheckLine{"cadmium", 609.914, 5e-4},
                                           CheckLine{"cadmium", 734.567, 5e-4}, CheckLine{"lithium", 413.262, 5e-4},
                                           CheckLine{"lithium", 460.289, 5e-4}, CheckLine{"lithium", 610.365, 5e-4}),
                         RowName());

// --- Real wavelengths: the sodium doublet drawn apart by the exact difference -----------------

struct Doublet {
    const char *material;
    int prism; // row of kMaterials
    double incidence;
};
std::ostream &operator<<(std::ostream &o, const Doublet &d)
{
    return o << d.material << ' ' << d.incidence;
}

using SodiumDoublet = ::testing::TestWithParam<Doublet>;

TEST_P(SodiumDoublet, RaysApartByTheExactDifference)
{
    const Doublet d = GetParam();
    SceneState s = lampScene("sodium");
    s.prismMaterial = d.prism;
    s.prismCauchyA = kMaterials[std::size_t(d.prism)].cauchyA;
    s.prismCauchyB = kMaterials[std::size_t(d.prism)].cauchyB;
    s.incidenceAngle = d.incidence;
    ScenePicture picture;
    RedrawScene(s, picture);
    const TraceMeasures *d1 = measuresAt(picture, 588.995), *d2 = measuresAt(picture, 589.592);
    ASSERT_TRUE(d1 && d2);
    ASSERT_TRUE(d1->direct && d2->direct);
    const double ne = CauchyIndex(s.outsideCauchyA, s.outsideCauchyB, 589.0);
    const double exact =
        exactDeviation(s.apexAngle, CauchyIndex(s.prismCauchyA, s.prismCauchyB, 588.995) / ne, d.incidence) -
        exactDeviation(s.apexAngle, CauchyIndex(s.prismCauchyA, s.prismCauchyB, 589.592) / ne, d.incidence);
    ASSERT_GT(exact, 0.0);
    EXPECT_NEAR(d1->deviation - d2->deviation, exact, 0.02 * exact);
}

INSTANTIATE_TEST_SUITE_P(Rows, SodiumDoublet,
                         ::testing::Values(Doublet{"flint", 3, 36.0}, Doublet{"flint", 3, 60.0},
                                           Doublet{"crown", 2, 45.0}),
                         RowName());

// --- The hidden lamp's name appears nowhere ----------------------------------------------------

using HiddenLamp = ::testing::TestWithParam<const char *>;

TEST_P(HiddenLamp, NameLeaksNowhere)
{
    const SceneState s = lampScene(GetParam(), true);
    const QString name = QString::fromUtf8(GetParam());
    const QString symbol = QString::fromUtf8(lineLamps()[std::size_t(s.lamp)].symbol);
    const QLocale fr(QLocale::French, QLocale::France);
    QStringList texts = {measuredRaysText(s, fr), describeScene(s, fr), lampTitle(s)};
    for (const ReportLine &l : parameterReport(sceneReportTexts(s)))
        texts << l.bold + l.regular;
    for (const QString &t : texts)
        EXPECT_FALSE(t.contains(name, Qt::CaseInsensitive)) << t.toStdString();
    Situation situation;
    situation.scene = s;
    const QByteArray bytes = serialiseSituation(situation).value_or(QByteArray());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_FALSE(QString::fromLatin1(bytes).contains(name.left(4), Qt::CaseInsensitive));
    EXPECT_FALSE(QString::fromLatin1(bytes).contains(QStringLiteral("=") + symbol));
    // Read back, it stays hidden; revealed, the texts name it.
    const SituationResult back = parseSituation(bytes);
    ASSERT_TRUE(back.situation);
    EXPECT_TRUE(back.situation->scene.lampHidden);
    EXPECT_EQ(back.situation->scene.lamp, s.lamp);
    SceneState shown = s;
    shown.lampHidden = false;
    EXPECT_TRUE(measuredRaysText(shown, fr).contains(name));
}

INSTANTIATE_TEST_SUITE_P(Rows, HiddenLamp,
                         ::testing::Values("mercure", "sodium", "hydrogène", "hélium", "cadmium", "néon", "zinc",
                                           "lithium"),
                         RowName());

// --- Files with and without the addition -------------------------------------------------------

struct FileCase {
    const char *name;
    SourceType source;
    int lamp;
    bool hidden;
    bool extended; // written in the extended layout
    int kept = -1; // the unknown lamp kept in the list while another is lit
};
std::ostream &operator<<(std::ostream &o, const FileCase &c)
{
    return o << c.name;
}

using LampFiles = ::testing::TestWithParam<FileCase>;

TEST_P(LampFiles, ClassicUnlessALampAndReadBackExactly)
{
    const FileCase c = GetParam();
    Situation s;
    s.scene.source = c.source;
    s.scene.lamp = c.lamp;
    s.scene.lampHidden = c.hidden;
    s.scene.unknownLamp = c.kept;
    const QByteArray bytes = serialiseSituation(s).value_or(QByteArray());
    ASSERT_FALSE(bytes.isEmpty());
    const RecordReader reader(bytes);
    // A classic reader takes only "VORLAC": the extended file is refused as not its own.
    EXPECT_EQ(reader.text(1), c.extended ? QStringLiteral("VORLAC+") : QStringLiteral("VORLAC"));
    if (!c.extended) {
        Situation plain = s;
        plain.scene.lamp = 0;
        EXPECT_EQ(bytes, serialiseSituation(plain).value_or(QByteArray())); // byte for byte as before
        EXPECT_EQ(reader.recordCount(), situationRecordCount(s.rowCount()));
    }
    const SituationResult back = parseSituation(bytes);
    ASSERT_TRUE(back.situation);
    EXPECT_EQ(back.situation->scene.source, c.source);
    EXPECT_EQ(back.situation->scene.lampHidden, c.hidden);
    if (c.extended) {
        EXPECT_EQ(back.situation->scene.lamp, c.lamp);
        EXPECT_EQ(back.situation->scene.unknownLamp, c.kept);
    }
    // An unknown lamp's code changes with the file: two files do not tell it.
    Situation other = s;
    other.scene.incidenceAngle = 40;
    const QByteArray second = serialiseSituation(other).value_or(QByteArray());
    const auto code = [](const QByteArray &b) { return b.mid(b.indexOf("LAMPE?="), 23); };
    EXPECT_EQ(code(bytes) != code(second), drawnUnknownLamp(s.scene) >= 0);
    if (c.extended) {
        EXPECT_EQ(parseSituation(second).situation->scene.lamp, c.lamp);
    }
}

// A code written before codes had a salt still names its lamp.
TEST(LampFiles, AnUnsaltedCodeStillReads)
{
    Situation s;
    s.scene.source = SourceType::LineLamp;
    s.scene.lamp = 4;
    s.scene.lampHidden = true;
    QByteArray bytes = serialiseSituation(s).value_or(QByteArray());
    const qsizetype at = bytes.indexOf("LAMPE?=") / 128 * 128;
    ASSERT_GT(at, 0);
    bytes.replace(at, 128, encodeRecord(u"LAMPE?=667933BC").value_or(QByteArray()));
    const SituationResult back = parseSituation(bytes);
    ASSERT_TRUE(back.situation);
    EXPECT_TRUE(back.situation->scene.lampHidden);
    EXPECT_EQ(back.situation->scene.lamp, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, LampFiles,
                         ::testing::Values(FileCase{"five", SourceType::FiveRadiations, 0, false, false},
                                           FileCase{"mono_lamp_3_kept_out", SourceType::Monochromatic, 3, false, false},
                                           FileCase{"white", SourceType::WhiteLight, 5, false, false},
                                           FileCase{"lamp_sodium", SourceType::LineLamp, 1, false, true},
                                           FileCase{"lamp_neon_hidden", SourceType::LineLamp, 5, true, true},
                                           FileCase{"mono_with_hidden_lamp", SourceType::Monochromatic, 7, true, true},
                                           FileCase{"mercury_lit_unknown_kept", SourceType::LineLamp, 0, false, true,
                                                    3},
                                           FileCase{"white_unknown_kept", SourceType::WhiteLight, 0, false, true, 2}),
                         RowName());

// --- Sweeps against the tracer -------------------------------------------------------------------

struct SweepCase {
    const char *name;
    int prism;
    int apex;
    double lambda;
    double step;
    int lines; // expected count (at most 100)
    int cut;
};
std::ostream &operator<<(std::ostream &o, const SweepCase &c)
{
    return o << c.name << ' ' << c.step;
}

using DeviationSweep = ::testing::TestWithParam<SweepCase>;

TEST_P(DeviationSweep, FollowsTheTracerFromTheLimit)
{
    const SweepCase c = GetParam();
    SceneState s;
    s.apexAngle = c.apex;
    s.prismCauchyA = kMaterials[std::size_t(c.prism)].cauchyA;
    s.prismCauchyB = kMaterials[std::size_t(c.prism)].cauchyB;
    const Sweep sweep = deviationSweep(s, c.lambda, c.step);
    EXPECT_EQ(int(sweep.lines.size()), c.lines);
    EXPECT_EQ(sweep.cut, c.cut);
    EXPECT_EQ(sweepCutMessage(sweep).isEmpty(), c.cut == 0);
    ASSERT_FALSE(sweep.lines.empty());
    const double n = CauchyIndex(s.prismCauchyA, s.prismCauchyB, c.lambda);
    const double ne = CauchyIndex(s.outsideCauchyA, s.outsideCauchyB, c.lambda);
    const TraceResult limit = TraceRay(rayOnlyInput(s.apexAngle, 90.0, n, ne));
    // The limit first, where the ray grazes the exit face (i' = 90), then the steps.
    EXPECT_DOUBLE_EQ(sweep.lines.front()[0], limit.measures.limitIncidence);
    EXPECT_NEAR(sweep.lines.front()[1], limit.measures.limitIncidence + 90 - c.apex, 1e-3);
    ASSERT_GT(sweep.lines.size(), 1u);
    EXPECT_NEAR(sweep.lines[1][0] - sweep.lines[0][0], c.step, 1e-9);
    for (const std::vector<double> &line : std::span(sweep.lines).subspan(1)) {
        TraceResult r = TraceRay(rayOnlyInput(s.apexAngle, line[0], n, ne));
        ASSERT_TRUE(r.measures.direct);
        EXPECT_DOUBLE_EQ(line[1], r.measures.deviation);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DeviationSweep,
                         ::testing::Values(SweepCase{"crown", 2, 45, 589.0, 1.0, 85, 0},
                                           SweepCase{"flint", 3, 45, 589.0, 5.0, 16, 0},
                                           SweepCase{"crown_cut", 2, 45, 589.0, 0.5, 100, 70},
                                           SweepCase{"flint_60_400nm", 3, 60, 400.0, 0.1, 100, 335}),
                         RowName());

// D_min, n and lambda every 10 nm with a continuous source, or for each line of a lamp (numbered
// when the lamp is hidden), as findMinimumDeviation gives them.
struct MinimumSweepCase {
    const char *name;
    int prism;
    const char *lamp; // nullptr: a continuous source
    bool hidden;
    int lines;
};
std::ostream &operator<<(std::ostream &o, const MinimumSweepCase &c)
{
    return o << c.name;
}

using MinimumSweep = ::testing::TestWithParam<MinimumSweepCase>;

TEST_P(MinimumSweep, FollowsFindMinimumDeviation)
{
    const MinimumSweepCase c = GetParam();
    SceneState s = c.lamp ? lampScene(c.lamp, c.hidden) : SceneState{};
    s.prismCauchyA = kMaterials[std::size_t(c.prism)].cauchyA;
    s.prismCauchyB = kMaterials[std::size_t(c.prism)].cauchyB;
    const Sweep sweep = c.lamp ? lampSweep(s) : spectrumSweep(s);
    ASSERT_EQ(int(sweep.lines.size()), c.lines);
    EXPECT_EQ(sweep.titles.front(), c.hidden ? QStringLiteral("raie") : QStringLiteral("lambda (nm)"));
    for (int k = 0; k < c.lines; ++k) {
        const double lambda =
            c.lamp ? lineLamps()[std::size_t(s.lamp)].lines[std::size_t(k)].wavelength : 400.0 + 10 * k;
        const MinimumDeviation m =
            findMinimumDeviation(s.apexAngle, CauchyIndex(s.prismCauchyA, s.prismCauchyB, lambda),
                                 CauchyIndex(s.outsideCauchyA, s.outsideCauchyB, lambda));
        const std::vector<double> &line = sweep.lines[std::size_t(k)];
        EXPECT_EQ(line[0], c.hidden ? k + 1.0 : lambda);
        EXPECT_DOUBLE_EQ(line[1], m.deviation);
        EXPECT_DOUBLE_EQ(line[2], m.relativeIndex);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, MinimumSweep,
                         ::testing::Values(MinimumSweepCase{"crown_spectrum", 2, nullptr, false, 41},
                                           MinimumSweepCase{"flint_spectrum", 3, nullptr, false, 41},
                                           MinimumSweepCase{"flint_neon", 3, "néon", false, 71},
                                           MinimumSweepCase{"crown_hidden_mercury", 2, "mercure", true, 9}),
                         RowName());

} // namespace
