#include "table/measurerecord.h"
#include "table/valuetable.h"

#include "rowname.h"

#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

RayMeasures ray(int lambda, double i, double d, bool direct = true)
{
    RayMeasures r;
    r.wavelength = lambda;
    TraceMeasures &m = r.measures;
    m.prismIndex = 1.5;
    m.outsideIndex = 1.0;
    m.incidence = i;
    m.refraction = 20.5;
    m.exitIncidence = 24.5;
    m.entered = true;
    m.direct = direct;
    m.emergence = d + 45 - i;
    m.deviation = d;
    m.criticalAngle = 41.8;
    m.limit = EmergenceLimit::Angle;
    m.limitIncidence = -27.9;
    return r;
}

RecordColumns columnsOf(std::initializer_list<std::pair<int, Quantity>> pairs)
{
    RecordColumns c;
    c.column.fill(Quantity::None);
    for (const auto &[col, q] : pairs)
        c.column[static_cast<std::size_t>(col)] = q;
    return c;
}

struct RecordRow {
    const char *name;
    RecordColumns columns;
    std::vector<RayMeasures> rays;
    int filledLines;      // data lines 1..filledLines hold "9" in C1 and C3 beforehand
    QString presetTitle2; // title of C2 before the record ("" leaves "C2")
    RecordOutcome::Status status;
    int firstLine;
    int rowsAfter;
    // Expected texts after the record: (line, column, text); line 0 is the title row.
    std::vector<std::tuple<int, int, QString>> cells;
};
void PrintTo(const RecordRow &r, std::ostream *os)
{
    *os << r.name;
}

class MeasureRecord : public ::testing::TestWithParam<RecordRow>
{
};

TEST_P(MeasureRecord, WritesTheChosenColumnsIntoTheFirstFreeLine)
{
    const RecordRow &row = GetParam();
    ValueTable t;
    t.setLocale(QLocale(QLocale::French, QLocale::France));
    if (row.filledLines > 10)
        t.setRows(row.filledLines + 1);
    for (int l = 1; l <= row.filledLines; ++l) {
        t.setTextMatrix(l, 0, "9");
        t.setTextMatrix(l, 2, "9");
    }
    if (!QString(row.presetTitle2).isEmpty())
        t.setTitle(1, row.presetTitle2);
    const int rowsBefore = t.Rows();
    const QStringList titlesBefore = t.titles();
    int notifications = 0;
    QObject::connect(&t, &ValueTable::cellsChanged, [&] { ++notifications; });
    QObject::connect(&t, &ValueTable::tableReset, [&] { ++notifications; });

    const RecordOutcome out = recordMeasurement(t, row.columns, row.rays, 45);

    EXPECT_EQ(out.status, row.status);
    EXPECT_EQ(t.Rows(), row.rowsAfter);
    if (row.status != RecordOutcome::Recorded) {
        EXPECT_EQ(notifications, 0);
        EXPECT_EQ(t.titles(), titlesBefore);
        EXPECT_EQ(t.Rows(), rowsBefore);
        return;
    }
    EXPECT_EQ(out.firstLine, row.firstLine);
    EXPECT_EQ(out.lines, static_cast<int>(row.rays.size()));
    EXPECT_EQ(notifications, 1); // one change for the whole record
    for (const auto &[line, col, text] : row.cells)
        EXPECT_EQ(t.TextMatrix(line, col), text) << "line " << line << " column " << col;
}

const std::vector<RayMeasures> kOne = {ray(589, 36, 30.25)};
const std::vector<RayMeasures> kFive = {ray(400, 36, 32), ray(500, 36, 31), ray(600, 36, 30.5), ray(700, 36, 30.2),
                                        ray(800, 36, 30)};

