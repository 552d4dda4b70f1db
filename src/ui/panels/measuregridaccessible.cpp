#include "panels/measuregridaccessible.h"

#include "panels/measuregrid.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QWindow>

namespace vorlac
{

namespace
{

class CellAccessible : public QAccessibleInterface
{
  public:
    explicit CellAccessible(MeasureCell *cell) : m_cell(cell) {}

    bool isValid() const override { return grid() != nullptr; }
    QObject *object() const override { return m_cell; }
    QWindow *window() const override
    {
        const MeasureGrid *g = grid();
        return g && g->window() ? g->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(grid()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        const MeasureGrid *g = grid();
        if (!g)
            return {};
        if (t == QAccessible::Name)
            return g->text(m_cell->row, m_cell->column);
        if (t == QAccessible::Description)
            return g->tip(m_cell->row);
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        const MeasureGrid *g = grid();
        if (!g)
            return {};
        const QRect r = g->cellRect(m_cell->row, m_cell->column);
        return {g->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        const MeasureGrid *g = grid();
        s.invisible = !g || !g->isVisible();
        s.readOnly = true;
        return s;
    }

  private:
    MeasureGrid *grid() const { return m_cell ? qobject_cast<MeasureGrid *>(m_cell->parent()) : nullptr; }
    QPointer<MeasureCell> m_cell;
};

// The cells row by row, then the notes.
class GridAccessible : public QAccessibleWidget
{
  public:
    explicit GridAccessible(MeasureGrid *grid) : QAccessibleWidget(grid) {}

    int childCount() const override { return kCells + MeasureGrid::kLines; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const MeasureGrid *g = grid();
        if (index >= kCells)
            return QAccessible::queryAccessibleInterface(g->note(index - kCells));
        return QAccessible::queryAccessibleInterface(
            g->cell(index / MeasureGrid::kColumns, index % MeasureGrid::kColumns));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        for (int k = 0; k < childCount(); ++k)
            if (QAccessibleInterface *mine = this->child(k); mine && mine->object() == child->object())
                return k;
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int k = childCount() - 1; k >= 0; --k)
            if (QAccessibleInterface *c = child(k); c && !c->state().invisible && c->rect().contains(x, y))
                return c;
        return nullptr;
    }

  private:
    static constexpr int kCells = MeasureGrid::kRows * MeasureGrid::kColumns;
    MeasureGrid *grid() const { return static_cast<MeasureGrid *>(widget()); }
};

} // namespace

QAccessibleInterface *measureGridAccessibleFactory(const QString &, QObject *object)
{
    if (auto *cell = qobject_cast<MeasureCell *>(object))
        return new CellAccessible(cell);
    if (auto *grid = qobject_cast<MeasureGrid *>(object))
        return new GridAccessible(grid);
    return nullptr;
}

} // namespace vorlac
