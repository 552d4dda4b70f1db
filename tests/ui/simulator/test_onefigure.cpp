#include "analysis/measuretexts.h"
#include "common/regional.h"
#include "model/colour.h"
#include "model/linelamps.h"
#include "panels/measurepanel.h"
#include "projection/magnifiercommands.h"
#include "projection/magnifierwindow.h"
#include "projection/projectioncommands.h"
#include "projection/projectionwindow.h"
#include "render/magnifier.h"
#include "scene/figureoptions.h"
#include "scene/scenecontroller.h"
#include "vorlacfixture.h"

#include <QLabel>
#include <QTest>
#include <cmath>

using namespace vorlac;

namespace vorlac
{
// A failing row names its source.
void PrintTo(SourceType source, std::ostream *os)
{
    const char *names[] = {"monochromatic", "five_radiations", "white_light", "line_lamp"};
    *os << names[int(source)];
}
} // namespace vorlac

namespace
{

class OneFigure : public VorlacFixture, public ::testing::WithParamInterface<SourceType>
{
};

// With the main view, the projection, the magnifier, the measurements panel and the angle marks
// all open, a lamp key step traces the scene once, and every view shows that one figure.
TEST_P(OneFigure, OneTracePerLampStepWithEveryViewOpen)
{
    Vorlac &w = window();
    SceneController &c = w.controller();
    c.setSource(GetParam());
    w.projection().toggle();
    w.magnifier().action()->trigger();
    QTest::mouseClick(child<QLabel>("ImageMesures"), Qt::LeftButton);
    w.figureOptions().setAngleMarks(true);
    ASSERT_NE(w.projection().window(), nullptr);
    ASSERT_NE(w.magnifier().window(), nullptr);
    ASSERT_FALSE(w.measurePanel().isHidden());
    settle();
    for (const double step : {1.0, -1.0, 0.1}) {
        const int before = c.figureCount();
        c.stepLamp(step);
        EXPECT_EQ(c.figureCount(), before + 1) << step;
        EXPECT_EQ(c.figure().state.incidenceAngle, c.state().incidenceAngle);
        EXPECT_EQ(w.magnifier().window()->beam().centre.x, magnifiedBeam(c.figure()).centre.x);
        ASSERT_FALSE(w.figureOptions().marks().marks.empty());
    }
    c.releaseLamp();
    // The panel's precision redraws the marks at once.
    w.figureOptions().setAngleDecimals(3);
    const QString incidence = QStringLiteral("i = %1°").arg(angleText(c.state().incidenceAngle, regionalLocale(), 3));
    bool found = false;
    for (const AngleMark &m : w.figureOptions().marks().marks)
        found = found || (m.kind == AngleKind::Incidence && m.label == incidence);
    EXPECT_TRUE(found) << incidence.toStdString();
}

std::string sourceName(const ::testing::TestParamInfo<SourceType> &i)
{
    return std::to_string(i.index) + '_' + ::testing::PrintToString(i.param);
}

INSTANTIATE_TEST_SUITE_P(Rows, OneFigure,
                         ::testing::Values(SourceType::Monochromatic, SourceType::FiveRadiations, SourceType::LineLamp,
                                           SourceType::WhiteLight),
                         sourceName);

class HiddenLampStrip : public VorlacFixture, public ::testing::WithParamInterface<bool>
{
};

// The source panel's strip shows a named lamp's lines at their wavelengths, and none of a hidden
// lamp's: they are what the pupil is to measure.
TEST_P(HiddenLampStrip, ShowsTheLinesOfANamedLampOnly)
{
    const bool hidden = GetParam();
    Vorlac &w = window();
    const int hydrogen = lineLampRow(QStringLiteral("hydrogène"));
    ASSERT_GE(hydrogen, 0);
    if (hidden) {
        w.controller().setUnknownLamp(hydrogen);
    } else {
        w.controller().setSource(SourceType::LineLamp);
        w.controller().setLamp(hydrogen);
    }
    const QImage strip = child<QLabel>("Image1")->pixmap().toImage();
    ASSERT_FALSE(strip.isNull());
    int lit = 0;
    for (const double nm : {410.17, 434.05, 486.13, 656.28}) {
        const int x = int(std::lround((nm - kMinWavelength) / (kMaxWavelength - kMinWavelength) * (strip.width() - 1)));
        lit += (strip.pixel(x, strip.height() / 2) & 0xffffffu) != 0;
    }
    EXPECT_EQ(lit, hidden ? 0 : 4);
    if (hidden) {
        w.controller().revealLamp();
        const QImage revealed = child<QLabel>("Image1")->pixmap().toImage();
        EXPECT_NE(revealed, strip) << "revealed, the lamp shows its lines";
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, HiddenLampStrip, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool> &i) {
                             return std::to_string(i.index) + (i.param ? "_hidden" : "_named");
                         });

} // namespace
