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
#include "exercises/foldercheckdialog.h"
#include "exercises/formatbar.h"
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

const QString kRtfFilter = QStringLiteral("Texte au format RTF (*.rtf *.RTF)");
constexpr int kBarHeight = 24;

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

// What a new text is written in, whatever the pupil's text showed.
QTextCharFormat plainFormat()
{
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(12);
    plain.setForeground(QColor(Qt::black));
    return plain;
}

bool isExerciseFile(const QString &path)
{
    return path.endsWith(QLatin1String(".E01"), Qt::CaseInsensitive) && QFileInfo(path).isFile();
}

} // namespace

AuthoringEnvironment::AuthoringEnvironment()
{
    chooseFolder = [](QWidget *parent, const QString &folder) {
        FileDialogRequest request(QStringLiteral("Dossier de l'exercice"), folder, QString(), {});
        request.chooseFolder = true;
        request.save = false;
        return askForFile(parent, request);
    };
    importName = [](QWidget *parent, const QString &folder) {
        return askForFile(
            parent,
            {QStringLiteral("Importer un texte"), folder, QStringLiteral("*.rtf"), {kRtfFilter}, QString(), false});
    };
    checkFolder = [](QWidget *parent, const QString &folder) {
        FileDialogRequest request(QStringLiteral("Vérifier un dossier d'exercices"), folder, QString(), {});
        request.chooseFolder = true;
        request.save = false;
        return askForFile(parent, request);
    };
    showCheck = [](QWidget *parent, const QStringList &lines) {
        FolderCheckDialog dialog(lines, parent);
        dialog.exec();
    };
}

ExerciseAuthoring::ExerciseAuthoring(Parts parts, const Messenger &messenger, AuthoringEnvironment environment)
    : QObject(parts.window), m_parts(std::move(parts)), m_messenger(messenger), m_env(std::move(environment)),
      m_statement(new QTextDocument(this)), m_correction(new QTextDocument(this))
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
    for (QTextDocument *document : {m_statement, m_correction}) {
        connect(document, &QTextDocument::modificationChanged, this, [this] {
            if (m_active)
                m_parts.area->session().setExerciseTextModified(m_pupilModified || unsaved());
        });
        const int which = document == m_correction ? 1 : 0;
        connect(document, &QTextDocument::contentsChanged, this, [this, which] {
            m_rtfStale[which] = true;
            if (m_active)
                emit draftChanged();
        });
    }
}

QByteArray ExerciseAuthoring::rtfOf(bool correction) const
{
    if (m_rtfStale[correction]) {
        m_rtf[correction] = writeRtf(document(correction));
        m_rtfStale[correction] = false;
    }
    return m_rtf[correction];
}

ExerciseAuthoring::~ExerciseAuthoring() = default;

AuthoringPanel *ExerciseAuthoring::panel() const
{
    return m_panel;
}

FormatBar *ExerciseAuthoring::formatBar() const
{
    return m_bar;
}

void ExerciseAuthoring::enableMenu()
{
    // While an exercise is written the pupil's commands would replace the text being written.
    for (const char *name : {"PRISENMAIN", "openexo", "opencor", "opentexte", "Closexo"})
        if (m_active)
            m_parts.area->menuAction(name)->setEnabled(false);
    m_parts.area->menuAction("modifexo")->setEnabled(!m_active && isExerciseFile(m_parts.exerciseInUse()));
}

bool ExerciseAuthoring::unsaved() const
{
    return m_statement->isModified() || m_correction->isModified() || m_formChanged;
}

bool ExerciseAuthoring::mayLose() const
{
    if (!m_active || !unsaved())
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
    m_path.clear();
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
    m_path = writable ? path : QString();
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
        // The pupil's document is kept aside (QTextEdit deletes a document it owns when another
        // replaces it) and comes back when the mode ends.
        m_pupilDocument = text->document();
        m_pupilDocumentParent = m_pupilDocument->parent();
        m_pupilDocument->setParent(this);
        m_pupilReadOnly = text->isReadOnly();
        m_pupilModified = m_parts.area->session().exerciseTextModified();
        m_textGeometry = text->geometry();
        m_bar = new FormatBar(*m_parts.hints, m_parts.area);
        m_bar->setGeometry(m_textGeometry.x(), m_textGeometry.y(), m_textGeometry.width(), kBarHeight);
        text->setGeometry(m_textGeometry.adjusted(0, kBarHeight, 0, 0));
        m_bar->show();
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
            m_formChanged = true;
            m_parts.area->session().setExerciseTextModified(true);
            checkFields();
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
    m_bar->attach(text);
    return true;
}

