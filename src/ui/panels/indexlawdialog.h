#pragma once

#include "model/materials.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlac
{

class HintLine;
struct Messenger;

// A glass of the "Verres réels" list and whether it is the "Verre inconnu"; row -1 for none.
struct GlassChoice {
    int row = -1;
    bool hidden = false;
};

// "Autre" (objectName LOUPE, the name the program has always given this dialog): the two
// index-law coefficients of a material of the pupil's own. Opens on the pair
// in use; after "OK" with values in range, chosen() is the new pair. "Annuler" and Escape
// reject it and change nothing.
// For the prism (glass given), the "Verres réels" list and the unknown glass stand below the
// buttons: a glass fills A and B with its fit; "OK" then gives chosenGlass() (its pair comes from
// the catalogue, outside the typed limits if need be). Typing in A or B drops the glass.
class IndexLawDialog : public QDialog
{
    Q_OBJECT
  public:
    IndexLawDialog(IndexLaw current, const Messenger &messenger, QWidget *parent, HintLine *hints = nullptr,
                   std::optional<GlassChoice> glass = std::nullopt);
    IndexLaw chosen() const { return m_chosen; }
    GlassChoice chosenGlass() const { return m_glass; }

  private:
    void onOk();
    void buildGlasses(HintLine *hints);
    void chooseGlass(GlassChoice glass);
    void showGlass();

    const Messenger &m_messenger;
    IndexLaw m_chosen;
    GlassChoice m_glass;
    QLineEdit *m_a;
    QLineEdit *m_b;
    QComboBox *m_glasses = nullptr;  // ComboVerres
    QLabel *m_fit = nullptr;         // LabelEcart
    QPushButton *m_reveal = nullptr; // BoutonRevelerVerre
};

} // namespace vorlac
