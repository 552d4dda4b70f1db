#include "table/sweepfill.h"

#include <algorithm>

namespace vorlac
{

void fillTableWithSweep(ValueTable &table, const Sweep &sweep)
{
    const int columns = std::min<int>(int(sweep.titles.size()), ValueTable::kColumns);
    const int lines = int(sweep.lines.size());
    ValueTable::Bulk bulk(table, QStringLiteral("balayage"));
    table.setRows(std::max(table.Rows(), lines + 1));
    for (int c = 0; c < columns; ++c) {
        table.setTitle(c, sweep.titles[c]);
        table.setColumnExpression(c, QString()); // the column no longer holds what a formula computed
        for (int row = 1; row < table.Rows(); ++row) {
            const std::size_t k = std::size_t(row - 1);
            table.setCellValue(
                row, c, row <= lines ? std::optional<float>(float(sweep.lines[k][std::size_t(c)])) : std::nullopt);
        }
    }
}

} // namespace vorlac
