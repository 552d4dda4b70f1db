#include "exercises/exercisetextbox.h"

#include <QMimeData>

namespace vorlac
{

bool ExerciseTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source && source->hasText();
}

void ExerciseTextBox::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText())
        textCursor().insertText(source->text());
}

} // namespace vorlac
