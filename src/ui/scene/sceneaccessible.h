#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace vorlac
{

class SceneView;

// What assistive technologies see of the scene: the view `dessin` (a graphic) and its lamp
// (a slider), both with the incidence as their value and the words of describeScene as their
// text, both settable through the scene controller's incidence setter.
QAccessibleInterface *sceneAccessibleFactory(const QString &key, QObject *object);

// The scene changed: its value and text are sent again.
void announceScene(SceneView *view);

// The text the scene gives, in the regional number form; empty for a view with no controller.
QString sceneDescription(const SceneView *view);

} // namespace vorlac
