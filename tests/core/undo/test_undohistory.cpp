#include "undo/undohistory.h"

#include "expr/calculator.h"
#include "rowname.h"

#include <QCoreApplication>
#include <QUndoStack>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <tuple>

namespace
{

using vorlac::SceneAccess;
using vorlac::SceneSnapshot;
using vorlac::UndoHistory;
using vorlac::ValueTable;

// What undo must give back: cells, titles, formulas and the number format (not the active cell).
struct TableData {
    std::vector<ValueTable::Line> cells;
    std::array<QString, ValueTable::kColumns> expressions;
    QString format;
    bool operator==(const TableData &) const = default;
};

TableData dataOf(const ValueTable &t)
{
    const ValueTable::Snapshot s = t.snapshot();
    return {s.cells, s.expressions, s.format};
}

// A scene that only records: the history puts it back through restore like the real one.
class FakeScene : public SceneAccess
{
  public:
    explicit FakeScene(UndoHistory &history) : m_history(history) {}
    SceneSnapshot capture() const override { return state; }
    void restore(const SceneSnapshot &s) override
    {
        state = s;
        ++restores;
    }
    void change(const std::function<void(SceneSnapshot &)> &fn, const QString &label)
    {
        fn(state);
        m_history.noteChange(label);
    }

    SceneSnapshot state;
    int restores = 0;

