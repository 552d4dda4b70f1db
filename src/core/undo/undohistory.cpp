#include "undo/undohistory.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QUndoStack>
#include <QWindow>
#include <optional>

namespace vorlac
{

namespace
{

constexpr int kRetryMs = 50;
// Steps of one control closer than this make one step: sixty clicks on an arrow are one undo.
constexpr qint64 kMergeMs = 1000;

const QString kUndo = QStringLiteral("Annuler");
const QString kRedo = QStringLiteral("Rétablir");

QString caption(const QString &verb, const QString &label)
{
    return label.isEmpty() ? verb : verb + QStringLiteral(" : ") + label;
}

} // namespace

// One step. It holds what the other side of the change looks like, relative to the state now:
// undo and redo swap it with the state, so a step keeps one side only.
class HistoryStep : public QUndoCommand
{
  public:
    HistoryStep(UndoHistory &history, const QString &label, std::optional<TableDelta> table,
                std::optional<SceneSnapshot> scene, int visit)
        : QUndoCommand(label), m_history(history), m_table(std::move(table)), m_scene(std::move(scene)), m_visit(visit),
          m_when(history.m_clock())
    {
    }

    void undo() override { swap(); }
    void redo() override
    {
        // Pushing a change that has already happened.
        if (m_done) {
            m_done = false;
            return;
        }
        swap();
    }

    int id() const override { return typing() ? 1 : control() ? 2 : -1; }

    bool mergeWith(const QUndoCommand *command) override
    {
        const auto *next = static_cast<const HistoryStep *>(command);
        if (next->text() != text())
            return false;
        if (control()) {
            // This step keeps the scene from before the first of the run.
            if (!next->control() || next->m_when - m_when > kMergeMs)
                return false;
            m_when = next->m_when;
            setObsolete(m_history.m_scene && *m_scene == m_history.m_scene->capture());
            return true;
        }
        // Typing merges only within one stay in the cell: typed again after leaving it, the cell's
        // earlier value is a step of its own, which Ctrl+Z brings back.
        if (!next->typing() || next->m_visit != m_visit)
            return false;
        // The table now is after the new step; go back through both steps to this one's start.
        const ValueTable::Snapshot now = m_history.m_table.snapshot();
        const ValueTable::Snapshot start = m_table->applyTo(next->m_table->applyTo(now));
        m_table = m_history.delta(now, start);
        setObsolete(m_table->isEmpty());
        return true;
    }

  private:
    bool typing() const { return !m_scene && m_table && ValueTable::isTypingLabel(text()); }
    // A scene control's step (an arrow, a list, the lamp): its repeats merge.
    bool control() const { return m_scene && !m_table; }

    void swap()
    {
        m_history.m_restoring = true;
        if (m_table)
            m_history.swapTable(*m_table);
        if (m_scene)
            m_history.swapScene(*m_scene);
        m_history.m_restoring = false;
        m_history.rebase();
        emit m_history.workChanged();
    }

    UndoHistory &m_history;
    std::optional<TableDelta> m_table;
    std::optional<SceneSnapshot> m_scene;
    int m_visit;
    qint64 m_when; // ms, when the step (or the last merged into it) was closed
    bool m_done = true;
};

UndoHistory::UndoHistory(ValueTable &table, QObject *parent)
    : QObject(parent), m_table(table), m_stack(new QUndoStack(this))
{
    m_clock = [started = QElapsedTimer()]() mutable {
        if (!started.isValid())
            started.start();
        return started.elapsed();
    };
    m_stack->setUndoLimit(kLimit);
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &UndoHistory::tryClose);
    setTableFollowed(true);
    connect(&m_table, &ValueTable::activeCellChanged, this, [this] { ++m_cellVisit; });
    connect(m_stack, &QUndoStack::indexChanged, this, &UndoHistory::captionsChanged);
    connect(m_stack, &QUndoStack::undoTextChanged, this, &UndoHistory::captionsChanged);
    connect(m_stack, &QUndoStack::redoTextChanged, this, &UndoHistory::captionsChanged);
    rebase();
}

UndoHistory::~UndoHistory() = default;

void UndoHistory::setScene(SceneAccess *scene)
{
    closeStep();
    m_scene = scene;
    rebase();
}

