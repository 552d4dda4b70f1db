#include "recovery/recoverykeeper.h"

#include "common/crlf.h"
#include "common/hintline.h"
#include "common/messenger.h"
#include "exercises/exercisearea.h"
#include "exercises/exerciseauthoring.h"
#include "recovery/recoverysummary.h"
#include "recovery/setasidedialog.h"
#include "recovery/workbinder.h"
#include "recovery/workwatcher.h"
#include "rtf/rtf.h"
#include "situations/dialogplacement.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace vorlac
{

namespace
{

QWidget *messageParent(QWidget *window)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal : window;
}

} // namespace

RecoveryKeeper::RecoveryKeeper(Parts parts, const QString &folder, const Messenger &messenger, RecoveryTiming timing)
    : QObject(parts.window), m_parts(parts), m_messenger(messenger),
      m_store(folder, QCoreApplication::applicationPid()),
      m_watcher(new WorkWatcher(timing.quietMs, timing.longestMs, this))
{
    m_writer = std::make_unique<RecoveryWriter>(m_store, [this](bool ok, const QString &reason) {
        QMetaObject::invokeMethod(
            this, [this, ok, reason] { writeFinished(ok, reason); }, Qt::QueuedConnection);
    });

    // The work binder's one list of what changes the work.
    m_watcher->watch(m_parts.work, &WorkBinder::changed);
    connect(m_watcher, &WorkWatcher::settled, this, &RecoveryKeeper::writeNow);
}

RecoveryKeeper::~RecoveryKeeper()
{
    // The writer finishes what it was given: work noted just before the end is not lost.
    m_writer.reset();
}

RecoveryWork RecoveryKeeper::capture() const
{
    RecoveryWork w;
    w.processId = QCoreApplication::applicationPid();
    w.savedAtMs = QDateTime::currentMSecsSinceEpoch();
    w.work = m_parts.work->capture(partsKept(WorkUse::Recovery));
    return w;
}

void RecoveryKeeper::restore(const RecoveryWork &work)
{
    m_watcher->setSuspended(true);
    m_parts.work->restore(work.work, partsKept(WorkUse::Recovery));
    m_watcher->setSuspended(false);
}

void RecoveryKeeper::writeNow()
{
    if (m_discarded)
        return;
    if (const std::optional<QByteArray> bytes = serialiseRecovery(capture()))
        m_writer->submit(*bytes);
}

void RecoveryKeeper::waitForWrites()
{
    m_writer->waitIdle();
    // The results are posted to this thread: take them in now.
    QCoreApplication::sendPostedEvents(this);
}

void RecoveryKeeper::discard()
{
    m_discarded = true;
    m_writer->waitIdle();
    m_store.discard();
}

void RecoveryKeeper::writeFinished(bool ok, const QString &reason)
{
    emit written(ok);
    if (ok || m_failureShown || m_discarded)
        return;
    // Said once a run: the program goes on, and later changes are tried again without a word.
    m_failureShown = true;
    m_failureReason = reason;
    showWriteFailure();
}

void RecoveryKeeper::showWriteFailure()
{
    // Not in the middle of a drag: the message waits for the buttons to be let go.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        QTimer::singleShot(500, this, &RecoveryKeeper::showWriteFailure);
        return;
    }
    QString text = QStringLiteral("Le travail en cours ne peut pas être enregistré automatiquement dans le dossier ") +
                   QDir::toNativeSeparators(m_store.folder()) + QStringLiteral(".");
    if (!m_failureReason.isEmpty())
        text += kCrLf + m_failureReason;
    text += kCrLf + QStringLiteral("Le simulateur continue de fonctionner : pensez à enregistrer votre travail.");
    m_messenger.ask(messageParent(m_parts.window), QMessageBox::Warning,
                    QStringLiteral("Sauvegarde automatique impossible"), text, QMessageBox::Ok);
}

namespace
{

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

const QString kFindAgain = QStringLiteral("Le bouton « Travail mis de côté… » de la fenêtre « Ouvrir une "
                                          "configuration » permet de le retrouver.");

} // namespace

void RecoveryKeeper::reportUnreadable(const RecoveryOrphan &orphan, RecoveryFailure failure)
{
    const QString aside = orphan.cleanable ? m_store.setAside(orphan.path, QStringLiteral("abime")) : QString();
    QString text = failure == RecoveryFailure::NewerFormat
                       ? QStringLiteral("Le travail non enregistré d'une séance précédente a été écrit par une "
                                        "version plus récente du simulateur et ne peut pas être repris.")
                       : QStringLiteral("Le travail non enregistré d'une séance précédente est illisible "
                                        "(fichier endommagé) et ne peut pas être repris.");
    if (!aside.isEmpty())
        text += kCrLf + QStringLiteral("Le fichier a été mis de côté : ") + native(aside);
    else
        text += kCrLf + QStringLiteral("Le fichier %1 ne peut pas être retiré de son dossier, qui est en lecture "
                                       "seule.")
                            .arg(native(orphan.path));
    m_messenger.critical(messageParent(m_parts.window), QStringLiteral("Travail non récupérable"), text);
}

