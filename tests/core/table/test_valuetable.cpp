#include "table/valuetable.h"
#include "table/valuetablemodel.h"

#include "common/numberpattern.h"
#include "rowname.h"

#include <gtest/gtest.h>

namespace
{

using vorlac::ValueTable;
using FillResult = ValueTable::FillResult;

// Column c of the data lines as texts.
QStringList column(const ValueTable &t, int c)
{
    QStringList out;
    for (int r = 1; r < t.Rows(); ++r)
        out << t.TextMatrix(r, c);
    return out;
}

void putColumn(ValueTable &t, int c, const QStringList &texts)
{
    t.setRows(static_cast<int>(texts.size()) + 1);
    for (int r = 0; r < texts.size(); ++r)
        t.setTextMatrix(r + 1, c, texts[r]);
}

TEST(ValueTable, StartsWithTenLinesTitlesAndTheFixedPattern)
{
    ValueTable t;
    EXPECT_EQ(t.Rows(), 11);
    EXPECT_EQ(t.titles(), QStringList({"C1", "C2", "C3", "C4", "C5", "C6", "C7"}));
    EXPECT_EQ(t.TableNumberFormat(), QStringLiteral("########0.000"));
    EXPECT_EQ(t.Row(), 1);
    EXPECT_EQ(t.Col(), 0);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(t.ColumnExpression(c), QString());
}

// --- Typing ----------------------------------------------------------------------------------

struct TypingRow {
    const char *keys;  // '\b' is Backspace
    const char *typed; // text while typing
    const char *left;  // text once the cell is left
};

void PrintTo(const TypingRow &r, std::ostream *os)
{
    *os << "keys ";
    for (const char *k = r.keys; *k; ++k)
        *os << (*k == '\b' ? std::string(" BS ") : std::string(1, *k));
}

class Typing : public ::testing::TestWithParam<TypingRow>
{
};

TEST_P(Typing, AppendsThenConvertsOnLeaving)
{
    const TypingRow row = GetParam();
    ValueTable t;
    for (const char *k = row.keys; *k; ++k)
        t.typeCharacter(QChar::fromLatin1(*k));
    EXPECT_EQ(t.Text(), QString::fromUtf8(row.typed));
    t.setActiveCell(2, 0);
    EXPECT_EQ(t.TextMatrix(1, 0), QString::fromUtf8(row.left));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Typing,
    ::testing::Values(TypingRow{"1.5", "1,5", "1,500"}, TypingRow{"1,5", "1,5", "1,500"},
                      TypingRow{"2e3", "2E3", "2000,000"}, TypingRow{"-", "-", ""}, TypingRow{"E", "E", ""},
                      TypingRow{"1,2,3", "1,2,3", ""}, TypingRow{"12\b", "1", "1,000"}, TypingRow{"\b", "", ""},
                      TypingRow{"1a b+x5", "15", "15,000"}, TypingRow{"-2.25e-1", "-2,25E-1", "-0,225"},
                      // Single precision: 7 significant digits, not the float's exact integer.
                      TypingRow{"123456789", "123456789", "123456800,000"}, TypingRow{"0.1", "0,1", "0,100"}),
    RowName());

// Typing appends: typed over, a number would be lost with the text that does not convert.
TEST(ValueTable, TypingOverANumberGivesItBackAndSaysSo)
{
    const struct {
        const char *name, *keys, *left;
        bool told;
    } rows[] = {
        {"typed over", "50.31", "51,090", true},
        {"digits added", "7", "51,091", false},
        {"erased first", "\b\b\b\b\b\b50.31", "50,310", false},
        {"erased to nothing", "\b\b\b\b\b\b", "", false},
    };
    for (const auto &row : rows) {
        ValueTable t;
        t.setTextMatrix(1, 0, QStringLiteral("51,090"));
        QStringList told;
        QObject::connect(&t, &ValueTable::numberKept, [&told](const QString &m) { told << m; });
        for (const char *k = row.keys; *k; ++k)
            t.typeCharacter(QChar::fromLatin1(*k));
        t.setActiveCell(2, 0);
        EXPECT_EQ(t.TextMatrix(1, 0), QString::fromUtf8(row.left)) << row.name;
        EXPECT_EQ(told.size(), row.told ? 1 : 0) << row.name;
    }
}

TEST(ValueTable, TypedTextIsCappedAtOneRecord)
{
    ValueTable t;
    for (int i = 0; i < 200; ++i)
        t.typeCharacter(QLatin1Char('1'));
    EXPECT_EQ(t.Text().size(), ValueTable::kMaxTextLength);
}

TEST(ValueTable, DecimalsSurviveAChangeOfRegionalSettings)
{
    ValueTable t;
    t.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    for (QChar k : QStringLiteral("1,5"))
        t.typeCharacter(k);
    EXPECT_EQ(t.Text(), QStringLiteral("1.5"));
    t.commitActiveCell();
    EXPECT_EQ(t.Text(), QStringLiteral("1.500"));
    t.setTextMatrix(2, 0, QStringLiteral("2,25")); // typed under French settings
    ASSERT_TRUE(t.cellValue(2, 0));
    EXPECT_FLOAT_EQ(*t.cellValue(2, 0), 2.25f);
    t.setLocale(QLocale(QLocale::French, QLocale::France));
    EXPECT_FLOAT_EQ(*t.cellValue(1, 0), 1.5f);
}

struct ReadRow {
    const char *text;
    std::optional<float> value;
};

void PrintTo(const ReadRow &r, std::ostream *os)
{
    *os << "\"" << r.text << "\"";
}

class CellReading : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(CellReading, AcceptsCommaAndPoint)
{
    ValueTable t;
    t.setTextMatrix(1, 0, QString::fromUtf8(GetParam().text));
    EXPECT_EQ(t.cellValue(1, 0), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Rows, CellReading,
                         ::testing::Values(ReadRow{"", std::nullopt}, ReadRow{"1,5", 1.5f}, ReadRow{"1.5", 1.5f},
                                           ReadRow{" 2 ", 2.0f}, ReadRow{"2E3", 2000.0f}, ReadRow{"-", std::nullopt},
                                           ReadRow{"1,2,3", std::nullopt}, ReadRow{"1 000", std::nullopt},
                                           ReadRow{"abc", std::nullopt}, ReadRow{"1E99", std::nullopt}),
                         RowName());

// --- Active cell and shape ---------------------------------------------------------------------

struct ShapeRow {
    int rowsAsked;
    int rowsGot;
};

void PrintTo(const ShapeRow &r, std::ostream *os)
{
    *os << r.rowsAsked << " rows asked";
}

class RowsWrite : public ::testing::TestWithParam<ShapeRow>
{
};

TEST_P(RowsWrite, IsClampedAndKeepsTheActiveCellInside)
{
    ValueTable t;
    t.setRows(101);
    t.setActiveCell(100, 6);
    EXPECT_EQ(t.setRows(GetParam().rowsAsked), GetParam().rowsGot);
    EXPECT_EQ(t.Rows(), GetParam().rowsGot);
    EXPECT_GE(t.Row(), 1);
    EXPECT_LE(t.Row(), t.Rows() - 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, RowsWrite,
                         ::testing::Values(ShapeRow{-5, 2}, ShapeRow{0, 2}, ShapeRow{1, 2}, ShapeRow{2, 2},
                                           ShapeRow{50, 50}, ShapeRow{101, 101}, ShapeRow{102, 101},
                                           ShapeRow{100000, 101}),
                         RowName());

TEST(ValueTable, ActiveCellIsClampedIntoTheData)
{
    ValueTable t;
    t.setActiveCell(0, -1);
    EXPECT_EQ(t.Row(), 1);
    EXPECT_EQ(t.Col(), 0);
    t.setActiveCell(99, 9);
    EXPECT_EQ(t.Row(), 10);
    EXPECT_EQ(t.Col(), 6);
}

// --- ReformatTable -----------------------------------------------------------------------------

struct PatternRow {
    const char *pattern;
    const char *pi;
    const char *negative;
    const char *small;
};

void PrintTo(const PatternRow &r, std::ostream *os)
{
    *os << "pattern \"" << r.pattern << "\"";
}

class Reformat : public ::testing::TestWithParam<PatternRow>
{
};

TEST_P(Reformat, RewritesEveryDataCellWithThePattern)
{
    const PatternRow row = GetParam();
    ValueTable t;
    t.setTitle(0, QStringLiteral("3,1"));
    t.setTextMatrix(1, 0, QStringLiteral("3.1415927"));
    t.setTextMatrix(2, 0, QStringLiteral("-32135,35"));
    t.setTextMatrix(10, 6, QStringLiteral("0,0258"));
    t.setTextMatrix(3, 3, QStringLiteral("1,2,"));
    t.setTableNumberFormat(QString::fromLatin1(row.pattern));
    t.ReformatTable();
    EXPECT_EQ(t.TextMatrix(1, 0), QString::fromUtf8(row.pi));
    EXPECT_EQ(t.TextMatrix(2, 0), QString::fromUtf8(row.negative));
    EXPECT_EQ(t.TextMatrix(10, 6), QString::fromUtf8(row.small));
    EXPECT_EQ(t.TextMatrix(3, 3), QString());
    EXPECT_EQ(t.title(0), QStringLiteral("3,1"));
}

INSTANTIATE_TEST_SUITE_P(Rows, Reformat,
                         ::testing::Values(PatternRow{"########0.00", "3,14", "-32135,35", "0,03"},
                                           PatternRow{"########0.000", "3,142", "-32135,350", "0,026"},
                                           PatternRow{"", "3,141593", "-32135,35", "0,0258"},
                                           PatternRow{"0.00E+00", "3,14E+00", "-3,21E+04", "2,58E-02"},
                                           PatternRow{"0.000E-00", "3,142E00", "-3,214E04", "2,580E-02"}),
                         RowName());

struct Counter {
    int n = 0;
};

TEST(ValueTable, ReformatSendsOneNotification)
{
    ValueTable t;
    t.setRows(101);
    for (int r = 1; r < 101; ++r)
        for (int c = 0; c < 7; ++c)
            t.setTextMatrix(r, c, QString::number(r * c));
    vorlac::ValueTableModel model(t);
    Counter changed, reset;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changed.n; });
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++reset.n; });
    t.ReformatTable();
    EXPECT_EQ(changed.n, 1);
    EXPECT_EQ(reset.n, 0);
    t.Sort(2, true);
    EXPECT_EQ(changed.n, 2);
    EXPECT_EQ(t.fillArithmetic(1, 0, 99, 1), FillResult::Filled);
    EXPECT_EQ(changed.n, 3);
    t.setRows(50);
    EXPECT_EQ(changed.n, 3);
    EXPECT_EQ(reset.n, 1);
    t.insertLineAtActive();
    EXPECT_EQ(reset.n, 2);
    {
        ValueTable::Bulk bulk(t);
        for (int r = 1; r < t.Rows(); ++r)
            t.setCellValue(r, 4, 1.0f);
    }
    EXPECT_EQ(changed.n, 4);
    EXPECT_EQ(model.rowCount(), 50);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("C3"));
}

