#include "exercises/exercisesession.h"

namespace vorlac
{

void ExerciseSession::setTextModified(bool modified)
{
    if (modified == m_textModified)
        return;
    m_textModified = modified;
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
