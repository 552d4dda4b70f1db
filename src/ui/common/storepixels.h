#pragma once

#include <QImage>
#include <QSize>

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

} // namespace vorlac
