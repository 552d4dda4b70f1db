#pragma once

#include "common/frenchui.h"
#include "scene/scenecontroller.h"
#include "ui/dialogwatch.h"
#include "undo/undohistory.h"
#include "window/vorlacwindow.h"

#include <QAccessible>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

// Timer1's interval has passed (without waiting for it).
inline void fireTimer1(vorlac::SceneController &c)
{
    EXPECT_TRUE(QMetaObject::invokeMethod(c.timer1(), "timeout"));
}

// A main window in a temporary program folder, with message boxes recorded and answered from
// a queue instead of shown, and the other dialogs answered by `dialogs`.
class VorlacFixture : public ::testing::Test
{
  protected:
    struct Message {
        QMessageBox::Icon icon;
        QString title, text;
    };

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        vorlac::applyProgramFont(); // as the program does at start-up
    }

    vorlac::Vorlac &window(QSize screen = QSize(1280, 1024))
    {
        if (!win) {
            vorlac::VorlacEnvironment env;
            env.programDirectory = programDir.isEmpty() ? dir.path() + "/" : programDir;
            env.screenSize = [this, screen] { return screenOverride.isValid() ? screenOverride : screen; };
            env.endProgram = [this] { ++programEnded; };
            env.stateDirectory = stateDir.isEmpty() ? dir.path() + "/etat" : stateDir;
            env.messenger.show = [this](QWidget *, QMessageBox::Icon icon, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons) {
                messages.push_back({icon, title, text});
                if (!answers.empty()) {
                    const auto a = answers.front();
                    answers.pop_front();
                    return a;
                }
                return (buttons & QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Yes;
            };
            win = std::make_unique<vorlac::Vorlac>(env);
        }
        return *win;
    }

    // Lets the event loop end the undo step in progress, as it does between two user actions.
    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window().undoHistory().stepPending(); }, 3000));
    }

    // Opens the measurements panel by its icon, as a pupil does.
    void showMeasures() { QTest::mouseClick(child<QLabel>("ImageMesures"), Qt::LeftButton); }

    // A value of the measures panel as a screen reader reads it: line 1 to 5, quantity 1 (λ) to 10.
    QString measure(int line, int quantity)
    {
        QObject *cell = window().findChild<QObject *>(QStringLiteral("Mesure%1_%2").arg(line).arg(quantity));
        EXPECT_NE(cell, nullptr) << line << '_' << quantity;
        QAccessibleInterface *i = cell ? QAccessible::queryAccessibleInterface(cell) : nullptr;
        return i ? i->text(QAccessible::Name) : QString();
    }

    template <typename T> T *child(const char *name)
    {
        T *w = window().findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QTemporaryDir dir;
    QString programDir;
    QString stateDir; // the marker (when the program directory refuses it) and the unsaved work; empty: dir/etat
    QSize screenOverride;
    std::unique_ptr<vorlac::Vorlac> win;
    std::vector<Message> messages;
    std::deque<QMessageBox::StandardButton> answers;
    int programEnded = 0;
    DialogWatch dialogs; // answers the test's dialogs, closes any other: no test waits on one
};
