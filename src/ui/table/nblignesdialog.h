#pragma once

#include <QDialog>

class QLabel;

namespace vorlac
{

class UpDown;

// fnblignes: asks for the number of data lines of the table, 1 to 100, starting from the
// current number; the table's owner applies the answer.
class NbLignesDialog : public QDialog
{
    Q_OBJECT
  public:
    NbLignesDialog(int dataLines, QWidget *parent = nullptr);

    int dataLines() const; // the number chosen
    UpDown *upDown() const { return m_upDown; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    UpDown *m_upDown;
    QLabel *m_value;
};

} // namespace vorlac
