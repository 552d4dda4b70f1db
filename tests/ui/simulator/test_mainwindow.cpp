#include "testfiles.h"
#include "vorlacfixture.h"

#include "exercises/exercisearea.h"
#include "scene/scenecontroller.h"
#include "table/valuetable.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace vorlac;

namespace
{

const QString kStart =
    QStringLiteral("Vous pouvez modifier les paramètres,\r\nouvrir une configuration ou un exercice");

QByteArray markerBytes(const QString &dir)
{
    return readAll(dir + "/TEMPO.SPC");
}

void clickLabel(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
}

class MainWindow : public VorlacFixture
{
};

TEST_F(MainWindow, StartsOnTheDefaultSituation)
{
    Vorlac &w = window();
    EXPECT_EQ(w.windowTitle(), "Le vorlac");
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(child<QLabel>("Label2")->text(), "45");
    EXPECT_EQ(child<QScrollBar>("HScroll1")->value(), 589);
    EXPECT_EQ(child<QLabel>("Label7")->text(), "589");
    EXPECT_EQ(child<QLabel>("Label20")->text(), "589 nm");
    EXPECT_EQ(child<QLabel>("Label14")->text(), "589 nm");
    EXPECT_EQ(child<QLabel>("Label4")->text(), "n = 1,506516");
    EXPECT_EQ(child<QLabel>("Label16")->text(), "n = 1,000277");
    EXPECT_EQ(child<QComboBox>("Combo1")->currentText(), "Verre Crown");
    EXPECT_EQ(child<QComboBox>("Combo2")->currentText(), "Air");
    EXPECT_EQ(child<QComboBox>("Combo1")->count(), 5);
    EXPECT_TRUE(child<QRadioButton>("Option5")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("Option3")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("propa")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("normales")->isChecked());
    EXPECT_EQ(w.info(), kStart);
    EXPECT_EQ(child<QScrollBar>("VScroll1")->value(), 10);
    EXPECT_EQ(child<QWidget>("dessin")->y(), -10);
    auto *timer = w.findChild<QTimer *>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1500);
    EXPECT_EQ(w.scene().incidenceAngle, 36.0);
    EXPECT_EQ(w.scene().prismMaterial, 2);
    EXPECT_EQ(w.scene().outsideMaterial, 0);
    EXPECT_EQ(w.picture().raysTraced, 5);
    EXPECT_EQ(w.valueTable().TableNumberFormat(), "########0.000");
    EXPECT_EQ(w.copyConfirmation(),
              "L'image est copiée: vous pouvez la retrouver depuis toute application Windows (coller)");
    for (const char *panel : {"Picture2", "Picture4", "Picture5", "Picture6", "Frame1", "Frame4"})
        EXPECT_TRUE(child<QWidget>(panel)->isHidden()) << panel;
    EXPECT_FALSE(child<QToolButton>("Check1")->isChecked());
    // the lamp sits where the trace put it
    const QWidget *lamp = child<QWidget>("lampe");
    EXPECT_EQ(lamp->size(), QSize(32, 32));
    EXPECT_NEAR(lamp->x(), w.picture().lastLayout.lampTopLeft.x, 0.5);
}

