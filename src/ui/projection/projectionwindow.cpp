#include "projection/projectionwindow.h"

#include "common/keptlayout.h"
#include "common/menus.h"
#include "common/pictures.h"
#include "common/regional.h"
#include "common/rounding.h"
#include "common/storepixels.h"
#include "model/lampgeometry.h"
#include "render/anglemarks.h"
#include "render/glyphline.h"
#include "render/platefill.h"
#include "scene/figureoptions.h"
#include "scene/protractorview.h"
#include "scene/scenecontroller.h"
#include "spectra/screencommands.h"
#include "spectra/strippainter.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <cmath>
#include <utility>

namespace vorlac
{

namespace
{
constexpr double kZoomStep = 1.25;
const QString kStripHint = QStringLiteral("Montrer en bas de la projection le spectre observé sur l'écran, en grand, "
                                          "avec sa règle en millimètres (touche S pour le montrer ou le retirer)");
} // namespace

ProjectionWindow::ProjectionWindow(SceneController &controller, FigureOptions &options, QWidget *mainWindow,
                                   ProtractorView *protractor)
    : QWidget(mainWindow, Qt::Window), m_controller(controller), m_options(options), m_menu(new QMenu(this)),
      m_protractor(protractor)
{
    setObjectName(QStringLiteral("Projection"));
    setWindowTitle(QStringLiteral("Projection - Le vorlac"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Projection de la scène"));
    setToolTip(QStringLiteral("Faire glisser la lampe ; Ctrl+molette : zoom ; Échap ou F11 : retour"));
    resize(960, 608);

    m_menu->setObjectName(QStringLiteral("menuprojection"));
    m_menu->addAction(options.anglesAction());
    QAction *readout = addNamedAction(m_menu, "lectureProjection", QStringLiteral("Lecture des mesures"));
    readout->setCheckable(true);
    readout->setChecked(options.settings().projectionReadout);
    connect(readout, &QAction::toggled, &options, &FigureOptions::setProjectionReadout);
    m_stripAction = addNamedAction(m_menu, "spectreProjection", QStringLiteral("Spectre observé (touche S)"));
    m_stripAction->setCheckable(true);
    m_stripAction->setShortcut(QKeySequence(Qt::Key_S));
    m_stripAction->setShortcutContext(Qt::WindowShortcut);
    m_stripAction->setToolTip(QStringLiteral("Le spectre observé sur l'écran, en bas de la projection (S)"));
    m_stripAction->setStatusTip(kStripHint);
    m_stripAction->setChecked(options.settings().projectionStrip);
    m_stripAction->setEnabled(false); // until the screen is given
    addAction(m_stripAction);
    m_menu->setToolTipsVisible(true);
    connect(m_stripAction, &QAction::toggled, this, [this](bool on) {
        if (m_screen && on != m_stripWanted) {
            m_stripWanted = on;
            m_screen->setStripWanted(on);
        }
        m_options.setProjectionStrip(on);
        fitScene();
        emit stripToggled(on);
    });
    QMenu *widths = m_menu->addMenu(QStringLiteral("Épaisseur des rayons"));
    widths->setObjectName(QStringLiteral("menuepaisseur"));
    auto *group = new QActionGroup(widths);
    for (int w = kMinRayWidth; w <= kMaxRayWidth; ++w) {
        QAction *a = widths->addAction(QStringLiteral("%1 pixel%2 (touche %1)").arg(w).arg(w > 1 ? "s" : ""));
        a->setObjectName(QStringLiteral("epaisseur%1").arg(w));
        a->setCheckable(true);
        a->setChecked(w == options.settings().projectionRayWidth);
        group->addAction(a);
        connect(a, &QAction::triggered, &options, [&options, w] { options.setProjectionRayWidth(w); });
    }
    addNamedSeparator(m_menu, "sepprojection");
    QAction *reset = addNamedAction(m_menu, "vueEntiere", QStringLiteral("Toute la scène (Ctrl+0)"));
    connect(reset, &QAction::triggered, this, [this] {
        resetZoom(m_view);
        render();
    });
    QAction *close = addNamedAction(m_menu, "fermerProjection", QStringLiteral("Fermer la projection (Échap)"));
    connect(close, &QAction::triggered, this, &QWidget::close);
    connect(&options, &FigureOptions::layerChanged, this, qOverload<>(&QWidget::update));
    connect(&options, &FigureOptions::changed, this, [this, readout, group] {
        readout->setChecked(m_options.settings().projectionReadout);
        m_stripAction->setChecked(m_options.settings().projectionStrip);
        const QList<QAction *> all = group->actions();
        all[m_options.settings().projectionRayWidth - kMinRayWidth]->setChecked(true);
        // New marks come with every figure, which draws the scene already: they are only painted.
        if (m_options.settings().projectionRayWidth != m_rayWidth)
            render();
        else
            update();
    });
    // Drawn in the same frame as the main window's picture.
    connect(&controller, &SceneController::figureChanged, this, &ProjectionWindow::render);
    if (protractor)
        connect(protractor, &ProtractorView::figureChanged, this, qOverload<>(&QWidget::update));
    m_view = fittedViewport(size());
    render();
}

ProjectionWindow::~ProjectionWindow()
{
    if (m_screen && m_stripWanted)
        m_screen->setStripWanted(false);
}

void ProjectionWindow::setScreenCommands(ScreenCommands *screen)
{
    m_screen = screen;
    m_stripAction->setEnabled(screen != nullptr);
    if (!screen)
        return;
    connect(screen, &ScreenCommands::stripChanged, this, qOverload<>(&QWidget::update));
    if (m_stripAction->isChecked()) {
        m_stripWanted = true;
        screen->setStripWanted(true);
        fitScene();
    }
}

bool ProjectionWindow::stripShown() const
{
    return m_screen && m_stripAction->isChecked();
}

QSize ProjectionWindow::sceneSize() const
{
    return {width(), std::max(1, height() - stripBand().height())};
}

QRect ProjectionWindow::stripBand() const
{
    if (!stripShown())
        return {};
    // A quarter of the window, at least what the strip, its ruler and the read-out need.
    const int h = std::max(height() / 4, 150);
    return {0, height() - h, width(), h};
}

void ProjectionWindow::showOnProjector()
{
    QScreen *own = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QList<QScreen *> screens = QGuiApplication::screens();
    QList<QRect> geometries;
    for (const QScreen *s : screens)
        geometries.append(s->geometry());
    // Not a screen that overlaps the main window's (X11 reports the span of all monitors too).
    const int chosen = projectorScreen(geometries, static_cast<int>(screens.indexOf(own)));
    QScreen *target = chosen >= 0 ? screens[chosen] : nullptr;
    if (target)
        setScreen(target);
    // The geometry too: without a window manager full screen alone leaves the size as it was.
    if (QScreen *on = target ? target : (parentWidget() ? parentWidget()->screen() : nullptr))
        setGeometry(on->geometry());
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
}

QRectF ProjectionWindow::lampRect() const
{
    const TraceLayout &l = m_controller.layout();
    const QPointF centre = m_view.toWindow(QPointF(l.line1Start.x, l.line1Start.y));
    const double side = 32 * m_view.scale();
    return {centre.x() - side / 2, centre.y() - side / 2, side, side};
}

void ProjectionWindow::render()
{
    // Drawn when the frame is painted: straight into the window's pixels for a whole frame.
    m_rayWidth = m_options.settings().projectionRayWidth;
    m_image.setStale();
    update();
}

QSize ProjectionWindow::pixelSize() const
{
    return devicePixels(size(), devicePixelRatioF());
}

const QImage &ProjectionWindow::sceneImage() const
{
    return m_image.get(pixelSize(), devicePixelRatioF(), [this](QImage &target) {
        drawSceneView(m_controller.figure(), m_view, devicePixelRatioF(), m_rayWidth, target);
    });
}

// A new figure painted over the whole window is drawn in the window's own pixels.
bool ProjectionWindow::drawSceneInPlace(QPainter &p, const QRegion &region)
{
    QImage target = storePixels(*this, p, pixelSize());
    if (target.isNull())
        return false; // a grab(): the window's pixels stay as the trail knows them
    if (!m_image.stale() || region != QRegion(rect())) {
        m_trail.forget(); // the picture goes over the window's pixels, unknown to the trail
        return false;
    }
    drawSceneView(m_controller.figure(), m_view, devicePixelRatioF(), m_rayWidth, target, &m_trail);
    return true;
}

void ProjectionWindow::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const bool inPlace = drawSceneInPlace(p, event->region());
    if (!inPlace)
        p.drawImage(QPointF(0, 0), sceneImage());
    // What is painted over the figure in place goes on the trail, which the next frame clears.
    ViewTrail *trail = inPlace ? &m_trail : nullptr;
    const QTransform toDevice = QTransform::fromScale(devicePixelRatioF(), devicePixelRatioF());
    if (trail)
        trail->setToDevice(toDevice);
    const QRectF lamp = lampRect();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (const qreal scale = lamp.width() / 32 * devicePixelRatioF(); scale != m_lampScale) {
        m_lampScale = scale;
        m_lamp = lampPicture(scale);
    }
    p.drawPixmap(lamp, m_lamp, QRectF());
    if (trail)
        trail->addRect(lamp);
    const bool black = m_controller.state().blackBackground;
    QTransform toWindow;
    toWindow.scale(m_view.scale(), m_view.scale());
    toWindow.translate(-m_view.origin.x(), -m_view.origin.y());
    p.save();
    p.setTransform(toWindow, true);
    paintAngleMarks(p, m_options.marks(), black, false);
    m_options.paintLayer(p);
    p.restore();
    // The labels keep the size of the whole scene's view when zoomed, and stay inside the window.
    const AngleFigure &marks = m_options.marks();
    const std::vector<QRectF> places = labelsOnView(marks, toWindow, m_view.fitScale, QRectF(rect()));
    paintAngleLabels(p, marks, places, m_view.fitScale, black);
    paintProtractor(p);
    const QRectF readout = m_options.settings().projectionReadout ? paintReadout(p) : QRectF();
    const QRectF zoom = m_view.zoomed() ? paintZoomLevel(p) : QRectF();
    paintStrip(p);
    if (!trail)
        return;
    trail->setToDevice(toWindow * toDevice);
    traceAngleMarks(*trail, marks);
    trail->setToDevice(toDevice);
    for (const QRectF &r : places)
        trail->addRect(r);
    for (const QRectF &r : {readout, zoom, QRectF(stripBand())})
        if (!r.isEmpty())
            trail->addRect(r);
    // Pictures of any shape: the next frame clears the whole window.
    if (m_options.layerShown() || (m_protractor && !m_protractor->isHidden()))
        trail->addEverything();
}

void ProjectionWindow::paintStrip(QPainter &p)
{
    const QRect band = stripBand();
    if (band.isEmpty())
        return;
    const bool black = m_controller.state().blackBackground;
    const QColor ink = black ? Qt::white : Qt::black;
    p.fillRect(band, black ? Qt::black : Qt::white);
    // Thick enough to read from the back of a class: labels a thirty-second of the window high.
    StripStyle style{QFont(QStringLiteral("Arial")), ink, std::max(1.0, height() / 270.0)};
    style.font.setPixelSize(std::max(14, height() / 32));
    style.font.setBold(true);
    const QFontMetrics fm(style.font);
    const int side = fm.horizontalAdvance(QStringLiteral("-000,0")) / 2 + 4;
    const int readoutHeight = fm.height();
    const int rulerHeight = stripRulerHeight(style);
    const int pad = int(2 * style.unit);
    const QRect strip(band.left() + side, band.top() + pad + int(3 * style.unit), band.width() - 2 * side,
                      std::max(8, band.height() - rulerHeight - readoutHeight - 2 * pad - int(3 * style.unit)));
    p.fillRect(strip, Qt::black);
    m_stripArea = QRect();
    const std::optional<ShownStrip> shown = m_screen->shownStrip();
    if (!shown || !shown->spectrum) {
        p.setPen(QColor(190, 190, 190));
        p.setFont(style.font);
        p.drawText(strip, Qt::AlignCenter,
                   shown ? QStringLiteral("Aucune lumière n'arrive sur l'écran")
                         : QStringLiteral("Pas d'écran : F7 pour le placer après le prisme"));
        return;
    }
    // Wide strip pixels, so that a line a single pixel holds is seen from the back of the class.
    const double wide = std::max(1.0, std::round(height() / 360.0));
    const int pixels = std::max(1, int(strip.width() * devicePixelRatioF() / wide));
    const std::tuple<double, double, int, int> key{shown->fromMm, shown->toMm, pixels, shown->generation};
    if (key != m_stripKey) {
        m_strip = stripImage(shown->spectrum, shown->fromMm, shown->toMm, pixels);
        m_stripKey = key;
    }
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRectF(strip), m_strip, QRectF(0, 0, m_strip.width(), 1));
    p.restore();
    const StripRange range{shown->fromMm, shown->toMm, strip.width()};
    m_stripArea = strip;
    m_stripRange = range;
    paintStripRuler(p, strip, range, style, band);
    if (shown->cursorMm)
        paintStripCursor(p, strip, strip.left() + (*shown->cursorMm - range.fromMm) / range.pixelMm(), style.unit);
    p.setPen(ink);
    p.setFont(style.font);
    p.drawText(QRect(strip.left(), band.bottom() + 1 - readoutHeight - pad, strip.width(), readoutHeight),
               Qt::AlignLeft | Qt::AlignVCenter, shown->readout);
}

QRectF ProjectionWindow::paintZoomLevel(QPainter &p)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(14, height() / 24));
    f.setBold(true);
    const QFontMetricsF fm(f);
    const QString text = QStringLiteral("Zoom ×%1").arg(regionalLocale().toString(m_view.zoom, 'f', 1));
    const double pad = fm.height() / 3;
    // Bottom right: the read-out holds the bottom left, the angle labels may reach the top.
    const QRectF box(width() - fm.horizontalAdvance(text) - 3 * pad, sceneSize().height() - fm.height() - 2 * pad,
                     fm.horizontalAdvance(text) + 2 * pad, fm.height() + pad);
    const bool black = m_controller.state().blackBackground;
    fillPlate(p, box, black ? QColor(0, 0, 0, 190) : QColor(255, 255, 255, 215));
    p.setPen(black ? Qt::white : Qt::black);
    p.setFont(f);
    p.drawText(box, Qt::AlignCenter, text);
    return box;
}

