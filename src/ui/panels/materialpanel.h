#pragma once

#include "panels/panelframe.h"
#include "scene/scenecontroller.h"

class QAction;
class QComboBox;
class QLabel;

namespace vorlac
{

class HintLine;
class UpDown;
struct Messenger;

// A material panel: "Paramétrer le vorlac" `Picture4` (the apex angle and the prism material)
// or "Milieu extérieur" `Picture5` (the outside medium). Each shows its material's index at the
// current wavelength; "Autre" asks for a material of the pupil's own.
class MaterialPanel : public PanelFrame
{
    Q_OBJECT
  public:
    MaterialPanel(MaterialSide side, SceneController &controller, HintLine &hints, const Messenger &messenger,
                  QWidget *parent);
    void showState(const SceneState &state);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void buildApex();
    void buildGlassMenu();
    void onMaterialChosen(int row);

    MaterialSide m_side;
    SceneController &m_controller;
    HintLine &m_hints;
    bool m_saidHidden = false;
    const Messenger &m_messenger;
    QString m_focusHint;
    UpDown *m_apex = nullptr;      // angle (prism panel only)
    QLabel *m_apexValue = nullptr; // Label2
    QComboBox *m_list;             // Combo1 or Combo2
    QLabel *m_wavelength;          // Label20 or Label14
    QLabel *m_index;               // Label4 or Label16
    QAction *m_reveal = nullptr;   // "Révéler le verre" of the prism panel's menu
};

} // namespace vorlac
