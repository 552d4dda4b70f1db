#include "exercises/exercisecommands.h"

#include "common/crlf.h"
#include "common/filedialogs.h"
#include "common/messenger.h"
#include "exercises/exercisearea.h"
#include "exercises/exercisefile.h"
#include "exercises/exercisetext.h"
#include "exercises/fichexo.h"
#include "output/printservice.h"
#include "output/textpages.h"
#include "recovery/recoveryfile.h"
#include "rtf/rtf.h"
#include "situations/situationbinder.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPrinter>
#include <QTextEdit>

namespace vorlac
{

namespace
{

const QString kRtfFilter = QStringLiteral("Texte au format RTF (*.RTF *.rtf)");
const QString kGettingStarted = QStringLiteral("VORLAC.PEM");
const QString kTextPrefix = QStringLiteral("Texte: "); // `fich` of a text opened on its own

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// The hourglass while a correction loads, put back on every way out.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

ExerciseEnvironment::ExerciseEnvironment()
{
    saveTextName = [](QWidget *parent, const QString &folder) {
        return askForFile(parent, {QStringLiteral("Enregistrer le contenu de la fenêtre exercice"),
                                   folder,
                                   QString(),
                                   {kRtfFilter},
                                   QStringLiteral("RTF")});
    };
    openTextName = [](QWidget *parent, const QString &folder) {
        return askForFile(
            parent,
            {QStringLiteral("Retrouver un texte"), folder, QStringLiteral("*.rtf"), {kRtfFilter}, QString(), false});
    };
    showFichexo = [](Fichexo &window) { window.exec(); };
}

ExerciseCommands::ExerciseCommands(Parts parts, const Messenger &messenger, ExerciseEnvironment environment)
    : QObject(parts.window), m_parts(std::move(parts)), m_messenger(messenger), m_env(std::move(environment)),
      m_folders(m_parts.folders ? m_parts.folders : &m_ownFolders)
{
    m_ownFolders.setWork({{}, [this] { return openExerciseFolder(); }});
}

QString ExerciseCommands::exerciseFolder() const
{
    return m_parts.area->session().folder();
}

QString ExerciseCommands::openExerciseFolder() const
{
    const QString open = m_parts.area->session().fileName();
    return open.isEmpty() || open.startsWith(kTextPrefix) ? QString() : exerciseFolder();
}

bool ExerciseCommands::mayLoseEdits() const
{
    if (!m_parts.area->session().exerciseTextModified())
        return true;
    return m_messenger.ask(m_parts.window, QMessageBox::Question, QStringLiteral("Abandon des données?"),
                           QStringLiteral("Attention: perte des modifications du texte."),
                           QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void ExerciseCommands::readFailure() const
{
    m_messenger.critical(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_parts.window,
                         QStringLiteral("Lecture impossible"),
                         QStringLiteral("Vérifier:") + kCrLf + QStringLiteral("- le nom du fichier,") + kCrLf +
                             QStringLiteral("- l'état du lecteur."));
}

bool ExerciseCommands::loadExerciseText(const QString &storedName, bool reportAsInstallation)
{
    const QString path = resolveExerciseName(exerciseFolder(), storedName);
    // A name leading outside the exercise's folder is never opened.
    TextFileStatus status = path.isEmpty() ? TextFileStatus::Unreadable : TextFileStatus::Missing;
    if (!isBlankRecord(storedName) && !path.isEmpty())
        m_parts.area->loadText([&](QTextDocument &document) {
            status = readRtfFile(path, document);
            return status == TextFileStatus::Read;
        });
    if (status == TextFileStatus::Read)
        return true;
    QWidget *parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_parts.window;
    if (reportAsInstallation)
        m_messenger.critical(parent, QStringLiteral("Erreur lors du chargement"),
                             QStringLiteral("Fichier introuvable. Revoir l'installation du logiciel."));
    else if (status == TextFileStatus::Missing)
        m_messenger.critical(parent, QStringLiteral("Fichier absent"),
                             QStringLiteral("Le fichier ") + exerciseFolder() +
                                 QString(storedName.trimmed()).replace(QLatin1Char('\\'), QLatin1Char('/')) +
                                 QStringLiteral(" est introuvable"));
    else
        readFailure();
    return false;
}

void ExerciseCommands::loadSituation(const QString &storedName)
{
    // LoadSituation reports its own failures; the exercise goes on without the situation.
    if (isBlankRecord(storedName))
        return;
    const QString path = resolveExerciseName(exerciseFolder(), storedName);
    if (path.isEmpty())
        readFailure();
    else
        m_parts.situations->LoadSituation(path);
}

void ExerciseCommands::showExercise(bool editable, bool textReplaced)
{
    m_parts.area->text()->setReadOnly(!editable);
    // Cleared only now that a new text has replaced the edited one.
    if (textReplaced)
        m_parts.area->session().setExerciseTextModified(false);
    if (m_parts.hidePanels)
        m_parts.hidePanels();
    if (m_parts.workReplaced)
        m_parts.workReplaced();
}

void ExerciseCommands::PRISENMAIN()
{
    const QString folder = withSeparator(m_parts.programDirectory);
    const QString path = folder + kGettingStarted;
    if (!QFileInfo::exists(path))
        return;
    // The pupil's answers are not thrown away without a word.
    if (!mayLoseEdits())
        return;
    m_parts.area->session().setFolder(folder);
    const std::optional<ExerciseFile> start = readExerciseFile(path);
    if (!start) {
        m_messenger.critical(m_parts.window, QStringLiteral("Erreur lors du chargement"),
                             QStringLiteral("Fichier introuvable. Revoir l'installation du logiciel."));
        return;
    }
    if (!loadExerciseText(start->statement, true))
        return;
    m_parts.area->session().setFileName(path);
    m_parts.area->session().setCorrectionAvailable(false);
    loadSituation(start->statementSituation);
    showExercise(true);
}

void ExerciseCommands::openexo()
{
    if (!mayLoseEdits())
        return;
    // Always the shipped exercises first; the pupil browses from there.
    Fichexo window(
        m_messenger, m_parts.programDirectory, [this](const QString &path) { return openExerciseFile(path); },
        m_parts.window);
    m_env.showFichexo(window);
}

void ExerciseCommands::showWrittenExercise(const QString &path, const std::function<bool()> &mayOpen)
{
    const QFileInfo written(path);
    Fichexo window(
        m_messenger, written.absolutePath(),
        [this, mayOpen](const QString &chosen) {
            return mayLoseEdits() && (!mayOpen || mayOpen()) && openExerciseFile(chosen);
        },
        m_parts.window);
    window.selectOnShow(written.fileName());
    m_env.showFichexo(window);
}

bool ExerciseCommands::openExerciseFile(const QString &path)
{
    const std::optional<ExerciseFile> exercise = readExerciseFile(path);
    if (!exercise) {
        readFailure();
        return false;
    }
    const QString previousFolder = exerciseFolder();
    m_parts.area->session().setFolder(withSeparator(QFileInfo(path).absolutePath()));
    if (!loadExerciseText(exercise->statement)) {
        m_parts.area->session().setFolder(previousFolder);
        return false;
    }
    m_parts.area->session().setFileName(path);
    m_parts.area->session().setCorrectionAvailable(exercise->corrected());
    loadSituation(exercise->statementSituation);
    showExercise(true);
    return true;
}

void ExerciseCommands::opencor()
{
    if (!mayLoseEdits())
        return;
    WaitCursor wait;
    const std::optional<ExerciseFile> exercise = readExerciseFile(m_parts.area->session().fileName());
    if (!exercise) {
        readFailure();
        return;
    }
    const bool hasText = !isBlankRecord(exercise->correction);
    if (hasText && !loadExerciseText(exercise->correction))
        return;
    loadSituation(exercise->correctionSituation);
    showExercise(false, hasText);
}

void ExerciseCommands::savetexte()
{
    const QString path = m_env.saveTextName
                             ? m_env.saveTextName(m_parts.window, m_folders->startFolder(FileKind::ExerciseText))
                             : QString();
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path) &&
        m_messenger.ask(m_parts.window, QMessageBox::Question, QStringLiteral("Ecraser le fichier?"),
                        QStringLiteral("Le fichier ") + path + QStringLiteral(" existe déjà.") + kCrLf +
                            QStringLiteral("Ecraser l'ancien?"),
                        QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    if (!writeRtfFile(path, *m_parts.area->text()->document())) {
        // The flag stays: the text is still not saved anywhere.
        m_messenger.critical(m_parts.window, QStringLiteral("Erreur d'écriture."),
                             QStringLiteral("Vérifier l'état du lecteur et le nom du fichier."));
        return;
    }
    m_folders->remember(FileKind::ExerciseText, path);
    m_parts.area->session().setExerciseTextModified(false);
}

void ExerciseCommands::opentexte()
{
    if (!mayLoseEdits())
        return;
    const QString path = m_env.openTextName
                             ? m_env.openTextName(m_parts.window, m_folders->startFolder(FileKind::ExerciseText))
                             : QString();
    if (path.isEmpty())
        return;
    TextFileStatus status = TextFileStatus::Missing;
    m_parts.area->loadText([&](QTextDocument &document) {
        status = readRtfFile(path, document);
        return status == TextFileStatus::Read;
    });
    if (status != TextFileStatus::Read) {
        // Nothing was replaced: the old text keeps its name and its flags.
        m_messenger.critical(m_parts.window, QStringLiteral("Erreur de lecture."),
                             QStringLiteral("Vérifier l'état du lecteur et le nom du fichier."));
        return;
    }
    m_folders->remember(FileKind::ExerciseText, path);
    m_parts.area->session().setCorrectionAvailable(false);
    m_parts.area->text()->setReadOnly(false);
    m_parts.area->session().setFileName(kTextPrefix + path);
    m_parts.area->session().setExerciseTextModified(false);
}

void ExerciseCommands::imprimetexte()
{
    PrintService &service = *m_parts.print;
    QTextEdit *text = m_parts.area->text();
    const QTextCursor cursor = text->textCursor();
    const bool selection = cursor.hasSelection();
    if (service.hasPrinter())
        service.printer().setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
    if (!service.setupForJob(m_parts.window))
        return;
    const bool onlySelection =
        selection && (!service.hasPrinter() || service.printer().printRange() != QPrinter::AllPages);
    const int from = onlySelection ? cursor.selectionStart() : 0;
    const int to = onlySelection ? cursor.selectionEnd() : 0;
    const QTextDocument *document = text->document();
    // Failures are reported by the print service.
    service.print(m_parts.window, QStringLiteral("Vorlac - exercice"), [&](PrintPages &pages) {
        QPagedPaintDevice &device = pages.device();
        return paintTextPages(
                   *document, pages.painter(), QSizeF(device.width(), device.height()),
                   [&pages] { return pages.newPage(); }, from, to) > 0;
    });
}

void ExerciseCommands::Closexo()
{
    if (!mayLoseEdits())
        return;
    m_parts.area->session().setExerciseTextModified(false);
    m_parts.area->session().setFileName(QString());
    m_parts.area->showIntroduction();
    m_parts.area->session().setCorrectionAvailable(false);
}

bool ExerciseCommands::restoreExercise(const RecoveredExercise &e)
{
    if (e.fileField.isEmpty()) {
        // Work without an exercise: the introduction, as at start-up.
        m_parts.area->session().setExerciseTextModified(false);
        m_parts.area->session().setFileName(QString());
        m_parts.area->showIntroduction();
        m_parts.area->session().setCorrectionAvailable(false);
        return true;
    }
    if (!m_parts.area->loadText([&](QTextDocument &document) { return readRtf(e.rtf, document); }))
        return false;
    m_parts.area->session().setFolder(e.folder);
    m_parts.area->session().setFileName(e.fileField);
    m_parts.area->session().setCorrectionAvailable(e.hasCorrection);
    m_parts.area->text()->setReadOnly(!e.editable);
    m_parts.area->session().setExerciseTextModified(e.edited);
    return true;
}

} // namespace vorlac
