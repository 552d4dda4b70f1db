// The screen in the program: F7 and the display menu, drawn over the figure only while shown, the
// spectrum given to the panel, and one undo step per change of its settings.
#include "rowname.h"
#include "vorlacfixture.h"

#include "common/hintline.h"
#include "model/linelamps.h"
#include "projection/projectioncommands.h"
#include "projection/projectionwindow.h"
#include "scene/figureoptions.h"
#include "scene/scenecontroller.h"
#include "scene/sceneframe.h"
#include "scene/sceneview.h"
#include "spectra/observedspectrumview.h"
#include "spectra/screencommands.h"
#include "spectra/screendrag.h"
#include "spectra/screenpanel.h"
#include "table/valuetable.h"
#include "undo/undohistory.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QSpinBox>
#include <QTest>
#include <QUndoStack>
#include <cmath>

using namespace vorlac;

namespace
{

struct DrawnRow {
    const char *name;
    bool shown;
    bool panelOpen;
    SourceType source;
};
void PrintTo(const DrawnRow &row, std::ostream *os)
{
    *os << row.name;
}

class ScreenDrawn : public VorlacFixture, public ::testing::WithParamInterface<DrawnRow>
{
};

// The figure is drawn as designed while the screen is off; shown, the screen and its marks are
// drawn in the view and burnt into the printed figure, whether the panel is open or not.
TEST_P(ScreenDrawn, OnlyWhileShown)
{
    Vorlac &w = window();
    w.controller().setSource(GetParam().source);
    settle();
    SceneView *view = w.sceneFrame().view();
    const QImage designed = view->grab().toImage();
    ScreenCommands &screen = w.screenCommands();
    ScreenSettings s;
    s.shown = GetParam().shown;
    s.placement.distanceMm = 40.0;
    screen.setSettings(s);
    if (GetParam().panelOpen)
        screen.panel()->show();
    settle();
    EXPECT_EQ(screen.layer().has_value(), GetParam().shown);
    if (screen.layer()) {
        EXPECT_FALSE(screen.layer()->marks.empty());
    }
    EXPECT_EQ(view->grab().toImage() == designed, !GetParam().shown);
    const QImage figure = w.picture().image;
    EXPECT_EQ(w.figureOptions().markedFigure(figure) == figure, !GetParam().shown);
}

const DrawnRow kDrawn[] = {
    {"off", false, false, SourceType::WhiteLight},
    {"off panel open", false, true, SourceType::FiveRadiations},
    {"shown white light", true, false, SourceType::WhiteLight},
    {"shown five panel open", true, true, SourceType::FiveRadiations},
};
INSTANTIATE_TEST_SUITE_P(Rows, ScreenDrawn, ::testing::ValuesIn(kDrawn), RowName());

using ScreenWired = VorlacFixture;

// The item (F7) shows the screen and its panel, in one undo step; the spectrum follows the scene.
TEST_F(ScreenWired, KeyShowsScreenAndPanelInOneStep)
{
    Vorlac &w = window();
    ScreenCommands &screen = w.screenCommands();
    settle();
    EXPECT_EQ(screen.action()->shortcut(), QKeySequence(Qt::Key_F7));
    screen.action()->trigger();
    settle();
    EXPECT_TRUE(screen.settings().shown);
    EXPECT_FALSE(screen.panel()->isHidden());
    EXPECT_TRUE(screen.action()->isChecked());
    ASSERT_TRUE(screen.layer().has_value());
    w.undoHistory().undo();
    settle();
    EXPECT_FALSE(screen.settings().shown);
    EXPECT_FALSE(screen.layer().has_value());
    ScreenSettings s;
    s.shown = true;
    screen.setSettings(s);
    const double before = screen.layer()->frame.centre.x;
    w.controller().setApexAngle(w.controller().state().apexAngle + 10);
    settle();
    ASSERT_TRUE(screen.layer().has_value());
    EXPECT_NE(screen.layer()->frame.centre.x, before);
}

// A mouse drag of the drawn screen away from the prism moves it along the beam, the panel's box
// follows and the whole drag is one "écran" step.
TEST_F(ScreenWired, MouseDragPlacesTheScreenInOneStep)
{
    Vorlac &w = window();
    ScreenCommands &screen = w.screenCommands();
    ScreenSettings s;
    s.shown = true;
    s.placement.distanceMm = 40.0;
    screen.setSettings(s);
    screen.panel()->show();
    settle();
    w.undoHistory().clear();
    ASSERT_TRUE(screen.layer().has_value());
    const DrawnScreen d = drawnScreen(*screen.layer());
    const auto pointer = [&d](double px) {
        return QPoint(int(std::lround(d.centre.x + px * d.frame.beam.x)),
                      int(std::lround(d.centre.y + px * d.frame.beam.y)));
    };
    SceneView *view = w.sceneFrame().view();
    QTest::mousePress(view, Qt::LeftButton, {}, pointer(0));
    for (const double px : {10.0, 20.0, 40.0}) {
        QTest::mouseMove(view, pointer(px));
        QCoreApplication::processEvents();
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, pointer(40));
    settle();
    EXPECT_EQ(screen.settings().placement.distanceMm, 50.0);
    EXPECT_EQ(child<QSpinBox>("DistanceEcran")->value(), 50);
    EXPECT_EQ(w.undoHistory().stack().count(), 1);
    w.undoHistory().undo();
    EXPECT_EQ(screen.settings().placement, s.placement);
}

struct F9Row {
    const char *name;
    bool screenShown; // on, its panel open
    bool lampHidden;
    const char *secondTitle; // what C2 is titled after F9
    friend void PrintTo(const F9Row &row, std::ostream *os) { *os << row.name; }
};

class ScreenF9 : public VorlacFixture, public ::testing::WithParamInterface<F9Row>
{
};

// F9 records the line nearest the strip's cursor while the screen is shown, in one undo step;
// with the screen put away it records the angles as it always did.
TEST_P(ScreenF9, RecordsTheLineOrTheAngles)
{
    const F9Row &r = GetParam();
    Vorlac &w = window();
    const int mercury = lineLampRow(QStringLiteral("mercure"));
    r.lampHidden ? w.controller().setUnknownLamp(mercury) : w.controller().setLamp(mercury);
    w.controller().setSource(SourceType::LineLamp);
    ScreenCommands &screen = w.screenCommands();
    if (r.screenShown)
        screen.action()->trigger();
    settle();
    ObservedSpectrumView *view = screen.panel()->view();
    std::optional<ObservedLine> nearest;
    if (r.screenShown) {
        view->setCursorMm(view->range().fromMm + 0.4 * (view->range().toMm - view->range().fromMm));
        nearest = view->nearestLine();
        ASSERT_TRUE(nearest.has_value());
    }
    ValueTable &table = w.valueTable();
    const ValueTable::Snapshot before = table.snapshot();
    w.findChild<QAction *>("releveMesure")->trigger();
    settle();
    EXPECT_EQ(table.title(1), QString::fromUtf8(r.secondTitle));
    if (nearest) {
        EXPECT_EQ(table.title(0), QStringLiteral("x (mm)"));
        EXPECT_NEAR(*table.cellValue(1, 0), nearest->positionMm, 1e-3);
        EXPECT_NEAR(*table.cellValue(1, 1), nearest->wavelength ? *nearest->wavelength : nearest->rank, 1e-3);
        EXPECT_TRUE(view->selectedLine().has_value()); // the cursor moved onto it: the read-out names it
        EXPECT_TRUE(w.hintLine().info().contains(QStringLiteral("ligne 1 du tableau")));
    }
    w.undoHistory().undo();
    settle();
    EXPECT_TRUE(table.snapshot() == before);
}

const F9Row kF9[] = {
    {"screen shown mercury", true, false, "lambda (nm)"},
    {"screen shown hidden lamp", true, true, "rang"},
    {"screen put away", false, false, "D (°)"},
};
INSTANTIATE_TEST_SUITE_P(Rows, ScreenF9, ::testing::ValuesIn(kF9), RowName());

// The projection shows the screen's strip along its bottom (key S), the scene fitted above it.
TEST_F(ScreenWired, ProjectionShowsTheStrip)
{
    Vorlac &w = window();
    w.controller().setLamp(lineLampRow(QStringLiteral("sodium")));
    w.controller().setSource(SourceType::LineLamp);
    w.screenCommands().setSettings(ScreenSettings{true, {}, false, {}});
    w.projection().toggle();
    ProjectionWindow *proj = w.projection().window();
    ASSERT_NE(proj, nullptr);
    proj->showNormal();
    proj->resize(960, 600);
    QApplication::processEvents();
    const double fitted = proj->viewport().fitScale;
    EXPECT_TRUE(proj->stripBand().isEmpty());
    QTest::keyClick(proj, Qt::Key_S);
    ASSERT_TRUE(proj->stripShown());
    EXPECT_EQ(proj->stripBand().bottom(), proj->height() - 1);
    EXPECT_LT(proj->viewport().fitScale, fitted); // the scene above the strip
    // The sodium doublet's yellow is in the band, with the panel closed.
    const QImage shot = proj->grab(proj->stripBand()).toImage();
    int yellow = 0;
    for (int x = 0; x < shot.width(); ++x) {
        const QColor c = shot.pixelColor(x, shot.height() / 4);
        yellow += c.red() > 100 && c.green() > 60 && c.blue() < 60;
    }
    EXPECT_GT(yellow, 0);
    // With the panel open, a click on the strip's middle puts the panel's cursor there.
    w.screenCommands().toggle();
    proj->grab();
    QTest::mouseClick(proj, Qt::LeftButton, {}, proj->stripBand().center());
    const StripRange r = w.screenCommands().panel()->view()->range();
    EXPECT_NEAR(w.screenCommands().panel()->view()->cursorMm(), (r.fromMm + r.toMm) / 2, 3 * r.pixelMm());
}

// Choosing the Sun lights the drawn rays (white light's, in the same undo step); undo, redo and a
// restore of the settings bring the drawing back with them.
TEST_F(ScreenWired, SunLightsTheDrawnRays)
{
    Vorlac &w = window();
    ScreenCommands &screen = w.screenCommands();
    w.controller().setSource(SourceType::FiveRadiations);
    settle();
    screen.action()->trigger();
    settle();
    auto *light = screen.panel()->findChild<QComboBox *>(QStringLiteral("ListeLumiereEcran"));
    light->setCurrentIndex(1);
    emit light->activated(1);
    settle();
    const auto sodiumDark = [&w] {
        const FigureRay *ray = w.controller().figure().rayAt(589.0);
        return ray && redOf(ray->radiation.colour) + greenOf(ray->radiation.colour) < 100;
    };
    EXPECT_EQ(w.controller().state().source, SourceType::WhiteLight);
    EXPECT_TRUE(sodiumDark());
    w.undoHistory().undo();
    settle();
    EXPECT_EQ(w.controller().state().source, SourceType::FiveRadiations);
    EXPECT_FALSE(screen.settings().sun);
    w.undoHistory().redo();
    settle();
    EXPECT_TRUE(screen.settings().sun && sodiumDark());
    ScreenSettings s = screen.settings();
    s.sun = false;
    screen.setSettings(s);
    EXPECT_FALSE(sodiumDark());
}

} // namespace
