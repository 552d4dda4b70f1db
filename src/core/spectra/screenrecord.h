#pragma once

#include "spectra/observedspectrum.h"

#include <QString>
#include <optional>

namespace vorlac
{

class ValueTable;

// What F9 writes while the screen is shown: the position on the screen of the chosen line, and
// its wavelength, or its rank along the screen when its lamp or absorber is hidden (never the
// wavelength then). So a pupil calibrates the screen with a known lamp and reads an unknown one
// on the fitted curve.
enum class ScreenQuantity {
    Position,   // "x (mm)": along the screen's ruler
    Wavelength, // "lambda (nm)", the angle record's own title
    Rank,       // "rang": 1, 2, ... along the screen among the lines of its kind
};

// The title a record gives an untitled column.
QString screenQuantityTitle(ScreenQuantity q);
// The quantity a column title names, a unit in parentheses aside ("x (mm)", "Position",
// "lambda (nm)", "Rang"); nullopt for no title or a title naming something else ("i (°)").
std::optional<ScreenQuantity> screenTitleQuantity(const QString &title);

struct ScreenRecordOutcome {
    enum Status { Recorded, NoLine, TableFull, NoColumn } status = NoLine;
    int line = 0; // the data line written
    int positionColumn = -1;
    int valueColumn = -1; // the wavelength's or the rank's
};

// Writes the line into the first data line whose two chosen cells are empty, growing the table up
// to its 100 lines: the position into the column titled for it, else the first untitled one; the
// wavelength (or the rank) likewise into another. Untitled columns take the quantity's title,
// values the table's number format; one change notification and one undo step. Nothing is
// written when no line of the table is free (TableFull) or every candidate column is titled for
// something else (NoColumn).
ScreenRecordOutcome recordScreenLine(ValueTable &table, const ObservedLine &line);

// The French sentence for the hint line: "Raie relevée à la ligne 3 du tableau : x = 12,345 mm ;
// λ = 546,074 nm", the numbers as the table wrote them; why nothing was written otherwise.
QString screenRecordMessage(const ScreenRecordOutcome &outcome, const ObservedLine &line, const ValueTable &table);

} // namespace vorlac
