#include "rowname.h"
#include "ui/dialogwatch.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>

namespace
{

void openBox()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Boîte"), QStringLiteral("Texte"));
    box.setObjectName(QStringLiteral("boite"));
    box.exec();
}

struct WatchRow {
    const char *name;
    std::function<void(DialogWatch &)> step;
    const char *failure; // what the one failure says; nullptr: none
    std::chrono::milliseconds timeout = std::chrono::seconds(10);
};

void PrintTo(const WatchRow &r, std::ostream *os)
{
    *os << r.name;
}

class DialogWatchRows : public ::testing::TestWithParam<WatchRow>
{
};

TEST_P(DialogWatchRows, AnswersOrClosesAndFails)
{
    const WatchRow &row = GetParam();
    ::testing::TestPartResultArray failures;
    {
        const ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        DialogWatch watch(row.timeout);
        row.step(watch);
    }
    std::string said;
    for (int i = 0; i < failures.size(); ++i)
        said += failures.GetTestPartResult(i).message() + std::string("\n");
    ASSERT_EQ(failures.size(), row.failure ? 1 : 0) << said;
    if (row.failure) {
        EXPECT_THAT(said, ::testing::HasSubstr(row.failure));
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

const WatchRow kRows[] = {
    {"late",
     [](DialogWatch &watch) {
         QString name;
         QObject context;
         QTimer::singleShot(200, &context, [&name] { name = QInputDialog::getText(nullptr, "Nom", "Nom :"); });
         watch.answer<QInputDialog>("Nom", [](QInputDialog *d) {
             d->setTextValue("x");
             d->accept();
         });
         watch.wait();
         EXPECT_EQ(name, "x");
     },
     nullptr},
    {"nested",
     [](DialogWatch &watch) {
         QTemporaryDir dir;
         QFile(dir.filePath("a.txt")).open(QIODevice::WriteOnly);
         QFileDialog files(nullptr, "Enregistrer", dir.path());
         files.setOption(QFileDialog::DontUseNativeDialog);
         files.setAcceptMode(QFileDialog::AcceptSave);
         files.selectFile(dir.filePath("a.txt")); // before it shows: once its name field has the focus, ignored
         watch
             .answer<QFileDialog>("Enregistrer",
                                  [](QFileDialog *d) {
                                      static_cast<QDialog *>(d)->accept(); // asks whether to replace it
                                  })
             .answer<QMessageBox>("", [](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
         EXPECT_EQ(files.exec(), QDialog::Accepted);
     },
     nullptr},
    {"innerWatchFirst",
     [](DialogWatch &) {
         DialogWatch inner;
         inner.answer("boite", DialogWatch::close);
         openBox();
     },
     nullptr},
    {"unexpected", [](DialogWatch &) { openBox(); }, "\"Boîte\" (boite) opened unexpectedly"},
    {"leftOpen",
     [](DialogWatch &watch) {
         watch.answer("boite", [](QWidget *) {});
         openBox();
     },
     "\"Boîte\" (boite) stayed open"},
    {"neverOpened", [](DialogWatch &watch) { watch.answer("boite", DialogWatch::close); }, "\"boite\" never opened"},
    {"tooLong",
     [](DialogWatch &watch) {
         watch.answer("Boîte", [](QWidget *d) { (void)QTest::qWaitFor([d] { return !d->isVisible(); }, 5000); });
         openBox();
     },
     "(boite) was still open after 50 ms", std::chrono::milliseconds(50)},
};

INSTANTIATE_TEST_SUITE_P(Rows, DialogWatchRows, ::testing::ValuesIn(kRows), RowName());

} // namespace
