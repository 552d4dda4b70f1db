#pragma once

#include "exercises/exercisefile.h"
#include "exercises/exercisequantity.h"
#include "situations/situation.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace vorlac
{

// The shipped exercises are written as small text descriptions ("key = value" lines, "#"
// comments, a value in double quotes keeps its surrounding blanks) from which the exercise files
// and situation files are built with the program's own writers. The descriptions sit in
// data/exercices/src, named after the file they give: "VORLAC1.E01.txt", "VORLAC.PEM.txt",
// "REFRAC.P01.txt".
//
// Exercise description: title, level, statement, statement_situation, correction,
// correction_situation (names as stored, "\" between folders), notion (up to four pieces, stored
// as written), and the numbers the texts quote: "value = <text> | <quantity> | <settings>" for
// the correction, "given = ..." for the statement (see exercisequantity.h for the quantities and
// settings). A value is checked against the correction's situation (the statement's for
// "given"), changed by its settings.
//
// Situation description: apex, prism, outside (list names), prism_a, prism_b, outside_a,
// outside_b (for "Autre"), source (mono, five, white, lamp), lamp (a name of the lamp list),
// lamp_hidden (0 or 1: the lamp's name hidden), wavelength, background (black, white),
// normals, propagation (0 or 1), incidence, screen (0 or 1: shown), screen_distance (mm),
// screen_turn (degrees), sun (0 or 1: the Sun lights the prism), absorber (as the screen panel's
// list names it: "gaz : sodium", "filtre rouge"), absorber_hidden (0 or 1), lines (data lines),
// format (the table format computed cells are written with: Standard1, Standard2 (the
// default), Standard3, Scientifique1, Scientifique2, as the table's format dialog names them),
// titles ("a | b | ..."), row (one data line of cell texts as shown, "|" between cells), fill.N (column N computed for
// each line that has the values it needs: "<quantity> | <settings>", where C1..C7 stand for the line's cells) and
// formula.N (column N computed from a formula by the calculator's column computation). Fills run in column order before
// the formulas; computed cells are written under French settings.

// One number quoted by a text.
struct QuotedValue {
    QString text;     // as it appears in the text: "19,38"
    QString quantity; // name of a Quantity
    QString settings;
    int line = 0; // in the description
};

struct ExerciseSource {
    ExerciseFile exercise;
    QList<QuotedValue> statementValues;
    QList<QuotedValue> correctionValues;
};

// Folder, below the exercise files, of the texts and situations.
inline constexpr char16_t kExerciseSubfolder[] = u"exercices";

// nullopt with a message naming the line when the description is not sound.
std::optional<ExerciseSource> parseExerciseSource(const QString &text, QString *error = nullptr);
std::optional<Situation> parseSituationSource(const QString &text, QString *error = nullptr);

// Where the file built from a description goes, relative to the data folder: exercise files
// ("*.E01.txt", "*.PEM.txt") at the top, situations in kExerciseSubfolder. Empty for a name that
// is no description.
QString shippedPath(const QString &descriptionName);

// The bytes of the file a description gives, built with serialiseExerciseFile or
// serialiseSituation; nullopt with a message when it cannot be built.
std::optional<QByteArray> buildShippedFile(const QString &descriptionName, const QString &text,
                                           QString *error = nullptr);

} // namespace vorlac
