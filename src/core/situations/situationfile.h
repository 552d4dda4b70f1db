#pragma once

#include "situations/situation.h"

#include <QString>

namespace vorlac
{

// Reads the situation file at path. No file there: NotOurs. Anything that is not a regular file
// (a folder, a FIFO, a device) or cannot be read: Unreadable. At most kSituationMaxBytes are
// read, so no file, however large, costs more than the largest situation.
SituationResult readSituationFile(const QString &path);

// Writes the whole file through writeFileAtomically: either the new file is complete, or the
// old one (if any) is left byte for byte as it was. False on any failure (a full disk, a name
// that is not a regular file, a situation that cannot be stored).
bool writeSituationFile(const QString &path, const Situation &situation);

} // namespace vorlac