// --- Sort --------------------------------------------------------------------------------------

struct SortRow {
    bool descending;
    QStringList c1;
    QStringList c2;
    QStringList sortedC1;
    QStringList sortedC2;
};

void PrintTo(const SortRow &r, std::ostream *os)
{
    *os << (r.descending ? "descending " : "ascending ") << r.c1.size() << " lines "
        << r.c1.mid(0, 4).join(u' ').toStdString();
}

class Sorting : public ::testing::TestWithParam<SortRow>
{
};

TEST_P(Sorting, MovesWholeLinesStablyWithEmptyCellsLast)
{
    const SortRow &row = GetParam();
    ValueTable t;
    t.setActiveCell(1, 6); // the typed cell would be converted first
    putColumn(t, 0, row.c1);
    putColumn(t, 1, row.c2);
    t.setTitle(0, QStringLiteral("angle"));
    t.Sort(0, row.descending);
    EXPECT_EQ(column(t, 0), row.sortedC1);
    EXPECT_EQ(column(t, 1), row.sortedC2);
    EXPECT_EQ(t.title(0), QStringLiteral("angle"));
    EXPECT_EQ(t.TableNumberFormat(), QStringLiteral("########0.000"));
}

// Sixty lines on three values: past the length where a sort that is not stable still keeps
// ties in order by chance.
SortRow manyTies(bool descending)
{
    SortRow r{descending, {}, {}, {}, {}};
    for (int i = 0; i < 60; ++i) {
        r.c1 << QString::number(i % 3);
        r.c2 << QString::number(i);
    }
    for (int k = 0; k < 3; ++k) {
        const int key = descending ? 2 - k : k;
        for (int i = key; i < 60; i += 3) {
            r.sortedC1 << QStringLiteral("%1,000").arg(key);
            r.sortedC2 << QStringLiteral("%1,000").arg(i);
        }
    }
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Sorting,
    ::testing::Values(
        manyTies(false), manyTies(true),
        SortRow{
            false, {"3", "1", "2"}, {"30", "10", "20"}, {"1,000", "2,000", "3,000"}, {"10,000", "20,000", "30,000"}},
        SortRow{true, {"3", "1", "2"}, {"30", "10", "20"}, {"3,000", "2,000", "1,000"}, {"30,000", "20,000", "10,000"}},
        // Ties keep their order in both directions.
        SortRow{false,
                {"2", "1", "2", "1"},
                {"a1", "b1", "5", "6"},
                {"1,000", "1,000", "2,000", "2,000"},
                {"", "6,000", "", "5,000"}},
        SortRow{true,
                {"2", "1", "2", "1"},
                {"7", "8", "5", "6"},
                {"2,000", "2,000", "1,000", "1,000"},
                {"7,000", "5,000", "8,000", "6,000"}},
        // Empty cells, and stray text that is no number, go after every number in both orders.
        SortRow{false,
                {"", "5", "x", "-1"},
                {"1", "2", "3", "4"},
                {"-1,000", "5,000", "", ""},
                {"4,000", "2,000", "1,000", "3,000"}},
        SortRow{true,
                {"", "5", "x", "-1"},
                {"1", "2", "3", "4"},
                {"5,000", "-1,000", "", ""},
                {"2,000", "4,000", "1,000", "3,000"}},
        // Small values keep their order although the fixed pattern writes them alike.
        SortRow{false,
                {"0,0003", "0,0001", "0,0002"},
                {"3", "1", "2"},
                {"0,000", "0,000", "0,000"},
                {"1,000", "2,000", "3,000"}}),
    RowName());

