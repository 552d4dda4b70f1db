#pragma once

#include "model/colour.h"
#include "model/scenestate.h"
#include "render/scenefigure.h"
#include "render/scenerenderer.h"

#include <QObject>
#include <functional>
#include <optional>

class QTimer;

namespace vorlac
{

enum class MaterialSide { Prism, Outside };

// The only writer of the scene state. Every setter changes the state, emits sceneChanged (the
// panels show the new state) and then redraws the picture as that change requires, with the
// deferred white-light redraw of Timer1. Panels call the setters and never keep a second copy
// of the state.
class SceneController : public QObject
{
    Q_OBJECT
  public:
    explicit SceneController(QObject *parent = nullptr);

    const SceneState &state() const { return m_state; }
    // The persistent scene picture; its lastLayout is where Line1 and the lamp stand.
    const ScenePicture &picture() const { return m_picture; }
    const TraceLayout &layout() const { return m_picture.lastLayout; }
    // What every view draws and reads: traced once per change of the scene, published by
    // figureChanged.
    const SceneFigure &figure() const { return m_figure; }
    QTimer *timer1() const { return m_timer1; }
    // The side "Autre" was chosen for last; none until then.
    std::optional<MaterialSide> customMaterialTarget() const { return m_customMaterialTarget; }
    bool lampDragging() const { return m_lampDragging; }

    // Scene values. Each redraws what it changes.
    void setApexAngle(int degrees);         // five-ray preview now, white light after Timer1
    void setIncidenceAngle(double degrees); // stored as the trace clamps it; white light at once unless dragging
    void setWavelength(int nm);             // redraws only a monochromatic source
    void setSource(SourceType source);      // white light clears the marks, the others bring back propagation
    // The lamp of the "Lampe spectrale" source (a row of lineLamps()); shown by name.
    void setLamp(int row);
    // "Lampe inconnue": the lamp becomes the source and its name is hidden until revealLamp.
    void setUnknownLamp(int row);
    void revealLamp();
    void setBlackBackground(bool black);
    void setMarks(bool normals, bool propagation);
    // A listed material (rows 0..3) takes its coefficients; row kCustomMaterial only records which
    // side the custom-material dialog edits and keeps the coefficients.
    void setMaterial(MaterialSide side, int row);
    // A material of the pupil's own: its coefficients, the row becomes kCustomMaterial.
    void setCustomMaterial(MaterialSide side, float cauchyA, float cauchyB);
    // A glass of the "Verres réels" list becomes the prism ("Autre" with the glass's fit); hidden,
    // it is the "Verre inconnu" until revealGlass.
    void setGlass(int row, bool hidden);
    void revealGlass();
    // The whole scene at once (a loaded situation): one sceneChanged, then the full redraw. It
    // goes through no list, so "Autre" in it asks for nothing; its coefficients are the state's.
    void setState(const SceneState &state);

    // Lamp drag, in scene pixels: a move with the buttons held, and the mouse-up.
    void dragLamp(Qt::MouseButtons buttons, double x, double y);
    void releaseLamp();
    // A lamp key: the incidence moves by step degrees (kept within +-90) through
    // setIncidenceAngle, one scene redraw; the white light waits for releaseLamp, as after a drag.
    void stepLamp(double step);
    // The screen's device pixel ratio: the next pictures are drawn for it too.
    void setScreenRatio(double ratio);

    // A room above adds its part to every figure before it is drawn (the screen: the rays' light
    // and where they end); refigure() draws the scene again when that part changes.
    void setFigureDressing(std::function<void(SceneFigure &)> dress) { m_dress = std::move(dress); }
    void refigure();

    // Start-up: the wavelength colours, then the first pictures.
    void start();

    // Finished pictures, for tests and the protractor.
    int sceneRedrawCount() const { return m_sceneRedraws; }
    int whiteRedrawCount() const { return m_whiteRedraws; }
    // Figures traced, for tests: one per change whatever the views open.
    int figureCount() const { return m_figures; }

  signals:
    void sceneChanged();
    // After each setter that the pupil's work changes, with the change's French name; the undo
    // history records steps from it.
    void edited(const QString &label);
    // A white-light picture is about to be computed (the view shows the hourglass).
    void whiteLightRedrawStarting();
    // After every finished scene redraw and white-light redraw: the picture and layout are new.
    void pictureRedrawn();
    // The figure is new (a redraw, or another measured ray for the cursor): every view reads it.
    void figureChanged();

  private:
    void redrawScene();
    void redrawWhiteLight();
    void timer1Tick();
    void store(const TraceLayout &layout);
    void publish(SceneFigure figure);
    void remeasure(); // the cursor chose another measured ray; nothing else changed
    void clampIncidence();
    void redrawForMaterial();
    void forgetGlass(); // the prism's coefficients are no longer a catalogue glass's

    SceneState m_state;
    bool m_whiteRedrawPending = false; // an apex change waits for Timer1's white-light picture
    bool m_lampDragging = false;
    std::optional<MaterialSide> m_customMaterialTarget;
    ScenePicture m_picture;
    SceneFigure m_figure;
    SpectrumColours m_spectrumColour{};
    QTimer *m_timer1;
    int m_sceneRedraws = 0;
    int m_whiteRedraws = 0;
    int m_figures = 0;
    std::function<void(SceneFigure &)> m_dress;
};

} // namespace vorlac
