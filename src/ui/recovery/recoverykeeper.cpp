#include "recovery/recoverykeeper.h"

#include "common/crlf.h"
#include "common/messenger.h"
#include "exercises/exercisecommands.h"
#include "exercises/rtf.h"
#include "recovery/workwatcher.h"
#include "simulator/exercisearea.h"
#include "simulator/panelframe.h"
#include "simulator/protractorpanel.h"
#include "simulator/protractorview.h"
#include "simulator/scenecontroller.h"
#include "situations/situationbinder.h"
#include "table/valuetable.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QTextDocument>
#include <QTextEdit>
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

    // Every source of changes to the work, one line each.
    WorkWatcher &w = *m_watcher;
    w.watch(m_parts.scene, &SceneController::sceneChanged);
    w.watch(m_parts.table, &ValueTable::cellsChanged);
    w.watch(m_parts.table, &ValueTable::tableReset);
    w.watch(m_parts.table, &ValueTable::numberFormatChanged);
    w.watch(m_parts.protractor, &PanelFrame::visibilityChanged);
    if (ProtractorView *view = m_parts.protractor->protractor())
        w.watch(view, &ProtractorView::stateChanged);
    w.watch(m_parts.exercises->text(), &QTextEdit::textChanged);
    w.watch(m_parts.exercises->fileField(), &QLineEdit::textChanged);

    connect(m_parts.exercises->text()->document(), &QTextDocument::contentsChanged, this,
            [this] { m_rtfStale = true; });
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
    w.situation = m_parts.situations->captureSituation();
    w.numberFormat = m_parts.table->TableNumberFormat();
    w.situationFileName = m_parts.situations->situationFileName();
    if (const ProtractorView *view = m_parts.protractor->protractor())
        w.protractor = view->state();
    w.protractorShown = !m_parts.protractor->isHidden();
    const ExerciseArea &area = *m_parts.exercises;
    if (!area.fileField()->text().isEmpty()) {
        RecoveredExercise &e = w.exercise;
        e.fileField = area.fileField()->text();
        e.folder = m_parts.exerciseCommands ? m_parts.exerciseCommands->exerciseFolder() : QString();
        e.editable = !area.text()->isReadOnly();
        e.edited = area.exerciseTextModified == 1;
        e.hasCorrection = area.correctionAvailable == 1;
        if (m_rtfStale) {
            m_rtf = writeRtf(*area.text()->document());
            m_rtfStale = false;
        }
        e.rtf = m_rtf;
    }
    return w;
}

void RecoveryKeeper::restore(const RecoveryWork &work)
{
    m_watcher->setSuspended(true);
    m_parts.situations->applySituation(work.situation);
    m_parts.situations->setSituationFileName(work.situationFileName);
    // The format comes after the cells: they were stored as shown.
    m_parts.table->setTableNumberFormat(work.numberFormat);
    if (ProtractorView *view = m_parts.protractor->protractor())
        view->setState(work.protractor);
    if (work.protractorShown)
        m_parts.protractor->open();
    else
        m_parts.protractor->hide();
    if (m_parts.exerciseCommands)
        m_parts.exerciseCommands->restoreExercise(work.exercise);
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

QString RecoveryKeeper::describe(const QString &path) const
{
    return QDir::toNativeSeparators(path);
}

void RecoveryKeeper::offer()
{
    const QLocale french(QLocale::French, QLocale::France);
    for (const QString &path : m_store.orphans()) {
        QFile f(path);
        QByteArray bytes;
        if (f.open(QIODevice::ReadOnly))
            bytes = f.read(kRecoveryMaxBytes + 1);
        f.close();
        const RecoveryResult read = parseRecovery(bytes);
        if (!read.work) {
            const QString aside = m_store.setAside(path, QStringLiteral("abime"));
            QString text = read.failure == RecoveryFailure::NewerFormat
                               ? QStringLiteral("Le travail non enregistré d'une séance précédente a été écrit par une "
                                                "version plus récente du simulateur et ne peut pas être repris.")
                               : QStringLiteral("Le travail non enregistré d'une séance précédente est illisible "
                                                "(fichier endommagé) et ne peut pas être repris.");
            if (!aside.isEmpty())
                text += kCrLf + QStringLiteral("Le fichier a été mis de côté : ") + describe(aside);
            m_messenger.critical(messageParent(m_parts.window), QStringLiteral("Travail non récupérable"), text);
            continue;
        }
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(read.work->savedAtMs).toLocalTime();
        const QString text =
            QStringLiteral("Le simulateur s'est arrêté sans que le travail en cours soit enregistré (dernière "
                           "modification le %1 à %2).")
                .arg(french.toString(when.date(), QStringLiteral("dd/MM/yyyy")),
                     french.toString(when.time(), QStringLiteral("HH:mm"))) +
            kCrLf + kCrLf + QStringLiteral("Restaurer ce travail non enregistré ?") + kCrLf +
            QStringLiteral("(Annuler : le simulateur démarre comme d'habitude ; le travail est mis de côté.)");
        if (m_messenger.ask(messageParent(m_parts.window), QMessageBox::Question,
                            QStringLiteral("Restaurer le travail non enregistré"), text,
                            QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
            m_store.setAside(path, QStringLiteral("annule"));
            continue;
        }
        restore(*read.work);
        // The work lives on in this program's own file before the old one goes.
        writeNow();
        m_writer->waitIdle();
        if (QFileInfo::exists(m_store.filePath()))
            m_store.release(path);
        else
            m_store.setAside(path, QStringLiteral("restaure"));
        return;
    }
}

} // namespace vorlac
