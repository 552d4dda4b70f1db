#include "isolatedhome.h"

#include <QGuiApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const IsolatedHome home;
    QGuiApplication app(argc, argv);
    // Tests pin the French regional settings.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
