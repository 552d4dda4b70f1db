#include "window/undoactions.h"

#include "common/hintline.h"
#include "common/menus.h"
#include "recovery/workbinder.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>

namespace vorlac
{

// --- The scene side ----------------------------------------------------------------------------

namespace
{
// The table goes through the history's own deltas.
constexpr WorkParts kUndoSceneParts = partsKept(WorkUse::Undo) & ~WorkParts(kTablePart);
static_assert(kUndoSceneParts == (kSceneSide | kProtractorPlace | kScreenPart), "SceneSnapshot holds what undo keeps");
} // namespace

SceneUndoAccess::SceneUndoAccess(WorkBinder &work, UndoHistory &history) : m_work(work)
{
    // The work's one list of changes names the table's edits too.
    history.setTableFollowed(false);
    QObject::connect(&work, &WorkBinder::edited, &history, &UndoHistory::noteChange);
}

SceneSnapshot SceneUndoAccess::capture() const
{
    const Work w = m_work.capture(kUndoSceneParts);
    return {w.scene, w.protractor.rotation, w.protractor.lineAngle, w.protractor.position, w.screen};
}

void SceneUndoAccess::restore(const SceneSnapshot &snapshot)
{
    // The grab point inside the move cross is no step: it stays as it is.
    Work w = m_work.capture(kUndoSceneParts);
    w.scene = snapshot.scene;
    w.protractor.rotation = snapshot.protractorRotation;
    w.protractor.lineAngle = snapshot.protractorLineAngle;
    w.protractor.position = snapshot.protractorPosition;
    w.screen = snapshot.screen;
    m_work.restore(w, kUndoSceneParts);
}

// --- The items and keys ------------------------------------------------------------------------

namespace
{

// Undo or redo inside the focused text editor; false when no editable text has the focus.
bool editorStep(bool undo)
{
    QWidget *w = QApplication::focusWidget();
    if (auto *line = qobject_cast<QLineEdit *>(w); line && !line->isReadOnly()) {
        undo ? line->undo() : line->redo();
        return true;
    }
    if (auto *text = qobject_cast<QTextEdit *>(w); text && !text->isReadOnly()) {
        undo ? text->undo() : text->redo();
        return true;
    }
    if (auto *plain = qobject_cast<QPlainTextEdit *>(w); plain && !plain->isReadOnly()) {
        undo ? plain->undo() : plain->redo();
        return true;
    }
    return false;
}

} // namespace

QString UndoActions::undoHint()
{
    return QStringLiteral("Annuler la dernière modification du tableau ou de la scène (Ctrl+Z)");
}

QString UndoActions::redoHint()
{
    return QStringLiteral("Rétablir la modification annulée (Ctrl+Y ou Ctrl+Maj+Z)");
}

UndoActions::UndoActions(UndoHistory &history, QMenu &tableMenu, QWidget &window, HintLine &hints)
    : QObject(&window), m_history(history)
{
    addNamedSeparator(&tableMenu, "sepannul");
    m_undo = addNamedAction(&tableMenu, "annuler", QStringLiteral("Annuler"));
    m_redo = addNamedAction(&tableMenu, "retablir", QStringLiteral("Rétablir"));
    // The keys are the window's shortcuts below, named in the hints: a key column would widen
    // the menu the other items are laid out in.
    m_undo->setToolTip(undoHint());
    m_redo->setToolTip(redoHint());
    m_undo->setStatusTip(undoHint());
    m_redo->setStatusTip(redoHint());
    connect(m_undo, &QAction::hovered, &hints, [&hints] { hints.setInfo(undoHint()); });
    connect(m_redo, &QAction::hovered, &hints, [&hints] { hints.setInfo(redoHint()); });
    connect(m_undo, &QAction::triggered, this, [this] { m_history.undo(); });
    connect(m_redo, &QAction::triggered, this, [this] { m_history.redo(); });

    const std::pair<QKeySequence, bool> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Z), true},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), false},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), false},
    };
    for (const auto &[sequence, undo] : keys) {
        auto *shortcut = new QShortcut(sequence, &window);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, undo = undo] { key(undo); });
    }

    connect(&m_history, &UndoHistory::captionsChanged, this, &UndoActions::refresh);
    refresh();
}

void UndoActions::key(bool undo)
{
    if (editorStep(undo))
        return;
    undo ? m_history.undo() : m_history.redo();
}

void UndoActions::refresh()
{
    m_undo->setText(m_history.undoCaption());
    m_redo->setText(m_history.redoCaption());
    m_undo->setEnabled(m_history.canUndo());
    m_redo->setEnabled(m_history.canRedo());
}

} // namespace vorlac
