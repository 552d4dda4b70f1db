#include "spectra/observedspectrumview.h"

#include "common/clicklabel.h"
#include "common/focusmarks.h"
#include "spectra/screensettings.h"
#include "spectra/strippainter.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorlac
{

namespace
{

// The layout, in logical pixels: the strip on top, the ruler under it, the read-out last. The
// sides leave room for the ruler's labels at the ends.
constexpr int kSide = 14;
constexpr int kTop = 4;
constexpr int kRulerHeight = 22;
constexpr int kReadoutHeight = 18;
constexpr double kZoomStep = 1.5;

const QString kTip = QStringLiteral("Le spectre tel qu'on le voit sur l'écran, agrandi, avec une règle en "
                                    "millimètres : cliquer ou glisser pour placer le curseur ; flèches (Maj : "
                                    "10 pixels ; Ctrl : raie suivante), Origine, Fin ; + et − ou molette : "
                                    "agrandir, réduire ; F9 : relever la raie la plus proche du curseur");
const QString kDescription = QStringLiteral(
    "Le curseur lit la position sur l'écran et la longueur d'onde qui y arrive, sauf pour une lampe "
    "ou un absorbant inconnus. Flèches gauche et droite : un pixel, dix avec Maj, la raie voisine avec "
    "Ctrl (ou page précédente et page suivante) ; Origine et Fin : "
    "les extrémités ; plus et moins : agrandir ou réduire autour du curseur. F9 relève dans le tableau la "
    "position de la raie la plus proche du curseur et sa longueur d'onde, ou son rang.");

} // namespace

const QString ObservedSpectrumView::kAccessibleName = QStringLiteral("Spectre observé sur l'écran");

ObservedSpectrumView::ObservedSpectrumView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SpectreObserve"));
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(kTip);
    setAccessibleName(kAccessibleName);
    setAccessibleDescription(kDescription);
    setCursor(Qt::SizeHorCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize ObservedSpectrumView::sizeHint() const
{
    return {480, 110};
}

QSize ObservedSpectrumView::minimumSizeHint() const
{
    return {2 * kSide + 80, kTop + 16 + kRulerHeight + kReadoutHeight};
}

QRect ObservedSpectrumView::stripRect() const
{
    const int h = std::max(height() - kTop - kRulerHeight - kReadoutHeight - 2, 8);
    return {kSide, kTop, std::max(width() - 2 * kSide, 1), h};
}

StripRange ObservedSpectrumView::range() const
{
    return {m_fromMm, m_toMm, stripRect().width()};
}

StripRange ObservedSpectrumView::wholeRange() const
{
    if (!m_spectrum)
        return StripRange{m_fromMm, m_toMm, stripRect().width()};
    return m_spectrum->defaultRange(stripRect().width());
}

void ObservedSpectrumView::setSpectrum(const ScreenSpectrum &spectrum)
{
    m_spectrum = spectrum;
    m_lines = spectrum.lines();
    const StripRange whole = wholeRange();
    // An enlarged stretch is kept while the new spectrum still covers it (another absorber,
    // another lamp), so that the pupil keeps reading the same place.
    if (!m_zoomed || m_fromMm < whole.fromMm || m_toMm > whole.toMm) {
        m_fromMm = whole.fromMm;
        m_toMm = whole.toMm;
        m_zoomed = false;
    }
    m_stripStale = true;
    setCursorMm(m_cursorMm);
    cursorChanged();
    update();
}

void ObservedSpectrumView::clearSpectrum()
{
    m_spectrum.reset();
    m_lines.clear();
    m_zoomed = false;
    m_stripStale = true;
    cursorChanged();
    update();
}

void ObservedSpectrumView::zoom(double factor, double aroundMm)
{
    const StripRange whole = wholeRange();
    const StripRange r = zoomedRange(range(), factor, aroundMm, whole);
    if (r.fromMm == m_fromMm && r.toMm == m_toMm)
        return;
    m_fromMm = r.fromMm;
    m_toMm = r.toMm;
    m_zoomed = r.toMm - r.fromMm < (whole.toMm - whole.fromMm) * (1.0 - 1e-9);
    m_stripStale = true;
    setCursorMm(m_cursorMm);
    update();
    emit shownChanged();
}

void ObservedSpectrumView::setCursorMm(double positionMm)
{
    const StripRange r = range();
    const int x = std::clamp(r.pixelOf(positionMm), 0, r.widthPx - 1);
    const double at = r.pixelCentre(x);
    if (at == m_cursorMm)
        return;
    m_cursorMm = at;
    cursorChanged();
    update();
    emit cursorMoved(m_cursorMm);
}

void ObservedSpectrumView::moveCursorToPixel(int x)
{
    const StripRange r = range();
    setCursorMm(r.pixelCentre(std::clamp(x, 0, r.widthPx - 1)));
}

void ObservedSpectrumView::cursorFromMouse(double x)
{
    moveCursorToPixel(int(std::floor(x - stripRect().left())));
}

std::optional<CursorReading> ObservedSpectrumView::reading() const
{
    if (!m_spectrum || !m_spectrum->shown())
        return std::nullopt;
    return m_spectrum->read(m_cursorMm);
}

std::optional<ObservedLine> ObservedSpectrumView::selectedLine() const
{
    const int i = lineAt(m_lines, m_cursorMm, 1.5 * range().pixelMm());
    return i < 0 ? std::nullopt : std::optional<ObservedLine>(m_lines[std::size_t(i)]);
}

std::optional<ObservedLine> ObservedSpectrumView::nearestLine() const
{
    const int i = lineAt(m_lines, m_cursorMm, std::numeric_limits<double>::infinity());
    return i < 0 ? std::nullopt : std::optional<ObservedLine>(m_lines[std::size_t(i)]);
}

QString ObservedSpectrumView::readoutText() const
{
    const std::optional<CursorReading> r = reading();
    if (!r)
        return QString();
    const std::optional<ObservedLine> line = selectedLine();
    return cursorReadingText(*r, range().pixelMm()) +
           (line ? QStringLiteral(" — ") + observedLineText(*line) : QString());
}

void ObservedSpectrumView::cursorChanged()
{
    emit shownChanged();
    // Screen readers hear the reading as the control's name changes, and as its value where the
    // slider of spectrumaccessible.h is installed.
    const QString text = readoutText();
    setAccessibleName(text.isEmpty() ? kAccessibleName : kAccessibleName + QStringLiteral(", curseur : ") + text);
    if (QAccessible::isActive()) {
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
        QAccessibleValueChangeEvent valued(this, m_cursorMm);
        QAccessible::updateAccessibility(&valued);
    }
}

const QImage &ObservedSpectrumView::stripImage()
{
    const int w = std::max(1, int(std::lround(stripRect().width() * devicePixelRatioF())));
    if (m_stripStale || m_strip.width() != w) {
        m_strip = vorlac::stripImage(m_spectrum ? &*m_spectrum : nullptr, m_fromMm, m_toMm, w);
        m_stripStale = false;
    }
    return m_strip;
}

void ObservedSpectrumView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect strip = stripRect();
    p.fillRect(strip, Qt::black);
    if (isEnabled() && m_spectrum && m_spectrum->shown()) {
        // One image pixel per device pixel across; stretched down the strip's height only.
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        const QImage &image = stripImage();
        p.drawImage(QRectF(strip), image, QRectF(0, 0, image.width(), 1));
    } else {
        p.setPen(QColor(190, 190, 190));
        p.drawText(strip, Qt::AlignCenter,
                   isEnabled() ? QStringLiteral("Aucune lumière n'arrive sur l'écran")
                               : QStringLiteral("Pas d'écran : cocher la case « Écran »"));
    }
    paintRuler(p, strip);

    if (isEnabled())
        paintStripCursor(p, strip, strip.left() + (m_cursorMm - range().fromMm) / range().pixelMm(), 1.0);

    const QRect readout(kSide, height() - kReadoutHeight, width() - 2 * kSide, kReadoutHeight);
    p.setPen(palette().color(QPalette::WindowText));
    const QString reading = isEnabled() ? readoutText() : QString();
    p.drawText(readout, Qt::AlignLeft | Qt::AlignVCenter, reading);
    if (m_spectrum && isEnabled()) {
        // The light and the absorber, in what room the read-out leaves.
        QString what = m_spectrum->sourceName();
        if (m_spectrum->absorberName() != vorlac::absorberName(Absorber{}))
            what += QStringLiteral(" ; ") + m_spectrum->absorberName();
        const int room = readout.width() - fontMetrics().horizontalAdvance(reading) - 16;
        p.drawText(readout, Qt::AlignRight | Qt::AlignVCenter, fontMetrics().elidedText(what, Qt::ElideRight, room));
    }
    if (FocusMarks::shows(this))
        paintFocusMark(p, rect());
}

void ObservedSpectrumView::paintRuler(QPainter &p, const QRect &strip)
{
    paintStripRuler(p, strip, range(), StripStyle{font(), palette().color(QPalette::WindowText), 1.0}, rect());
}

void ObservedSpectrumView::keyPressEvent(QKeyEvent *e)
{
    const StripRange r = range();
    const int x = std::clamp(r.pixelOf(m_cursorMm), 0, r.widthPx - 1);
    const int step = (e->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    const bool byLine = e->modifiers() & Qt::ControlModifier;
    auto toLine = [this, &r](int direction) {
        const int i = nextLine(m_lines, m_cursorMm, direction, 1.5 * r.pixelMm());
        if (i >= 0)
            setCursorMm(m_lines[std::size_t(i)].positionMm);
    };
    switch (e->key()) {
    case Qt::Key_PageUp:
        toLine(-1);
        break;
    case Qt::Key_PageDown:
        toLine(1);
        break;
    case Qt::Key_Left:
        if (byLine)
            toLine(-1);
        else
            moveCursorToPixel(x - step);
        break;
    case Qt::Key_Right:
        if (byLine)
            toLine(1);
        else
            moveCursorToPixel(x + step);
        break;
    case Qt::Key_Home:
        moveCursorToPixel(0);
        break;
    case Qt::Key_End:
        moveCursorToPixel(r.widthPx - 1);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom(kZoomStep, m_cursorMm);
        break;
    case Qt::Key_Minus:
        zoom(1.0 / kZoomStep, m_cursorMm);
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
}

void ObservedSpectrumView::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(e);
    cursorFromMouse(e->position().x());
    e->accept();
}

void ObservedSpectrumView::mouseMoveEvent(QMouseEvent *e)
{
    if (!(e->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(e);
    cursorFromMouse(e->position().x());
    e->accept();
}

void ObservedSpectrumView::wheelEvent(QWheelEvent *e)
{
    const int delta = e->angleDelta().y();
    if (delta == 0)
        return QWidget::wheelEvent(e);
    const StripRange r = range();
    const double at = r.fromMm + (e->position().x() - stripRect().left()) * r.pixelMm();
    zoom(std::pow(kZoomStep, delta / 120.0), at); // a notch of a wheel is 120, a touchpad sends less
    e->accept();
}

void ObservedSpectrumView::resizeEvent(QResizeEvent *)
{
    m_stripStale = true;
    if (!m_zoomed && m_spectrum) {
        const StripRange whole = wholeRange();
        m_fromMm = whole.fromMm;
        m_toMm = whole.toMm;
    }
    setCursorMm(m_cursorMm);
}

} // namespace vorlac
