#include "table/measurerecord.h"

#include "table/valuetable.h"

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
        return QStringLiteral("n : indice du prisme");
    }
    return {};
}

QString quantitySymbol(Quantity q)
{
    static const char *const symbols[] = {"", "λ", "i", "r", "r'", "i'", "D", "n"};
    return QString::fromUtf8(symbols[static_cast<int>(q)]);
}

QString quantityTitle(Quantity q)
{
    switch (q) {
    case Quantity::None:
        return {};
    case Quantity::Wavelength:
        return QStringLiteral("lambda (nm)"); // a title must fit the situation file's code page
    case Quantity::Incidence:
        return QStringLiteral("i (°)");
    case Quantity::Refraction:
        return QStringLiteral("r (°)");
    case Quantity::ExitIncidence:
        return QStringLiteral("r' (°)");
    case Quantity::Emergence:
        return QStringLiteral("i' (°)");
    case Quantity::Deviation:
        return QStringLiteral("D (°)");
    case Quantity::PrismIndex:
        return QStringLiteral("n");
    }
    return {};
}

std::optional<double> quantityValue(Quantity q, const RayMeasures &ray)
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
    }
    return std::nullopt;
}

bool RecordColumns::any() const
{
    for (Quantity q : column)
        if (q != Quantity::None)
            return true;
    return false;
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

bool untitled(const ValueTable &table, int col)
{
    const QString t = table.title(col).trimmed();
    return t.isEmpty() || t == QStringLiteral("C%1").arg(col + 1);
}

} // namespace

RecordOutcome recordMeasurement(ValueTable &table, const RecordColumns &columns, const std::vector<RayMeasures> &rays)
{
    RecordOutcome out;
    if (!columns.any() || rays.empty())
        return out;
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
        if (untitled(table, c))
            table.setTitle(c, quantityTitle(q));
        for (std::size_t k = 0; k < rays.size(); ++k) {
            const std::optional<double> v = quantityValue(q, rays[k]);
            table.setCellValue(lines[k], c, v ? std::optional<float>(static_cast<float>(*v)) : std::nullopt);
        }
    }
    out.status = RecordOutcome::Recorded;
    out.firstLine = lines.front();
    out.lines = static_cast<int>(lines.size());
    return out;
}

} // namespace vorlac
