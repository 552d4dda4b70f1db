#pragma once

#include "spectra/screen.h"
#include "spectra/screensettings.h"

#include <QObject>
#include <optional>

class QAction;
class QWidget;

namespace vorlac
{

class FigureOptions;
class HintLine;
class SceneController;
class ScreenPanel;

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
    // Shows the panel with the screen on; hides the panel when it is shown.
    void toggle();
    // What the views draw; nothing while the screen is off or nothing reaches it.
    const std::optional<ScreenLayer> &layer() const { return m_layer; }

  signals:
    void changed();
    // The user changed a setting; label names it for undo.
    void edited(const QString &label);

  private:
    void recompute();

    SceneController &m_controller;
    FigureOptions &m_options;
    ScreenPanel *m_panel;
    QAction *m_action;
    std::optional<ScreenLayer> m_layer;
};

} // namespace vorlac
