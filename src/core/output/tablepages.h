#pragma once

#include "output/figurepage.h"

#include <functional>
#include <vector>

class QPainter;

namespace vorlac
{

class ValueTable;

// The grid's geometry in twips (1/1440 inch), as the table shows it.
struct TableGridMetrics {
    int columnWidthTwips = 825; // every column of the table
    int rowHeightTwips = 240;   // every row, title row included
};

// Where one copy of the table went, in device pixels (for checks and tests).
struct TablePrintLayout {
    int pages = 0;
    double columnWidth = 0;
    double rowHeight = 0;
    double left = 0;
    std::vector<int> firstRowOfPage; // table row printed first on each page
    std::vector<double> rowTops;     // top of each table row on its page
};

// The page header: "Vorlac", then "Vorlac ( 2 )", "Vorlac ( 3 )"...
QString tablePageTitle(int page);

// Shortens text from its right end, one character at a time, until `fits` accepts it.
QString fitCellText(const QString &text, const std::function<bool(const QString &)> &fits);

// Prints one copy of the table: title, then every row from the title row to the last, a new
// page (through newPage, which returns false when the device refused it) whenever the next
// row would start below nine tenths of the page. A page is only started when a row remains.
// Returns false if a page could not be started.
bool paintTablePages(QPainter &painter, const PageMetrics &page, const ValueTable &table, const TableGridMetrics &grid,
                     const std::function<bool()> &newPage, TablePrintLayout *layout = nullptr);

// Every copy of the table, each starting on a new page with its own page numbers.
bool paintTableCopies(QPainter &painter, const PageMetrics &page, const ValueTable &table, const TableGridMetrics &grid,
                      int copies, const std::function<bool()> &newPage);

} // namespace vorlac