TEST_F(MainWindow, ControlsStandWhereTheLayoutPutsThem)
{
    struct Place {
        const char *name;
        QRect rect;
    };
    const Place places[] = {
        {"Command2", {0, 0, 81, 41}},      {"Command11", {80, 0, 81, 41}},      {"Command4", {160, 0, 81, 41}},
        {"Command10", {240, 0, 81, 41}},   {"Check1", {320, 0, 81, 41}},        {"Command8", {400, 0, 81, 41}},
        {"Command3", {480, 0, 81, 41}},    {"Command9", {560, 0, 81, 41}},      {"Command7", {640, 0, 73, 41}},
        {"Command1", {712, 0, 89, 41}},    {"Picture3", {144, 48, 620, 241}},   {"VScroll1", {768, 48, 17, 241}},
        {"Picture2", {8, 48, 129, 121}},   {"Picture5", {8, 176, 129, 153}},    {"Picture4", {8, 336, 129, 209}},
        {"Frame1", {152, 336, 265, 73}},   {"Picture6", {152, 416, 265, 129}},  {"Frame4", {8, 336, 409, 209}},
        {"Image2", {144, 296, 32, 32}},    {"info", {184, 296, 233, 33}},       {"btexo", {424, 296, 97, 19}},
        {"fich", {504, 296, 281, 19}},     {"supertext", {424, 315, 361, 230}}, {"Image3(1)", {24, 392, 108, 70}},
        {"Image3(2)", {16, 200, 108, 70}}, {"Image3(3)", {216, 344, 108, 70}},  {"Image3(4)", {216, 448, 108, 70}},
        {"Image3(5)", {24, 80, 108, 70}},
    };
    // in the window's own pixels, whichever room holds the control
    for (const Place &p : places) {
        const QWidget *c = child<QWidget>(p.name);
        EXPECT_EQ(QRect(c->mapTo(&window(), QPoint(0, 0)), c->size()), p.rect) << p.name;
    }
    EXPECT_EQ(child<QWidget>("dessin")->size(), QSize(616, 390));
    struct Caption {
        const char *name;
        const char *text;
        const char *tooltip;
    };
    const Caption captions[] = {
        {"Command2", "&Ouvrir", "Retrouver une configuration"},
        {"Command11", "&Enregistrer", "Enregistrer la configuration actuelle"},
        {"Command4", "Co&pier", "Placer l'image dans le presse-papiers"},
        {"Command10", "&Imprimer", "Imprimer l'image"},
        {"Check1", "&Tableau", "Afficher / cacher le tableau"},
        {"Command8", "&Calculatrice", "Machine à calculer"},
        {"Command3", "&Notations", "Notations angles du vorlac"},
        {"Command9", "&Voir le cours", "Aide théorique"},
        {"Command7", "&Aide", "Aide pour utiliser cette application"},
        {"Command1", "&Fermer", "Quitter cette application"},
    };
    for (const Caption &c : captions) {
        auto *b = child<QToolButton>(c.name);
        EXPECT_EQ(b->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(c.tooltip));
    }
}

TEST_F(MainWindow, PopupMenusHoldEveryItem)
{
    window();
    const std::pair<const char *, std::vector<const char *>> menus[] = {
        {"menutableau",
         {"nblignes", "insligsous", "insereligne", "efflig", "sep", "formatsc", "sep1", "repgraphe", "sep2",
          "efftableau", "fermtab", "sep3", "coller", "sepannul", "annuler", "retablir"}},
        {"menucol",
         {"calcutab", "vexpress", "recalc", "suitar", "sepdesep", "effcol", "titrecol", "sep25", "triertab",
          "triertab2"}},
        {"menucopie", {"cop003", "cop002", "sepsap", "cop001"}},
        {"optionexo",
         {"PRISENMAIN", "separation1", "openexo", "opencor", "separation2", "savetexte", "opentexte", "imprimetexte",
          "separation3", "Closexo"}},
    };
    for (const auto &[name, items] : menus) {
        auto *menu = child<QMenu>(name);
        ASSERT_NE(menu, nullptr);
        // Items added later come after these, never between them.
        const auto actions = menu->actions();
        ASSERT_GE(actions.size(), static_cast<qsizetype>(items.size())) << name;
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(actions[i]->objectName(), items[i]) << name;
    }
    EXPECT_EQ(child<QMenu>("menucol")->actions()[5]->text(), "Affacer la colonne");
    EXPECT_EQ(child<QMenu>("menutableau")->actions()[1]->text(), "Insérer une ligne au dessus de la cellule active");
}

TEST_F(MainWindow, IntroductionIsFormattedAndReadOnly)
{
    window();
    auto *text = child<QTextEdit>("supertext");
    EXPECT_TRUE(text->isReadOnly());
    const QTextDocument *doc = text->document();
    const QTextBlock title = doc->firstBlock();
    EXPECT_EQ(title.text(), "Vorlac");
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(title.blockFormat().leftMargin(), 0);
    const QTextCharFormat tf = title.begin().fragment().charFormat();
    EXPECT_EQ(tf.fontPointSize(), 18);
    EXPECT_EQ(tf.foreground().color(), QColor(0, 0, 200));
    EXPECT_TRUE(tf.fontFamilies().toStringList().contains("Arial"));
    EXPECT_TRUE(title.next().text().isEmpty()); // an empty line follows
    EXPECT_EQ(title.next().blockFormat().leftMargin(), 20);
    // blue pieces and black pieces of the body
    auto colourOf = [doc](const QString &piece) {
        const QTextCursor c = doc->find(piece);
        EXPECT_FALSE(c.isNull()) << piece.toStdString();
        return c.charFormat().foreground().color();
    };
    EXPECT_EQ(colourOf("faire varier l'angle d'incidence"), QColor(0, 0, 200));
    EXPECT_EQ(colourOf("la souris"), QColor(0, 0, 200));
    EXPECT_EQ(colourOf("Prise en main"), QColor(0, 0, 200));
    EXPECT_EQ(colourOf("du rayon, utiliser"), QColor(0, 0, 0));
    EXPECT_EQ(colourOf("dans le menu Exercices."), QColor(0, 0, 0));
    const QTextCursor body = doc->find("Cette application");
    EXPECT_EQ(body.charFormat().fontPointSize(), 10);
    EXPECT_EQ(body.block().blockFormat().leftMargin(), 20);
    EXPECT_TRUE(doc->toPlainText().endsWith("dans le menu Exercices."));
}

