#include "common/keptlayout.h"
#include "output/figurepage.h"
#include "projection/magnifiercommands.h"
#include "projection/magnifierwindow.h"
#include "projection/projectioncommands.h"
#include "projection/projectionwindow.h"
#include "render/sceneoverlays.h"
#include "rowname.h"
#include "scene/figureoptions.h"
#include "scene/sceneframe.h"
#include "scene/sceneview.h"
#include "undo/undohistory.h"
#include "vorlacfixture.h"

#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QPainter>
#include <QTest>
#include <QUndoStack>
#include <functional>
#include <ostream>

using namespace vorlac;

namespace
{

// The picture with Line1, as the main window shows it (the lamp is a widget of its own).
QImage shownScene(const ScenePicture &picture)
{
    QImage image = picture.image;
    QPainter p(&image);
    paintSceneOverlays(p, sceneOverlays(picture), nullptr);
    return image;
}

// Kept words follow their font as well as their text: the read-out grows with the window.
TEST(KeptLayout, LaidOutAgainForAnotherFontOrText)
{
    KeptLayout kept;
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(14);
    QFont large = small;
    large.setPixelSize(60);
    const double width = kept.of(QStringLiteral("λ = 589 nm"), small, {}).size().width();
    EXPECT_GT(kept.of(QStringLiteral("λ = 589 nm"), large, {}).size().width(), 3 * width);
    EXPECT_EQ(kept.of(QStringLiteral("λ = 589 nm (sodium)"), large, {}).text(), QStringLiteral("λ = 589 nm (sodium)"));
}

struct ChangeRow {
    const char *name;
    std::function<void(SceneController &)> change;
};

[[maybe_unused]] void PrintTo(const ChangeRow &row, std::ostream *os)
{
    *os << row.name;
}

class ProjectionFollows : public VorlacFixture, public ::testing::WithParamInterface<ChangeRow>
{
};

// At the scene's own size and one-pixel rays the projection shows the main window's picture,
// pixel for pixel, after each kind of change, without waiting for an event. The magnifier's own
// pixels are those it paints anywhere else.
TEST_P(ProjectionFollows, EveryChangeShowsTheSameTrace)
{
    Vorlac &w = window();
    w.figureOptions().setProjectionRayWidth(1);
    w.figureOptions().setProjectionReadout(false);
    w.magnifier().action()->trigger();
    MagnifierWindow *magnifier = w.magnifier().window();
    ASSERT_NE(magnifier, nullptr);
    w.projection().toggle();
    ProjectionWindow *proj = w.projection().window();
    ASSERT_NE(proj, nullptr);
    proj->showNormal();
    proj->setGeometry(QRect(proj->geometry().topLeft(), QSize(616, 390)));
    QApplication::processEvents();
    ASSERT_EQ(proj->size(), QSize(616, 390));
    ASSERT_DOUBLE_EQ(proj->viewport().scale(), 1.0);

    GetParam().change(w.controller());
    // The frame painted whole draws the rays in the window's own pixels: the same pixels, all
    // but the lamp's.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    const QImage expected = shownScene(w.picture());
    const auto *shown = dynamic_cast<const QImage *>(proj->backingStore()->paintDevice());
    ASSERT_NE(shown, nullptr);
    const QRect lamp = proj->lampRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            differing += !lamp.contains(x, y) && shown->pixel(x, y) != expected.pixel(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(proj->sceneImage(), expected);
    // Frames drawn in place clear only what the last one drew: the read-out, the marks and the
    // rays of two lamp steps leave no trace that a whole new picture would not show.
    w.figureOptions().setProjectionReadout(true);
    w.figureOptions().setAngleMarks(true);
    for (const int step : {-7, 3}) {
        w.controller().stepLamp(step);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        EXPECT_EQ(shown->convertToFormat(QImage::Format_RGB32),
                  proj->grab().toImage().convertToFormat(QImage::Format_RGB32))
            << step;
    }
    proj->close();

    const auto *inStore = dynamic_cast<const QImage *>(magnifier->backingStore()->paintDevice());
    ASSERT_NE(inStore, nullptr);
    const QRect area = magnifier->pictureRect();
    EXPECT_EQ(inStore->copy(area).convertToFormat(QImage::Format_RGB32),
              magnifier->grab(area).toImage().convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProjectionFollows,
    ::testing::Values(ChangeRow{"apex", [](SceneController &c) { c.setApexAngle(70); }},
                      ChangeRow{"lamp key", [](SceneController &c) { c.stepLamp(10); }},
                      ChangeRow{"monochromatic wavelength",
                                [](SceneController &c) {
                                    c.setSource(SourceType::Monochromatic);
                                    c.setWavelength(450);
                                }},
                      ChangeRow{"white light", [](SceneController &c) { c.setSource(SourceType::WhiteLight); }},
                      ChangeRow{"white background", [](SceneController &c) { c.setBlackBackground(false); }},
                      ChangeRow{"flint in water",
                                [](SceneController &c) {
                                    c.setMaterial(MaterialSide::Prism, 3);
                                    c.setMaterial(MaterialSide::Outside, 1);
                                }},
                      ChangeRow{"normals", [](SceneController &c) { c.setMarks(true, true); }}),
    RowName());

struct OptionRow {
    const char *name;
    SourceType source;
    bool black;
};

[[maybe_unused]] void PrintTo(const OptionRow &row, std::ostream *os)
{
    *os << row.name;
}

class AnglesOption : public VorlacFixture, public ::testing::WithParamInterface<OptionRow>
{
};

// Off, the scene on screen and the printed figure are today's pixels; on, both carry the marks;
// off again, the same pixels as before. The choice is there at the next start.
TEST_P(AnglesOption, OffIsTodaysPicturesAndTheChoiceIsKept)
{
    Vorlac &w = window();
    w.controller().setSource(GetParam().source);
    w.controller().setBlackBackground(GetParam().black);
    FigureOptions &o = w.figureOptions();
    QAction *item = o.anglesAction();
    EXPECT_EQ(item->text(), QStringLiteral("Angles sur le schéma"));
    EXPECT_FALSE(item->isChecked());
    SceneView *view = w.sceneFrame().view();
    view->lamp()->hide(); // the lamp is a child widget of its own
    const QImage today = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(today, shownScene(w.picture()));
    const QImage burnt = figureWithOverlays(w.picture(), QImage());
    EXPECT_EQ(o.markedFigure(burnt), burnt);

    item->trigger();
    EXPECT_FALSE(o.marks().marks.empty());
    EXPECT_NE(view->grab().toImage().convertToFormat(QImage::Format_RGB32), today);
    EXPECT_NE(o.markedFigure(burnt), burnt);
    {
        FigureOptions next(w.controller(), dir.path() + "/etat/affichage.txt", nullptr);
        EXPECT_TRUE(next.settings().angleMarks);
        EXPECT_TRUE(next.anglesAction()->isChecked());
    }
    item->trigger();
    EXPECT_EQ(view->grab().toImage().convertToFormat(QImage::Format_RGB32), today);
    EXPECT_EQ(o.markedFigure(burnt), burnt);
}

INSTANTIATE_TEST_SUITE_P(Rows, AnglesOption,
                         ::testing::Values(OptionRow{"five radiations", SourceType::FiveRadiations, true},
                                           OptionRow{"monochromatic on white", SourceType::Monochromatic, false},
                                           OptionRow{"white light", SourceType::WhiteLight, true}),
                         RowName());

struct LampRow {
    const char *name;
    double zoom;
    int key; // 0: a drag
};

[[maybe_unused]] void PrintTo(const LampRow &row, std::ostream *os)
{
    *os << row.name;
}

class ProjectionLamp : public VorlacFixture, public ::testing::WithParamInterface<LampRow>
{
};

// The lamp moves in the projection window, zoomed or not, where it is drawn, through the main
// window's controller: one undo step, which puts it back.
TEST_P(ProjectionLamp, MovesWhereDrawnWithOneUndoStep)
{
    const LampRow &row = GetParam();
    Vorlac &w = window();
    w.projection().toggle();
    ProjectionWindow *proj = w.projection().window();
    ASSERT_NE(proj, nullptr);
    EXPECT_TRUE(proj->actions().contains(w.findChild<QAction *>("releveMesure"))); // F9 records from there too
    QApplication::processEvents();
    if (row.zoom > 1)
        QTest::keyClick(proj, Qt::Key_Plus, Qt::ControlModifier); // about the centre: the pointer is away
    QApplication::processEvents();
    EXPECT_EQ(proj->viewport().zoomed(), row.zoom > 1);
    const double before = w.scene().incidenceAngle;
    if (row.key) {
        QTest::keyClick(proj, static_cast<Qt::Key>(row.key));
    } else {
        const QPoint lamp = proj->lampRect().center().toPoint();
        QTest::mousePress(proj, Qt::LeftButton, {}, lamp);
        // Towards the prism's base: the light comes from lower down, a larger incidence.
        QMouseEvent move(QEvent::MouseMove, QPointF(lamp + QPoint(0, 12)), proj->mapToGlobal(QPointF(lamp)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(proj, &move);
        QTest::mouseRelease(proj, Qt::LeftButton, {}, lamp + QPoint(0, 12));
    }
    EXPECT_GT(w.scene().incidenceAngle, before);
    w.undoHistory().closeStep();
    EXPECT_EQ(w.undoHistory().stack().count(), 1);
    w.undoHistory().undo();
    EXPECT_DOUBLE_EQ(w.scene().incidenceAngle, before);
    QTest::keyClick(proj, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(w.projection().window(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProjectionLamp,
                         ::testing::Values(LampRow{"drag", 1, 0}, LampRow{"drag zoomed", 1.25, 0},
                                           LampRow{"right arrow", 1, Qt::Key_Right},
                                           LampRow{"page up zoomed", 1.25, Qt::Key_PageUp}),
                         RowName());

} // namespace

namespace
{

class MainSceneZoom : public VorlacFixture, public ::testing::WithParamInterface<double>
{
};

// The main window's scene zoomed: the lamp stands where the zoomed picture puts it and drags
// from there; Ctrl+0 gives back the designed view, pixel for pixel.
TEST_P(MainSceneZoom, LampDragsWhereDrawnAndCtrl0Returns)
{
    Vorlac &w = window();
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        GTEST_SKIP() << "no active window on this platform";
    SceneView *view = w.sceneFrame().view();
    view->lamp()->hide();
    const QImage designed = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    view->zoomAt(QPointF(300, 120), GetParam());
    const QPointF lampCentre = QPointF(sceneOverlays(w.picture()).lampTopLeft) + QPointF(16, 16);
    EXPECT_EQ(view->lamp()->pos(), (view->viewport().toWindow(lampCentre) - QPointF(16, 16)).toPoint());
    const double before = w.scene().incidenceAngle;
    w.sceneFrame().lampMouseMove(Qt::LeftButton, QPointF(16, 16 + 6 * GetParam()));
    w.sceneFrame().lampMouseUp();
    EXPECT_GT(w.scene().incidenceAngle, before);
    w.controller().setIncidenceAngle(before);
    QTest::keyClick(&w, Qt::Key_0, Qt::ControlModifier);
    EXPECT_FALSE(view->viewport().zoomed());
    EXPECT_EQ(view->grab().toImage().convertToFormat(QImage::Format_RGB32), designed);
}

INSTANTIATE_TEST_SUITE_P(Rows, MainSceneZoom, ::testing::Values(2.0, 7.5, 20.0));

} // namespace
