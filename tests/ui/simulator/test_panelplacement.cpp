// The measures panel opens where it hides nothing, moves by its title bar or Alt+arrows, stays
// inside the window and opens there again at the next start; its icon hides under the panels.
#include "common/clicklabel.h"
#include "rowname.h"
#include "simulator/measurepanel.h"
#include "simulator/toolbar.h"
#include "vorlacfixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

using namespace vorlac;

namespace
{

struct PlaceRow {
    const char *name;
    QSize window;
    QPoint drag; // the title bar dragged by this, when not null
    int key;     // then Alt+key on the title bar, when not 0
    QPoint expected;
};
void PrintTo(const PlaceRow &r, std::ostream *os)
{
    *os << r.name;
}

class MeasurePlace : public VorlacFixture, public ::testing::WithParamInterface<PlaceRow>
{
  protected:
    MeasurePanel &open()
    {
        window().resize(GetParam().window);
        window().measurePanel().show();
        return window().measurePanel();
    }
};

void sendMouse(QWidget *w, QEvent::Type type, QPoint global, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, w->mapFromGlobal(QPointF(global)), QPointF(global), Qt::LeftButton, buttons, {});
    QApplication::sendEvent(w, &e);
}

TEST_P(MeasurePlace, OpensMovesAndIsRemembered)
{
    const PlaceRow &row = GetParam();
    MeasurePanel &panel = open();
    QWidget *title = panel.titleBar();
    if (!row.drag.isNull()) {
        const QPoint from = title->mapToGlobal(QPoint(40, 8));
        sendMouse(title, QEvent::MouseButtonPress, from, Qt::LeftButton);
        sendMouse(title, QEvent::MouseMove, from + row.drag / 2, Qt::LeftButton);
        sendMouse(title, QEvent::MouseMove, from + row.drag, Qt::LeftButton);
        sendMouse(title, QEvent::MouseButtonRelease, from + row.drag, Qt::NoButton);
    }
    if (row.key)
        QTest::keyClick(title, row.key, Qt::AltModifier);
    EXPECT_EQ(panel.pos(), row.expected);
    EXPECT_FALSE(panel.isHidden()); // a drag is not a click
    EXPECT_TRUE(QRect(QPoint(), row.window).contains(panel.geometry()));
    if (row.drag.isNull() && !row.key) // opened where it was put: nothing the exercise needs under it
        for (const char *name : {"btexo", "fich", "Picture3"})
            EXPECT_FALSE(panel.geometry().intersects(child<QWidget>(name)->geometry())) << name;
    // The next start opens it where the pupil left it.
    win.reset();
    EXPECT_EQ(open().pos(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MeasurePlace,
    ::testing::Values(PlaceRow{"wide_window_beside_the_controls", {1280, 900}, {}, 0, {796, 48}},
                      PlaceRow{"tall_window_below_them", {800, 900}, {}, 0, {424, 556}},
                      PlaceRow{"designed_window_under_the_tab", {786, 571}, {}, 0, {424, 315}},
                      PlaceRow{"dragged", {1280, 900}, {-300, 100}, 0, {496, 148}},
                      PlaceRow{"dragged_out_stays_inside", {1280, 900}, {2000, -500}, 0, {919, 0}},
                      PlaceRow{"alt_left", {1280, 900}, {}, Qt::Key_Left, {786, 48}},
                      PlaceRow{"dragged_then_alt_down", {1280, 900}, {-300, 100}, Qt::Key_Down, {496, 158}}),
    RowName());

struct CoverRow {
    const char *name;
    const char *panel; // shown with its icon's click; "" for the table
    bool iconShown;
};
void PrintTo(const CoverRow &r, std::ostream *os)
{
    *os << r.name;
}
class MeasureIconCover : public VorlacFixture, public ::testing::WithParamInterface<CoverRow>
{
};

// What a panel or the table covers of the measures icon is wholly covered.
TEST_P(MeasureIconCover, NothingShowsBesideThePanels)
{
    Vorlac &w = window(QSize(800, 600)); // the designed window
    w.show();
    if (*GetParam().panel)
        QTest::mouseClick(child<QWidget>(GetParam().panel), Qt::LeftButton, {}, QPoint(60, 40));
    else
        w.toolbar().tableToggle()->click();
    auto *icon = child<QWidget>("ImageMesures");
    EXPECT_EQ(icon->isVisible(), GetParam().iconShown);
    const QRect around = icon->geometry().adjusted(-8, -8, 8, 8);
    const QImage shown = w.grab(around).toImage();
    icon->hide();
    if (!GetParam().iconShown)
        EXPECT_EQ(shown, w.grab(around).toImage());
}

INSTANTIATE_TEST_SUITE_P(Rows, MeasureIconCover,
                         ::testing::Values(CoverRow{"table", "", false}, CoverRow{"source", "Image3(4)", false},
                                           CoverRow{"display", "Image3(3)", true}),
                         RowName());

} // namespace
