#pragma once

#include <QDialog>
#include <optional>

class QDoubleSpinBox;
class QRadioButton;

namespace vorlac
{

class HintLine;

// What "Balayage" computes with a continuous source.
struct SweepChoice {
    enum class Kind { DeviationAgainstIncidence, MinimumEvery10nm };
    Kind kind = Kind::DeviationAgainstIncidence;
    double step = 1.0; // degrees, for D against i
};

// `PasBalayage`: the choice between D against i (with the incidence step) and D_min, n and
// lambda every 10 nm of the spectrum. The step is only asked for the first.
class SweepDialog : public QDialog
{
    Q_OBJECT
  public:
    SweepDialog(HintLine *hints, QWidget *parent);

    SweepChoice choice() const;
    void setChoice(const SweepChoice &choice);

  private:
    QRadioButton *m_incidence;
    QRadioButton *m_spectrum;
    QDoubleSpinBox *m_step;
};

// The window's way of asking: the dialog, modal, showing the last choice; nullopt when cancelled.
std::optional<SweepChoice> askSweepChoice(QWidget *parent, HintLine *hints, const SweepChoice &last);

} // namespace vorlac