void ProjectionWindow::paintProtractor(QPainter &p)
{
    if (!m_protractor || m_protractor->isHidden())
        return;
    ProtractorState state = m_protractor->state();
    const ProtractorFigure figure = layoutProtractor(state);
    // Its lines as wide as the normals, its handles grown with the scene as the lamp is.
    const qreal ratio = devicePixelRatioF();
    paintProtractorOnView(p, figure, protractorColours(m_controller.state().blackBackground), state.position, m_view,
                          m_options.settings().projectionRayWidth / ratio);
    const qreal pictureRatio = m_view.scale() * ratio;
    using H = ProtractorView::Handle;
    p.drawPixmap(protractorHandleRect(H::Turn), ProtractorView::turnPicture(pictureRatio), QRectF());
    p.drawPixmap(protractorHandleRect(H::Cross), ProtractorView::crossPicture(pictureRatio), QRectF());
    p.drawPixmap(protractorHandleRect(H::Sphere), ProtractorView::spherePicture(pictureRatio), QRectF());
}

QRectF ProjectionWindow::protractorHandleRect(ProtractorView::Handle handle) const
{
    const double side = protractor::kHandleSize * m_view.scale();
    const QPointF half(protractor::kHandleSize / 2.0, protractor::kHandleSize / 2.0);
    const QPointF centre =
        protractorToWindow(m_protractor->state().position, m_view).map(m_protractor->handleCorner(handle) + half);
    return {centre.x() - side / 2, centre.y() - side / 2, side, side};
}