  private:
    UndoHistory &m_history;
};

// --- One row per kind of change of the table -----------------------------------------------------

struct TableChange {
    const char *name;
    std::function<void(ValueTable &)> change;
    QString label;
};

void PrintTo(const TableChange &row, std::ostream *os)
{
    *os << row.name;
}

class TableChanges : public ::testing::TestWithParam<TableChange>
{
};

TEST_P(TableChanges, AreOneNamedStepThatUndoAndRedoExactly)
{
    ValueTable t;
    for (int r = 1; r <= 6; ++r) {
        t.setCellValue(r, 0, float(7 - r) * 1.5f);
        t.setCellValue(r, 1, float(r * r));
    }
    t.setTextMatrix(3, 2, QStringLiteral("12,5"));
    t.setActiveCell(3, 1);
    UndoHistory history(t);
    const TableData before = dataOf(t);

    GetParam().change(t);
    history.closeStep();
    const TableData after = dataOf(t);
    ASSERT_NE(after, before) << "the row changes nothing";
    ASSERT_EQ(history.stack().count(), 1);
    EXPECT_EQ(history.undoCaption(), QStringLiteral("Annuler : ") + GetParam().label);

    history.undo();
    EXPECT_EQ(dataOf(t), before);
    EXPECT_EQ(history.redoCaption(), QStringLiteral("Rétablir : ") + GetParam().label);
    history.redo();
    EXPECT_EQ(dataOf(t), after);
    history.undo();
    EXPECT_EQ(dataOf(t), before);
}

const TableChange kTableChanges[] = {
    {"typing", [](ValueTable &t) { t.typeCharacter(u'4'), t.typeCharacter(u','), t.typeCharacter(u'2'); },
     "saisie en C2, ligne 3"},
    {"leaving a typed cell",
     [](ValueTable &t) {
         t.setActiveCell(3, 2);
         t.setActiveCell(4, 2); // "12,5" becomes "12,500"
     },
     "saisie en C3, ligne 3"},
    {"delete key", [](ValueTable &t) { t.deleteActiveText(); }, "effacement de C2, ligne 3"},
    {"title", [](ValueTable &t) { t.setTitle(4, QStringLiteral("Angle i")); }, "titre de C5"},
    {"arithmetic fill", [](ValueTable &t) { t.fillArithmetic(3, 0, 30, 2); }, "suite arithmétique dans C4"},
    {"sort ascending", [](ValueTable &t) { t.Sort(0, false); }, "tri de C1"},
    {"sort descending", [](ValueTable &t) { t.Sort(1, true); }, "tri de C2"},
    {"insert line", [](ValueTable &t) { t.insertLineAtActive(); }, "insertion d'une ligne"},
    {"append line", [](ValueTable &t) { t.appendLine(); }, "ajout d'une ligne"},
    {"delete line", [](ValueTable &t) { t.deleteActiveLine(); }, "suppression de la ligne 3"},
    {"erase column", [](ValueTable &t) { t.eraseColumn(1); }, "effacement de C2"},
    {"erase table", [](ValueTable &t) { t.eraseTable(); }, "effacement du tableau"},
    {"fewer lines", [](ValueTable &t) { t.setRows(4); }, "nombre de lignes"},
    {"more lines", [](ValueTable &t) { t.setRows(40); }, "nombre de lignes"},
    {"number format",
     [](ValueTable &t) {
         t.setTableNumberFormat(QStringLiteral("0.0"));
         t.ReformatTable();
     },
     "format des nombres"},
    {"computed column", [](ValueTable &t) { vorlac::ComputeColumn(t, 4, QStringLiteral("C1*2+C2"), 0, false); },
     "calcul de C5"},
    {"formula alone", [](ValueTable &t) { t.setColumnExpression(6, QStringLiteral("C1")); }, "formule de C7"},
    {"paste of many cells",
     [](ValueTable &t) {
         const ValueTable::Bulk paste(t, QStringLiteral("collage"));
         for (int r = 2; r <= 9; ++r)
             t.setTextMatrix(r, 5, QString::number(r));
     },
     "collage"},
};

INSTANTIATE_TEST_SUITE_P(Rows, TableChanges, ::testing::ValuesIn(kTableChanges), RowName());

// --- Grouping ----------------------------------------------------------------------------------

TEST(UndoHistory, TypingInOneCellThenLeavingItIsOneStep)
{
    ValueTable t;
    UndoHistory history(t);
    const TableData start = dataOf(t);
    for (QChar ch : QStringLiteral("12,5")) {
        t.typeCharacter(ch);
        history.closeStep();
    }
    t.setActiveCell(2, 0); // "12,500"
    history.closeStep();
    EXPECT_EQ(t.TextMatrix(1, 0), QStringLiteral("12,500"));
    EXPECT_EQ(history.stack().count(), 1);
    t.typeCharacter(u'3'); // another cell: a step of its own
    history.closeStep();
    EXPECT_EQ(history.stack().count(), 2);
    history.undo();
    history.undo();
    EXPECT_EQ(dataOf(t), start);
}

// Back in a cell after leaving it, typing is a new step: undo gives back the earlier value.
TEST(UndoHistory, TypingAgainAfterLeavingACellIsAStepOfItsOwn)
{
    ValueTable t;
    UndoHistory history(t);
    for (QChar ch : QStringLiteral("51,09")) {
        t.typeCharacter(ch);
        history.closeStep();
    }
    t.setActiveCell(2, 0);
    t.setActiveCell(1, 0);
    history.closeStep();
    t.typeCharacter(u'5');
    history.closeStep();
    history.undo();
    EXPECT_EQ(t.TextMatrix(1, 0), QStringLiteral("51,090"));
}

TEST(UndoHistory, TypingThenErasingBackToTheStartLeavesNoStep)
{
    ValueTable t;
    UndoHistory history(t);
    t.typeCharacter(u'7');
    history.closeStep();
    t.typeCharacter(QChar(8));
    history.closeStep();
    EXPECT_EQ(history.stack().count(), 0);
    EXPECT_FALSE(history.canUndo());
}

TEST(UndoHistory, ChangesOfOneEventAreOneStepClosedByTheEventLoop)
{
    ValueTable t;
    UndoHistory history(t);
    t.setTitle(0, QStringLiteral("x"));
    t.Sort(1, false);
    t.setTitle(1, QStringLiteral("y"));
    EXPECT_TRUE(history.stepPending());
    EXPECT_TRUE(history.canUndo());
    QCoreApplication::processEvents();
    EXPECT_FALSE(history.stepPending());
    EXPECT_EQ(history.stack().count(), 1);
    EXPECT_EQ(history.undoCaption(), QStringLiteral("Annuler : titre de C2")); // the last change names it
}

TEST(UndoHistory, AStepNamedByItsCallerKeepsThatName)
{
    ValueTable t;
    UndoHistory history(t);
    history.nameStep(QStringLiteral("ouverture de l'exercice"));
    t.setRows(30);
    t.setTitle(0, QStringLiteral("i"));
    history.closeStep();
    EXPECT_EQ(history.undoCaption(), QStringLiteral("Annuler : ouverture de l'exercice"));
}

TEST(UndoHistory, KeepsTheLast100Steps)
{
    ValueTable t;
    UndoHistory history(t);
    for (int i = 0; i < 130; ++i) {
        t.setTitle(i % 7, QString::number(i));
        history.closeStep();
    }
    EXPECT_EQ(history.stack().count(), UndoHistory::kLimit);
    while (history.canUndo())
        history.undo();
    EXPECT_EQ(t.titles(), QStringList({"28", "29", "23", "24", "25", "26", "27"}));
}

TEST(UndoHistory, WorkChangedFollowsEveryRecordedUndoneAndRedoneStep)
{
    ValueTable t;
    UndoHistory history(t);
    int changes = 0;
    QObject::connect(&history, &UndoHistory::workChanged, [&changes] { ++changes; });
    t.typeCharacter(u'1');
    history.closeStep();
    t.typeCharacter(u'2'); // merged into the same step, still a change of the work
    history.closeStep();
    t.setActiveCell(1, 0); // no change
    history.closeStep();
    EXPECT_EQ(changes, 2);
    history.undo();
    history.redo();
    EXPECT_EQ(changes, 4);
}

TEST(UndoHistory, ANewChangeAfterUndoDropsTheRedo)
{
    ValueTable t;
    UndoHistory history(t);
    t.setTitle(0, QStringLiteral("a"));
    history.closeStep();
    history.undo();
    EXPECT_TRUE(history.canRedo());
    t.setTitle(1, QStringLiteral("b"));
    EXPECT_FALSE(history.canRedo()); // a step is in progress
    history.closeStep();
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.redoCaption(), QStringLiteral("Rétablir"));
}

