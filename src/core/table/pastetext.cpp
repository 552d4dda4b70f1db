#include "table/pastetext.h"

#include "table/valuetable.h"

#include <algorithm>

namespace vorlac
{

std::vector<QStringList> splitPastedText(const QString &text)
{
    std::vector<QStringList> lines;
    QStringList line;
    QString cell;
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool cellStarted = false; // something of the current line has been read
    const auto endCell = [&] {
        line << cell;
        cell.clear();
    };
    const auto endLine = [&] {
        endCell();
        lines.push_back(line);
        line.clear();
        cellStarted = false;
    };
    while (i < n) {
        const QChar c = text[i];
        if (c == u'"' && cell.isEmpty()) {
            // A quoted cell: up to the closing quote; what follows it up to the next TAB or line
            // break is kept as it is.
            ++i;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        cell += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i++];
            }
            cellStarted = true;
            continue;
        }
        if (c == u'\t') {
            endCell();
            cellStarted = true;
            ++i;
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            endLine();
            continue;
        }
        cell += c;
        cellStarted = true;
        ++i;
    }
    if (cellStarted || !cell.isEmpty())
        endLine();
    return lines;
}

std::optional<float> readPastedNumber(const QString &cell, const QLocale &locale)
{
    QString s = cell.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    if (const auto v = readCellSingle(s, locale))
        return v;
    // Digit-grouping spaces only: between digits.
    QString joined;
    joined.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        const bool blank = c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
        if (blank && i > 0 && i + 1 < s.size() && s[i - 1].isDigit() && s[i + 1].isDigit())
            continue;
        joined += c;
    }
    if (joined.size() == s.size())
        return std::nullopt;
    return readCellSingle(joined, locale);
}

namespace
{

// A first line made of texts only: the titles of its columns.
bool isTitleLine(const QStringList &cells, const QLocale &locale)
{
    bool any = false;
    for (const QString &cell : cells) {
        if (cell.trimmed().isEmpty())
            continue;
        if (readPastedNumber(cell, locale))
            return false;
        any = true;
    }
    return any;
}

} // namespace

QString patternShownAs(const QString &pattern, const QLocale &locale)
{
    QString shown = pattern;
    shown.remove(u'#');
    return shown.replace(u'.', regionalDecimalSeparator(locale));
}

PastePlan planPaste(const QString &text, int row, int col, const QString &format, const QLocale &locale)
{
    PastePlan plan;
    PasteReport &r = plan.report;
    r.format = patternShownAs(format, locale);
    const int lastDataRow = ValueTable::kMaxRows - 1;
    row = std::clamp(row, 1, lastDataRow);
    col = std::clamp(col, 0, ValueTable::kColumns - 1);
    const std::vector<QStringList> lines = splitPastedText(text);
    std::vector<bool> columnDropped;
    const auto dropColumn = [&](int c) {
        ++r.droppedCells;
        const auto k = static_cast<std::size_t>(c - ValueTable::kColumns);
        if (columnDropped.size() <= k)
            columnDropped.resize(k + 1, false);
        columnDropped[k] = true;
    };
    const bool titled = !lines.empty() && isTitleLine(lines.front(), locale);
    if (titled) {
        const QStringList &cells = lines.front();
        for (qsizetype j = 0; j < cells.size(); ++j) {
            const int c = col + static_cast<int>(j);
            const QString title = cells[j].simplified();
            if (title.isEmpty())
                continue;
            if (c >= ValueTable::kColumns) {
                dropColumn(c);
            } else if (!ValueTable::textProblem(title).isEmpty()) {
                ++r.refusedTitles;
            } else {
                plan.writes.push_back({0, c, title});
                r.firstTitle = r.firstTitle < 0 ? c : r.firstTitle;
                r.lastTitle = c;
            }
        }
    }
    const std::size_t firstData = titled ? 1 : 0;
    for (std::size_t i = firstData; i < lines.size(); ++i) {
        const int target = row + static_cast<int>(i - firstData);
        const QStringList &cells = lines[i];
        bool lineDropped = false;
        for (qsizetype j = 0; j < cells.size(); ++j) {
            const int c = col + static_cast<int>(j);
            const QString &cell = cells[j];
            const bool empty = cell.trimmed().isEmpty();
            if (target > lastDataRow || c >= ValueTable::kColumns) {
                if (!empty) {
                    lineDropped = lineDropped || target > lastDataRow;
                    if (c >= ValueTable::kColumns)
                        dropColumn(c);
                    else
                        ++r.droppedCells;
                }
                continue;
            }
            QString written;
            if (!empty) {
                const std::optional<float> v = readPastedNumber(cell, locale);
                if (!v) {
                    ++r.texts;
                    continue;
                }
                written = ValueTable::singleText(*v, format, locale);
                // Rounded when the cell reads back other than the value's own seven digits.
                const QString whole = ValueTable::singleText(*v, QString(), locale);
                if (readCellSingle(written, locale) != readCellSingle(whole, locale))
                    ++r.rounded;
            }
            plan.writes.push_back({target, c, written});
            ++r.written;
            r.firstRow = r.firstRow == 0 ? target : std::min(r.firstRow, target);
            r.lastRow = std::max(r.lastRow, target);
            plan.rowsNeeded = std::max(plan.rowsNeeded, target + 1);
        }
        r.droppedLines += lineDropped;
    }
    r.droppedColumns = static_cast<int>(std::count(columnDropped.begin(), columnDropped.end(), true));
    return plan;
}

