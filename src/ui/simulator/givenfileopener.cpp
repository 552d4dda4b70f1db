#include "simulator/givenfileopener.h"

#include "common/givenfiles.h"
#include "common/messenger.h"
#include "exercises/exercisecommands.h"
#include "simulator/vorlacwindow.h"
#include "situations/opendialog.h"
#include "situations/situationbinder.h"

namespace vorlac
{

void openGivenFiles(Vorlac &window, const QStringList &arguments, const QString &currentFolder)
{
    const GivenFiles given = sortGivenFiles(arguments, currentFolder);
    switch (given.kind) {
    case GivenFiles::Kind::Situation:
        if (checkSituationPath(window.messenger(), &window, given.open))
            window.situations().LoadSituation(given.open);
        break;
    case GivenFiles::Kind::Exercise:
        window.exerciseCommands().openExerciseFile(given.open);
        break;
    case GivenFiles::Kind::None:
        break;
    }
    if (!given.refused.isEmpty())
        window.messenger().critical(&window,
                                    given.refused.size() == 1 ? QStringLiteral("Fichier non ouvert")
                                                              : QStringLiteral("Fichiers non ouverts"),
                                    refusedFilesText(given.refused));
}

} // namespace vorlac
