#pragma once

#include "panels/panelframe.h"
#include "spectra/screensettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vorlac
{

class HintLine;
class ObservedSpectrumView;

// "Écran et spectre observé": the screen on or off, its distance and turn, the Sun in place of
// the scene's source, the absorber between lamp and prism (a named one or "absorbant inconnu"),
// and the observed spectrum. It holds the settings and says when the user changed them; the
// window computes the spectrum from them and the scene and gives it back with setSpectrum.
class ScreenPanel : public PanelFrame
{
    Q_OBJECT
  public:
    ScreenPanel(HintLine &hints, QWidget *parent);

    const ScreenSettings &settings() const { return m_settings; }
    // Shows settings (kept within their limits) without emitting settingsChanged.
    void setSettings(const ScreenSettings &settings);
    void setSpectrum(const ScreenSpectrum &spectrum);
    void clearSpectrum(); // nothing reaches the screen
    ObservedSpectrumView *view() const { return m_view; }

  signals:
    // The user changed a setting (never sent by setSettings).
    void settingsChanged(const vorlac::ScreenSettings &settings);

  private:
    void showSettings();
    void change(const ScreenSettings &settings);

    HintLine &m_hints;
    ScreenSettings m_settings;
    QCheckBox *m_shown;
    QSpinBox *m_distance;
    QSpinBox *m_turn;
    QComboBox *m_light;
    QComboBox *m_absorber;
    QPushButton *m_unknown;
    QPushButton *m_reveal;
    ObservedSpectrumView *m_view;
};

} // namespace vorlac
