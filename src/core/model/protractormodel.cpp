#include "model/protractormodel.h"

namespace vorlac
{

void ProtractorModel::setState(const ProtractorState &state)
{
    m_state = state;
    emit statePut();
    emit changed();
}

void ProtractorModel::edit(const ProtractorState &state, const QString &label)
{
    m_state = state;
    emit changed();
    emit edited(label);
}

void ProtractorModel::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    emit shownChanged(shown);
    emit changed();
}

} // namespace vorlac
