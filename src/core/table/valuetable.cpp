#include "table/valuetable.h"

#include "common/codepage1252.h"
#include "common/numberpattern.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vorlac
{

namespace
{

QString defaultTitle(int col)
{
    return QStringLiteral("C") + QString::number(col + 1);
}

const QString kTypingPrefix = QStringLiteral("saisie en ");

QString cellName(int row, int col)
{
    return defaultTitle(col) + QStringLiteral(", ligne ") + QString::number(row);
}

} // namespace

ValueTable::ValueTable(QObject *parent)
    : QObject(parent), m_cells(kStartRows), m_format(kPatternFixed3), m_locale(regionalLocale())
{
    for (int c = 0; c < kColumns; ++c)
        m_cells[0][c] = defaultTitle(c);
}

// --- Notifications ---------------------------------------------------------------------------

ValueTable::Bulk::Bulk(ValueTable &table, const QString &label) : m_table(table)
{
    if (m_table.m_bulkLabel.isEmpty())
        m_table.m_bulkLabel = label;
    ++m_table.m_bulkDepth;
}

ValueTable::Bulk::~Bulk()
{
    if (--m_table.m_bulkDepth == 0)
        m_table.flush();
}

void ValueTable::noteEdit(const QString &label)
{
    m_edited = true;
    m_editLabel = label;
    if (m_bulkDepth == 0)
        flush();
}

void ValueTable::noteChanged(int firstRow, int lastRow)
{
    m_edited = true;
    if (m_pendingFirst < 0) {
        m_pendingFirst = firstRow;
        m_pendingLast = lastRow;
    } else {
        m_pendingFirst = std::min(m_pendingFirst, firstRow);
        m_pendingLast = std::max(m_pendingLast, lastRow);
    }
    if (m_bulkDepth == 0)
        flush();
}

void ValueTable::noteReset()
{
    m_edited = true;
    m_pendingReset = true;
    if (m_bulkDepth == 0)
        flush();
}

void ValueTable::flush()
{
    const bool reset = m_pendingReset;
    const int first = m_pendingFirst;
    const int last = std::min(m_pendingLast, Rows() - 1);
    const bool wasEdited = m_edited;
    const QString label = m_bulkLabel.isEmpty() ? m_editLabel : m_bulkLabel;
    m_pendingReset = false;
    m_pendingFirst = m_pendingLast = -1;
    m_edited = false;
    m_bulkLabel.clear();
    m_editLabel.clear();
    if (reset)
        emit tableReset();
    else if (first >= 0 && first <= last)
        emit cellsChanged(first, last);
    if (wasEdited)
        emit edited(label);
}

// --- Snapshots ---------------------------------------------------------------------------------

ValueTable::Snapshot ValueTable::snapshot() const
{
    return {m_cells, m_expressions, m_format, m_row, m_col};
}

void ValueTable::restore(const Snapshot &snapshot)
{
    if (snapshot.cells.size() < std::size_t(kMinRows) || snapshot.cells.size() > std::size_t(kMaxRows))
        return;
    m_cells = snapshot.cells;
    m_expressions = snapshot.expressions;
    m_format = snapshot.format;
    const int row = std::clamp(snapshot.row, 1, Rows() - 1);
    const int col = std::clamp(snapshot.col, 0, kColumns - 1);
    const bool moved = row != m_row || col != m_col;
    m_row = row;
    m_col = col;
    m_pendingReset = false;
    m_pendingFirst = m_pendingLast = -1;
    emit tableReset();
    if (moved)
        emit activeCellChanged(m_row, m_col);
}

QString ValueTable::typingLabel(int row, int col)
{
    return kTypingPrefix + cellName(row, col);
}

bool ValueTable::isTypingLabel(const QString &label)
{
    return label.startsWith(kTypingPrefix);
}

// --- Shape -------------------------------------------------------------------------------------

int ValueTable::setRows(int rows)
{
    rows = std::clamp(rows, kMinRows, kMaxRows);
    if (rows != Rows()) {
        {
            Bulk bulk(*this, QStringLiteral("nombre de lignes"));
            m_cells.resize(static_cast<std::size_t>(rows));
            noteReset();
        }
        clampActive();
    }
    return Rows();
}

void ValueTable::clampActive()
{
    const int row = std::clamp(m_row, 1, Rows() - 1);
    const int col = std::clamp(m_col, 0, kColumns - 1);
    if (row != m_row || col != m_col) {
        m_row = row;
        m_col = col;
        emit activeCellChanged(m_row, m_col);
    }
}

// --- Cells -------------------------------------------------------------------------------------

QString ValueTable::TextMatrix(int row, int col) const
{
    return inTable(row, col) ? m_cells[static_cast<std::size_t>(row)][col] : QString();
}

void ValueTable::setTextMatrix(int row, int col, const QString &text)
{
    if (!inTable(row, col))
        return;
    QString &cell = m_cells[static_cast<std::size_t>(row)][col];
    if (cell == text)
        return;
    Bulk bulk(*this, row == 0 ? QStringLiteral("titre de ") + defaultTitle(col) : typingLabel(row, col));
    cell = text;
    noteChanged(row, row);
}

QStringList ValueTable::titles() const
{
    QStringList list;
    for (int c = 0; c < kColumns; ++c)
        list << m_cells[0][c];
    return list;
}

QString ValueTable::textProblem(const QString &text)
{
    if (text.size() > kMaxTextLength)
        return QStringLiteral("Le texte ne peut dépasser %1 caractères.").arg(kMaxTextLength);
    bool ok = true;
    toCp1252(text, &ok);
    if (!ok)
        return QStringLiteral("Le texte contient un caractère qui ne peut pas être enregistré.");
    return {};
}

std::optional<float> ValueTable::readValue(const QString &text) const
{
    return readCellSingle(text, m_locale);
}

std::optional<float> ValueTable::cellValue(int row, int col) const
{
    if (row < 1 || !inTable(row, col))
        return std::nullopt;
    return readValue(m_cells[static_cast<std::size_t>(row)][col]);
}

void ValueTable::setCellValue(int row, int col, float value)
{
    if (row < 1)
        return;
    setTextMatrix(row, col, singleText(value, m_format, m_locale));
}

void ValueTable::setCellValue(int row, int col, std::optional<float> value)
{
    if (value)
        setCellValue(row, col, *value);
    else if (row >= 1)
        setTextMatrix(row, col, QString());
}

double ValueTable::singleDecimal(float value)
{
    if (!std::isfinite(value) || value == 0.0f)
        return value;
    // Through the seven-digit text so that 0.1f reads 0.1, not 0.100000001490116; both
    // directions ignore the C library's locale (a French one would stop strtod at the point).
    char buf[40];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 6);
    double result = value;
    std::from_chars(buf, written.ptr, result, std::chars_format::scientific);
    return result;
}

