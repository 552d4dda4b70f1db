#include "vorlacfixture.h"

#include "output/outputcommands.h"
#include "table/valuetable.h"
#include "window/copymenu.h"
#include "window/toolbar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QRadioButton>
#include <QToolButton>

using namespace vorlac;

using OutputWiring = VorlacFixture;

TEST_F(OutputWiring, CopyItemsPutTheDataThenConfirm)
{
    Vorlac &w = window();
    w.valueTable().setCellValue(1, 0, 1.0f);
    w.copyMenu().tableTextAction()->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("C1\tC2\tC3\tC4\tC5\tC6\tC7\n1,000\t"));
    EXPECT_TRUE(w.info().startsWith("Le contenu du tableau est copié en texte")) << "no picture was copied";
    EXPECT_GE(w.valueTable().Row(), 1);

    w.setInfo("x");
    w.copyMenu().tableImageAction()->trigger(); // the table panel is hidden
    EXPECT_EQ(QApplication::clipboard()->image().height(), 11 * 16 + 1);
    EXPECT_EQ(w.info(), w.copyConfirmation());

    w.setInfo("x");
    w.copyMenu().sceneAction()->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(616, 390));
    EXPECT_EQ(w.info(), w.copyConfirmation());
    EXPECT_TRUE(messages.empty());
}

TEST_F(OutputWiring, PrintButtonOpensConfimpWithTheTableChoice)
{
    Vorlac &w = window();
    bool tableEnabled = false;
    dialogs.answer("confimp", [&tableEnabled](QWidget *d) {
        tableEnabled = d->findChild<QRadioButton *>("Option1")->isEnabled();
        DialogWatch::close(d);
    });
    w.toolbar().printButton()->click();
    EXPECT_TRUE(tableEnabled);
}