using Q = Quantity;
constexpr auto kDone = RecordOutcome::Recorded;
constexpr auto kFull = RecordOutcome::TableFull;
constexpr auto kConflict = RecordOutcome::TitleConflict;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Records, MeasureRecord, ::testing::Values(
    RecordRow{"defaults_fresh_table", {}, kOne, 0, "", kDone, 1, 11,
              {{0, 0, "i (°)"}, {0, 1, "D (°)"}, {1, 0, "36,000"}, {1, 1, "30,250"}, {2, 0, ""}}},
    RecordRow{"kept_title_and_next_free_line", {}, kOne, 3, "Déviation", kDone, 4, 11,
              {{0, 1, "Déviation"}, {4, 0, "36,000"}, {4, 1, "30,250"}, {3, 0, "9"}}},
    RecordRow{"other_columns_do_not_block_a_line",
              columnsOf({{1, Q::Wavelength}, {3, Q::PrismIndex}, {6, Q::Refraction}}), kOne, 4, "", kDone, 1, 11,
              {{0, 1, "lambda (nm)"}, {0, 3, "n"}, {0, 6, "r (°)"}, {1, 1, "589,000"}, {1, 3, "1,500"},
               {1, 6, "20,500"}, {1, 0, "9"}}},
    RecordRow{"no_emergence_leaves_D_empty", columnsOf({{0, Q::ExitIncidence}, {1, Q::Emergence}, {2, Q::Deviation}}),
              {ray(589, 10, 0, false)}, 0, "", kDone, 1, 11, {{1, 0, "24,500"}, {1, 1, ""}, {1, 2, ""}}},
    RecordRow{"five_radiations_grow_the_table", columnsOf({{0, Q::Wavelength}, {1, Q::Deviation}}), kFive, 8, "",
              kDone, 9, 14, {{9, 0, "400,000"}, {13, 0, "800,000"}, {13, 1, "30,000"}, {8, 0, "9"}}},
    RecordRow{"last_line_of_a_full_size_table", {}, kOne, 99, "", kDone, 100, 101, {{100, 0, "36,000"}}},
    RecordRow{"full_table_writes_nothing", {}, kOne, 100, "", kFull, 0, 101, {}},
    RecordRow{"five_do_not_fit_in_three_lines", {}, kFive, 97, "", kFull, 0, 98, {}},
    RecordRow{"title_of_another_quantity_refused", {}, kOne, 0, "i' (°)", kConflict, 0, 11, {}},
    RecordRow{"unknown_title_refused", {}, kOne, 0, "Dm (°)", kConflict, 0, 11, {}},
    RecordRow{"unknown_title_the_user_kept", {.kept = {"", "Dm (°)"}}, kOne, 0, "Dm (°)", kDone, 1, 11,
              {{0, 1, "Dm (°)"}, {1, 1, "30,250"}}},
    RecordRow{"outside_index_apex_and_limits",
              columnsOf({{2, Q::OutsideIndex}, {3, Q::Apex}, {4, Q::CriticalAngle}, {5, Q::LimitIncidence}}), kOne,
              0, "", kDone, 1, 11,
              {{0, 2, "n ext."}, {0, 3, "A (°)"}, {0, 4, "angle lim. (°)"}, {0, 5, "i lim. (°)"}, {1, 2, "1,000"},
               {1, 3, "45,000"}, {1, 4, "41,800"}, {1, 5, "-27,900"}}}),
    RowName());
// clang-format on

struct ProposalRow {
    const char *name;
    QStringList titles;
    bool wavelength;
    const char *expected; // the quantities' symbols, C1 to C7
};
void PrintTo(const ProposalRow &r, std::ostream *os)
{
    *os << r.name;
}

class Proposals : public ::testing::TestWithParam<ProposalRow>
{
};

// After a conflict each quantity finds the column titled for it, else a free untitled one,
// else stays under a title that names nothing known; then nothing conflicts once confirmed.
TEST_P(Proposals, PutEachQuantityWhereTheTitlesSay)
{
    const ProposalRow &row = GetParam();
    RecordColumns proposed = proposedColumns({}, row.titles, row.wavelength);
    QStringList symbols;
    for (int c = 0; c < 7; ++c) {
        symbols << quantitySymbol(proposed.column[static_cast<std::size_t>(c)]);
        proposed.kept[static_cast<std::size_t>(c)] = row.titles.value(c);
    }
    EXPECT_EQ(symbols.join(u','), QString::fromUtf8(row.expected));
    EXPECT_EQ(conflictingColumn(proposed, row.titles), -1);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, Proposals, ::testing::Values(
    ProposalRow{"deviation_exercise", {"i (°)", "i' (°)", "D (°)"}, false, "i,,D,,,,"},
    ProposalRow{"dispersion_exercise", {"lambda (nm)", "n", "i' (°)", "D (°)"}, true, "λ,,,D,i,,"},
    ProposalRow{"words_in_any_case", {"Déviation", "i’ (°)", "INCIDENCE"}, false, "D,,i,,,,"},
    ProposalRow{"unknown_titles_everywhere", {"x1", "x2", "x3", "x4", "x5", "x6", "x7"}, true, "i,D,,,,,"}),
    RowName());
// clang-format on

} // namespace