QString ValueTable::singleText(float value, const QString &pattern, const QLocale &locale)
{
    if (pattern.isEmpty())
        return generalSingleText(value, locale);
    return formatNumberPattern(singleDecimal(value), pattern, locale);
}

// --- Formulas ----------------------------------------------------------------------------------

QString ValueTable::ColumnExpression(int col) const
{
    return col >= 0 && col < kColumns ? m_expressions[col] : QString();
}

void ValueTable::setColumnExpression(int col, const QString &expression)
{
    if (col < 0 || col >= kColumns || m_expressions[col] == expression)
        return;
    m_expressions[col] = expression;
    noteEdit(QStringLiteral("formule de ") + defaultTitle(col));
}

void ValueTable::setTableNumberFormat(const QString &pattern)
{
    if (pattern == m_format)
        return;
    m_format = pattern;
    emit numberFormatChanged();
    noteEdit(QStringLiteral("format des nombres"));
}

// --- Active cell and typing --------------------------------------------------------------------

void ValueTable::setActiveCell(int row, int col)
{
    row = std::clamp(row, 1, Rows() - 1);
    col = std::clamp(col, 0, kColumns - 1);
    if (row == m_row && col == m_col)
        return;
    commitActiveCell();
    m_row = row;
    m_col = col;
    emit activeCellChanged(m_row, m_col);
}

bool ValueTable::typeCharacter(QChar ch)
{
    QString text = Text();
    if (ch == QChar(8)) {
        if (text.isEmpty())
            return false;
        text.chop(1);
    } else {
        QChar add;
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            add = ch;
        else if (ch == QLatin1Char('.') || ch == QLatin1Char(','))
            add = regionalDecimalSeparator(m_locale);
        else if (ch == QLatin1Char('-'))
            add = ch;
        else if (ch == QLatin1Char('e') || ch == QLatin1Char('E'))
            add = QLatin1Char('E');
        if (add.isNull() || text.size() >= kMaxTextLength)
            return false;
        text += add;
    }
    if (m_typedRow != m_row || m_typedCol != m_col) {
        m_typedRow = m_row;
        m_typedCol = m_col;
        m_numberBeforeTyping = readValue(Text()) ? Text() : QString();
    }
    setText(text);
    m_typedText = text;
    return true;
}

