#include "projection/magnifierwindow.h"

#include "analysis/measuretexts.h"
#include "common/hintline.h"
#include "common/keptlayout.h"
#include "common/regional.h"
#include "common/storepixels.h"
#include "render/glyphline.h"
#include "scene/figureoptions.h"
#include "scene/scenecontroller.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStaticText>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

namespace vorlac
{

namespace
{

const QString kZoomTip = QStringLiteral("Grossissement du faisceau émergent, de ×10 à ×200 (Ctrl+molette)");
const QString kZoomHint = QStringLiteral("Grossir le faisceau émergent de 10 à 200 fois : des raies proches, comme "
                                         "le doublet du sodium, s'y séparent (Ctrl+molette)");
const QString kWindowHint = QStringLiteral("Le faisceau émergent grossi, jusqu'à %1 pixels de son point de sortie ; "
                                           "Ctrl+molette : grossissement ; Échap ou F8 : fermer");

// A scale bar of a round length of the scene, 40 to 120 window pixels long.
// The zoom is a whole number: a typed decimal ("50,5") is rounded, and the rounding said, rather
// than its separator dropped in silence.
class ZoomBox : public QSpinBox
{
  public:
    using QSpinBox::QSpinBox;
    std::function<void(const QString &typed, int zoom)> rounded;

