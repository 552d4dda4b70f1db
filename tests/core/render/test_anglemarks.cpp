#include "analysis/measuretexts.h"
#include "common/displaysettings.h"
#include "model/constants.h"
#include "render/anglemarks.h"
#include "render/scenerenderer.h"
#include "rowname.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <map>
#include <ostream>

using namespace vorlac;

namespace
{

struct MarkRow {
    const char *name;
    int prism, outside; // material rows
    SourceType source;
    int wavelength;
    bool black;
    int lamp = 0; // row of lineLamps() for a lamp source
};

[[maybe_unused]] void PrintTo(const MarkRow &row, std::ostream *os)
{
    *os << row.name;
}

class AngleMarkSweep : public ::testing::TestWithParam<MarkRow>
{
};

// Over every apex and a sweep of incidences: each label reads the panel's value, a mark exists
// exactly where the panel shows a value, and the labels stay inside the picture, apart, and off
// the measured ray and the prism's outline.
TEST_P(AngleMarkSweep, LabelsArePanelTextsApartAndInside)
{
    const MarkRow &row = GetParam();
    const QLocale fr(QLocale::French, QLocale::France);
    SceneState s;
    s.prismMaterial = row.prism;
    s.outsideMaterial = row.outside;
    s.prismCauchyA = kMaterials[row.prism].cauchyA;
    s.prismCauchyB = kMaterials[row.prism].cauchyB;
    s.outsideCauchyA = kMaterials[row.outside].cauchyA;
    s.outsideCauchyB = kMaterials[row.outside].cauchyB;
    s.source = row.source;
    s.wavelength = row.wavelength;
    s.blackBackground = row.black;
    s.lamp = row.lamp;
    const QRectF picture(0, 0, kSceneWidth, kSceneHeight);
    for (int apex : {2, 10, 30, 45, 60, 75, 90})
        for (double incidence = -85; incidence <= 90; incidence += 7.5) {
            s.apexAngle = apex;
            s.incidenceAngle = incidence;
            SCOPED_TRACE(testing::Message() << "A=" << apex << " i=" << incidence);
            ScenePicture pic;
            RedrawScene(s, pic);
            const std::vector<RayMeasures> shown = shownMeasures(s, pic);
            const RayMeasures *ray = nullptr;
            for (const RayMeasures &r : shown)
                if (r.wavelength == minimumWavelength(s))
                    ray = &r;
            ASSERT_NE(ray, nullptr);
            const MeasureLineTexts t = measureLineTexts(*ray, fr);
            std::map<AngleKind, QString> want{{AngleKind::Apex, QStringLiteral("A = %1°").arg(apex)}};
            const std::pair<AngleKind, std::pair<const char *, QString>> quantities[] = {
                {AngleKind::Incidence, {"i", t.incidence}},          {AngleKind::Refraction, {"r", t.refraction}},
                {AngleKind::ExitIncidence, {"r'", t.exitIncidence}}, {AngleKind::Emergence, {"i'", t.emergence}},
                {AngleKind::Deviation, {"D", t.deviation}},
            };
            for (const auto &[kind, q] : quantities)
                if (!q.second.isEmpty())
                    want[kind] = QString::fromLatin1(q.first) + QStringLiteral(" = ") + q.second + QStringLiteral("°");

            const AngleFigure fig = angleMarks(traceFigure(s), fr);
            std::map<AngleKind, QString> got;
            for (const AngleMark &m : fig.marks)
                got[m.kind] = m.label;
            EXPECT_EQ(got, want);

            TraceResult measured;
            TraceRay(rayOnlyInput(apex, incidence, ray->measures.prismIndex, ray->measures.outsideIndex), measured);
            for (std::size_t a = 0; a < fig.marks.size(); ++a) {
                const QRectF r = fig.marks[a].labelRect;
                EXPECT_TRUE(picture.contains(r)) << fig.marks[a].label.toStdString();
                for (std::size_t b = a + 1; b < fig.marks.size(); ++b)
                    EXPECT_FALSE(r.intersects(fig.marks[b].labelRect))
                        << fig.marks[a].label.toStdString() << " / " << fig.marks[b].label.toStdString();
                for (const Segment &seg : measured.segments)
                    EXPECT_FALSE(segmentMeetsRect(QLineF(seg.x1, seg.y1, seg.x2, seg.y2), r))
                        << fig.marks[a].label.toStdString();
            }
        }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AngleMarkSweep,
    ::testing::Values(MarkRow{"crown in air, 589 nm", 2, 0, SourceType::Monochromatic, 589, true},
                      MarkRow{"flint in air, five radiations", 3, 0, SourceType::FiveRadiations, 640, true},
                      MarkRow{"crown in water, white light", 2, 1, SourceType::WhiteLight, 450, false},
                      MarkRow{"water prism in flint, outside denser", 1, 3, SourceType::Monochromatic, 700, false},
                      MarkRow{"flint in air, neon lamp", 3, 0, SourceType::LineLamp, 640, true, 5}),
    RowName());

struct SettingsRow {
    const char *name;
    const char *text;
    DisplaySettings want;
};

[[maybe_unused]] void PrintTo(const SettingsRow &row, std::ostream *os)
{
    *os << row.name;
}

class DisplaySettingsText : public ::testing::TestWithParam<SettingsRow>
{
};

// Read back what was written; anything foreign or out of range keeps the first values.
TEST_P(DisplaySettingsText, ReadsWhatItWrites)
{
    const SettingsRow &row = GetParam();
    EXPECT_EQ(readDisplaySettings(row.text), row.want);
    EXPECT_EQ(readDisplaySettings(displaySettingsText(row.want)), row.want);
}

INSTANTIATE_TEST_SUITE_P(Rows, DisplaySettingsText,
                         ::testing::Values(SettingsRow{"empty file", "", DisplaySettings{}},
                                           SettingsRow{"all set", "angles=1\nepaisseur=6\nlecture=0\n",
                                                       DisplaySettings{true, 6, false}},
                                           SettingsRow{"out of range and foreign",
                                                       "angles=2\r\nepaisseur=9\nx=1\nlecture\n", DisplaySettings{}}),
                         RowName());

} // namespace

