#include "recovery/recoverysummary.h"

#include "common/boundedread.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <algorithm>

namespace vorlac
{

RecoveryResult readRecoveryFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {std::nullopt, RecoveryFailure::Damaged};
    return parseRecovery(readAtMost(f, kRecoveryMaxBytes + 1));
}

QString recoveryWorkSummary(const RecoveryWork &recovery)
{
    const Work &work = recovery.work;
    const QLocale french(QLocale::French, QLocale::France);
    QStringList parts;
    parts << (work.situationFileName.isEmpty()
                  ? QStringLiteral("situation sans nom")
                  : QStringLiteral("situation ") + QFileInfo(work.situationFileName).fileName());
    const SceneState &scene = work.scene;
    parts << QStringLiteral("A = %1°, i = %2°")
                 .arg(french.toString(scene.apexAngle), french.toString(scene.incidenceAngle, 'f', 1));
    const auto filled = std::count_if(work.table.cells.cbegin() + 1, work.table.cells.cend(), [](const auto &line) {
        return std::any_of(line.cbegin(), line.cend(), [](const QString &cell) { return !cell.trimmed().isEmpty(); });
    });
    parts << (filled == 0   ? QStringLiteral("tableau vide")
              : filled == 1 ? QStringLiteral("1 ligne de mesures")
                            : QStringLiteral("%1 lignes de mesures").arg(filled));
    if (!work.exercise.fileField.isEmpty())
        parts << QStringLiteral("exercice ") + QFileInfo(work.exercise.fileField).fileName() +
                     (work.exercise.edited ? QStringLiteral(" (texte modifié)") : QString());
    if (work.draft)
        parts << QStringLiteral("exercice en cours d'écriture « %1 »")
                     .arg(work.draft->set.title.isEmpty() ? QStringLiteral("sans titre") : work.draft->set.title);
    return parts.join(QStringLiteral(" ; "));
}

QString setAsideReasonText(const QString &why)
{
    if (why == QLatin1String("annule"))
        return QStringLiteral("non restauré au démarrage");
    if (why == QLatin1String("ouverture"))
        return QStringLiteral("remplacé par un fichier ouvert au démarrage");
    if (why == QLatin1String("abime"))
        return QStringLiteral("illisible");
    if (why == QLatin1String("restaure"))
        return QStringLiteral("restauré, copie gardée");
    return why;
}

} // namespace vorlac
