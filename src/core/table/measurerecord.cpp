#include "table/measurerecord.h"

#include "analysis/measuretexts.h"
#include "table/valuetable.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vorlac
{

QString quantityName(Quantity q)
{
    switch (q) {
    case Quantity::None:
        return QStringLiteral("(aucune)");
    case Quantity::Wavelength:
        return QStringLiteral("λ : longueur d'onde (nm)");
    case Quantity::Incidence:
        return QStringLiteral("i : angle d'incidence (°)");
    case Quantity::Refraction:
        return QStringLiteral("r : angle de réfraction (°)");
    case Quantity::ExitIncidence:
        return QStringLiteral("r' : incidence sur la face de sortie (°)");
    case Quantity::Emergence:
        return QStringLiteral("i' : angle d'émergence (°)");
    case Quantity::Deviation:
        return QStringLiteral("D : déviation (°)");
    case Quantity::PrismIndex:
        return QStringLiteral("n : indice du vorlac");
    case Quantity::OutsideIndex:
        return QStringLiteral("n ext. : indice du milieu extérieur");
    case Quantity::Apex:
        return QStringLiteral("A : angle au sommet du vorlac (°)");
    case Quantity::CriticalAngle:
        return QStringLiteral("ℓ : angle limite de réfraction (°)");
    case Quantity::LimitIncidence:
        return QStringLiteral("i lim. : incidence limite d'émergence (°)");
    }
    return {};
}

QString quantitySymbol(Quantity q)
{
    static const char *const symbols[] = {"", "λ", "i", "r", "r'", "i'", "D", "n", "n ext.", "A", "ℓ", "i lim."};
    return QString::fromUtf8(symbols[static_cast<int>(q)]);
}

QString quantityTitle(Quantity q)
{
    // The symbol and its unit, where the code page has the symbol.
    switch (q) {
    case Quantity::None:
        return {};
    case Quantity::Wavelength:
        return QStringLiteral("lambda (nm)");
    case Quantity::PrismIndex:
    case Quantity::OutsideIndex:
        return quantitySymbol(q);
    case Quantity::CriticalAngle:
        return QStringLiteral("angle lim. (°)");
    default:
        return quantitySymbol(q) + QStringLiteral(" (°)");
    }
}

namespace
{

// The ways a title names a quantity, unit aside. Longer ones are words and match in any case;
// the one- and two-letter symbols match exactly ("D" is not "d").
struct Alias {
    Quantity quantity;
    const char *text;
};
const Alias kAliases[] = {
    {Quantity::Wavelength, "λ"},
    {Quantity::Wavelength, "lambda"},
    {Quantity::Wavelength, "longueur d'onde"},
    {Quantity::Incidence, "i"},
    {Quantity::Incidence, "incidence"},
    {Quantity::Refraction, "r"},
    {Quantity::Refraction, "réfraction"},
    {Quantity::ExitIncidence, "r'"},
    {Quantity::Emergence, "i'"},
    {Quantity::Emergence, "émergence"},
    {Quantity::Deviation, "D"},
    {Quantity::Deviation, "déviation"},
    {Quantity::PrismIndex, "n"},
    {Quantity::PrismIndex, "n vorlac"},
    {Quantity::PrismIndex, "indice"},
    {Quantity::PrismIndex, "indice du vorlac"},
    {Quantity::OutsideIndex, "n ext."},
    {Quantity::OutsideIndex, "n ext"},
    {Quantity::OutsideIndex, "indice du milieu extérieur"},
    {Quantity::Apex, "A"},
    {Quantity::Apex, "angle au sommet"},
    {Quantity::CriticalAngle, "ℓ"},
    {Quantity::CriticalAngle, "angle lim."},
    {Quantity::CriticalAngle, "angle limite"},
    {Quantity::LimitIncidence, "i lim."},
    {Quantity::LimitIncidence, "i lim"},
    {Quantity::LimitIncidence, "incidence limite"},
};

} // namespace

std::optional<Quantity> titleQuantity(const QString &title, int column)
{
    QString t = title.simplified();
    if (t.isEmpty() || t == QStringLiteral("C%1").arg(column + 1))
        return Quantity::None;
    if (t.endsWith(u')')) {
        const qsizetype open = t.lastIndexOf(u'(');
        if (open > 0)
            t = t.left(open).trimmed();
    }
    t.replace(QChar(0x2019), u'\''); // a typographic apostrophe is the same prime
    for (const Alias &a : kAliases) {
        const QString alias = QString::fromUtf8(a.text);
        if (t.compare(alias, alias.size() > 2 ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0)
            return a.quantity;
    }
    return std::nullopt;
}

namespace
{

std::optional<double> rawQuantityValue(Quantity q, const RayMeasures &ray, int apexAngle)
{
    const TraceMeasures &m = ray.measures;
    switch (q) {
    case Quantity::None:
        return std::nullopt;
    case Quantity::Wavelength:
        return ray.wavelength;
    case Quantity::Incidence:
        return m.incidence;
    case Quantity::Refraction:
        return m.entered ? std::optional<double>(m.refraction) : std::nullopt;
    case Quantity::ExitIncidence:
        return m.entered && m.firstFace == TraceFace::Exit ? std::optional<double>(m.exitIncidence) : std::nullopt;
    case Quantity::Emergence:
        return m.direct ? std::optional<double>(m.emergence) : std::nullopt;
    case Quantity::Deviation:
        return m.direct ? std::optional<double>(m.deviation) : std::nullopt;
    case Quantity::PrismIndex:
        return m.prismIndex;
    case Quantity::OutsideIndex:
        return m.outsideIndex;
    case Quantity::Apex:
        return apexAngle;
    case Quantity::CriticalAngle:
        return m.criticalAngle;
    case Quantity::LimitIncidence:
        return m.limit == EmergenceLimit::Angle ? std::optional<double>(m.limitIncidence) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<double> quantityValue(Quantity q, const RayMeasures &ray, int apexAngle)
{
    // Not a number for what an unknown glass hides: the cell stays empty.
    const std::optional<double> v = rawQuantityValue(q, ray, apexAngle);
    return v && std::isnan(*v) ? std::nullopt : v;
}

bool RecordColumns::any() const
{
    for (Quantity q : column)
        if (q != Quantity::None)
            return true;
    return false;
}

bool RecordColumns::holds(Quantity q) const
{
    return std::find(column.begin(), column.end(), q) != column.end();
}

namespace
{

QString titleOf(const QStringList &titles, int column)
{
    return column < titles.size() ? titles[column] : QString();
}

bool untitled(const QStringList &titles, int column)
{
    return titleQuantity(titleOf(titles, column), column) == Quantity::None;
}

// The column whose title names q and that no quantity takes; else the first untitled such one.
int freeColumnFor(const RecordColumns &columns, const QStringList &titles, Quantity q)
{
    int untitledColumn = -1;
    for (int c = 0; c < static_cast<int>(columns.column.size()); ++c) {
        if (columns.column[static_cast<std::size_t>(c)] != Quantity::None)
            continue;
        const std::optional<Quantity> named = titleQuantity(titleOf(titles, c), c);
        if (named == q)
            return c;
        if (named == Quantity::None && untitledColumn < 0)
            untitledColumn = c;
    }
    return untitledColumn;
}

} // namespace

bool columnTakes(const RecordColumns &columns, const QStringList &titles, int column, Quantity q)
{
    const QString title = titleOf(titles, column);
    const std::optional<Quantity> named = titleQuantity(title, column);
    if (q == Quantity::None || named == Quantity::None || named == q)
        return true;
    return !named && columns.kept[static_cast<std::size_t>(column)] == title;
}

int conflictingColumn(const RecordColumns &columns, const QStringList &titles)
{
    for (int c = 0; c < static_cast<int>(columns.column.size()); ++c)
        if (!columnTakes(columns, titles, c, columns.column[static_cast<std::size_t>(c)]))
            return c;
    return -1;
}

RecordColumns withWavelength(RecordColumns columns, const QStringList &titles)
{
    if (columns.holds(Quantity::Wavelength))
        return columns;
    if (const int c = freeColumnFor(columns, titles, Quantity::Wavelength); c >= 0)
        columns.column[static_cast<std::size_t>(c)] = Quantity::Wavelength;
    return columns;
}

RecordColumns proposedColumns(RecordColumns columns, const QStringList &titles, bool wavelength)
{
    std::vector<std::pair<Quantity, int>> moved;
    for (int c = 0; c < static_cast<int>(columns.column.size()); ++c) {
        Quantity &q = columns.column[static_cast<std::size_t>(c)];
        if (!columnTakes(columns, titles, c, q)) {
            moved.emplace_back(q, c);
            q = Quantity::None;
        }
    }
    for (const auto &[q, from] : moved) {
        int to = freeColumnFor(columns, titles, q);
        // Under a title that names nothing known it stays, for the user to confirm.
        if (to < 0 && !titleQuantity(titleOf(titles, from), from))
            to = from;
        if (to >= 0)
            columns.column[static_cast<std::size_t>(to)] = q;
    }
    return wavelength ? withWavelength(columns, titles) : columns;
}

namespace
{

bool targetsEmpty(const ValueTable &table, const RecordColumns &columns, int line)
{
    if (line >= table.Rows())
        return true;
    for (int c = 0; c < ValueTable::kColumns; ++c)
        if (columns.column[static_cast<std::size_t>(c)] != Quantity::None && !table.TextMatrix(line, c).isEmpty())
            return false;
    return true;
}

bool isAngle(Quantity q)
{
    switch (q) {
    case Quantity::Incidence:
    case Quantity::Refraction:
    case Quantity::ExitIncidence:
    case Quantity::Emergence:
    case Quantity::Deviation:
    case Quantity::CriticalAngle:
    case Quantity::LimitIncidence:
        return true;
    default:
        return false;
    }
}

} // namespace

RecordOutcome recordMeasurement(ValueTable &table, const RecordColumns &columns, const std::vector<RayMeasures> &rays,
                                int apexAngle, std::optional<int> angleDecimals)
{
    RecordOutcome out;
    if (!columns.any() || rays.empty())
        return out;
    const QStringList titles = table.titles();
    if (conflictingColumn(columns, titles) >= 0) {
        out.status = RecordOutcome::TitleConflict;
        return out;
    }
    const int lastLine = ValueTable::kMaxRows - 1;
    std::vector<int> lines;
    lines.reserve(rays.size());
    int line = 1;
    for (std::size_t k = 0; k < rays.size(); ++k) {
        while (line <= lastLine && !targetsEmpty(table, columns, line))
            ++line;
        if (line > lastLine) {
            out.status = RecordOutcome::TableFull;
            return out;
        }
        lines.push_back(line++);
    }

    const ValueTable::Bulk bulk(table, QStringLiteral("relevé de la mesure"));
    if (lines.back() >= table.Rows())
        table.setRows(lines.back() + 1);
    for (int c = 0; c < ValueTable::kColumns; ++c) {
        const Quantity q = columns.column[static_cast<std::size_t>(c)];
        if (q == Quantity::None)
            continue;
        if (untitled(titles, c))
            table.setTitle(c, quantityTitle(q));
        for (std::size_t k = 0; k < rays.size(); ++k) {
            std::optional<double> v = quantityValue(q, rays[k], apexAngle);
            if (v && angleDecimals && isAngle(q))
                v = roundedAngle(*v, *angleDecimals);
            table.setCellValue(lines[k], c, v ? std::optional<float>(static_cast<float>(*v)) : std::nullopt);
        }
    }
    out.status = RecordOutcome::Recorded;
    out.firstLine = lines.front();
    out.lines = static_cast<int>(lines.size());
    return out;
}

} // namespace vorlac
