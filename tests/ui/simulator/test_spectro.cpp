#include "analysis/sweeps.h"
#include "expr/calculator.h"
#include "model/linelamps.h"
#include "panels/lamplinelist.h"
#include "rowname.h"
#include "scene/scenecontroller.h"
#include "situations/situationbinder.h"
#include "sweeps/sweepdialog.h"
#include "table/valuetable.h"
#include "undo/undohistory.h"
#include "vorlacfixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <ostream>

using namespace vorlac;

namespace
{

// A sweep from the window: lamp lines, or what PasBalayage chose: D(i) with a step, or D_min, n
// and lambda every 10 nm.
struct SweepRow {
    const char *name;
    int lamp;    // -1: the five radiations
    double step; // typed in PasBalayage; 0: every 10 nm
};
std::ostream &operator<<(std::ostream &o, const SweepRow &r)
{
    return o << r.name;
}

class Spectro : public VorlacFixture, public ::testing::WithParamInterface<SweepRow>
{
};

TEST_P(Spectro, SweepFillsTheTableInOneUndoStep)
{
    const SweepRow row = GetParam();
    Vorlac &w = window();
    ValueTable &table = w.valueTable();
    table.setTextMatrix(1, 0, QStringLiteral("7,000"));
    settle();
    if (row.lamp >= 0) {
        child<QRadioButton>("OptionLampe")->click();
        auto *combo = child<QComboBox>("ComboLampe");
        combo->setCurrentIndex(row.lamp);
        emit combo->activated(row.lamp);
        settle();
    }
    const QStringList titlesBefore = table.titles();
    const SceneState state = w.controller().state();
    const Sweep expected = row.lamp >= 0  ? lampSweep(state)
                           : row.step > 0 ? deviationSweep(state, 600.0, row.step)
                                          : spectrumSweep(state);
    if (row.lamp < 0)
        dialogs.answer<SweepDialog>("PasBalayage", [&](SweepDialog *d) {
            d->setChoice(
                {row.step > 0 ? SweepChoice::Kind::DeviationAgainstIncidence : SweepChoice::Kind::MinimumEvery10nm,
                 row.step > 0 ? row.step : 1.0});
            d->accept();
        });
    child<QAction>("balayage")->trigger();
    dialogs.wait();
    settle();
    ASSERT_FALSE(expected.lines.empty());
    EXPECT_EQ(table.title(0), expected.titles[0]);
    EXPECT_GE(table.Rows(), int(expected.lines.size()) + 1);
    for (std::size_t k = 0; k < expected.lines.size(); ++k)
        for (int c = 0; c < expected.titles.size(); ++c)
            EXPECT_EQ(table.TextMatrix(int(k) + 1, c),
                      ValueTable::singleText(float(expected.lines[k][std::size_t(c)]), table.TableNumberFormat()))
                << k << ' ' << c;
    EXPECT_TRUE(table.TextMatrix(int(expected.lines.size()) + 1, 0).isEmpty());
    // One step: a single undo brings the table back whole, the scene untouched.
    w.undoHistory().undo();
    EXPECT_EQ(table.titles(), titlesBefore);
    EXPECT_EQ(table.TextMatrix(1, 0), QStringLiteral("7,000"));
    EXPECT_EQ(w.controller().state(), state);
}

INSTANTIATE_TEST_SUITE_P(Rows, Spectro,
                         ::testing::Values(SweepRow{"mercure", 0, 0}, SweepRow{"neon", 5, 0},
                                           SweepRow{"five_step_5", -1, 5.0}, SweepRow{"five_step_2", -1, 2.0},
                                           SweepRow{"five_every_10nm", -1, 0}),
                         RowName());

// The dialog offers again what was chosen last in the run.
TEST_F(VorlacFixture, SweepDialogOffersTheLastChoice)
{
    const SweepChoice chosen{SweepChoice::Kind::MinimumEvery10nm, 2.5};
    SweepChoice offered;
    for (int k = 0; k < 2; ++k) {
        dialogs.answer<SweepDialog>("PasBalayage", [&](SweepDialog *d) {
            offered = d->choice();
            d->setChoice(chosen);
            d->accept();
        });
        child<QAction>("balayage")->trigger();
        dialogs.wait();
    }
    EXPECT_EQ(offered.kind, chosen.kind);
    EXPECT_EQ(offered.step, chosen.step);
}

// The unknown lamp: no name in the list or the panel until revealed; undo hides it again.
TEST_F(VorlacFixture, UnknownLampHiddenUntilRevealed)
{
    Vorlac &w = window();
    auto *combo = child<QComboBox>("ComboLampe");
    auto *reveal = child<QPushButton>("BoutonReveler");
    EXPECT_FALSE(reveal->isEnabled());
    child<QPushButton>("BoutonLampeInconnue")->click();
    const SceneState &s = w.controller().state();
    ASSERT_EQ(s.source, SourceType::LineLamp);
    ASSERT_TRUE(s.lampHidden);
    EXPECT_EQ(combo->currentText(), QStringLiteral("lampe inconnue"));
    EXPECT_TRUE(reveal->isEnabled());
    const QString name = lineLampName(s.lamp);
    showMeasures();
    settle();
    // Nor its wavelengths, which the pupil is to find: the lines go by rank.
    QStringList texts;
    for (QLabel *l : w.findChildren<QLabel *>())
        texts << l->text();
    auto *list = child<LampLineList>("MesureRaies");
    for (int r = 0; r < list->rowCount(); ++r)
        texts << list->verticalHeaderItem(r)->text();
    const SpectralLine first = lineLamps()[std::size_t(s.lamp)].lines.front();
    const QString lambda = QString::number(first.wavelength, 'f', 3);
    for (const QString &t : std::as_const(texts)) {
        EXPECT_FALSE(t.contains(name, Qt::CaseInsensitive)) << t.toStdString();
        EXPECT_FALSE(t.contains(lambda) || t.contains(QString(lambda).replace(u'.', u','))) << t.toStdString();
    }
    ASSERT_GT(list->rowCount(), 0);
    EXPECT_EQ(list->verticalHeaderItem(0)->text(), QStringLiteral("raie 1"));
    reveal->click();
    settle();
    EXPECT_TRUE(list->verticalHeaderItem(0)->text().contains(QString(lambda).replace(u'.', u',')) ||
                list->verticalHeaderItem(0)->text().contains(lambda));
    EXPECT_EQ(combo->currentText(), name);
    EXPECT_FALSE(reveal->isEnabled());
    settle();
    w.undoHistory().undo();
    EXPECT_TRUE(w.controller().state().lampHidden);
    EXPECT_EQ(combo->currentText(), QStringLiteral("lampe inconnue"));
}

// The calibration exercise to its end: the unknown lamp's minima kept in C5 with no line left
// out, mercury swept for the calibration, then back to the unknown lamp in the list to reveal it.
TEST_F(VorlacFixture, CalibrationExerciseCanBeFinished)
{
    Vorlac &w = window();
    ValueTable &t = w.valueTable();
    w.situations().LoadSituation(QString::fromUtf8(VORLAC_SOURCE_DIR "/data/exercices/ETALON.P01"));
    ASSERT_TRUE(w.controller().state().lampHidden);
    const int unknown = w.controller().state().lamp;
    child<QAction>("balayage")->trigger();
    settle();
    EXPECT_EQ(ComputeColumn(t, 4, QStringLiteral("C2"), 0, false), 0); // step 1's "Calculer C5"
    auto *combo = child<QComboBox>("ComboLampe");
    const int mercury = lineLampRow(QStringLiteral("mercure"));
    combo->setCurrentIndex(mercury);
    emit combo->activated(mercury);
    settle();
    child<QAction>("balayage")->trigger();
    settle();
    EXPECT_EQ(t.Rows(), 1 + int(lineLamps()[std::size_t(mercury)].lines.size()));
    for (int row = 1; row <= 4; ++row)
        EXPECT_TRUE(t.cellValue(row, 4).has_value()) << row;
    const int entry = combo->findText(QStringLiteral("lampe inconnue"));
    ASSERT_GE(entry, 0);
    combo->setCurrentIndex(entry);
    emit combo->activated(entry);
    EXPECT_TRUE(w.controller().state().lampHidden);
    EXPECT_EQ(w.controller().state().lamp, unknown);
    child<QPushButton>("BoutonReveler")->click();
    EXPECT_EQ(combo->currentText(), lineLampName(unknown));
    EXPECT_EQ(combo->findText(QStringLiteral("lampe inconnue")), -1);
    EXPECT_TRUE(messages.empty());
}

} // namespace
