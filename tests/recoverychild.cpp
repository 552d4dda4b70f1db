// A separate program for the recovery tests: the real main window in a process of its own, so
// that a test can kill it as a power cut would and start it again.
//
//   recoverychild session STATE PROGRAM DUMP [renommage]
//                     changes the work through the window's controls, waits until it is written,
//                     writes DUMP (what the window shows), prints "PRET", then runs on; with
//                     "renommage", changes the work again and dies at the rename of that write
//   recoverychild restore STATE PROGRAM DUMP ok|annuler [garder|ouvrir] [FILE] [effacement]
//                     starts (given FILE, if any), answers the restore question and the choice
//                     between restored work and FILE, writes DUMP, the titles and the texts of
//                     the messages it saw, closes; with "effacement", dies at the first file
//                     removal after the restore question
#include "common/frenchui.h"
#include "exercises/exercisearea.h"
#include "exercises/exercisecommands.h"
#include "recovery/recoverykeeper.h"
#include "scene/scenecontroller.h"
#include "table/valuetable.h"
#include "window/givenfileopener.h"
#include "window/toolbar.h"
#include "window/vorlacwindow.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace vorlac;

namespace
{

// What the window shows, one line per thing, plus the exact scene numbers behind it.
QByteArray screenDump(Vorlac &w)
{
    QStringList out;
    out << w.windowTitle();
    for (const char *name : {"Label2", "Label7", "Label4", "Label16", "Label10"})
        if (auto *l = w.findChild<QLabel *>(QString::fromLatin1(name)))
            out << QString::fromLatin1(name) + QLatin1Char('=') + l->text();
    for (const char *name : {"Combo1", "Combo2"})
        if (auto *c = w.findChild<QComboBox *>(QString::fromLatin1(name)))
            out << QString::fromLatin1(name) + QLatin1Char('=') + c->currentText();
    if (auto *s = w.findChild<QScrollBar *>(QStringLiteral("HScroll1")))
        out << QStringLiteral("HScroll1=%1").arg(s->value());
    if (auto *p = w.findChild<QWidget *>(QStringLiteral("picturap")))
        out << QStringLiteral("picturap=%1 %2,%3").arg(p->isVisible()).arg(p->x()).arg(p->y());
    const SceneState &c = w.scene();
    out << QString::asprintf("scene=%d %.17g %d %d %d %d %d %d %d %.9g %.9g", c.apexAngle, c.incidenceAngle,
                             c.wavelength, int(c.source), c.blackBackground, c.showNormals, c.showPropagation,
                             c.prismMaterial, c.outsideMaterial, double(c.prismCauchyA), double(c.prismCauchyB));
    out << QStringLiteral("format=") + w.valueTable().TableNumberFormat();
    if (auto *grid = w.findChild<QAbstractItemView *>(QStringLiteral("MSFlexGrid1"))) {
        const QAbstractItemModel *m = grid->model();
        for (int col = 0; col < m->columnCount(); ++col)
            out << m->headerData(col, Qt::Horizontal).toString();
        for (int row = 0; row < m->rowCount(); ++row) {
            QStringList cells;
            for (int col = 0; col < m->columnCount(); ++col)
                cells << m->index(row, col).data().toString();
            out << cells.join(QLatin1Char('|'));
        }
    }
    ExerciseArea &e = w.exercises();
    out << QStringLiteral("fich=") + e.fileField()->text();
    out << QStringLiteral("texte=%1 %2 %3")
               .arg(e.text()->isReadOnly())
               .arg(int(e.session().exerciseTextModified()))
               .arg(int(e.session().correctionAvailable()));
    out << e.text()->toHtml();
    return out.join(QLatin1Char('\n')).toUtf8();
}

void save(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::exit(4);
}

// The pupil's session: a statement opened and answered, values typed, the scene changed.
void changeTheWork(Vorlac &w, const QString &program)
{
    if (!w.exerciseCommands().openExerciseFile(program + QStringLiteral("VORLAC1.E01")))
        std::exit(5);
    QTextEdit *text = w.exercises().text();
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, QStringLiteral(" Reponse : n = 1,52"));

