#pragma once

#include "recovery/recoveryfile.h"

#include <QString>

namespace vorlac
{

// Reads a recovery file (never more than kRecoveryMaxBytes) and checks it; a file that cannot
// be read is "damaged".
RecoveryResult readRecoveryFile(const QString &path);

// What a piece of work holds, in one French line for a list: the situation's name, the apex
// and incidence angles, how many table lines hold values, and the exercise.
QString recoveryWorkSummary(const RecoveryWork &work);

// Why a piece was set aside (RecoveryStore::setAside's `why`), in French.
QString setAsideReasonText(const QString &why);

} // namespace vorlac
