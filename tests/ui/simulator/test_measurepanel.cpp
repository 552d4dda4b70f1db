#include "vorlacfixture.h"

#include "analysis/measuretexts.h"
#include "model/materials.h"
#include "panels/measuregrid.h"
#include "panels/measurepanel.h"
#include "rowname.h"
#include "table/valuetable.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace vorlac;

namespace
{

const QLocale kFrench(QLocale::French, QLocale::France);

struct PaintWatch : QObject {
    QRegion painted;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(e)->region();
        return false;
    }
};

class MeasurePanelTest : public VorlacFixture
{
  protected:
    void SetUp() override
    {
        VorlacFixture::SetUp();
        QLocale::setDefault(kFrench);
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    MeasurePanel &openPanel()
    {
        QTest::mouseClick(child<QLabel>("ImageMesures"), Qt::LeftButton);
        return window().measurePanel();
    }

    QString cell(int line, int quantity) { return measure(line, quantity); }

    void whenDialogOpens(std::function<void(QDialog *)> fn)
    {
        dialogs.answer<QDialog>("ColonnesReleve", std::move(fn));
    }
};

TEST_F(MeasurePanelTest, HiddenAtStartAndOpenedByItsIcon)
{
    Vorlac &w = window();
    EXPECT_TRUE(w.measurePanel().isHidden());
    auto *icon = child<QLabel>("ImageMesures");
    EXPECT_FALSE(icon->toolTip().isEmpty());
    // The keyboard reaches the icon too.
    icon->setFocus();
    QTest::keyClick(icon, Qt::Key_Space);
    EXPECT_FALSE(w.measurePanel().isHidden());
    QTest::mouseClick(child<QLabel>("LabelMesures"), Qt::LeftButton);
    EXPECT_TRUE(w.measurePanel().isHidden());
}

struct PanelRow {
    const char *name;
    SourceType source;
    int apex;
    double incidence;
    int prismMaterial;
    int lines;     // radiations shown
    QString note;  // note over the missing quantities of the first line, "" for none
    QString rays;  // what the columns are
    int minimumAt; // the wavelength of the minimum of deviation
};
void PrintTo(const PanelRow &r, std::ostream *os)
{
    *os << r.name;
}

class PanelRows : public MeasurePanelTest, public ::testing::WithParamInterface<PanelRow>
{
};

// Every line agrees with a fresh trace of the scene as it stands, in each source mode, after
// the lamp moved; the minimum is that of a drawn ray, and the panel names the prism as the
// program does.
TEST_P(PanelRows, ShowTheDrawnTrace)
{
    const PanelRow &row = GetParam();
    Vorlac &w = window();
    SceneController &c = w.controller();
    openPanel();
    c.setSource(row.source);
    c.setApexAngle(row.apex);
    c.setMaterial(MaterialSide::Prism, row.prismMaterial);
    c.setIncidenceAngle(row.incidence - 5);
    c.setIncidenceAngle(row.incidence);
    c.setWavelength(row.minimumAt == 600 ? 589 : row.minimumAt);
    const SceneState &s = c.state();
    EXPECT_EQ(child<QLabel>("MesureSource")->text(), row.rays);
    EXPECT_TRUE(child<QLabel>("MesureMinimum")->text().contains(QStringLiteral(" à %1 nm").arg(row.minimumAt)));
    QStringList prism;
    for (const QLabel *label : w.measurePanel().findChildren<QLabel *>())
        if ((label->text() + label->toolTip()).contains(QStringLiteral("prisme")))
            prism << label->text();
    MeasureGrid &grid = *w.measurePanel().values();
    for (int q = 0; q < MeasureGrid::kRows; ++q)
        if ((grid.text(q, 0) + grid.tip(q)).contains(QStringLiteral("prisme")))
            prism << grid.text(q, 0);
    EXPECT_EQ(prism, QStringList());
    const std::vector<int> lambdas =
        row.lines == 5 ? std::vector<int>{400, 500, 600, 700, 800} : std::vector<int>{s.wavelength};
    for (int l = 1; l <= MeasurePanel::kLines; ++l) {
        if (l > row.lines) {
            EXPECT_EQ(cell(l, 1), QString()) << l;
            continue;
        }
        const int lambda = lambdas[static_cast<std::size_t>(l - 1)];
        const TraceMeasures m = TraceRay(traceInputFor(s, {double(lambda), palette::White})).measures;
        EXPECT_EQ(cell(l, 1), QString::number(lambda));
        EXPECT_EQ(cell(l, 2), kFrench.toString(m.prismIndex, 'f', 6));
        EXPECT_EQ(cell(l, 4), angleText(s.incidenceAngle, kFrench));
        EXPECT_EQ(cell(l, 5), angleText(m.refraction, kFrench));
        EXPECT_EQ(cell(l, 8), m.direct ? angleText(m.deviation, kFrench) : QString());
        if (l == 1) {
            auto *note = child<QLabel>("MesureNote1");
            EXPECT_EQ(note->isHidden(), row.note.isEmpty());
            if (!row.note.isEmpty()) {
                EXPECT_EQ(note->text(), row.note);
            }
        }
    }
    // Back from one line to five, each line's note shows again.
    const auto notes = [this] {
        QString shown;
        for (int l = 1; l <= MeasurePanel::kLines; ++l)
            shown +=
                child<QLabel>(QStringLiteral("MesureNote%1").arg(l).toLatin1().constData())->isHidden() ? '-' : 'N';
        return shown;
    };
    const QString before = notes();
    c.setSource(SourceType::Monochromatic);
    c.setSource(row.source);
    EXPECT_EQ(notes(), before);
    // A lamp step repaints the values that changed, not the empty cells of the lines unused.
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    PaintWatch watch;
    grid.installEventFilter(&watch);
    c.stepLamp(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    EXPECT_FALSE(watch.painted.isEmpty());
    for (int l = row.lines + 1; l <= MeasurePanel::kLines; ++l)
        for (int q = 0; q < MeasurePanel::kCells; ++q)
            EXPECT_FALSE(watch.painted.intersects(grid.cellRect(q, l))) << l << ' ' << q;
    // A record of five radiations takes their wavelengths along, in the first free column.
    ValueTable &t = w.valueTable();
    EXPECT_TRUE(w.measurePanel().record());
    EXPECT_EQ(t.title(2), row.lines == 5 ? QStringLiteral("lambda (nm)") : QStringLiteral("C3"));
    EXPECT_EQ(t.TextMatrix(row.lines, 2),
              row.lines == 5 ? ValueTable::singleText(800.0f, t.TableNumberFormat(), t.locale()) : QString());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Modes, PanelRows, ::testing::Values(
    PanelRow{"monochromatic", SourceType::Monochromatic, 45, 40, 2, 1, "", "Lumière monochromatique de 589 nm", 589},
    PanelRow{"five_radiations", SourceType::FiveRadiations, 45, 30, 3, 5, "", "Les cinq radiations tracées", 600},
    PanelRow{"white_light", SourceType::WhiteLight, 60, 50, 2, 1, "", "Lumière blanche : rayon du spectre à λ = 520 nm", 520},
    PanelRow{"total_reflection", SourceType::Monochromatic, 60, 10, 2, 1, "réflexion totale", "Lumière monochromatique de 589 nm", 589},
    PanelRow{"base_first", SourceType::FiveRadiations, 80, -30, 3, 5, "atteint d'abord la base", "Les cinq radiations tracées", 600}),
    RowName());
// clang-format on

// F9 writes i and D into C1 and C2 of the first free line, and the choice made in the dialog
// is kept for the next records.
TEST_F(MeasurePanelTest, RecordKeyAndColumnChoice)
{
    Vorlac &w = window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ValueTable &t = w.valueTable();
    w.controller().setSource(SourceType::Monochromatic);
    const TraceMeasures m = TraceRay(traceInputFor(w.scene(), {589, palette::White})).measures;
    QTest::keyClick(&w, Qt::Key_F9);
    EXPECT_EQ(t.title(0), QStringLiteral("i (°)"));
    EXPECT_EQ(t.title(1), QStringLiteral("D (°)"));
    EXPECT_EQ(t.TextMatrix(1, 0), ValueTable::singleText(36.0f, t.TableNumberFormat(), t.locale()));
    EXPECT_EQ(t.TextMatrix(1, 1),
              ValueTable::singleText(static_cast<float>(m.deviation), t.TableNumberFormat(), t.locale()));

    MeasurePanel &panel = openPanel();
    whenDialogOpens([](QDialog *d) {
        auto *c1 = d->findChild<QComboBox *>("ColonneReleve1");
        auto *c3 = d->findChild<QComboBox *>("ColonneReleve3");
        ASSERT_TRUE(c1 && c3);
        c1->setCurrentIndex(c1->findData(static_cast<int>(Quantity::None)));
        c3->setCurrentIndex(c3->findData(static_cast<int>(Quantity::Wavelength)));
        d->findChild<QPushButton *>("OKReleve")->click();
    });
    QTest::mouseClick(child<QPushButton>("BoutonColonnes"), Qt::LeftButton);
    EXPECT_EQ(panel.recordColumns().column[0], Quantity::None);
    EXPECT_EQ(panel.recordColumns().column[2], Quantity::Wavelength);
    QTest::mouseClick(child<QPushButton>("BoutonReleve"), Qt::LeftButton);
    // Line 1 holds D already: the next line whose C2 and C3 are empty is line 2.
    EXPECT_EQ(t.TextMatrix(2, 2), ValueTable::singleText(589.0f, t.TableNumberFormat(), t.locale()));
    EXPECT_EQ(t.TextMatrix(2, 0), QString());
    EXPECT_EQ(t.title(2), QStringLiteral("lambda (nm)"));
}

// A record writes no quantity under a title that names another: the dialog opens with its
// proposal (D under "D (°)"), and its OK writes the record.
TEST_F(MeasurePanelTest, TitleOfAnotherQuantityOpensTheColumnDialog)
{
    ValueTable &t = window().valueTable();
    window().controller().setSource(SourceType::Monochromatic);
    t.setTitle(1, QStringLiteral("i' (°)"));
    t.setTitle(2, QStringLiteral("D (°)"));
    whenDialogOpens([](QDialog *d) { d->findChild<QPushButton *>("OKReleve")->click(); });
    EXPECT_TRUE(openPanel().record());
    EXPECT_EQ(t.TextMatrix(1, 1), QString());
    EXPECT_FALSE(t.TextMatrix(1, 2).isEmpty());
}

TEST_F(MeasurePanelTest, FullTableWritesNothingAndSaysSo)
{
    Vorlac &w = window();
    ValueTable &t = w.valueTable();
    t.setRows(ValueTable::kMaxRows);
    for (int r = 1; r < t.Rows(); ++r)
        t.setTextMatrix(r, 1, QStringLiteral("1"));
    MeasurePanel &panel = openPanel();
    EXPECT_FALSE(panel.record());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("plein"))) << messages[0].text.toStdString();
    EXPECT_EQ(t.TextMatrix(1, 0), QString());
    EXPECT_EQ(t.title(0), QStringLiteral("C1"));
}

