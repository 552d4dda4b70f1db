#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

namespace vorlac
{

class PanelFrame;

// Makes a panel movable and remembers where the pupil left it, for the next start: one line in
// the places file of the program's state folder. Until the pupil moves it, each opening puts it
// at firstPlace(size of the window).
class PanelPlacement : public QObject
{
    Q_OBJECT
  public:
    PanelPlacement(PanelFrame &panel, const QString &placesFile, std::function<QPoint(QSize)> firstPlace);

  private:
    void remember(QPoint pos);

    PanelFrame &m_panel;
    QString m_file;
    std::function<QPoint(QSize)> m_firstPlace;
    std::optional<QPoint> m_place;
};

} // namespace vorlac
