#pragma once

#include <QLocale>
#include <QString>

namespace vorlac
{

struct SceneFigure;

// The values of the measurements panel as lines of text for a statement or a correction: the
// apex angle, then one line per ray shown ("λ = 589 nm : n = 1,516930 ; i = 36,0° ; ..."), a
// quantity the ray does not have replaced by the panel's note.
QString measuresAsText(const SceneFigure &figure, const QLocale &locale);

} // namespace vorlac
