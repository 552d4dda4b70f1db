#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace vorlac
{

// What assistive technologies see of the grid of measures: its cells row by row, a title then
// the lines' values, each a static text named by its value and described by its quantity, as
// labels were. The window installs it with QAccessible::installFactory.
QAccessibleInterface *measureGridAccessibleFactory(const QString &key, QObject *object);

} // namespace vorlac
