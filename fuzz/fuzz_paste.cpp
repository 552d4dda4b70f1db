// Arbitrary clipboard text pasted into the table at an arbitrary cell: the table keeps its shape
// (7 columns, 1..100 data lines), every data cell holds "" or a number in the table's format, and
// the counts of the report add up; a message appears only when something must be said.
#include "table/pastetext.h"
#include "table/valuetable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    static const QLocale french(QLocale::French, QLocale::France);
    vorlac::ValueTable table;
    table.setLocale(french);
    table.setRows(2 + data[0] % 100);
    table.setActiveCell(1 + data[1] % 100, data[0] % 7);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 2), static_cast<qsizetype>(size - 2));
    const std::vector<QStringList> lines = vorlac::splitPastedText(text);
    qsizetype cells = 0;
    for (const QStringList &line : lines)
        cells += line.size();
    const vorlac::PasteReport report = table.paste(text);
    if (table.Rows() < vorlac::ValueTable::kMinRows || table.Rows() > vorlac::ValueTable::kMaxRows)
        std::abort();
    if (report.written + report.texts + report.droppedCells > cells)
        std::abort();
    if (report.droppedCells == 0 && (report.droppedLines != 0 || report.droppedColumns != 0))
        std::abort();
    for (int r = 1; r < table.Rows(); ++r)
        for (int c = 0; c < vorlac::ValueTable::kColumns; ++c) {
            const QString cell = table.TextMatrix(r, c);
            if (!cell.isEmpty() && !table.cellValue(r, c))
                std::abort();
        }
    // Only something the pupil must know about (left out, rounded, titles) makes a message.
    const bool notable = report.texts > 0 || report.droppedCells > 0 || report.rounded > 0 ||
                         report.refusedTitles > 0 || report.firstTitle >= 0;
    if (!notable && !vorlac::pasteMessage(report).isEmpty())
        std::abort();
    return 0;
}
