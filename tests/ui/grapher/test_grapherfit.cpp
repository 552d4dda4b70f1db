#include "grapher/grapheur.h"
#include "table/valuetable.h"

#include "../../core/output/pdfprobe.h"
#include "rowname.h"
#include "testfiles.h"
#include "ui/dialogwatch.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace vorlac;

namespace
{

class GrapherFit : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        table.setLocale(QLocale(QLocale::French, QLocale::France));
        main.setGeometry(40, 30, 786, 571);
        messenger.show = [this](QWidget *, QMessageBox::Icon, const QString &, const QString &text,
                                QMessageBox::StandardButtons) {
            messages << text;
            return QMessageBox::Ok;
        };
        ExportEnvironment env;
        env.saveFileName = [this](QWidget *, const QString &, const QString &, const QStringList &, QString *selected) {
            *selected = filter;
            return file;
        };
        exports = std::make_unique<ExportCommands>(messenger, env);
    }
    void fill(const QStringList &x, const QStringList &y)
    {
        table.setRows(static_cast<int>(x.size()) + 1);
        for (int r = 0; r < x.size(); ++r) {
            table.setTextMatrix(r + 1, 0, x[r]);
            table.setTextMatrix(r + 1, 1, y[r]);
        }
    }
    std::unique_ptr<Grapheur> open()
    {
        return std::make_unique<Grapheur>(table, nullptr, messenger, &main, exports.get());
    }
    // Where the picture lies whole in the sheet; null when it does not.
    static QPoint plotOffset(const QImage &sheet, const QImage &picture)
    {
        const QImage s = sheet.convertToFormat(QImage::Format_RGB32);
        const QImage p = picture.convertToFormat(QImage::Format_RGB32);
        for (int y = 1; y + p.height() <= s.height(); ++y)
            for (int x = 1; x + p.width() <= s.width(); ++x)
                if (s.copy(QRect(QPoint(x, y), p.size())) == p)
                    return {x, y};
        return {};
    }
    static int count(const QImage &image, QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }

    ValueTable table;
    QWidget main;
    Messenger messenger;
    QStringList messages;
    QTemporaryDir dir;
    QString file, filter;
    std::unique_ptr<ExportCommands> exports;
};

} // namespace

struct ModelRow {
    const char *name;
    int listIndex;
    const char *equation;
};
void PrintTo(const ModelRow &r, std::ostream *os)
{
    *os << r.name;
}
class GrapherModels : public GrapherFit, public ::testing::WithParamInterface<ModelRow>
{
};
TEST_P(GrapherModels, DrawTheCurveAndWriteTheEquationOnThePicture)
{
    fill({"1", "2", "3", "4"}, {"2,5", "5", "7,5", "10"});
    const auto g = open();
    auto *combo = g->findChild<QComboBox *>("Combo3");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->currentIndex(), 0) << "no fit until one is chosen";
    EXPECT_EQ(count(g->picture(), graphcolour::DarkGreen), 0);
    const int before = g->redrawCount();
    // chosen from the keyboard, as a pupil without a mouse would
    combo->setFocus();
    for (int i = 0; i < GetParam().listIndex; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(g->redrawCount(), before + GetParam().listIndex);
    EXPECT_EQ(g->fitModel(), static_cast<FitModel>(GetParam().listIndex));
    EXPECT_EQ(g->graph().fitTexts.value(0), QString::fromUtf8(GetParam().equation));
    EXPECT_EQ(g->graph().fitTexts.value(1), QStringLiteral("R² = 1,0000"));
    // the curve and the box are part of the picture that is printed and copied
    EXPECT_GT(count(g->picture(), graphcolour::DarkGreen), 200);
    // the new controls: in the left panel, a tooltip, a hint while the pointer is on them
    for (QWidget *w :
         {static_cast<QWidget *>(combo), g->findChild<QWidget *>("Image6"), g->findChild<QWidget *>("LireCourbe")}) {
        EXPECT_FALSE(w->toolTip().isEmpty());
        EXPECT_TRUE(QRect(0, 0, 158, g->height()).contains(w->geometry()));
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(w, &enter);
        EXPECT_FALSE(g->hint().isEmpty());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w, &leave);
        EXPECT_TRUE(g->hint().isEmpty());
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, GrapherModels,
                         ::testing::Values(ModelRow{"proportional", 1, "y = 2,500·x"},
                                           ModelRow{"parabola", 3, "y = 0·x² + 2,500·x + 0"}),
                         RowName());

