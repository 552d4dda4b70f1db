#pragma once

#include "model/raytracer.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace vorlac
{

class ValueTable;

// The quantities a measurement record can write into the table.
enum class Quantity {
    None,
    Wavelength,
    Incidence,
    Refraction,
    ExitIncidence,
    Emergence,
    Deviation,
    PrismIndex,
    OutsideIndex,
    Apex,
    CriticalAngle,
    LimitIncidence,
};

// In the order the column dialog lists them.
inline constexpr std::array<Quantity, 12> kQuantities = {
    Quantity::None,          Quantity::Wavelength, Quantity::Incidence,     Quantity::Refraction,
    Quantity::ExitIncidence, Quantity::Emergence,  Quantity::Deviation,     Quantity::PrismIndex,
    Quantity::OutsideIndex,  Quantity::Apex,       Quantity::CriticalAngle, Quantity::LimitIncidence,
};

// Name of the quantity in lists ("i : angle d'incidence"); "(aucune)" for None.
QString quantityName(Quantity q);
// Its symbol: "i", "r'", "λ", "n", "n ext."; "" for None.
QString quantitySymbol(Quantity q);
// The column title a recorded quantity gives an untitled column: "i (°)", "lambda (nm)", "n".
// Every title fits the situation file's code page (Windows-1252: no λ, no ℓ).
QString quantityTitle(Quantity q);

// What a column title names: None for no title (empty, or the column's own name C1..C7); the
// quantity whose symbol or French name it is, a unit in parentheses aside ("i' (°)", "lambda
// (nm)", "Déviation"); nullopt for a title that names something else ("Dm (°)", "sin i").
std::optional<Quantity> titleQuantity(const QString &title, int column);

// The value of the quantity for that ray of a prism of that apex angle; nullopt where the ray has
// none (no emergence, no critical angle, ...).
std::optional<double> quantityValue(Quantity q, const RayMeasures &ray, int apexAngle);

// Which quantity goes into each of the seven columns; i into C1 and D into C2 unless chosen.
struct RecordColumns {
    std::array<Quantity, 7> column{Quantity::Incidence, Quantity::Deviation, Quantity::None, Quantity::None,
                                   Quantity::None,      Quantity::None,      Quantity::None};
    // The titles the columns had when the user chose their quantities in the dialog: a title
    // that names no known quantity takes the quantity the user gave it.
    std::array<QString, 7> kept{};
    bool any() const;
    bool holds(Quantity q) const;
    bool operator==(const RecordColumns &) const = default;
};

// Whether the column of that title may receive q: it has no title, its title names q, or the
// user gave q to that unknown title. A title naming another quantity never may.
bool columnTakes(const RecordColumns &columns, const QStringList &titles, int column, Quantity q);
// The first chosen column that may not receive its quantity; -1 when every one may.
int conflictingColumn(const RecordColumns &columns, const QStringList &titles);
// With the wavelength added when no column holds it: into the column titled for it, else the
// first untitled column that has no quantity. Unchanged when no column can take it.
RecordColumns withWavelength(RecordColumns columns, const QStringList &titles);
// What the dialog proposes after a conflict: each quantity that may not stay in its column goes
// to the column titled for it or the first free untitled one; failing both it stays under a
// title that names nothing known (for the user to confirm) or is left out. The wavelength is
// added when wanted.
RecordColumns proposedColumns(RecordColumns columns, const QStringList &titles, bool wavelength);

struct RecordOutcome {
    enum Status { Recorded, TableFull, NoColumn, TitleConflict } status = NoColumn;
    int firstLine = 0; // data line of the first ray written
    int lines = 0;
};

// Writes one line per ray, each into the next data line whose chosen columns are all empty,
// growing the table up to its 100 lines; values in the table's number format, missing values
// left empty, untitled columns ("" or their own name C1..C7) titled after their quantity. One
// change notification for all of it; nothing written when the rays do not all fit or a column
// may not receive its quantity (TitleConflict).
// With angleDecimals, angles are written as the panel shows them to that many decimals;
// without, as computed.
RecordOutcome recordMeasurement(ValueTable &table, const RecordColumns &columns, const std::vector<RayMeasures> &rays,
                                int apexAngle, std::optional<int> angleDecimals = std::nullopt);

} // namespace vorlac
