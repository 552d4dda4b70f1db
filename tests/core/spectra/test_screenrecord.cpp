// F9 on the screen: the line's position where the trace lands it, its wavelength or, hidden, its
// rank only; the columns a record may take, and nothing written when it cannot all be.
#include "model/linelamps.h"
#include "rowname.h"
#include "spectra/screenrecord.h"
#include "spectra/screensettings.h"
#include "table/valuetable.h"

#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

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
    SceneState s;
    s.apexAngle = r.apex;
    s.incidenceAngle = r.incidence;
    s.source = SourceType::LineLamp;
    s.lamp = lineLampRow(QStringLiteral("mercure"));
    s.lampHidden = r.hidden;
    const ScreenSpectrum spectrum(s, {r.distance, 0.0, 2000.0}, screenSourceFor(s), {});
    const std::optional<double> landing = spectrum.positionOf(r.wavelength);
    ASSERT_TRUE(landing.has_value());
    const std::vector<ObservedLine> lines = spectrum.lines();
    // The cursor a little beside the line: the nearest line is the one recorded.
    const int i = lineAt(lines, *landing + 0.05, 1e9);
    ASSERT_GE(i, 0);
    ValueTable table;
    const ScreenRecordOutcome out = recordScreenLine(table, lines[std::size_t(i)]);
    ASSERT_EQ(out.status, ScreenRecordOutcome::Recorded);
    EXPECT_EQ(table.title(0), QStringLiteral("x (mm)"));
    EXPECT_NEAR(*table.cellValue(1, 0), *landing, 0.01);
    EXPECT_EQ(table.title(1), r.hidden ? QStringLiteral("rang") : QStringLiteral("lambda (nm)"));
    int rank = 1; // 1 + the lamp's lines that land lower
    for (const SpectralLine &l : lineLamps()[std::size_t(s.lamp)].lines)
        if (const std::optional<double> at = spectrum.positionOf(l.wavelength); at && *at < *landing)
            ++rank;
    EXPECT_NEAR(*table.cellValue(1, 1), r.hidden ? rank : r.wavelength, 1e-3);
    // Hidden, neither a title nor a cell nor the message gives the wavelength away.
    const QString text =
        table.titles().join(u'|') + table.TextMatrix(1, 1) + screenRecordMessage(out, lines[std::size_t(i)], table);
    EXPECT_EQ(text.contains(QString::number(int(r.wavelength))), !r.hidden) << text.toStdString();
    EXPECT_EQ(text.contains(QStringLiteral("nm")), !r.hidden) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenRecordLine,
                         ::testing::Values(LineRow{"green 546 A60", 60, 50.0, 500.0, 546.074, false},
                                           LineRow{"violet 404 A45 far", 45, 40.0, 1500.0, 404.656, false},
                                           LineRow{"yellow 579 near", 60, 55.0, 200.0, 579.066, false},
                                           LineRow{"hidden green", 60, 50.0, 500.0, 546.074, true}),
                         RowName());

struct TableRow {
    const char *name;
    const char *titles; // C1|C2|...
    int filledLines;    // data lines holding values in every column
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
    const QStringList titles = QString::fromUtf8(r.titles).split(u'|');
    for (int c = 0; c < titles.size(); ++c)
        table.setTitle(c, titles[c]);
    for (int line = 1; line <= r.filledLines; ++line)
        for (int c = 0; c < ValueTable::kColumns; ++c)
            table.setCellValue(line, c, 1.0f);
    const ValueTable::Snapshot before = table.snapshot();
    ObservedLine line{-12.5, false, 2, r.hidden ? std::nullopt : std::optional<double>(546.074), {}};
    const ScreenRecordOutcome out = recordScreenLine(table, line);
    ASSERT_EQ(out.status, r.status);
    if (r.status != ScreenRecordOutcome::Recorded) {
        EXPECT_TRUE(table.snapshot() == before); // nothing written
        return;
    }
    EXPECT_EQ(std::tuple(out.positionColumn, out.valueColumn, out.line),
              std::tuple(r.positionColumn, r.valueColumn, r.line));
    EXPECT_EQ(table.TextMatrix(out.line, out.positionColumn), QStringLiteral("-12,500"));
    EXPECT_EQ(screenTitleQuantity(table.title(out.valueColumn)),
              r.hidden ? ScreenQuantity::Rank : ScreenQuantity::Wavelength);
}

using S = ScreenRecordOutcome;
const TableRow kTables[] = {
    {"fresh", "", 0, false, S::Recorded, 0, 1, 1},
    {"after angles i D", "i (°)|D (°)", 0, false, S::Recorded, 2, 3, 1},
    {"own titles elsewhere", "C1|i|Rang|lambda (nm)|Position (mm)", 3, true, S::Recorded, 4, 2, 4},
    {"grows past 10 lines", "", 10, false, S::Recorded, 0, 1, 11},
    {"full", "", 100, false, S::TableFull, 0, 0, 0},
    {"every title another", "i (°)|D (°)|n|A|r (°)|Dm|sin i", 0, false, S::NoColumn, 0, 0, 0},
    {"one column left", "i (°)|D (°)|n|A|r (°)|Dm", 0, true, S::NoColumn, 0, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(Rows, ScreenRecordTable, ::testing::ValuesIn(kTables), RowName());

} // namespace
