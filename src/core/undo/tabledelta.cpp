#include "undo/tabledelta.h"

#include <algorithm>

namespace vorlac
{

namespace
{

using Line = ValueTable::Line;

// A line rewritten in more cells than this is stored whole.
constexpr int kCellsPerPatch = 3;

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

// Lines that moved keep their texts' storage (a sort, a line inserted above), so the storage
// identifies them without reading the texts.
std::size_t storageKey(const Line &line)
{
    std::size_t key = 0;
    for (const QString &s : line)
        key = key * 1000003u ^ (reinterpret_cast<std::uintptr_t>(s.constData()) + std::size_t(s.size()));
    return key;
}

int differingCells(const Line &a, const Line &b)
{
    int n = 0;
    for (std::size_t c = 0; c < a.size(); ++c)
        n += sameText(a[c], b[c]) ? 0 : 1;
    return n;
}

QString shared(const QString &text, TableDelta::TextPool *pool)
{
    if (!pool || text.isEmpty())
        return text;
    const auto it = pool->constFind(text);
    if (it != pool->cend())
        return *it;
    pool->insert(text);
    return text;
}

} // namespace

TableDelta TableDelta::between(const ValueTable::Snapshot &from, const ValueTable::Snapshot &to, TextPool *pool)
{
    TableDelta d;
    d.m_row = std::int16_t(to.row);
    d.m_col = std::int16_t(to.col);
    if (from.expressions != to.expressions) {
        d.m_expressions = to.expressions;
        for (QString &e : *d.m_expressions)
            e = shared(e, pool);
    }
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

    // Source lines between the kept ends, built only when a line is not simply edited in place.
    std::vector<std::pair<std::size_t, int>> index; // (storage key, source line), sorted
    bool indexed = false;
    const auto findWhole = [&](const Line &line) -> int {
        if (!indexed) {
            indexed = true;
            index.reserve(std::size_t(nf - prefix - suffix));
            for (int r = prefix; r < nf - suffix; ++r)
                index.emplace_back(storageKey(from.cells[std::size_t(r)]), r);
            std::sort(index.begin(), index.end());
        }
        const std::size_t key = storageKey(line);
        for (auto it = std::lower_bound(index.begin(), index.end(), std::pair<std::size_t, int>(key, -1));
             it != index.end() && it->first == key; ++it)
            if (sameLine(from.cells[std::size_t(it->second)], line))
                return it->second;
        return -1;
    };

    static const Line blank{};
    d.m_middle.reserve(std::size_t(nt - prefix - suffix));
    for (int r = prefix; r < nt - suffix; ++r) {
        const Line &target = to.cells[std::size_t(r)];
        const Line &same = r < nf ? from.cells[std::size_t(r)] : blank;
        const int differing = differingCells(same, target);
        std::int16_t source = r < nf ? kSameRow : kBlank;
        if (differing > 1)
            if (const int whole = findWhole(target); whole >= 0)
                source = std::int16_t(whole);
        if (source < 0 && differing > kCellsPerPatch) {
            Line line;
            for (std::size_t c = 0; c < line.size(); ++c)
                line[c] = shared(target[c], pool);
            source = std::int16_t(kLiteral - std::int16_t(d.m_lines.size()));
            d.m_lines.push_back(std::move(line));
        }
        d.m_middle.push_back(source);
        if (source != kSameRow && source != kBlank)
            continue;
        for (int c = 0; c < ValueTable::kColumns; ++c)
            if (!sameText(same[std::size_t(c)], target[std::size_t(c)]))
                d.m_cells.push_back({std::int16_t(r), std::int16_t(c), shared(target[std::size_t(c)], pool)});
    }
    d.m_cells.shrink_to_fit();
    d.m_lines.shrink_to_fit();
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
        else if (source <= kLiteral && std::size_t(kLiteral - source) < m_lines.size())
            to.cells.push_back(m_lines[std::size_t(kLiteral - source)]);
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

void TableDelta::prune(TextPool &pool)
{
    for (auto it = pool.begin(); it != pool.end();)
        it = it->data_ptr().isShared() ? std::next(it) : pool.erase(it);
}

} // namespace vorlac
