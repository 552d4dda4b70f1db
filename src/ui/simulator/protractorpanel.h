#pragma once

#include "simulator/panelframe.h"

class QLabel;

namespace vorlac {

class ClickLabel;
class HintLine;

// "Mesurer un angle" `Picture2`: the protractor's read-out. The protractor `picturap` itself
// lies on the scene while this panel is shown (follow visibilityChanged).
class ProtractorPanel : public PanelFrame {
    Q_OBJECT
public:
    ProtractorPanel(HintLine &hints, QWidget *parent);

    // Shows the panel from its icon: the read-out in black and the protractor hint.
    void open();
    QLabel *readout() const { return m_readout; }         // Label10
    ClickLabel *closeIcon() const { return m_closeIcon; } // Image4

    static QString hint();

private:
    HintLine &m_hints;
    QLabel *m_readout;
    ClickLabel *m_closeIcon;
};

} // namespace vorlac