// The button puts the lamp at the minimum through the controller; in white light the full
// picture follows at once.
TEST_F(MeasurePanelTest, PlaceLampAtTheMinimum)
{
    Vorlac &w = window();
    SceneController &c = w.controller();
    c.setSource(SourceType::WhiteLight);
    MeasurePanel &panel = openPanel();
    const MinimumDeviation &m = panel.minimum();
    ASSERT_TRUE(m.found);
    const int whites = c.whiteRedrawCount();
    QTest::mouseClick(child<QPushButton>("BoutonMinimum"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(c.state().incidenceAngle, m.incidence);
    EXPECT_EQ(c.whiteRedrawCount(), whites + 1);
    EXPECT_EQ(cell(1, 8), angleText(m.deviation, kFrench));
    EXPECT_TRUE(child<QLabel>("MesureMinimum")->text().contains(angleText(m.deviation, kFrench)));

    // The cursor picks the radiation of the minimum although five radiations are not redrawn.
    c.setSource(SourceType::FiveRadiations);
    c.setWavelength(680);
    EXPECT_TRUE(child<QLabel>("MesureMinimum")->text().contains(QStringLiteral("700 nm")));
    // Same material inside and out: nothing to place the lamp at.
    c.setMaterial(MaterialSide::Prism, 0);
    c.setMaterial(MaterialSide::Outside, 0);
    EXPECT_TRUE(panel.minimum().uniform);
    EXPECT_FALSE(child<QPushButton>("BoutonMinimum")->isEnabled());
    // A prism that lets nothing out through its exit face.
    c.setMaterial(MaterialSide::Prism, 3);
    c.setApexAngle(90);
    EXPECT_FALSE(panel.minimum().found);
    EXPECT_TRUE(child<QLabel>("MesureMinimum")->text().contains(QStringLiteral("aucune incidence")));
}

} // namespace