void ExerciseAuthoring::load(const ExerciseSet &set)
{
    m_statement->clear();
    m_correction->clear();
    if (!set.statement.isEmpty())
        readRtf(set.statement, *m_statement);
    if (!set.correction.isEmpty())
        readRtf(set.correction, *m_correction);
    for (QTextDocument *d : {m_statement, m_correction}) {
        d->clearUndoRedoStacks();
        d->setModified(false);
    }
    // A text left untouched is saved as the bytes it was read from, not rewritten.
    m_rtf[0] = set.statement;
    m_rtf[1] = set.correction;
    m_rtfStale[0] = set.statement.isEmpty();
    m_rtfStale[1] = set.correction.isEmpty();
    m_situations[0] = set.statementSituation;
    m_situations[1] = set.correctionSituation;
    AuthoringPanel &p = *m_panel;
    {
        const QSignalBlocker block(p.difficulty());
        p.title()->setText(set.title);
        for (int i = 0; i < 4; ++i)
            p.notion(i)->setText(notionAsTyped(set.notions.value(i)));
        p.difficulty()->setValue(set.difficulty);
    }
    m_formChanged = false;
    checkFields();
    p.statementChoice()->setChecked(true);
    m_showingCorrection = true; // makes showText switch
    showText(false);
    m_parts.area->session().setExerciseTextModified(m_pupilModified);
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
    if (!m_active || correction == m_showingCorrection)
        return;
    m_showingCorrection = correction;
    {
        const QSignalBlocker block(correction ? m_panel->correctionChoice() : m_panel->statementChoice());
        (correction ? m_panel->correctionChoice() : m_panel->statementChoice())->setChecked(true);
    }
    QTextEdit *text = m_parts.area->text();
    // The area counts an edit on any change of the text; a switch is not one.
    const bool modified = m_parts.area->session().exerciseTextModified();
    text->setDocument(correction ? m_correction : m_statement);
    m_parts.area->session().setExerciseTextModified(modified);
    text->setReadOnly(false);
    if (text->document()->isEmpty())
        text->setCurrentCharFormat(plainFormat());
    m_bar->attach(text);
    showSituation();
}

void ExerciseAuthoring::showSituation()
{
    m_panel->showThumbnail(thumbnailOf(m_situations[m_showingCorrection ? 1 : 0]));
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
    m_situations[m_showingCorrection ? 1 : 0] = *bytes;
    m_formChanged = true;
    m_parts.area->session().setExerciseTextModified(true);
    showSituation();
    emit draftChanged();
}

void ExerciseAuthoring::dropSituation()
{
    QByteArray &situation = m_situations[m_showingCorrection ? 1 : 0];
    if (situation.isEmpty())
        return;
    situation.clear();
    m_formChanged = true;
    m_parts.area->session().setExerciseTextModified(true);
    showSituation();
    emit draftChanged();
}