TEST(UndoHistory, SceneAndTableChangedTogetherAreOneStep)
{
    ValueTable t;
    UndoHistory history(t);
    FakeScene scene(history);
    history.setScene(&scene);
    scene.change([](SceneSnapshot &s) { s.scene.apexAngle = 60; }, QStringLiteral("angle au sommet"));
    t.setRows(20);
    history.closeStep();
    history.undo();
    EXPECT_EQ(scene.state.scene.apexAngle, 45);
    EXPECT_EQ(t.Rows(), 11);
    history.redo();
    EXPECT_EQ(scene.state.scene.apexAngle, 60);
    EXPECT_EQ(t.Rows(), 20);
}

// --- Repeated steps of one control within a second are one step -----------------------------------

// Each click moves the wavelength by its delta at its time (ms) under its label.
struct ClickRow {
    const char *name;
    std::vector<std::tuple<qint64, const char *, int>> clicks;
    int steps;
    int afterOneUndo; // the wavelength
};
void PrintTo(const ClickRow &row, std::ostream *os)
{
    *os << row.name;
}

class RepeatedClicks : public ::testing::TestWithParam<ClickRow>
{
};

TEST_P(RepeatedClicks, MergeWithinASecond)
{
    const ClickRow &row = GetParam();
    ValueTable t;
    UndoHistory history(t);
    FakeScene scene(history);
    history.setScene(&scene);
    qint64 now = 0;
    history.setClock([&now] { return now; });
    for (const auto &[at, label, delta] : row.clicks) {
        now = at;
        scene.change([delta](SceneSnapshot &s) { s.scene.wavelength += delta; }, QString::fromUtf8(label));
        history.closeStep();
    }
    EXPECT_EQ(history.stack().count(), row.steps);
    history.undo();
    EXPECT_EQ(scene.state.scene.wavelength, row.afterOneUndo);
}

const ClickRow kClickRows[] = {
    {"sixty clicks", {{0, "longueur d'onde", 1}, {400, "longueur d'onde", 1}, {1300, "longueur d'onde", 1}}, 1, 589},
    {"a pause", {{0, "longueur d'onde", 1}, {1500, "longueur d'onde", 1}}, 2, 590},
    {"another control", {{0, "longueur d'onde", 1}, {100, "incidence", 1}}, 2, 590},
    {"there and back", {{0, "longueur d'onde", 1}, {100, "longueur d'onde", -1}, {200, "angle", 5}}, 1, 589},
};
INSTANTIATE_TEST_SUITE_P(Rows, RepeatedClicks, ::testing::ValuesIn(kClickRows), RowName());

// --- Long random sequences ---------------------------------------------------------------------

struct Whole {
    TableData table;
    SceneSnapshot scene;
    bool operator==(const Whole &) const = default;
};

class RandomWork
{
  public:
    explicit RandomWork(unsigned seed) : m_random(seed), m_history(m_table), m_scene(m_history)
    {
        m_history.setScene(&m_scene);
    }

