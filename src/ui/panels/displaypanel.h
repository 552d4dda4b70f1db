#pragma once

#include "panels/panelframe.h"

class QCheckBox;
class QRadioButton;

namespace vorlac
{

class HintLine;
class SceneController;
struct SceneState;

// "Options affichage" `Frame1`: the marks on the rays and the background.
class DisplayPanel : public PanelFrame
{
    Q_OBJECT
  public:
    DisplayPanel(SceneController &controller, HintLine &hints, QWidget *parent);
    void showState(const SceneState &state);

  private:
    void onBackgroundChosen(QRadioButton *option);

    SceneController &m_controller;
    QCheckBox *m_normals;     // normales
    QCheckBox *m_propagation; // propa
    QRadioButton *m_black;    // Option3
    QRadioButton *m_white;    // Option4
};

} // namespace vorlac
