#pragma once

#include <QIcon>

class QApplication;

namespace vorlac
{

// The name of the desktop entry, the icon and the metadata (packaging/).
inline constexpr char kApplicationId[] = "org.vorlac.Vorlac";

// The program's icon (a prism with a dispersed ray) at the sizes window managers ask for.
QIcon programIcon();

// What the program sets before its window: the regional settings (a locale with no region
// counts as French), Qt's French translations, the program font, the window icon and the
// desktop entry's name. Shared by main and the start-up benchmark.
void prepareApplication(QApplication &app);

} // namespace vorlac
