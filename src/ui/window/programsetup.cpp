#include "window/programsetup.h"

#include "common/atomicwrite.h"
#include "common/frenchui.h"
#include "common/pictures.h"

#include <QApplication>
#include <QLocale>

namespace vorlac
{

QIcon programIcon()
{
    // The sizes title bars and task lists use; larger ones come from the installed icons, and
    // each size rendered here is paid at every start.
    QIcon icon;
    for (const int side : {16, 32, 48, 64})
        icon.addPixmap(svgPicture(QStringLiteral("vorlac"), QSize(side, side)));
    return icon;
}

void prepareApplication(QApplication &app)
{
    // A file-size limit makes a save fail with a message rather than end the program.
    ignoreFileSizeSignal();
    // Every text of the program is French: a locale with no region counts as French.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::French, QLocale::France);
    QLocale::setDefault(locale);
    installFrenchTranslations(app);
    applyProgramFont();
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
}

} // namespace vorlac
