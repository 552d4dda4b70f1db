#include "simulator/undoactions.h"

#include "common/menus.h"
#include "simulator/hintline.h"
#include "simulator/protractorview.h"
#include "simulator/scenecontroller.h"

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

SceneUndoAccess::SceneUndoAccess(SceneController &controller, ProtractorView *protractor, UndoHistory &history)
    : m_controller(controller), m_protractor(protractor)
{
    QObject::connect(&controller, &SceneController::edited, &history, &UndoHistory::noteChange);
    if (protractor)
        QObject::connect(protractor, &ProtractorView::edited, &history, &UndoHistory::noteChange);
}

SceneSnapshot SceneUndoAccess::capture() const
{
    SceneSnapshot s;
    s.scene = m_controller.state();
    if (m_protractor) {
        const ProtractorState &p = m_protractor->state();
        s.protractorRotation = p.rotation;
        s.protractorLineAngle = p.lineAngle;
        s.protractorPosition = p.position;
    }
    return s;
}

void SceneUndoAccess::restore(const SceneSnapshot &snapshot)
{
    if (!(snapshot.scene == m_controller.state()))
        m_controller.setState(snapshot.scene);
    if (m_protractor) {
        const SceneSnapshot now = capture();
        if (now.protractorRotation != snapshot.protractorRotation ||
            now.protractorLineAngle != snapshot.protractorLineAngle ||
            now.protractorPosition != snapshot.protractorPosition)
            m_protractor->setPlacement(snapshot.protractorRotation, snapshot.protractorLineAngle,
                                       snapshot.protractorPosition);
    }
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
