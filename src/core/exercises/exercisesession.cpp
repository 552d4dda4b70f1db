#include "exercises/exercisesession.h"

namespace vorlac
{

void ExerciseSession::setExerciseTextModified(bool modified)
{
    if (modified == m_exerciseTextModified)
        return;
    m_exerciseTextModified = modified;
    emit changed();
}

void ExerciseSession::setCorrectionAvailable(bool available)
{
    if (available == m_correctionAvailable)
        return;
    m_correctionAvailable = available;
    emit changed();
}

} // namespace vorlac