TEST_F(MainWindow, MarkerSaysOuiWhileRunningAndNonAfterClosing)
{
    // bytes of another program before record 3 are left alone
    writeAll(dir.path() + "/TEMPO.SPC", QByteArray(256, '\xAA'));
    Vorlac &w = window();
    QByteArray bytes = markerBytes(dir.path());
    ASSERT_GE(bytes.size(), 261);
    EXPECT_EQ(bytes.left(256), QByteArray(256, '\xAA'));
    EXPECT_EQ(bytes.mid(256, 5), QByteArray("\x03\x00OUI", 5));

    answers = {QMessageBox::Cancel};
    EXPECT_FALSE(w.close());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Fermer");
    EXPECT_EQ(messages[0].text, "Fermer ce simulateur ?");
    EXPECT_EQ(messages[0].icon, QMessageBox::Question);
    EXPECT_EQ(markerBytes(dir.path()).mid(256, 5), QByteArray("\x03\x00OUI", 5));
    EXPECT_EQ(programEnded, 0);

    answers = {QMessageBox::Ok};
    EXPECT_TRUE(w.close());
    bytes = markerBytes(dir.path());
    EXPECT_EQ(bytes.mid(256, 5), QByteArray("\x03\x00NON", 5));
    EXPECT_EQ(bytes.left(256), QByteArray(256, '\xAA'));
    EXPECT_EQ(programEnded, 1);
}

TEST_F(MainWindow, FermerButtonAsksTheSameQuestion)
{
    window();
    answers = {QMessageBox::Cancel};
    child<QToolButton>("Command1")->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Fermer ce simulateur ?");
    EXPECT_EQ(programEnded, 0);
}

TEST_F(MainWindow, UnwritableProgramFolderChangesNothingAndStartUpCompletes)
{
    // A folder path under a plain file cannot be written, even by root.
    QFile blocker(dir.path() + "/plainfile");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    programDir = dir.path() + "/plainfile/";
    Vorlac &w = window();
    EXPECT_EQ(child<QLabel>("Label4")->text(), "n = 1,506516");
    EXPECT_EQ(w.picture().raysTraced, 5);
    answers = {QMessageBox::Ok};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(programEnded, 1);
}

TEST_F(MainWindow, EditedExerciseAsksTwoQuestions)
{
    Vorlac &w = window();
    auto *text = child<QTextEdit>("supertext");
    // an edit of the introduction is not tracked
    text->setReadOnly(false);
    text->insertPlainText("note");
    EXPECT_EQ(w.exercises().session().exerciseTextModified(), false);
    child<QLineEdit>("fich")->setText("/exercices/ex1.E01");
    text->insertPlainText("réponse");
    EXPECT_EQ(w.exercises().session().exerciseTextModified(), true);

    answers = {QMessageBox::Cancel};
    EXPECT_FALSE(w.close());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Abandon des données?");
    EXPECT_EQ(messages[0].text, "Attention: perte des modifications du texte.");

    answers = {QMessageBox::Ok, QMessageBox::Ok};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2].text, "Fermer ce simulateur ?");
}

TEST_F(MainWindow, FichShowsTheEndOfALongPath)
{
    window();
    auto *fich = child<QLineEdit>("fich");
    const QString path = "/home/eleve/Documents/physique/optique/exercices/prisme/deviation_minimale.E01";
    fich->setText(path);
    EXPECT_EQ(fich->cursorPosition(), path.size());
    EXPECT_EQ(fich->toolTip(), path);
}

struct ScreenRow {
    int width, height;
    bool clamped;
};

void PrintTo(const ScreenRow &r, std::ostream *os)
{
    *os << r.width << "x" << r.height;
}

class SmallScreen : public VorlacFixture, public ::testing::WithParamInterface<ScreenRow>
{
};

