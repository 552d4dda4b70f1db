#pragma once

#include "model/raytracer.h"

#include <QString>
#include <array>
#include <vector>

namespace vorlac
{

class ValueTable;

// The quantities a measurement record can write into the table.
enum class Quantity { None, Wavelength, Incidence, Refraction, ExitIncidence, Emergence, Deviation, PrismIndex };

inline constexpr std::array<Quantity, 8> kQuantities = {
    Quantity::None,          Quantity::Wavelength, Quantity::Incidence, Quantity::Refraction,
    Quantity::ExitIncidence, Quantity::Emergence,  Quantity::Deviation, Quantity::PrismIndex,
};

// Name of the quantity in lists ("i : angle d'incidence"); "(aucune)" for None.
QString quantityName(Quantity q);
// Its symbol: "i", "r'", "λ", "n"; "" for None.
QString quantitySymbol(Quantity q);
// The column title a recorded quantity gives an untitled column: "i (°)", "lambda (nm)", "n".
QString quantityTitle(Quantity q);

// The value of the quantity for that ray; nullopt where the ray has none (no emergence, ...).
std::optional<double> quantityValue(Quantity q, const RayMeasures &ray);

// Which quantity goes into each of the seven columns; i into C1 and D into C2 unless chosen.
struct RecordColumns {
    std::array<Quantity, 7> column{Quantity::Incidence, Quantity::Deviation, Quantity::None, Quantity::None,
                                   Quantity::None,      Quantity::None,      Quantity::None};
    bool any() const;
    bool operator==(const RecordColumns &) const = default;
};

struct RecordOutcome {
    enum Status { Recorded, TableFull, NoColumn } status = NoColumn;
    int firstLine = 0; // data line of the first ray written
    int lines = 0;
};

// Writes one line per ray, each into the next data line whose chosen columns are all empty,
// growing the table up to its 100 lines; values in the table's number format, missing values
// left empty, untitled columns ("" or their own name C1..C7) titled after their quantity. One
// change notification for all of it; nothing written when the rays do not all fit.
RecordOutcome recordMeasurement(ValueTable &table, const RecordColumns &columns, const std::vector<RayMeasures> &rays);

} // namespace vorlac
