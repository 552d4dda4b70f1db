// F9 on the screen: the line's position where the trace lands it, its wavelength or, hidden, its
// rank only; the columns a record may take, and nothing written when it cannot all be.
#include "model/linelamps.h"
#include "model/materials.h"
#include "rowname.h"
#include "spectra/screenrecord.h"
#include "spectra/screensettings.h"
#include "table/valuetable.h"

#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

SceneState mercury(int apex, double incidence, bool hidden)
{
    SceneState s;
    s.apexAngle = apex;
    s.prismMaterial = 3;
    s.prismCauchyA = kMaterials[3].cauchyA;
    s.prismCauchyB = kMaterials[3].cauchyB;
    s.incidenceAngle = incidence;
    s.source = SourceType::LineLamp;
    s.lamp = lineLampRow(QStringLiteral("mercure"));
    s.lampHidden = hidden;
    return s;
}

struct LineRow {
    const char *name;
    int apex;
    double incidence, distance, wavelength;
    bool hidden;
    friend void PrintTo(const LineRow &r, std::ostream *os) { *os << r.name; }
};

using ScreenRecordLine = ::testing::TestWithParam<LineRow>;

TEST_P(ScreenRecordLine, WritesWhereTheTraceLandsIt)
{
    const LineRow &r = GetParam();
    const SceneState s = mercury(r.apex, r.incidence, r.hidden);
    const ScreenSpectrum spectrum(s, {r.distance, 0.0, 2000.0}, screenSourceFor(s), {});
    const std::optional<double> landing = spectrum.positionOf(r.wavelength);
    ASSERT_TRUE(landing.has_value());
    const std::vector<ObservedLine> lines = spectrum.lines();
    // The cursor a little beside the line: the nearest line is the one recorded.
    const int i = lineAt(lines, *landing + 0.05, 1e9);
    ASSERT_GE(i, 0);
    ValueTable table;
    int edits = 0;
    QObject::connect(&table, &ValueTable::edited, [&edits](const QString &) { ++edits; });
    const ScreenRecordOutcome out = recordScreenLine(table, lines[std::size_t(i)]);
    ASSERT_EQ(out.status, ScreenRecordOutcome::Recorded);
    EXPECT_EQ(edits, 1); // one undo step
    EXPECT_EQ(out.line, 1);
    EXPECT_EQ(table.title(0), QStringLiteral("x (mm)"));
    EXPECT_NEAR(*table.cellValue(1, 0), *landing, 0.01);
    EXPECT_EQ(table.title(1), r.hidden ? QStringLiteral("rang") : QStringLiteral("lambda (nm)"));
    // The rank: 1 + the lines of the lamp that land lower.
    int rank = 1;
    for (const SpectralLine &l : lineLamps()[std::size_t(s.lamp)].lines)
        if (const std::optional<double> at = spectrum.positionOf(l.wavelength); at && *at < *landing)
            ++rank;
    EXPECT_NEAR(*table.cellValue(1, 1), r.hidden ? rank : r.wavelength, 1e-3);
    if (r.hidden) {
        // Neither a title nor a cell nor the message gives the wavelength away.
        const QString text = table.titles().join(u'|') + table.TextMatrix(1, 0) + table.TextMatrix(1, 1) +
                             screenRecordMessage(out, lines[std::size_t(i)], table);
        EXPECT_FALSE(text.contains(QStringLiteral("lambda")));
        EXPECT_FALSE(text.contains(QStringLiteral("nm")));
        EXPECT_FALSE(text.contains(QString::number(int(r.wavelength)))) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenRecordLine,
                         ::testing::Values(LineRow{"green 546 A60", 60, 50.0, 500.0, 546.074, false},
                                           LineRow{"violet 404 A45 far", 45, 40.0, 1500.0, 404.656, false},
                                           LineRow{"yellow 579 near", 60, 55.0, 200.0, 579.066, false},
                                           LineRow{"hidden green", 60, 50.0, 500.0, 546.074, true},
                                           LineRow{"hidden violet", 60, 50.0, 500.0, 404.656, true}),
                         RowName());

struct TableRow {
    const char *name;
    std::vector<const char *> titles; // C1..
    int filledLines;                  // data lines already holding values in every column
    bool hidden;
    ScreenRecordOutcome::Status status;
    int positionColumn, valueColumn, line;
    friend void PrintTo(const TableRow &r, std::ostream *os) { *os << r.name; }
};

using ScreenRecordTable = ::testing::TestWithParam<TableRow>;

TEST_P(ScreenRecordTable, ChoosesColumnsAndLine)
{
    const TableRow &r = GetParam();
    ValueTable table;
    table.setRows(std::max(r.filledLines + 1, ValueTable::kMinRows));
    for (std::size_t c = 0; c < r.titles.size(); ++c)
        table.setTitle(int(c), QString::fromUtf8(r.titles[c]));
    for (int line = 1; line <= r.filledLines; ++line)
        for (int c = 0; c < ValueTable::kColumns; ++c)
            table.setCellValue(line, c, 1.0f);
    const ValueTable::Snapshot before = table.snapshot();
    ObservedLine line;
    line.positionMm = -12.5;
    line.rank = 2;
    if (!r.hidden)
        line.wavelength = 546.074;
    const ScreenRecordOutcome out = recordScreenLine(table, line);
    EXPECT_EQ(out.status, r.status);
    EXPECT_FALSE(screenRecordMessage(out, line, table).isEmpty());
    if (r.status != ScreenRecordOutcome::Recorded) {
        EXPECT_TRUE(table.snapshot() == before); // nothing written
        return;
    }
    EXPECT_EQ(out.positionColumn, r.positionColumn);
    EXPECT_EQ(out.valueColumn, r.valueColumn);
    EXPECT_EQ(out.line, r.line);
    EXPECT_EQ(table.TextMatrix(out.line, out.positionColumn), QStringLiteral("-12,500"));
    EXPECT_EQ(screenTitleQuantity(table.title(out.positionColumn)), ScreenQuantity::Position);
    EXPECT_EQ(screenTitleQuantity(table.title(out.valueColumn)),
              r.hidden ? ScreenQuantity::Rank : ScreenQuantity::Wavelength);
}

const TableRow kTables[] = {
    {"fresh", {}, 0, false, ScreenRecordOutcome::Recorded, 0, 1, 1},
    {"after angles i D", {"i (°)", "D (°)"}, 0, false, ScreenRecordOutcome::Recorded, 2, 3, 1},
    {"own titles elsewhere",
     {"C1", "i", "Rang", "lambda (nm)", "Position (mm)"},
     3,
     true,
     ScreenRecordOutcome::Recorded,
     4,
     2,
     4},
    {"grows past 10 lines", {}, 10, false, ScreenRecordOutcome::Recorded, 0, 1, 11},
    {"full", {}, 100, false, ScreenRecordOutcome::TableFull, 0, 0, 0},
    {"every title another",
     {"i (°)", "D (°)", "n", "A", "r (°)", "Dm", "sin i"},
     0,
     false,
     ScreenRecordOutcome::NoColumn,
     0,
     0,
     0},
    {"one column left", {"i (°)", "D (°)", "n", "A", "r (°)", "Dm"}, 0, true, ScreenRecordOutcome::NoColumn, 0, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(Rows, ScreenRecordTable, ::testing::ValuesIn(kTables), RowName());

} // namespace
