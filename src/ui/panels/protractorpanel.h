#pragma once

#include "panels/panelframe.h"

class QLabel;

namespace vorlac
{

class ClickLabel;
class HintLine;
class ProtractorModel;
class ProtractorView;
class SceneController;

// "Mesurer un angle" `Picture2`: the protractor's read-out. The protractor `picturap` itself
// lies on the scene and is shown and hidden with this panel.
class ProtractorPanel : public PanelFrame
{
    Q_OBJECT
  public:
    ProtractorPanel(HintLine &hints, QWidget *parent);

    // Shows the panel from its icon: the read-out in black and the protractor hint.
    void open();

    static QString hint();

    // Lays the protractor of model on the scene dessin (drawn once, hidden) and refreshes it after
    // every redraw while this panel is shown. The panel is shown while the model says so.
    void attachProtractor(SceneController &controller, QWidget *dessin, ProtractorModel &model);
    // The protractor laid by attachProtractor; null before.
    ProtractorView *protractor() const { return m_protractor; }

  private:
    void refreshProtractor();

    HintLine &m_hints;
    SceneController *m_controller = nullptr;
    ProtractorView *m_protractor = nullptr;
    QLabel *m_readout;
    ClickLabel *m_closeIcon;
};

} // namespace vorlac
