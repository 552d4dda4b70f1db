#pragma once

#include "analysis/sweeps.h"
#include "table/valuetable.h"

namespace vorlac
{

// Writes the series into the first columns of the table, titles included, in the table's number
// format, as one change named "balayage" (one undo step). The lines below the series are emptied
// in those columns and their formulas forgotten; the other columns keep their values. The table grows to hold the
// series.
void fillTableWithSweep(ValueTable &table, const Sweep &sweep);

} // namespace vorlac