std::optional<ProtractorView::Handle> ProjectionWindow::protractorHandleAt(QPointF window) const
{
    if (!m_protractor || m_protractor->isHidden())
        return {};
    using H = ProtractorView::Handle;
    for (const H h : {H::Sphere, H::Cross, H::Turn}) // the order they lie in, the top first
        if (protractorHandleRect(h).contains(window))
            return h;
    return {};
}

QRectF ProjectionWindow::paintReadout(QPainter &p)
{
    const QStringList lines = readoutLines(m_controller.figure(), regionalLocale(), m_options.settings().angleDecimals);
    if (lines.isEmpty())
        return {};
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(14, height() / 18));
    f.setBold(true);
    f.setStyleStrategy(QFont::PreferNoShaping);
    const QFontMetricsF fm(f);
    // Two of the lines change at every lamp step: as glyphs, they need no new text layout.
    std::vector<GlyphLine> glyphs(std::size_t(lines.size()));
    const QRawFont raw = QRawFont::fromFont(f);
    bool asGlyphs = GlyphLine::drawsGlyphs(p);
    for (int k = 0; k < lines.size() && asGlyphs; ++k)
        asGlyphs = glyphs[std::size_t(k)].set(raw, lines[k]);
    if (m_readout.size() != std::size_t(lines.size()))
        m_readout.resize(std::size_t(lines.size()));
    const auto laidOut = [&](int k) -> const QStaticText & {
        return m_readout[std::size_t(k)].of(lines[k], f, p.deviceTransform());
    };
    double w = 0;
    for (int k = 0; k < lines.size(); ++k)
        w = std::max(w, asGlyphs ? glyphs[std::size_t(k)].width() : laidOut(k).size().width());
    const double pad = fm.height() / 3;
    // Bottom left, where the scene has least: below the base, away from the emergent beam.
    const double h = fm.height() * lines.size() + pad;
    const QRectF box(pad, sceneSize().height() - pad - h, w + 2 * pad, h);
    const bool black = m_controller.state().blackBackground;
    fillPlate(p, box, black ? QColor(0, 0, 0, 190) : QColor(255, 255, 255, 215));
    p.setPen(black ? Qt::white : Qt::black);
    p.setFont(f);
    for (int k = 0; k < lines.size(); ++k) {
        const QPointF at(box.left() + pad, box.top() + pad / 2 + k * fm.height());
        if (asGlyphs)
            glyphs[std::size_t(k)].draw(p, QRectF(at, QSizeF(w, fm.height())), Qt::AlignLeft);
        else
            p.drawStaticText(at, laidOut(k));
    }
    return box;
}

