#pragma once

#include "model/materials.h"
#include "model/scenestate.h"
#include "spectra/screensettings.h"
#include "table/valuetable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace vorlac
{

// A saved situation: everything a ".P01" file holds, as plain values. The file is a sequence of
// 128-byte records (see recordfile.h): the signature, the scene (records 2 to 17), the table's
// row count R, its R x 7 cells row by row (titles first) and the seven column formulas, so
// 25 + 7R records in all.

inline constexpr int kSituationHeadRecords = 18;
inline constexpr int situationRecordCount(int rows)
{
    return kSituationHeadRecords + ValueTable::kColumns * (rows + 1);
}
// A situation with a lamp source or a hidden lamp is written in the extended layout: record 1
// holds "VORLAC+" (so a reader of the classic layout refuses it as "Fichier non valide"), none
// of records 5, 6 and 9 is "1" when the source is the lamp, and after the formulas come records
// "clé=valeur" ended by "FIN": "LAMPE=<nom>", or "LAMPE?=<code>" for a hidden lamp. A prism of
// the "Verres réels" list adds "VERRE=<nom>", or "VERRE?=<code>" for an unknown glass, whose
// coefficients records then hold 0 (the pair comes from the catalogue). A situation without
// them is written in the classic layout, byte for byte as before. A screen used adds
// "ECRAN=<affiché 0|1>;<distance mm>;<rotation °>" when not the default, "LUMIERE=SOLEIL" and
// "ABSORBANT=<rang>" or "ABSORBANT?=<code>" (the hidden absorber).
inline constexpr int kSituationAddedRecords = 8;
inline constexpr qint64 kSituationMaxBytes =
    qint64(situationRecordCount(ValueTable::kMaxRows) + kSituationAddedRecords) * 128;

using SituationRow = std::array<QString, ValueTable::kColumns>;

struct Situation {
    SceneState scene; // records 2 to 17

    SituationRow titles = {QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3"), QStringLiteral("C4"),
                           QStringLiteral("C5"), QStringLiteral("C6"), QStringLiteral("C7")};
    QList<SituationRow> lines = QList<SituationRow>(10); // data lines, 1..100, texts as shown
    SituationRow formulas;                               // "" for a column never computed
    ScreenSettings screen;                               // the default unless a screen is used

    int rowCount() const { return int(lines.size()) + 1; }
    bool operator==(const Situation &) const = default;
};

enum class SituationFailure {
    None,
    NotOurs,    // no file, too short for the signature, or not "VORLAC": "Fichier non valide"
    Unreadable, // a damaged record, a missing one, or a value out of its range: "Lecture impossible"
};

struct SituationResult {
    std::optional<Situation> situation; // set exactly when failure is None
    SituationFailure failure = SituationFailure::None;
};

// True when the situation needs the extended layout.
bool usesExtendedLayout(const SceneState &scene);
bool usesExtendedLayout(const Situation &situation);

// The code of a hidden lamp in a file: a salt (the file's own, from what it holds before) and the
// lamp's row scrambled with it, so that the name cannot be read off the file nor the same lamp
// told from its code in two files; nullopt for a code that names no lamp. The unsalted codes of
// older files still read.
QString hiddenLampCode(int row, quint32 salt);
std::optional<int> hiddenLampRow(const QString &code);
// The same for an unknown glass (a row of glassCatalogue()), scrambled apart from the lamps.
QString hiddenGlassCode(int row, quint32 salt);
std::optional<int> hiddenGlassRow(const QString &code);

// True when every value lies within what the program's controls accept: apex 2..90, wavelength
// 400..800, materials rows of the list, finite numbers (a custom material within the dialog's
// limits), 1..100 data lines.
bool isValidSituation(const Situation &s);

// The whole file; nullopt when the situation is not valid or a text cannot be stored (longer
// than 126 bytes in the code page, or a character it lacks).
std::optional<QByteArray> serialiseSituation(const Situation &s);

// Reads and checks the whole file before anything is built from it; records after the last
// formula are ignored. Safe on any bytes.
SituationResult parseSituation(QByteArrayView bytes);

// Number texts of the file. Written: a blank before a non-negative number, "." as the decimal
// point, at most `significantDigits` digits (15 for the double, 7 for the singles; integers as
// they are). Read: leading blanks skipped, then sign, digits, "." and fraction, exponent "E" or
// "D" (either case); reading stops at the first other character and a text without digits is 0.
QString writeSituationNumber(double v, int significantDigits = 15);
double readSituationNumber(QStringView text);

} // namespace vorlac
