#pragma once

#include "panels/panelframe.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace vorlac
{

class HintLine;
class SceneController;
struct SceneState;

// "Lampe spectrale" `PictureLampe`: the fourth kind of source, a lamp with a line spectrum, shown
// with the source panel. The pupil chooses the lamp, or draws an unknown one at random whose
// name stays hidden until "Révéler la lampe".
class LampPanel : public PanelFrame
{
    Q_OBJECT
  public:
    LampPanel(SceneController &controller, HintLine &hints, QWidget *parent);
    void showState(const SceneState &state);

    static QString panelHint();

  private:
    void chooseLamp(int row);
    void chooseUnknownLamp();

    SceneController &m_controller;
    HintLine &m_hints;
    QRadioButton *m_option; // OptionLampe
    QComboBox *m_lamps;     // ComboLampe
    QPushButton *m_unknown; // BoutonLampeInconnue
    QPushButton *m_reveal;  // BoutonReveler
    bool m_saidHidden = false;
};

} // namespace vorlac
