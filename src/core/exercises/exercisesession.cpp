#include "exercises/exercisesession.h"

namespace vorlac
{

void ExerciseSession::setFileName(const QString &name)
{
    if (name == m_fileName)
        return;
    m_fileName = name;
    emit fileNameChanged(m_fileName);
    emit changed();
}

void ExerciseSession::setFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    emit changed();
}

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