void ValueTable::deleteActiveText()
{
    m_typedCol = -1; // emptied on purpose: nothing to give back
    Bulk bulk(*this, QStringLiteral("effacement de ") + cellName(m_row, m_col));
    setText(QString());
}

void ValueTable::writeFormatted(int row, int col, const QString &pattern)
{
    QString &cell = m_cells[static_cast<std::size_t>(row)][col];
    if (cell.isEmpty())
        return;
    const std::optional<float> v = readValue(cell);
    QString text = v ? singleText(*v, pattern, m_locale) : QString();
    // An unchanged text keeps its storage, which the undo history shares.
    if (text != cell)
        cell = std::move(text);
}

bool ValueTable::activeCellTyped() const
{
    const QString text = Text();
    if (text.isEmpty())
        return false;
    const std::optional<float> v = readValue(text);
    return !v || singleText(*v, m_format, m_locale) != text;
}

void ValueTable::commitCell(int row, int col)
{
    if (row < 1 || !inTable(row, col))
        return;
    QString &cell = m_cells[static_cast<std::size_t>(row)][col];
    const QString before = cell;
    const bool typedHere = row == m_typedRow && col == m_typedCol && cell == m_typedText;
    m_typedCol = -1;
    Bulk bulk(*this, typingLabel(row, col));
    QString kept;
    if (typedHere && !cell.isEmpty() && !readValue(cell) && !m_numberBeforeTyping.isEmpty()) {
        cell = m_numberBeforeTyping;
        kept = before;
    }
    writeFormatted(row, col, m_format);
    if (!kept.isEmpty())
        emit numberKept(QStringLiteral("« %1 » n'est pas un nombre : %2 garde sa valeur %3. Effacer la cellule "
                                       "(touche Suppr) avant de taper une autre valeur.")
                            .arg(kept, cellName(row, col), cell));
    if (m_cells[static_cast<std::size_t>(row)][col] != before)
        noteChanged(row, row);
}

// --- Whole table -------------------------------------------------------------------------------

void ValueTable::Clear()
{
    for (Line &line : m_cells)
        line.fill(QString());
    noteReset();
}

void ValueTable::ReformatTable()
{
    Bulk bulk(*this, QStringLiteral("format des nombres"));
    for (int c = 0; c < kColumns; ++c)
        for (int r = 1; r < Rows(); ++r)
            writeFormatted(r, c, m_format);
    noteChanged(1, Rows() - 1);
}

void ValueTable::Sort(int col, bool descending)
{
    if (col < 0 || col >= kColumns)
        return;
    Bulk bulk(*this, QStringLiteral("tri de ") + defaultTitle(col));
    commitActiveCell();
    const std::vector<Line> original = m_cells;
    const QString kept = m_format;
    m_format = kPatternSort;
    ReformatTable();

    struct Keyed {
        std::optional<float> key;
        Line line;
        std::size_t from;
    };
    std::vector<Keyed> lines;
    lines.reserve(m_cells.size() - 1);
    for (std::size_t r = 1; r < m_cells.size(); ++r)
        lines.push_back({cellValue(static_cast<int>(r), col), std::move(m_cells[r]), r});
    // Empty cells after every number, in both orders.
    const auto ascending = [](const Keyed &a, const Keyed &b) {
        if (!a.key || !b.key)
            return a.key.has_value() && !b.key.has_value();
        return *a.key < *b.key;
    };
    const auto descendingOrder = [](const Keyed &a, const Keyed &b) {
        if (!a.key || !b.key)
            return a.key.has_value() && !b.key.has_value();
        return *a.key > *b.key;
    };
    if (descending)
        std::stable_sort(lines.begin(), lines.end(), descendingOrder);
    else
        std::stable_sort(lines.begin(), lines.end(), ascending);
    for (std::size_t r = 1; r < m_cells.size(); ++r)
        m_cells[r] = std::move(lines[r - 1].line);

    m_format = kept;
    ReformatTable();
    // Texts the round trip through the sort pattern gave back unchanged keep their storage.
    for (std::size_t r = 1; r < m_cells.size(); ++r) {
        const Line &was = original[lines[r - 1].from];
        for (int c = 0; c < kColumns; ++c)
            if (m_cells[r][c] == was[c])
                m_cells[r][c] = was[c];
    }
}

