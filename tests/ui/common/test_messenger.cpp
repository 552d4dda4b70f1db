#include "common/messenger.h"
#include "common/stalekeys.h"
#include "ui/dialogwatch.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QTest>

using namespace vorlac;

namespace
{

// Titles users found cut by the window manager.
struct TitleRow {
    const char *name;
    const char *title;
};
void PrintTo(const TitleRow &r, std::ostream *os)
{
    *os << r.name;
}

class MessageBoxWidth : public ::testing::TestWithParam<TitleRow>
{
};

TEST_P(MessageBoxWidth, HoldsTheTitleAndTheWindowButtons)
{
    const QString title = QString::fromUtf8(GetParam().title);
    int width = 0;
    DialogWatch watch;
    watch.answer(title, [&width](QWidget *box) {
        width = box->width();
        DialogWatch::close(box);
    });
    Messenger().critical(nullptr, title, QStringLiteral("C1 * 2"));
    // a bold title and at least three buttons of 30 pixels beside it
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    EXPECT_GE(width, QFontMetrics(titleFont).horizontalAdvance(title) + 90);
}

INSTANTIATE_TEST_SUITE_P(Titles, MessageBoxWidth,
                         ::testing::Values(TitleRow{"loadError", "Erreur lors du chargement du fichier"},
                                           TitleRow{"expression", "Expression de C3"},
                                           TitleRow{"eraseTable", "Effacer le tableau"},
                                           TitleRow{"overwrite", "Ce fichier existe déjà!"}),
                         [](const auto &row) { return std::string(row.param.name); });

} // namespace

// A key the accessibility bus posts again after Enter closed a drop-down chooses nothing again.
TEST(StaleKeys, AKeyReachingAClosedDropDownChoosesNothing)
{
    vorlac::StaleKeyFilter filter;
    qApp->installEventFilter(&filter);
    QComboBox combo;
    combo.addItems({QStringLiteral("Eau"), QStringLiteral("Autre")});
    int chosen = 0;
    QObject::connect(&combo, &QComboBox::activated, [&chosen] { ++chosen; });
    combo.show();
    combo.showPopup();
    combo.view()->setCurrentIndex(combo.model()->index(1, 0));
    QTest::keyClick(combo.view(), Qt::Key_Return);
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(combo.view(), &again);
    EXPECT_EQ(chosen, 1);
    qApp->removeEventFilter(&filter);
}