bool RecoveryKeeper::askRestore(const RecoveryWork &work, const RecoveryOrphan &orphan, const QString &aside)
{
    const QLocale french(QLocale::French, QLocale::France);
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(work.savedAtMs).toLocalTime();
    QString text = QStringLiteral("Le simulateur s'est arrêté sans que le travail en cours soit enregistré (dernière "
                                  "modification le %1 à %2).")
                       .arg(french.toString(when.date(), QStringLiteral("dd/MM/yyyy")),
                            french.toString(when.time(), QStringLiteral("HH:mm")));
    if (const std::optional<RecoveredDraft> &draft = work.work.draft)
        text += kCrLf + QStringLiteral("Il comprend l'exercice en cours d'écriture « %1 », qui sera rouvert.")
                            .arg(draft->set.title.isEmpty() ? QStringLiteral("sans titre") : draft->set.title);
    text += kCrLf + kCrLf + QStringLiteral("Restaurer ce travail non enregistré ?") + kCrLf;
    if (orphan.cleanable)
        text += QStringLiteral("(Annuler : le simulateur démarre comme d'habitude ; le travail est mis de côté dans "
                               "le fichier %1. ")
                    .arg(native(aside)) +
                kFindAgain + QLatin1Char(')');
    else
        text += QStringLiteral("(Annuler : le simulateur démarre comme d'habitude.)") + kCrLf + kCrLf +
                QStringLiteral("Ce travail est dans le dossier %1, qui est en lecture seule : il ne peut pas en être "
                               "retiré et sera proposé de nouveau au prochain démarrage.")
                    .arg(native(QFileInfo(orphan.path).path()));
    return m_messenger.ask(messageParent(m_parts.window), QMessageBox::Question,
                           QStringLiteral("Restaurer le travail non enregistré"), text,
                           QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool RecoveryKeeper::keepRestoredOver(const QString &fileToOpen, const RecoveryOrphan &orphan)
{
    const QString aside =
        orphan.cleanable ? m_store.setAsideTarget(orphan.path, QStringLiteral("ouverture")) : QString();
    QString text = QStringLiteral("Un travail non enregistré vient d'être restauré, et le fichier %1 est en cours "
                                  "d'ouverture : il remplacerait ce travail.")
                       .arg(native(fileToOpen)) +
                   kCrLf + kCrLf +
                   QStringLiteral("Garder le travail restauré : le fichier n'est pas ouvert ; il reste à sa place et "
                                  "pourra être ouvert plus tard.") +
                   kCrLf;
    if (orphan.cleanable)
        text += QStringLiteral("Ouvrir le fichier : le travail restauré est mis de côté dans le fichier %1. ")
                    .arg(native(aside)) +
                kFindAgain;
    else
        text += QStringLiteral("Ouvrir le fichier : le travail restauré reste dans le dossier %1, en lecture seule, "
                               "et sera proposé de nouveau au prochain démarrage.")
                    .arg(native(QFileInfo(orphan.path).path()));
    const QMessageBox::StandardButton answer = m_messenger.askLabelled(
        messageParent(m_parts.window), QMessageBox::Question, QStringLiteral("Travail non enregistré"), text,
        {{QMessageBox::Cancel, QStringLiteral("Garder le travail restauré")},
         {QMessageBox::Open, QStringLiteral("Ouvrir le fichier")}});
    if (answer != QMessageBox::Open)
        return true;
    if (orphan.cleanable && m_store.setAside(orphan.path, QStringLiteral("ouverture"), aside).isEmpty())
        return true; // it could not be moved out of the way: nothing is lost, the file waits
    return false;
}

void RecoveryKeeper::keep(const RecoveryOrphan &orphan)
{
    if (!orphan.cleanable)
        return; // the folder refuses it; the question said so
    // The restored file becomes this program's own in one rename, so that a kill at any moment
    // leaves the work in one file.
    m_writer->waitIdle();
    if (!m_store.adopt(orphan.path)) {
        writeNow();
        m_writer->waitIdle();
        m_store.setAside(orphan.path, QStringLiteral("restaure"));
    }
}

bool RecoveryKeeper::offer(const QString &fileToOpen)
{
    m_store.sweep();
    bool openFile = true;
    for (const RecoveryOrphan &orphan : m_store.orphans()) {
        const RecoveryResult read = readRecoveryFile(orphan.path);
        if (!read.work) {
            reportUnreadable(orphan, read.failure);
            continue;
        }
        const QString aside =
            orphan.cleanable ? m_store.setAsideTarget(orphan.path, QStringLiteral("annule")) : QString();
        if (!askRestore(*read.work, orphan, aside)) {
            if (orphan.cleanable)
                m_store.setAside(orphan.path, QStringLiteral("annule"), aside);
            continue;
        }
        const RecoveryWork startState = capture();
        restore(*read.work);
        if (fileToOpen.isEmpty() || keepRestoredOver(fileToOpen, orphan)) {
            openFile = fileToOpen.isEmpty();
            keep(orphan);
        } else {
            // The file opens over the start-up state, as if nothing had been restored.
            restore(startState);
        }
        break;
    }
    // The others wait for a later start.
    m_store.dropOrphanLocks();
    return openFile;
}

QList<SetAsideRow> RecoveryKeeper::setAsideRows() const
{
    QList<SetAsideRow> rows;
    for (const SetAsidePiece &piece : m_store.setAsidePieces()) {
        SetAsideRow row{piece.path, {}, {}, setAsideReasonText(piece.why)};
        if (const RecoveryResult read = readRecoveryFile(piece.path); read.work) {
            row.changedAt = QDateTime::fromMSecsSinceEpoch(read.work->savedAtMs).toLocalTime();
            row.summary = recoveryWorkSummary(*read.work);
        }
        rows << row;
    }
    return rows;
}

QString RecoveryKeeper::chooseSetAside(QWidget *parent)
{
    SetAsideDialog dialog(m_store.folder(), setAsideRows(), m_parts.hints, parent);
    dialog.setRemover([this, &dialog](const QString &path) {
        if (m_messenger.ask(&dialog, QMessageBox::Question, QStringLiteral("Supprimer le travail mis de côté"),
                            QStringLiteral("Ce travail non enregistré sera supprimé définitivement :\n") + native(path),
                            QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return false;
        if (QFile::remove(path) || !QFileInfo::exists(path))
            return true;
        m_messenger.critical(&dialog, QStringLiteral("Travail mis de côté"),
                             QStringLiteral("Ce travail n'a pas pu être supprimé (le dossier est peut-être en lecture "
                                            "seule) : ") +
                                 native(path));
        return false;
    });
    if (showSetAsideDialog)
        showSetAsideDialog(dialog);
    else
        dialog.exec();
    return dialog.result() == QDialog::Accepted ? dialog.chosenPath() : QString();
}

bool RecoveryKeeper::openSetAside(const QString &path)
{
    const RecoveryResult read = readRecoveryFile(path);
    if (!read.work) {
        m_messenger.critical(messageParent(m_parts.window), QStringLiteral("Travail non récupérable"),
                             QStringLiteral("Ce travail mis de côté est illisible et ne peut pas être ouvert : ") +
                                 native(path));
        return false;
    }
    const bool replacesText = !read.work->work.exercise.fileField.isEmpty() || read.work->work.draft ||
                              (m_parts.authoring && m_parts.authoring->draft());
    if (replacesText && m_parts.exercises->session().exerciseTextModified() &&
        m_messenger.ask(messageParent(m_parts.window), QMessageBox::Question, QStringLiteral("Abandon des données?"),
                        QStringLiteral("Attention: perte des modifications du texte."),
                        QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return false;
    restore(*read.work);
    if (m_parts.workReplaced)
        m_parts.workReplaced();
    writeNow(); // the restore itself notes no change
    return true;
}

void RecoveryKeeper::addSetAsideButton(QDialog &openDialog)
{
    // Beside OUVRIR and ANNULER, under the folder list.
    QPushButton *button =
        addDialogButton(&openDialog, "travailMisDeCote", QStringLiteral("Travail mis de côté…"), {8, 244, 200, 25});
    button->setToolTip(QStringLiteral("Retrouver un travail non enregistré mis de côté au démarrage"));
    if (m_parts.hints)
        m_parts.hints->addHint(button, QStringLiteral("Rouvrir un travail non enregistré que le simulateur a mis de "
                                                      "côté au démarrage, après un arrêt imprévu"));
    connect(button, &QPushButton::clicked, &openDialog, [this, dialog = &openDialog] {
        const QString path = chooseSetAside(dialog);
        if (path.isEmpty())
            return;
        dialog->reject();
        openSetAside(path);
    });
}

} // namespace vorlac
