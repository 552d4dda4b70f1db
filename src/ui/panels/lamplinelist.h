#pragma once

#include "model/raytracer.h"
#include "model/scenestate.h"

#include <QLocale>
#include <QTableWidget>
#include <vector>

namespace vorlac
{

// The measurements panel's list of every line of a lamp (`MesureRaies`): one row per line, its
// wavelength as the row's heading, the line nearest the cursor (or the one the pupil chose)
// selected and kept in view. The arrows and Page keys scroll it; choosing a row sends lineChosen.
class LampLineList : public QTableWidget
{
    Q_OBJECT
  public:
    explicit LampLineList(QWidget *parent);

    // The headings and tooltips of the quantity columns (n, n ext., i, ... i lim.).
    void setHeaders(const QStringList &titles, const QStringList &tips);
    void showLines(const SceneState &state, const std::vector<RayMeasures> &rays, std::size_t nearest,
                   const QLocale &locale, int angleDecimals);
    int nearestRow() const { return m_nearest; }

  signals:
    // The pupil chose a row (click or keys), not showLines.
    void lineChosen(int row);

  protected:
    void keyPressEvent(QKeyEvent *event) override;

  private:
    QTableWidgetItem *cell(int row, int column);
    int m_nearest = -1;
    bool m_showing = false;
};

} // namespace vorlac
