#pragma once

#include "panels/panelframe.h"

class QLabel;
class QRadioButton;
class QScrollBar;
class QSpinBox;

namespace vorlac
{

class HintLine;
class SceneController;
struct SceneState;

// "Source lumineuse" `Picture6`: the kind of light and the wavelength of a monochromatic source.
class SourcePanel : public PanelFrame
{
    Q_OBJECT
  public:
    SourcePanel(SceneController &controller, HintLine &hints, QWidget *parent);
    void showState(const SceneState &state);

  private:
    void onSourceChosen(QRadioButton *option);
    void onWavelengthMoved(int nm);

    SceneController &m_controller;
    HintLine &m_hints;
    QRadioButton *m_monochromatic; // Option1
    QRadioButton *m_five;          // Option5
    QRadioButton *m_white;         // Option2
    QScrollBar *m_wavelength;      // HScroll1
    QLabel *m_wavelengthValue;     // Label7
    QSpinBox *m_typed;             // SaisieLambda: λ typed rather than clicked to
    QLabel *m_spectrum;            // Image1
    int m_stripLamp = -2;          // the lamp Image1 shows the lines of; -1 the continuous spectrum, -3 a hidden lamp's
};

} // namespace vorlac
