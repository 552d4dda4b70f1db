#pragma once

#include "exercises/exerciseset.h"
#include "model/protractor.h"
#include "situations/situation.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace vorlac
{

// The exercise open in the exercise area, as the recovery file keeps it. The text is kept as RTF
// (the program's own writer) whenever an exercise or a text is open, so that a statement, a
// correction or the pupil's edits come back without reading any other file.
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

// Everything the unsaved work of one running program is made of.
struct RecoveryWork {
    qint64 processId = 0;
    qint64 savedAtMs = 0; // milliseconds since the epoch, UTC
    Situation situation;  // the scene here is exact (the situation records round it)
    QString numberFormat;
    QString situationFileName; // the file saved or loaded last; "" for none
    ProtractorState protractor;
    bool protractorShown = false;
    RecoveredExercise exercise; // the pupil's side, also while an exercise is written
    std::optional<RecoveredDraft> draft;
    bool operator==(const RecoveryWork &) const = default;
};

// The file is a container: a 16-byte header (magic "VORLACRW", format version, section count,
// total length) and sections, each a 4-byte tag, its length, its bytes and a CRC of them.
// A reader skips sections it does not know, so later programs can add sections without a new
// version; a new version is only for changes older programs must refuse.
inline constexpr quint16 kRecoveryFormatVersion = 1;
// Nothing larger is read: the biggest situation plus a generous exercise text.
inline constexpr qint64 kRecoveryMaxBytes = 32 * 1024 * 1024;

enum class RecoveryFailure {
    None,
    NotOurs,    // not a recovery file at all (wrong magic, empty)
    Damaged,    // cut short, a section's CRC or length wrong, a value out of range
    NewerFormat // written by a later program in a format this one cannot read
};

struct RecoveryResult {
    std::optional<RecoveryWork> work; // set exactly when failure is None
    RecoveryFailure failure = RecoveryFailure::None;
};

// nullopt when the situation cannot be stored (see serialiseSituation).
std::optional<QByteArray> serialiseRecovery(const RecoveryWork &work);

// Checks the whole container before building anything from it. Safe on any bytes.
RecoveryResult parseRecovery(QByteArrayView bytes);

} // namespace vorlac
