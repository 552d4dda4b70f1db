#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace vorlac
{

// What assistive technologies see of the observed spectrum: a slider whose value is the cursor's
// position in mm (settable, within the stretch shown, one strip pixel as its step) and whose
// value text is the cursor's read-out. The window installs it with QAccessible::installFactory.
QAccessibleInterface *observedSpectrumAccessibleFactory(const QString &key, QObject *object);

} // namespace vorlac
