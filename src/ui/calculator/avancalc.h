#pragma once

#include <QDialog>

class QProgressBar;

namespace vorlac
{

// The progress window of a column computation: "Patience: calculs en cours..." over PBar.
class Avancalc : public QDialog
{
    Q_OBJECT
  public:
    explicit Avancalc(QWidget *parent);
    // Moves the bar and repaints at once: the computation lets no event in meanwhile.
    void setProgress(int line, int lastLine);

  private:
    QProgressBar *m_bar;
};

} // namespace vorlac
