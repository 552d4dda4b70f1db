#include "vorlacfixture.h"

#include "common/frenchui.h"
#include "panels/indexlawdialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

using namespace vorlac;

namespace
{

// The translators a test installs are removed again with their owner.
struct TranslatorScope {
    QObject owner;
    ~TranslatorScope()
    {
        for (QTranslator *t : owner.findChildren<QTranslator *>())
            QCoreApplication::removeTranslator(t);
    }
};

QString buttonText(QMessageBox &box, QMessageBox::StandardButton b)
{
    return box.button(b)->text();
}

struct ButtonRow {
    QMessageBox::StandardButton button;
    const char *french;
};

const ButtonRow kRows[] = {{QMessageBox::Ok, "OK"},        {QMessageBox::Cancel, "Annuler"},
                           {QMessageBox::Yes, "&Oui"},     {QMessageBox::No, "&Non"},
                           {QMessageBox::Close, "Fermer"}, {QMessageBox::Save, "Enregistrer"}};

// Without Qt's translations (a folder without them) the fallback still gives French buttons.
TEST(FrenchButtons, FallbackWhenQtTranslationsAreMissing)
{
    TranslatorScope scope;
    QCoreApplication::installTranslator(new FrenchButtonTranslator(&scope.owner));
    QMessageBox box(QMessageBox::Question, "Fermer", "Fermer ce simulateur ?",
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No | QMessageBox::Close |
                        QMessageBox::Save);
    for (const ButtonRow &r : kRows)
        EXPECT_EQ(buttonText(box, r.button), QString::fromUtf8(r.french)) << r.french;
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "Annuler");
}

TEST(FrenchButtons, QtTranslationsLoadFromTheirFolder)
{
    QTemporaryDir empty;
    QCoreApplication *app = QCoreApplication::instance();
    EXPECT_FALSE(installFrenchTranslations(*app, empty.path())); // nothing there, fallback only
    EXPECT_TRUE(installFrenchTranslations(*app));                // qtbase_fr of this machine
    QMessageBox box(QMessageBox::Question, "Fermer", "Fermer ce simulateur ?", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(buttonText(box, QMessageBox::Cancel), "Annuler");
    for (QTranslator *t : app->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    QMessageBox english(QMessageBox::Question, "x", "y", QMessageBox::Cancel);
    EXPECT_EQ(buttonText(english, QMessageBox::Cancel), "Cancel"); // the scope really ended
}

class ProgramFont : public VorlacFixture
{
};

// Dialogs are windows of their own: they take the application's font, not the main window's.
TEST_F(ProgramFont, TheCustomMaterialDialogReadsLikeTheMainWindow)
{
    window();
    IndexLawDialog dialog({1.5f, 4200.0f}, window().messenger(), &window());
    auto *label = dialog.findChild<QLabel *>("Label3");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->font().pixelSize(), 11);
    EXPECT_EQ(label->font(), window().font());
    // "Valeur de B ( de 0 à 40000 nm² ):" stays on one line of its 17 pixels
    EXPECT_LE(label->heightForWidth(label->width()), label->height());
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width());
}

} // namespace
