#pragma once

#include "analysis/minimumdeviation.h"
#include "model/scenestate.h"
#include "panels/panelframe.h"
#include "table/measurerecord.h"

#include <QLocale>
#include <array>
#include <vector>

class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;

namespace vorlac
{

class HintLine;
class LampLineList;
class MeasureGrid;
class SceneController;
class ValueTable;
struct Messenger;

// "Mesures": the angles, indices and limits of the rays just drawn, the minimum of deviation,
// and the record of the current values into the table of values.
class MeasurePanel : public PanelFrame
{
    Q_OBJECT
  public:
    MeasurePanel(SceneController &controller, ValueTable &table, HintLine &hints, const Messenger &messenger,
                 QWidget *parent);

    // Rereads the figure's measures (every new figure calls it).
    void refresh();
    // Writes the values shown into the table; false when nothing was written. A column whose
    // title names another quantity, or five radiations with no column for λ, open the column
    // dialog first: its OK writes the record with the choice made.
    bool record();
    // The column choice dialog; the choice is kept for the rest of the run.
    void chooseColumns();
    // Puts the lamp at the incidence of the minimum of deviation.
    void placeLampAtMinimum();

    const RecordColumns &recordColumns() const { return m_columns; }
    void setRecordColumns(const RecordColumns &c);
    const MinimumDeviation &minimum() const { return m_minimum; }

    // Decimals of the angles shown and recorded: 1 (0,1°, the designed texts), 2 or 3.
    int angleDecimals() const { return m_angleDecimals; }
    void setAngleDecimals(int decimals);
    // The pop-up menu `menuprecision` (right click or the menu key on the panel).
    QMenu *precisionMenu() const { return m_precisionMenu; }
    LampLineList *lampLines() const { return m_lampLines; }
    MeasureGrid *values() const { return m_values; }

    static constexpr int kLines = 5;
    static constexpr int kCells = 10; // lambda, n, n ext., i, r, r', i', D, critical angle, limit

  signals:
    // After a record: the first data line written (the table may scroll to it).
    void recorded(int firstLine);
    // "Balayage…": the window runs the sweep.
    void sweepRequested();
    // The pupil chose another angle precision in the panel's menu.
    void angleDecimalsChosen(int decimals);

  protected:
    void contextMenuEvent(QContextMenuEvent *e) override;

  private:
    void updateMinimum();
    void showLine(int index, const struct RayMeasures *ray);
    void buildPrecisionMenu(HintLine &hints);
    void showLampMode(bool lamp);

    SceneController &m_controller;
    ValueTable &m_table;
    HintLine &m_hints;
    const Messenger &m_messenger;
    QLocale m_locale;
    MeasureGrid *m_values;
    LampLineList *m_lampLines;
    QMenu *m_precisionMenu = nullptr;
    QActionGroup *m_precisions = nullptr;
    int m_angleDecimals = 1;
    bool m_lampMode = false;
    QLabel *m_apex;
    QLabel *m_rays; // what the columns are: the radiations, the white-light ray
    QLabel *m_minimumText;
    QLabel *m_columnsText;
    QPushButton *m_placeLamp;
    QPushButton *m_record;
    QPushButton *m_columnsButton;
    RecordColumns m_columns;
    MinimumDeviation m_minimum;
    int m_shownWavelength = -1; // the cursor's at the last refresh
    // A lamp line chosen in the list, which no whole-nm cursor position may reach (two lines
    // rounding to the same nm); 0 when the minimum is the line nearest the cursor. Forgotten when
    // the cursor moves or the lamp changes.
    double m_chosenLine = 0;
    int m_chosenLamp = -1;
    bool m_shownHidden = false; // whether the lamp was hidden then: revealing it names its lines
    // What the minimum was computed for (and how its text names the radiation).
    struct MinimumKey {
        int apex = -1;
        double wavelength = -1;
        SourceType source = SourceType::Monochromatic;
        double prism = 0, outside = 0;
        int hiddenLine = 0;  // revealing the lamp renames the line
        bool hidden = false; // an unknown glass: n is not shown
        bool operator==(const MinimumKey &) const = default;
    } m_minimumKey;
};

} // namespace vorlac
