#pragma once

#include "exercises/exerciseset.h"
#include "model/protractor.h"
#include "model/scenestate.h"
#include "situations/situation.h"
#include "spectra/screensettings.h"
#include "table/valuetable.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace vorlac
{

// The exercise open in the exercise area. The text is kept as RTF (the program's own writer)
// whenever an exercise or a text is open, so that a statement, a correction or the pupil's edits
// come back without reading any other file.
struct RecoveredExercise {
    QString fileField;     // what the file-name line showed; "" when only the introduction was shown
    QString folder;        // folder of the exercise, for its correction
    QByteArray rtf;        // the text as shown
    bool editable = false; // a statement (true) or a read-only correction (false)
    bool edited = false;   // the pupil's edits were not saved
    bool hasCorrection = false;
    bool operator==(const RecoveredExercise &) const = default;
};

// An exercise being written and not saved yet, as the writing mode holds it: both texts as RTF
// (the program's writer), the form, the two situations, and where it would be saved.
struct RecoveredDraft {
    ExerciseSet set;
    QString path;   // the exercise file being rewritten; "" for a new one or a copy
    QString folder; // the folder saved into last ("" before any save)
    QString title;  // the writing window's title ("Nouvel exercice", "Copie de l'exercice X.E01"...)
    bool showingCorrection = false;
    bool operator==(const RecoveredDraft &) const = default;
};

// The table of a fresh start (10 empty lines, titles C1..C7, the default format).
const ValueTable::Snapshot &freshTable();

// The work: everything the pupil or teacher would lose. Display choices (angle marks, precision,
// ray width, magnifier zoom) are settings, not work.
struct Work {
    SceneState scene;
    ValueTable::Snapshot table = freshTable(); // cells, formulas, number format, active cell
    ProtractorState protractor;
    bool protractorShown = false;
    RecoveredExercise exercise; // the pupil's side, also while an exercise is written
    std::optional<RecoveredDraft> draft;
    QString situationFileName; // the file saved or loaded last; "" for none
    ScreenSettings screen;     // the screen after the prism, its light and absorber
    bool operator==(const Work &) const = default;
};

// The parts of the work that are read and put back together (one owner each).
enum WorkPart : unsigned {
    kSceneSide = 1u << 0,       // SceneController
    kTablePart = 1u << 1,       // ValueTable
    kProtractorPlace = 1u << 2, // ProtractorModel: place and angles
    kProtractorShown = 1u << 3, // ProtractorModel: visibility
    kExercisePart = 1u << 4,    // ExerciseSession and the exercise area's text
    kDraftPart = 1u << 5,       // the exercise being written
    kFileNamePart = 1u << 6,    // SituationBinder
    kScreenPart = 1u << 7,      // ScreenCommands
    kAllWork = (1u << 8) - 1,
};
using WorkParts = unsigned;

// What keeps a part of the work besides the running program.
enum class WorkUse { Undo, Recovery, SituationFile, Draft };
inline constexpr int kWorkUses = 4;

enum class Kept : unsigned char {
    No,
    Yes,
    Rounded,  // as the file's decimal numbers (15 digits for the incidence, 7 for a coefficient)
    WhenLit,  // only while the source is the lamp or an unknown lamp is kept
    WhenUsed, // in the extended records only when it differs from the default (a classic file unchanged)
};

struct WorkField {
    std::string_view name;
    WorkPart part;
    std::array<Kept, kWorkUses> kept; // undo, recovery, situation file, draft
    std::string_view why;
};

// "YNRL": one letter a use, in the order of WorkUse.
constexpr std::array<Kept, kWorkUses> keptBy(std::string_view letters)
{
    std::array<Kept, kWorkUses> kept{};
    for (std::size_t i = 0; i < kept.size() && i < letters.size(); ++i)
        kept[i] = letters[i] == 'Y'   ? Kept::Yes
                  : letters[i] == 'R' ? Kept::Rounded
                  : letters[i] == 'L' ? Kept::WhenLit
                  : letters[i] == 'U' ? Kept::WhenUsed
                                      : Kept::No;
    return kept;
}

// The one decision, field by field, of what each use keeps of the work (undo, recovery, situation
// file, draft). A field added to Work, to the scene, the table snapshot, the protractor or the
// exercise must get a row here: the static_assert below counts them.
inline constexpr std::array<WorkField, 41> kWorkFields{{
    // The scene: undo and recovery keep it exactly; the situation file and a draft's situations
    // hold its records.
    {"scene.apexAngle", kSceneSide, keptBy("YYYY"), "a record"},
    {"scene.incidenceAngle", kSceneSide, keptBy("YYRR"), "a decimal record; recovery keeps the double"},
    {"scene.wavelength", kSceneSide, keptBy("YYYY"), "a record"},
    {"scene.source", kSceneSide, keptBy("YYYY"), "option records, or the lamp key"},
    {"scene.blackBackground", kSceneSide, keptBy("YYYY"), "a record"},
    {"scene.showNormals", kSceneSide, keptBy("YYYY"), "a record"},
    {"scene.showPropagation", kSceneSide, keptBy("YYYY"), "a record"},
    {"scene.prismMaterial", kSceneSide, keptBy("YYYY"), "a record"},
    {"scene.outsideMaterial", kSceneSide, keptBy("YYYY"), "a record"},
    {"scene.lamp", kSceneSide, keptBy("YYLL"), "the classic layout has no lamp: named only when lit"},
    {"scene.lampHidden", kSceneSide, keptBy("YYYY"), "the hidden lamp's key"},
    {"scene.unknownLamp", kSceneSide, keptBy("YYYY"), "the hidden lamp's key"},
    {"scene.glass", kSceneSide, keptBy("YYYY"), "the glass key"},
    {"scene.glassHidden", kSceneSide, keptBy("YYYY"), "the glass key"},
    {"scene.prismCauchyA", kSceneSide, keptBy("YYRR"), "a single's record; a catalogue glass's from its row"},
    {"scene.prismCauchyB", kSceneSide, keptBy("YYRR"), "a single's record; a catalogue glass's from its row"},
    {"scene.outsideCauchyA", kSceneSide, keptBy("YYRR"), "a single's record"},
    {"scene.outsideCauchyB", kSceneSide, keptBy("YYRR"), "a single's record"},
    // The table.
    {"table.cells", kTablePart, keptBy("YYYY"), "records, texts as shown"},
    {"table.expressions", kTablePart, keptBy("YYYY"), "records"},
    {"table.format", kTablePart, keptBy("YYNN"), "the file format has no record for it"},
    {"table.row", kTablePart, keptBy("YYNN"), "undo puts it back (moving is no step); no record"},
    {"table.col", kTablePart, keptBy("YYNN"), "undo puts it back (moving is no step); no record"},
    // The protractor.
    {"protractor.rotation", kProtractorPlace, keptBy("YYNN"), "a tool over the scene, not the situation"},
    {"protractor.lineAngle", kProtractorPlace, keptBy("YYNN"), "a tool over the scene, not the situation"},
    {"protractor.crossGrabX", kProtractorPlace, keptBy("NYNN"), "where the mouse held it: no change of place"},
    {"protractor.crossGrabY", kProtractorPlace, keptBy("NYNN"), "where the mouse held it: no change of place"},
    {"protractor.position", kProtractorPlace, keptBy("YYNN"), "a tool over the scene, not the situation"},
    {"protractorShown", kProtractorShown, keptBy("NYNN"), "showing a panel is no step of undo"},
    // The exercise session: the text has its own undo and its own lost-edits question, so undo
    // stops at every opening that replaces it.
    {"exercise.fileField", kExercisePart, keptBy("NYNN"), "openings that change it clear the history"},
    {"exercise.folder", kExercisePart, keptBy("NYNN"), "openings that change it clear the history"},
    {"exercise.rtf", kExercisePart, keptBy("NYNN"), "the text box's own undo"},
    {"exercise.editable", kExercisePart, keptBy("NYNN"), "openings that change it clear the history"},
    {"exercise.edited", kExercisePart, keptBy("NYNN"), "the text box's own undo"},
    {"exercise.hasCorrection", kExercisePart, keptBy("NYNN"), "openings that change it clear the history"},
    {"draft", kDraftPart, keptBy("NYNN"), "the writing window's own undo; a situation holds no draft"},
    {"situationFileName", kFileNamePart, keptBy("NYNN"), "the file's name, not its content"},
    // The screen: part of the lesson's set-up, so kept as the scene is; a file names it only when
    // it is used.
    {"screen.shown", kScreenPart, keptBy("YYUU"), "a screen record only when shown"},
    {"screen.placement", kScreenPart, keptBy("YYUU"), "a screen record only when not the default"},
    {"screen.sun", kScreenPart, keptBy("YYUU"), "a light record only when the Sun"},
    {"screen.absorber", kScreenPart, keptBy("YYUU"), "an absorber record (coded when hidden) only when one"},
}};

namespace detail
{
struct AnyField {
    template <typename T> operator T() const;
};
// The number of members of an aggregate: the most initialisers T{...} accepts.
template <typename T, typename... A> constexpr std::size_t memberCount(A... a)
{
    if constexpr (requires { T{a..., AnyField{}}; })
        return memberCount<T>(a..., AnyField{});
    else
        return sizeof...(A);
}
} // namespace detail

// Work's own members, less the five that have rows of their own above.
static_assert(kWorkFields.size() == detail::memberCount<SceneState>() + detail::memberCount<ValueTable::Snapshot>() +
                                        detail::memberCount<ProtractorState>() +
                                        detail::memberCount<RecoveredExercise>() +
                                        detail::memberCount<ScreenSettings>() + detail::memberCount<Work>() - 5,
              "a field of the work has no decision in kWorkFields");

// The parts a use keeps something of.
constexpr WorkParts partsKept(WorkUse use)
{
    WorkParts parts = 0;
    for (const WorkField &f : kWorkFields)
        if (f.kept[std::size_t(use)] != Kept::No)
            parts |= f.part;
    return parts;
}

// Every way the work is replaced by something opened.
enum class Opening {
    Situation,     // the open dialog, a situation given on the command line or by a double click
    SceneFromText, // "Mettre sur la scène": the scene and the table of a draft's situation
    Exercise,      // an exercise (given or chosen), its correction, the getting-started text
    SetAside,      // a piece of "Travail mis de côté"
    RestoredWork,  // work restored at start-up
};

constexpr WorkParts partsReplaced(Opening opening)
{
    switch (opening) {
    case Opening::Situation:
        return kSceneSide | kTablePart | kFileNamePart | kScreenPart;
    case Opening::SceneFromText:
        return kSceneSide | kTablePart | kScreenPart;
    case Opening::Exercise:
        return kSceneSide | kTablePart | kExercisePart | kScreenPart;
    case Opening::SetAside:
    case Opening::RestoredWork:
        return kAllWork;
    }
    return kAllWork;
}

// The one rule: an opening is an undo step when undo puts back everything it replaces; otherwise
// the history is cleared, and the opened work is the new start.
constexpr bool openingIsUndoable(Opening opening)
{
    return (partsReplaced(opening) & ~partsKept(WorkUse::Undo)) == 0;
}

// The situation (records) of the scene and the table.
Situation situationOf(const SceneState &scene, const ValueTable::Snapshot &table);
// The table a situation gives, with the format and active cell of `around`.
ValueTable::Snapshot tableOf(const Situation &situation, const ValueTable::Snapshot &around);

} // namespace vorlac