    Whole whole() const { return {dataOf(m_table), m_scene.state}; }
    UndoHistory &history() { return m_history; }

    void step()
    {
        ValueTable &t = m_table;
        const int col = pick(0, 6);
        const int row = pick(1, t.Rows() - 1);
        switch (pick(0, 17)) {
        case 0:
        case 1:
        case 2:
            t.setActiveCell(row, col);
            for (int n = pick(1, 4); n > 0; --n)
                t.typeCharacter(QStringLiteral("0123456789,-E\b").at(pick(0, 13)));
            break;
        case 3:
            t.setActiveCell(row, col);
            break;
        case 4:
            t.deleteActiveText();
            break;
        case 5:
            t.setTitle(col, QStringLiteral("T") + QString::number(pick(0, 99)));
            break;
        case 6:
            t.fillArithmetic(col, float(pick(-5, 5)), float(pick(6, 60)), float(pick(1, 3)));
            break;
        case 7:
            t.Sort(col, pick(0, 1) == 1);
            break;
        case 8:
            t.insertLineAtActive();
            break;
        case 9:
            t.appendLine();
            break;
        case 10:
            t.deleteActiveLine();
            break;
        case 11:
            t.eraseColumn(col);
            break;
        case 12:
            t.setRows(pick(2, 101));
            break;
        case 13:
            t.setTableNumberFormat(QStringList({"0.0", "########0.000", "0.00E+00", ""}).at(pick(0, 3)));
            t.ReformatTable();
            break;
        case 14:
            vorlac::ComputeColumn(t, col, QStringLiteral("C%1+1").arg(pick(1, 7)), 0, false);
            break;
        case 15:
            if (pick(0, 9) == 0)
                t.eraseTable();
            break;
        case 16:
            m_scene.change([&](SceneSnapshot &s) { s.scene.apexAngle = pick(2, 90); }, QStringLiteral("a"));
            break;
        case 17:
            m_scene.change(
                [&](SceneSnapshot &s) {
                    s.protractorRotation = float(pick(0, 628)) / 100;
                    s.protractorPosition = QPoint(pick(0, 400), pick(0, 200));
                },
                QStringLiteral("b"));
            break;
        }
        // Sometimes two changes make one step.
        if (pick(0, 3) != 0)
            m_history.closeStep();
    }

  private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }

    std::mt19937 m_random;
    ValueTable m_table;
    UndoHistory m_history;
    FakeScene m_scene;
};

struct Sequence {
    unsigned seed;
    int changes;
};

void PrintTo(const Sequence &row, std::ostream *os)
{
    *os << "seed " << row.seed << " " << row.changes << " changes";
}

class RandomSequences : public ::testing::TestWithParam<Sequence>
{
};

TEST_P(RandomSequences, UndoAllGivesTheStartRedoAllTheEnd)
{
    RandomWork work(GetParam().seed);
    // states[i]: the state after i steps of those kept (merged typing replaces the last one; past
    // the limit the oldest step goes).
    const QUndoStack &stack = work.history().stack();
    std::vector<Whole> states{work.whole()};
    const QUndoCommand *oldest = nullptr;
    for (int i = 0; i < GetParam().changes; ++i) {
        const int countBefore = stack.count();
        work.step();
        work.history().closeStep();
        if (countBefore == UndoHistory::kLimit && stack.command(0) != oldest)
            states.erase(states.begin());
        oldest = stack.count() > 0 ? stack.command(0) : nullptr;
        const int index = stack.index();
        states.resize(std::size_t(index) + 1);
        states[std::size_t(index)] = work.whole();
    }
    const int steps = stack.index();
    ASSERT_EQ(states.size(), std::size_t(steps) + 1);
    for (int i = steps; i > 0; --i) {
        ASSERT_EQ(work.whole(), states[std::size_t(i)]) << "before undoing step " << i;
        work.history().undo();
    }
    EXPECT_EQ(work.whole(), states.front());
    for (int i = 1; i <= steps; ++i) {
        work.history().redo();
        ASSERT_EQ(work.whole(), states[std::size_t(i)]) << "after redoing step " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RandomSequences,
                         ::testing::Values(Sequence{1, 90}, Sequence{2, 120}, Sequence{3, 150}, Sequence{4, 250},
                                           Sequence{5, 60}, Sequence{6, 400}),
                         RowName());

} // namespace
