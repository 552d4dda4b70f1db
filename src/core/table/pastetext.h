#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vorlac
{

// Text from a spreadsheet or from the table's own copy, cut into lines of cells: TAB between
// cells, LF, CR LF or CR between lines. A cell that starts with a double quote runs to its closing
// quote ("" inside stands for one quote), TABs and line breaks included, as spreadsheets write
// cells holding them. The line break ending the text gives no empty last line.
std::vector<QStringList> splitPastedText(const QString &text);

// A pasted cell read as typing and leaving a cell read it: "," or "." as the decimal separator,
// an exponent "E"; blanks around and spaces grouping the digits (" ", no-break and narrow
// no-break spaces, as French spreadsheets write 1 234,5) are ignored. nullopt for anything else.
std::optional<float> readPastedNumber(const QString &cell, const QLocale &locale);

// What a paste did, for the message that follows it.
struct PasteReport {
    int written = 0;        // cells written (numbers and emptied cells)
    int texts = 0;          // cells left out because they are not numbers
    int rounded = 0;        // numbers the table's format shows with fewer digits than they had
    int refusedTitles = 0;  // titles left out: too long, or a character a situation cannot hold
    int droppedLines = 0;   // lines beyond the 100th line of the table that held something
    int droppedColumns = 0; // columns beyond C7 that held something
    int droppedCells = 0;   // cells with something in them among those
    int firstRow = 0;       // the lines written, 0 when none
    int lastRow = 0;
    int firstTitle = -1; // the columns whose title the first line gave, -1 when none
    int lastTitle = -1;
    QString format; // the table's format as the pupil reads it ("0,000")
};

// One cell write of a paste: row and column in the table, the text the cell gets ("" or a
// number in the table's format; row 0: a column title).
struct PasteWrite {
    int row;
    int col;
    QString text;
};

struct PastePlan {
    int rowsNeeded = 0; // row count (title row included) the table must have, at most 101
    std::vector<PasteWrite> writes;
    PasteReport report;
};

// The writes that pasting `text` at data cell (row, col) makes, in a table of 7 columns that can
// grow to 100 data lines, numbers written with `format` (ValueTable::singleText). A first line
// that holds texts and no number gives the titles of its columns (within ValueTable::textProblem;
// an empty cell keeps its title), and the lines after it start at `row`.
PastePlan planPaste(const QString &text, int row, int col, const QString &format, const QLocale &locale);

// A number pattern as the pupil reads it: "########0.000" is "0,000" under French settings.
QString patternShownAs(const QString &pattern, const QLocale &locale);

// The one French message after a paste: what was left out, rounded or taken as titles ("" when
// every value went in as it was).
QString pasteMessage(const PasteReport &report);

} // namespace vorlac
