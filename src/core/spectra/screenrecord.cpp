#include "spectra/screenrecord.h"

#include "table/measurerecord.h"
#include "table/valuetable.h"

#include <array>

namespace vorlac
{

QString screenQuantityTitle(ScreenQuantity q)
{
    switch (q) {
    case ScreenQuantity::Position:
        return QStringLiteral("x (mm)");
    case ScreenQuantity::Wavelength:
        return quantityTitle(Quantity::Wavelength); // "lambda (nm)": the file's code page has no λ
    case ScreenQuantity::Rank:
        return QStringLiteral("rang");
    }
    return {};
}

std::optional<ScreenQuantity> screenTitleQuantity(const QString &title)
{
    QString t = title.simplified();
    if (t.endsWith(u')')) {
        const qsizetype open = t.lastIndexOf(u'(');
        if (open > 0)
            t = t.left(open).trimmed();
    }
    if (t == QStringLiteral("x") || t.compare(QStringLiteral("position"), Qt::CaseInsensitive) == 0)
        return ScreenQuantity::Position;
    if (t.compare(QStringLiteral("rang"), Qt::CaseInsensitive) == 0 || t == QStringLiteral("n°"))
        return ScreenQuantity::Rank;
    if (titleQuantity(t, -1) == Quantity::Wavelength)
        return ScreenQuantity::Wavelength;
    return std::nullopt;
}

namespace
{

// The column titled for q that is not taken, else the first untitled one; -1 when none.
int columnFor(const QStringList &titles, ScreenQuantity q, int taken)
{
    int untitled = -1;
    for (int c = 0; c < ValueTable::kColumns; ++c) {
        if (c == taken)
            continue;
        const QString title = titles.value(c);
        if (screenTitleQuantity(title) == q)
            return c;
        if (untitled < 0 && titleQuantity(title, c) == Quantity::None)
            untitled = c;
    }
    return untitled;
}

} // namespace

ScreenRecordOutcome recordScreenLine(ValueTable &table, const ObservedLine &line)
{
    ScreenRecordOutcome out;
    const QStringList titles = table.titles();
    const ScreenQuantity valueQuantity = line.wavelength ? ScreenQuantity::Wavelength : ScreenQuantity::Rank;
    out.positionColumn = columnFor(titles, ScreenQuantity::Position, -1);
    out.valueColumn = out.positionColumn < 0 ? -1 : columnFor(titles, valueQuantity, out.positionColumn);
    if (out.valueColumn < 0) {
        out.status = ScreenRecordOutcome::NoColumn;
        return out;
    }
    int row = 1;
    while (row < table.Rows() &&
           (!table.TextMatrix(row, out.positionColumn).isEmpty() || !table.TextMatrix(row, out.valueColumn).isEmpty()))
        ++row;
    if (row >= ValueTable::kMaxRows) {
        out.status = ScreenRecordOutcome::TableFull;
        return out;
    }

    const ValueTable::Bulk bulk(table, QStringLiteral("relevé sur l'écran"));
    if (row >= table.Rows())
        table.setRows(row + 1);
    const std::array<std::pair<int, ScreenQuantity>, 2> columns{
        {{out.positionColumn, ScreenQuantity::Position}, {out.valueColumn, valueQuantity}}};
    for (const auto &[c, q] : columns)
        if (titleQuantity(titles.value(c), c) == Quantity::None)
            table.setTitle(c, screenQuantityTitle(q));
    table.setCellValue(row, out.positionColumn, static_cast<float>(line.positionMm));
    table.setCellValue(row, out.valueColumn,
                       static_cast<float>(line.wavelength ? *line.wavelength : static_cast<double>(line.rank)));
    out.status = ScreenRecordOutcome::Recorded;
    out.line = row;
    return out;
}

QString screenRecordMessage(const ScreenRecordOutcome &outcome, const ObservedLine &line, const ValueTable &table)
{
    QString what = line.dark ? QStringLiteral("raie sombre") : QStringLiteral("raie brillante");
    if (!line.label.isEmpty())
        what += QLatin1Char(' ') + line.label;
    switch (outcome.status) {
    case ScreenRecordOutcome::Recorded: {
        const QString x = table.TextMatrix(outcome.line, outcome.positionColumn);
        const QString value = table.TextMatrix(outcome.line, outcome.valueColumn);
        const QString named = line.wavelength ? QStringLiteral("λ = %1 nm").arg(value)
                                              : QStringLiteral("rang %1 (longueur d'onde cachée)").arg(value);
        return QStringLiteral("Relevé sur l'écran, ligne %1 du tableau : %2 à x = %3 mm ; %4")
            .arg(outcome.line)
            .arg(what, x, named);
    }
    case ScreenRecordOutcome::NoLine:
        return QStringLiteral("Aucune raie sur l'écran : rien n'a été écrit (F9 relève la raie la plus proche du "
                              "curseur du spectre observé)");
    case ScreenRecordOutcome::TableFull:
        return QStringLiteral("Le tableau est plein (100 lignes) : la raie n'a pas été relevée");
    case ScreenRecordOutcome::NoColumn:
        return QStringLiteral("Aucune colonne libre pour x et %1 : les colonnes portent d'autres titres, rien n'a été "
                              "écrit")
            .arg(line.wavelength ? QStringLiteral("λ") : QStringLiteral("le rang"));
    }
    return {};
}

} // namespace vorlac