TEST_P(SmallScreen, ClampsBelow850Pixels)
{
    const ScreenRow row = GetParam();
    Vorlac &w = window(QSize(row.width, row.height));
    w.show();
    if (!row.clamped) {
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
        return;
    }
    auto check = [&] {
        EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
        EXPECT_EQ(w.frameGeometry().size(), QSize(800, 600));
        EXPECT_EQ(w.frameGeometry().topLeft(), QPoint((row.width - 800) / 2, (row.height - 600) / 2));
    };
    check();
    w.showMaximized();
    check();
    w.resize(500, 300);
    check();
}

INSTANTIATE_TEST_SUITE_P(Rows, SmallScreen,
                         ::testing::Values(ScreenRow{800, 600, true}, ScreenRow{800, 700, true},
                                           ScreenRow{849, 768, true}, ScreenRow{850, 768, false},
                                           ScreenRow{1280, 1024, false}));

struct PanelRow {
    const char *icon;
    const char *panel;
    const char *title;
};

void PrintTo(const PanelRow &r, std::ostream *os)
{
    *os << r.panel;
}

class Panels : public VorlacFixture, public ::testing::WithParamInterface<PanelRow>
{
};

TEST_P(Panels, IconOpensTitleCloses)
{
    const PanelRow row = GetParam();
    window().show();
    auto *panel = child<QWidget>(row.panel);
    auto *icon = child<QWidget>(row.icon);
    clickLabel(icon);
    EXPECT_TRUE(panel->isVisible());
    clickLabel(icon); // twice is harmless
    EXPECT_TRUE(panel->isVisible());
    // the panel covers its icon, and nothing of the icon's picture shows beside it
    EXPECT_TRUE(panel->geometry().contains(icon->geometry().center()));
    const QImage picture = static_cast<QLabel *>(icon)->pixmap().toImage();
    int beside = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            beside += qAlpha(picture.pixel(x, y)) != 0 && !panel->geometry().contains(icon->pos() + QPoint(x, y));
    EXPECT_EQ(beside, 0);
    clickLabel(child<QWidget>(row.title));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(icon->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Rows, Panels,
                         ::testing::Values(PanelRow{"Image3(1)", "Picture4", "Label19"},
                                           PanelRow{"Image3(2)", "Picture5", "Label32"},
                                           PanelRow{"Image3(3)", "Frame1", "Label24"},
                                           PanelRow{"Image3(4)", "Picture6", "Label23"},
                                           PanelRow{"Image3(5)", "Picture2", "Label25"}),
                         [](const auto &row) { return std::string(row.param.panel); });

TEST_F(MainWindow, ProtractorIconAndItsCloseIcon)
{
    Vorlac &w = window();
    w.show();
    clickLabel(child<QWidget>("Image3(5)"));
    EXPECT_EQ(w.info(),
              "Le rapporteur peut pivoter et être déplacé. Il mesue l'angle entre la droite cyan et sa base.");
    clickLabel(child<QWidget>("Image4"));
    EXPECT_FALSE(child<QWidget>("Picture2")->isVisible());
}

TEST_F(MainWindow, TableFrameFollowsCheck1)
{
    window().show();
    auto *check = child<QToolButton>("Check1");
    auto *frame = child<QWidget>("Frame4");
    check->click();
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(frame->isVisible());
    clickLabel(child<QWidget>("Label26"));
    EXPECT_FALSE(check->isChecked());
    EXPECT_FALSE(frame->isVisible());
    check->click();
    child<QMenu>("menutableau")->findChild<QAction *>("fermtab")->trigger();
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainWindow, ExercisesMenuOffersOnlyWhatApplies)
{
    Vorlac &w = window();
    auto *menu = child<QMenu>("optionexo");
    auto *cor = menu->findChild<QAction *>("opencor");
    auto *closexo = menu->findChild<QAction *>("Closexo");
    clickLabel(child<QWidget>("btexo"));
    EXPECT_FALSE(cor->isEnabled());
    EXPECT_FALSE(closexo->isEnabled());
    menu->hide();
    w.exercises().session().setCorrectionAvailable(true);
    child<QLineEdit>("fich")->setText("/ex/a.E01");
    clickLabel(child<QWidget>("btexo"));
    EXPECT_TRUE(cor->isEnabled());
    EXPECT_TRUE(closexo->isEnabled());
    menu->hide();
}

struct HintRow {
    const char *widget;
    const char *text;
};

void PrintTo(const HintRow &r, std::ostream *os)
{
    *os << r.widget;
}

class Hints : public VorlacFixture, public ::testing::WithParamInterface<HintRow>
{
};

TEST_P(Hints, MouseOverWritesTheHintLine)
{
    Vorlac &w = window();
    w.show();
    w.setInfo("autre chose");
    auto *target = child<QWidget>(GetParam().widget);
    QTest::mouseMove(target, QPoint(3, 3));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_EQ(w.info(), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Hints,
    ::testing::Values(
        HintRow{"Command2", "Retrouver une situation enregistrée"},
        HintRow{"Command11", "Enregistrer la configuration en cours"},
        HintRow{"Command4", "Placer le dessin dans le presse-papiers puis coller depuis Word, Paint..."},
        HintRow{"Command10", "Configurer l'imprimante et imprimer l'image"},
        HintRow{"Check1", "Pour afficher ou cacher le tableau de valeurs"},
        HintRow{"Command8", "Activer la machine à calculer"},
        HintRow{"Command3", "Pour voir les notations utilisées dans les exercices"},
        HintRow{"Command9", "Accéder directement à une partie du cours du manuel"},
        HintRow{"Command7", "Si vous rencontrez une difficulté avec cette application"},
        HintRow{"Command1", "Pour retrouver le module principal et quitter cette application"},
        HintRow{"btexo",
                "Ouvrir un énoncé d'exercice, enregistrer le texte, obtenir la correction, imprimer ou fermer."},
        HintRow{"Image3(1)", "Définir l'angle au sommet et le matériau."},
        HintRow{"Image3(2)", "Pour modifier le milieu extérieur au vorlac"},
        HintRow{"Image3(3)", "Modifier le fond, afficher les normales ou le sens de propagation"},
        HintRow{"Image3(4)", "Définir la source ( monochromatique / polychromatique ) ou modifier la longueur d'onde"},
        HintRow{"Image3(5)", "Afficher le rapporteur."},
        HintRow{"Picture4", "Pour connaître l'indice avec une autre longueur d'onde: déplacer le curseur de la source"},
        HintRow{"Picture5", "Pour connaître l'indice avec une autre longueur d'onde: déplacer le curseur de la source"},
        HintRow{"Picture6",
                "La longueur d'onde de la lumière émise par la source monochromatique varie de 400 à 800 nm"},
        HintRow{"Image1", "Pour affiner le réglage de la longueur d'onde, utiliser les boutons < et >"},
        HintRow{"Frame1", "Les paramètres d'affichage interviennent également sur l'image copiée ou imprimée."},
        HintRow{"Picture2",
                "Le rapporteur peut pivoter et être déplacé. Il mesue l'angle entre la droite cyan et sa base."}));

TEST_F(MainWindow, MovesOverAnIconAreNotTakenForTheBackground)
{
    Vorlac &w = window();
    w.show();
    QWidget *icon = child<QWidget>("Image3(4)");
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), icon->mapToGlobal(QPointF(20, 20)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(icon, &move);
    EXPECT_EQ(w.info(), "Définir la source ( monochromatique / polychromatique ) ou modifier la longueur d'onde");
    // over the bare background the start text comes back
    QMouseEvent bare(QEvent::MouseMove, QPointF(5, 60), w.mapToGlobal(QPointF(5, 60)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &bare);
    EXPECT_EQ(w.info(), kStart);
}

TEST_F(MainWindow, CopyConfirmationSurvivesHoveringCopier)
{
    Vorlac &w = window();
    w.show();
    w.setInfo(w.copyConfirmation());
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(child<QWidget>("Command4"), &enter);
    EXPECT_EQ(w.info(), w.copyConfirmation());
    QCoreApplication::sendEvent(child<QWidget>("Command2"), &enter);
    EXPECT_EQ(w.info(), "Retrouver une situation enregistrée");
}

TEST_F(MainWindow, BackgroundIsTheGradientWithTheShadow)
{
    Vorlac &w = window();
    w.setWindowState(Qt::WindowNoState);
    w.resize(800, 601);
    const QImage img = w.grab().toImage();
    EXPECT_EQ(QColor(img.pixel(140, 45)), QColor(251, 251, 249)); // 250.875 and 249.375
    EXPECT_EQ(QColor(img.pixel(100, 600)), QColor(200, 200, 180));
    // line 300: 255 - 27.5 = 227.5 rounds to the even 228; 255 - 37.5 = 217.5 to 218
    EXPECT_EQ(QColor(img.pixel(100, 300)), QColor(228, 228, 218));
    // the shadow shows 3 pixels right of and below the exercise area
    EXPECT_EQ(QColor(img.pixel(786, 400)), QColor(128, 128, 128));
    EXPECT_EQ(QColor(img.pixel(600, 547)), QColor(128, 128, 128));
}

} // namespace
