#include "table/pastetext.h"
#include "table/valuetable.h"

#include "rowname.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorlac;

struct PasteRow {
    const char *name;
    QString text;
    int row, col;  // active cell
    int startRows; // Rows before the paste
    int rowsAfter;
    std::vector<std::tuple<int, int, const char *>> cells; // every non-empty cell after the paste
    int texts, droppedLines, droppedColumns, droppedCells;
    int rounded = 0;
    int refusedTitles = 0;
    const char *titles = "C1|C2|C3|C4|C5|C6|C7"; // after the paste
};
void PrintTo(const PasteRow &r, std::ostream *os)
{
    *os << r.name;
}
class Paste : public ::testing::TestWithParam<PasteRow>
{
};
TEST_P(Paste, WritesFromTheActiveCellInOneChange)
{
    const PasteRow &p = GetParam();
    ValueTable t;
    t.setLocale(QLocale(QLocale::French, QLocale::France));
    t.setRows(p.startRows);
    t.setTextMatrix(1, 6, QStringLiteral("9,000")); // kept unless the paste writes it
    t.setActiveCell(p.row, p.col);
    int notifications = 0;
    QObject::connect(&t, &ValueTable::cellsChanged, [&] { ++notifications; });
    QObject::connect(&t, &ValueTable::tableReset, [&] { ++notifications; });
    const PasteReport report = t.paste(p.text);
    EXPECT_EQ(notifications, report.written > 0 || report.firstTitle >= 0 ? 1 : 0);
    EXPECT_EQ(t.Rows(), p.rowsAfter);
    for (int r = 1; r < t.Rows(); ++r)
        for (int c = 0; c < 7; ++c) {
            const auto it = std::find_if(p.cells.begin(), p.cells.end(),
                                         [&](const auto &e) { return std::get<0>(e) == r && std::get<1>(e) == c; });
            EXPECT_EQ(t.TextMatrix(r, c), it == p.cells.end() ? QString() : QString::fromUtf8(std::get<2>(*it)))
                << "cell " << r << "," << c;
        }
    EXPECT_EQ(report.texts, p.texts);
    EXPECT_EQ(report.droppedLines, p.droppedLines);
    EXPECT_EQ(report.droppedColumns, p.droppedColumns);
    EXPECT_EQ(report.droppedCells, p.droppedCells);
    EXPECT_EQ(report.rounded, p.rounded);
    EXPECT_EQ(report.refusedTitles, p.refusedTitles);
    EXPECT_EQ(t.titles().join(u'|'), QString::fromUtf8(p.titles));
    EXPECT_EQ(t.Row(), p.row);
    EXPECT_EQ(t.Col(), p.col);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, Paste,
    ::testing::Values(
        PasteRow{"spreadsheetLf",
                 "1,5\t2\n3\t-4,25\n",
                 1,
                 0,
                 11,
                 11,
                 {{1, 0, "1,500"}, {1, 1, "2,000"}, {2, 0, "3,000"}, {2, 1, "-4,250"}, {1, 6, "9,000"}},
                 0,
                 0,
                 0,
                 0},
        PasteRow{"crLfPointsExponent",
                 "0.25\r\n2E3\r\n1.5e-2",
                 2,
                 3,
                 11,
                 11,
                 {{2, 3, "0,250"}, {3, 3, "2000,000"}, {4, 3, "0,015"}, {1, 6, "9,000"}},
                 0,
                 0,
                 0,
                 0},
        PasteRow{"frenchGroupedDigits",
                 QString::fromUtf8("1 234,5\t1\u202F000"),
                 1,
                 0,
                 11,
                 11,
                 {{1, 0, "1234,500"}, {1, 1, "1000,000"}, {1, 6, "9,000"}},
                 0,
                 0,
                 0,
                 0},
        // the table's own copy: its first line gives the titles, the data starts at the active
        // line; empty cells empty the table's
        PasteRow{"ownCopyWithTitles",
                 "C1\tC2\tC3\tC4\tC5\tC6\tC7\n1,000\t\t\t\t\t\t\n",
                 1,
                 0,
                 11,
                 11,
                 {{1, 0, "1,000"}},
                 0,
                 0,
                 0,
                 0},
        // a title the situation file could not hold (a lambda, 130 characters) keeps the old one;
        // an empty title cell too; a title past C7 is dropped like a cell. 10,5556 is rounded by
        // the format, 123456789 only by single precision.
        PasteRow{"titlesWithinTheirRulesAndRounding",
                 QStringLiteral("i (\u00b0)\t\t\u03bb\tn\t") + QString(130, u'x') +
                     QStringLiteral("\tD\tE\n10,5556\t1\t2\t123456789"),
                 3,
                 1,
                 11,
                 11,
                 {{3, 1, "10,556"}, {3, 2, "1,000"}, {3, 3, "2,000"}, {3, 4, "123456800,000"}, {1, 6, "9,000"}},
                 0,
                 0,
                 1,
                 1,
                 1,
                 2,
                 "C1|i (\u00b0)|C3|C4|n|C6|D"},
        // a quoted cell holds its TAB and line break: one text, not three cells
        PasteRow{"quotedTextAndWords",
                 "\"a\tb\nc\"\t1\n12 kg\t2\r3",
                 1,
                 0,
                 11,
                 11,
                 {{1, 1, "1,000"}, {2, 1, "2,000"}, {3, 0, "3,000"}, {1, 6, "9,000"}},
                 2,
                 0,
                 0,
                 0},
        PasteRow{
            "growsTheTable",
            "1\n2\n3\n4\n5",
            9,
            0,
            11,
            14,
            {{9, 0, "1,000"}, {10, 0, "2,000"}, {11, 0, "3,000"}, {12, 0, "4,000"}, {13, 0, "5,000"}, {1, 6, "9,000"}},
            0,
            0,
            0,
            0},
        PasteRow{"beyondSevenColumns", "1\t2\t3\t\t5", 1, 5, 11, 11, {{1, 5, "1,000"}, {1, 6, "2,000"}}, 0, 0, 2, 2},
        PasteRow{"beyondLine100",
                 "1\n2\n3\n\n",
                 99,
                 0,
                 101,
                 101,
                 {{99, 0, "1,000"}, {100, 0, "2,000"}, {1, 6, "9,000"}},
                 0,
                 1,
                 0,
                 1},
        PasteRow{"emptyText", "", 1, 0, 11, 11, {{1, 6, "9,000"}}, 0, 0, 0, 0}),
    RowName());

TEST(Paste, OfTooBigABlockFillsTheTableAndSaysHowMuchWasLeft)
{
    QString text;
    for (int r = 0; r < 105; ++r) {
        QStringList cells;
        for (int c = 0; c < 9; ++c)
            cells << QString::number(r * 10 + c);
        text += cells.join(u'\t') + u'\n';
    }
    ValueTable t;
    t.setLocale(QLocale(QLocale::French, QLocale::France));
    int notifications = 0;
    QObject::connect(&t, &ValueTable::tableReset, [&] { ++notifications; });
    QObject::connect(&t, &ValueTable::cellsChanged, [&] { ++notifications; });
    const PasteReport r = t.paste(text + QStringLiteral("mot"));
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(t.Rows(), 101);
    EXPECT_EQ(t.TextMatrix(100, 6), QStringLiteral("996,000"));
    EXPECT_EQ(pasteMessage(r),
              QStringLiteral("Le tableau n'a que 7 colonnes et 100 lignes : 246 cellules n'ont pas été "
                             "collées (6 lignes au-delà de la 100e et 2 colonnes au-delà de C7)."));
}
