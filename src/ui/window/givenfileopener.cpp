#include "window/givenfileopener.h"

#include "common/givenfiles.h"
#include "common/messenger.h"
#include "exercises/exercisecommands.h"
#include "situations/opendialog.h"
#include "situations/situationbinder.h"
#include "window/vorlacwindow.h"

namespace vorlac
{

namespace
{

void openGiven(Vorlac &window, const GivenFiles &given)
{
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

} // namespace

void openGivenFiles(Vorlac &window, const QStringList &arguments, const QString &currentFolder)
{
    openGiven(window, sortGivenFiles(arguments, currentFolder));
}

void startWithGivenFiles(Vorlac &window, const QStringList &arguments, const QString &currentFolder)
{
    GivenFiles given = sortGivenFiles(arguments, currentFolder);
    if (!window.offerRecovery(given.open))
        given.kind = GivenFiles::Kind::None; // the restored work was kept; the file stays where it is
    openGiven(window, given);
}

} // namespace vorlac