// --- Column commands ---------------------------------------------------------------------------

void ValueTable::eraseColumn(int col)
{
    if (col < 0 || col >= kColumns)
        return;
    Bulk bulk(*this, QStringLiteral("effacement de ") + defaultTitle(col));
    for (std::size_t r = 1; r < m_cells.size(); ++r)
        m_cells[r][col].clear();
    noteChanged(1, Rows() - 1);
}

int ValueTable::arithmeticCount(float first, float last, float step)
{
    if (first == last || step == 0.0f || (last > first && step < 0) || (last < first && step > 0))
        return 0;
    float quotient = (last - first) / step;
    if (!std::isfinite(quotient))
        return 0;
    const float whole = std::round(quotient);
    if (std::fabs(quotient - whole) < 1e-4f)
        quotient = whole;
    if (quotient > 1e6f)
        return 1000000;
    return static_cast<int>(std::floor(quotient)) + 1;
}

ValueTable::FillResult ValueTable::checkArithmetic(float first, float last, float step)
{
    const int count = arithmeticCount(first, last, step);
    if (count == 0)
        return FillResult::Invalid;
    if (count > kMaxRows - 1)
        return FillResult::TooManyLines;
    return FillResult::Filled;
}

ValueTable::FillResult ValueTable::fillArithmetic(int col, float first, float last, float step)
{
    if (col < 0 || col >= kColumns)
        return FillResult::Invalid;
    if (const FillResult check = checkArithmetic(first, last, step); check != FillResult::Filled)
        return check;
    const int count = arithmeticCount(first, last, step);
    Bulk bulk(*this, QStringLiteral("suite arithmétique dans ") + defaultTitle(col));
    commitActiveCell();
    if (Rows() <= count)
        setRows(count + 1);
    for (int i = 1; i <= count; ++i) {
        const float v = first + static_cast<float>(i - 1) * step;
        m_cells[static_cast<std::size_t>(i)][col] = singleText(v, m_format, m_locale);
    }
    noteChanged(1, count);
    return FillResult::Filled;
}

// --- Paste -------------------------------------------------------------------------------------

PasteReport ValueTable::paste(const QString &text)
{
    Bulk bulk(*this, QStringLiteral("collage"));
    commitActiveCell();
    const PastePlan plan = planPaste(text, m_row, m_col, m_format, m_locale);
    if (plan.rowsNeeded > Rows())
        setRows(plan.rowsNeeded);
    for (const PasteWrite &w : plan.writes)
        m_cells[static_cast<std::size_t>(w.row)][w.col] = w.text;
    if (!plan.writes.empty()) {
        const PasteReport &r = plan.report;
        noteChanged(r.firstTitle >= 0 ? 0 : r.firstRow, std::max(r.lastRow, 0));
    }
    return plan.report;
}

// --- Line commands -----------------------------------------------------------------------------

bool ValueTable::insertLineAtActive()
{
    if (!canInsertLine())
        return false;
    Bulk bulk(*this, QStringLiteral("insertion d'une ligne"));
    commitActiveCell();
    m_cells.insert(m_cells.begin() + m_row, Line{});
    noteReset();
    return true;
}

bool ValueTable::appendLine()
{
    if (!canInsertLine())
        return false;
    Bulk bulk(*this, QStringLiteral("ajout d'une ligne"));
    commitActiveCell();
    setRows(Rows() + 1);
    return true;
}

bool ValueTable::deleteActiveLine()
{
    if (!canDeleteLine())
        return false;
    Bulk bulk(*this, QStringLiteral("suppression de la ligne ") + QString::number(m_row));
    m_cells.erase(m_cells.begin() + m_row);
    noteReset();
    clampActive();
    return true;
}

void ValueTable::eraseTable()
{
    Bulk bulk(*this, QStringLiteral("effacement du tableau"));
    Clear();
    setRows(kStartRows);
    for (int c = 0; c < kColumns; ++c)
        m_cells[0][c] = defaultTitle(c);
    m_expressions.fill(QString());
    noteReset();
    clampActive();
}

} // namespace vorlac
