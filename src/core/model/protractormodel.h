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
    // The view's drags and keys change the state in place and then report it; label names the
    // change in French.
    ProtractorState &editableState() { return m_state; }
    void noteEdited(const QString &label)
    {
        emit changed();
        emit edited(label);
    }
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