void ExerciseAuthoring::putOnScene()
{
    const bool correction = m_showingCorrection;
    const SituationResult read = parseSituation(m_situations[correction ? 1 : 0]);
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
    QTextDocument &target = document(m_showingCorrection);
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

void ExerciseAuthoring::checkFields()
{
    AuthoringPanel &p = *m_panel;
    const QString title = p.title()->text();
    const QString problem = titleProblem(title);
    if (title.isEmpty())
        AuthoringPanel::setNote(p.titleNote(), QStringLiteral("Un titre est nécessaire : 126 caractères au plus."),
                                false);
    else
        AuthoringPanel::setNote(p.titleNote(),
                                problem.isEmpty() ? QStringLiteral("%1 / 126 caractères").arg(title.size()) : problem,
                                !problem.isEmpty());

    QStringList typed;
    for (int i = 0; i < 4; ++i)
        typed.append(p.notion(i)->text());
    QString notion;
    for (const QString &stored : notionsAsStored(typed))
        if (notion.isEmpty())
            notion = notionProblem(stored);
    AuthoringPanel::setNote(p.notionNote(), notion, !notion.isEmpty());
}

ExerciseSet ExerciseAuthoring::currentSet() const
{
    ExerciseSet set;
    const AuthoringPanel &p = *m_panel;
    set.title = p.title()->text();
    for (int i = 0; i < 4; ++i)
        set.notions.append(p.notion(i)->text());
    set.notions = notionsAsStored(set.notions);
    set.difficulty = p.difficulty()->value();
    set.statement = rtfOf(false);
    set.statementSituation = m_situations[0];
    // An empty correction with no situation: the exercise is not corrected.
    set.correctionSituation = m_situations[1];
    if (!m_correction->isEmpty() || !set.correctionSituation.isEmpty())
        set.correction = rtfOf(true);
    return set;
}

std::optional<RecoveredDraft> ExerciseAuthoring::draft() const
{
    if (!m_active || !unsaved())
        return std::nullopt;
    RecoveredDraft d;
    d.set = currentSet();
    d.path = m_path;
    d.folder = m_folder;
    d.title = m_panel->windowTitle();
    d.showingCorrection = m_showingCorrection;
    return d;
}

void ExerciseAuthoring::restoreDraft(const RecoveredDraft &draft)
{
    m_path = draft.path;
    m_folder = draft.folder;
    start(draft.title.isEmpty() ? QStringLiteral("Nouvel exercice") : draft.title);
    load(draft.set);
    showText(draft.showingCorrection);
    // Nothing of it is saved: the close question and the next crash keep protecting it.
    m_formChanged = true;
    m_parts.area->session().setExerciseTextModified(true);
    emit draftChanged();
}

void ExerciseAuthoring::abandon()
{
    if (!m_active)
        return;
    m_statement->setModified(false);
    m_correction->setModified(false);
    m_formChanged = false;
    finish();
}

bool ExerciseAuthoring::saveExercise()
{
    if (!m_active)
        return false;
    const ExerciseSet set = currentSet();
    QString problem = titleProblem(set.title);
    for (const QString &notion : set.notions)
        if (problem.isEmpty())
            problem = notionProblem(notion);
    if (problem.isEmpty() && m_statement->isEmpty())
        problem = QStringLiteral("L'énoncé est vide.");
    if (!problem.isEmpty()) {
        m_messenger.critical(m_panel, QStringLiteral("Exercice incomplet"), problem);
        return false;
    }
    QString folder;
    ExerciseSetNames names;
    if (m_path.isEmpty()) {
        const QString start = !m_folder.isEmpty() && QFileInfo(m_folder).isDir() ? m_folder : documentsFolder();
        folder = m_env.chooseFolder(m_panel, start);
        if (folder.isEmpty())
            return false;
        names = freshExerciseNames(folder, set.title);
    } else {
        folder = QFileInfo(m_path).absolutePath();
        names = namesForRewrite(m_path);
    }
    const QString failure = saveExerciseSet(folder, names, set);
    if (!failure.isEmpty()) {
        m_messenger.critical(m_panel, QStringLiteral("Erreur d'écriture."), failure);
        return false;
    }
    m_folder = folder;
    m_path = QDir(folder).filePath(names.exercise);
    const QString inUse = m_parts.exerciseInUse();
    if (!inUse.isEmpty() && QFileInfo(inUse).canonicalFilePath() == QFileInfo(m_path).canonicalFilePath())
        m_savedOpen = set;
    markSaved();
    m_panel->setWindowTitle(QStringLiteral("Modifier l'exercice %1").arg(names.exercise));
    if (m_parts.hints)
        m_parts.hints->announce(QStringLiteral("Exercice enregistré : %1").arg(QDir::toNativeSeparators(m_path)));
    return true;
}

void ExerciseAuthoring::saveAndShow()
{
    if (saveExercise() && m_parts.showWritten)
        m_parts.showWritten(m_path);
}

void ExerciseAuthoring::markSaved()
{
    m_statement->setModified(false);
    m_correction->setModified(false);
    m_formChanged = false;
    m_parts.area->session().setExerciseTextModified(m_pupilModified);
    emit draftChanged();
}

bool ExerciseAuthoring::finish()
{
    if (!m_active)
        return true;
    if (!mayLose())
        return false;
    m_active = false;
    QTextEdit *text = m_parts.area->text();
    m_bar->attach(nullptr);
    delete m_bar;
    if (m_pupilDocument) {
        // The open exercise was saved over: its new text is shown, unless the pupil's side has
        // edits of its own. A read-only text was the correction.
        if (m_savedOpen && !m_pupilModified) {
            const QByteArray &saved = m_pupilReadOnly ? m_savedOpen->correction : m_savedOpen->statement;
            if (!saved.isEmpty() && readRtf(saved, *m_pupilDocument))
                m_pupilDocument->setModified(false);
        }
        text->setDocument(m_pupilDocument);
        m_pupilDocument->setParent(m_pupilDocumentParent);
    }
    m_savedOpen.reset();
    text->setGeometry(m_textGeometry);
    text->setReadOnly(m_pupilReadOnly);
    m_parts.area->session().setExerciseTextModified(m_pupilModified);
    m_panel->hide();
    m_panel->deleteLater();
    m_statement->clear();
    m_correction->clear();
    emit draftChanged();
    return true;
}

void ExerciseAuthoring::verifexo()
{
    const QString open = m_parts.exerciseInUse();
    const QString start = isExerciseFile(open)  ? QFileInfo(open).absolutePath()
                          : !m_folder.isEmpty() ? m_folder
                                                : documentsFolder();
    const QString folder = m_env.checkFolder(m_parts.window, start);
    if (folder.isEmpty())
        return;
    m_env.showCheck(m_parts.window, folderCheckLines(folder, checkExerciseFolder(folder)));
}

} // namespace vorlac