    w.toolbar().tableToggle()->setChecked(true);
    auto *grid = w.findChild<QAbstractItemView *>(QStringLiteral("MSFlexGrid1"));
    grid->setFocus();
    for (const char *value : {"30", "19,5", "45", "28,1"}) {
        QTest::keyClicks(grid, QString::fromLatin1(value));
        QTest::keyClick(grid, Qt::Key_Down);
    }
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClicks(grid, QStringLiteral("1,5"));
    QTest::keyClick(grid, Qt::Key_Up);

    w.findChild<QComboBox *>(QStringLiteral("Combo1"))->setCurrentIndex(1);
    SceneController &scene = w.controller();
    scene.setSource(SourceType::Monochromatic);
    w.findChild<QScrollBar *>(QStringLiteral("HScroll1"))->setValue(633);
    // A lamp drag: many moves, then the mouse-up.
    for (int i = 0; i < 40; ++i)
        scene.dragLamp(Qt::LeftButton, 60 + i * 0.37, 200 - i * 0.91);
    scene.releaseLamp();
}

// From now on the first of these system calls kills the whole program on the spot, every thread
// at once, as a power cut at that moment would.
void dieAt(std::initializer_list<long> calls)
{
    std::vector<sock_filter> filter{BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (const long call : calls) {
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __u32(call), 0, 1));
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        ::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_TSYNC, &program) != 0)
        std::exit(7);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    applyProgramFont();
    const QStringList args = app.arguments();
    if (args.size() < 5)
        return 2;
    const QString mode = args[1], program = args[3], dump = args[4];
    const bool accept = args.value(5) == QLatin1String("ok");
    const bool keepRestored = args.value(6) != QLatin1String("ouvrir");
    const QString given = args.value(7);
    const bool dieAtRemoval = args.value(8) == QLatin1String("effacement");

    QStringList messages, texts;
    VorlacEnvironment env;
    env.stateDirectory = args[2];
    env.programDirectory = program;
    env.endProgram = [] {};
    env.messenger.show = [&](QWidget *, QMessageBox::Icon, const QString &title, const QString &text,
                             QMessageBox::StandardButtons buttons) {
        messages << title;
        texts << text;
        if (title == QStringLiteral("Restaurer le travail non enregistré")) {
            if (dieAtRemoval)
                dieAt({SYS_unlink, SYS_unlinkat});
            return accept ? QMessageBox::Ok : QMessageBox::Cancel;
        }
        if (title == QStringLiteral("Travail non enregistré"))
            return keepRestored ? QMessageBox::Cancel : QMessageBox::Open;
        return (buttons & QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Yes;
    };
    Vorlac w(env);
    w.show();
    startWithGivenFiles(w, given.isEmpty() ? QStringList() : QStringList{given}, program);

    if (mode == QLatin1String("session")) {
        changeTheWork(w, program);
        // Printed once the last change is on the disk: the parent kills us then.
        const bool dieAtRename = args.value(5) == QLatin1String("renommage");
        QObject::connect(&w.recovery(), &RecoveryKeeper::written, &app, [&](bool ok) {
            if (!ok)
                std::exit(6);
            save(dump, screenDump(w));
            if (dieAtRename) {
                // The next write replaces this file: its temporary file is made, then renamed.
                w.valueTable().setTextMatrix(3, 3, QStringLiteral("9,99"));
                dieAt({SYS_rename, SYS_renameat, SYS_renameat2});
                w.recovery().writeNow();
                return;
            }
            std::printf("PRET\n");
            std::fflush(stdout);
        });
        return app.exec();
    }
    save(dump, screenDump(w));
    save(dump + QStringLiteral(".messages"), messages.join(QLatin1Char('\n')).toUtf8());
    save(dump + QStringLiteral(".textes"), texts.join(QLatin1Char('\n')).toUtf8());
    w.close();
    return 0;
}