QString pasteMessage(const PasteReport &r)
{
    QStringList parts;
    const auto plural = [](int n, const QString &one, const QString &many) {
        return QString::number(n) + u' ' + (n > 1 ? many : one);
    };
    if (r.droppedCells > 0) {
        QStringList where;
        if (r.droppedLines > 0)
            where << plural(r.droppedLines, QStringLiteral("ligne au-delà de la 100e"),
                            QStringLiteral("lignes au-delà de la 100e"));
        if (r.droppedColumns > 0)
            where << plural(r.droppedColumns, QStringLiteral("colonne au-delà de C7"),
                            QStringLiteral("colonnes au-delà de C7"));
        const QString lost = r.droppedCells > 1
                                 ? QStringLiteral("%1 cellules n'ont pas été collées").arg(r.droppedCells)
                                 : QStringLiteral("1 cellule n'a pas été collée");
        parts << QStringLiteral("Le tableau n'a que 7 colonnes et 100 lignes : %1 (%2).")
                     .arg(lost, where.join(QStringLiteral(" et ")));
    }
    if (r.texts > 0)
        parts << (r.texts > 1 ? QStringLiteral("%1 textes qui ne sont pas des nombres ont été laissés de côté.")
                              : QStringLiteral("%1 texte qui n'est pas un nombre a été laissé de côté."))
                     .arg(r.texts);
    if (r.rounded > 0)
        parts << (r.rounded > 1 ? QStringLiteral("%1 valeurs ont été arrondies au format %2 du tableau.")
                                : QStringLiteral("%1 valeur a été arrondie au format %2 du tableau."))
                     .arg(r.rounded)
                     .arg(r.format);
    if (r.firstTitle >= 0)
        parts << (r.firstTitle == r.lastTitle
                      ? QStringLiteral("La première ligne a donné le titre de C%1.").arg(r.firstTitle + 1)
                      : QStringLiteral("La première ligne a donné les titres de C%1 à C%2.")
                            .arg(r.firstTitle + 1)
                            .arg(r.lastTitle + 1));
    if (r.refusedTitles > 0)
        parts << (r.refusedTitles > 1
                      ? QStringLiteral("%1 titres n'ont pas été repris : plus de %2 caractères ou un caractère qui "
                                       "ne peut pas être enregistré.")
                      : QStringLiteral("%1 titre n'a pas été repris : plus de %2 caractères ou un caractère qui ne "
                                       "peut pas être enregistré."))
                     .arg(r.refusedTitles)
                     .arg(ValueTable::kMaxTextLength);
    return parts.join(u'\n');
}

} // namespace vorlac
