#pragma once

#include "model/raytracer.h"
#include "model/scenestate.h"

#include <QLocale>
#include <QTableWidget>
#include <vector>

namespace vorlac
{

// The measurements panel's list of every line of a lamp (`MesureRaies`): one row per line, its
// wavelength as the row's heading, the line nearest the cursor selected and kept in view. The
// arrows and Page keys scroll it.
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

  private:
    QTableWidgetItem *cell(int row, int column);
    int m_nearest = -1;
};

} // namespace vorlac