namespace
{

class ZoomedLabels : public ::testing::TestWithParam<double>
{
};

// Zoomed about the prism's apex, the labels keep the unzoomed size and stay inside the window.
TEST_P(ZoomedLabels, KeepTheirSizeInsideTheWindow)
{
    SceneState s;
    const AngleFigure fig = angleMarks(traceFigure(s), QLocale(QLocale::French, QLocale::France));
    ASSERT_FALSE(fig.marks.empty());
    const double fit = 2.0, zoom = GetParam();
    const QRectF window(0, 0, kSceneWidth * fit, kSceneHeight * fit);
    QTransform toWindow;
    toWindow.scale(fit * zoom, fit * zoom);
    toWindow.translate(-kSceneWidth / 2.0 * (1 - 1 / zoom), -kSceneHeight / 2.0 * (1 - 1 / zoom));
    const std::vector<QRectF> places = labelsOnView(fig, toWindow, fit, window);
    ASSERT_EQ(places.size(), fig.marks.size());
    for (std::size_t k = 0; k < places.size(); ++k) {
        EXPECT_TRUE(window.contains(places[k])) << fig.marks[k].label.toStdString();
        EXPECT_EQ(places[k].size(), fig.marks[k].labelRect.size() * fit);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ZoomedLabels, ::testing::Values(1.0, 12.0),
                         [](const ::testing::TestParamInfo<double> &i) {
                             return "Zoom" + std::to_string(int(i.param));
                         });

} // namespace

namespace
{

// The marks of a white-light figure in full (its 401 rays), as the window shows them.
SceneFigure whiteFigure(SceneState s)
{
    s.source = SourceType::WhiteLight;
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    return traceFigure(s, &spectrum);
}

struct WhiteRow {
    const char *name;
    int apex;
    float prismA, prismB; // "Autre"
    int outside;          // material row
    int wavelength;
};

[[maybe_unused]] void PrintTo(const WhiteRow &row, std::ostream *os)
{
    *os << row.name;
}

class WhiteLightLabels : public ::testing::TestWithParam<WhiteRow>
{
};

// Over a sweep of incidences in white light no label box meets any drawn ray (not only every
// 20 nm), no leader crosses another label, and r and r' lie nearer their own face.
TEST_P(WhiteLightLabels, ClearOfEveryDrawnRayAndOfEachOther)
{
    const WhiteRow &row = GetParam();
    SceneState s;
    s.apexAngle = row.apex;
    s.prismMaterial = kCustomMaterial;
    s.prismCauchyA = row.prismA;
    s.prismCauchyB = row.prismB;
    s.outsideMaterial = row.outside;
    s.outsideCauchyA = kMaterials[row.outside].cauchyA;
    s.outsideCauchyB = kMaterials[row.outside].cauchyB;
    s.wavelength = row.wavelength;
    const QLocale fr(QLocale::French, QLocale::France);
    for (double incidence = -64.28; incidence <= 90; incidence += 9.5) {
        s.incidenceAngle = incidence;
        SCOPED_TRACE(testing::Message() << "i=" << incidence);
        const SceneFigure figure = whiteFigure(s);
        ASSERT_EQ(figure.rays.size(), 401u);
        const AngleFigure fig = angleMarks(figure, fr);
        const TraceLayout &l = figure.layout;
        const QLineF entry(kApexX, kApexY, l.baseLeftX, kBaseY), exit(kApexX, kApexY, l.baseRightX, kBaseY);
        const auto distance = [](const QLineF &f, QPointF p) {
            return std::abs(f.dx() * (p.y() - f.y1()) - f.dy() * (p.x() - f.x1())) / f.length();
        };
        for (const AngleMark &m : fig.marks) {
            const std::string label = m.label.toStdString();
            forEachFigureSegment(figure, [&](const Segment &seg) {
                EXPECT_FALSE(segmentMeetsRect(QLineF(seg.x1, seg.y1, seg.x2, seg.y2), m.labelRect)) << label;
            });
            for (const AngleMark &other : fig.marks) {
                if (&other != &m && !m.leader.isNull()) {
                    EXPECT_FALSE(segmentMeetsRect(m.leader, other.labelRect))
                        << label << " over " << other.label.toStdString();
                }
            }
            const QPointF c = m.labelRect.center();
            if (m.kind == AngleKind::Refraction) {
                EXPECT_LE(distance(entry, c), distance(exit, c)) << label;
            } else if (m.kind == AngleKind::ExitIncidence) {
                EXPECT_LE(distance(exit, c), distance(entry, c)) << label;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, WhiteLightLabels,
                         ::testing::Values(WhiteRow{"A13 Autre 1,2 0 in water 637 nm", 13, 1.2f, 0.0f, 1, 637},
                                           WhiteRow{"A60 flint like in air 450 nm", 60, 1.62f, 9000.0f, 0, 450},
                                           WhiteRow{"A30 crown like in air 700 nm", 30, 1.5f, 4200.0f, 0, 700}),
                         RowName());

class MarkPrecision : public ::testing::TestWithParam<int>
{
};

// Each label shows its value to the panel's precision, as the panel's own texts do.
TEST_P(MarkPrecision, LabelsFollowThePanel)
{
    const int decimals = GetParam();
    const QLocale fr(QLocale::French, QLocale::France);
    for (const SourceType source : {SourceType::Monochromatic, SourceType::FiveRadiations, SourceType::WhiteLight}) {
        SceneState s;
        s.source = source;
        s.incidenceAngle = 40;
        const SceneFigure figure = traceFigure(s);
        const MeasureLineTexts t =
            measureLineTexts({figure.measuredWavelength, figure.measuredRay.measures}, fr, decimals);
        std::map<AngleKind, QString> want{{AngleKind::Incidence, QStringLiteral("i = ") + t.incidence + u'°'},
                                          {AngleKind::Refraction, QStringLiteral("r = ") + t.refraction + u'°'},
                                          {AngleKind::Deviation, QStringLiteral("D = ") + t.deviation + u'°'}};
        EXPECT_EQ(t.incidence, angleText(40, fr, decimals));
        for (const AngleMark &m : angleMarks(figure, fr, decimals).marks) {
            if (want.count(m.kind)) {
                EXPECT_EQ(m.label, want[m.kind]) << int(source);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, MarkPrecision, ::testing::Values(1, 2, 3), [](const ::testing::TestParamInfo<int> &i) {
    return std::to_string(i.index) + "_decimals_" + std::to_string(i.param);
});

} // namespace
