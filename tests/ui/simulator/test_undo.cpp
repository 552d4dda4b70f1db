#include "common/menus.h"
#include "exercises/exercisearea.h"
#include "exercises/exercisecommands.h"
#include "exercises/exercisefile.h"
#include "exercises/exercisetext.h"
#include "panels/tableframe.h"
#include "rowname.h"
#include "scene/protractorview.h"
#include "situations/situationbinder.h"
#include "situations/situationfile.h"
#include "table/valuetable.h"
#include "undo/undohistory.h"
#include "vorlacfixture.h"
#include "window/undoactions.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <QUndoStack>
#include <cmath>

using namespace vorlac;

namespace
{

class Undo : public VorlacFixture
{
  public:
    using VorlacFixture::child;
    using VorlacFixture::dir;

    // What undo must give back: the situation as it would be saved, the number format and
    // where the protractor lies.
    QByteArray oracle()
    {
        Vorlac &w = window();
        const QString path = dir.path() + QStringLiteral("/oracle.spc");
        EXPECT_TRUE(writeSituationFile(path, w.situations().captureSituation()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        bytes += w.valueTable().TableNumberFormat().toUtf8();
        const ProtractorState &p = child<ProtractorView>("picturap")->state();
        bytes += QByteArray::number(p.rotation) + ' ' + QByteArray::number(p.lineAngle) + ' ' +
                 QByteArray::number(p.position.x()) + ' ' + QByteArray::number(p.position.y());
        return bytes;
    }

    // Lets the event loop end the step in progress, as it does between two user actions.
    void settle()
    {
        UndoHistory &h = window().undoHistory();
        ASSERT_TRUE(QTest::qWaitFor([&h] { return !h.stepPending(); }, 3000));
    }

    // Where the mouse must stand, in the lamp's own pixels, to aim at the incidence i.
    QPoint lampPointFor(double incidence)
    {
        Vorlac &w = window();
        const double ang = (incidence - w.scene().apexAngle / 2.0) * 3.1415927 / 180;
        const double x = w.picture().lastLayout.incidencePointX - 150 * std::cos(ang);
        const double y = 125 + 150 * std::sin(ang);
        const QWidget *lamp = child<QWidget>("lampe");
        return QPoint(int(std::round(x)) - lamp->x(), int(std::round(y)) - lamp->y());
    }

    void dragHandle(const char *name, QPoint target)
    {
        auto *h = child<QWidget>(name);
        QTest::mousePress(h, Qt::LeftButton, {}, QPoint(8, 8));
        QCoreApplication::processEvents();
        QTest::mouseMove(h, (QPoint(8, 8) + target) / 2);
        QCoreApplication::processEvents();
        QTest::mouseMove(h, target);
        QCoreApplication::processEvents();
        QTest::mouseRelease(h, Qt::LeftButton, {}, target);
    }

    void showWindow()
    {
        Vorlac &w = window();
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
};

struct WindowChange {
    const char *name;
    std::function<void(Undo &, Vorlac &)> change;
    QString label;
};

void PrintTo(const WindowChange &row, std::ostream *os)
{
    *os << row.name;
}

class WindowChanges : public Undo, public ::testing::WithParamInterface<WindowChange>
{
};

TEST_P(WindowChanges, AreOneNamedStepThatUndoAndRedoExactly)
{
    Vorlac &w = window();
    showWindow();
    QTest::mouseClick(child<QWidget>("Image3(5)"), Qt::LeftButton); // the protractor on the scene
    w.valueTable().setCellValue(1, 0, 3.5f);
    w.valueTable().setCellValue(2, 0, 1.25f);
    settle();
    w.undoHistory().clear();
    const QByteArray before = oracle();

    GetParam().change(*this, w);
    settle();
    const QByteArray after = oracle();
    ASSERT_NE(after, before) << "the row changes nothing";
    EXPECT_EQ(w.undoHistory().stack().count(), 1);
    EXPECT_EQ(w.undoActions().undoAction()->text(), QStringLiteral("Annuler : ") + GetParam().label);

    w.undoActions().undoAction()->trigger();
    EXPECT_EQ(oracle(), before);
    EXPECT_EQ(w.undoActions().redoAction()->text(), QStringLiteral("Rétablir : ") + GetParam().label);
    w.undoActions().redoAction()->trigger();
    EXPECT_EQ(oracle(), after);
}

void trigger(QMenu *menu, const char *name)
{
    QAction *a = namedAction(*menu, name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
}

const WindowChange kWindowChanges[] = {
    {"apex", [](Undo &, Vorlac &w) { w.controller().setApexAngle(60); }, "angle au sommet"},
    {"wavelength", [](Undo &, Vorlac &w) { w.controller().setWavelength(450); }, "longueur d'onde"},
    {"source", [](Undo &, Vorlac &w) { w.controller().setSource(SourceType::WhiteLight); }, "choix de la source"},
    {"background", [](Undo &, Vorlac &w) { w.controller().setBlackBackground(false); }, "couleur du fond"},
    {"marks", [](Undo &, Vorlac &w) { w.controller().setMarks(true, false); }, "normales et sens de propagation"},
    {"prism material", [](Undo &, Vorlac &w) { w.controller().setMaterial(MaterialSide::Prism, 0); },
     "matériau du vorlac"},
    {"medium", [](Undo &, Vorlac &w) { w.controller().setMaterial(MaterialSide::Outside, 1); }, "milieu extérieur"},
    {"coefficients", [](Undo &, Vorlac &w) { w.controller().setCustomMaterial(MaterialSide::Prism, 1.61f, 0.012f); },
     "coefficients du vorlac"},
    {"lamp drag",
     [](Undo &u, Vorlac &) {
         auto *lamp = u.child<QWidget>("lampe");
         QTest::mousePress(lamp, Qt::LeftButton, {}, u.lampPointFor(38));
         for (double i : {40.0, 43.0, 47.0, 50.0}) {
             QCoreApplication::processEvents();
             QTest::mouseMove(lamp, u.lampPointFor(i));
         }
         QCoreApplication::processEvents();
         QTest::mouseRelease(lamp, Qt::LeftButton, {}, u.lampPointFor(50));
     },
     "angle d'incidence"},
    {"protractor moved", [](Undo &u, Vorlac &) { u.dragHandle("Imagecroix", QPoint(40, 30)); },
     "déplacement du rapporteur"},
    {"protractor turned", [](Undo &u, Vorlac &) { u.dragHandle("Imaged", QPoint(-30, -60)); },
     "rotation du rapporteur"},
    {"protractor line aimed", [](Undo &u, Vorlac &) { u.dragHandle("Imageboule", QPoint(50, 10)); },
     "mesure au rapporteur"},
    {"table menu: line appended", [](Undo &, Vorlac &w) { trigger(w.tableFrame().tableMenu(), "insereligne"); },
     "ajout d'une ligne"},
    {"column menu: sort", [](Undo &, Vorlac &w) { trigger(w.tableFrame().columnMenu(), "triertab"); }, "tri de C1"},
    {"column menu: erase", [](Undo &, Vorlac &w) { trigger(w.tableFrame().columnMenu(), "effcol"); },
     "effacement de C1"},
    {"typing in the grid",
     [](Undo &u, Vorlac &w) {
         auto *grid = u.child<QWidget>("MSFlexGrid1");
         w.valueTable().setActiveCell(3, 1);
         grid->setFocus();
         QTest::keyClicks(grid, QStringLiteral("2,75"));
         w.valueTable().setActiveCell(4, 1);
     },
     "saisie en C2, ligne 3"},
};

INSTANTIATE_TEST_SUITE_P(Rows, WindowChanges, ::testing::ValuesIn(kWindowChanges), RowName());

// Opening a situation or an exercise replaces the work with a file's: undo stops there, so that
// it never puts the old work back under the new file's name, statement and window title.
struct Opening {
    const char *name;
    std::function<void(Vorlac &, const QString &folder)> open;
};

void PrintTo(const Opening &row, std::ostream *os)
{
    *os << row.name;
}

class Openings : public Undo, public ::testing::WithParamInterface<Opening>
{
};

TEST_P(Openings, AreWhereUndoStops)
{
    Vorlac &w = window();
    showWindow();
    // An exercise, also as the getting-started file: apex 70 in the statement, 30 in the correction.
    const QString folder = dir.path() + u'/';
    QTextDocument text(QStringLiteral("Énoncé"));
    ASSERT_TRUE(writeRtfFile(folder + "E.RTF", text));
    Situation s;
    for (const auto &[name, apex] : {std::pair{"E.P01", 70}, std::pair{"C.P01", 30}}) {
        s.scene.apexAngle = apex;
        ASSERT_TRUE(writeSituationFile(folder + name, s));
    }
    for (const char *name : {"A.E01", "VORLAC.PEM"}) {
        QFile f(folder + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) &&
                    f.write(*serialiseExerciseFile({"E.RTF", "E.P01", "", "C.P01", "1", "", {"", "", "", ""}, "x"})));
    }
    w.controller().setApexAngle(50);
    w.valueTable().setCellValue(1, 0, 3.5f);
    settle();

    GetParam().open(w, folder);
    settle();
    EXPECT_NE(w.scene().apexAngle, 50) << "nothing was opened";
    const QByteArray opened = oracle();
    const QString title = w.windowTitle();
    EXPECT_FALSE(w.undoActions().undoAction()->isEnabled());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(oracle() == opened);
    EXPECT_EQ(w.windowTitle(), title);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Openings,
    ::testing::Values(
        Opening{"situation", [](Vorlac &w, const QString &folder) { w.situations().LoadSituation(folder + "E.P01"); }},
        Opening{"exercise",
                [](Vorlac &w, const QString &folder) { w.exerciseCommands().openExerciseFile(folder + "A.E01"); }},
        Opening{"correction",
                [](Vorlac &w, const QString &folder) {
                    w.exerciseCommands().openExerciseFile(folder + "A.E01");
                    w.controller().setApexAngle(40);
                    w.exerciseCommands().opencor();
                }},
        Opening{"getting started", [](Vorlac &w, const QString &) { w.exerciseCommands().PRISENMAIN(); }}),
    RowName());

TEST_F(Undo, ItemsEndTheTableMenu)
{
    Vorlac &w = window();
    const QList<QAction *> items = w.tableFrame().tableMenu()->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_TRUE(items[items.size() - 3]->isSeparator());
    EXPECT_EQ(items[items.size() - 2]->objectName(), QStringLiteral("annuler"));
    EXPECT_EQ(items[items.size() - 1]->objectName(), QStringLiteral("retablir"));
    EXPECT_FALSE(w.undoActions().undoAction()->isEnabled());
    EXPECT_FALSE(w.undoActions().redoAction()->isEnabled());
    EXPECT_EQ(w.undoActions().undoAction()->text(), QStringLiteral("Annuler"));
    EXPECT_FALSE(w.undoActions().undoAction()->toolTip().isEmpty());
}

TEST_F(Undo, KeysUndoAndRedoTheWindowsChanges)
{
    Vorlac &w = window();
    showWindow();
    w.controller().setApexAngle(60);
    settle();
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.scene().apexAngle, 45);
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.scene().apexAngle, 60);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.scene().apexAngle, 60);
}

TEST_F(Undo, KeysInTheExerciseTextUndoItsTypingNotTheTable)
{
    Vorlac &w = window();
    showWindow();
    w.valueTable().setTitle(0, QStringLiteral("x"));
    settle();
    QTextEdit *text = w.exercises().text();
    text->setReadOnly(false);
    text->clear();
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("abc"));
    QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(text->toPlainText(), QStringLiteral("abc"));
    QTest::keyClick(text, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("abc"));
    EXPECT_EQ(w.valueTable().title(0), QStringLiteral("x"));
    EXPECT_EQ(w.undoHistory().stack().index(), 1);
}

TEST_F(Undo, AChangeMadeInAModalDialogIsThatDialogsStep)
{
    Vorlac &w = window();
    showWindow();
    QDialog dialog(&w);
    dialogs.answer("", [&](QWidget *) {
        w.valueTable().setTitle(0, QStringLiteral("a"));
        QTest::qWait(60);
        w.controller().setApexAngle(30);
        QTest::qWait(60);
        dialog.accept();
    });
    dialog.exec();
    settle();
    EXPECT_EQ(w.undoHistory().stack().count(), 1);
    w.undoHistory().undo();
    EXPECT_EQ(w.valueTable().title(0), QStringLiteral("C1"));
    EXPECT_EQ(w.scene().apexAngle, 45);
}

} // namespace