TEST(ValueTable, SortKeepsAScientificPattern)
{
    ValueTable t;
    t.setTableNumberFormat(QStringLiteral("0.00E+00"));
    putColumn(t, 0, {"250", "0,5", "-3"});
    t.Sort(0, false);
    EXPECT_EQ(column(t, 0), QStringList({"-3,00E+00", "5,00E-01", "2,50E+02"}));
    EXPECT_EQ(t.TableNumberFormat(), QStringLiteral("0.00E+00"));
}

// --- Arithmetic fill ---------------------------------------------------------------------------

struct FillRow {
    float first, last, step;
    FillResult result;
    int rowsAfter;
    QStringList firstCells; // the column's first lines
};

void PrintTo(const FillRow &r, std::ostream *os)
{
    *os << r.first << " to " << r.last << " step " << r.step;
}

class Fill : public ::testing::TestWithParam<FillRow>
{
};

TEST_P(Fill, WritesTheSequenceIntoTheActiveColumn)
{
    const FillRow &row = GetParam();
    ValueTable t;
    for (int r = 1; r < 11; ++r)
        t.setTextMatrix(r, 2, QStringLiteral("7"));
    t.setTextMatrix(1, 3, QStringLiteral("keep"));
    EXPECT_EQ(t.fillArithmetic(2, row.first, row.last, row.step), row.result);
    EXPECT_EQ(t.Rows(), row.rowsAfter);
    EXPECT_EQ(column(t, 2).mid(0, row.firstCells.size()), row.firstCells);
    EXPECT_EQ(t.TextMatrix(1, 3), QStringLiteral("keep"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Fill,
    ::testing::Values(
        FillRow{10,
                80,
                10,
                FillResult::Filled,
                11,
                {"10,000", "20,000", "30,000", "40,000", "50,000", "60,000", "70,000", "80,000", "7", "7"}},
        FillRow{0, 1, 0.3f, FillResult::Filled, 11, {"0,000", "0,300", "0,600", "0,900", "7"}},
        FillRow{80, 10, -10, FillResult::Filled, 11, {"80,000", "70,000", "60,000"}},
        FillRow{10, 80, -10, FillResult::Invalid, 11, {"7"}}, FillRow{80, 10, 10, FillResult::Invalid, 11, {"7"}},
        FillRow{5, 5, 1, FillResult::Invalid, 11, {"7"}}, FillRow{0, 5, 0, FillResult::Invalid, 11, {"7"}},
        FillRow{0, 200, 1, FillResult::TooManyLines, 11, {"7"}},
        FillRow{0, 99, 1, FillResult::Filled, 101, {"0,000", "1,000"}},
        FillRow{0, 100, 1, FillResult::TooManyLines, 11, {"7"}},
        // The single-precision quotient 2.9999998 still counts 4 values.
        FillRow{0, 0.9f, 0.3f, FillResult::Filled, 11, {"0,000", "0,300", "0,600", "0,900", "7"}},
        FillRow{0, 1.5f, 0.5f, FillResult::Filled, 11, {"0,000", "0,500", "1,000", "1,500", "7"}}),
    RowName());

TEST(ValueTable, FillReachesTheLastValueOfALongDecimalSequence)
{
    ValueTable t;
    EXPECT_EQ(ValueTable::arithmeticCount(0, 9.9f, 0.1f), 100);
    ASSERT_EQ(t.fillArithmetic(0, 0, 9.9f, 0.1f), FillResult::Filled);
    EXPECT_EQ(t.Rows(), 101);
    EXPECT_EQ(t.TextMatrix(100, 0), QStringLiteral("9,900"));
    EXPECT_EQ(ValueTable::arithmeticCount(0, 10, 0.1f), 101);
    EXPECT_EQ(t.fillArithmetic(0, 0, 10, 0.1f), FillResult::TooManyLines);
}

// --- Line and column commands ------------------------------------------------------------------

TEST(ValueTable, InsertAboveLineOneAddsAnEmptyFirstLine)
{
    ValueTable t;
    t.setActiveCell(1, 6);
    putColumn(t, 0, {"1", "2", "3"});
    ASSERT_TRUE(t.insertLineAtActive());
    EXPECT_EQ(column(t, 0), QStringList({"", "1", "2", "3"}));
    EXPECT_EQ(t.title(0), QStringLiteral("C1"));
    EXPECT_EQ(t.Row(), 1);
}

TEST(ValueTable, InsertAtTheLastLineAndTheActiveRowStays)
{
    ValueTable t;
    t.setActiveCell(3, 6);
    putColumn(t, 0, {"1", "2", "3"});
    ASSERT_TRUE(t.insertLineAtActive());
    EXPECT_EQ(column(t, 0), QStringList({"1", "2", "", "3"}));
    EXPECT_EQ(t.Row(), 3);
}

TEST(ValueTable, InsertConvertsTheCellBeingTyped)
{
    ValueTable t;
    t.setActiveCell(2, 0);
    t.typeCharacter(QLatin1Char('4'));
    ASSERT_TRUE(t.insertLineAtActive());
    EXPECT_EQ(t.TextMatrix(3, 0), QStringLiteral("4,000"));
}

TEST(ValueTable, LineCommandsStopAtTheLimits)
{
    ValueTable t;
    t.setRows(101);
    EXPECT_FALSE(t.canInsertLine());
    EXPECT_FALSE(t.insertLineAtActive());
    EXPECT_FALSE(t.appendLine());
    EXPECT_EQ(t.Rows(), 101);
    t.setRows(2);
    t.setTextMatrix(1, 0, QStringLiteral("1"));
    EXPECT_FALSE(t.canDeleteLine());
    EXPECT_FALSE(t.deleteActiveLine());
    EXPECT_EQ(t.Rows(), 2);
    EXPECT_EQ(t.TextMatrix(1, 0), QStringLiteral("1"));
    EXPECT_TRUE(t.appendLine());
    EXPECT_EQ(t.Rows(), 3);
}

struct DeleteRow {
    int active;
    QStringList after;
    int activeAfter;
};

void PrintTo(const DeleteRow &r, std::ostream *os)
{
    *os << "line " << r.active;
}

class DeleteLine : public ::testing::TestWithParam<DeleteRow>
{
};

TEST_P(DeleteLine, MovesTheLinesBelowUp)
{
    ValueTable t;
    t.setRows(4);
    t.setActiveCell(GetParam().active, 5);
    putColumn(t, 0, {"1", "2", "3"});
    ASSERT_TRUE(t.deleteActiveLine());
    EXPECT_EQ(column(t, 0), GetParam().after);
    EXPECT_EQ(t.Row(), GetParam().activeAfter);
    EXPECT_EQ(t.Rows(), 3);
}

INSTANTIATE_TEST_SUITE_P(Rows, DeleteLine,
                         ::testing::Values(DeleteRow{1, {"2", "3"}, 1}, DeleteRow{2, {"1", "3"}, 2},
                                           DeleteRow{3, {"1", "2"}, 2}),
                         RowName());

TEST(ValueTable, EraseTableKeepsOnlyThePattern)
{
    ValueTable t;
    t.setTableNumberFormat(QStringLiteral("0.00E+00"));
    t.setRows(60);
    t.setActiveCell(55, 3);
    t.setTitle(2, QStringLiteral("i"));
    t.setTextMatrix(40, 1, QStringLiteral("1"));
    t.setColumnExpression(4, QStringLiteral("C1 * 2"));
    t.eraseTable();
    EXPECT_EQ(t.Rows(), 11);
    EXPECT_EQ(t.titles(), QStringList({"C1", "C2", "C3", "C4", "C5", "C6", "C7"}));
    EXPECT_EQ(t.ColumnExpression(4), QString());
    EXPECT_EQ(t.TableNumberFormat(), QStringLiteral("0.00E+00"));
    EXPECT_EQ(t.Row(), 10);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(column(t, c), QStringList(10, QString()));
}

TEST(ValueTable, EraseColumnKeepsTitleAndFormula)
{
    ValueTable t;
    putColumn(t, 2, {"1", "2"});
    putColumn(t, 3, {"5", "6"});
    t.setTitle(2, QStringLiteral("r"));
    t.setColumnExpression(2, QStringLiteral("C1"));
    t.eraseColumn(2);
    EXPECT_EQ(column(t, 2), QStringList({"", ""}));
    EXPECT_EQ(column(t, 3), QStringList({"5", "6"}));
    EXPECT_EQ(t.title(2), QStringLiteral("r"));
    EXPECT_EQ(t.ColumnExpression(2), QStringLiteral("C1"));
}

struct TitleRow {
    QString text;
    bool savable;
};

void PrintTo(const TitleRow &r, std::ostream *os)
{
    *os << r.text.size() << " characters";
    for (const QChar c : r.text.left(4))
        *os << ' ' << codePoint(c.unicode());
}

class TitleCheck : public ::testing::TestWithParam<TitleRow>
{
};

TEST_P(TitleCheck, OnlyRecordSizedWindows1252TextIsSavable)
{
    EXPECT_EQ(ValueTable::textProblem(GetParam().text).isEmpty(), GetParam().savable);
}

INSTANTIATE_TEST_SUITE_P(Rows, TitleCheck,
                         ::testing::Values(TitleRow{QStringLiteral("Angle (°) é€"), true},
                                           TitleRow{QString(126, QLatin1Char('x')), true},
                                           TitleRow{QString(127, QLatin1Char('x')), false},
                                           TitleRow{QStringLiteral("λ (nm)"), false},
                                           TitleRow{QStringLiteral("  i"), true}),
                         RowName());

TEST(ValueTable, SingleTextRoundsToSevenDigitsEverywhere)
{
    const QLocale fr(QLocale::French, QLocale::France);
    EXPECT_EQ(ValueTable::singleText(123456789.0f, QStringLiteral("########0.000"), fr),
              QStringLiteral("123456800,000"));
    EXPECT_EQ(ValueTable::singleText(0.1f, QString::fromLatin1(vorlac::kPatternSort), fr), QStringLiteral("0,1"));
    EXPECT_EQ(ValueTable::singleText(3.0f * 0.3f, QString(), fr), QStringLiteral("0,9"));
    EXPECT_EQ(ValueTable::singleText(1e30f, QStringLiteral("0.00E+00"), fr), QStringLiteral("1,00E+30"));
}

} // namespace
