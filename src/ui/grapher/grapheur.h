#pragma once

#include "common/messenger.h"
#include "grapher/curvereading.h"
#include "grapher/graph.h"
#include "output/exportcommands.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

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
    // printService may be null (printing is then unavailable); exports may be null (the window
    // then exports through its own, with the messenger).
    Grapheur(const ValueTable &table, PrintService *printService, Messenger messenger, QWidget *mainWindow,
             ExportCommands *exports = nullptr);

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
    // Image6: the graph as PNG (its size or doubled), SVG or PDF, with the fit as shown and, around
    // the plot, the graduation values, the columns' titles and the scale sentence.
    ExportCommands::Outcome exportGraph();
    // The fit model of the list Combo3.
    FitModel fitModel() const;
    // "Lire sur la courbe": asks a value of y, then reads it on the fitted curve.
    void askReading();
    // Reads y on the fitted curve and draws it until the columns change or clearReading().
    void readCurveAt(double y);
    void clearReading();
    // The reading drawn (nullopt when none is asked or there is no fit).
    const std::optional<CurveReading> &reading() const { return m_reading; }
    // The hint strip's text (what the pointer is over among the fit and export controls).
    QString hint() const;

  protected:
    void paintEvent(QPaintEvent *) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void setScaleText(const QString &text);
    void buildFitAndExport();

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
    QLabel *m_fitCaption;
    QComboBox *m_combo3;  // fit model
    ClickLabel *m_image6; // export
    QPushButton *m_readButton = nullptr;
    QLabel *m_hint;
    QHash<QObject *, QString> m_hints;
    std::unique_ptr<ExportCommands> m_ownExports;
    ExportCommands *m_exports;
    QImage m_picture;
    GraphPicture m_graph;
    QString m_scaleText;
    int m_redraws = 0;
    std::optional<double> m_readingY;
    std::optional<CurveReading> m_reading;
};

} // namespace vorlac
