#pragma once

#include "common/regional.h"
#include "table/pastetext.h"

#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace vorlac
{

// The table of values: 7 columns, a title row (row 0) and 1 to 100 data lines, every cell a
// text. It is the only copy of the data; the grid widget shows it through ValueTableModel and
// every other subsystem (calculator, grapher, situations, printing, clipboard) talks to it.
//
// Notifications: every change emits exactly one signal. Single-cell writes emit
// cellsChanged(row, row); an operation over many cells (ReformatTable, sort, fill, a column
// erase) emits one cellsChanged over its line range; a change of shape (Rows, Clear, inserting or
// deleting a line) emits tableReset(). Callers that write many cells in a row wrap the writes
// in a ValueTable::Bulk so that the model sees one notification for the whole batch.
//
// Every change of the data (cells, titles, formulas, format, shape) also emits edited() with
// the change's French name, once per outermost Bulk: the undo history records steps from it,
// so a new command needs no undo code of its own, only a named Bulk when it writes many cells.
class ValueTable : public QObject
{
    Q_OBJECT
  public:
    static constexpr int kColumns = 7;
    static constexpr int kMinRows = 2;    // Rows counts the title row: at least 1 data line
    static constexpr int kMaxRows = 101;  // at most 100 data lines
    static constexpr int kStartRows = 11; // 10 data lines at start-up and after an erase
    // A title or a cell text must fit in one situation-file record: at most 126 single-byte
    // (Windows-1252) characters.
    static constexpr int kMaxTextLength = 126;

    using Line = std::array<QString, kColumns>;

    // Everything a change can alter. Copies share the texts (implicit sharing), so taking one
    // costs a reference per cell, not the texts.
    struct Snapshot {
        std::vector<Line> cells; // title row first
        std::array<QString, kColumns> expressions;
        QString format;
        int row = 1;
        int col = 0;
        bool operator==(const Snapshot &) const = default;
    };

    explicit ValueTable(QObject *parent = nullptr);

    Snapshot snapshot() const;
    // Puts the table back as a snapshot holds it (an undo): one tableReset, the active cell moved
    // without converting anything, and no edited().
    void restore(const Snapshot &snapshot);

    // Names of changes, as the undo items show them ("Annuler : saisie en C2, ligne 3").
    static QString typingLabel(int row, int col);
    static bool isTypingLabel(const QString &label);

    // Regional settings used to read and write cells; regionalLocale() unless a test sets one.
    const QLocale &locale() const { return m_locale; }
    void setLocale(const QLocale &locale) { m_locale = locale; }

    // --- Shape -----------------------------------------------------------------------------
    // Row count including the title row, 2..101.
    int Rows() const { return static_cast<int>(m_cells.size()); }
    // Appends empty lines or drops the last lines with their contents. A value outside 2..101
    // is clamped into it. Returns the row count now in force. The active cell is clamped.
    int setRows(int rows);
    static constexpr int Cols() { return kColumns; }

    // --- Cells ---------------------------------------------------------------------------------
    // Text of cell (row, col); row 0 is the title row. "" outside the table.
    QString TextMatrix(int row, int col) const;
    // Writes a cell as it stands (titles included). Ignored outside the table.
    void setTextMatrix(int row, int col, const QString &text);

    // Column titles (the title row); "C1".."C7" at start.
    QString title(int col) const { return TextMatrix(0, col); }
    void setTitle(int col, const QString &text) { setTextMatrix(0, col, text); }
    QStringList titles() const;
    // Why a title (or any text meant for a record) cannot be saved, as a French message for the
    // user; empty when it can (at most 126 characters, all in the Windows-1252 set).
    static QString textProblem(const QString &text);

    // The cell read as a single-precision number: "," and "." are both taken as the decimal
    // separator, an exponent "E" is accepted, blanks around are ignored. nullopt for an empty
    // cell or a text that is not a number, and outside the table or on the title row.
    std::optional<float> cellValue(int row, int col) const;
    // Reads a text the way cellValue reads a cell.
    std::optional<float> readValue(const QString &text) const;
    // Writes value into a data cell with TableNumberFormat (through singleText).
    void setCellValue(int row, int col, float value);
    // A data cell set to "" (nullopt) or to the value in TableNumberFormat.
    void setCellValue(int row, int col, std::optional<float> value);

    // The one way a single-precision value is written as text everywhere (cells, sort, files,
    // clipboard): the value rounded to 7 significant digits (so 123456789 -> 123456800, not the
    // float's exact 123456792), then written with the pattern (formatNumberPattern; the empty
    // pattern gives the general form). No group separator ever.
    static QString singleText(float value, const QString &pattern, const QLocale &locale = regionalLocale());

    // --- Formulas and format ---------------------------------------------------------------
    // The formula column col was last computed from; "" when never computed.
    QString ColumnExpression(int col) const;
    void setColumnExpression(int col, const QString &expression);

    // Pattern of every data cell; "########0.000" at start. Not saved with a situation.
    QString TableNumberFormat() const { return m_format; }
    void setTableNumberFormat(const QString &pattern);

    // --- Active cell -------------------------------------------------------------------------
    // Always a data cell: 1 <= Row() <= Rows() - 1, 0 <= Col() <= 6; (1, 0) at start.
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    // Moves the active cell (clamped into the data). Leaving a cell converts it (commitCell).
    void setActiveCell(int row, int col);
    // Text of the active cell.
    QString Text() const { return TextMatrix(m_row, m_col); }
    void setText(const QString &text) { setTextMatrix(m_row, m_col, text); }

    // --- Typing into the active cell (text is only ever added at the end) ----------------------
    // One typed character: digits, "-" and "E"/"e" (as "E") are appended, "." and "," append the
    // regional decimal separator, Backspace (U+0008) removes the last character; anything else
    // is ignored, as is a character that would take the text past kMaxTextLength.
    // Returns true when the text changed.
    bool typeCharacter(QChar ch);
    // The Delete key, on release: empties the active cell.
    void deleteActiveText();
    // Whether the active cell holds text that leaving it would rewrite: the pupil is typing it.
    bool activeCellTyped() const;
    // Converts the active cell: a number is rewritten with TableNumberFormat, anything else
    // becomes "". Typing appends, so typing over a number gives text that does not convert
    // ("51,0950,31"): such a cell gets its number back instead, and numberKept says so.
    void commitActiveCell() { commitCell(m_row, m_col); }

    // --- Whole-table operations --------------------------------------------------------------
    // Rewrites every data cell with TableNumberFormat ("" when it does not hold a number).
    void ReformatTable();
    // Reorders all data lines by the numeric value of column col, each line moving as a whole;
    // the sort is stable, cells without a number go after all numbers in both orders. Cells are
    // first reformatted with the plain sort pattern and afterwards with TableNumberFormat, so
    // every non-number is emptied.
    void Sort(int col, bool descending);

    // --- Column commands -----------------------------------------------------------------
    // Empties the data cells of col; its title and formula stay.
    void eraseColumn(int col);

    enum class FillResult { Filled, Invalid, TooManyLines };
    // Arithmetic sequence first, first + step, ... into column col from line 1, in single
    // precision, not past last; grows the table to hold it (never shrinks it). A quotient
    // (last - first) / step within 1e-4 of a whole number counts as that whole number, so
    // 0..0,9 step 0,3 gives its 4 values. Invalid: first == last, step 0, or step pointing away
    // from last. TooManyLines: more than 100 values. Nothing changes unless Filled.
    FillResult fillArithmetic(int col, float first, float last, float step);
    // What fillArithmetic gives for these values, without filling anything.
    static FillResult checkArithmetic(float first, float last, float step);
    // Number of values such a fill writes (0 when Invalid; may exceed 100).
    static int arithmeticCount(float first, float last, float step);

    // --- Line commands (each first converts the active cell) ---------------------------------
    bool canInsertLine() const { return Rows() < kMaxRows; }
    bool canDeleteLine() const { return Rows() >= 3; }
    // Inserts an empty line at the active row, moving it and the lines below down; the active
    // row number then designates the new empty line. False (nothing done) at 101 rows.
    bool insertLineAtActive();
    // Appends an empty line. False at 101 rows.
    bool appendLine();
    // Deletes the active line, moving the lines below up. False with a single data line.
    bool deleteActiveLine();
    // "Effacer le tableau": empty cells, 11 rows, titles C1..C7, no formulas; format kept.
    void eraseTable();

    // --- Paste ----------------------------------------------------------------------------------
    // Pastes text copied from a spreadsheet or from the table (splitPastedText) from the active
    // cell: numbers are written with TableNumberFormat as typing would write them, empty cells
    // are emptied, texts that are not numbers are left out; a first line of texts gives the
    // column titles (planPaste); the table grows as needed up to 100 lines and what falls past C7
    // or line 100 is dropped. One change: one notification.
    PasteReport paste(const QString &text);

    // Groups writes: while at least one Bulk is alive, notifications are collected and the
    // outermost one's end emits a single cellsChanged (or tableReset if the shape changed), then
    // one edited() named by the first Bulk given a label.
    class Bulk
    {
      public:
        explicit Bulk(ValueTable &table, const QString &label = {});
        ~Bulk();
        Bulk(const Bulk &) = delete;
        Bulk &operator=(const Bulk &) = delete;

      private:
        ValueTable &m_table;
    };

  signals:
    // Data cells of lines firstRow..lastRow (all columns) changed; row 0 means the titles.
    void cellsChanged(int firstRow, int lastRow);
    // The shape or all of the contents changed: views reread everything.
    void tableReset();
    // The active cell moved (after clamping or an explicit move).
    void activeCellChanged(int row, int col);
    // TableNumberFormat changed (the cells are rewritten separately, by ReformatTable).
    void numberFormatChanged();
    // After every change of the data, with its French name ("tri de C2").
    void edited(const QString &label);
    // Leaving a cell gave it back the number it held before typing, in place of typed text
    // that is not a number; message says so in French.
    void numberKept(const QString &message);

  private:
    // The decimal value a single stands for: rounded to 7 significant digits.
    static double singleDecimal(float value);
    void commitCell(int row, int col);
    // Empties every cell, title row included (Rows, formulas and the format are kept).
    void Clear();
    bool inTable(int row, int col) const { return row >= 0 && row < Rows() && col >= 0 && col < kColumns; }
    void noteChanged(int firstRow, int lastRow);
    void noteReset();
    // Names the change in progress; the Bulk's end reports it.
    void noteEdit(const QString &label);
    void flush();
    void clampActive();
    void writeFormatted(int row, int col, const QString &pattern);

    std::vector<Line> m_cells;
    std::array<QString, kColumns> m_expressions;
    QString m_format;
    QLocale m_locale;
    int m_row = 1;
    int m_col = 0;
    // The cell being typed into, the number it held before the first key and the text typed.
    int m_typedRow = 0;
    int m_typedCol = -1;
    QString m_numberBeforeTyping;
    QString m_typedText;

    int m_bulkDepth = 0;
    bool m_pendingReset = false;
    int m_pendingFirst = -1;
    int m_pendingLast = -1;
    bool m_edited = false;
    QString m_bulkLabel; // set by the outermost labelled Bulk
    QString m_editLabel; // the last change's own name
};

} // namespace vorlac
