#include "work/work.h"

namespace vorlac
{

const ValueTable::Snapshot &freshTable()
{
    static const ValueTable::Snapshot fresh = ValueTable().snapshot();
    return fresh;
}

Situation situationOf(const SceneState &scene, const ValueTable::Snapshot &table)
{
    Situation s;
    s.scene = scene;
    if (table.cells.empty())
        return s;
    s.titles = table.cells.front();
    s.formulas = table.expressions;
    s.lines = QList<SituationRow>(table.cells.begin() + 1, table.cells.end());
    return s;
}

ValueTable::Snapshot tableOf(const Situation &situation, const ValueTable::Snapshot &around)
{
    ValueTable::Snapshot t = around;
    t.cells.assign(1, situation.titles);
    t.cells.insert(t.cells.end(), situation.lines.begin(), situation.lines.end());
    t.expressions = situation.formulas;
    t.row = std::clamp(t.row, 1, int(t.cells.size()) - 1);
    return t;
}

} // namespace vorlac