void UndoHistory::setTableFollowed(bool followed)
{
    if (followed)
        connect(&m_table, &ValueTable::edited, this, &UndoHistory::noteChange, Qt::UniqueConnection);
    else
        disconnect(&m_table, &ValueTable::edited, this, &UndoHistory::noteChange);
}

void UndoHistory::setClock(std::function<qint64()> msNow)
{
    m_clock = std::move(msNow);
}

void UndoHistory::rebase()
{
    m_tableBase = m_table.snapshot();
    if (m_scene)
        m_sceneBase = m_scene->capture();
}

void UndoHistory::noteChange(const QString &label)
{
    if (m_restoring)
        return;
    if (!label.isEmpty())
        m_label = label;
    if (m_pending)
        return;
    m_pending = true;
    m_stepVisit = m_cellVisit;
    QTimer::singleShot(0, this, &UndoHistory::tryClose);
    emit captionsChanged();
}

void UndoHistory::nameStep(const QString &label)
{
    m_name = label;
    // A name given for changes that then do not come must not name the next step.
    if (!m_pending) {
        m_pending = true;
        QTimer::singleShot(0, this, &UndoHistory::tryClose);
    }
}

bool UndoHistory::held() const
{
    if (m_scene && m_scene->gestureInProgress())
        return true;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return false;
    return QGuiApplication::mouseButtons() != Qt::NoButton || QGuiApplication::modalWindow() != nullptr;
}

void UndoHistory::tryClose()
{
    if (!m_pending)
        return;
    if (held())
        m_retry.start();
    else
        closeStep();
}

void UndoHistory::closeStep()
{
    if (!m_pending)
        return;
    m_pending = false;
    m_retry.stop();
    const QString label = m_name.isEmpty() ? m_label : m_name;
    m_name.clear();
    m_label.clear();

    ValueTable::Snapshot table = m_table.snapshot();
    std::optional<TableDelta> tableBack;
    if (TableDelta back = delta(table, m_tableBase); !back.isEmpty())
        tableBack = std::move(back);
    std::optional<SceneSnapshot> sceneBack;
    SceneSnapshot scene;
    if (m_scene) {
        scene = m_scene->capture();
        if (!(scene == m_sceneBase))
            sceneBack = m_sceneBase;
    }
    m_tableBase = std::move(table);
    if (m_scene)
        m_sceneBase = scene;
    if (tableBack || sceneBack) {
        m_stack->push(new HistoryStep(*this, label, std::move(tableBack), std::move(sceneBack), m_stepVisit));
        emit workChanged();
    } else {
        emit captionsChanged();
    }
}

void UndoHistory::swapTable(TableDelta &delta)
{
    const ValueTable::Snapshot now = m_table.snapshot();
    const ValueTable::Snapshot other = delta.applyTo(now);
    delta = this->delta(other, now);
    m_table.restore(other);
}

TableDelta UndoHistory::delta(const ValueTable::Snapshot &from, const ValueTable::Snapshot &to)
{
    TableDelta d = TableDelta::between(from, to, &m_texts);
    if (m_texts.size() > m_pruneAt) {
        TableDelta::prune(m_texts);
        m_pruneAt = std::max<qsizetype>(4096, 2 * m_texts.size());
    }
    return d;
}

void UndoHistory::swapScene(SceneSnapshot &other)
{
    if (!m_scene)
        return;
    const SceneSnapshot now = m_scene->capture();
    m_scene->restore(other);
    other = now;
}

void UndoHistory::undo()
{
    closeStep();
    m_stack->undo();
}

void UndoHistory::redo()
{
    closeStep();
    m_stack->redo();
}

bool UndoHistory::canUndo() const
{
    return m_pending || m_stack->canUndo();
}

bool UndoHistory::canRedo() const
{
    return !m_pending && m_stack->canRedo();
}

QString UndoHistory::undoCaption() const
{
    if (m_pending)
        return caption(kUndo, m_name.isEmpty() ? m_label : m_name);
    return caption(kUndo, m_stack->undoText());
}

QString UndoHistory::redoCaption() const
{
    return caption(kRedo, canRedo() ? m_stack->redoText() : QString());
}

void UndoHistory::clear()
{
    closeStep();
    m_stack->clear();
    rebase();
}

} // namespace vorlac
