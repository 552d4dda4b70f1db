#include "scene/figureoptions.h"

#include "common/atomicwrite.h"
#include "common/menus.h"
#include "common/regional.h"
#include "scene/scenecontroller.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace vorlac
{

namespace
{

QByteArray readSettings(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.read(4096) : QByteArray();
}

} // namespace

FigureOptions::FigureOptions(SceneController &controller, const QString &settingsFile, QObject *parent)
    : QObject(parent), m_controller(controller), m_file(settingsFile),
      m_settings(readDisplaySettings(readSettings(settingsFile))), m_menu(std::make_unique<QMenu>())
{
    m_menu->setObjectName(QStringLiteral("menuaffichage"));
    m_angles = addNamedAction(m_menu.get(), "anglesSchema", QStringLiteral("Angles sur le schéma"));
    m_angles->setCheckable(true);
    m_angles->setChecked(m_settings.angleMarks);
    m_angles->setToolTip(QStringLiteral("Marquer et mesurer sur le schéma les angles i, r, r', i', A et D"));
    m_angles->setStatusTip(QStringLiteral("Les angles i, r, r', i', A et D du rayon mesuré, avec leur valeur, sur "
                                          "l'écran, l'image copiée, imprimée ou exportée"));
    m_menu->setToolTipsVisible(true);
    connect(m_angles, &QAction::toggled, this, &FigureOptions::setAngleMarks);
    connect(&controller, &SceneController::figureChanged, this, [this] {
        if (m_settings.angleMarks)
            refreshMarks();
    });
    refreshMarks();
}

FigureOptions::~FigureOptions() = default;

void FigureOptions::offerMenuOn(QWidget *w)
{
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint &at) { m_menu->popup(w->mapToGlobal(at)); });
}

void FigureOptions::setAngleMarks(bool on)
{
    if (on == m_settings.angleMarks)
        return;
    m_settings.angleMarks = on;
    const QSignalBlocker block(m_angles);
    m_angles->setChecked(on);
    refreshMarks();
    save();
}

void FigureOptions::setProjectionRayWidth(int pixels)
{
    pixels = std::clamp(pixels, kMinRayWidth, kMaxRayWidth);
    if (pixels == m_settings.projectionRayWidth)
        return;
    m_settings.projectionRayWidth = pixels;
    save();
    emit changed();
}

void FigureOptions::setProjectionReadout(bool on)
{
    if (on == m_settings.projectionReadout)
        return;
    m_settings.projectionReadout = on;
    save();
    emit changed();
}

void FigureOptions::setProjectionStrip(bool on)
{
    if (on == m_settings.projectionStrip)
        return;
    m_settings.projectionStrip = on;
    save();
    emit changed();
}

void FigureOptions::setMagnifierZoom(int zoom)
{
    zoom = std::clamp(zoom, kMinSettingsZoom, kMaxSettingsZoom);
    if (zoom == m_settings.magnifierZoom)
        return;
    m_settings.magnifierZoom = zoom;
    save();
    emit changed();
}

void FigureOptions::setAngleDecimals(int decimals)
{
    decimals = std::clamp(decimals, kMinSettingsDecimals, kMaxSettingsDecimals);
    if (decimals == m_settings.angleDecimals)
        return;
    m_settings.angleDecimals = decimals;
    save();
    refreshMarks(); // the labels show the panel's precision
}

void FigureOptions::refreshMarks()
{
    m_marks = m_settings.angleMarks ? angleMarks(m_controller.figure(), regionalLocale(), m_settings.angleDecimals)
                                    : AngleFigure{};
    emit changed();
}

void FigureOptions::paintMarks(QPainter &p) const
{
    if (m_settings.angleMarks)
        paintAngleMarks(p, m_marks, m_controller.state().blackBackground);
    paintLayer(p);
}

void FigureOptions::setLayer(std::function<bool()> shown, std::function<void(QPainter &)> paint)
{
    m_layerShown = std::move(shown);
    m_paintLayer = std::move(paint);
    emit layerChanged();
}

void FigureOptions::paintLayer(QPainter &p) const
{
    if (layerShown())
        m_paintLayer(p);
}

QImage FigureOptions::markedFigure(const QImage &figure) const
{
    if (!m_settings.angleMarks && !layerShown())
        return figure;
    QImage marked = figure;
    QPainter p(&marked);
    paintMarks(p);
    return marked;
}

void FigureOptions::save()
{
    // Not being able to write only means the next start takes the first values.
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    writeFileAtomically(m_file, displaySettingsText(m_settings));
}

} // namespace vorlac
