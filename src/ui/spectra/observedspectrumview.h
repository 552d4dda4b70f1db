#pragma once

#include "spectra/observedspectrum.h"

#include <QImage>
#include <QWidget>
#include <optional>

namespace vorlac
{

// The screen as the class sees it, enlarged: the strip of the observed spectrum, computed for
// each device pixel of its width, a ruler in millimetres along the screen under it, a cursor the
// user places with the mouse or the keyboard, and the cursor's read-out (position, and the
// wavelength landing there unless the lamp or absorber is hidden).
// Keys: Left/Right one pixel (Shift: ten), Ctrl+Left/Right (or Page Up/Down) the previous or next
// line, Home/End the ends, + and - (or the wheel) enlarge and reduce the stretch shown about the
// cursor (the mouse).
class ObservedSpectrumView : public QWidget
{
    Q_OBJECT
  public:
    explicit ObservedSpectrumView(QWidget *parent = nullptr);
    static const QString kAccessibleName; // "Spectre observé sur l'écran"

    // The spectrum to show; the stretch shown is its whole extent unless the user enlarged a part
    // of it that it still covers. clearSpectrum(): nothing reaches the screen.
    void setSpectrum(const ScreenSpectrum &spectrum);
    void clearSpectrum();
    bool hasSpectrum() const { return m_spectrum.has_value(); }

    // Where the strip lies in the widget, and the stretch of the screen it shows with one strip
    // pixel per logical pixel of the widget.
    QRect stripRect() const;
    StripRange range() const;
    // Enlarges (factor > 1) or reduces the stretch shown about a position.
    void zoom(double factor, double aroundMm);

    double cursorMm() const { return m_cursorMm; }
    // Puts the cursor at the centre of the strip pixel the position falls in (kept on the strip).
    void setCursorMm(double positionMm);
    std::optional<CursorReading> reading() const;
    // The line the cursor is on (within a pixel and a half), for a measure to record it.
    std::optional<ObservedLine> selectedLine() const;
    // The line nearest the cursor, however far: the one F9 records.
    std::optional<ObservedLine> nearestLine() const;
    QString readoutText() const; // empty without a spectrum

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // The cursor moved, by the user or by setCursorMm.
    void cursorMoved(double positionMm);
    // What the strip shows changed: the spectrum, the stretch or the cursor.
    void shownChanged();

  protected:
    void paintEvent(QPaintEvent *) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void resizeEvent(QResizeEvent *) override;

  private:
    void moveCursorToPixel(int x);
    void cursorFromMouse(double x);
    void cursorChanged();
    StripRange wholeRange() const;
    const QImage &stripImage();
    void paintRuler(QPainter &p, const QRect &strip);

    std::optional<ScreenSpectrum> m_spectrum;
    std::vector<ObservedLine> m_lines; // the spectrum's, in increasing position
    double m_fromMm = -20.0;           // the stretch shown
    double m_toMm = 20.0;
    bool m_zoomed = false;
    double m_cursorMm = 0.0;
    QImage m_strip; // the strip at device pixels, made again when stale
    bool m_stripStale = true;
};

} // namespace vorlac
