#include "common/messenger.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vorlac;

namespace {

struct TitleRow {
    const char *name;
    const char *title;
    const char *text;
};

// The titles users found cut by the window manager, with their texts.
const TitleRow kTitles[] = {
    {"loadError", "Erreur lors du chargement du fichier", "Fichier non valide"},
    {"expression", "Expression de C3", "C1 * 2"},
    {"eraseTable", "Effacer le tableau", "Effacer ?"},
    {"overwrite", "Ce fichier existe déjà!", "Remplacer ?"},
};

void PrintTo(const TitleRow &r, std::ostream *os) { *os << r.name; }

} // namespace

class MessageBoxWidth : public ::testing::TestWithParam<TitleRow> {};

TEST_P(MessageBoxWidth, HoldsTheTitleAndTheWindowButtons)
{
    const TitleRow &row = GetParam();
    const QString title = QString::fromUtf8(row.title);
    int width = 0;
    QString shownTitle;
    QTimer::singleShot(0, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            width = box->width();
            shownTitle = box->windowTitle();
            box->close();
        }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "the message box stayed open";
            modal->close();
        }
    });
    watchdog.start(5000);
    Messenger().critical(nullptr, title, QString::fromUtf8(row.text));
    EXPECT_EQ(shownTitle, title);
    // A bold title bar and at least three buttons of 30 pixels beside it.
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    EXPECT_GE(width, QFontMetrics(titleFont).horizontalAdvance(title) + 90);
}

INSTANTIATE_TEST_SUITE_P(Titles, MessageBoxWidth, ::testing::ValuesIn(kTitles),
                         [](const auto &row) { return std::string(row.param.name); });
