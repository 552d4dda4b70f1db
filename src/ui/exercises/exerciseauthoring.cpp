#include "exercises/exerciseauthoring.h"

#include "common/dialogfolders.h"
#include "common/filedialogs.h"
#include "common/hintline.h"
#include "common/menus.h"
#include "common/messenger.h"
#include "common/panelplaces.h"
#include "exercises/authoringpanel.h"
#include "exercises/exercisearea.h"
#include "exercises/exercisefile.h"
#include "exercises/exercisetext.h"
#include "exercises/formatbar.h"
#include "exercises/writingmode.h"
#include "render/scenerenderer.h"
#include "rtf/rtf.h"
#include "situations/situation.h"
#include "situations/situationbinder.h"
#include "situations/situationnames.h"
#include "work/work.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace vorlac
{

namespace
{

// The picture of a situation, drawn from its file as the scene would draw it.
QImage thumbnailOf(const QByteArray &situation)
{
    const SituationResult read = parseSituation(situation);
    if (!read.situation)
        return {};
    ScenePicture picture;
    RedrawScene(read.situation->scene, picture);
    return picture.image;
}

bool isExerciseFile(const QString &path)
{
    return path.endsWith(QLatin1String(".E01"), Qt::CaseInsensitive) && QFileInfo(path).isFile();
}

} // namespace

ExerciseAuthoring::ExerciseAuthoring(Parts parts, const Messenger &messenger, AuthoringEnvironment environment)
    : QObject(parts.window), m_parts(std::move(parts)), m_messenger(messenger), m_env(std::move(environment)),
      m_draft(new ExerciseDraft(this)), m_writing(new WritingMode(*m_parts.area, *m_parts.hints, this))
{
    QMenu *menu = m_parts.area->menu();
    addNamedSeparator(menu, "separation4");
    const struct {
        const char *name;
        QString caption, tip;
        void (ExerciseAuthoring::*command)();
    } items[] = {
        {"nouvelexo", QStringLiteral("Nouvel exercice…"),
         QStringLiteral("Écrire un exercice : énoncé, correction, situations, titre et notions"),
         &ExerciseAuthoring::nouvelexo},
        {"modifexo", QStringLiteral("Modifier l'exercice…"),
         QStringLiteral("Reprendre l'exercice ouvert pour le modifier"), &ExerciseAuthoring::modifexo},
        {"verifexo", QStringLiteral("Vérifier un dossier d'exercices…"),
         QStringLiteral("Lister ce qui empêcherait un élève d'ouvrir les exercices d'un dossier"),
         &ExerciseAuthoring::verifexo},
    };
    for (const auto &item : items) {
        QAction *action = addNamedAction(menu, item.name, item.caption);
        action->setToolTip(item.tip);
        action->setStatusTip(item.tip);
        connect(action, &QAction::triggered, this, item.command);
    }
    menu->setToolTipsVisible(true);
    // The new items say what they do on the hint line; the others leave it as it was.
    connect(menu, &QMenu::hovered, this, [this](QAction *action) {
        if (action && !action->statusTip().isEmpty() && m_parts.hints)
            m_parts.hints->setInfo(action->statusTip());
    });
    connect(menu, &QMenu::aboutToShow, this, &ExerciseAuthoring::enableMenu);
    connect(m_draft, &ExerciseDraft::modificationChanged, this, [this] {
        if (m_active)
            m_parts.area->session().setExerciseTextModified(m_writing->pupilEdited() || m_draft->unsaved());
    });
    connect(m_draft, &ExerciseDraft::textChanged, this, [this] {
        if (m_active)
            emit draftChanged();
    });
}

ExerciseAuthoring::~ExerciseAuthoring() = default;

AuthoringPanel *ExerciseAuthoring::panel() const
{
    return m_panel;
}

FormatBar *ExerciseAuthoring::formatBar() const
{
    return m_writing->formatBar();
}

QTextDocument *ExerciseAuthoring::pupilDocument() const
{
    return m_writing->pupilDocument();
}

bool ExerciseAuthoring::pupilReadOnly() const
{
    return m_writing->pupilReadOnly();
}

bool ExerciseAuthoring::pupilEdited() const
{
    return m_writing->pupilEdited();
}

void ExerciseAuthoring::enableMenu()
{
    // While an exercise is written the pupil's commands would replace the text being written.
    for (const char *name : {"PRISENMAIN", "openexo", "opencor", "opentexte", "Closexo"})
        if (m_active)
            m_parts.area->menuAction(name)->setEnabled(false);
    m_parts.area->menuAction("modifexo")->setEnabled(!m_active && isExerciseFile(m_parts.exerciseInUse()));
}

bool ExerciseAuthoring::mayLose() const
{
    if (!m_active || !m_draft->unsaved())
        return true;
    return m_messenger.ask(m_panel ? static_cast<QWidget *>(m_panel) : m_parts.window, QMessageBox::Question,
                           QStringLiteral("Abandon des données?"),
                           QStringLiteral("Attention: perte des modifications du texte."),
                           QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void ExerciseAuthoring::nouvelexo()
{
    if (!mayLose())
        return;
    m_draft->setPath(QString());
    ExerciseSet blank;
    if (start(QStringLiteral("Nouvel exercice")))
        load(blank);
}

void ExerciseAuthoring::modifexo()
{
    const QString path = m_parts.exerciseInUse();
    if (!isExerciseFile(path) || !mayLose())
        return;
    ExerciseSet set;
    if (!loadExerciseSet(path, &set)) {
        m_messenger.critical(
            m_parts.window, QStringLiteral("Lecture impossible"),
            QStringLiteral("L'exercice %1 ou son énoncé ne peut pas être lu.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    const QString folder = QFileInfo(path).absolutePath();
    // Shipped exercises may be in a folder the teacher cannot write: they are saved as a copy.
    const bool writable = QFileInfo(folder).isWritable() && QFileInfo(path).isWritable();
    m_draft->setPath(writable ? path : QString());
    if (!start(writable ? QStringLiteral("Modifier l'exercice %1").arg(QFileInfo(path).fileName())
                        : QStringLiteral("Copie de l'exercice %1").arg(QFileInfo(path).fileName())))
        return;
    load(set);
    if (!writable && m_parts.hints)
        m_parts.hints->setInfo(QStringLiteral("Ce dossier est protégé en écriture : l'exercice sera enregistré dans "
                                              "un autre dossier."));
}

bool ExerciseAuthoring::start(const QString &title)
{
    QTextEdit *text = m_parts.area->text();
    if (!m_active) {
        m_writing->enter();
        m_panel = new AuthoringPanel(*m_parts.hints, m_parts.window);
        auto *p = m_panel.data();
        connect(p, &AuthoringPanel::closeRequested, this, &ExerciseAuthoring::finish);
        connect(p->finish(), &QPushButton::clicked, this, &ExerciseAuthoring::finish);
        connect(p->save(), &QPushButton::clicked, this, &ExerciseAuthoring::saveAndShow);
        connect(p->putOnScene(), &QPushButton::clicked, this, &ExerciseAuthoring::putOnScene);
        connect(p->statementChoice(), &QRadioButton::toggled, this, [this](bool on) { showText(!on); });
        connect(p->takeSituation(), &QPushButton::clicked, this, &ExerciseAuthoring::takeSituation);
        connect(p->noSituation(), &QPushButton::clicked, this, &ExerciseAuthoring::dropSituation);
        connect(p->insertMeasures(), &QPushButton::clicked, this, &ExerciseAuthoring::insertMeasures);
        connect(p->importText(), &QPushButton::clicked, this, &ExerciseAuthoring::importText);
        const auto changed = [this] {
            m_draft->noteFormChanged();
            m_parts.area->session().setExerciseTextModified(true);
            m_panel->checkFields();
            emit draftChanged();
        };
        connect(p->title(), &QLineEdit::textEdited, this, changed);
        for (int i = 0; i < 4; ++i)
            connect(p->notion(i), &QLineEdit::textEdited, this, changed);
        connect(p->difficulty(), &QSpinBox::valueChanged, this, changed);
        p->adjustSize();
        m_placed = false;
        m_active = true;
    }
    m_panel->setWindowTitle(title);
    text->setReadOnly(false);
    m_writing->formatBar()->attach(text);
    return true;
}

void ExerciseAuthoring::load(const ExerciseSet &set)
{
    m_draft->load(set);
    showLoaded(set);
}

void ExerciseAuthoring::showLoaded(const ExerciseSet &set)
{
    AuthoringPanel &p = *m_panel;
    p.showForm(set);
    p.checkFields();
    p.statementChoice()->setChecked(true);
    m_draft->setShowingCorrection(true); // makes showText switch
    showText(false);
    m_parts.area->session().setExerciseTextModified(m_writing->pupilEdited());
    p.show();
    if (!m_placed) {
        // Beside the main window where the screen has room, else over it; whole on the screen
        // even when the main window is maximised.
        m_placed = true;
        QScreen *screen = m_parts.window->screen();
        const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(), p.frameGeometry().size());
        p.move(besideWindow(m_parts.window->frameGeometry(), p.frameGeometry().size(), available));
    }
    p.raise();
    m_parts.area->text()->setFocus();
}

void ExerciseAuthoring::showText(bool correction)
{
    if (!m_active || correction == m_draft->showingCorrection())
        return;
    m_draft->setShowingCorrection(correction);
    {
        const QSignalBlocker block(correction ? m_panel->correctionChoice() : m_panel->statementChoice());
        (correction ? m_panel->correctionChoice() : m_panel->statementChoice())->setChecked(true);
    }
    m_writing->show(m_draft->document(correction));
    showSituation();
}

void ExerciseAuthoring::showSituation()
{
    m_panel->showThumbnail(thumbnailOf(m_draft->situation(m_draft->showingCorrection())));
}

void ExerciseAuthoring::takeSituation()
{
    const std::optional<QByteArray> bytes = serialiseSituation(m_parts.situations->captureSituation());
    if (!bytes) {
        m_messenger.critical(m_panel, QStringLiteral("Situation non enregistrable"),
                             QStringLiteral("Un titre ou une cellule du tableau contient un caractère qu'un fichier de "
                                            "situation ne peut pas garder."));
        return;
    }
    setSituation(*bytes);
}

void ExerciseAuthoring::dropSituation()
{
    setSituation(QByteArray());
}

void ExerciseAuthoring::setSituation(const QByteArray &bytes)
{
    if (!m_draft->setSituation(m_draft->showingCorrection(), bytes))
        return;
    m_parts.area->session().setExerciseTextModified(true);
    showSituation();
    emit draftChanged();
}

void ExerciseAuthoring::putOnScene()
{
    const bool correction = m_draft->showingCorrection();
    const SituationResult read = parseSituation(m_draft->situation(correction));
    if (!m_active || !read.situation)
        return;
    static_assert(openingIsUndoable(Opening::SceneFromText), "one named undo step");
    if (m_parts.nameStep)
        m_parts.nameStep(correction ? QStringLiteral("situation de la correction sur la scène")
                                    : QStringLiteral("situation de l'énoncé sur la scène"));
    m_parts.situations->applySituation(*read.situation);
    if (m_parts.hints)
        m_parts.hints->announce(correction ? QStringLiteral("La situation de la correction est sur la scène ; "
                                                            "« Annuler » remet la scène d'avant.")
                                           : QStringLiteral("La situation de l'énoncé est sur la scène ; « Annuler » "
                                                            "remet la scène d'avant."));
}

void ExerciseAuthoring::insertMeasures()
{
    QTextEdit *text = m_parts.area->text();
    // A paragraph of their own, so that the text after them stays apart.
    text->textCursor().insertText(m_parts.measures() + QLatin1Char('\n'));
    text->setFocus();
}

void ExerciseAuthoring::importText()
{
    const QString start = m_parts.folders ? m_parts.folders->startFolder(FileKind::ExerciseText) : QString();
    const QString path = m_env.importName(m_panel, start);
    if (path.isEmpty())
        return;
    QTextDocument &target = document(m_draft->showingCorrection());
    if (!target.isEmpty() && !mayLose())
        return;
    QTextDocument imported;
    if (readRtfFile(path, imported) != TextFileStatus::Read) {
        m_messenger.critical(m_panel, QStringLiteral("Erreur de lecture."),
                             QStringLiteral("Vérifier l'état du lecteur et le nom du fichier."));
        return;
    }
    if (m_parts.folders)
        m_parts.folders->remember(FileKind::ExerciseText, path);
    // Through the cursor, so that the editor's undo can take the import back.
    QTextCursor cursor(&target);
    cursor.select(QTextCursor::Document);
    cursor.insertFragment(QTextDocumentFragment(&imported));
}

ExerciseSet ExerciseAuthoring::currentSet() const
{
    return m_draft->set(m_panel->form());
}

std::optional<RecoveredDraft> ExerciseAuthoring::draft() const
{
    if (!m_active || !m_draft->unsaved())
        return std::nullopt;
    return m_draft->recorded(m_panel->form(), m_panel->windowTitle());
}

void ExerciseAuthoring::restoreDraft(const RecoveredDraft &draft)
{
    start(draft.title.isEmpty() ? QStringLiteral("Nouvel exercice") : draft.title);
    m_draft->restore(draft);
    showLoaded(draft.set);
    showText(draft.showingCorrection);
    // Nothing of it is saved: the close question and the next crash keep protecting it.
    m_draft->markUnsaved();
    m_parts.area->session().setExerciseTextModified(true);
    emit draftChanged();
}

void ExerciseAuthoring::abandon()
{
    if (!m_active)
        return;
    m_draft->forget();
    finish();
}

bool ExerciseAuthoring::saveExercise()
{
    if (!m_active)
        return false;
    const ExerciseSet set = currentSet();
    if (const QString problem = m_draft->saveProblem(set); !problem.isEmpty()) {
        m_messenger.critical(m_panel, QStringLiteral("Exercice incomplet"), problem);
        return false;
    }
    QString folder;
    ExerciseSetNames names;
    const QString path = m_draft->path();
    if (path.isEmpty()) {
        const QString saved = m_draft->folder();
        const QString start = !saved.isEmpty() && QFileInfo(saved).isDir() ? saved : documentsFolder();
        folder = m_env.chooseFolder(m_panel, start);
        if (folder.isEmpty())
            return false;
        names = freshExerciseNames(folder, set.title);
    } else {
        folder = QFileInfo(path).absolutePath();
        names = namesForRewrite(path);
    }
    const QString failure = saveExerciseSet(folder, names, set);
    if (!failure.isEmpty()) {
        m_messenger.critical(m_panel, QStringLiteral("Erreur d'écriture."), failure);
        return false;
    }
    m_draft->markSaved(folder, QDir(folder).filePath(names.exercise));
    const QString inUse = m_parts.exerciseInUse();
    if (!inUse.isEmpty() && QFileInfo(inUse).canonicalFilePath() == QFileInfo(m_draft->path()).canonicalFilePath())
        m_savedOpen = set;
    markSaved();
    m_panel->setWindowTitle(QStringLiteral("Modifier l'exercice %1").arg(names.exercise));
    if (m_parts.hints)
        m_parts.hints->announce(
            QStringLiteral("Exercice enregistré : %1").arg(QDir::toNativeSeparators(m_draft->path())));
    return true;
}

void ExerciseAuthoring::saveAndShow()
{
    if (saveExercise() && m_parts.showWritten)
        m_parts.showWritten(m_draft->path());
}

void ExerciseAuthoring::markSaved()
{
    m_parts.area->session().setExerciseTextModified(m_writing->pupilEdited());
    emit draftChanged();
}

bool ExerciseAuthoring::finish()
{
    if (!m_active)
        return true;
    if (!mayLose())
        return false;
    m_active = false;
    // The open exercise was saved over: its new text is shown, unless the pupil's side has edits
    // of its own.
    m_writing->leave(m_savedOpen ? &m_savedOpen->statement : nullptr, m_savedOpen ? &m_savedOpen->correction : nullptr);
    m_savedOpen.reset();
    m_panel->hide();
    m_panel->deleteLater();
    m_draft->clear();
    emit draftChanged();
    return true;
}

void ExerciseAuthoring::verifexo()
{
    const QString open = m_parts.exerciseInUse();
    const QString saved = m_draft->folder();
    const QString start = isExerciseFile(open) ? QFileInfo(open).absolutePath()
                          : !saved.isEmpty()   ? saved
                                               : documentsFolder();
    runFolderCheck(m_parts.window, start, m_env);
}

} // namespace vorlac