  protected:
    QValidator::State validate(QString &text, int &pos) const override
    {
        const QString bare = text.mid(prefix().size());
        static const QRegularExpression decimal(QStringLiteral("^\\d{1,3}[.,]\\d*$"));
        if (text.startsWith(prefix()) && decimal.match(bare).hasMatch())
            return QValidator::Intermediate;
        return QSpinBox::validate(text, pos);
    }
    void fixup(QString &text) const override
    {
        QString bare = text.mid(prefix().size());
        bare.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double typed = QLocale::c().toDouble(bare, &ok);
        if (!ok)
            return QSpinBox::fixup(text);
        const int zoom = std::clamp(int(std::lround(typed)), minimum(), maximum());
        if (rounded)
            rounded(text.mid(prefix().size()), zoom);
        text = prefix() + QString::number(zoom);
    }
};

double scaleBarLength(double zoom)
{
    for (const double l : {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0})
        if (l * zoom >= 40)
            return l;
    return 5.0;
}

} // namespace

MagnifierWindow::MagnifierWindow(SceneController &controller, FigureOptions &options, HintLine &hints,
                                 QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Tool), m_controller(controller), m_options(options), m_bar(new QWidget(this))
{
    setObjectName(QStringLiteral("Grossissement"));
    setWindowTitle(QStringLiteral("Grossissement du faisceau émergent - Le vorlac"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The picture and the band under the bar are painted whole: no background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Grossissement du faisceau émergent"));
    const QString windowHint = kWindowHint.arg(int(kMagnifierDistance));
    setToolTip(windowHint);
    hints.addHint(this, windowHint);

    auto *caption = new QLabel(QStringLiteral("&Grossissement :"), m_bar);
    m_slider = new QSlider(Qt::Horizontal, m_bar);
    m_slider->setObjectName(QStringLiteral("GrossissementCurseur"));
    m_slider->setRange(kMagnifierMinZoom, kMagnifierMaxZoom);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(10);
    m_slider->setAccessibleName(QStringLiteral("Grossissement"));
    auto *box = new ZoomBox(m_bar);
    box->rounded = [&hints](const QString &typed, int zoom) {
        hints.announce(QStringLiteral("Grossissement entier : %1 arrondi à ×%2").arg(typed).arg(zoom));
    };
    m_spin = box;
    m_spin->setObjectName(QStringLiteral("GrossissementValeur"));
    m_spin->setRange(kMagnifierMinZoom, kMagnifierMaxZoom);
    m_spin->setPrefix(QStringLiteral("×"));
    m_spin->setAccessibleName(QStringLiteral("Grossissement"));
    caption->setBuddy(m_slider);
    for (QWidget *w : std::initializer_list<QWidget *>{caption, m_slider, m_spin}) {
        w->setToolTip(kZoomTip);
        hints.addHint(w, kZoomHint);
    }
    auto *row = new QHBoxLayout(m_bar);
    row->setContentsMargins(6, 4, 6, 4);
    row->addWidget(caption);
    row->addWidget(m_slider, 1);
    row->addWidget(m_spin);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addStretch(1);
    outer->addWidget(m_bar);
    setTabOrder(m_slider, m_spin);

    setZoom(options.settings().magnifierZoom);
    connect(m_slider, &QSlider::valueChanged, this, [this](int z) {
        setZoom(z);
        if (!m_slider->isSliderDown()) // a drag is written once, at its release
            m_options.setMagnifierZoom(z);
    });
    connect(m_slider, &QSlider::sliderReleased, this, [this] { m_options.setMagnifierZoom(m_slider->value()); });
    connect(m_spin, &QSpinBox::valueChanged, this, [this](int z) {
        setZoom(z);
        m_options.setMagnifierZoom(z);
    });
    // Drawn in the same frame as the main window's picture, and when the cursor alone chooses
    // another measured ray (five radiations, a lamp).
    connect(&controller, &SceneController::figureChanged, this, &MagnifierWindow::render);
    // Its rays are as wide as the projection's, chosen for the class.
    connect(&options, &FigureOptions::changed, this, [this] {
        if (m_options.settings().projectionRayWidth != m_rayWidth)
            render();
    });
    resize(520, 420);
    m_slider->setFocus();
}

void MagnifierWindow::showBesideMainWindow()
{
    if (QWidget *main = parentWidget()) {
        const QRect frame = main->frameGeometry();
        const QRect screen = main->screen() ? main->screen()->availableGeometry() : QRect();
        // Right of the window, or against the screen's right edge, over the window's right side
        // (the exercise text) rather than over the scene.
        QPoint at(frame.right() + 1, frame.top() + 48); // below the toolbar
        if (screen.isValid())
            at.setX(std::max(screen.left(), std::min(at.x(), screen.right() + 1 - frameSize().width())));
        move(at);
    }
    show();
    raise();
    activateWindow();
}

int MagnifierWindow::zoom() const
{
    return m_spin->value();
}

void MagnifierWindow::setZoom(int zoom)
{
    zoom = std::clamp(zoom, kMagnifierMinZoom, kMagnifierMaxZoom);
    const QSignalBlocker a(m_slider), b(m_spin);
    m_slider->setValue(zoom);
    m_spin->setValue(zoom);
    render();
}

QRect MagnifierWindow::pictureRect() const
{
    return QRect(0, 0, width(), std::max(1, height() - m_bar->sizeHint().height()));
}

void MagnifierWindow::render()
{
    const QRect area = pictureRect();
    m_beam = magnifiedBeam(m_controller.figure());
    m_view = magnifierViewport(m_beam, area.size(), m_spin ? m_spin->value() : kMagnifierDefaultZoom);
    m_rayWidth = m_options.settings().projectionRayWidth;
    m_image.setStale();
    // The bar below keeps its pixels: only the picture and its captions change.
    update(area);
}

QSize MagnifierWindow::picturePixels() const
{
    return devicePixels(pictureRect().size(), devicePixelRatioF());
}

const QImage &MagnifierWindow::image() const
{
    return m_image.get(picturePixels(), devicePixelRatioF(), [this](QImage &target) {
        drawMagnifiedScene(m_controller.figure(), m_view, devicePixelRatioF(), m_rayWidth, target);
    });
}

void MagnifierWindow::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect area = pictureRect(); // from the window's top left
    // A new figure over the whole picture is drawn in the window's own pixels, not copied there.
    QImage target = storePixels(*this, p, picturePixels());
    ViewTrail *trail = nullptr;
    if (!target.isNull() && m_image.stale() && (QRegion(area) - event->region()).isEmpty()) {
        trail = &m_trail;
        drawMagnifiedScene(m_controller.figure(), m_view, devicePixelRatioF(), m_rayWidth, target, trail);
        trail->setToDevice(QTransform::fromScale(devicePixelRatioF(), devicePixelRatioF()));
    } else {
        // The picture goes over the window's pixels, unknown to the trail (a grab() paints elsewhere).
        if (!target.isNull())
            m_trail.forget();
        p.drawImage(area.topLeft(), image());
    }
    p.fillRect(QRect(0, area.bottom() + 1, width(), height() - area.height()), palette().window());
    paintCaption(p, area, trail);
}

void MagnifierWindow::paintCaption(QPainter &p, QRect area, ViewTrail *trail)
{
    const QLocale locale = regionalLocale();
    const bool black = m_controller.state().blackBackground;
    const QColor ink = black ? QColor(230, 230, 230) : QColor(20, 20, 20);
    const int rank = hiddenLineNumber(m_controller.state(), m_beam.wavelength);
    const bool lamp = m_controller.state().source == SourceType::LineLamp;
    const QString line = rank > 0
                             ? QStringLiteral("raie %1").arg(rank)
                             : QStringLiteral("λ = %1 nm").arg(wavelengthValueText(m_beam.wavelength, locale, lamp));
    QString what = m_beam.emerged ? QStringLiteral("%1, à %2 pixels du point de sortie, ×%3")
                                        .arg(line)
                                        .arg(int(std::lround(m_beam.distance)))
                                        .arg(zoom())
                                  : QStringLiteral("Le rayon mesuré ne sort pas du vorlac : fin de son tracé");
    // On a plate of the background, so that many rays do not hide the words.
    const QColor plate = black ? QColor(0, 0, 0, 235) : QColor(255, 255, 255, 235);
    const std::vector<BeamLabel> labels = magnifierLabels(m_controller.figure(), m_beam, m_view, area.size(), locale);
    // How far the measured line (the one nearest the centre) is from its nearest neighbour here.
    double measured = 0, gap = -1;
    for (const BeamLabel &l : labels)
        if (std::abs(l.offset) < std::abs(measured) || &l == &labels.front())
            measured = l.offset;
    for (const BeamLabel &l : labels)
        if (l.offset != measured && (gap < 0 || std::abs(l.offset - measured) < gap))
            gap = std::abs(l.offset - measured);
    if (gap > 0)
        what += QStringLiteral(" ; raie voisine à %1 pixel de la scène").arg(locale.toString(gap, 'f', 2));
    paintLineLabels(p, labels, plate, ink, trail);
    p.setFont(font());
    // The gap to the next line changes as the lamp moves: as glyphs, no new text layout.
    GlyphLine glyphs;
    const bool asGlyphs = GlyphLine::drawsGlyphs(p) && glyphs.set(QRawFont::fromFont(font()), what);
    const QSizeF size = asGlyphs ? QSizeF(glyphs.width(), QFontMetricsF(font()).height())
                                 : m_caption.of(what, font(), p.deviceTransform()).size();
    const QPointF corner(area.left() + 8, area.top() + 6);
    const QRectF captionPlate = QRectF(corner, size).adjusted(-4, -2, 4, 2);
    p.fillRect(captionPlate, plate);
    p.setPen(ink);
    if (asGlyphs)
        glyphs.draw(p, QRectF(corner, size), Qt::AlignLeft);
    else
        p.drawStaticText(corner, m_caption.of(what, font(), p.deviceTransform()));
    // A bar of a round length of the scene, so that a gap between rays can be read.
    const double scene = scaleBarLength(zoom());
    const double length = scene * m_view.scale();
    const QPointF start(area.left() + 10, area.bottom() - 12);
    const QString label =
        QStringLiteral("%1 pixel%2 de la scène").arg(locale.toString(scene, 'g', 2), scene >= 2 ? "s" : "");
    const QStaticText &scaleWords = m_scaleWords.of(label, font(), p.deviceTransform());
    const QRectF barPlate(start.x() - 4, start.y() - 8, length + 16 + scaleWords.size().width(), 16);
    p.fillRect(barPlate, plate);
    p.drawLine(start, start + QPointF(length, 0));
    p.drawLine(start + QPointF(0, -4), start + QPointF(0, 4));
    p.drawLine(start + QPointF(length, -4), start + QPointF(length, 4));
    p.drawStaticText(start + QPointF(length + 8, 4 - QFontMetricsF(font()).ascent()), scaleWords);
    if (trail) {
        // The words may reach past their plates by a pixel or two, which the trail's margin holds.
        trail->addRect(captionPlate);
        trail->addRect(barPlate);
    }
}

void MagnifierWindow::paintLineLabels(QPainter &p, const std::vector<BeamLabel> &labels, QColor plate, QColor ink,
                                      ViewTrail *trail)
{
    // Large enough to be read from the back of a classroom on a projector.
    QFont big = font();
    big.setPixelSize(std::clamp(height() / 14, 18, 44));
    big.setBold(true);
    p.save();
    p.setFont(big);
    const QFontMetrics fm(big);
    const double b = m_beam.direction * std::numbers::pi / 180;
    const QPointF along(std::cos(b), std::sin(b));
    std::vector<QRectF> taken;
    // The lines' names stay the same while the lamp moves: each is laid out once.
    if (m_lineLabels.size() < labels.size())
        m_lineLabels.resize(labels.size());
    for (std::size_t k = 0; k < labels.size(); ++k) {
        const BeamLabel &label = labels[k];
        const QStaticText &words = m_lineLabels[k].of(label.text, big, p.deviceTransform());
        QRectF box(QPointF(), QSizeF(words.size().width() + 8, fm.height() + 2));
        // Beside its ray; moved along the beam while it would cover another label.
        QPointF at = label.at + QPointF(6, -box.height() / 2);
        const QRectF inside = QRectF(pictureRect()).adjusted(0, fm.height() + 8, 0, 0); // below the caption
        for (int tries = 0; tries < 12; ++tries) {
            box.moveTopLeft(at);
            box.moveLeft(std::max(inside.left(), std::min(box.left(), inside.right() - box.width())));
            box.moveTop(std::max(inside.top(), std::min(box.top(), inside.bottom() - box.height())));
            if (std::none_of(taken.begin(), taken.end(), [&box](const QRectF &r) { return r.intersects(box); }))
                break;
            at += along * box.height();
        }
        taken.push_back(box);
        p.fillRect(box, plate);
        p.setPen(ink);
        // A label moved clear of its neighbours (lines a pixel apart) points back at its own ray.
        const QPointF near(std::clamp(label.at.x(), box.left(), box.right()),
                           std::clamp(label.at.y(), box.top(), box.bottom()));
        if (QLineF(label.at, near).length() > 8) {
            p.drawLine(label.at, near);
            if (trail)
                trail->addStroke(QLineF(label.at, near), 1);
        }
        if (trail)
            trail->addRect(box);
        p.drawStaticText(box.center() - QPointF(words.size().width(), words.size().height()) / 2, words);
    }
    p.restore();
}

void MagnifierWindow::resizeEvent(QResizeEvent *)
{
    render();
}

void MagnifierWindow::wheelEvent(QWheelEvent *e)
{
    if (!(e->modifiers() & Qt::ControlModifier))
        return QWidget::wheelEvent(e);
    // One notch is a fifth more or less, always at least one step.
    const double notches = e->angleDelta().y() / 120.0;
    const int now = zoom();
    int next = int(std::lround(now * std::pow(1.2, notches)));
    if (next == now && notches != 0)
        next += notches > 0 ? 1 : -1;
    setZoom(next);
    m_options.setMagnifierZoom(zoom());
    e->accept();
}

void MagnifierWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

} // namespace vorlac
