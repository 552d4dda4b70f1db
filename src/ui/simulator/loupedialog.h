#pragma once

#include "model/materials.h"

#include <QDialog>

class QLineEdit;

namespace vorlac
{

struct Messenger;

// "Autre": the two index-law coefficients of a material of the pupil's own. Opens on the pair
// in use; after "OK" with values in range, chosen() is the new pair. "Annuler" and Escape
// reject it and change nothing.
class LoupeDialog : public QDialog
{
    Q_OBJECT
  public:
    LoupeDialog(IndexLaw current, const Messenger &messenger, QWidget *parent);
    IndexLaw chosen() const { return m_chosen; }

  private:
    void onOk();

    const Messenger &m_messenger;
    IndexLaw m_chosen;
    QLineEdit *m_a;
    QLineEdit *m_b;
};

} // namespace vorlac
