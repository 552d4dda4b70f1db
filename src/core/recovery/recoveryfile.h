#pragma once

#include "work/work.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace vorlac
{

// Everything the unsaved work of one running program is made of.
struct RecoveryWork {
    qint64 processId = 0;
    qint64 savedAtMs = 0; // milliseconds since the epoch, UTC
    Work work;            // what Work's table says recovery keeps: all of it, exactly
    bool operator==(const RecoveryWork &) const = default;
};

// The file is a container: a 16-byte header (magic "VORLACRW", format version, section count,
// total length) and sections, each a 4-byte tag, its length, its bytes and a CRC of them.
// A reader skips sections it does not know, so later programs can add sections without a new
// version; a new version is only for changes older programs must refuse.
// Version 1 kept the scene and the table as situation-file bytes (which round numbers and leave
// out the lamp while it is not lit); version 2 writes them in sections of their own. Both read.
inline constexpr quint16 kRecoveryFormatVersion = 2;
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

// True when every value is one the program's controls accept (isValidSituation, and a lamp of the
// list, an active cell of the table).
bool isValidWork(const Work &work);

// nullopt when the work is not valid.
std::optional<QByteArray> serialiseRecovery(const RecoveryWork &work);

// Checks the whole container before building anything from it. Safe on any bytes.
RecoveryResult parseRecovery(QByteArrayView bytes);

} // namespace vorlac
