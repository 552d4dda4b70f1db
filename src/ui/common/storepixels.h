#pragma once

#include <QImage>
#include <QSize>
#include <functional>

class QPainter;
class QWidget;

namespace vorlac
{

// The window's own pixels (its backing store) that p is painting, seen at ratio 1 as an image of
// `size` pixels from the window's top left, sharing them: a new figure is drawn there instead of
// into a picture that is then copied, which costs about as much as drawing it. Null unless p
// paints straight into the store of the top-level window `window`, in a 32-bit format the
// rasteriser writes, with room for `size` (a grab() paints elsewhere).
QImage storePixels(QWidget &window, QPainter &p, QSize size);

// A size in logical pixels as whole device pixels at `ratio`, at least one each way.
QSize devicePixels(QSize logical, qreal ratio);

// A window's picture of the figure, drawn only when a paint needs it after a change: a frame
// painted whole is drawn in the window's own pixels instead (storePixels).
class LazyPicture
{
  public:
    void setStale() { m_stale = true; }
    bool stale() const { return m_stale; }
    // The picture of `pixels` device pixels at `ratio`; draw fills it, seen at ratio 1, when stale.
    const QImage &get(QSize pixels, qreal ratio, const std::function<void(QImage &)> &draw);

  private:
    QImage m_image;
    bool m_stale = true; // the figure changed since m_image was drawn
};

} // namespace vorlac
