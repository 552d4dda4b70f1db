#pragma once

#include "table/valuetable.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vorlac
{

// What turns one table snapshot into another, storing only what differs. Lines kept at both
// ends are counted, not stored; a line of the target found whole in the source (a sort, an
// inserted or deleted line shifting the rest) is stored as the source line's index; otherwise
// only the cells that differ from the source line at the same row are stored. The texts kept
// are shared with the tables they came from, so a step costs little more than its changed
// cells.
class TableDelta
{
  public:
    TableDelta() = default;
    static TableDelta between(const ValueTable::Snapshot &from, const ValueTable::Snapshot &to);
    // The target, given the snapshot the delta was made from (or an equal one).
    ValueTable::Snapshot applyTo(const ValueTable::Snapshot &from) const;

    bool isEmpty() const { return m_empty; }

  private:
    static constexpr std::int16_t kSameRow = -1; // start from the source line at the same row
    static constexpr std::int16_t kBlank = -2;   // start from an empty line

    struct Cell {
        std::int16_t row;
        std::int16_t col;
        QString text;
    };

    bool m_empty = true;
    std::int16_t m_prefix = 0;          // lines equal at the start
    std::int16_t m_suffix = 0;          // lines equal at the end
    std::vector<std::int16_t> m_middle; // per target line between them: a source index or kSameRow/kBlank
    std::vector<Cell> m_cells;          // then these cells of the target are written
    std::optional<std::array<QString, ValueTable::kColumns>> m_expressions;
    std::optional<QString> m_format;
    std::int16_t m_row = 1;
    std::int16_t m_col = 0;
};

} // namespace vorlac
