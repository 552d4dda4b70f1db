#include "undo/tabledelta.h"

#include <QHash>
#include <unordered_map>

namespace vorlac
{

namespace
{

using Line = ValueTable::Line;

bool sameText(const QString &a, const QString &b)
{
    // Texts shared with the snapshot they came from are the common case: no need to compare them.
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

bool sameLine(const Line &a, const Line &b)
{
    for (std::size_t c = 0; c < a.size(); ++c)
        if (!sameText(a[c], b[c]))
            return false;
    return true;
}

std::size_t lineHash(const Line &line)
{
    return qHashRange(line.begin(), line.end());
}

int differingCells(const Line &a, const Line &b)
{
    int n = 0;
    for (std::size_t c = 0; c < a.size(); ++c)
        n += sameText(a[c], b[c]) ? 0 : 1;
    return n;
}

} // namespace

TableDelta TableDelta::between(const ValueTable::Snapshot &from, const ValueTable::Snapshot &to)
{
    TableDelta d;
    d.m_row = std::int16_t(to.row);
    d.m_col = std::int16_t(to.col);
    if (from.expressions != to.expressions)
        d.m_expressions = to.expressions;
    if (from.format != to.format)
        d.m_format = to.format;

    const int nf = int(from.cells.size());
    const int nt = int(to.cells.size());
    int prefix = 0;
    while (prefix < nf && prefix < nt && sameLine(from.cells[std::size_t(prefix)], to.cells[std::size_t(prefix)]))
        ++prefix;
    int suffix = 0;
    while (suffix < nf - prefix && suffix < nt - prefix &&
           sameLine(from.cells[std::size_t(nf - 1 - suffix)], to.cells[std::size_t(nt - 1 - suffix)]))
        ++suffix;
    d.m_prefix = std::int16_t(prefix);
    d.m_suffix = std::int16_t(suffix);

    // Source lines between the kept ends, by content, built only when a line moved.
    std::unordered_multimap<std::size_t, int> index;
    bool indexed = false;
    const auto findWhole = [&](const Line &line) -> int {
        if (!indexed) {
            indexed = true;
            index.reserve(std::size_t(nf - prefix - suffix));
            for (int r = prefix; r < nf - suffix; ++r)
                index.emplace(lineHash(from.cells[std::size_t(r)]), r);
        }
        const auto [first, last] = index.equal_range(lineHash(line));
        for (auto it = first; it != last; ++it)
            if (sameLine(from.cells[std::size_t(it->second)], line))
                return it->second;
        return -1;
    };

    d.m_middle.reserve(std::size_t(nt - prefix - suffix));
    for (int r = prefix; r < nt - suffix; ++r) {
        const Line &target = to.cells[std::size_t(r)];
        const bool hasSame = r < nf;
        std::int16_t source = kBlank;
        if (hasSame && differingCells(from.cells[std::size_t(r)], target) <= 2)
            source = kSameRow;
        else if (const int whole = findWhole(target); whole >= 0)
            source = std::int16_t(whole);
        else if (hasSame)
            source = kSameRow;
        d.m_middle.push_back(source);
        if (source >= 0)
            continue;
        static const Line blank{};
        const Line &base = source == kSameRow ? from.cells[std::size_t(r)] : blank;
        for (int c = 0; c < ValueTable::kColumns; ++c)
            if (base[std::size_t(c)] != target[std::size_t(c)])
                d.m_cells.push_back({std::int16_t(r), std::int16_t(c), target[std::size_t(c)]});
    }
    d.m_empty = nf == nt && prefix == nf && !d.m_expressions && !d.m_format && from.row == to.row && from.col == to.col;
    return d;
}

ValueTable::Snapshot TableDelta::applyTo(const ValueTable::Snapshot &from) const
{
    ValueTable::Snapshot to;
    to.row = m_row;
    to.col = m_col;
    to.expressions = m_expressions ? *m_expressions : from.expressions;
    to.format = m_format ? *m_format : from.format;
    const std::size_t nf = from.cells.size();
    const std::size_t nt = std::size_t(m_prefix) + m_middle.size() + std::size_t(m_suffix);
    to.cells.reserve(nt);
    for (std::size_t r = 0; r < std::size_t(m_prefix) && r < nf; ++r)
        to.cells.push_back(from.cells[r]);
    for (std::size_t i = 0; i < m_middle.size(); ++i) {
        const std::int16_t source = m_middle[i];
        const std::size_t r = std::size_t(m_prefix) + i;
        if (source >= 0 && std::size_t(source) < nf)
            to.cells.push_back(from.cells[std::size_t(source)]);
        else if (source == kSameRow && r < nf)
            to.cells.push_back(from.cells[r]);
        else
            to.cells.push_back(Line{});
    }
    for (std::size_t k = std::size_t(m_suffix); k > 0; --k)
        to.cells.push_back(nf >= k ? from.cells[nf - k] : Line{});
    for (const Cell &cell : m_cells)
        if (std::size_t(cell.row) < to.cells.size())
            to.cells[std::size_t(cell.row)][std::size_t(cell.col)] = cell.text;
    return to;
}

} // namespace vorlac
