#include "window/givenfileopener.h"
#include "window/programsetup.h"
#include "window/vorlacwindow.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    vorlac::prepareApplication(app);

    vorlac::Vorlac window;
    window.show();
    // Once the window is up: the unsaved work of an ended program, then a file given on the
    // command line (a double click), opened as if from the program. Qt has already taken its
    // own options out of the arguments.
    const QStringList given = QCoreApplication::arguments().mid(1);
    QTimer::singleShot(0, &window, [&window, given] { vorlac::startWithGivenFiles(window, given); });
    return app.exec();
}