void ProjectionWindow::resizeEvent(QResizeEvent *)
{
    fitScene();
}

void ProjectionWindow::fitScene()
{
    const QSize area = sceneSize();
    const SceneViewport fitted = fittedViewport(area);
    // A zoom survives a resize about the scene's centre.
    const QPointF centre = m_view.toScene(QPointF(area.width(), area.height()) / 2);
    const double zoom = m_view.zoom;
    m_view = fitted;
    if (zoom > 1) {
        m_view.zoom = zoom;
        m_view.origin = centre - QPointF(area.width(), area.height()) / (2 * m_view.scale());
    }
    render();
}

void ProjectionWindow::dragTo(Qt::MouseButtons buttons, QPointF window)
{
    const QPointF s = m_view.toScene(window);
    const QPoint at(toInt16(s.x()), toInt16(s.y()));
    if (at == m_lastLampMouse)
        return;
    m_lastLampMouse = at;
    m_controller.dragLamp(buttons, s.x(), s.y());
}

void ProjectionWindow::pointStrip(double x)
{
    if (m_screen && !m_stripArea.isEmpty())
        m_screen->pointStrip(m_stripRange.fromMm + (x - m_stripArea.left()) * m_stripRange.pixelMm());
}

void ProjectionWindow::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(e);
    if (stripBand().contains(e->position().toPoint())) {
        m_stripPointing = true;
        pointStrip(e->position().x());
        return e->accept();
    }
    // The protractor's handles work here as on the main window's scene.
    if (const auto handle = protractorHandleAt(e->position())) {
        m_protractorDrag = handle;
        if (*handle == ProtractorView::Handle::Cross)
            m_protractor->grabCross(m_view.toScene(e->position()) - QPointF(m_protractor->state().position));
    } else if (lampRect().contains(e->position())) {
        m_dragging = true;
        m_lastLampMouse = QPoint(-1, -1);
        dragTo(e->buttons(), e->position());
    } else if (m_view.zoomed()) {
        m_panning = true;
        m_panFrom = e->position();
        setCursor(Qt::ClosedHandCursor);
    }
    e->accept();
}

