#include "grapher/grapheur.h"
#include "output/printservice.h"
#include "table/valuetable.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vorlac;

namespace
{

class GrapheurTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        table.setLocale(QLocale(QLocale::French, QLocale::France));
        main.setWindowTitle(QStringLiteral("Le vorlac"));
        main.setGeometry(40, 30, 786, 571);
        messenger.show = [this](QWidget *, QMessageBox::Icon, const QString &title, const QString &text,
                                QMessageBox::StandardButtons) {
            messages << title + ": " + text;
            return QMessageBox::Ok;
        };
        PrintEnvironment env;
        env.hasPrinter = [] { return false; };
        env.setupDialog = [this](QPrinter &, QWidget *) {
            ++setups;
            return acceptSetup;
        };
        env.pdfFileName = [this](QWidget *, const QString &suggested) {
            offered << suggested;
            return pdf;
        };
        env.screenDpiX = [] { return 96.0; };
        env.screenDpiY = [] { return 96.0; };
        service = std::make_unique<PrintService>(messenger, env);
        pdf = dir.filePath(QStringLiteral("graphe.pdf"));
    }

    void fill(int col, const QStringList &texts)
    {
        if (table.Rows() < texts.size() + 1)
            table.setRows(static_cast<int>(texts.size()) + 1);
        for (int r = 0; r < texts.size(); ++r)
            table.setTextMatrix(r + 1, col, texts[r]);
    }

    std::unique_ptr<Grapheur> open() { return std::make_unique<Grapheur>(table, service.get(), messenger, &main); }

    template <typename T> static T *child(QWidget &w, const char *name)
    {
        T *c = w.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    QTemporaryDir dir;
    ValueTable table;
    QWidget main;
    Messenger messenger;
    QStringList messages;
    std::unique_ptr<PrintService> service;
    QString pdf;
    QStringList offered; // what each PDF file question suggested
    bool acceptSetup = true;
    int setups = 0;
};

TEST_F(GrapheurTest, OpensOverTheMainWindowWithItsInitialState)
{
    fill(0, {"1", "2", "3"});
    fill(1, {"2", "4", "6"});
    auto g = open();
    EXPECT_EQ(g->windowTitle(), QStringLiteral("Le vorlac"));
    EXPECT_EQ(g->geometry(), main.geometry());
    auto *c1 = child<QComboBox>(*g, "Combo1");
    auto *c2 = child<QComboBox>(*g, "Combo2");
    ASSERT_EQ(c1->count(), 7);
    EXPECT_EQ(c1->itemText(6), QStringLiteral("C7"));
    EXPECT_EQ(c1->currentText(), QStringLiteral("C1"));
    EXPECT_EQ(c2->currentText(), QStringLiteral("C2"));
    const struct {
        const char *name;
        QString text;
    } checks[] = {{"Check1", QStringLiteral("Lier les points")},
                  {"Check2", QStringLiteral("Afficher la grille")},
                  {"Check3", QStringLiteral("Représenter un point par une croix")}};
    for (const auto &c : checks) {
        auto *box = child<QCheckBox>(*g, c.name);
        EXPECT_EQ(box->text(), c.text);
        EXPECT_TRUE(box->isChecked());
    }
    EXPECT_EQ(child<QLabel>(*g, "Image2")->toolTip(), QStringLiteral("Imprimer le graphe"));
    EXPECT_EQ(child<QLabel>(*g, "Image4")->toolTip(), QStringLiteral("Copier"));
    EXPECT_EQ(child<QLabel>(*g, "Image5")->toolTip(), QStringLiteral("Fermer"));
    EXPECT_EQ(child<QWidget>(*g, "Picture1")->size(), QSize(501, 501));
    EXPECT_NE(child<QWidget>(*g, "tito"), nullptr);
    // the load draws once, and the plot is there
    EXPECT_EQ(g->redrawCount(), 1);
    EXPECT_EQ(g->scaleText(), QStringLiteral("En abscisse, une division correspond à 0,5 unités.\r\n\r\n"
                                             "En ordonnée, une division correspond à 1 unités."));
    EXPECT_EQ(g->picture().pixel(485, 15), 0xffff0000u);
    EXPECT_EQ(child<QLabel>(*g, "Label1")->text(), QString(g->scaleText()).replace("\r\n", "\n"));
}

