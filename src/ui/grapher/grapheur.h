#pragma once

#include "common/messenger.h"
#include "grapher/graph.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QComboBox;
class QLabel;

namespace vorlac
{

class ClickLabel;
class PrintService;
class TitleStrip;
class ValueTable;

// The grapher window: one column of the table against another, with automatic scales. It only
// reads the table. Opened modally over the main window, whose caption and geometry it takes.
class Grapheur : public QDialog
{
    Q_OBJECT
  public:
    // printService may be null (printing is then unavailable).
    Grapheur(const ValueTable &table, PrintService *printService, Messenger messenger, QWidget *mainWindow);

    // Redraws the plot from the table with the chosen columns and options.
    void majgraf();

    // The persistent picture of Picture1 (shown, printed and copied).
    const QImage &picture() const { return m_picture; }
    // Label1's text, line breaks as CR LF.
    QString scaleText() const { return m_scaleText; }
    const GraphPicture &graph() const { return m_graph; }
    int redrawCount() const { return m_redraws; }

    void printGraph(); // Image2
    void copyGraph();  // Image4

  protected:
    void paintEvent(QPaintEvent *) override;

  private:
    void setScaleText(const QString &text);

    const ValueTable &m_table;
    PrintService *m_print;
    Messenger m_messenger;
    QComboBox *m_combo1;
    QComboBox *m_combo2;
    QCheckBox *m_check1;
    QCheckBox *m_check2;
    QCheckBox *m_check3;
    QLabel *m_picture1;
    QLabel *m_label1;
    TitleStrip *m_tito;
    ClickLabel *m_image2;
    ClickLabel *m_image4;
    ClickLabel *m_image5;
    QImage m_picture;
    GraphPicture m_graph;
    QString m_scaleText;
    int m_redraws = 0;
};

} // namespace vorlac
