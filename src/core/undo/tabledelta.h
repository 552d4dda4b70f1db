#pragma once

#include "table/valuetable.h"

#include <QSet>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorlac
{

// What turns one table snapshot into another, storing only what differs. Lines kept at both
// ends are counted, not stored; a line of the target found whole in the source (a sort, an
// inserted or deleted line shifting the rest) is stored as the source line's index; a line with
// a few changed cells stores those cells; a line mostly rewritten is stored whole. The texts
// kept are shared with the tables they came from and, through a pool, with other deltas that
// hold the same text, so a step costs little more than its changed cells.
class TableDelta
{
  public:
    // Texts shared between deltas; the undo history keeps one and prunes it.
    using TextPool = QSet<QString>;

    TableDelta() = default;
    static TableDelta between(const ValueTable::Snapshot &from, const ValueTable::Snapshot &to,
                              TextPool *pool = nullptr);
    // The target, given the snapshot the delta was made from (or an equal one).
    ValueTable::Snapshot applyTo(const ValueTable::Snapshot &from) const;

    bool isEmpty() const { return m_empty; }

    // Drops from the pool the texts nothing else holds any more.
    static void prune(TextPool &pool);

  private:
    // m_middle values: a source line index (>= 0), or one of these, or kLiteral - i for the
    // stored line i.
    static constexpr std::int16_t kSameRow = -1; // the source line at the same row, then m_cells
    static constexpr std::int16_t kBlank = -2;   // an empty line, then m_cells
    static constexpr std::int16_t kLiteral = -3;

    struct Cell {
        std::int16_t row;
        std::int16_t col;
        QString text;
    };

    bool m_empty = true;
    std::int16_t m_prefix = 0;          // lines equal at the start
    std::int16_t m_suffix = 0;          // lines equal at the end
    std::vector<std::int16_t> m_middle; // per target line between them
    std::vector<Cell> m_cells;
    std::vector<ValueTable::Line> m_lines;
    std::optional<std::array<QString, ValueTable::kColumns>> m_expressions;
    std::optional<QString> m_format;
    std::int16_t m_row = 1;
    std::int16_t m_col = 0;
};

} // namespace vorlac
