#include "situations/situationfile.h"

#include "common/atomicwrite.h"
#include "common/boundedread.h"

#include <QFile>
#include <QFileInfo>

namespace vorlac
{

SituationResult readSituationFile(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return {std::nullopt, SituationFailure::NotOurs};
    if (!info.isFile())
        return {std::nullopt, SituationFailure::Unreadable};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, SituationFailure::Unreadable};
    const QByteArray bytes = readAtMost(file, kSituationMaxBytes);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, SituationFailure::Unreadable};
    return parseSituation(bytes);
}

bool writeSituationFile(const QString &path, const Situation &situation)
{
    const std::optional<QByteArray> bytes = serialiseSituation(situation);
    if (!bytes || path.isEmpty())
        return false;
    return writeFileAtomically(path, *bytes);
}

} // namespace vorlac
