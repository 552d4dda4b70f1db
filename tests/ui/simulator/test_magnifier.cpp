#include "analysis/measuretexts.h"
#include "common/menus.h"
#include "common/regional.h"
#include "model/linelamps.h"
#include "panels/lamplinelist.h"
#include "panels/measurepanel.h"
#include "projection/magnifiercommands.h"
#include "projection/magnifierwindow.h"
#include "rowname.h"
#include "scene/figureoptions.h"
#include "table/valuetable.h"
#include "vorlacfixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>
#include <ostream>

using namespace vorlac;

namespace
{

class PanelLampLines : public VorlacFixture, public ::testing::WithParamInterface<const char *>
{
};

// With a lamp the panel lists every line, the one nearest the cursor selected; the other
// sources get the designed columns back, in the same panel.
TEST_P(PanelLampLines, EveryLineListedNearestSelected)
{
    const int cursor = 589;
    SceneController &c = window().controller();
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    showMeasures();
    MeasurePanel &panel = window().measurePanel();
    const QSize designed = panel.size();
    c.setSource(SourceType::LineLamp);
    c.setLamp(lineLampRow(QString::fromUtf8(GetParam())));
    c.setWavelength(cursor);
    LampLineList *list = panel.lampLines();
    const auto lines = lineLamps()[std::size_t(c.state().lamp)].lines;
    ASSERT_FALSE(list->isHidden());
    EXPECT_TRUE(child<QWidget>("MesureValeurs")->isHidden());
    ASSERT_EQ(list->rowCount(), int(lines.size()));
    std::size_t nearest = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(list->verticalHeaderItem(int(k))->text(),
                  wavelengthValueText(lines[k].wavelength, regionalLocale(), true));
        if (std::abs(lines[k].wavelength - cursor) < std::abs(lines[nearest].wavelength - cursor))
            nearest = k;
    }
    EXPECT_EQ(list->currentRow(), int(nearest));
    const QRect shown = list->visualItemRect(list->item(int(nearest), 0));
    EXPECT_TRUE(list->viewport()->rect().contains(shown.center()));
    // The keys scroll it.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(list->currentRow(), int(lines.size()) - 1);
    c.setSource(SourceType::FiveRadiations);
    EXPECT_TRUE(list->isHidden());
    EXPECT_FALSE(child<QWidget>("MesureValeurs")->isHidden());
    EXPECT_EQ(panel.size(), designed);
}

INSTANTIATE_TEST_SUITE_P(Rows, PanelLampLines,
                         ::testing::Values("mercure", "sodium", "hydrogène", "hélium", "cadmium", "néon", "zinc",
                                           "lithium"),
                         RowName());

class PrecisionMenu : public VorlacFixture, public ::testing::WithParamInterface<int>
{
};

// The panel's menu sets the decimals of its angles and of F9's record, kept for the next start.
TEST_P(PrecisionMenu, PanelRecordAndNextStart)
{
    const int d = GetParam(); // decimals
    Vorlac &w = window();
    w.controller().setSource(SourceType::Monochromatic);
    w.controller().setIncidenceAngle(41.2345);
    showMeasures();
    MeasurePanel &panel = window().measurePanel();
    namedAction(*panel.precisionMenu(), QStringLiteral("precision%1").arg(d).toLatin1().constData())->trigger();
    const TraceMeasures m = TraceRay(traceInputFor(w.scene(), {589, palette::White})).measures;
    EXPECT_EQ(measure(1, 4), angleText(m.incidence, regionalLocale(), d));
    EXPECT_EQ(measure(1, 8), angleText(m.deviation, regionalLocale(), d));
    EXPECT_TRUE(panel.record());
    ValueTable &t = w.valueTable();
    // The designed precision records the angle as computed, as it always did.
    const double recorded = d == 1 ? m.deviation : angleText(m.deviation, QLocale::c(), d).toDouble();
    EXPECT_EQ(t.TextMatrix(1, 1), ValueTable::singleText(float(recorded), t.TableNumberFormat(), t.locale()));
    FigureOptions next(w.controller(), dir.path() + "/etat/affichage.txt", nullptr);
    EXPECT_EQ(next.settings().angleDecimals, d);
}

// Hundredth, thousandth and back to the tenth.
INSTANTIATE_TEST_SUITE_P(Rows, PrecisionMenu, ::testing::Values(2, 3, 1), RowName());

// F8 (the display menu's item) opens the magnifier beside the window; it follows a lamp step in
// the same frame, Ctrl+wheel zooms, Escape closes, and the zoom is there at the next opening.
class MagnifierTest : public VorlacFixture
{
};

TEST_F(MagnifierTest, FollowsZoomsAndKeepsItsZoom)
{
    Vorlac &w = window();
    QAction *item = w.magnifier().action();
    ASSERT_TRUE(w.figureOptions().menu()->actions().contains(item));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F8));
    item->trigger();
    MagnifierWindow *m = w.magnifier().window();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(m->zoom(), 100);
    const MagnifiedBeam before = m->beam();
    w.controller().stepLamp(5);
    EXPECT_NE(m->beam().centre.x, before.centre.x);
    EXPECT_EQ(m->beam().centre.y, magnifiedBeam(w.controller().figure()).centre.y);

    QWheelEvent wheel(QPointF(50, 50), m->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m, &wheel);
    EXPECT_EQ(m->zoom(), 120);
    EXPECT_DOUBLE_EQ(m->viewport().scale(), 120);
    // A decimal typed in the box is rounded, and said so.
    auto *box = m->findChild<QSpinBox *>("GrossissementValeur");
    box->selectAll();
    QTest::keyClicks(box, "50,5");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(m->zoom(), 51);
    EXPECT_TRUE(w.info().contains("50,5 arrondi à ×51")) << w.info().toStdString();
    QTest::keyClick(m, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.magnifier().window(), nullptr);
    EXPECT_FALSE(item->isChecked());
    w.magnifier().toggle();
    ASSERT_NE(w.magnifier().window(), nullptr);
    EXPECT_EQ(w.magnifier().window()->zoom(), 51);
    w.magnifier().toggle();
}

} // namespace