struct ReadingRow {
    const char *name;
    const char *typed; // the field's text, or a table line's label
    std::vector<double> x;
    const char *sentence;
};
void PrintTo(const ReadingRow &r, std::ostream *os)
{
    *os << r.name;
}
class GrapherReading : public GrapherFit, public ::testing::WithParamInterface<ReadingRow>
{
};
// Mercury-like D(λ) on A = 40, B = 1.2e6 nm², read back through the button and its dialog.
TEST_P(GrapherReading, SolveOnTheCurveDrawAndClear)
{
    fill({"404,656", "435,833", "546,074", "579,066"}, {"47,3284", "46,3174", "44,0242", "43,5787"});
    const auto g = open();
    auto *button = g->findChild<QPushButton *>("LireCourbe");
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isEnabled()) << "nothing to read without a fit";
    g->findChild<QComboBox *>("Combo3")->setCurrentIndex(4);
    ASSERT_TRUE(button->isEnabled());
    const QImage plain = g->picture();
    DialogWatch dialogs;
    dialogs.answer<QDialog>("lectureCourbe", [this](QDialog *d) {
        d->findChild<QComboBox *>("valeurY")->lineEdit()->setText(QString::fromUtf8(GetParam().typed));
        d->accept();
    });
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    dialogs.wait();
    ASSERT_TRUE(g->reading());
    ASSERT_EQ(g->reading()->x.size(), GetParam().x.size());
    for (std::size_t i = 0; i < GetParam().x.size(); ++i)
        EXPECT_NEAR(g->reading()->x[i], GetParam().x[i], 0.05);
    EXPECT_EQ(g->reading()->sentence, QString::fromUtf8(GetParam().sentence));
    EXPECT_GT(count(g->picture(), graphcolour::Magenta) + count(g->picture(), graphcolour::Blue), 20)
        << "construction lines and value, or the sentence, drawn";
    g->clearReading();
    EXPECT_EQ(g->picture(), plain) << "no reading, the same picture";
}
INSTANTIATE_TEST_SUITE_P(
    Rows, GrapherReading,
    ::testing::Values(ReadingRow{"typedWithComma", "45,5", {467.10}, "Pour y = 45,50, la courbe donne x = 467,1."},
                      ReadingRow{
                          "tableLine", "Ligne 3 : 44,0242", {546.07}, "Pour y = 44,02, la courbe donne x = 546,1."},
                      ReadingRow{"underAsymptote", "39", {}, "Aucune abscisse de la courbe ne donne y = 39,00."}),
    RowName());

// The exported graph can be read in a report: around the plot as shown, the graduation values,
// the columns' titles as the axis names and the scale sentence; in SVG and PDF as text.
TEST_F(GrapherFit, ExportCarriesNumbersAxisNamesAndScales)
{
    fill({"30", "40", "50", "60"}, {"40", "38", "39", "42"});
    table.setTitle(0, QStringLiteral("i (°)"));
    table.setTitle(1, QStringLiteral("D (°)"));
    const auto g = open();
    g->findChild<QComboBox *>("Combo3")->setCurrentIndex(3);
    file = dir.filePath("graphe.png");
    filter = pictureFilter(PictureFormat::Png);
    // Enter on the focused icon exports, as a click does
    auto *icon = g->findChild<QWidget *>("Image6");
    icon->setFocus();
    QTest::keyClick(icon, Qt::Key_Return);
    QImage sheet;
    ASSERT_TRUE(sheet.load(file));
    const QPoint at = plotOffset(sheet, g->picture());
    ASSERT_FALSE(at.isNull()) << "the plot as shown, with its fit, whole";
    int ink = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            ink += !QRect(at, QSize(501, 501)).contains(x, y) && qGray(sheet.pixel(x, y)) < 128;
    EXPECT_GT(ink, 1500) << "numbers, names and sentence around the plot";
    EXPECT_TRUE(messages.isEmpty());

    const auto expectTexts = [](QString text) {
        text = text.simplified();
        for (const char *wanted :
             {"i (°)", "D (°)", "60", "35", "R²", "En abscisse, une division correspond à 10 unités.",
              "En ordonnée, une division correspond à 5 unités."})
            EXPECT_TRUE(text.contains(QString::fromUtf8(wanted))) << wanted << " in " << text.toStdString();
    };
    file = dir.filePath("graphe.svg");
    filter = pictureFilter(PictureFormat::Svg);
    ASSERT_EQ(g->exportGraph(), ExportCommands::Outcome::Saved);
    QXmlStreamReader xml(readAll(file));
    QString text;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text")
            text += xml.readElementText(QXmlStreamReader::IncludeChildElements) + u'\n';
    expectTexts(text);
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "poppler-utils absent";
    file = dir.filePath("graphe.pdf");
    filter = pictureFilter(PictureFormat::Pdf);
    ASSERT_EQ(g->exportGraph(), ExportCommands::Outcome::Saved);
    expectTexts(pdfprobe::run("pdftotext", {file, "-"}));
}
