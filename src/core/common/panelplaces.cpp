#include "common/panelplaces.h"

#include <QList>
#include <algorithm>

namespace vorlac
{

namespace
{

// The controls of the window as designed never move: free room starts beside them.
constexpr int kDesignedRight = 788;  // the exercise area's shadow
constexpr int kDesignedBottom = 548; // the same shadow
constexpr int kMargin = 8;
const QPoint kOverExerciseText(424, 315);

} // namespace

QPoint keptInside(QPoint wanted, QSize panel, QSize window)
{
    return {std::max(0, std::min(wanted.x(), window.width() - panel.width())),
            std::max(0, std::min(wanted.y(), window.height() - panel.height()))};
}

QPoint defaultMeasurePlace(QSize panel, QSize window)
{
    const int right = kDesignedRight + kMargin, below = kDesignedBottom + kMargin;
    if (right + panel.width() + kMargin <= window.width())
        return {right, 48};
    if (below + panel.height() + kMargin <= window.height())
        return {kOverExerciseText.x(), below};
    return keptInside(kOverExerciseText, panel, window);
}

std::optional<QPoint> panelPlace(const QByteArray &places, const QByteArray &name)
{
    for (const QByteArray &line : places.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.left(eq).trimmed() != name)
            continue;
        const QList<QByteArray> xy = line.mid(eq + 1).split(',');
        bool okX = false, okY = false;
        const int x = xy.value(0).trimmed().toInt(&okX), y = xy.value(1).trimmed().toInt(&okY);
        if (xy.size() == 2 && okX && okY)
            return QPoint(x, y);
    }
    return std::nullopt;
}

QByteArray withPanelPlace(const QByteArray &places, const QByteArray &name, QPoint pos)
{
    const QByteArray own = name + '=' + QByteArray::number(pos.x()) + ',' + QByteArray::number(pos.y());
    QList<QByteArray> lines;
    bool set = false;
    for (const QByteArray &line : places.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0 && line.left(eq).trimmed() == name) {
            if (!set)
                lines.push_back(own);
            set = true;
        } else if (!line.trimmed().isEmpty()) {
            lines.push_back(line);
        }
    }
    if (!set)
        lines.push_back(own);
    return lines.join('\n') + '\n';
}

QRect smallScreenFrame(QSize screen)
{
    // 800 x 600 centred; a screen smaller than that gets the window at its corner and no larger
    // than itself, so the toolbar and the close box stay on the screen.
    const QSize outer(std::clamp(screen.width(), 1, 800), std::clamp(screen.height(), 1, 600));
    const QPoint topLeft(std::max(0, (screen.width() - outer.width()) / 2),
                         std::max(0, (screen.height() - outer.height()) / 2));
    return {topLeft, outer};
}

QPoint besideWindow(QRect frame, QSize size, QRect available)
{
    constexpr int kGap = 4;
    int x = frame.right() + 1 + kGap;
    if (x + size.width() > available.right() + 1)
        x = frame.left() - kGap - size.width() >= available.left() ? frame.left() - kGap - size.width()
                                                                   : available.right() + 1 - size.width();
    const QPoint inside = keptInside(QPoint(x, frame.top()) - available.topLeft(), size, available.size());
    return inside + available.topLeft();
}

} // namespace vorlac