TEST_F(GrapheurTest, EachControlRedrawsWithItsChoice)
{
    fill(0, {"1", "2", "3"});
    fill(1, {"2", "4", "6"});
    fill(2, {"-1", "-2", "-3"});
    auto g = open();
    auto *grid = child<QCheckBox>(*g, "Check2");
    const QRgb gridPixel = g->picture().pixel(5 + 160, 489); // a dotted line at abscissa 1
    grid->click();
    EXPECT_EQ(g->redrawCount(), 2);
    EXPECT_NE(g->picture().pixel(5 + 160, 489), gridPixel);
    child<QCheckBox>(*g, "Check3")->click();
    EXPECT_EQ(g->redrawCount(), 3);
    EXPECT_EQ(g->graph().pixels.size(), 3u);

    auto *c2 = child<QComboBox>(*g, "Combo2");
    c2->setCurrentIndex(2);
    emit c2->activated(2);
    EXPECT_EQ(g->redrawCount(), 4);
    EXPECT_EQ(g->graph().scale.ymin, -3);
    EXPECT_EQ(g->graph().scale.ymax, 0);
}

TEST_F(GrapheurTest, EmptyOrdinateShowsTheMessageAndKeepsTheSentence)
{
    fill(0, {"1", "2", "3"});
    auto g = open();
    EXPECT_FALSE(g->graph().valid);
    EXPECT_EQ(g->scaleText(), QStringLiteral("En abscisse une division correspond à"));
    int blue = 0;
    for (int x = 0; x < 501; ++x)
        for (int y = 95; y < 125; ++y)
            blue += g->picture().pixel(x, y) == 0xff0000ffu;
    EXPECT_GT(blue, 100);
}

TEST_F(GrapheurTest, CopyPutsThePictureOnTheClipboard)
{
    fill(0, {"1", "-2", "3"});
    fill(1, {"2", "4", ""});
    auto g = open();
    QTest::mouseClick(child<QWidget>(*g, "Image4"), Qt::LeftButton);
    const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(copied, g->picture());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(GrapheurTest, PrintsOneCentredPageOrNothingWhenCancelled)
{
    fill(0, {"1", "2", "3"});
    fill(1, {"2", "4", "6"});
    auto g = open();
    // With no printer the PDF file is the one question, under the name the other prints offer.
    const QString chosen = pdf;
    pdf.clear(); // cancelled
    QTest::mouseClick(child<QWidget>(*g, "Image2"), Qt::LeftButton);
    EXPECT_EQ(setups, 0);
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(QFileInfo(offered[0]).fileName(), "Vorlac.pdf");
    EXPECT_FALSE(QFile::exists(chosen));

    pdf = chosen;
    g->printGraph();
    EXPECT_EQ(offered.size(), 2);
    ASSERT_TRUE(QFile::exists(pdf)) << messages.join('\n').toStdString();
    EXPECT_TRUE(messages.isEmpty());
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(info.waitForFinished(20000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+1\\n")));
    // the page rendered at 96 dpi holds the 501-pixel picture in its middle
    QProcess render;
    const QString png = dir.filePath(QStringLiteral("page"));
    render.start(QStringLiteral("pdftoppm"), {"-r", "96", "-png", "-singlefile", pdf, png});
    ASSERT_TRUE(render.waitForFinished(20000));
    QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    // the red of the picture, found on the page at the same size, centred
    auto redBox = [](const QImage &img) {
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qRed(img.pixel(x, y)) > 200 && qGreen(img.pixel(x, y)) < 60 && qBlue(img.pixel(x, y)) < 60)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect onPicture = redBox(g->picture());
    const QRect onPage = redBox(page);
    // natural size: f = printer pixels per screen pixel, rounded to a whole number
    const double res = service->printer().resolution();
    const double scale = std::nearbyint(res / 96.0) * 96.0 / res;
    EXPECT_NEAR(onPage.width(), onPicture.width() * scale, 2);
    EXPECT_NEAR(onPage.height(), onPicture.height() * scale, 2);
    const QPointF pictureOnPage = QPointF(onPage.topLeft()) - QPointF(onPicture.topLeft()) * scale;
    EXPECT_NEAR(pictureOnPage.x() + 250.5 * scale, page.width() / 2.0, 25);
    EXPECT_NEAR(pictureOnPage.y() + 250.5 * scale, page.height() / 2.0, 25);
}

TEST_F(GrapheurTest, FermerCloses)
{
    auto g = open();
    g->show();
    QTest::mouseClick(child<QWidget>(*g, "Image5"), Qt::LeftButton);
    EXPECT_FALSE(g->isVisible());
    EXPECT_EQ(g->result(), QDialog::Rejected);
}

} // namespace

#include "vorlacfixture.h"

#include <QAction>

class GrapheurOpening : public VorlacFixture
{
};

TEST_F(GrapheurOpening, RepgrapheOpensTheGrapherModallyOverTheMainWindow)
{
    vorlac::Vorlac &w = window();
    QAction *item = w.findChild<QAction *>(QStringLiteral("repgraphe"));
    ASSERT_NE(item, nullptr);
    QString title;
    dialogs.answer("grapheur", [&title](QWidget *d) {
        title = d->windowTitle();
        DialogWatch::close(d);
    });
    item->trigger();
    EXPECT_EQ(title, w.windowTitle());
}
