#pragma once

#include "spectra/observedspectrum.h"
#include "spectra/screen.h"
#include "spectra/screensettings.h"

#include <QObject>
#include <QString>
#include <optional>

class QAction;
class QWidget;

namespace vorlac
{

class FigureOptions;
class HintLine;
class SceneController;
class ScreenPanel;
class ValueTable;

// The strip as another window shows it: the panel's stretch and cursor while the panel is open,
// the whole spectrum otherwise.
struct ShownStrip {
    const ScreenSpectrum *spectrum = nullptr; // nothing when no light reaches the screen
    double fromMm = 0;
    double toMm = 0;
    std::optional<double> cursorMm;
    QString readout;    // the panel's, which gives no hidden wavelength away
    int generation = 0; // changes with each new spectrum
};

// "Écran et spectre observé": the item of the display menu and the key F7 that show the screen
// and its panel; the screen's settings, the spectrum recomputed from them and the figure, and the
// screen drawn over the figure in every view while it is shown.
class ScreenCommands : public QObject
{
    Q_OBJECT
  public:
    ScreenCommands(SceneController &controller, FigureOptions &options, HintLine &hints, QWidget *window);

    QAction *action() const { return m_action; }
    ScreenPanel *panel() const { return m_panel; }
    const ScreenSettings &settings() const;
    // Puts settings back (undo, recovery, a situation): changed() but no edited().
    void setSettings(const ScreenSettings &settings);
    // The user placed the screen on the scene: as if typed into the panel (one "écran" step).
    void place(const ScreenPlacement &placement);
    // Shows the panel with the screen on; hides the panel when it is shown.
    void toggle();
    // What the views draw; nothing while the screen is off or nothing reaches it.
    const std::optional<ScreenLayer> &layer() const { return m_layer; }

    // F9 belongs to the screen while it is on and its panel open: the line nearest the strip's
    // cursor is recorded into the table (the cursor moves onto it, so the read-out names it), the
    // outcome said on the hint line. False when F9 is not the screen's, for the angles' record.
    bool recordLine(ValueTable &table);
    // The spectrum is computed while its panel is open or another window shows the strip.
    void setStripWanted(bool wanted);
    // Nothing while the screen is off.
    std::optional<ShownStrip> shownStrip() const;
    // Another window's strip pointed at a position: the panel's cursor goes there while it is open.
    void pointStrip(double positionMm);

  signals:
    void recorded(int line); // the data line F9 wrote
    // What the strip shows changed: the spectrum, the settings, the panel's stretch or cursor.
    void stripChanged();
    void changed();
    // The user changed a setting; label names it for undo.
    void edited(const QString &label);

  private:
    void userEdited();
    void recompute();
    // Draws the scene again with the screen's part, then the spectrum and the layer.
    void redraw();
    ScreenLayer layerOn(const ScreenFrame &frame) const;

    SceneController &m_controller;
    FigureOptions &m_options;
    HintLine &m_hints;
    ScreenPanel *m_panel;
    QAction *m_action;
    std::optional<ScreenLayer> m_layer;
    std::optional<ScreenSpectrum> m_spectrum;
    int m_stripWanted = 0; // windows showing the strip
    int m_generation = 0;
};

} // namespace vorlac