void ProjectionWindow::mouseMoveEvent(QMouseEvent *e)
{
    if (m_stripPointing && (e->buttons() & Qt::LeftButton)) {
        pointStrip(e->position().x());
    } else if (m_protractorDrag && m_protractor && (e->buttons() & Qt::LeftButton)) {
        m_protractor->dragHandle(*m_protractorDrag,
                                 m_view.toScene(e->position()) - QPointF(m_protractor->state().position));
    } else if (m_dragging && (e->buttons() & Qt::LeftButton)) {
        dragTo(e->buttons(), e->position());
    } else if (m_panning) {
        panBy(m_view, e->position() - m_panFrom, size());
        m_panFrom = e->position();
        render();
    } else {
        const auto handle = protractorHandleAt(e->position());
        if (handle)
            setCursor(*handle == ProtractorView::Handle::Cross ? Qt::SizeAllCursor : Qt::PointingHandCursor);
        else
            setCursor(lampRect().contains(e->position()) ? svgCursor(QStringLiteral("cursor_grab")) : QCursor());
    }
    e->accept();
}

void ProjectionWindow::mouseReleaseEvent(QMouseEvent *e)
{
    m_protractorDrag.reset();
    m_stripPointing = false;
    if (m_dragging) {
        m_dragging = false;
        m_controller.releaseLamp();
    }
    if (m_panning) {
        m_panning = false;
        unsetCursor();
    }
    e->accept();
}

