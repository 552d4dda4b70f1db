#pragma once

#include "model/protractor.h"

#include <QObject>

namespace vorlac
{

// The protractor as part of the work: where it lies, its angles and whether it is shown. The view
// draws it and the panel shows it; both follow this owner.
class ProtractorModel : public QObject
{
    Q_OBJECT
  public:
    explicit ProtractorModel(QObject *parent = nullptr) : QObject(parent) {}

    const ProtractorState &state() const { return m_state; }
    bool shown() const { return m_shown; }

    // Puts the protractor where a state has it (restored work, an undo).
    void setState(const ProtractorState &state);
    // The pupil moved, turned or aimed it through the view, which lays the change out itself;
    // label names it in French.
    void edit(const ProtractorState &state, const QString &label);
    // The figure for the state, which keeps the rotation normalised: the same direction, no
    // change of the work.
    ProtractorFigure layOut() { return layoutProtractor(m_state); }
    // Where inside the move cross the mouse holds it: no change of the work.
    void setCrossGrab(double x, double y) { recordCrossGrab(m_state, x, y); }
    void setShown(bool shown);

  signals:
    // setState: the view lays the protractor out again.
    void statePut();
    void shownChanged(bool shown);
    // Any change of the state or the visibility.
    void changed();
    // The pupil moved, turned or aimed the protractor.
    void edited(const QString &label);

  private:
    ProtractorState m_state;
    bool m_shown = false;
};

} // namespace vorlac
