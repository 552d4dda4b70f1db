#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;
class QWidget;

namespace vorlac
{

// What assistive technologies see of the program's own kinds of widgets, where the toolkit's
// own view would leave a screen reader silent or wrong:
// - a frame that holds controls (a panel, the scene's frame, a dialog's frame) is a group named
//   by its title; the toolkit makes it a "frame", which readers take for a window of its own,
//   inactive, and whose controls they then do not read;
// - a ClickLabel (icon, title bar, tab) is a button, or a page tab, that a reader can press,
//   named by its text, or by its tooltip when it shows a picture;
// - an UpDown is a spin box whose value is its number, settable by the reader;
// - a list box is named by its caption and gives its chosen item as its value and its text: the
//   toolkit names it by its value on Linux, and Orca reads the value from the text when the
//   list offers no selection (which the toolkit's bridge does not give).
QAccessibleInterface *programAccessibleFactory(const QString &key, QObject *object);

// A QFrame holding other widgets: a QFrame itself or a class of the program made directly on it.
bool isContainerFrame(const QWidget *w);

// Whether w's name follows its text or title as they change, without a name given beforehand.
bool namedByItsContent(const QWidget *w);

} // namespace vorlac