void ProjectionWindow::wheelEvent(QWheelEvent *e)
{
    if (!(e->modifiers() & Qt::ControlModifier))
        return QWidget::wheelEvent(e);
    zoomAbout(m_view, e->position(), std::pow(kZoomStep, e->angleDelta().y() / 120.0));
    render();
    e->accept();
}

void ProjectionWindow::zoomBy(double factor)
{
    const QPointF pointer = mapFromGlobal(QCursor::pos());
    zoomAbout(m_view, rect().contains(pointer.toPoint()) ? pointer : QPointF(width(), height()) / 2, factor);
    render();
}

void ProjectionWindow::keyPressEvent(QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const int key = e->key();
    if (key == Qt::Key_Escape || key == Qt::Key_F11) {
        close();
    } else if (mods == Qt::ControlModifier && (key == Qt::Key_Plus || key == Qt::Key_Equal)) {
        zoomBy(kZoomStep);
    } else if (mods == Qt::ControlModifier && key == Qt::Key_Minus) {
        zoomBy(1 / kZoomStep);
    } else if (mods == Qt::ControlModifier && key == Qt::Key_0) {
        resetZoom(m_view);
        render();
    } else if (mods == Qt::NoModifier && key >= Qt::Key_1 && key <= Qt::Key_6) {
        m_options.setProjectionRayWidth(key - Qt::Key_0);
    } else if (const std::optional<double> step = lampKeyStep(key, e->modifiers())) {
        m_controller.stepLamp(*step);
        emit lampStepped();
    } else {
        return QWidget::keyPressEvent(e);
    }
    e->accept();
}

void ProjectionWindow::keyReleaseEvent(QKeyEvent *e)
{
    if (lampKeyStep(e->key(), e->modifiers()) && !e->isAutoRepeat()) {
        m_controller.releaseLamp(); // the white light once the key is let go, as in the main window
        e->accept();
        return;
    }
    QWidget::keyReleaseEvent(e);
}

void ProjectionWindow::contextMenuEvent(QContextMenuEvent *e)
{
    m_menu->popup(e->globalPos());
}

} // namespace vorlac
