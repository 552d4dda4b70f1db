#include "common/frenchui.h"
#include "simulator/vorlacwindow.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Every text of the program is French: a locale with no region counts as French.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::French, QLocale::France);
    QLocale::setDefault(locale);
    vorlac::installFrenchTranslations(app);
    vorlac::applyProgramFont();

    vorlac::Vorlac window;
    window.show();
    window.offerRecovery();
    return app.exec();
}
