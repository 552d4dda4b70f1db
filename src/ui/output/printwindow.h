#pragma once

#include "output/figurepage.h"
#include "output/printservice.h"
#include "output/tablepages.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vorlac
{

class UpDown;
class ValueTable;

// What the print window prints, read at the moment of "&OK".
struct PrintSources {
    std::function<QImage()> figure;      // the scene picture with Line1 and the lamp drawn in
    std::function<ReportTexts()> report; // the parameters as the panels show them
    const ValueTable *table = nullptr;
    TableGridMetrics grid;
};

// The print window `confimp`: the figure (natural size or miniature, centred or not, with or
// without the parameter report) or the table, 1 to 40 copies, on the shared printer.
class PrintWindow : public QDialog
{
    Q_OBJECT
  public:
    PrintWindow(PrintService &service, PrintSources sources, QWidget *parent = nullptr);

    // "&OK": prints with the options shown. The window closes once the job is printed; after a
    // cancelled file choice or a failure it stays open with its buttons back.
    PrintOutcome printNow();
    int copies() const;
    FigurePageOptions figureOptions() const;

  private:
    // Placed when the window loads, before it has a frame, and again after "&Imprimantes".
    void loadActions();
    void setPictureOptionsEnabled(bool enabled);
    void showWaiting(bool waiting);

    PrintService &m_service;
    PrintSources m_sources;
    QGroupBox *m_frame1;
    QRadioButton *m_option2;
    QRadioButton *m_option1;
    std::array<QCheckBox *, 4> m_chec;
    QLabel *m_label4;
    UpDown *m_upDown1;
    QLineEdit *m_defaut;
    QPushButton *m_command1, *m_command2, *m_command3;
    QFrame *m_frame2;
};

} // namespace vorlac
