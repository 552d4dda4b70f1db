// The screen in the program: F7 and the display menu, drawn over the figure only while shown, the
// spectrum given to the panel, and one undo step per change of its settings.
#include "rowname.h"
#include "vorlacfixture.h"

#include "scene/figureoptions.h"
#include "scene/scenecontroller.h"
#include "scene/sceneframe.h"
#include "scene/sceneview.h"
#include "spectra/screencommands.h"
#include "spectra/screenpanel.h"
#include "undo/undohistory.h"

#include <QAction>
#include <QImage>
#include <QPainter>
#include <QTest>

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

} // namespace
