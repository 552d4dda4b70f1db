#pragma once

#include "output/tablepages.h"

#include <QImage>
#include <QString>

namespace vorlac
{

class ValueTable;

// The whole table as a picture of the grid (title row shaded, grid lines, texts as displayed),
// one screen pixel per pixel: 15 twips to the pixel. It needs no widget, so it can be made
// while the table panel is hidden.
QImage tablePicture(const ValueTable &table, const TableGridMetrics &grid = {});

// The whole table as text: the cells of a row separated by TAB, rows by LF, the title row
// first, every cell as displayed, nothing after the last row.
QString tableText(const ValueTable &table);

} // namespace vorlac
