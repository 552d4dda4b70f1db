#include "simulator/givenfileopener.h"
#include "simulator/programsetup.h"
#include "simulator/vorlacwindow.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    vorlac::prepareApplication(app);

    vorlac::Vorlac window;
    window.show();
    window.offerRecovery();
    // A file given on the command line (a double click) opens once the window is up, as if
    // opened from the program. Qt has already taken its own options out of the arguments.
    const QStringList given = QCoreApplication::arguments().mid(1);
    QTimer::singleShot(0, &window, [&window, given] { vorlac::openGivenFiles(window, given); });
    return app.exec();
}
