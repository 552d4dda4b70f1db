#pragma once

#include "common/displaysettings.h"
#include "render/anglemarks.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QAction;
class QImage;
class QMenu;
class QPainter;
class QWidget;

namespace vorlac
{

class HintLine;
class SceneController;

// The display choices beyond the designed ones: the angles marked on the figure and the
// projection window's rays and read-out. Kept in the state folder for the next start; the
// marks follow every finished picture.
class FigureOptions : public QObject
{
    Q_OBJECT
  public:
    FigureOptions(SceneController &controller, const QString &settingsFile, QObject *parent);
    ~FigureOptions() override;

    const DisplaySettings &settings() const { return m_settings; }
    void setAngleMarks(bool on);
    void setProjectionRayWidth(int pixels);
    void setProjectionReadout(bool on);
    void setProjectionStrip(bool on);
    void setMagnifierZoom(int zoom);
    void setAngleDecimals(int decimals);

    // "Angles sur le schéma", checkable; in the display menu.
    QAction *anglesAction() const { return m_angles; }
    // The pop-up menu `menuaffichage` of the display panel and the scene.
    QMenu *menu() const { return m_menu.get(); }
    // A right click (or the menu key) on w opens the display menu.
    void offerMenuOn(QWidget *w);

    // The marks of the last picture; none while the option is off.
    const AngleFigure &marks() const { return m_marks; }
    // Paints the marks, in scene coordinates, when the option is on.
    void paintMarks(QPainter &p) const;
    // The printed, copied and exported figure: burnt with the marks when the option is on.
    QImage markedFigure(const QImage &figure) const;

    // A layer a room above draws over the figure in scene coordinates (the screen): in the views,
    // the print and the copies, after the marks. shown() false leaves the figure as designed.
    void setLayer(std::function<bool()> shown, std::function<void(QPainter &)> paint);
    void paintLayer(QPainter &p) const;
    bool layerShown() const { return m_layerShown && m_layerShown(); }
    // The layer's owner tells the views to draw it again.
    void refreshLayer() { emit layerChanged(); }

  signals:
    void changed();
    void layerChanged();

  private:
    void refreshMarks();
    void save();

    SceneController &m_controller;
    QString m_file;
    DisplaySettings m_settings;
    AngleFigure m_marks;
    QAction *m_angles;
    std::function<bool()> m_layerShown;
    std::function<void(QPainter &)> m_paintLayer;
    std::unique_ptr<QMenu> m_menu;
};

} // namespace vorlac
