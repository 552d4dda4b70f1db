#pragma once

#include <QObject>

namespace vorlac
{

// The flags of the exercise open on the pupil's side, as part of the work; the exercise area
// shows the text, this owns what is known about it.
class ExerciseSession : public QObject
{
    Q_OBJECT
  public:
    explicit ExerciseSession(QObject *parent = nullptr) : QObject(parent) {}

    // The exercise text was edited since it was loaded or saved.
    bool exerciseTextModified() const { return m_exerciseTextModified; }
    void setExerciseTextModified(bool modified);
    // The open exercise has a correction.
    bool correctionAvailable() const { return m_correctionAvailable; }
    void setCorrectionAvailable(bool available);

  signals:
    void changed();

  private:
    bool m_exerciseTextModified = false;
    bool m_correctionAvailable = false;
};

} // namespace vorlac
